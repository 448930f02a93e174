#pragma once
// A test's program context over an installed database in its folder (the database open).

#include "store/Database.h"
#include "store/SqlCommand.h"

#include "InstalledDatabase.h"
#include "TestContext.h"
#include "FirstColumn.h"

#include <gtest/gtest.h>

#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>

namespace xr::test {

class DatabaseFixture : public ::testing::Test, protected TestContext {
protected:
    DatabaseFixture()
    {
        createInstalledDatabase(context.appPath + kDatabaseFileName);
        EXPECT_TRUE(database.open(context.appPath + kDatabaseFileName));
    }

    void run(const QString& statement)
    {
        QSqlQuery query(database.connection());
        EXPECT_TRUE(query.exec(statement)) << statement.toStdString();
    }

    // An enabled ordinary account with an empty password.
    void addUser(const QString& id, const QString& name)
    {
        EXPECT_TRUE(addAccount(database.connection(), {id, name}));
    }

    // The first column of every row of a query, as text.
    QStringList values(const QString& statement)
    {
        return firstColumn(database.connection(), statement);
    }

    Database database{QStringLiteral("fixture")};
    SqlCommand command{database};
};

} // namespace xr::test
