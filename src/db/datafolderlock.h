// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// One program per data folder: two copies would each save their own credits and options
// over the other's. A lock file in the folder names the process that holds it; the lock of a
// copy that crashed names a process that is gone, and the next start takes it over.

#include <QLockFile>
#include <QString>

namespace tallyhawk {

inline constexpr char kLockFileName[] = "Tallyhawk.lock";

class DataFolderLock
{
public:
    enum class Outcome
    {
        Locked,
        ReadOnlyFolder,    // not locked: nothing in the folder can be changed by any copy
        HeldByAnotherCopy, // error says so, naming the folder
        Failed             // error says why
    };

    explicit DataFolderLock(const QString& folder);

    // Takes the lock without waiting; it is held until this object is destroyed.
    [[nodiscard]] Outcome lock(QString* error);

private:
    QString m_folder;
    QLockFile m_file;
};

} // namespace tallyhawk
