// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "datapaths.h"

#include "database.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace tallyhawk {

QString programDataFolder(const QString& executableFolder)
{
    const QDir beside(executableFolder);
    if (QFileInfo::exists(beside.filePath(kDatabaseFileName)))
        return beside.path();
    const QString installed = QDir::cleanPath(beside.filePath("../share/tallyhawk"));
    if (QFileInfo::exists(QDir(installed).filePath(kDatabaseFileName)))
        return installed;
    return beside.path();
}

QString userDataFolder()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\$ProgramData\\Tallyhawk");
#else
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
#endif
}

} // namespace tallyhawk
