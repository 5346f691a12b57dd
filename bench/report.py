"""Turns the benchmarks' JSON into ratios against their baselines.

Each ratio is the median of the measured side over the median of its baseline,
both from the same run, so a busy machine slows both alike.
Usage: report.py RESULTS_DIR REPORT_MD
"""
import datetime
import json
import pathlib
import sys

# (what, file, measured, baseline, figure, goal)
PAIRS = [
    ("One press of Calculate!, without the window", "press.json", "Press", "PressBaseline", "time", 1.0),
    ("Form1 created, filled and shown (offscreen)", "form.json", "Form1Shown", "BareWidgetsShown", "time", 1.2),
    ("Start-up to the first shown window (Xvfb)", "startup.json", "StartUp/parvolin", "StartUp/minimal_qt", "time", 1.1),
    ("Peak memory of that start-up", "startup.json", "StartUp/parvolin", "StartUp/minimal_qt", "peak_rss_kib", 1.1),
    ("Start-up, against a window with one label", "startup.json", "StartUp/parvolin", "StartUp/minimal_qt_label", "time", 1.05),
    ("Peak memory, against a window with one label", "startup.json", "StartUp/parvolin", "StartUp/minimal_qt_label", "peak_rss_kib", 1.05),
    ("Start-up to the last paint, against the same controls (Xvfb)", "startup.json", "StartUpPainted/parvolin", "StartUpPainted/minimal_qt_controls", "time", 1.05),
    ("Peak memory, against the same controls", "startup.json", "StartUpPainted/parvolin", "StartUpPainted/minimal_qt_controls", "peak_rss_kib", 1.05),
    ("Windows: parvolin.exe's start-up under Wine", "startup.json", "StartUp/wine_parvolin", "StartUp/wine_minimal_win32", "time", 1.1),
    ("Windows: start-up, against a window with the same controls", "startup.json", "StartUp/wine_parvolin", "StartUp/wine_controls_win32", "time", 1.05),
]
# Figures of the Windows build that stand alone: (what, key, goal in bytes).
SIZES = [("Windows: parvolin.exe's size", "parvolin_exe_bytes", 1024 * 1024)]


def medians(path):
    data = json.loads(path.read_text())
    found = {b["run_name"]: b for b in data["benchmarks"] if b.get("aggregate_name") == "median"}
    return found, data["context"]


def pick(found, name):
    # "StartUp/parvolin" stands for "StartUp/parvolin/iterations:10/...".
    for run_name, bench in found.items():
        if run_name == name or run_name.startswith(name + "/"):
            return bench
    raise SystemExit(f"no median for {name}")


def figure(bench, what):
    if what == "time":
        return bench["real_time"], bench["time_unit"]
    return bench[what], "KiB"


def cpu_model():
    for line in pathlib.Path("/proc/cpuinfo").read_text().splitlines():
        if line.startswith("model name"):
            return line.split(":", 1)[1].strip()
    return "unknown processor"


def main():
    results, report = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    rows, context = [], None
    windows = results / "windows.json"
    for what, file, measured, baseline, kind, goal in PAIRS:
        if "wine" in measured and not windows.exists():
            continue
        found, context = medians(results / file)
        value, unit = figure(pick(found, measured), kind)
        base, _ = figure(pick(found, baseline), kind)
        ratio = value / base
        rows.append((what, f"{value:.4g} {unit}", f"{base:.4g} {unit}", ratio, goal))

    sizes = []
    if windows.exists():
        figures = json.loads(windows.read_text())
        sizes = [(what, figures[key], goal) for what, key, goal in SIZES]

    print(f"\n{'':46} {'measured':>14} {'baseline':>14} {'ratio':>7} {'goal':>6}")
    for what, value, base, ratio, goal in rows:
        verdict = "met" if ratio <= goal else "MISSED"
        print(f"{what:46} {value:>14} {base:>14} {ratio:7.2f} {goal:6.2f} {verdict}")
    for what, size, goal in sizes:
        verdict = "met" if size < goal else "MISSED"
        print(f"{what:46} {size / 1024:11.0f} KiB {'':>14} {'':>7} {goal / 1024:4.0f} KiB {verdict}")

    lines = [
        "# Performance",
        "",
        "The last figures of `make bench`, which writes this file. Each row is the",
        "median of repeated runs of the measured code over the median of its",
        "baseline, both measured in the same run on the same machine.",
        "",
        f"- Date: {datetime.date.today().isoformat()}",
        f"- Machine: {cpu_model()}, {context['num_cpus']} cores, shared and noisy",
        f"- Build: the `bench` preset (Release, GCC)",
        "",
        "| what | measured (median) | baseline (median) | ratio | goal |",
        "|---|---|---|---|---|",
    ]
    for what, value, base, ratio, goal in rows:
        lines.append(f"| {what} | {value} | {base} | {ratio:.2f} | at most {goal:.2f} |")
    if sizes:
        lines += ["", "| what | measured | goal |", "|---|---|---|"]
        lines += [f"| {what} | {size / 1024:.0f} KiB | under {goal / 1024:.0f} KiB |" for what, size, goal in sizes]
    lines += [
        "",
        "Baselines:",
        "",
        "- **Press:** `strtod` for the three conversions, the same arithmetic, and",
        "  `snprintf(\"%.15g\")` with the same classification, without checks,",
        "  error reporting or locale handling.",
        "- **Form1:** a bare top-level `QWidget` with thirteen plain controls of the",
        "  same kinds (five labels, three editable combo boxes, three line edits, a",
        "  plain text edit and a button), created and shown the same way.",
        "- **Start-up and memory:** `bench/minimal_app`, the least a Qt Widgets",
        "  program does to show a window, built in the same tree; and the same",
        "  program showing one label (`minimal_label_app`), which loads the fonts",
        "  as any window with text must. Timed from spawning to the window being",
        "  viewable, memory as the peak resident set.",
        "- **Start-up to the last paint:** the fair floor, `minimal_controls_app`",
        "  (the same source): a bare Qt window with Parvolin's thirteen controls,",
        "  texts and items at the same places and size, without its layout rules,",
        "  display check or window-manager hints. Both timed from spawning to the",
        "  last drawing of the window's first burst, as the X DAMAGE extension",
        "  reports it on the root window (the burst ends after 250 ms without",
        "  drawing), the two programs' runs interleaved.",
        "- **Windows start-up:** `bench/minimal_win32.cpp`, one empty Win32 window",
        "  built with the same MinGW-w64 toolchain and flags as `parvolin.exe`;",
        "  both started with `wine` under the same Wine and wine server, timed",
        "  from spawning to the window being viewable on the X server.",
        "  The fair floor, `minimal_controls_win32` (the same source): a bare",
        "  window with the same thirteen native controls at the same places, the",
        "  same manifest (version 6 of the common controls) and the message font,",
        "  built the same way.",
        "",
        "To rerun: `make bench` (it installs Google Benchmark if missing, builds the",
        "`bench` preset, runs everything and rewrites this file).",
        "",
    ]
    notes = pathlib.Path(__file__).with_name("notes.md")
    if notes.exists():
        lines += [notes.read_text().rstrip(), ""]
    report.write_text("\n".join(lines))
    print(f"\nwrote {report}")


if __name__ == "__main__":
    main()
