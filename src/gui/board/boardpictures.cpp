// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "boardpictures.h"

#include "gui/common/dialogs.h"

#include <QDir>

namespace tallyhawk {

QString BoardPictures::fileName(Picture picture)
{
    switch (picture) {
    case Picture::BlueCheck:
        return "ckmark-blue.GIF";
    case Picture::RedCheck:
        return "ckmark-red.GIF";
    case Picture::BonusBall:
        return "BonusBall.GIF";
    case Picture::NoBonusBall:
        return "NoBonusBall.GIF";
    case Picture::EggBlue:
        return "egg-blue.jpg";
    case Picture::EggCracked:
        return "egg-cracked.jpg";
    case Picture::None:
        break;
    }
    return {};
}

QPixmap BoardPictures::get(Picture picture)
{
    if (picture == Picture::None)
        return {};
    const int key = static_cast<int>(picture);
    if (const auto it = m_loaded.constFind(key); it != m_loaded.constEnd())
        return *it;
    const QString path = QDir(m_folder).filePath(fileName(picture));
    QPixmap pixmap(path);
    if (pixmap.isNull() && !m_reported.contains(key)) {
        m_reported.insert(key);
        m_dialogs.message(
            m_parent,
            QStringLiteral("The picture %1 is missing or cannot be read; the board goes on without it.")
                .arg(QDir::toNativeSeparators(path)),
            kProgramTitle, Dialogs::Icon::Warning);
    }
    m_loaded.insert(key, pixmap);
    return pixmap;
}

} // namespace tallyhawk
