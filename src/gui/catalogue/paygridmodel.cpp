#include "paygridmodel.h"

#include "db/sqlerror.h"
#include "engine/common/numberforms.h"

#include <QSqlError>
#include <QSqlQuery>

namespace tallyhawk {

namespace {

bool isWholeNumberField(const QString& field)
{
    return field == "Catch" || field == "Bonus Ball" || field == "Free Games" || field == "Bonus Factor" ||
           field.startsWith("Egg");
}

} // namespace

PayGridModel::PayGridModel(const QStringList& fields, const QStringList& captions, QObject* parent)
    : QSqlQueryModel(parent), m_fields(fields), m_captions(captions)
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
    QSqlQuery query(m_db);
    if (!m_game.select(query, m_condition, columns.join(", "))) {
        emit editRefused("The pays cannot be read: " + DescribeSqlError(query.lastError()));
        clear(); // a grid that cannot be read shows nothing rather than stale rows
        return;
    }
    setQuery(std::move(query));
}

QVariant PayGridModel::value(int row, const QString& field) const
{
    const int column = fieldColumn(field);
    if (column < 0 || row < 0 || row >= rowCount())
        return {};
    return QSqlQueryModel::data(sourceIndex(index(row, column)), Qt::EditRole);
}

int PayGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_fields.size());
}

QVariant PayGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::TextAlignmentRole)
        return index.column() < 1 && m_fields.first() == "Game" ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                                                : QVariant(Qt::AlignCenter);
    return QSqlQueryModel::data(sourceIndex(index), role);
}

QVariant PayGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < m_captions.size())
        return m_captions[section];
    return QSqlQueryModel::headerData(section, orientation, role);
}

Qt::ItemFlags PayGridModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QSqlQueryModel::flags(index);
    if (m_editable && index.isValid() && !m_readOnlyFields.contains(m_fields[index.column()]))
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool PayGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!m_editable || role != Qt::EditRole || !index.isValid())
        return false;
    const QString field = m_fields[index.column()];
    const QString text = value.toString().trimmed();
    QVariant stored{QMetaType(QMetaType::Double)}; // a blank cell is Null
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
        stored = *number;
    } else if (field == "Catch") {
        emit editRefused("Catch must be a whole number from 0 to 10.");
        return false;
    }
    const QVariant rowId = QSqlQueryModel::data(QSqlQueryModel::index(index.row(), 0));
    QSqlQuery update(m_db);
    update.prepare(QStringLiteral("UPDATE [Pay Table] SET [%1] = ? WHERE rowid = ?").arg(field));
    update.addBindValue(stored);
    update.addBindValue(rowId);
    if (!update.exec()) {
        emit editRefused("The change could not be stored: " + DescribeSqlError(update.lastError()));
        return false;
    }
    reload();
    return true;
}

} // namespace tallyhawk
