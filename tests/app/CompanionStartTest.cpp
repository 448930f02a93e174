// The companion programs after a sign-in, as the program entry connects them: started only when
// the sign-in's "登录后同时启动其它程序" is on; otherwise the list is not even read.
#include "LoginFixture.h"

#include "app/CompanionStarts.h"
#include "platform/FileOpener.h"
#include "settings/CompanionList.h"
#include "users/LoginMode.h"

namespace xr::test {
namespace {

class RecordingOpener final : public platform::FileOpener {
public:
    void open(const std::string& path) override { opened << QString::fromStdString(path); }
    QStringList opened;
};

class CompanionStart : public LoginFixture {
protected:
    void SetUp() override
    {
        LoginFixture::SetUp();
        connectCompanionStarts(context, *winLogin, opener);
        addUser(QStringLiteral("alice"), QStringLiteral("pw"));
        program = dir.filePath(QStringLiteral("mail.sh"));
        QFile(program).open(QIODevice::WriteOnly);
        writeCompanionList(companionListPath(context.appPath),
                           {dir.filePath(QStringLiteral("gone.sh")), program});
    }

    void signInWith(bool synRun)
    {
        openLogin(kLoginModeTray);
        box("chkbSynRun")->setChecked(synRun);
        signIn(QStringLiteral("alice"), QStringLiteral("pw"));
    }

    RecordingOpener opener;
    QString program;
};

TEST_F(CompanionStart, OffReadsNothingOnStartsTheListAfterWarningAboutTheMissingEntry)
{
    signInWith(false);
    EXPECT_TRUE(opener.opened.isEmpty());
    EXPECT_TRUE(prompter.prompts.isEmpty()) << promptTexts().join(u'|').toStdString();

    signInWith(true);
    EXPECT_EQ(opener.opened, QStringList{program});
    ASSERT_EQ(prompter.prompts.size(), 1);
    EXPECT_TRUE(prompter.prompts[0].text.contains(dir.filePath(QStringLiteral("gone.sh"))));
}

} // namespace
} // namespace xr::test
