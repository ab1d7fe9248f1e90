#pragma once
// The one QApplication of a benchmark binary, made on first use (offscreen unless the caller
// chose a platform), so widgets and fonts work without a display.
#include <QApplication>

inline QApplication& BenchApplication()
{
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication application(argc, argv);
    return application;
}
