// The main window's account commands: giving an anonymous record to a user through the picker,
// at most one password dialog, and the account dialog opened for an administrator.
#include "MainWindowFixture.h"

#include "store/DayCount.h"
#include "store/Identifiers.h"
#include "users/utPassword.h"
#include "users/utSelUser.h"
#include "users/utUserManage.h"

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <functional>

namespace xr::test {
namespace {

QDateTime at(int day, int hour)
{
    return QDateTime(QDate(2004, 3, day), QTime(hour, 0));
}

constexpr int kModalTries = 50; // looks every 10 ms for half a second

// Runs `step` on the modal dialog once it is open (the command waits in its own loop meanwhile);
// gives up when none opens.
void whenModal(const std::function<void(QWidget*)>& step, int triesLeft = kModalTries)
{
    QTimer::singleShot(10, [step, triesLeft] {
        if (QWidget* dialog = QApplication::activeModalWidget())
            step(dialog);
        else if (triesLeft > 0)
            whenModal(step, triesLeft - 1);
    });
}

class AccountCommands : public MainWindowFixture {
protected:
    AccountCommands()
    {
        addRecord(at(2, 10), at(2, 11), kAnonymousUserId);
        addRecord(at(3, 10), at(3, 12), kAnonymousUserId);
        addRecord(at(4, 10), at(4, 13), kZhangId);
        signInAdmin();
        window->show();
    }

    void listUser(int index)
    {
        window->findChild<QComboBox*>(QStringLiteral("cbUserName"))->setCurrentIndex(index);
        window->findChild<QPushButton*>(QStringLiteral("btnFind"))->click();
    }
    void listAnonymous() { listUser(1); }
    void moveRecord() { window->actions().actMoveRecord->trigger(); }
    QStringList owners()
    {
        QSqlQuery query(database.connection());
        query.exec(QStringLiteral("select UserId from XRRecord order by Sdt"));
        QStringList ids;
        while (query.next())
            ids << query.value(0).toString();
        return ids;
    }
    // In the picker: choose `name` (none when empty) and press OK, then Cancel if it stays open.
    void pick(const QString& name)
    {
        whenModal([this, name](QWidget* dialog) {
            auto* list = dialog->findChild<QListWidget*>(QStringLiteral("lbUser"));
            pickerItems.clear();
            for (int row = 0; row < list->count(); ++row)
                pickerItems << list->item(row)->text();
            const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
            if (!name.isEmpty() && !found.isEmpty())
                list->setCurrentItem(found.first());
            dialog->findChild<QPushButton*>(QStringLiteral("btnOk"))->click();
            pickerStayed = dialog->isVisible();
            if (pickerStayed)
                dialog->findChild<QPushButton*>(QStringLiteral("btnCancel"))->click();
        });
    }

    const QStringList anonymousTwice{kAnonymousUserId, kAnonymousUserId, kZhangId};
    QStringList pickerItems;
    bool pickerStayed = false;
};

TEST_F(AccountCommands, MovingIsRefusedWhileConnectedAndOutsideTheAnonymousList)
{
    listUser(2); // 张三
    moveRecord();
    listUser(4); // every user
    moveRecord();
    listAnonymous();
    connect(QStringLiteral("Office"), at(7, 9));
    moveRecord();
    QStringList texts;
    for (const Prompt& prompt : prompter.prompts)
        texts << prompt.text;
    EXPECT_EQ(texts, (QStringList{QStringLiteral("请选择[匿名用户]的上网记录！"),
                                  QStringLiteral("请选择[匿名用户]的上网记录！"),
                                  QStringLiteral("连接状态下不允许执行该操作！")}));
    EXPECT_EQ(owners(), anonymousTwice);
}

TEST_F(AccountCommands, AnEmptyAnonymousListOpensNoPicker)
{
    QSqlQuery(database.connection())
        .exec(QStringLiteral("delete from XRRecord where UserId = '000000000000000002'"));
    listAnonymous();
    bool opened = false;
    whenModal([&opened](QWidget* dialog) {
        opened = true;
        dialog->close();
    });
    moveRecord();
    QTest::qWait(10 * kModalTries + 200);
    EXPECT_FALSE(opened);
    EXPECT_TRUE(prompter.prompts.isEmpty());
}

TEST_F(AccountCommands, OkWithoutChoiceCancelAndNoKeepTheRecordAnonymous)
{
    listAnonymous();
    pick(QString());
    moveRecord();
    EXPECT_TRUE(pickerStayed);
    ASSERT_EQ(prompter.prompts.size(), 1);
    EXPECT_EQ(prompter.prompts[0].text, QStringLiteral("请选择一个用户的！"));
    EXPECT_EQ(pickerItems,
              (QStringList{QStringLiteral("admin"), QStringLiteral("张三"), QStringLiteral("李四")}));

    pick(QStringLiteral("李四")); // then No to the question
    moveRecord();
    EXPECT_EQ(prompter.prompts.last().text, QStringLiteral("把该匿名用户的上网记录指定给用户： 李四 吗？"));
    EXPECT_EQ(prompter.prompts.last().kind, PromptKind::Confirmation);
    EXPECT_EQ(owners(), anonymousTwice);
}

TEST_F(AccountCommands, YesMovesOnlyTheSelectedRecordAndTheListLosesIt)
{
    listAnonymous();
    window->actions().actFirst->trigger();
    prompter.answers << PromptAnswer::Yes;
    pick(QStringLiteral("李四"));
    moveRecord();
    EXPECT_EQ(owners(), (QStringList{kLiId, kAnonymousUserId, kZhangId}));
    EXPECT_EQ(counter(), QStringLiteral("共 1 条记录 * 当前第 1 条"));
    EXPECT_TRUE(noErrorShown());
}

TEST_F(AccountCommands, ThePasswordCommandOpensOneDialogAtMost)
{
    int dialogs = 0;
    whenModal([this, &dialogs](QWidget* dialog) {
        window->actions().actPassword->trigger(); // while it is open: nothing
        dialogs = static_cast<int>(window->findChildren<TwinPassword*>().size());
        dialog->close();
    });
    window->actions().actPassword->trigger();
    EXPECT_EQ(dialogs, 1);
    EXPECT_TRUE(window->findChildren<TwinPassword*>().isEmpty()) << "freed when closed";

    QString title;
    whenModal([&title](QWidget* dialog) {
        title = dialog->windowTitle();
        dialog->close();
    });
    window->actions().actUserManage->trigger();
    EXPECT_EQ(title, QStringLiteral("用户管理"));
}

} // namespace
} // namespace xr::test
