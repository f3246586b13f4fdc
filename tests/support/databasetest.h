// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// A test over a fresh copy of the seed database, opened as the program opens it.

#include "db/database.h"
#include "qtprint.h"
#include "tempdatafolder.h"

#include <gtest/gtest.h>
#include <QSqlQuery>
#include <QVariantList>

namespace tallyhawk {

class DatabaseTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        DatabaseOpening opening = openDatabase(m_folder.databasePath(), "database-test");
        ASSERT_EQ(opening.outcome, OpenOutcome::Current) << opening.error.toStdString(); // the seed's version
        db = opening.db;
    }
    void TearDown() override { closeDatabase(db); }

    // The first value of a statement's first row, its values bound.
    QVariant scalar(const QString& statement, const QVariantList& values = {})
    {
        QSqlQuery query(db);
        query.prepare(statement);
        for (const QVariant& value : values)
            query.addBindValue(value);
        EXPECT_TRUE(query.exec()) << statement.toStdString();
        return query.next() ? query.value(0) : QVariant();
    }

    TempDataFolder m_folder;
    QSqlDatabase db;
};

} // namespace tallyhawk
