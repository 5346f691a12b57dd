// Start-up of the real program, from spawning it to its first window being
// viewable on the X server in DISPLAY, and its peak memory, against a minimal
// Qt Widgets program built in the same tree, with and without one label.
// Run under Xvfb.
#include <benchmark/benchmark.h>

#include "x11_client.h"

namespace {

using namespace std::chrono_literals;

void StartUp(benchmark::State& state, const char* program, const char* title) {
    parvolin::x11::Client x;
    if (!x.connected()) {
        state.SkipWithError("no X server in DISPLAY");
        return;
    }
    double peakKiB = 0;
    int runs = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        parvolin::x11::Process process(program);
        const auto window = x.waitForWindow(title, 30s);
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (!window) {
            state.SkipWithError("the window did not appear");
            return;
        }
        x.close(*window);
        const auto exit = process.waitForExit(20s);
        if (!exit || exit->status != 0) {
            state.SkipWithError("the program did not end cleanly");
            return;
        }
        peakKiB += double(exit->peakMemoryKiB);
        ++runs;
    }
    state.counters["peak_rss_kib"] = peakKiB / runs;
}

}  // namespace

BENCHMARK_CAPTURE(StartUp, minimal_qt, PARVOLIN_MINIMAL_APP, "Minimal")
    ->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(StartUp, minimal_qt_label, PARVOLIN_MINIMAL_LABEL_APP, "Minimal with a label")
    ->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(StartUp, parvolin, PARVOLIN_APP, "Parvolin")
    ->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
