// Start-up of the real program, from spawning it to its first window being
// viewable on the X server in DISPLAY, and its peak memory, against a minimal
// Qt Widgets program built in the same tree, with and without one label.
// Timed also to the last paint of the window's first burst of drawing, which
// comes after the window is viewable, against the fair floor: a bare Qt
// window with the same thirteen controls at the same size.
// With PARVOLIN_WINE_APP, PARVOLIN_WINE_MINIMAL_APP and
// PARVOLIN_WINE_CONTROLS_APP set (paths of .exe files), also parvolin.exe
// against an empty Win32 window and against a bare window with the same
// native controls, all under the same Wine. Run under Xvfb.
#include <benchmark/benchmark.h>
#include <poll.h>
#include <xcb/damage.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "x11_client.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

struct Program {
    std::vector<std::string> command;
    std::string title;
    // Qt programs are closed as a close box does and must end with 0; a
    // Wine window without a window manager is simply ended.
    bool closeCleanly = true;
    // Timed to the last paint of the first burst rather than to viewable.
    bool toLastPaint = false;
};

// Every drawing on the screen, as the X DAMAGE extension reports it for the
// root window: the last of a burst is when the window was finished.
class PaintWatch {
public:
    explicit PaintWatch(parvolin::x11::Client& x) : x_(x) {
        xcb_connection_t* c = x.connection();
        const auto* extension = xcb_get_extension_data(c, &xcb_damage_id);
        if (extension == nullptr || !extension->present) return;
        firstEvent_ = extension->first_event;
        std::free(xcb_damage_query_version_reply(c, xcb_damage_query_version(c, 1, 1), nullptr));
        const xcb_damage_damage_t damage = xcb_generate_id(c);
        xcb_damage_create(c, damage, x.screen().root, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
        xcb_flush(c);
        works_ = true;
    }

    bool works() const { return works_; }

    // Forgets what was drawn before now (the previous window closing).
    void drain() {
        std::this_thread::sleep_for(100ms);
        while (auto* event = xcb_poll_for_event(x_.connection())) std::free(event);
    }

    // Waits until a window with `title` is viewable and nothing has been
    // drawn for `quiet`; returns the time of the last drawing.
    std::optional<Clock::time_point> lastPaint(const std::string& title, Clock::duration quiet) {
        const auto deadline = Clock::now() + 30s;
        auto last = Clock::now();
        bool viewable = false;
        pollfd events{xcb_get_file_descriptor(x_.connection()), POLLIN, 0};
        while (Clock::now() < deadline) {
            while (auto* event = xcb_poll_for_event(x_.connection())) {
                if ((event->response_type & 0x7f) == firstEvent_ + XCB_DAMAGE_NOTIFY)
                    last = Clock::now();
                std::free(event);
            }
            if (!viewable) viewable = x_.waitForWindow(title, 0ms).has_value();
            if (viewable && Clock::now() - last > quiet) return last;
            poll(&events, 1, 1);
        }
        return std::nullopt;
    }

private:
    parvolin::x11::Client& x_;
    std::uint8_t firstEvent_ = 0;
    bool works_ = false;
};

void StartUp(benchmark::State& state, const Program& program) {
    parvolin::x11::Client x;
    if (!x.connected()) {
        state.SkipWithError("no X server in DISPLAY");
        return;
    }
    PaintWatch paints(x);
    if (program.toLastPaint && !paints.works()) {
        state.SkipWithError("no DAMAGE extension");
        return;
    }
    double peakKiB = 0;
    int runs = 0;
    for (auto _ : state) {
        if (program.toLastPaint) paints.drain();
        const auto start = Clock::now();
        parvolin::x11::Process process(program.command);
        std::optional<Clock::time_point> end;
        if (program.toLastPaint)
            end = paints.lastPaint(program.title, 250ms);
        else if (x.waitForWindow(program.title, 30s))
            end = Clock::now();
        if (!end) {
            state.SkipWithError("the window did not appear");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(*end - start).count());
        if (!program.closeCleanly) continue;  // ended by the Process destructor
        const auto window = x.waitForWindow(program.title, 1s);
        if (!window) {
            state.SkipWithError("the window went away");
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
    add("StartUpPainted/minimal_qt_controls",
        {{PARVOLIN_MINIMAL_CONTROLS_APP}, "Minimal with controls", true, true});
    add("StartUpPainted/parvolin", {{PARVOLIN_APP}, "Parvolin", true, true});
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
