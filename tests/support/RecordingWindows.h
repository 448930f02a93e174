#pragma once
// Writes down what the recorder and the tray menu ask of the windows, as short lines
// ("notice 2", "login 3", "main window").

#include "app/AppWindows.h"

#include <QStringList>

namespace xr::test {

class RecordingWindows final : public AppWindows {
public:
    void closeDialStatus() override { calls << QStringLiteral("close dial status"); }
    bool noticeExists() const override { return noticeShowing; }
    void showNotice(TNoticeKind kind) override { calls << QStringLiteral("notice %1").arg(int(kind)); }
    void playNoticeSound(TNoticeKind kind) override { calls << QStringLiteral("sound %1").arg(int(kind)); }
    void showLogin(int loginMode) override { calls << QStringLiteral("login %1").arg(loginMode); }
    void showConnectionInMain(const QString& connName, double) override
    {
        calls << QStringLiteral("main connection ") + connName;
    }
    void syncMainConnectionCommands(bool connected) override
    {
        calls << QStringLiteral("main commands %1")
                     .arg(connected ? QStringLiteral("online") : QStringLiteral("offline"));
    }
    void showOnlineTime(double, double) override { calls << QStringLiteral("online time"); }
    void showIdleBanner() override { calls << QStringLiteral("banner"); }
    void showMainWindow() override { calls << QStringLiteral("main window"); }
    void closeMainWindowIfShowing() override { calls << QStringLiteral("close main window"); }
    bool floatWinExists() const override { return floatWinShowing; }

    QStringList calls;
    bool noticeShowing = false;
    bool floatWinShowing = false;
};

} // namespace xr::test
