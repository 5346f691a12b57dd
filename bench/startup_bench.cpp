// Start-up of the real program, from spawning it to its first window being
// viewable on the X server in DISPLAY, and its peak memory, against a minimal
// Qt Widgets program built in the same tree, with and without one label.
// With PARVOLIN_WINE_APP, PARVOLIN_WINE_MINIMAL_APP and
// PARVOLIN_WINE_CONTROLS_APP set (paths of .exe files), also parvolin.exe
// against an empty Win32 window and against a bare window with the same
// native controls, all under the same Wine. Run under Xvfb.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "x11_client.h"

namespace {

using namespace std::chrono_literals;

struct Program {
    std::vector<std::string> command;
    std::string title;
    // Qt programs are closed as a close box does and must end with 0; a
    // Wine window without a window manager is simply ended.
    bool closeCleanly = true;
};

void StartUp(benchmark::State& state, const Program& program) {
    parvolin::x11::Client x;
    if (!x.connected()) {
        state.SkipWithError("no X server in DISPLAY");
        return;
    }
    double peakKiB = 0;
    int runs = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        parvolin::x11::Process process(program.command);
        const auto window = x.waitForWindow(program.title, 30s);
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (!window) {
            state.SkipWithError("the window did not appear");
            return;
        }
        if (!program.closeCleanly) continue;  // ended by the Process destructor
        x.close(*window);
        const auto exit = process.waitForExit(20s);
        if (!exit || exit->status != 0) {
            state.SkipWithError("the program did not end cleanly");
            return;
        }
        peakKiB += double(exit->peakMemoryKiB);
        ++runs;
    }
    if (runs > 0) state.counters["peak_rss_kib"] = peakKiB / runs;
}

void add(const char* name, Program program) {
    benchmark::RegisterBenchmark(name,
                                 [program](benchmark::State& state) { StartUp(state, program); })
        ->UseManualTime()
        ->Iterations(10)
        ->Unit(benchmark::kMillisecond);
}

}  // namespace

int main(int argc, char** argv) {
    add("StartUp/minimal_qt", {{PARVOLIN_MINIMAL_APP}, "Minimal"});
    add("StartUp/minimal_qt_label", {{PARVOLIN_MINIMAL_LABEL_APP}, "Minimal with a label"});
    add("StartUp/parvolin", {{PARVOLIN_APP}, "Parvolin"});
    const char* wineApp = std::getenv("PARVOLIN_WINE_APP");
    const char* wineMinimal = std::getenv("PARVOLIN_WINE_MINIMAL_APP");
    const char* wineControls = std::getenv("PARVOLIN_WINE_CONTROLS_APP");
    if (wineApp != nullptr && wineMinimal != nullptr && wineControls != nullptr) {
        add("StartUp/wine_minimal_win32", {{"wine", wineMinimal}, "Minimal", false});
        add("StartUp/wine_controls_win32",
            {{"wine", wineControls}, "Minimal with controls", false});
        add("StartUp/wine_parvolin", {{"wine", wineApp}, "Parvolin", false});
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
