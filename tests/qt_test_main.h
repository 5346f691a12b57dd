#pragma once

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>

#include "recording_reporter.h"
#include "runtime/forms/qt/form.h"

using RecordingReporter = parvolin::test::RecordingReporter<QWidget*>;

// A QtTest main for the window tests: they run on the offscreen platform,
// whatever display there is, with the name the program gives itself and a
// known locale. A test function that runs for half a minute has hung: QtTest
// then ends the run, naming it (its own limit is five minutes).
#define PARVOLIN_QTEST_MAIN(TestClass)                                         \
    int main(int argc, char** argv) {                                          \
        qputenv("QT_QPA_PLATFORM", "offscreen");                               \
        if (!qEnvironmentVariableIsSet("QTEST_FUNCTION_TIMEOUT"))              \
            qputenv("QTEST_FUNCTION_TIMEOUT", "30000");                        \
        QTemporaryDir runtimeDir;                                              \
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir.path()));      \
        QApplication application(argc, argv);                                  \
        QApplication::setApplicationName(QStringLiteral("Parvolin"));          \
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); \
        TestClass test;                                                        \
        return QTest::qExec(&test, argc, argv);                                \
    }
