#include "module2.h"

#include "db/database.h"

#include <QDir>
#include <QTime>

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

} // namespace tallyhawk
