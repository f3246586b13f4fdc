// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once

#include "db/catalogue.h"
#include "db/paytable.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

namespace tallyhawk {

// Rows of one game of the pay table for a grid: the given fields under the given captions,
// columns found by field name. While editable, each typed cell is checked and kept in the grid
// (a blank cell as Null) until the lock stores every typed cell in one transaction, as Qt's
// cached-table example keeps its edits until it submits them. A typed cell changes that cell
// only: the rows are not read again, so the view keeps its place and its current cell.
class PayGridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    PayGridModel(const QStringList& fields, const QStringList& captions, QObject* parent = nullptr);

    void setDatabase(QSqlDatabase db) { m_db = db; }
    // Shows the game's rows as stored (with `condition`, extra SQL such as " AND [Catch] = 0");
    // cells typed and not stored are dropped.
    void showGame(const GameSql& game, const QString& condition = {});
    void reload();
    void clear();

    void setEditable(bool editable) { m_editable = editable; }
    bool isEditable() const { return m_editable; }
    // Fields shown but never edited in the grid (the key is changed in the key fields).
    void setReadOnlyFields(const QStringList& fields) { m_readOnlyFields = fields; }

    // The column of a field, or -1.
    int fieldColumn(const QString& field) const { return static_cast<int>(m_fields.indexOf(field)); }
    // A field's value as the grid holds it: as stored, or as typed when it was typed since.
    QVariant value(int row, const QString& field) const;
    // The row's id in the pay table.
    qlonglong rowId(int row) const
    {
        return row >= 0 && row < rowCount() ? m_rows[static_cast<std::size_t>(row)].rowId : -1;
    }
    // The cells typed since the rows were read, for the lock to store.
    std::vector<CellEdit> typedCells() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    // A typed value was refused: the message says why; the cell keeps what it held.
    void editRefused(const QString& message);

private:
    struct Row
    {
        qlonglong rowId = 0;
        QVariantList values; // by column
        QList<bool> typed;   // by column: typed since the rows were read
    };

    QSqlDatabase m_db;
    QStringList m_fields;
    QStringList m_captions;
    QStringList m_readOnlyFields;
    GameSql m_game;
    QString m_condition;
    std::vector<Row> m_rows;
    bool m_editable = false;
};

} // namespace tallyhawk
