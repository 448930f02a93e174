#pragma once
// A program context over an installed database in a fresh folder (the database open), with a
// set clock, scripted message boxes and a scripted dial-up service.

#include "common/AppContext.h"
#include "platform/RegistryFile.h"
#include "store/Database.h"
#include "store/SqlCommand.h"

#include "FakeRemoteAccess.h"
#include "InstalledDatabase.h"
#include "ManualClock.h"
#include "ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>

namespace xr::test {

class DatabaseFixture : public ::testing::Test {
protected:
    DatabaseFixture()
        : registry(QStringLiteral("/nonexistent/Xarvane.reg")),
          context(dir.path() + QLatin1Char('/'), clock, prompter, ras, registry)
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
        QSqlQuery query(database.connection());
        query.prepare(QStringLiteral("insert into XRUser (UserId,UserName,UserPw,Admin,Enabled,Remark) "
                                     "values (?,?,'',0,1,'')"));
        query.addBindValue(id);
        query.addBindValue(name);
        EXPECT_TRUE(query.exec());
    }

    // The first column of every row of a query, as text.
    QStringList values(const QString& statement)
    {
        QSqlQuery query(database.connection());
        EXPECT_TRUE(query.exec(statement)) << statement.toStdString();
        QStringList texts;
        while (query.next())
            texts << query.value(0).toString();
        return texts;
    }

    QStringList promptTexts() const
    {
        QStringList texts;
        for (const Prompt& prompt : prompter.prompts)
            texts << prompt.text;
        return texts;
    }

    QTemporaryDir dir;
    ManualClock clock;
    ScriptedPrompter prompter;
    FakeRemoteAccess ras;
    platform::RegistryFile registry;
    AppContext context;
    Database database{QStringLiteral("fixture")};
    SqlCommand command{database};
};

} // namespace xr::test
