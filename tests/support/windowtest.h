#pragma once
// Shared set-up of the window tests: the offscreen platform, set before the application
// exists (test discovery runs the binaries too).

#include <QApplication>
#include <QDir>
#include <QTest>
#include <QWidget>

namespace tallyhawk {

// With TALLYHAWK_SCREENSHOTS=folder, saves what a window looks like, for a person to check.
inline void saveScreenshot(QWidget* window, const QString& name)
{
    const QString folder = qEnvironmentVariable("TALLYHAWK_SCREENSHOTS");
    if (folder.isEmpty())
        return;
    QApplication::processEvents();
    window->grab().save(QDir(folder).filePath(name + ".png"));
}

} // namespace tallyhawk

#define TALLYHAWK_WINDOW_TEST_MAIN(TestClass)                                                                \
    int main(int argc, char** argv)                                                                          \
    {                                                                                                        \
        qputenv("QT_QPA_PLATFORM", "offscreen");                                                             \
        QApplication app(argc, argv);                                                                        \
        QApplication::setApplicationName("Tallyhawk");                                                       \
        TestClass test;                                                                                      \
        return QTest::qExec(&test, argc, argv);                                                              \
    }
