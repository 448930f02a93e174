// Signing in through the sign-in dialog: refusals, the accounts found, the open record handed
// over or split, and the choices the dialog keeps.
#include "LoginFixture.h"

#include "platform/RegistryFile.h"
#include "settings/SettingsStore.h"
#include "store/Identifiers.h"
#include "store/PasswordHash.h"
#include "users/LoginMode.h"

#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>

namespace xr::test {
namespace {

using SignInChecks = LoginFixture;

TEST_F(SignInChecks, BlankPaddedNameFindsTheAccountAndIsKeptTrimmed)
{
    const QString id = addUser(QStringLiteral("alice"), QStringLiteral("secret"));
    openLogin(kLoginModeTray);
    signIn(QStringLiteral("  alice  "), QStringLiteral(" secret "));
    EXPECT_TRUE(prompter.prompts.isEmpty()) << promptTexts().join(u'|').toStdString();
    EXPECT_EQ(context.currentConnection.UserId, id);
    EXPECT_EQ(context.currentConnection.UserName, QStringLiteral("alice"));
    EXPECT_EQ(context.settings.LastUser, QStringLiteral("alice"));
    EXPECT_FALSE(winLogin->isVisible());
}

TEST_F(SignInChecks, RefusalsKeepTheDialogOpenAndNobodySignedIn)
{
    addUser(QStringLiteral("alice"), QStringLiteral("secret"));
    openLogin(kLoginModeTray);
    signIn(QStringLiteral("   "), QStringLiteral("secret"));
    signIn(QStringLiteral("匿名用户"), QString());
    signIn(QStringLiteral("alice"), QStringLiteral("wrong"));
    EXPECT_EQ(promptTexts(), (QStringList{QStringLiteral("请输入用户名！"),
                                          QStringLiteral("该用户名为系统保留！用户不可以使用！"),
                                          QStringLiteral("不正确的用户名或密码！")}));
    EXPECT_EQ(prompter.prompts[0].kind, PromptKind::Information);
    EXPECT_EQ(prompter.prompts[1].kind, PromptKind::Information);
    EXPECT_EQ(prompter.prompts[2].kind, PromptKind::Warning);
    EXPECT_FALSE(context.currentConnection.signedIn());
    EXPECT_TRUE(winLogin->isVisible());
}

TEST_F(SignInChecks, QuotesAndStatementTextMatchOnlyThemselves)
{
    const QString quoted = addUser(QStringLiteral("o'brien"), QStringLiteral("it's"));
    addUser(QStringLiteral("alice"), QStringLiteral("secret"));
    openLogin(kLoginModeTray);
    signIn(QStringLiteral("alice' --"), QString());
    signIn(QStringLiteral("alice"), QStringLiteral("' or '1'='1"));
    signIn(QStringLiteral("' or UserName <> '"), QStringLiteral("' or UserPw <> '"));
    signIn(QStringLiteral("o'brien"), QStringLiteral("its"));
    EXPECT_EQ(prompter.prompts.size(), 4);
    EXPECT_FALSE(context.currentConnection.signedIn());

    signIn(QStringLiteral("o'brien"), QStringLiteral("it's"));
    EXPECT_EQ(prompter.prompts.size(), 4);
    EXPECT_EQ(context.currentConnection.UserId, quoted);
}

TEST_F(SignInChecks, NewAccountSignsInWithTheEmptyPassword)
{
    const QString id = addUser(QStringLiteral("newcomer"), QString());
    openLogin(kLoginModeTray);
    signIn(QStringLiteral("newcomer"), QString());
    EXPECT_EQ(context.currentConnection.UserId, id);
}

TEST_F(SignInChecks, DisabledAccountClosesTheDialogWithoutSigningIn)
{
    addUser(QStringLiteral("gone"), QStringLiteral("pw"), false);
    openLogin(kLoginModeTray);
    signIn(QStringLiteral("gone"), QStringLiteral("pw"));
    EXPECT_EQ(promptTexts(), QStringList{QStringLiteral("该用户已经被禁用！请与系统管理员联系！")});
    EXPECT_EQ(prompter.prompts[0].kind, PromptKind::Warning);
    EXPECT_FALSE(context.currentConnection.signedIn());
    EXPECT_FALSE(winLogin->isVisible());
    EXPECT_EQ(context.settings.LastUser, QString()) << "the options are not saved";
}

TEST_F(SignInChecks, AdministratorFlagAndNameComeFromTheAccount)
{
    const QString id = addUser(QStringLiteral("Boss"), QStringLiteral("pw"), true, true);
    openLogin(kLoginModeTray);
    signIn(QStringLiteral("Boss"), QStringLiteral("pw"));
    EXPECT_EQ(context.currentConnection.UserId, id);
    EXPECT_TRUE(context.currentConnection.Admin);
}

class OpenRecord : public LoginFixture {
protected:
    void SetUp() override
    {
        LoginFixture::SetUp();
        userId = addUser(QStringLiteral("alice"), QStringLiteral("pw"));
        ras.addConnection("Office");
        tray->RASNotify().Poll();
        ASSERT_EQ(records().size(), 1);
        connectedAt = now();
        advanceSeconds(60);
    }

    QString userId;
    double connectedAt = 0;
};

TEST_F(OpenRecord, ChangeOfUserSplitsTheRecordAtTheChange)
{
    const double changedAt = now();
    openLogin(kLoginModeChangeUser);
    signIn(QStringLiteral("alice"), QStringLiteral("pw"));
    const auto rows = records();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].userId, kAnonymousUserId);
    EXPECT_EQ(rows[0].sdt, connectedAt);
    EXPECT_EQ(rows[0].edt, changedAt);
    EXPECT_EQ(rows[1].userId, userId);
    EXPECT_EQ(rows[1].sdt, changedAt);
    EXPECT_EQ(rows[1].edt, changedAt);
    EXPECT_EQ(rows[1].connName, QStringLiteral("Office"));
    EXPECT_EQ(context.currentConnection.Sdt, changedAt) << "the recorder goes on with the new record";
}

TEST_F(OpenRecord, OtherSignInsHandTheWholeRecordOver)
{
    for (int mode : {kLoginModeTray, kLoginModeOpenManager, kLoginModeConnectionUp}) {
        context.currentConnection.UserId.clear();
        QSqlQuery(QStringLiteral("update XRRecord set UserId = '000000000000000002'"),
                  tray->adoConnMain().connection());
        openLogin(mode);
        signIn(QStringLiteral("alice"), QStringLiteral("pw"));
        const auto rows = records();
        ASSERT_EQ(rows.size(), 1) << "mode " << mode;
        EXPECT_EQ(rows[0].userId, userId) << "mode " << mode;
        EXPECT_EQ(rows[0].sdt, connectedAt);
        EXPECT_EQ(rows[0].edt, connectedAt);
    }
}

// Every open record belongs to the signed-in user: a sign-in hands them all over, a change of
// user splits each of them, and the new records keep their own connections.
TEST_F(OpenRecord, SignInsDealWithEveryOpenRecord)
{
    const auto vpn = ras.addConnection("VPN");
    tray->RASNotify().Poll();
    const double vpnAt = now();
    advanceSeconds(60);
    openLogin(kLoginModeTray);
    signIn(QStringLiteral("alice"), QStringLiteral("pw"));
    auto rows = records();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].userId, userId);
    EXPECT_EQ(rows[1].userId, userId);

    const QString bobId = addUser(QStringLiteral("bob"), QStringLiteral("pw"));
    const double changedAt = now();
    openLogin(kLoginModeChangeUser);
    signIn(QStringLiteral("bob"), QStringLiteral("pw"));
    rows = records();
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0].sdt, connectedAt);
    EXPECT_EQ(rows[1].sdt, vpnAt);
    for (int row : {0, 1}) {
        EXPECT_EQ(rows[row].userId, userId) << row;
        EXPECT_EQ(rows[row].edt, changedAt) << row;
    }
    EXPECT_EQ(rows[2].sdt, changedAt);
    EXPECT_GT(rows[3].sdt, rows[2].sdt) << "each record keeps a start of its own";
    EXPECT_EQ(rows[2].connName, QStringLiteral("Office"));
    EXPECT_EQ(rows[3].connName, QStringLiteral("VPN"));
    EXPECT_EQ(rows[2].userId, bobId);
    EXPECT_EQ(rows[3].userId, bobId);
    EXPECT_EQ(context.currentConnection.Sdt, rows[3].sdt) << "the latest connection's new record is shown";

    advanceSeconds(30);
    ras.removeConnection(vpn);
    tray->RASNotify().Poll();
    tray->recorder().tmConnTimer();
    rows = records();
    EXPECT_EQ(rows[2].edt, changedAt);
    EXPECT_EQ(rows[3].edt, now());
}

TEST_F(OpenRecord, CancelInModeThreeLeavesTheRecordAnonymous)
{
    AppWindows appWindows;
    appWindows.setLogin(winLogin.get());
    appWindows.showLogin(kLoginModeConnectionUp);
    ASSERT_TRUE(winLogin->isVisible());
    EXPECT_EQ(winLogin->windowTitle(), QStringLiteral("登录XR"));
    edit("edtName")->setText(QStringLiteral("alice"));
    button("btnCancel")->click();
    EXPECT_FALSE(winLogin->isVisible());
    EXPECT_EQ(records().value(0).userId, kAnonymousUserId);
    EXPECT_FALSE(context.currentConnection.signedIn());
}

TEST_F(SignInChecks, SignInWhileNotConnectedTouchesNoRecord)
{
    addUser(QStringLiteral("alice"), QStringLiteral("pw"));
    const auto handle = ras.addConnection("Office");
    tray->RASNotify().Poll();
    ras.removeConnection(handle);
    tray->RASNotify().Poll();
    const auto before = records();
    advanceSeconds(30);
    openLogin(kLoginModeChangeUser);
    signIn(QStringLiteral("alice"), QStringLiteral("pw"));
    EXPECT_TRUE(context.currentConnection.signedIn());
    const auto after = records();
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after[0].userId, kAnonymousUserId);
    EXPECT_EQ(after[0].edt, before[0].edt);
}

using LoginDialog = LoginFixture;

TEST_F(LoginDialog, ControlsCaptionsAndTabOrder)
{
    openLogin(kLoginModeTray);
    EXPECT_EQ(winLogin->objectName(), QStringLiteral("winLogin"));
    EXPECT_EQ(winLogin->windowTitle(), QStringLiteral("登录XR"));
    EXPECT_TRUE(winLogin->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(edit("edtPassword")->echoMode(), QLineEdit::Password);
    edit("edtPassword")->setText(QStringLiteral("pw1"));
    EXPECT_EQ(edit("edtPassword")->displayText(), QStringLiteral("***"));
    EXPECT_EQ(box("chkbSaveName")->text(), QStringLiteral("保存用户名(&S)"));
    EXPECT_EQ(box("chkbSavePw")->text(), QStringLiteral("保存密码(&W)"));
    EXPECT_EQ(box("chkbLoginDial")->text(), QStringLiteral("登录后自动拨号(&D)"));
    EXPECT_EQ(box("chkbSynRun")->text(), QStringLiteral("登录后同时启动其它程序(&Y)"));
    EXPECT_EQ(button("btnOk")->text(), QStringLiteral("确定(&O)"));
    EXPECT_EQ(button("btnCancel")->text(), QStringLiteral("取消(&C)"));
    QStringList labels;
    for (const QLabel* label : winLogin->findChildren<QLabel*>())
        labels << label->text() + QStringLiteral("->") + label->buddy()->objectName();
    labels.sort();
    EXPECT_EQ(labels, (QStringList{QStringLiteral("密  码(&P)->edtPassword"),
                                   QStringLiteral("用户名(&U)->edtName")}));

    QStringList order;
    for (QWidget* widget = edit("edtName"); order.size() < 8; widget = widget->nextInFocusChain())
        if (widget->focusPolicy() & Qt::TabFocus)
            order << widget->objectName();
    EXPECT_EQ(order, (QStringList{QStringLiteral("edtName"), QStringLiteral("edtPassword"),
                                  QStringLiteral("chkbSaveName"), QStringLiteral("btnOk"),
                                  QStringLiteral("btnCancel"), QStringLiteral("chkbLoginDial"),
                                  QStringLiteral("chkbSavePw"), QStringLiteral("chkbSynRun")}));
}

TEST_F(LoginDialog, CaptionFollowsTheModeAndTheDialogIsCentred)
{
    openLogin(kLoginModeChangeUser);
    EXPECT_EQ(winLogin->windowTitle(), QStringLiteral("更改用户"));
    const QRect screen = winLogin->screen()->availableGeometry();
    EXPECT_LE((winLogin->frameGeometry().center() - screen.center()).manhattanLength(), 1)
        << winLogin->frameGeometry().center().x() << ',' << winLogin->frameGeometry().center().y();
    winLogin->reject();
    openLogin(kLoginModeOpenManager);
    EXPECT_EQ(winLogin->windowTitle(), QStringLiteral("登录XR"));
}

// The stored password is a hash and cannot be filled in: the field shows that a password is
// saved, OK signs the saved user in without typing, and an edit of either field asks for the
// real password again.
TEST_F(LoginDialog, SavedPasswordSignsInWithoutTypingUntilAFieldIsEdited)
{
    const QString id = addUser(QStringLiteral("o'brien"), QStringLiteral("it's"));
    context.settings.SaveLastUser = true;
    context.settings.LastUser = QStringLiteral("o'brien");
    context.settings.SavePwEnabled = true;
    context.settings.SavePw = true;
    context.settings.SynRun = true;
    openLogin(kLoginModeTray);
    EXPECT_EQ(edit("edtName")->text(), QStringLiteral("o'brien"));
    EXPECT_TRUE(edit("edtPassword")->text().isEmpty());
    EXPECT_EQ(edit("edtPassword")->placeholderText(), QStringLiteral("(已保存的密码)"));
    EXPECT_TRUE(box("chkbSaveName")->isChecked());
    EXPECT_TRUE(box("chkbSavePw")->isChecked());
    EXPECT_TRUE(box("chkbSavePw")->isEnabled());
    EXPECT_FALSE(box("chkbLoginDial")->isChecked());
    EXPECT_TRUE(box("chkbSynRun")->isChecked());
    EXPECT_EQ(winLogin->focusWidget(), edit("edtPassword"));
    button("btnOk")->click();
    EXPECT_TRUE(prompter.prompts.isEmpty()) << promptTexts().join(u'|').toStdString();
    EXPECT_EQ(context.currentConnection.UserId, id);

    for (const char* edited : {"edtPassword", "edtName"}) {
        ClearCurrentUser(context.currentConnection);
        openLogin(kLoginModeTray);
        ASSERT_FALSE(edit("edtPassword")->placeholderText().isEmpty());
        QTest::keyClick(edit(edited), Qt::Key_Space);
        QTest::keyClick(edit(edited), Qt::Key_Backspace); // the field reads as before
        EXPECT_TRUE(edit("edtPassword")->placeholderText().isEmpty()) << edited;
        button("btnOk")->click();
        EXPECT_EQ(promptTexts().value(0), QStringLiteral("不正确的用户名或密码！")) << edited;
        EXPECT_FALSE(context.currentConnection.signedIn()) << edited;
        edit("edtPassword")->setText(QStringLiteral("it's"));
        button("btnOk")->click();
        EXPECT_EQ(context.currentConnection.UserId, id) << edited;
        prompter.prompts.clear();
    }
}

TEST_F(LoginDialog, PasswordIsNeverFilledWhileSavingPasswordsIsOff)
{
    addUser(QStringLiteral("alice"), QStringLiteral("secret"));
    context.settings.SaveLastUser = true;
    context.settings.LastUser = QStringLiteral("alice");
    context.settings.SavePw = true;
    openLogin(kLoginModeTray);
    EXPECT_TRUE(edit("edtPassword")->text().isEmpty());
    EXPECT_TRUE(edit("edtPassword")->placeholderText().isEmpty());
    EXPECT_FALSE(box("chkbSavePw")->isChecked());
    EXPECT_FALSE(box("chkbSavePw")->isEnabled());
    button("btnOk")->click();
    EXPECT_EQ(promptTexts(), QStringList{QStringLiteral("不正确的用户名或密码！")})
        << "the password wants typing";

    box("chkbSaveName")->click();
    box("chkbSaveName")->click();
    EXPECT_TRUE(box("chkbSavePw")->isEnabled()) << "checking the name by hand enables it again";
}

TEST_F(LoginDialog, UncheckingTheNameUnchecksAndDisablesThePassword)
{
    context.settings.SaveLastUser = true;
    context.settings.SavePwEnabled = true;
    context.settings.SavePw = true;
    openLogin(kLoginModeTray);
    ASSERT_TRUE(box("chkbSavePw")->isChecked());
    box("chkbSaveName")->click();
    EXPECT_FALSE(box("chkbSavePw")->isChecked());
    EXPECT_FALSE(box("chkbSavePw")->isEnabled());
    EXPECT_EQ(winLogin->focusWidget(), edit("edtName")) << "no saved name: the name has the focus";
}

TEST_F(LoginDialog, EnterMovesToThePasswordThenSignsIn)
{
    const QString id = addUser(QStringLiteral("alice"), QStringLiteral("pw"));
    openLogin(kLoginModeTray);
    QTest::keyClicks(edit("edtName"), QStringLiteral("alice"));
    QTest::keyClick(edit("edtName"), Qt::Key_Return);
    EXPECT_EQ(winLogin->focusWidget(), edit("edtPassword"));
    EXPECT_TRUE(prompter.prompts.isEmpty());
    QTest::keyClicks(edit("edtPassword"), QStringLiteral("pw"));
    QTest::keyClick(edit("edtPassword"), Qt::Key_Return);
    EXPECT_TRUE(prompter.prompts.isEmpty());
    EXPECT_EQ(context.currentConnection.UserId, id);
}

TEST_F(LoginDialog, OptionsAreKeptForTheRunButWrittenOnlyWithTheSavedName)
{
    installDefaultSettings(registry);
    addUser(QStringLiteral("alice"), QStringLiteral("pw"));
    openLogin(kLoginModeTray);
    box("chkbSynRun")->setChecked(true);
    signIn(QStringLiteral("alice"), QStringLiteral("pw"));
    EXPECT_TRUE(context.settings.SynRun);
    EXPECT_EQ(LoadSettings(registry, ras, prompter), TSettings()) << "nothing written";

    ClearCurrentUser(context.currentConnection);
    openLogin(kLoginModeTray);
    EXPECT_TRUE(box("chkbSynRun")->isChecked()) << "the choice lasts for the run";
    box("chkbSaveName")->setChecked(true);
    signIn(QStringLiteral(" alice"), QStringLiteral("pw"));
    const TSettings stored = LoadSettings(registry, ras, prompter);
    EXPECT_TRUE(stored.SaveLastUser);
    EXPECT_EQ(stored.LastUser, QStringLiteral("alice"));
    EXPECT_TRUE(stored.SynRun);
}

TEST_F(LoginDialog, SignInAnnouncesWhatFollows)
{
    addUser(QStringLiteral("alice"), QStringLiteral("pw"));
    context.settings.LoginDial = true;
    context.settings.SynRun = true;
    context.settings.FloatWin = true;
    context.settings.DefaultConn = QStringLiteral("Office");
    QSignalSpy mainWanted(winLogin.get(), &TwinLogin::mainWindowWanted);
    QSignalSpy dialWanted(winLogin.get(), &TwinLogin::dialWanted);
    QSignalSpy companions(winLogin.get(), &TwinLogin::companionProgramsWanted);
    QSignalSpy floating(winLogin.get(), &TwinLogin::floatingDisplayWanted);
    openLogin(kLoginModeTray);
    signIn(QStringLiteral("alice"), QStringLiteral("pw"));
    EXPECT_EQ(mainWanted.count(), 0);
    ASSERT_EQ(dialWanted.count(), 1);
    EXPECT_EQ(dialWanted[0][0].toString(), QStringLiteral("Office"));
    EXPECT_EQ(companions.count(), 1);
    EXPECT_EQ(floating.count(), 1);

    ClearCurrentUser(context.currentConnection);
    ras.addConnection("Office");
    tray->RASNotify().Poll();
    openLogin(kLoginModeOpenManager);
    signIn(QStringLiteral("alice"), QStringLiteral("pw"));
    EXPECT_EQ(mainWanted.count(), 1);
    EXPECT_EQ(dialWanted.count(), 1) << "no dialling while connected";
}

TEST_F(LoginDialog, ChangeOfUserGivesTheMainWindowBackAlsoAfterCancel)
{
    QSignalSpy mainWanted(winLogin.get(), &TwinLogin::mainWindowWanted);
    openLogin(kLoginModeChangeUser);
    button("btnCancel")->click();
    EXPECT_EQ(mainWanted.count(), 1);
    openLogin(kLoginModeTray);
    button("btnCancel")->click();
    EXPECT_EQ(mainWanted.count(), 1);
}

// A folder set up with --ask-admin-password: admin has an empty password that its first
// sign-in replaces before anything else happens.
class FirstPassword : public LoginFixture {
protected:
    void SetUp() override
    {
        LoginFixture::SetUp();
        tray->adoConnMain().close();
        QProcess setup;
        setup.start(QStringLiteral(XARVANE_BIN_DIR "/xarvane-setup"),
                    {QStringLiteral("--force"), QStringLiteral("--ask-admin-password"), context.appPath});
        ASSERT_TRUE(setup.waitForFinished(60000));
        ASSERT_EQ(setup.exitCode(), 0) << setup.readAllStandardError().toStdString();
        ASSERT_TRUE(tray->adoConnMain().open(context.appPath + kDatabaseFileName));
        ras.addConnection("Office");
        tray->RASNotify().Poll();
    }

    // If the password dialog shows: what the sign-in has done so far, then `answer` on it.
    void whenPasswordDialogShows(const std::function<void(QDialog&)>& answer)
    {
        QTimer::singleShot(0, winLogin.get(), [this, answer] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            shownTitle = dialog->windowTitle();
            shownNote = dialog->findChild<QLabel*>(QStringLiteral("lblNote"))->text();
            signedInMeanwhile = context.currentConnection.signedIn();
            ownerMeanwhile = records().value(0).userId;
            answer(*dialog);
            if (dialog->isVisible())
                dialog->reject(); // a refused answer would leave it open
        });
    }
    static void type(QDialog& dialog, const QString& first, const QString& second)
    {
        dialog.findChild<QLineEdit*>(QStringLiteral("edtFirst"))->setText(first);
        dialog.findChild<QLineEdit*>(QStringLiteral("edtSecond"))->setText(second);
        dialog.findChild<QPushButton*>(QStringLiteral("btnOk"))->click();
    }
    QStringList admin()
    {
        QSqlQuery query(tray->adoConnMain().connection());
        query.exec(
            QStringLiteral("select UserPw, PwReset from XRUser where UserId = '%1'").arg(kBuiltInUserId));
        return query.next() ? QStringList{query.value(0).toString(), query.value(1).toString()}
                            : QStringList();
    }

    QString shownTitle;
    QString shownNote;
    bool signedInMeanwhile = true;
    QString ownerMeanwhile;
};

TEST_F(FirstPassword, IsAskedTwiceBeforeAnythingElseAndCancelRefusesTheSignIn)
{
    ASSERT_EQ(admin().value(1), QStringLiteral("1"));
    context.settings.FloatWin = true;
    QSignalSpy mainWanted(winLogin.get(), &TwinLogin::mainWindowWanted);
    QSignalSpy floating(winLogin.get(), &TwinLogin::floatingDisplayWanted);
    openLogin(kLoginModeOpenManager);
    whenPasswordDialogShows([](QDialog& dialog) {
        type(dialog, QStringLiteral("new pw"), QStringLiteral("New pw"));
        type(dialog, QStringLiteral("  "), QStringLiteral("  "));
        dialog.findChild<QPushButton*>(QStringLiteral("btnCancel"))->click();
    });
    signIn(QStringLiteral("admin"), QString());
    EXPECT_EQ(shownTitle, QStringLiteral("设置新密码"));
    EXPECT_EQ(shownNote, QStringLiteral("[admin]首次登录，请设置新密码："));
    EXPECT_FALSE(signedInMeanwhile);
    EXPECT_EQ(ownerMeanwhile, kAnonymousUserId) << "the open record is not handed over yet";
    EXPECT_EQ(promptTexts(),
              (QStringList{QStringLiteral("两次输入的密码不一致！"), QStringLiteral("密码不可以是空的！"),
                           QStringLiteral("首次登录必须先设置新密码！\r\r没有设置新密码，"
                                          "本次登录没有完成。")}));
    EXPECT_FALSE(context.currentConnection.signedIn());
    EXPECT_EQ(records().value(0).userId, kAnonymousUserId);
    EXPECT_EQ(mainWanted.count(), 0);
    EXPECT_EQ(floating.count(), 0);
    EXPECT_TRUE(winLogin->isVisible()) << "the sign-in can be tried again";
    EXPECT_EQ(admin().value(1), QStringLiteral("1"));
    EXPECT_TRUE(passwordMatches(admin().value(0), QString()));

    whenPasswordDialogShows(
        [](QDialog& dialog) { type(dialog, QStringLiteral(" new pw"), QStringLiteral("new pw ")); });
    signIn(QStringLiteral("admin"), QString());
    EXPECT_FALSE(signedInMeanwhile);
    EXPECT_EQ(context.currentConnection.UserId, kBuiltInUserId);
    EXPECT_EQ(records().value(0).userId, kBuiltInUserId);
    EXPECT_EQ(mainWanted.count(), 1);
    EXPECT_EQ(floating.count(), 1);
    EXPECT_EQ(admin().value(1), QStringLiteral("0")) << "the mark is cleared";
    EXPECT_TRUE(passwordMatches(admin().value(0), QStringLiteral("new pw")));
    EXPECT_FALSE(fileHoldsText(context.appPath + kDatabaseFileName, QStringLiteral("new pw")));

    ClearCurrentUser(context.currentConnection);
    prompter.prompts.clear();
    shownTitle.clear();
    openLogin(kLoginModeTray);
    signIn(QStringLiteral("admin"), QString());
    EXPECT_EQ(promptTexts(), QStringList{QStringLiteral("不正确的用户名或密码！")}) << "empty no longer fits";
    whenPasswordDialogShows([](QDialog& dialog) { dialog.reject(); });
    signIn(QStringLiteral("admin"), QStringLiteral("new pw"));
    QCoreApplication::processEvents();
    EXPECT_EQ(context.currentConnection.UserId, kBuiltInUserId);
    EXPECT_TRUE(shownTitle.isEmpty()) << "no new password is asked for again";
}

} // namespace
} // namespace xr::test
