// offscreen_main.h: the main program of a window benchmark: the toolkit on its offscreen
// platform (no display needed), its notes on what that platform cannot do kept out of the
// figures, then every benchmark of the program.
#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace orvex::bench {

inline int RUN_OFFSCREEN_BENCHMARKS(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(text));
    });
    int qt_argc = 1;
    QApplication app(qt_argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace orvex::bench
