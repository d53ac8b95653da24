#include "extmath.h"

#include <array>
#include <cmath>
#include <cstdint>

namespace pellix {

namespace {

// An unevaluated sum Hi + Lo, abs(Lo) at most half a unit in the last place
// of Hi: about 128 significant bits.
struct Pair {
    Ext Hi;
    Ext Lo;
};

Pair operator-(Pair a) {
    return {-a.Hi, -a.Lo};
}

// Knuth's and Dekker's error-free transformations.
Pair TwoSum(Ext a, Ext b) {
    const Ext s = a + b;
    const Ext bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}

Pair FastTwoSum(Ext a, Ext b) { // abs(a) >= abs(b) or a == 0
    const Ext s = a + b;
    return {s, b - (s - a)};
}

// Splits a 64-bit significand into two halves of 32 bits.
void Split(Ext a, Ext& hi, Ext& lo) {
    const Ext t = 4294967297.0L * a; // 2^32 + 1
    hi = t - (t - a);
    lo = a - hi;
}

Pair TwoProduct(Ext a, Ext b) {
    const Ext p = a * b;
    Ext ah = 0;
    Ext al = 0;
    Ext bh = 0;
    Ext bl = 0;
    Split(a, ah, al);
    Split(b, bh, bl);
    return {p, ((ah * bh - p) + ah * bl + al * bh) + al * bl};
}

Pair operator+(Pair a, Pair b) {
    const Pair s = TwoSum(a.Hi, b.Hi);
    return FastTwoSum(s.Hi, s.Lo + a.Lo + b.Lo);
}

Pair operator*(Pair a, Pair b) {
    const Pair p = TwoProduct(a.Hi, b.Hi);
    return FastTwoSum(p.Hi, p.Lo + (a.Hi * b.Lo + a.Lo * b.Hi));
}

Pair operator/(Pair a, Pair b) {
    const Ext q = a.Hi / b.Hi;
    const Pair r = a + -(Pair{q, 0} * b);
    return FastTwoSum(q, r.Hi / b.Hi);
}

// The long double nearest to p, moved by one unit toward p.Lo where it lies
// exactly halfway between two doubles: rounding it to double then gives the
// double nearest to p, as a single rounding of the exact sum would.
Ext ForDouble(Pair p) {
    const double d = static_cast<double>(p.Hi);
    if (p.Lo == 0 || p.Hi == d || !std::isfinite(d)) {
        return p.Hi;
    }
    const double beside = std::nextafter(d, p.Hi > d ? INFINITY : -INFINITY);
    if (p.Hi != (static_cast<Ext>(d) + beside) / 2) {
        return p.Hi;
    }
    return std::nextafter(p.Hi, p.Lo > 0 ? INFINITY : -INFINITY);
}

// pi/2, ln 2 and 1/3!, 1/4! to 128 bits; pi/4 and 1/ln 2 to 64.
constexpr Pair HalfPi = {0xc90fdaa22168c235p-63L, -0xece675d1fc8f8cbbp-129L};
constexpr Pair Ln2 = {0xb17217f7d1cf79acp-64L, -0xd871319ff0342543p-130L};
constexpr Pair InvFact3 = {0xaaaaaaaaaaaaaaabp-66L, -0xaaaaaaaaaaaaaaabp-131L};
constexpr Pair InvFact4 = {0xaaaaaaaaaaaaaaabp-68L, -0xaaaaaaaaaaaaaaabp-133L};
constexpr Ext QuarterPi = 0xc90fdaa22168c235p-64L;
constexpr Ext InvLn2 = 0xb8aa3b295c17f0bcp-63L;

// 1/k! for k = 0 ... 20.
constexpr std::array<Ext, 21> InvFact = {
    1.0L,
    1.0L,
    0x8000000000000000p-64L,
    0xaaaaaaaaaaaaaaabp-66L,
    0xaaaaaaaaaaaaaaabp-68L,
    0x8888888888888889p-70L,
    0xb60b60b60b60b60bp-73L,
    0xd00d00d00d00d00dp-76L,
    0xd00d00d00d00d00dp-79L,
    0xb8ef1d2ab6399c7dp-82L,
    0x93f27dbbc4fae397p-85L,
    0xd7322b3faa271c7fp-89L,
    0x8f76c77fc6c4bdaap-92L,
    0xb092309d43684be5p-96L,
    0xc9cba54603e4e906p-100L,
    0xd73f9f399dc0f88fp-104L,
    0xd73f9f399dc0f88fp-108L,
    0xca963b81856a5359p-112L,
    0xb413c31dcbecbbdep-116L,
    0x97a4da340a0ab926p-120L,
    0xf2a15d201011283dp-125L,
};

// Sum of t^j / (first + step j)! for j = 0 ... terms - 1, by Horner's rule.
Ext SeriesTail(int first, int step, int terms, Ext t) {
    Ext s = 0;
    for (int j = terms - 1; j >= 0; --j) {
        s = InvFact[static_cast<std::size_t>(first + step * j)] + t * s;
    }
    return s;
}

// Below this the series beyond r - r^3/3! or 1 - r^2/2! lies under the pair's precision.
constexpr Ext TinyAngle = 0x1p-32L;

// sin r for abs(r.Hi) <= pi/4: r - r^3/3! exact to the pair, the rest of the
// series (at most 1/280 of the result) in extended precision.
Pair SinKernel(Pair r) {
    if (std::fabs(r.Hi) < TinyAngle) {
        return r.Hi == 0 ? r : FastTwoSum(r.Hi, r.Lo - r.Hi * r.Hi * r.Hi / 6);
    }
    const Pair r2 = r * r;
    const Pair r3 = r2 * r;
    const Ext z = r2.Hi;
    const Ext rest = r3.Hi * z * SeriesTail(5, 2, 8, -z); // r^5/5! - r^7/7! ... r^19/19!
    return r + -(r3 * InvFact3) + Pair{rest, 0};
}

// cos r for abs(r.Hi) <= pi/4: 1 - r^2/2! + r^4/4! exact to the pair, the
// rest (at most 1/2000 of the result) in extended precision.
Pair CosKernel(Pair r) {
    if (std::fabs(r.Hi) < TinyAngle) {
        return FastTwoSum(1, -r.Hi * r.Hi / 2);
    }
    const Pair r2 = r * r;
    const Pair r4 = r2 * r2;
    const Ext z = r2.Hi;
    const Ext rest = -r4.Hi * z * SeriesTail(6, 2, 8, -z); // -r^6/6! ... r^20/20!
    return Pair{1, 0} + Pair{-r2.Hi / 2, -r2.Lo / 2} + r4 * InvFact4 + Pair{rest, 0};
}

// 2/pi to 1536 bits, for reducing arguments below 2^1346.
constexpr std::array<std::uint64_t, 24> TwoOverPi = {
    0xa2f9836e4e441529, 0xfc2757d1f534ddc0, 0xdb6295993c439041, 0xfe5163abdebbc561,
    0xb7246e3a424dd2e0, 0x06492eea09d1921c, 0xfe1deb1cb129a73e, 0xe88235f52ebb4484,
    0xe99c7026b45f7e41, 0x3991d639835339f4, 0x9c845f8bbdf9283b, 0x1ff897ffde05980f,
    0xef2f118b5a0a6d1f, 0x6d367ecf27cb09b7, 0x4f463f669e5fea2d, 0x7527bac7ebe5f17b,
    0x3d0739f78a5292ea, 0x6bfb5fb11f8d5d08, 0x56033046fc7b6bab, 0xf0cfbc209af4361d,
    0xa9e391615ee61b08, 0x6599855f14a06840, 0x8dffd8804d732731, 0x06061556ca73a8c9,
};

// The 128-bit product a * b as high and low 64 bits.
std::uint64_t MultiplyWide(std::uint64_t a, std::uint64_t b, std::uint64_t& high) {
    const std::uint64_t a0 = a & 0xffffffffu;
    const std::uint64_t a1 = a >> 32;
    const std::uint64_t b0 = b & 0xffffffffu;
    const std::uint64_t b1 = b >> 32;
    const std::uint64_t p00 = a0 * b0;
    const std::uint64_t p01 = a0 * b1;
    const std::uint64_t p10 = a1 * b0;
    const std::uint64_t middle = (p00 >> 32) + (p01 & 0xffffffffu) + (p10 & 0xffffffffu);
    high = a1 * b1 + (p01 >> 32) + (p10 >> 32) + (middle >> 32);
    return (middle << 32) | (p00 & 0xffffffffu);
}

struct Reduced {
    int Quadrant; // x = Quadrant * pi/2 + R modulo 2 pi
    Pair R;       // abs(R) <= pi/4
};

// Payne and Hanek's reduction: x = m 2^k with a 64-bit integer m, and
// x * 2/pi modulo 4 needs only the bits of 2/pi from the one worth 2^(k-2) on;
// 256 of them give the fraction to about 190 bits, plenty even for the
// doubles closest to a multiple of pi/2. All in integers: exact everywhere.
bool ReduceHalfPi(Ext x, Reduced& out) {
    if (std::fabs(x) <= QuarterPi) {
        out = {0, {x, 0}};
        return true;
    }
    int e = 0;
    const auto m = static_cast<std::uint64_t>(std::ldexp(std::frexp(std::fabs(x), &e), 64));
    const int k = e - 64;
    const int first = k > 3 ? k - 3 : 0; // index from 0 of the first bit of 2/pi used
    const int word = first / 64;
    const int shift = first % 64;
    if (word + 5 > static_cast<int>(TwoOverPi.size())) {
        return false;
    }
    std::array<std::uint64_t, 4> w{};
    for (std::size_t j = 0; j < w.size(); ++j) {
        const std::size_t i = static_cast<std::size_t>(word) + j;
        w[j] = shift == 0 ? TwoOverPi[i]
                          : (TwoOverPi[i] << shift) | (TwoOverPi[i + 1] >> (64 - shift));
    }
    // y = m * w, 320 bits, least significant word first.
    std::array<std::uint64_t, 5> y{};
    std::uint64_t carry = 0;
    for (std::size_t j = 0; j < w.size(); ++j) {
        std::uint64_t high = 0;
        const std::uint64_t low = MultiplyWide(m, w[3 - j], high);
        y[j] = low + carry;
        carry = high + (y[j] < low ? 1 : 0);
    }
    y[4] = carry;
    // The window's last bit is worth 2^-(first + 256), so x * 2/pi = y 2^(k - first - 256):
    // the binary point of y lies at bit point.
    const int point = first + 256 - k;
    auto bits = [&y](int pos) { // the 64 bits of y from bit pos up
        const int i = pos / 64;
        const int s = pos % 64;
        std::uint64_t v = i < 5 ? y[static_cast<std::size_t>(i)] >> s : 0;
        if (s != 0 && i + 1 < 5) {
            v |= y[static_cast<std::size_t>(i) + 1] << (64 - s);
        }
        return v;
    };
    int quadrant = static_cast<int>(bits(point) & 3);
    std::array<std::uint64_t, 3> f = {bits(point - 64), bits(point - 128), bits(point - 192)};
    const bool over = (f[0] >> 63) != 0; // fraction >= 1/2: measure from the next quadrant
    if (over) {
        quadrant = (quadrant + 1) & 3;
        bool borrow = true; // 1 - f as the two's complement
        for (std::size_t j = f.size(); j-- > 0;) {
            f[j] = ~f[j] + (borrow ? 1 : 0);
            borrow = borrow && f[j] == 0;
        }
    }
    const Pair frac =
        TwoSum(static_cast<Ext>(f[0]) * 0x1p-64L, static_cast<Ext>(f[1]) * 0x1p-128L) +
        Pair{static_cast<Ext>(f[2]) * 0x1p-192L, 0};
    Pair r = frac * HalfPi;
    if (over != std::signbit(x)) {
        r = -r;
    }
    if (std::signbit(x)) {
        quadrant = (4 - quadrant) & 3;
    }
    out = {quadrant, r};
    return true;
}

enum class Function { Sin, Cos, Tan };

Pair Kernel(Function f, int quadrant, Pair r) {
    switch (f) {
    case Function::Sin: {
        const Pair v = (quadrant & 1) ? CosKernel(r) : SinKernel(r);
        return quadrant >= 2 ? -v : v;
    }
    case Function::Cos: {
        const Pair v = (quadrant & 1) ? SinKernel(r) : CosKernel(r);
        return quadrant == 1 || quadrant == 2 ? -v : v;
    }
    case Function::Tan:
        break;
    }
    const Pair s = SinKernel(r);
    const Pair c = CosKernel(r);
    return (quadrant & 1) ? -(c / s) : s / c;
}

Ext Trig(Function f, Ext x) {
    if (x == 0 && f != Function::Cos) {
        return x; // keeps the sign of -0
    }
    Reduced red{};
    if (!std::isfinite(x) || !ReduceHalfPi(x, red)) {
        return std::numeric_limits<Ext>::quiet_NaN();
    }
    return ForDouble(Kernel(f, red.Quadrant, red.R));
}

// e^r for abs(r.Hi) <= ln(2)/2: 1 + r + r^2/2! + r^3/3! exact to the pair,
// the rest (at most 1/1500 of the result) in extended precision.
Pair ExpKernel(Pair r) {
    const Pair r2 = r * r;
    const Pair r3 = r2 * r;
    const Ext rest = r2.Hi * r2.Hi * SeriesTail(4, 1, 14, r.Hi); // r^4/4! ... r^17/17!
    return Pair{1, 0} + r + Pair{r2.Hi / 2, r2.Lo / 2} + r3 * InvFact3 + Pair{rest, 0};
}

// e^x = 2^k e^r with r = x - k ln 2 exact to the pair.
Ext Exp(Pair x) {
    if (std::isnan(x.Hi)) {
        return x.Hi;
    }
    if (std::fabs(x.Hi) > 12000) { // beyond the extended range either way
        return x.Hi > 0 ? std::numeric_limits<Ext>::infinity() : 0;
    }
    const Ext k = std::nearbyint(x.Hi * InvLn2);
    const Pair r = x + -(TwoProduct(k, Ln2.Hi)) + Pair{-k * Ln2.Lo, 0};
    const Pair e = ExpKernel(r);
    const int n = static_cast<int>(k);
    return ForDouble({std::ldexp(e.Hi, n), std::ldexp(e.Lo, n)});
}

// arctan(y/x) in (-pi, pi], the x87 instruction itself.
Ext ArcTan2(Ext y, Ext x) {
    Ext r = 0;
    asm("fpatan" : "=t"(r) : "0"(x), "u"(y) : "st(1)");
    return r;
}

// sqrt(1 - x^2); 1 - x and 1 + x are exact for doubles near 1.
Ext Cofunction(Ext x) {
    return std::sqrt((1 - x) * (1 + x));
}

} // namespace

Ext ExtSin(Ext x) {
    return Trig(Function::Sin, x);
}

Ext ExtCos(Ext x) {
    return Trig(Function::Cos, x);
}

Ext ExtTan(Ext x) {
    return Trig(Function::Tan, x);
}

Ext ExtSinOfMultiple(Ext t, Ext hi, Ext lo) {
    return ForDouble(Kernel(Function::Sin, 0, TwoProduct(t, hi) + Pair{t * lo, 0}));
}

Ext ExtCosOfMultiple(Ext t, Ext hi, Ext lo) {
    return ForDouble(Kernel(Function::Cos, 0, TwoProduct(t, hi) + Pair{t * lo, 0}));
}

Ext ExtTanOfMultiple(Ext t, Ext hi, Ext lo) {
    return ForDouble(Kernel(Function::Tan, 0, TwoProduct(t, hi) + Pair{t * lo, 0}));
}

Ext ExtExp(Ext x) {
    return Exp({x, 0});
}

Ext ExtExp2(Ext x) {
    return Exp(TwoProduct(x, Ln2.Hi) + Pair{x * Ln2.Lo, 0});
}

Ext ExtAtan2(Ext y, Ext x) {
    return ArcTan2(y, x);
}

Ext ExtAsin(Ext x) {
    return std::fabs(x) <= 1 ? ArcTan2(x, Cofunction(x)) : std::numeric_limits<Ext>::quiet_NaN();
}

Ext ExtAcos(Ext x) {
    return std::fabs(x) <= 1 ? ArcTan2(Cofunction(x), x) : std::numeric_limits<Ext>::quiet_NaN();
}

} // namespace pellix
