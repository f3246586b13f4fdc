#pragma once

#include "db/paytable.h"

#include <QSqlQueryModel>
#include <QStringList>

namespace tallyhawk {

// Rows of one game of the pay table for a grid: the given fields under the given captions,
// columns found by field name. Editable cell by cell while allowed: each accepted edit is
// stored at once (a blank cell as Null) and the rows are read again.
class PayGridModel : public QSqlQueryModel
{
    Q_OBJECT
public:
    PayGridModel(const QStringList& fields, const QStringList& captions, QObject* parent = nullptr);

    void setDatabase(QSqlDatabase db) { m_db = db; }
    // Shows the game's rows (with `condition`, extra SQL such as " AND [Catch] = 0").
    void showGame(const GameSql& game, const QString& condition = {});
    void reload();

    void setEditable(bool editable) { m_editable = editable; }
    bool isEditable() const { return m_editable; }
    // Fields shown but never edited in the grid (the key is changed in the key fields).
    void setReadOnlyFields(const QStringList& fields) { m_readOnlyFields = fields; }

    // The column of a field, or -1.
    int fieldColumn(const QString& field) const { return m_fields.indexOf(field); }
    QVariant value(int row, const QString& field) const;

    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    // An edit was refused: the message says why; nothing was stored.
    void editRefused(const QString& message);

private:
    // Source column of a shown column: the query's first column is the row's id.
    // (created directly: the shown columns are one fewer than the query's, so index() would
    // refuse the last one).
    QModelIndex sourceIndex(const QModelIndex& index) const
    {
        return createIndex(index.row(), index.column() + 1);
    }

    QSqlDatabase m_db;
    QStringList m_fields;
    QStringList m_captions;
    QStringList m_readOnlyFields;
    GameSql m_game;
    QString m_condition;
    bool m_editable = false;
};

} // namespace tallyhawk
