#include "module2.h"

#include "db/database.h"

#include <QDir>
#include <QEventLoop>
#include <QTime>
#include <QTimer>

namespace tallyhawk {

void Module2::setDataFolder(const QString& folder)
{
    gDataFolder = folder;
    gDatabasePath = QDir(folder).filePath(kDatabaseFileName);
}

void Module2::seedRandom()
{
    if (gRandomSeed != 0) {
        gRandom.seed(static_cast<std::uint32_t>(gRandomSeed));
        return;
    }
    // The clock's milliseconds since midnight, finer than the seconds a float would keep,
    // so that two starts within one second still draw differently.
    gRandom.seed(static_cast<std::uint64_t>(QTime::currentTime().msecsSinceStartOfDay()) +
                 0x9E3779B97F4A7C15ull);
}

void PauseSeconds(float seconds)
{
    if (!(seconds > 0))
        return;
    // A local event loop on a monotonic timer: the windows stay responsive without spinning
    // the processor, and the wall clock's midnight wrap cannot stretch the wait.
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(seconds * 1000.0f + 0.5f), Qt::PreciseTimer, &loop,
                       &QEventLoop::quit);
    loop.exec();
}

} // namespace tallyhawk
