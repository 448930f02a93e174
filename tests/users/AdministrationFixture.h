#pragma once
// An installed database with two ordinary accounts (alice with a usage record, bob without),
// scripted message boxes, and the built-in administrator signed in.

#include "common/AppContext.h"
#include "platform/RegistryFile.h"
#include "store/Database.h"
#include "store/Identifiers.h"
#include "store/SqlCommand.h"

#include "FakeRemoteAccess.h"
#include "InstalledDatabase.h"
#include "ManualClock.h"
#include "ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <QSqlQuery>
#include <QTemporaryDir>

namespace xr::test {

inline const QString kAliceId = QStringLiteral("200403010800000");
inline const QString kBobId = QStringLiteral("200403010800001");

class AdministrationFixture : public ::testing::Test {
protected:
    AdministrationFixture()
        : registry(QStringLiteral("/nonexistent/Xarvane.reg")),
          context(dir.path() + QLatin1Char('/'), clock, prompter, ras, registry)
    {
        createInstalledDatabase(context.appPath + kDatabaseFileName);
        EXPECT_TRUE(database.open(context.appPath + kDatabaseFileName));
        run(QStringLiteral("insert into XRUser values ('%1','alice','',0,1,'')").arg(kAliceId));
        run(QStringLiteral("insert into XRUser values ('%1','bob','',0,1,'')").arg(kBobId));
        run(QStringLiteral("insert into XRRecord values ('1', 100.0, 101.0, '%1', 'Office')").arg(kAliceId));
        context.currentConnection = {kBuiltInUserId, QStringLiteral("admin"), {}, 0, 0, true};
    }

    void run(const QString& statement)
    {
        QSqlQuery query(database.connection());
        EXPECT_TRUE(query.exec(statement)) << statement.toStdString();
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
    Database database{QStringLiteral("administration")};
    SqlCommand command{database};
};

} // namespace xr::test
