#pragma once
// Writes down what the recorder asks of the windows, as short lines ("notice 2", "login 3").

#include "store/RecorderWindows.h"

#include <QStringList>

namespace xr::test {

class RecordingWindows final : public RecorderWindows {
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
        calls << QStringLiteral("main commands %1").arg(connected ? QStringLiteral("online") : QStringLiteral("offline"));
    }
    void showOnlineTime(double, double) override { calls << QStringLiteral("online time"); }
    void showIdleBanner() override { calls << QStringLiteral("banner"); }

    QStringList calls;
    bool noticeShowing = false;
};

} // namespace xr::test
