// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// A temporary data folder holding a fresh copy of the seed database.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace tallyhawk {

class TempDataFolder
{
public:
    TempDataFolder() { QFile::copy(TALLYHAWK_SEED_PATH, databasePath()); }

    bool isValid() const { return m_dir.isValid() && QFile::exists(databasePath()); }
    QString path() const { return m_dir.path(); }
    QString databasePath() const { return m_dir.filePath("Tallyhawk.orf"); }

private:
    QTemporaryDir m_dir;
};

} // namespace tallyhawk
