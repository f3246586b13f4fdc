#pragma once
// Shared set-up of the window tests: the offscreen platform, set before the application
// exists (test discovery runs the binaries too).

#include <QApplication>
#include <QTest>

#define TALLYHAWK_WINDOW_TEST_MAIN(TestClass)                                                                \
    int main(int argc, char** argv)                                                                          \
    {                                                                                                        \
        qputenv("QT_QPA_PLATFORM", "offscreen");                                                             \
        QApplication app(argc, argv);                                                                        \
        QApplication::setApplicationName("Tallyhawk");                                                       \
        TestClass test;                                                                                      \
        return QTest::qExec(&test, argc, argv);                                                              \
    }
