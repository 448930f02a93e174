#pragma once
// A session with its tray controller over a scripted dial-up service, a set clock and a
// fresh database.

#include "app/XarvaneSession.h"
#include "store/DayCount.h"

#include "InstalledDatabase.h"
#include "RecordingWindows.h"
#include "TestContext.h"

#include <gtest/gtest.h>

#include <QSqlQuery>

#include <memory>

namespace xr::test {

struct RecordRow {
    QString userId;
    double sdt;
    double edt;
    QString connName;
};

class TrayFixture : public ::testing::Test, protected TestContext {
protected:
    void createDatabase() { createInstalledDatabase(context.appPath + kDatabaseFileName); }

    void startTray()
    {
        tray = std::make_unique<XarvaneSession>(context, windows);
    }

    QList<RecordRow> records()
    {
        QList<RecordRow> rows;
        QSqlQuery query(tray->adoConnMain().connection());
        query.exec(QStringLiteral("select UserId, Sdt, Edt, ConnName from XRRecord order by Sdt, ConnName"));
        while (query.next())
            rows.append({query.value(0).toString(), query.value(1).toDouble(), query.value(2).toDouble(),
                         query.value(3).toString()});
        return rows;
    }

    double now() const { return toDayCount(clock.now()); }
    void advanceSeconds(int seconds) { clock.advanceMs(seconds * 1000LL); }

    RecordingWindows windows;
    std::unique_ptr<XarvaneSession> tray;
};

} // namespace xr::test
