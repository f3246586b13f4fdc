// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "paygridmodel.h"

#include "db/sqlerror.h"
#include "engine/catalogue/payvalidation.h"
#include "engine/common/numberforms.h"

#include <QSqlQuery>

namespace tallyhawk {

namespace {

bool isWholeNumberField(const QString& field)
{
    return field == "Catch" || field == "Bonus Ball" || field == "Free Games" || field == "Bonus Factor" ||
           field.startsWith("Egg");
}

bool isNumber(const QVariant& value)
{
    const int type = value.typeId();
    return type == QMetaType::Double || type == QMetaType::LongLong || type == QMetaType::Int;
}

// A number in its plain form (12.275, 50000); anything else as stored.
QString cellText(const QVariant& value)
{
    if (value.isNull())
        return {};
    if (isNumber(value))
        return QString::fromStdString(PlainForm(value.toDouble()));
    return value.toString();
}

// Why a value typed into a pay or bonus field cannot be held: the lock's own range check on a
// row that holds this one value, so that the reason is the lock's, word for word. Empty for
// the other fields (Catch) and for a value that can be held.
std::optional<std::string> rangeProblem(const QString& field, const QVariant& caught, double number)
{
    PayScheduleRow row;
    if (field.startsWith("Pick")) {
        if (const auto c = OptionalNumber(caught))
            row.Catch = static_cast<int>(*c);
        row.Pick[static_cast<std::size_t>(field.mid(4).toInt() - 1)] = number;
        return CheckValueRanges({row});
    }
    std::optional<double>* bonus = field == "Bonus Ball"     ? &row.BonusBall
                                   : field == "Free Games"   ? &row.FreeGames
                                   : field == "Bonus Factor" ? &row.BonusFactor
                                   : field == "Egg1 Bonus"   ? &row.Egg1Bonus
                                   : field == "Egg2 Bonus"   ? &row.Egg2Bonus
                                   : field == "Egg3 Bonus"   ? &row.Egg3Bonus
                                                             : nullptr;
    if (!bonus)
        return std::nullopt;
    row.Catch = 0; // the bonus values are those of the Catch 0 row
    *bonus = number;
    return CheckValueRanges({row});
}

} // namespace

PayGridModel::PayGridModel(const QStringList& fields, const QStringList& captions, QObject* parent)
    : QAbstractTableModel(parent), m_fields(fields), m_captions(captions)
{
}

void PayGridModel::showGame(const GameSql& game, const QString& condition)
{
    m_game = game;
    m_condition = condition;
    reload();
}

void PayGridModel::reload()
{
    QStringList columns{"rowid"};
    for (const QString& field : m_fields)
        columns << '[' + field + ']';
    std::vector<Row> rows;
    QSqlQuery query(m_db);
    // A grid that cannot be read shows nothing rather than stale rows, and says why.
    if (m_db.isOpen() && !m_game.select(query, m_condition, columns.join(", ")))
        emit editRefused("The pays cannot be read: " + DescribeSqlError(query.lastError()));
    while (query.isActive() && query.next()) {
        Row row{query.value(0).toLongLong(), {}, {}};
        for (int column = 0; column < m_fields.size(); ++column) {
            row.values << query.value(column + 1);
            row.typed << false;
        }
        rows.push_back(std::move(row));
    }
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void PayGridModel::clear()
{
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

QVariant PayGridModel::value(int row, const QString& field) const
{
    const int column = fieldColumn(field);
    if (column < 0 || row < 0 || row >= rowCount())
        return {};
    return m_rows[static_cast<std::size_t>(row)].values[column];
}

std::vector<CellEdit> PayGridModel::typedCells() const
{
    std::vector<CellEdit> cells;
    for (const Row& row : m_rows)
        for (int column = 0; column < m_fields.size(); ++column)
            if (row.typed[column])
                cells.push_back({row.rowId, m_fields[column], row.values[column]});
    return cells;
}

int PayGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int PayGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_fields.size());
}

QVariant PayGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const QVariant& value = m_rows[static_cast<std::size_t>(index.row())].values[index.column()];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return cellText(value);
    case Qt::TextAlignmentRole:
        return isNumber(value) || value.isNull() ? QVariant(Qt::AlignCenter)
                                                 : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant PayGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < m_captions.size())
        return m_captions[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags PayGridModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (m_editable && index.isValid() && !m_readOnlyFields.contains(m_fields[index.column()]))
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool PayGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!m_editable || role != Qt::EditRole || !index.isValid() || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const QString field = m_fields[index.column()];
    const QString text = value.toString().trimmed();
    QVariant typed{QMetaType(QMetaType::Double)}; // a blank cell is Null (braces: not a function)
    if (!text.isEmpty()) {
        const auto number = ParseNumber(text.toStdString());
        if (!number) {
            emit editRefused(
                QStringLiteral("\"%1\" is not a number. Enter a number, or leave the cell blank.").arg(text));
            return false;
        }
        if (isWholeNumberField(field) && *number != RoundHalfEven(*number)) {
            emit editRefused(QStringLiteral("%1 must be a whole number.").arg(m_captions[index.column()]));
            return false;
        }
        if (field == "Catch" && (*number < 0 || *number > 10)) {
            emit editRefused("Catch must be a whole number from 0 to 10.");
            return false;
        }
        // A value the lock would refuse is refused now, with the lock's reason.
        if (const auto problem = rangeProblem(field, this->value(index.row(), "Catch"), *number)) {
            emit editRefused(QString::fromStdString(*problem));
            return false;
        }
        typed = field == "Catch" ? QVariant(static_cast<int>(*number)) : QVariant(*number);
    } else if (field == "Catch") {
        emit editRefused("Catch must be a whole number from 0 to 10.");
        return false;
    }
    Row& row = m_rows[static_cast<std::size_t>(index.row())];
    row.values[index.column()] = typed;
    row.typed[index.column()] = true;
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

} // namespace tallyhawk
