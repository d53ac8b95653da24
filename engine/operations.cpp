#include "extended.h"
#include "extmath.h"
#include "zuncalc.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace pellix {

namespace {

constexpr Ext DegToRad = 0.017453292519943295769L;
constexpr Ext RadToDeg = 57.295779513082320877L;
constexpr Ext GradToRad = 0.015707963267948966192L;
constexpr Ext RadToGrad = 63.661977236758134305L;
constexpr Ext PiExt = 3.14159265358979323846L;

// A degree and a grad in radians to 128 bits, as hi + lo.
constexpr Ext DegToRadLo = 0xec5f66e9485c4d90p-137L;
constexpr Ext GradToRadLo = 0x80fdeec70b572f20p-134L;
static_assert(DegToRad == 0x8efa351294e9c8aep-69L && GradToRad == 0x80adfc90b938ce36p-69L);

// Coefficients c1..c25 of the power series 1/Gamma(z) = sum c_k z^k.
constexpr std::array<double, 25> GammaCoeffs = {
    1.0,
    0.5772156649015329,
    -0.6558780715202538,
    -0.0420026350340952,
    0.1665386113822915,
    -0.0421977345555443,
    -0.009621971527877,
    0.007218943246663,
    -0.0011651675918591,
    -0.0002152416741149,
    0.0001280502823882,
    -0.0000201348547807,
    -0.0000012504934821,
    0.000001133027232,
    -0.0000002056338417,
    0.000000006116095,
    0.0000000050020075,
    -0.0000000011812746,
    0.0000000001043427,
    0.0000000000077823,
    -0.0000000000036968,
    0.00000000000051,
    -0.0000000000000206,
    -0.0000000000000054,
    0.0000000000000014,
};

// Radians to the angle unit of the mode; radians and any unknown mode leave the
// value unchanged. The product is rounded to double.
double FromRadians(Ext v, TZunTrigMode mode) {
    switch (mode) {
    case zunDeg:
        return ToDouble(v * RadToDeg);
    case zunGrad:
        return ToDouble(v * RadToGrad);
    default:
        return ToDouble(v);
    }
}

enum class TrigFunction { Sin, Cos, Tan };

// sin, cos or tan of an angle in degrees or grads (quarter: 90 or 100 units
// to the right angle). Multiplying the angle by pi/180 first would land
// exact angles beside the true multiple of pi (sin 180 = 1.2e-16); instead
// the angle is reduced exactly to u in [0, quarter/2] and only u becomes
// radians, times the unit to 128 bits, so the result is the double nearest
// to the function of the angle itself. Multiples of the right angle give exact 0 and +-1, the
// tangent of an odd multiple is beyond every double (EOverflow). Zero results are +0; sin and tan
// keep the oddness f(-x) = -f(x) also for them.
Ext ReducedTrig(TrigFunction f, double x, double quarter, Ext toRadians, Ext toRadiansLo) {
    // Each step is exact: fmod always is; a - q * quarter and quarter - t are
    // multiples of the spacing of doubles at a and t and smaller than them.
    const double a = std::fmod(std::fabs(ToDouble(x)), 4 * quarter);
    const int q = a >= 3 * quarter ? 3 : a >= 2 * quarter ? 2 : a >= quarter ? 1 : 0;
    const double t = a - q * quarter;
    const bool upper = t > quarter / 2;
    const Ext u = upper ? quarter - t : t;     // in the unit of the mode
    const bool swap = ((q & 1) != 0) != upper; // sin <-> cos, tan <-> cot
    Ext r = 0;
    bool negative = false;
    switch (f) {
    case TrigFunction::Sin:
        r = swap ? ExtCosOfMultiple(u, toRadians, toRadiansLo)
                 : ExtSinOfMultiple(u, toRadians, toRadiansLo);
        negative = q >= 2;
        break;
    case TrigFunction::Cos:
        r = swap ? ExtSinOfMultiple(u, toRadians, toRadiansLo)
                 : ExtCosOfMultiple(u, toRadians, toRadiansLo);
        negative = q == 1 || q == 2;
        break;
    case TrigFunction::Tan:
        r = ExtTanOfMultiple(u, toRadians, toRadiansLo);
        if (swap) {
            if (r == 0) {
                throw EOverflow();
            }
            r = 1 / r;
        }
        negative = (q & 1) != 0;
        break;
    }
    if (r == 0) {
        negative = false;
    }
    if (f != TrigFunction::Cos && std::signbit(x)) {
        negative = !negative;
    }
    return negative ? -r : r;
}

// sin, cos or tan of x in the angle unit of the mode (unknown modes: radians).
Ext Trig(TrigFunction f, double x, TZunTrigMode mode) {
    switch (mode) {
    case zunDeg:
        return ReducedTrig(f, x, 90, DegToRad, DegToRadLo);
    case zunGrad:
        return ReducedTrig(f, x, 100, GradToRad, GradToRadLo);
    default:
        break;
    }
    const Ext v = ToDouble(x); // not finite: the fault of the conversion
    switch (f) {
    case TrigFunction::Sin:
        return ExtSin(v);
    case TrigFunction::Cos:
        return ExtCos(v);
    default:
        return ExtTan(v);
    }
}

// Base b to the power e.
double Power(double b, double e) {
    if (e == std::nearbyint(e) && std::fabs(e) <= 2147483647.0) {
        const Ext p = IntPower(b, static_cast<std::uint32_t>(std::fabs(e)));
        if (e >= 0) {
            return ToDouble(p);
        }
        if (p == 0 && b != 0) {
            // The positive power left even the extended range downward; its
            // reciprocal lies far beyond the double range.
            throw EOverflow();
        }
        return ToDouble(Divide(1, p));
    }
    if (b == 0) {
        return 0;
    }
    if (b < 0) {
        throw EInvalidOp();
    }
    return ToDouble(Checked(ExtExp2(static_cast<Ext>(e) * std::log2(static_cast<Ext>(b)))));
}

double Factorial(std::int64_t n) {
    double p = 1;
    for (std::int64_t i = 2; i <= n; ++i) {
        p = ToDouble(static_cast<Ext>(p) * static_cast<Ext>(i));
    }
    return p;
}

double Gamma(double y) {
    if (y == std::trunc(y)) {
        return Factorial(ToInt64(y) - 1);
    }
    Ext a = y;
    double f = 1;
    const bool large = std::fabs(y) > 1;
    if (large) {
        a = std::fabs(static_cast<Ext>(y));
        const std::int64_t m = ToInt64(std::trunc(a));
        for (std::int64_t l = 1; l <= m; ++l) {
            f = ToDouble((a - static_cast<Ext>(l)) * f);
        }
        a = ToDouble(a - static_cast<Ext>(m));
    }
    double g = GammaCoeffs[24];
    for (int k = 23; k >= 0; --k) {
        g = ToDouble(static_cast<Ext>(g) * a + GammaCoeffs[static_cast<size_t>(k)]);
    }
    double r = ToDouble(Divide(1, static_cast<Ext>(g) * a));
    if (large) {
        r = ToDouble(static_cast<Ext>(r) * f);
        if (y < 0) {
            const Ext s = ExtSin(PiExt * static_cast<Ext>(y));
            r = ToDouble(Divide(-PiExt, s * (static_cast<Ext>(y) * r)));
        }
    }
    return r;
}

// Decimal hours to H.MS. A minute part within a few units in the last place of
// the next whole minute counts as that minute, so 1.2 h gives 1.12 and not
// 1 h 11 min 60 s.
double ToHMS(double x) {
    const double h = std::trunc(x);
    const double m = ToDouble((static_cast<Ext>(x) - h) * 60);
    double whole = std::trunc(m);
    double sec = ToDouble((static_cast<Ext>(m) - whole) * 60);
    const double ulp = std::nextafter(std::fabs(x), INFINITY) - std::fabs(x);
    const double tolerance = std::min(1.0, 64 * 60 * 60 * ulp); // seconds
    if (std::fabs(sec) >= 60 - tolerance) {
        whole += std::copysign(1.0, m);
        sec = 0;
    }
    double hours = h;
    if (std::fabs(whole) >= 60) {
        hours += std::copysign(1.0, x);
        whole = 0;
    }
    const double r = ToDouble(hours + static_cast<Ext>(whole) / 100);
    return ToDouble(r + static_cast<Ext>(sec) / 10000);
}

// H.MS to decimal hours. The two minute digits are read as the value shows
// them: 1.15 is held as 1.1499999999999999, yet its minutes are 15.
double ToH(double x) {
    Ext h = static_cast<Ext>(ToInt64(x));
    Ext frac = std::fabs(static_cast<Ext>(x) - h);
    const Ext sign = std::signbit(x) ? -1 : 1;
    const double ulp = std::nextafter(std::fabs(x), INFINITY) - std::fabs(x);
    Ext minutes = std::floor(frac * 100 + std::min(1e-6, 400 * ulp));
    if (minutes >= 100) { // the fraction shows as .9999...: the next whole hour
        minutes = 0;
        h += sign;
        frac -= 1;
    }
    const Ext seconds = frac * 10000 - minutes * 100;
    return ToDouble(sign * minutes / 60 + h + sign * seconds / 3600);
}

} // namespace

void TZunCalc::Run(TZunOperation op) {
    auto binary = [this](auto f) {
        const Ext x = Pop();
        const Ext y = Pop();
        Push(ToDouble(f(y, x)));
    };
    auto unary = [this](auto f) { Push(f(Pop())); };
    auto zeroTested = [this](const char* error, auto f) {
        const double x = Pop();
        if (IsZeroByTest(x)) {
            FError = error;
            return;
        }
        Push(f(x));
    };
    auto out = [this](Ext v) { return FromRadians(v, TrigMode); };
    auto trig = [this](TrigFunction f, double x) { return Trig(f, x, TrigMode); };
    auto inverseTrig = [&](auto f) {
        unary([&](double x) {
            if (!(std::fabs(x) <= 1)) {
                throw EInvalidOp();
            }
            return out(f(static_cast<Ext>(x)));
        });
    };
    auto logarithm = [&](const char* error, auto f) {
        zeroTested(error, [&](double x) {
            if (x < 0) {
                throw EInvalidOp();
            }
            return ToDouble(f(static_cast<Ext>(x)));
        });
    };

    switch (op) {
    case zunAdd:
        binary([](Ext y, Ext x) { return y + x; });
        break;
    case zunSub:
        binary([](Ext y, Ext x) { return y + (-x); });
        break;
    case zunMul:
        binary([](Ext y, Ext x) { return y * x; });
        break;
    case zunDiv: {
        const double x = Pop();
        const double y = Pop();
        if (IsZeroByTest(x)) {
            FError = SDivideByZero;
            return;
        }
        Push(ToDouble(Divide(y, x)));
        break;
    }
    case zunEnter:
        Push(Stack[0]);
        break;
    case zunPwr: {
        const double x = Pop();
        const double y = Pop();
        Push(Power(y, x));
        break;
    }
    case zunPwr10:
        unary([](double x) { return Power(10, x); });
        break;
    case zunInv:
        zeroTested(SDivideByZero, [](double x) { return ToDouble(Divide(1, x)); });
        break;
    case zunSin:
        unary([&](double x) { return ToDouble(trig(TrigFunction::Sin, x)); });
        break;
    case zunCos:
        unary([&](double x) { return ToDouble(trig(TrigFunction::Cos, x)); });
        break;
    case zunTan:
        unary([&](double x) { return ToDouble(trig(TrigFunction::Tan, x)); });
        break;
    case zunInvSin:
        inverseTrig(ExtAsin);
        break;
    case zunInvCos:
        inverseTrig(ExtAcos);
        break;
    case zunInvTan:
        unary([&](double x) { return out(Checked(ExtAtan2(x, 1))); });
        break;
    case zunExc: {
        const double x = Pop();
        const double y = Pop();
        Push(x);
        Push(y);
        break;
    }
    case zunLn:
        logarithm(SLnZero, [](Ext x) { return std::log(x); });
        break;
    case zunLog10:
        logarithm(SLogZero, [](Ext x) { return std::log10(x); });
        break;
    case zunCHS:
        unary([](double x) { return -x; });
        break;
    case zunExp:
        unary([](double x) { return ToDouble(ExtExp(x)); });
        break;
    case zunSqr:
        unary([](double x) { return ToDouble(static_cast<Ext>(x) * x); });
        break;
    case zunAbs:
        unary([](double x) { return std::fabs(x); });
        break;
    case zunInt:
        unary([](double x) { return TruncInt64(x); });
        break;
    case zunFrac:
        unary([](double x) { return ToDouble(static_cast<Ext>(x) - TruncInt64(x)); });
        break;
    case zunSum:
        break;
    case zunSqrt:
        unary([](double x) {
            if (x < 0) {
                throw EInvalidOp();
            }
            return ToDouble(std::sqrt(static_cast<Ext>(x)));
        });
        break;
    case zunStackDown: {
        const double x = Pop();
        Stack[3] = x;
        break;
    }
    case zunStackUp:
        Push(Stack[3]);
        break;
    case zunLastX:
        Push(LastX);
        break;
    case zunRandom:
        RandSeed = RandSeed * 134775813u + 1u;
        Push(static_cast<double>(RandSeed) / 4294967296.0);
        break;
    case zunToRad:
        unary([](double x) { return ToDouble(x * DegToRad); });
        break;
    case zunToDeg:
        unary([](double x) { return ToDouble(x * RadToDeg); });
        break;
    case zunFact:
        unary([](double x) {
            const std::int64_t n = RoundInt64(x);
            if (static_cast<double>(n) == x) {
                return Factorial(n);
            }
            return Gamma(ToDouble(static_cast<Ext>(x) + 1));
        });
        break;
    case zunPC: {
        const Ext x = Pop();
        const Ext y = Stack[0];
        Push(ToDouble(0.01L * x * y));
        break;
    }
    case zundPC:
        binary([](Ext y, Ext x) { return Divide(x - y, y) * 100; });
        break;
    case zunToPol: {
        const Ext x = Pop();
        const Ext y = Pop();
        Push(out(ExtAtan2(y, x)));
        Push(ToDouble(std::sqrt(x * x + y * y)));
        break;
    }
    case zunToRect: {
        const Ext rho = Pop();
        const double theta = Pop();
        Push(ToDouble(rho * trig(TrigFunction::Sin, theta)));
        Push(ToDouble(rho * trig(TrigFunction::Cos, theta)));
        break;
    }
    case zunToHMS:
        unary(ToHMS);
        break;
    case zunToH:
        unary(ToH);
        break;
    }
}

} // namespace pellix
