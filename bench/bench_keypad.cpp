// Time of one key press through the entry machine, display text included.

#include "keypad/entry.h"

#include <benchmark/benchmark.h>

#include <initializer_list>

namespace {

using pellix::TZunCalc;
using pellix::TZunEntry;

// A digit that starts a new number and one appended to it, alternately.
void BM_KeyClickDigit(benchmark::State& state) {
    TZunCalc calc(1);
    TZunEntry entry(calc);
    entry.RefreshDisplay();
    int n = 0;
    for (auto _ : state) {
        if ((n++ & 1) == 0) {
            calc.Input = true;
        }
        entry.KeyClick(7);
        benchmark::DoNotOptimize(entry.DisplayText().data());
    }
}
BENCHMARK(BM_KeyClickDigit);

void BM_KeyClickEnter(benchmark::State& state) {
    TZunCalc calc(1);
    TZunEntry entry(calc);
    calc.Stack = {1234.5678, 2, 3, 4};
    entry.RefreshDisplay();
    for (auto _ : state) {
        entry.KeyClick(pellix::KeyEnter);
        benchmark::DoNotOptimize(entry.DisplayText().data());
    }
}
BENCHMARK(BM_KeyClickEnter);

// The stack is set again before each press (four stores).
void BM_KeyClickAdd(benchmark::State& state) {
    TZunCalc calc(1);
    TZunEntry entry(calc);
    entry.RefreshDisplay();
    for (auto _ : state) {
        calc.Stack = {1.25, 2.5, 3.75, 5};
        entry.KeyClick(pellix::KeyAdd);
        benchmark::DoNotOptimize(entry.DisplayText().data());
    }
}
BENCHMARK(BM_KeyClickAdd);

void BM_KeyClickSin(benchmark::State& state) {
    TZunCalc calc(1);
    TZunEntry entry(calc);
    entry.RefreshDisplay();
    for (auto _ : state) {
        calc.Stack[0] = 30;
        entry.KeyClick(pellix::KeySin);
        benchmark::DoNotOptimize(entry.DisplayText().data());
    }
}
BENCHMARK(BM_KeyClickSin);

// A typical run: 1 2 . 5 ENTER 3 + SIN, eight presses per iteration.
void BM_KeyClickSequence(benchmark::State& state) {
    TZunCalc calc(1);
    TZunEntry entry(calc);
    entry.RefreshDisplay();
    for (auto _ : state) {
        for (const int code :
             {1, 2, pellix::KeyPoint, 5, pellix::KeyEnter, 3, pellix::KeyAdd, pellix::KeySin}) {
            entry.KeyClick(code);
        }
        benchmark::DoNotOptimize(entry.DisplayText().data());
    }
    state.SetItemsProcessed(state.iterations() * 8);
}
BENCHMARK(BM_KeyClickSequence);

} // namespace
