// Dialing with the program's windows and the simulated service: the refusals, the status
// window's two layouts, Cancel and Redial, and the window closing when the connection is seen.
#include "DialingFixture.h"

#include "connections/DialStatusLayout.h"

#include "TestContext.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTimer>

#include <unistd.h>

namespace xr::test {
namespace {

using Dialing = DialingFixture;

constexpr int kLongDialMs = 600000;

TEST(DialStatusLayout, ButtonsAndHeightFollowTheDesignedGeometry)
{
    const DialStatusGeometry geometry{QSize(1024, 768), QSize(399, 195), QSize(393, 169), 52, 121,
                                      QSize(75, 25)};
    const DialStatusPlacement dialling = placeDialStatus(kDialling, geometry);
    EXPECT_EQ(dialling.cancel, QPoint(159, 64));
    EXPECT_EQ(dialling.clientHeight, 101);
    EXPECT_EQ(dialling.window, QPoint(312, 286)); // centred with the size it had before

    const DialStatusPlacement error = placeDialStatus(kDialError, geometry);
    EXPECT_EQ(error.reDial, QPoint(101, 133));
    EXPECT_EQ(error.cancel, QPoint(216, 133));
    EXPECT_EQ(error.clientHeight, 170);
}

TEST_F(Dialing, UnsetDefaultIsRefusedEverywhereWhileTheDialogStillDialsAChosenEntry)
{
    addEntry("Office", "alice", "secret", kLongDialMs);
    ASSERT_EQ(context.settings.DefaultConn, QStringLiteral("未指定"));
    signInAdmin();

    winMain->actions().actConnect->trigger();
    tray->winTray().trayMenu().pmTrayPopup();
    tray->winTray().trayMenu().pmiDial()->trigger();
    statusButton("btnReDial")->click();
    ClearCurrentUser(context.currentConnection);
    winLogin->setLoginMode(0);
    winLogin->show();
    winLogin->findChild<QCheckBox*>(QStringLiteral("chkbLoginDial"))->setChecked(true);
    winLogin->findChild<QLineEdit*>(QStringLiteral("edtName"))->setText(QStringLiteral("admin"));
    winLogin->findChild<QPushButton*>(QStringLiteral("btnOk"))->click();
    ASSERT_TRUE(context.currentConnection.signedIn());

    EXPECT_EQ(promptTexts(), QStringList(4, kNoDefaultConnMessage));
    for (const Prompt& prompt : prompter.prompts)
        EXPECT_EQ(prompt.kind, PromptKind::Warning);
    EXPECT_TRUE(serviceConnections().isEmpty());
    EXPECT_FALSE(winDialStatus->isVisible());

    // The connection dialog names its entry itself.
    QTimer::singleShot(0, [this] {
        TwinConnSetting* dialog = connSetting->winConnSetting();
        ASSERT_NE(dialog, nullptr);
        auto* list = dialog->findChild<QListWidget*>(QStringLiteral("lbConnList"));
        list->setCurrentRow(0);
        dialog->findChild<QPushButton*>(QStringLiteral("btnConn"))->click();
        EXPECT_TRUE(winDialStatus->isVisible());
        dialog->reject();
    });
    winMain->actions().actConnSetting->trigger();
    EXPECT_EQ(prompter.prompts.size(), 4);
    EXPECT_EQ(connNameText(), QStringLiteral("连接名称：Office"));
    EXPECT_EQ(serviceConnections(), QStringList{QStringLiteral("Office:0")});
}

TEST_F(Dialing, MissingCredentialsAndOverlongNamesAreRefusedBeforeTheWindowShows)
{
    addEntry("NoPassword", "alice", "");
    addEntry("NoUser", "", "secret");
    dialer->DialEntry(QStringLiteral("NoPassword"));
    dialer->DialEntry(QStringLiteral("NoUser"));
    dialer->DialEntry(QStringLiteral("Unknown"));
    dialer->DialEntry(QString(257, QLatin1Char('x')));
    context.settings.DefaultConn = QStringLiteral("Gone");
    dialer->DialDefaultConn();

    EXPECT_EQ(promptTexts(),
              (QStringList{kEmptyPasswordMessage, kEmptyUserNameMessage, kDialParamsFailedMessage,
                           kEntryNameTooLongMessage, kDefaultConnGoneMessage}));
    EXPECT_FALSE(winDialStatus->isVisible());
    EXPECT_TRUE(serviceConnections().isEmpty());
    EXPECT_EQ(dialer->DialHandle(), 0u);
}

// Entries that carry no credentials of their own dial without the user-name and password checks.
TEST(DialingCredentials, OnlyEntriesThatLogInNeedAStoredUserAndPassword)
{
    TestContext test;
    platform::RasDialParams wired;
    wired.entryName = "Wired";
    wired.credentialsRequired = false;
    platform::RasDialParams dsl;
    dsl.entryName = "DSL";
    test.ras.phonebook = {wired, dsl};
    Dialer dialer(test.context);
    dialer.DialEntry(QStringLiteral("DSL"));
    dialer.DialEntry(QStringLiteral("Wired"));
    ASSERT_EQ(test.prompter.prompts.size(), 1);
    EXPECT_EQ(test.prompter.prompts[0].text, kEmptyUserNameMessage);
    ASSERT_EQ(test.ras.connections.size(), 1u);
    EXPECT_EQ(test.ras.connections[0].info.entryName, "Wired");
}

TEST_F(Dialing, ConnectWhileConnectedWarnsAndDoesNotDial)
{
    addEntry("Office");
    context.settings.DefaultConn = QStringLiteral("Office");
    changeService([](platform::SimState& state) {
        state.addConnection("Office", platform::ras::StateConnected, {}, 0);
    });
    tray->RASNotify().Poll();

    winMain->actions().actConnect->trigger();
    EXPECT_EQ(promptTexts(), QStringList{kAlreadyConnectedMessage});
    EXPECT_EQ(prompter.prompts.value(0).kind, PromptKind::Warning);
    EXPECT_FALSE(winDialStatus->isVisible());
    EXPECT_EQ(serviceConnections().size(), 1);
}

TEST_F(Dialing, DiallingLayoutThenTheErrorLayoutWithTheServicesTextOrTheCode)
{
    addEntry("Office", "alice", "secret", 20, 1000);
    context.settings.DefaultConn = QStringLiteral("Office");
    QSignalSpy failures(dialer, &Dialer::dialFailed);
    dialer->DialDefaultConn();

    // Dialling: only Cancel, below the entry name.
    ASSERT_TRUE(winDialStatus->isVisible());
    EXPECT_EQ(winDialStatus->windowTitle(), QStringLiteral("XR拨号状态"));
    EXPECT_EQ(winDialStatus->ShowMode(), kDialling);
    EXPECT_EQ(statusText(), QStringLiteral("[XarvaneXarvane]正在拨号..."));
    EXPECT_EQ(connNameText(), QStringLiteral("连接名称：Office"));
    EXPECT_FALSE(statusButton("btnReDial")->isVisible());
    EXPECT_FALSE(statusControl<QPlainTextEdit>("memError")->isVisible());
    EXPECT_EQ(statusButton("btnCancel")->pos(), QPoint(159, 64));
    EXPECT_EQ(winDialStatus->size(), QSize(393, 101));
    EXPECT_TRUE(winDialStatus->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(winDialStatus->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(dialer->DialParams().password, "secret");

    // The code has no text of the service's: the lookup's failure stands in its place.
    ASSERT_TRUE(QTest::qWaitFor([this] { return errorShown(); }, 10000));
    EXPECT_EQ(statusText(), QStringLiteral("[XarvaneXarvane]拨号发生错误！"));
    EXPECT_EQ(connNameText(), QStringLiteral("连接名称：Office"));
    EXPECT_EQ(errorLines(), QStringLiteral("错误信息：得到RAS错误失败:ErrorID=3E8\n错误码：1000"));
    EXPECT_TRUE(statusButton("btnReDial")->isVisible());
    EXPECT_EQ(statusButton("btnReDial")->pos(), QPoint(101, 133));
    EXPECT_EQ(statusButton("btnCancel")->pos(), QPoint(216, 133));
    EXPECT_EQ(winDialStatus->size(), QSize(393, 170));
    EXPECT_TRUE(statusButton("btnReDial")->isDefault());
    EXPECT_TRUE(dialer->DialParams().password.empty()) << "the parameters are cleared by the error";
    EXPECT_EQ(failures.size(), 1);

    // A code the service knows gives its text; the window is laid out afresh.
    changeService([](platform::SimState& state) { state.findEntry("Office")->failCode = 691; });
    statusButton("btnReDial")->click();
    EXPECT_EQ(winDialStatus->ShowMode(), kDialling);
    ASSERT_TRUE(QTest::qWaitFor([this] { return errorShown(); }, 10000));
    EXPECT_EQ(errorLines(),
              QStringLiteral("错误信息：用户名或密码无效，远程服务器拒绝了访问。\n错误码：691"));
    EXPECT_TRUE(prompter.prompts.isEmpty());
}

TEST_F(Dialing, DisconnectedPortLeavesTheWindowAsItWas)
{
    addEntry("Office", "alice", "secret", kLongDialMs);
    dialer->DialEntry(QStringLiteral("Office"));
    ASSERT_TRUE(winDialStatus->isVisible());
    // Another process ends the dial: the service reports 619.
    changeService([](platform::SimState& state) { state.connections.clear(); });
    ASSERT_TRUE(QTest::qWaitFor([this] { return dialer->DialParams().password.empty(); }, 10000))
        << "the notification came and cleared the parameters";
    QTest::qWait(50);
    EXPECT_TRUE(winDialStatus->isVisible());
    EXPECT_EQ(winDialStatus->ShowMode(), kDialling);
    EXPECT_EQ(statusText(), QStringLiteral("[XarvaneXarvane]正在拨号..."));
}

TEST_F(Dialing, RedialAfterAFailedDialOfAnotherEntryDialsTheDefault)
{
    addEntry("Home", "bob", "pw", 20, 678);
    addEntry("Office", "alice", "secret", kLongDialMs);
    context.settings.DefaultConn = QStringLiteral("Office");
    dialer->DialEntry(QStringLiteral("Home"));
    ASSERT_TRUE(QTest::qWaitFor([this] { return errorShown(); }, 10000));
    EXPECT_EQ(connNameText(), QStringLiteral("连接名称：Home"));

    statusButton("btnReDial")->click();
    EXPECT_EQ(winDialStatus->ShowMode(), kDialling);
    EXPECT_EQ(connNameText(), QStringLiteral("连接名称：Office"));
    EXPECT_EQ(serviceConnections(), QStringList{QStringLiteral("Office:0")});
}

TEST_F(Dialing, CancelHangsUpAndNothingTheDialStillReportsIsShown)
{
    addEntry("Office", "alice", "secret", kLongDialMs);
    dialer->DialEntry(QStringLiteral("Office"));
    ASSERT_NE(dialer->DialHandle(), 0u);
    statusButton("btnCancel")->click();
    EXPECT_FALSE(winDialStatus->isVisible());
    EXPECT_EQ(dialer->DialHandle(), 0u);
    EXPECT_TRUE(serviceConnections().isEmpty());
    QTest::qWait(300); // the ended dial's 619 arrives and changes nothing
    EXPECT_FALSE(winDialStatus->isVisible());

    // Escape and the window manager's close do not leave the window.
    dialer->DialEntry(QStringLiteral("Office"));
    QTest::keyClick(winDialStatus, Qt::Key_Escape);
    EXPECT_TRUE(winDialStatus->isVisible());
}

TEST_F(Dialing, DialRefusedAtOnceIsShownInTheErrorLayout)
{
    addEntry("Office");
    // A dial of the entry is in progress in this process already: the service refuses at once.
    changeService([](platform::SimState& state) {
        state.addConnection("Office", platform::ras::StateOpenPort, {}, ::getpid());
    });
    dialer->DialEntry(QStringLiteral("Office"));
    EXPECT_EQ(dialer->DialResult(), platform::ras::ErrorPortAlreadyOpen);
    EXPECT_TRUE(errorShown());
    EXPECT_EQ(errorLines(),
              QStringLiteral("错误信息：该连接的端口已经打开，连接正在拨号或已经连接。\n错误码：602"));
}

TEST_F(Dialing, ConnectionComingUpClosesTheWindowAndIsRecordedForTheSignedInUser)
{
    addEntry("Office");
    context.settings.DefaultConn = QStringLiteral("Office");
    signInAdmin();
    tray->winTray().trayMenu().pmTrayPopup();
    tray->winTray().trayMenu().pmiDial()->trigger();
    ASSERT_TRUE(winDialStatus->isVisible());
    ASSERT_TRUE(QTest::qWaitFor(
        [this] { return serviceConnections() == QStringList{QStringLiteral("Office:8192")}; }, 10000));
    EXPECT_TRUE(winDialStatus->isVisible()) << "success alone does not close it";
    tray->RASNotify().Poll();
    EXPECT_FALSE(winDialStatus->isVisible());
    EXPECT_EQ(recordedUsers(), QStringList{kAdminId + QStringLiteral("/Office")});
    EXPECT_TRUE(prompter.prompts.isEmpty()) << promptTexts().join(QLatin1Char('\n')).toStdString();
}

// The service's threads notify while the window dials, fails, is cancelled and redials
// again and again; run under the sanitizers this shows the hand-over is sound.
TEST_F(Dialing, DialFailAndRedialManyTimesInARow)
{
    addEntry("Office", "alice", "secret", 1, 691);
    context.settings.DefaultConn = QStringLiteral("Office");
    QSignalSpy failures(dialer, &Dialer::dialFailed);
    constexpr int kRounds = 60;
    int expected = 0;
    dialer->DialDefaultConn();
    for (int round = 0; round < kRounds; ++round) {
        if (round % 4 == 3) { // cancelled before it could fail, then dialled afresh
            statusButton("btnCancel")->click();
            dialer->DialDefaultConn();
        }
        ++expected;
        ASSERT_TRUE(QTest::qWaitFor([&] { return failures.size() == expected && errorShown(); }, 10000))
            << "round " << round;
        if (round + 1 < kRounds)
            statusButton("btnReDial")->click();
    }
    QTest::qWait(50);
    EXPECT_EQ(failures.size(), kRounds) << "no failure shown twice, none of a cancelled dial";
    EXPECT_EQ(errorLines(),
              QStringLiteral("错误信息：用户名或密码无效，远程服务器拒绝了访问。\n错误码：691"));
    EXPECT_TRUE(serviceConnections().isEmpty());
    EXPECT_TRUE(prompter.prompts.isEmpty());
}

// The program takes the notice sound and the start-with-the-desktop entry from the platform,
// and the options dialog that the main window opens sets the session's record timer.
TEST_F(Dialing, TheProgramsWindowsReachThePlatformAndTheSession)
{
    QFile::copy(QStringLiteral(XARVANE_SOURCE_DIR "/assets/sounds/Conn1.wav"),
                context.appPath + QStringLiteral("Conn1.wav"));
    addEntry("Office");
    changeService([](platform::SimState& state) {
        platform::SimConnection up;
        up.handle = 7;
        up.entryName = "Office";
        up.state = platform::ras::StateConnected;
        state.connections.push_back(up);
    });
    tray->RASNotify().Poll();
    EXPECT_EQ(platform.soundOutput.played,
              std::vector<std::string>{(context.appPath + QStringLiteral("Conn1.wav")).toStdString()});
    EXPECT_TRUE(winLogin->isVisible()) << "nobody is signed in: the sign-in dialog asks";

    signInAdmin();
    QTimer::singleShot(0, winMain, [] {
        QWidget* winOption = QApplication::activeModalWidget();
        ASSERT_NE(winOption, nullptr);
        winOption->findChild<QSpinBox*>(QStringLiteral("sedtTime"))->setValue(12);
        winOption->findChild<QCheckBox*>(QStringLiteral("chkbAutoRun"))->setChecked(true);
        winOption->findChild<QPushButton*>(QStringLiteral("btnOk"))->click();
    });
    emit winMain->optionsRequested();
    EXPECT_EQ(tray->tmRecord().interval(), 12 * 60000);
    EXPECT_TRUE(tray->tmRecord().isActive());
    EXPECT_EQ(platform.autoStartEntry.entry, context.appPath.toStdString());
}

} // namespace
} // namespace xr::test
