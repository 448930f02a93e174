// Password change: the two refusals, the hash of the text exactly as typed (trimmed) and no
// trace of the text in the file, and signing in with it; Enter in the two edits.
#include "users/utPassword.h"

#include "connections/RASNotify.h"
#include "connections/Recorder.h"
#include "store/PasswordHash.h"
#include "users/SignIn.h"

#include "AdministrationFixture.h"
#include "RecordingWindows.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace xr::test {
namespace {

class PasswordChange : public AdministrationFixture {
protected:
    PasswordChange() { context.currentConnection = {kAliceId, QStringLiteral("alice"), {}, 0, 0, false}; }

    QLineEdit* edit(const char* name) { return dialog.findChild<QLineEdit*>(QString::fromLatin1(name)); }
    // Types both texts and presses OK; true when the dialog closed.
    bool submit(const QString& first, const QString& second)
    {
        edit("edtFirst")->setText(first);
        edit("edtSecond")->setText(second);
        dialog.findChild<QPushButton*>(QStringLiteral("btnOk"))->click();
        return dialog.result() == QDialog::Accepted;
    }
    QString stored()
    {
        return values(QStringLiteral("select UserPw from XRUser where UserId = '%1'").arg(kAliceId)).value(0);
    }
    bool signsIn(const QString& password)
    {
        return signIn.attempt(0, false, QStringLiteral("alice"), password) == SignInOutcome::SignedIn;
    }
    bool fileHolds(const QString& text) { return fileHoldsText(context.appPath + kDatabaseFileName, text); }

    TwinPassword dialog{context, command, kAliceId};
    TRASNotify notify{ras};
    QTimer tmConn;
    RecordingWindows windows;
    Recorder recorder{context, command, notify, tmConn, windows};
    SignIn signIn{context, database, recorder, [](const UserAccount&) { return false; }};
};

TEST_F(PasswordChange, EmptyOrDifferentTextsAreRefusedAndKeepTheDialog)
{
    const QString before = stored();
    EXPECT_FALSE(submit(QStringLiteral("secret"), QString()));
    EXPECT_FALSE(submit(QStringLiteral("   "), QStringLiteral("   ")));
    EXPECT_FALSE(submit(QStringLiteral("Secret"), QStringLiteral("secret")));
    EXPECT_EQ(promptTexts(),
              (QStringList{QStringLiteral("密码不可以是空的！"), QStringLiteral("密码不可以是空的！"),
                           QStringLiteral("两次输入的密码不一致！")}));
    EXPECT_EQ(prompter.prompts.last().kind, PromptKind::Warning);
    EXPECT_EQ(edit("edtFirst")->text(), QStringLiteral("Secret")) << "the typed texts stay";
    EXPECT_EQ(stored(), before);
}

TEST_F(PasswordChange, BlanksAreTrimmedAndSignInWorksWithAndWithoutThem)
{
    EXPECT_TRUE(submit(QStringLiteral("  pass word "), QStringLiteral("pass word  ")));
    EXPECT_TRUE(passwordMatches(stored(), QStringLiteral("pass word")));
    EXPECT_FALSE(fileHolds(QStringLiteral("pass word")));
    EXPECT_TRUE(signsIn(QStringLiteral("pass word")));
    EXPECT_TRUE(signsIn(QStringLiteral("  pass word  ")));
    EXPECT_FALSE(signsIn(QStringLiteral("Pass word")));
}

TEST_F(PasswordChange, QuotesAndStatementTextAreStoredExactly)
{
    const QString typed = QStringLiteral("it's \"x\" \\ ' where 1=1; drop table XRUser; --");
    const QString bob = QStringLiteral("select UserPw from XRUser where UserId = '%1'").arg(kBobId);
    const QStringList bobBefore = values(bob);
    EXPECT_TRUE(submit(typed, typed));
    EXPECT_TRUE(passwordMatches(stored(), typed));
    EXPECT_FALSE(fileHolds(typed));
    EXPECT_EQ(values(QStringLiteral("select count(*) from XRUser")), QStringList{QStringLiteral("4")});
    EXPECT_EQ(values(bob), bobBefore) << "only the signed-in account changes";
    EXPECT_TRUE(signsIn(typed));
}

TEST_F(PasswordChange, EnterMovesToTheSecondEditAndThenChanges)
{
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_TRUE(edit("edtFirst")->hasFocus());
    QTest::keyClicks(edit("edtFirst"), QStringLiteral("abc"));
    QTest::keyClick(edit("edtFirst"), Qt::Key_Return);
    EXPECT_TRUE(edit("edtSecond")->hasFocus());
    EXPECT_TRUE(dialog.isVisible()) << "Enter in the first edit does not press OK";
    QTest::keyClicks(edit("edtSecond"), QStringLiteral("abc"));
    QTest::keyClick(edit("edtSecond"), Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(passwordMatches(stored(), QStringLiteral("abc")));
}

} // namespace
} // namespace xr::test
