// Prints, for a fixed table of arguments, the double that each extended-
// precision function of the C library and of the engine gives, as hex bit
// patterns. Run on two platforms and diff the outputs to see where their
// libraries part and whether the engine's own functions do not.
//
//   mathdiff [lib|engine] > out.txt

#include "engine/extmath.h"

#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Ext = long double;

std::uint64_t state = 0x9e3779b97f4a7c15u;

std::uint64_t Next() { // splitmix64: the same sequence everywhere
    std::uint64_t z = (state += 0x9e3779b97f4a7c15u);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
    return z ^ (z >> 31);
}

double Uniform(double lo, double hi) {
    return lo + (hi - lo) * static_cast<double>(Next() >> 11) * 0x1p-53;
}

// Any finite double with an exponent in [lo, hi] (powers of two), either sign.
double LogUniform(int lo, int hi, bool bothSigns) {
    const int e = lo + static_cast<int>(Next() % static_cast<std::uint64_t>(hi - lo + 1));
    const double m = 1 + static_cast<double>(Next() >> 12) * 0x1p-52;
    const double v = std::ldexp(m, e);
    return bothSigns && (Next() & 1) ? -v : v;
}

std::uint64_t Bits(double d) {
    std::uint64_t b;
    std::memcpy(&b, &d, sizeof b);
    return b;
}

std::vector<double> TrigArgs() {
    std::vector<double> v;
    for (int i = 0; i < 2000; ++i) {
        v.push_back(Uniform(-10, 10));
    }
    for (int i = 0; i < 2000; ++i) {
        v.push_back(LogUniform(-40, 1023, true));
    }
    // Doubles nearest to multiples of pi/2, and their neighbours.
    for (int i = 0; i < 500; ++i) {
        const Ext k = static_cast<Ext>(Next() % 2000000);
        const double n = static_cast<double>(k * 1.57079632679489661923132169163975144L);
        v.push_back(n);
        v.push_back(std::nextafter(n, 1e300));
        v.push_back(std::nextafter(n, -1e300));
    }
    for (double d : {1e22, 1e72, 1e300, 1.7976931348623157e308, 0x1p63, 0x1p64, 0x1p62,
                     9.2233720368547758e18, 3782521.0, 1e-300, 5e-324, 6381956970095103.0 * 0x1p797,
                     5.319372648326541e255, 1.5707963267948966, 3.141592653589793}) {
        v.push_back(d);
        v.push_back(-d);
    }
    return v;
}

std::vector<double> UnitArgs() {
    std::vector<double> v;
    for (int i = 0; i < 2000; ++i) {
        v.push_back(Uniform(-1, 1));
    }
    for (int i = 0; i < 500; ++i) {
        v.push_back(1 - LogUniform(-53, -1, false));
        v.push_back(-1 + LogUniform(-53, -1, false));
        v.push_back(LogUniform(-1074, -1, true));
    }
    for (double d : {1.0, -1.0, 0.5, -0.5, 0.0}) {
        v.push_back(d);
    }
    return v;
}

std::vector<double> PositiveArgs() {
    std::vector<double> v;
    for (int i = 0; i < 3000; ++i) {
        v.push_back(LogUniform(-1074, 1023, false));
    }
    for (int i = 0; i < 1000; ++i) {
        v.push_back(1 + Uniform(-1, 1) * std::ldexp(1, -static_cast<int>(Next() % 50)));
    }
    for (int e = -323; e <= 308; ++e) {
        v.push_back(std::strtod(("1e" + std::to_string(e)).c_str(), nullptr));
    }
    return v;
}

std::vector<double> ExpArgs() {
    std::vector<double> v;
    for (int i = 0; i < 3000; ++i) {
        v.push_back(Uniform(-760, 720));
    }
    for (int i = 0; i < 1000; ++i) {
        v.push_back(LogUniform(-80, 3, true));
    }
    for (int i = -30; i <= 30; ++i) {
        v.push_back(i);
    }
    return v;
}

void Print(const char* name, double x, double y, double r) {
    std::printf("%s %016" PRIx64 " %016" PRIx64 " %016" PRIx64 "\n", name, Bits(x), Bits(y),
                Bits(r));
}

template <typename F>
void Unary(const char* name, const std::vector<double>& args, F f) {
    for (double x : args) {
        Print(name, x, 0, static_cast<double>(f(static_cast<Ext>(x))));
    }
}

} // namespace

int main(int argc, char** argv) {
    const bool engine = argc > 1 && std::strcmp(argv[1], "engine") == 0;
    const auto trig = TrigArgs();
    const auto unit = UnitArgs();
    const auto pos = PositiveArgs();
    const auto ex = ExpArgs();
    std::vector<double> powB, powE;
    for (int i = 0; i < 3000; ++i) {
        powB.push_back(LogUniform(-60, 60, false));
        powE.push_back(Uniform(-40, 40));
    }
    if (!engine) {
        Unary("sin", trig, [](Ext x) { return sinl(x); });
        Unary("cos", trig, [](Ext x) { return cosl(x); });
        Unary("tan", trig, [](Ext x) { return tanl(x); });
        Unary("asin", unit, [](Ext x) { return asinl(x); });
        Unary("acos", unit, [](Ext x) { return acosl(x); });
        Unary("atan", trig, [](Ext x) { return atanl(x); });
        Unary("exp", ex, [](Ext x) { return expl(x); });
        Unary("exp2", ex, [](Ext x) { return exp2l(x); });
        Unary("log", pos, [](Ext x) { return logl(x); });
        Unary("log10", pos, [](Ext x) { return log10l(x); });
        Unary("log2", pos, [](Ext x) { return log2l(x); });
        Unary("sqrt", pos, [](Ext x) { return sqrtl(x); });
        for (std::size_t i = 0; i + 1 < trig.size(); i += 2) {
            Print("atan2", trig[i], trig[i + 1], static_cast<double>(atan2l(trig[i], trig[i + 1])));
        }
        for (std::size_t i = 0; i < powB.size(); ++i) {
            const Ext b = powB[i];
            const Ext e = powE[i];
            Print("pow", powB[i], powE[i], static_cast<double>(exp2l(e * log2l(b))));
        }
        return 0;
    }
    using namespace pellix;
    Unary("sin", trig, ExtSin);
    Unary("cos", trig, ExtCos);
    Unary("tan", trig, ExtTan);
    Unary("asin", unit, ExtAsin);
    Unary("acos", unit, ExtAcos);
    Unary("exp", ex, ExtExp);
    Unary("exp2", ex, ExtExp2);
    for (std::size_t i = 0; i < powB.size(); ++i) {
        const Ext b = powB[i];
        const Ext e = powE[i];
        Print("pow", powB[i], powE[i], static_cast<double>(ExtExp2(e * log2l(b))));
    }
    return 0;
}
