// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// Every row of every table, with each value's type, for tests that compare a database before
// and after something that must change nothing.

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

namespace tallyhawk {

inline QStringList DatabaseDump(QSqlDatabase db)
{
    QStringList dump;
    QSqlQuery tables(db);
    tables.exec("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name");
    QStringList names;
    while (tables.next())
        names << tables.value(0).toString();
    for (const QString& table : names) {
        QSqlQuery rows(db);
        rows.exec("SELECT * FROM [" + table + "] ORDER BY rowid");
        while (rows.next()) {
            QStringList values{table};
            for (int i = 0; i < rows.record().count(); ++i) {
                const QVariant value = rows.value(i);
                values << (value.isNull()
                               ? QStringLiteral("NULL")
                               : QString::fromUtf8(value.metaType().name()) + ":" + value.toString());
            }
            dump << values.join('|');
        }
    }
    return dump;
}

} // namespace tallyhawk
