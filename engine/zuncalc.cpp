#include "zuncalc.h"

#include <chrono>

namespace pellix {

namespace {

std::uint32_t ClockSeed() {
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ticks));
}

} // namespace

TZunCalc::TZunCalc() : TZunCalc(ClockSeed()) {}

TZunCalc::TZunCalc(std::uint32_t randSeed) : RandSeed(randSeed) {}

void TZunCalc::Push(double x) {
    for (size_t i = Stack.size() - 1; i > 0; --i) {
        Stack[i] = Stack[i - 1];
    }
    Stack[0] = x;
    Input = true;
}

double TZunCalc::Pop() {
    const double r = Stack[0];
    for (size_t i = 0; i + 1 < Stack.size(); ++i) {
        Stack[i] = Stack[i + 1];
    }
    return r;
}

void TZunCalc::ExecOp(TZunOperation op) {
    FError.clear();
    if (op != zunLastX) {
        LastX = Stack[0];
    }
    try {
        Run(op);
    } catch (const EZeroDivide&) {
        FError = SDivideByZero;
        return;
    } catch (const EOverflow&) {
        FError = SOverflow;
        return;
    }
    Input = true;
}

} // namespace pellix
