#include "engine/zuncalc.h"

#include <benchmark/benchmark.h>

using namespace pellix;

namespace {

// One operation followed by the display text, as a key press does.
void OpAndDisplay(benchmark::State& state, TZunOperation op, TZunMode mode) {
    TZunCalc z(1);
    z.Mode = mode;
    for (auto _ : state) {
        z.Stack = {1234.5678, 0.25, 3, 4};
        z.ExecOp(op);
        benchmark::DoNotOptimize(z.Display());
    }
}

// One angle operation on X = x in the given angle mode, display text included.
void TrigAndDisplay(benchmark::State& state, TZunOperation op, TZunTrigMode trig, double x) {
    TZunCalc z(1);
    z.TrigMode = trig;
    for (auto _ : state) {
        z.Stack = {x, 0.25, 3, 4};
        z.ExecOp(op);
        benchmark::DoNotOptimize(z.Display());
    }
}

void DisplayOnly(benchmark::State& state, TZunMode mode, double x) {
    TZunCalc z(1);
    z.Mode = mode;
    z.Stack[0] = x;
    for (auto _ : state) {
        benchmark::DoNotOptimize(z.Display());
    }
}

} // namespace

BENCHMARK_CAPTURE(OpAndDisplay, Add_Fix, zunAdd, zunFix);
BENCHMARK_CAPTURE(OpAndDisplay, Mul_Sci, zunMul, zunSci);
BENCHMARK_CAPTURE(OpAndDisplay, Div_Eng, zunDiv, zunEng);
BENCHMARK_CAPTURE(OpAndDisplay, Sin_Fix, zunSin, zunFix);
BENCHMARK_CAPTURE(TrigAndDisplay, Sin_Deg_Small, zunSin, zunDeg, 30);
BENCHMARK_CAPTURE(TrigAndDisplay, Sin_Deg_Huge, zunSin, zunDeg, 1e300);
BENCHMARK_CAPTURE(TrigAndDisplay, Sin_Rad, zunSin, zunRad, 1234.5678);
BENCHMARK_CAPTURE(TrigAndDisplay, Sin_Rad_Small, zunSin, zunRad, 0.5);
BENCHMARK_CAPTURE(TrigAndDisplay, Sin_Rad_Large, zunSin, zunRad, 1e22);
BENCHMARK_CAPTURE(TrigAndDisplay, Sin_Rad_Huge, zunSin, zunRad, 1e300);
BENCHMARK_CAPTURE(TrigAndDisplay, Tan_Rad_Huge, zunTan, zunRad, 1e300);
BENCHMARK_CAPTURE(TrigAndDisplay, Exp_Rad, zunExp, zunRad, 12.345);
BENCHMARK_CAPTURE(TrigAndDisplay, ArcSin_Rad, zunInvSin, zunRad, 0.75);
BENCHMARK_CAPTURE(TrigAndDisplay, Tan_Grad, zunTan, zunGrad, 1234.5678);
BENCHMARK_CAPTURE(TrigAndDisplay, ToRect_Deg, zunToRect, zunDeg, 1234.5678);
BENCHMARK_CAPTURE(OpAndDisplay, Pwr_Fix, zunPwr, zunFix);
BENCHMARK_CAPTURE(OpAndDisplay, Fact_Fix, zunFact, zunFix); // Gamma of 1235.57: overflows
BENCHMARK_CAPTURE(OpAndDisplay, ToH_Fix, zunToH, zunFix);
BENCHMARK_CAPTURE(DisplayOnly, Fix, zunFix, -1234567.891);
BENCHMARK_CAPTURE(DisplayOnly, Sci, zunSci, -1234567.891);
BENCHMARK_CAPTURE(DisplayOnly, Eng, zunEng, -1234567.891);
BENCHMARK_CAPTURE(DisplayOnly, FixOutOfRange, zunFix, 1.5e200);
