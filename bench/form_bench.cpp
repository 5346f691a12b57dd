// Creating Form1, filling its unit lists and showing it (offscreen), against a
// bare window with thirteen plain controls of the same kinds, created and
// shown the same way. The combo boxes are editable in both: that is their
// kind, and it is most of what a window of these controls costs.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "runtime/forms/qt/form.h"
#include "ui/form1.h"

namespace {

class SilentReporter final : public parvolin::qt::ErrorReporter {
public:
    void report(QWidget*, std::string_view) override {}
};

void Form1Shown(benchmark::State& state) {
    SilentReporter reporter;
    for (auto _ : state) {
        parvolin::qt::Form form(parvolin::form1Design(), reporter);
        form.load();
        form.show();
        QCoreApplication::sendPostedEvents();
        benchmark::DoNotOptimize(form.isVisible());
    }
}

void BareWidgetsShown(benchmark::State& state) {
    for (auto _ : state) {
        QWidget window;
        for (int i = 0; i < 5; ++i) new QLabel(QStringLiteral("Label:"), &window);
        for (int i = 0; i < 3; ++i) (new QComboBox(&window))->setEditable(true);
        for (int i = 0; i < 3; ++i) new QLineEdit(&window);
        new QPlainTextEdit(&window);
        new QPushButton(QStringLiteral("Button"), &window);
        window.show();
        QCoreApplication::sendPostedEvents();
        benchmark::DoNotOptimize(window.isVisible());
    }
}

}  // namespace

BENCHMARK(BareWidgetsShown)->Unit(benchmark::kMicrosecond);
BENCHMARK(Form1Shown)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
