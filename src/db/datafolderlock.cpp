// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "datafolderlock.h"

#include "database.h"

#include <QDir>

namespace tallyhawk {

DataFolderLock::DataFolderLock(const QString& folder)
    : m_folder(folder), m_file(QDir(folder).filePath(kLockFileName))
{
    // A lock is stale only when the process it names is gone, however long a copy runs.
    m_file.setStaleLockTime(0);
}

DataFolderLock::Outcome DataFolderLock::lock(QString* error)
{
    // A folder that may not be changed is left without a lock file too.
    if (!MayChangeFolder(m_folder))
        return Outcome::ReadOnlyFolder;
    if (m_file.tryLock(0))
        return Outcome::Locked;
    const QString shownFolder = QDir::toNativeSeparators(m_folder);
    if (m_file.error() == QLockFile::LockFailedError) {
        *error = QStringLiteral("Tallyhawk is already running with the data folder %1. Only one copy can "
                                "use it at a time, so this one will close.")
                     .arg(shownFolder);
        return Outcome::HeldByAnotherCopy;
    }
    *error = QStringLiteral("The data folder %1 cannot be locked for this copy of Tallyhawk (the lock file "
                            "%2 cannot be written).")
                 .arg(shownFolder, QDir::toNativeSeparators(m_file.fileName()));
    return Outcome::Failed;
}

} // namespace tallyhawk
