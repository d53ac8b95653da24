#include "shell/beepthread.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

using namespace pellix;

namespace {

// A player that keeps the worker busy, so every Beep meets a click in progress.
class BusyPlayer : public IClickPlayer {
public:
    void Play() override { std::this_thread::sleep_for(std::chrono::milliseconds(125)); }
};

void BeepWhilePlaying(benchmark::State& state) {
    TBeepThread worker(std::make_unique<BusyPlayer>());
    worker.Beep();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    for (auto _ : state) {
        worker.Beep();
    }
    worker.Stop();
}

} // namespace

BENCHMARK(BeepWhilePlaying);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
