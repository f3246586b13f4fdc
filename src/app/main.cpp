// Tallyhawk: a study tool for the casino game of keno.

#include "application.h"
#include "gui/common/qtdialogs.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>

namespace {

// Windows keeps the data in its fixed folder; elsewhere it lives in the user's data folder
// for the application (~/.local/share/Tallyhawk on Linux).
QString dataFolder()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\$ProgramData\\Tallyhawk");
#else
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
#endif
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tallyhawk");
    QApplication::setApplicationVersion(
        QStringLiteral("%1.%2").arg(TALLYHAWK_VERSION_MAJOR).arg(TALLYHAWK_VERSION_MINOR));
    // The board asks before quitting and ends the program itself.
    QApplication::setQuitOnLastWindowClosed(false);

    tallyhawk::QtDialogs dialogs;
    tallyhawk::Application program(dataFolder(), QApplication::applicationDirPath(), dialogs);
    QObject::connect(&program, &tallyhawk::Application::finished, &app, &QApplication::exit,
                     Qt::QueuedConnection);
    if (!program.start())
        return 1;
    return app.exec();
}
