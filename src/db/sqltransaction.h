#pragma once
// A transaction that rolls back unless committed, so that an early return or a failed
// statement never leaves several rows half-changed.

#include <QSqlDatabase>

namespace tallyhawk {

class SqlTransaction
{
public:
    explicit SqlTransaction(QSqlDatabase db) : m_db(db), m_active(m_db.transaction()) {}
    ~SqlTransaction()
    {
        if (m_active)
            m_db.rollback();
    }
    SqlTransaction(const SqlTransaction&) = delete;
    SqlTransaction& operator=(const SqlTransaction&) = delete;

    bool isActive() const { return m_active; }

    [[nodiscard]] bool commit()
    {
        if (!m_active)
            return false;
        m_active = false;
        return m_db.commit();
    }

private:
    QSqlDatabase m_db;
    bool m_active;
};

} // namespace tallyhawk
