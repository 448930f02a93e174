// The program's connection parts over the NetworkManager back-end and NetworkManager's mock:
// the notifier's events, the address in the main window's status bar, the phonebook check and
// the hang-up; the default connection dialog where only wired and wireless profiles exist.
#include "NmMockTest.h"

#include "browser/MainStatusBar.h"
#include "browser/utMain.h"
#include "common/AppContext.h"
#include "connections/Dialer.h"
#include "connections/HangUp.h"
#include "connections/RASNotify.h"
#include "connections/utConnSetting.h"
#include "platform/NmRemoteAccess.h"
#include "platform/RegistryFile.h"
#include "settings/SettingsStore.h"
#include "store/ConnectionDetails.h"
#include "store/Database.h"
#include "store/DayCount.h"
#include "store/Identifiers.h"
#include "store/SqlCommand.h"

#include "InstalledDatabase.h"
#include "ManualClock.h"
#include "ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

namespace xr::test {
namespace {

class NmConnections : public NmMockTest {
protected:
    void SetUp() override
    {
        NmMockTest::SetUp();
        if (!ready())
            return;
        service = std::make_unique<platform::NmRemoteAccess>();
        context =
            std::make_unique<AppContext>(dir.path() + QLatin1Char('/'), clock, prompter, *service, registry);
        notify = std::make_unique<TRASNotify>(*service);
        notify->OnConnected = [this](TRASNotify&, TRASNotify::ConnHandle, const QString& entry,
                                     const QString& type, const QString& device) {
            connected << entry + QLatin1Char('/') + type + QLatin1Char('/') + device;
        };
        device = mock.addEthernetDevice(QStringLiteral("eth0"), QStringLiteral("eth0"));
        office = mock.addProfile(QStringLiteral("Office"), QStringLiteral("802-3-ethernet"));
        service->setRecordLan(true);
    }

    void poll()
    {
        QTest::qWait(150);
        notify->Poll();
    }

    QTemporaryDir dir;
    ManualClock clock;
    ScriptedPrompter prompter;
    platform::RegistryFile registry{QDir(dir.path()).filePath(QStringLiteral("Xarvane.reg"))};
    std::unique_ptr<platform::NmRemoteAccess> service;
    std::unique_ptr<AppContext> context;
    std::unique_ptr<TRASNotify> notify;
    QStringList connected;
    QString device;
    QString office;
};

TEST_F(NmConnections, NotifierSeesEachConnectionOnceAndHangUpEndsIt)
{
    notify->Loaded();
    const QString active = mock.activate(office, device, 1);
    poll();
    EXPECT_TRUE(connected.isEmpty()) << "still activating";
    EXPECT_FALSE(notify->IsConnected());
    mock.changeState(active, 2, 1);
    poll();
    poll();
    EXPECT_EQ(connected, QStringList{QStringLiteral("Office/ethernet/eth0")});
    EXPECT_TRUE(notify->IsConnected());
    EXPECT_EQ(notify->EntryNames(0), QStringLiteral("Office"));

    prompter.answers << PromptAnswer::Yes;
    actDisConnExecute(*context, *notify);
    EXPECT_TRUE(QTest::qWaitFor([&] { return mock.activeConnections().isEmpty(); }));
    poll();
    EXPECT_FALSE(notify->IsConnected());
    EXPECT_EQ(connected.size(), 1);
}

TEST_F(NmConnections, TheAddressReachesTheStatusBarAndTheProfilesTheCheck)
{
    mock.setAddress(mock.activate(office, device), QStringLiteral("172.16.254.254"));
    QTest::qWait(150);
    notify->Loaded();
    EXPECT_EQ(GetDynamicIP(*service), QStringLiteral("172.16.254.254"));
    EXPECT_TRUE(EntryExists(*service, prompter, QStringLiteral("Office")));
    EXPECT_FALSE(EntryExists(*service, prompter, QStringLiteral("office")));

    createInstalledDatabase(context->appPath + kDatabaseFileName);
    Database database(QStringLiteral("nm-main-window"));
    ASSERT_TRUE(database.open(context->appPath + kDatabaseFileName));
    SqlCommand command(database);
    context->currentConnection = {kBuiltInUserId,
                                  QStringLiteral("admin"),
                                  QStringLiteral("Office"),
                                  toDayCount(QDateTime::currentDateTime()),
                                  0,
                                  true};
    {
        TwinMain window(*context, database, command, *notify);
        window.show();
        const QString address =
            window.findChild<QLabel*>(QStringLiteral("stbPanel%1").arg(MainStatusBar::AddressPanel))->text();
        EXPECT_EQ(address, QStringLiteral("IP：172.16.254.254"));
    }
    database.close();
}

TEST_F(NmConnections, OnlyWiredAndWirelessProfilesLeaveTheListEmptyWithAHintToTheOption)
{
    mock.addProfile(QStringLiteral("Home"), QStringLiteral("802-11-wireless"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return PhonebookEntries(*service)->size() == 2; }));
    {
        const auto key = registry.openKey(kSettingsKey.toStdString(), true);
        ASSERT_TRUE(key && key->writeString("DefaultConn", "Office") && key->writeDword("RecordLan", 0));
    }
    context->settings = LoadSettings(registry, *service, prompter);
    EXPECT_EQ(context->settings.DefaultConn, kNoDefaultConn) << "a wired profile is no entry";
    {
        const auto key = registry.openKey(kSettingsKey.toStdString(), false);
        ASSERT_TRUE(key && key->writeString("DefaultConn", "Office") && key->writeDword("RecordLan", 1));
    }
    context->settings = LoadSettings(registry, *service, prompter);
    EXPECT_EQ(context->settings.DefaultConn, QStringLiteral("Office")) << "the setting is known before the check";

    Dialer dialer(*context);
    service->setRecordLan(false);
    auto* dialog = new TwinConnSetting(*context, *notify, dialer);
    dialog->show();
    EXPECT_EQ(dialog->findChild<QListWidget*>(QStringLiteral("lbConnList"))->count(), 0);
    const auto* hint = dialog->findChild<QLabel*>(QStringLiteral("lblLanHint"));
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(hint->isVisible()) << "the empty list is explained";
    EXPECT_TRUE(hint->text().contains(QStringLiteral("同时记录有线和无线网络连接")));
    EXPECT_TRUE(prompter.prompts.isEmpty());
    dialog->close();

    mock.addProfile(QStringLiteral("DSL"), QStringLiteral("pppoe"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return PhonebookEntries(*service)->size() == 1; }));
    dialog = new TwinConnSetting(*context, *notify, dialer);
    dialog->show();
    EXPECT_EQ(dialog->findChild<QListWidget*>(QStringLiteral("lbConnList"))->count(), 1);
    EXPECT_FALSE(dialog->findChild<QLabel*>(QStringLiteral("lblLanHint"))->isVisible());
    dialog->close();
}

} // namespace
} // namespace xr::test
