// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once

#include "engine/play/playengine.h"

#include <QHash>
#include <QPixmap>
#include <QSet>
#include <QString>

class QWidget;

namespace tallyhawk {

class Dialogs;

// The pictures of the board cells, loaded once from the program's images folder.
// A missing picture is reported once; its cells then show no picture.
class BoardPictures
{
public:
    BoardPictures(Dialogs& dialogs, QWidget* parent) : m_dialogs(dialogs), m_parent(parent) {}

    void setFolder(const QString& imagesFolder) { m_folder = imagesFolder; }
    QPixmap get(Picture picture);

    static QString fileName(Picture picture);

private:
    Dialogs& m_dialogs;
    QWidget* m_parent;
    QString m_folder;
    QHash<int, QPixmap> m_loaded;
    QSet<int> m_reported;
};

} // namespace tallyhawk
