// User administration: the account rules on save, flag flips and deletes, the editing states of
// the grid, and the dialog's navigator.
#include "users/utAllowance.h"
#include "users/utUserManage.h"

#include "store/DayCount.h"
#include "store/PasswordHash.h"

#include "AdministrationFixture.h"
#include "CheckedModel.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

namespace xr::test {
namespace {

using State = UserAccountsModel::State;

class UserAccounts : public AdministrationFixture {
protected:
    UserAccounts() { model.open(); }

    QStringList names() { return values(QStringLiteral("select UserName from XRUser order by rowid")); }
    // Types a name into the current row, as the grid does.
    void type(const QString& name)
    {
        EXPECT_TRUE(model.setData(model.index(model.currentRow(), UserAccountsModel::NameColumn), name));
    }
    int rowOf(const QString& id)
    {
        for (int row = 0; row < model.rowCount(); ++row)
            if (model.row(row).UserId == id)
                return row;
        return -1;
    }

    UserAccountsModel model{context, database};
    CheckedModel checked{&model};
};

TEST_F(UserAccounts, ListsEveryAccountButTheReservedOnesAndTypingNeedsEditOrInsert)
{
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.row(0).UserName, QStringLiteral("alice"));
    EXPECT_EQ(model.data(model.index(0, UserAccountsModel::AdminColumn)).toString(), QStringLiteral("False"));
    EXPECT_EQ(model.data(model.index(0, UserAccountsModel::EnabledColumn)).toString(),
              QStringLiteral("True"));
    EXPECT_FALSE(model.setData(model.index(0, UserAccountsModel::NameColumn), QStringLiteral("x")));
    model.edit();
    EXPECT_FALSE(model.flags(model.index(0, UserAccountsModel::AdminColumn)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.flags(model.index(1, UserAccountsModel::NameColumn)) & Qt::ItemIsEditable);
    EXPECT_TRUE(model.flags(model.index(0, UserAccountsModel::RemarkColumn)) & Qt::ItemIsEditable);
}

TEST_F(UserAccounts, NamesAreTrimmedAndTheNameRulesRefuseWithoutWriting)
{
    model.insert();
    EXPECT_EQ(model.state(), State::Inserting);
    const AccountRow fresh = model.row(model.currentRow());
    EXPECT_EQ(fresh.UserId, NewId(clock.now()));
    EXPECT_TRUE(passwordMatches(fresh.UserPw, QString()) && !fresh.Admin && fresh.Enabled);

    QStringList refusals; // " admin " is the name of the hidden built-in account
    for (const char* name : {"   ", "匿名用户", " admin ", "bob"}) {
        type(QString::fromUtf8(name));
        refusals << refusalText(model.post());
    }
    EXPECT_EQ(refusals,
              (QStringList{QStringLiteral("请输入用户名！"),
                           QStringLiteral("[匿名用户]是系统保留的用户名，您不可以使用！"),
                           QStringLiteral("该用户名已经存在！"), QStringLiteral("该用户名已经存在！")}));
    EXPECT_TRUE(prompter.prompts.isEmpty()) << "the model leaves telling the user to the dialog";
    EXPECT_EQ(model.state(), State::Inserting) << "a refused post keeps the row being inserted";
    EXPECT_EQ(model.row(model.currentRow()).UserName, QStringLiteral("bob"));
    EXPECT_EQ(values(QStringLiteral("select count(*) from XRUser")), QStringList{QStringLiteral("4")});
    EXPECT_EQ(model.setCurrentRow(rowOf(kAliceId)), AccountRefusal::NameTaken)
        << "moving away posts, and the post is refused";
    EXPECT_EQ(model.insert(), AccountRefusal::NameTaken) << "so does a new row";
    EXPECT_EQ(model.rowCount(), 3);

    type(QStringLiteral("  carol  "));
    EXPECT_EQ(model.post(), AccountRefusal::None);
    EXPECT_EQ(model.state(), State::Browsing);
    EXPECT_EQ(model.row(model.currentRow()).UserName, QStringLiteral("carol"));
    EXPECT_EQ(values(QStringLiteral("select Admin || '/' || Enabled from XRUser where UserName = 'carol'")),
              QStringList{QStringLiteral("0/1")});
    const QString stored =
        values(QStringLiteral("select UserPw from XRUser where UserName = 'carol'")).value(0);
    EXPECT_TRUE(stored.startsWith(QStringLiteral("$argon2id$")) && passwordMatches(stored, QString()))
        << "the new account's empty password is kept as its hash: " << stored.toStdString();
}

TEST_F(UserAccounts, EditedRowsKeepTheirNameOrTakeAFreeOneAndCancelRestores)
{
    ASSERT_EQ(model.setCurrentRow(rowOf(kAliceId)), AccountRefusal::None);
    model.edit();
    EXPECT_EQ(model.post(), AccountRefusal::None) << "the one match of an unchanged name is the row itself";
    model.edit();
    type(QStringLiteral("alicia"));
    model.cancel();
    EXPECT_EQ(model.row(model.currentRow()).UserName, QStringLiteral("alice"));
    model.edit();
    type(QStringLiteral("alicia"));
    EXPECT_EQ(model.setCurrentRow(rowOf(kBobId)), AccountRefusal::None) << "moving on posts the edit";
    EXPECT_EQ(model.currentRow(), rowOf(kBobId));
    EXPECT_EQ(names(), (QStringList{QStringLiteral("admin"), QStringLiteral("匿名用户"),
                                    QStringLiteral("alicia"), QStringLiteral("bob")}));
    model.insert();
    model.cancel();
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_TRUE(prompter.prompts.isEmpty());
}

TEST_F(UserAccounts, FlagsFlipOnlyWhileEditingAndNeverOnTheSignedInAccount)
{
    ASSERT_EQ(model.setCurrentRow(rowOf(kBobId)), AccountRefusal::None);
    EXPECT_EQ(refusalText(model.flipFlag(UserAccountsModel::AdminColumn)),
              QStringLiteral("请单击[编辑用户信息]按钮进入编辑状态后修改！"));
    EXPECT_FALSE(model.row(model.currentRow()).Admin);

    model.insert(); // a new row's flags flip before its first post
    type(QStringLiteral("carol"));
    model.flipFlag(UserAccountsModel::AdminColumn);
    model.flipFlag(UserAccountsModel::EnabledColumn);
    model.flipFlag(UserAccountsModel::NameColumn);
    ASSERT_EQ(model.post(), AccountRefusal::None);
    EXPECT_EQ(values(QStringLiteral("select Admin || Enabled from XRUser where UserName = 'carol'")),
              QStringList{QStringLiteral("10")});

    context.currentConnection.UserId = kBobId; // bob is signed in
    ASSERT_EQ(model.setCurrentRow(rowOf(kBobId)), AccountRefusal::None);
    model.edit();
    EXPECT_EQ((QStringList{refusalText(model.flipFlag(UserAccountsModel::AdminColumn)),
                           refusalText(model.flipFlag(UserAccountsModel::EnabledColumn))}),
              (QStringList{QStringLiteral("当前登录用户的[管理员]信息不能修改！"),
                           QStringLiteral("当前登录用户的[可用]信息不能修改！")}));
    EXPECT_EQ(model.post(), AccountRefusal::None);
    EXPECT_EQ(values(QStringLiteral("select Admin || Enabled from XRUser where UserId = '%1'").arg(kBobId)),
              QStringList{QStringLiteral("01")});
}

TEST_F(UserAccounts, DeletesSpareTheSignedInAccountAndAccountsWithRecords)
{
    context.currentConnection.UserId = kBobId;
    ASSERT_EQ(model.setCurrentRow(rowOf(kBobId)), AccountRefusal::None);
    const QString signedIn = refusalText(model.removalRefusal());
    EXPECT_FALSE(model.remove());
    ASSERT_EQ(model.setCurrentRow(rowOf(kAliceId)), AccountRefusal::None);
    EXPECT_EQ(
        (QStringList{signedIn, refusalText(model.removalRefusal())}),
        (QStringList{
            QStringLiteral("不能删除当前登录的用户！"),
            QStringLiteral("该用户还有上网时间记录，不可以删除！\r\r(如果确实要删除，请先删除上网时间记录中的"
                           "该用户记录)")}));
    EXPECT_FALSE(model.remove());
    model.edit();
    EXPECT_FALSE(model.removable()) << "a row being edited is not deleted";
    model.cancel();
    run(QStringLiteral("delete from XRRecord"));
    EXPECT_EQ(model.removalRefusal(), AccountRefusal::None);
    EXPECT_TRUE(model.remove());
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(names(),
              (QStringList{QStringLiteral("admin"), QStringLiteral("匿名用户"), QStringLiteral("bob")}));
    EXPECT_TRUE(prompter.prompts.isEmpty());
}

class UserManageWindow : public AdministrationFixture {
protected:
    QToolButton* button(const char* name)
    {
        return window.findChild<QToolButton*>(QString::fromLatin1(name));
    }

    TwinUserManage window{context, database};
    CheckedModel checked{&window.adodsUser()};
};

TEST_F(UserManageWindow, NavigatorHintsAndStatesFollowTheEditing)
{
    EXPECT_EQ(window.windowTitle(), QStringLiteral("用户管理"));
    const QStringList hints{
        QStringLiteral("第一条记录"),   QStringLiteral("前一条记录"),   QStringLiteral("下一条记录"),
        QStringLiteral("最后一条记录"), QStringLiteral("新建用户"),     QStringLiteral("删除用户"),
        QStringLiteral("编辑用户信息"), QStringLiteral("提交编辑结果"), QStringLiteral("取消编辑结果")};
    const QList<QToolButton*> buttons =
        window.findChild<QWidget*>(QStringLiteral("navUser"))->findChildren<QToolButton*>();
    QStringList shown;
    for (const QToolButton* navigatorButton : buttons)
        shown << navigatorButton->toolTip();
    EXPECT_EQ(shown, hints);
    auto* grid = window.findChild<QTableView*>(QStringLiteral("dbgUser"));
    EXPECT_EQ(grid->columnWidth(UserAccountsModel::NameColumn), 150);
    EXPECT_EQ(grid->columnWidth(UserAccountsModel::EnabledColumn), 38);

    window.show();
    EXPECT_FALSE(button("navPost")->isEnabled());
    EXPECT_FALSE(button("navPrior")->isEnabled());
    button("navEdit")->click();
    EXPECT_TRUE(button("navPost")->isEnabled());
    EXPECT_FALSE(button("navEdit")->isEnabled());
    window.dbgUserDblClick(window.adodsUser().index(0, UserAccountsModel::EnabledColumn));
    button("navPost")->click();
    EXPECT_EQ(values(QStringLiteral("select Enabled from XRUser where UserId = '%1'").arg(kAliceId)),
              QStringList{QStringLiteral("0")});
    button("navLast")->click();
    EXPECT_EQ(grid->currentIndex().row(), 1);
    EXPECT_TRUE(button("navFirst")->isEnabled());
    EXPECT_FALSE(button("navNext")->isEnabled());
}

// The dialog says why the model refused a change, and asks before deleting what the rules allow.
TEST_F(UserManageWindow, RefusalsAreToldAndADeleteIsConfirmed)
{
    auto* grid = window.findChild<QTableView*>(QStringLiteral("dbgUser"));
    window.show();
    window.dbgUserDblClick(window.adodsUser().index(0, UserAccountsModel::AdminColumn));
    button("navDelete")->click(); // alice has a record
    button("navLast")->click();
    button("navDelete")->click(); // No to the question
    prompter.answers << PromptAnswer::Yes;
    button("navDelete")->click();
    EXPECT_EQ(promptTexts(),
              (QStringList{
                  QStringLiteral("请单击[编辑用户信息]按钮进入编辑状态后修改！"),
                  QStringLiteral("该用户还有上网时间记录，不可以删除！\r\r(如果确实要删除，请先删除上网时间"
                                 "记录中的该用户记录)"),
                  QStringLiteral("确认删除该用户吗？"), QStringLiteral("确认删除该用户吗？")}));
    EXPECT_EQ(prompter.prompts.value(0).kind, PromptKind::Information);
    EXPECT_EQ(prompter.prompts.value(3).kind, PromptKind::Confirmation);
    EXPECT_EQ(values(QStringLiteral("select UserName from XRUser where UserId = '%1'").arg(kBobId)),
              QStringList());

    prompter.prompts.clear();
    button("navInsert")->click();
    button("navPost")->click();
    const int inserted = window.adodsUser().currentRow();
    grid->setCurrentIndex(window.adodsUser().index(inserted == 0 ? 1 : 0, 0)); // moving away posts
    QCoreApplication::processEvents();
    EXPECT_EQ(promptTexts(),
              (QStringList{QStringLiteral("请输入用户名！"), QStringLiteral("请输入用户名！")}));
    EXPECT_EQ(grid->currentIndex().row(), inserted) << "the grid stays on the row it cannot leave";
}

// Escape in the cell, then Escape again, asks whether to save the row being edited or inserted:
// Yes saves it and closes, a refused save keeps the dialog, No throws the row away.
TEST_F(UserManageWindow, EscapeWithARowBeingEditedAsksWhetherToSaveIt)
{
    auto* grid = window.findChild<QTableView*>(QStringLiteral("dbgUser"));
    const auto escapeTwice = [&] {
        grid->edit(grid->currentIndex());
        ASSERT_NE(QApplication::focusWidget(), grid) << "an editor is open";
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); // ends the typing in the cell
        QTest::keyClick(grid, Qt::Key_Escape);
    };
    const auto name = [&](const QString& id) {
        return values(QStringLiteral("select UserName from XRUser where UserId = '%1'").arg(id));
    };
    window.show();
    QApplication::setActiveWindow(&window);
    button("navEdit")->click();
    window.adodsUser().setData(window.adodsUser().index(0, UserAccountsModel::NameColumn),
                               QStringLiteral("alice2"));
    prompter.answers << PromptAnswer::Yes;
    escapeTwice();
    EXPECT_EQ(promptTexts(), QStringList{kSaveEditQuestion});
    EXPECT_EQ(prompter.prompts.value(0).kind, PromptKind::Confirmation);
    EXPECT_EQ(name(kAliceId), QStringList{QStringLiteral("alice2")});
    EXPECT_FALSE(window.isVisible());

    window.show();
    QApplication::setActiveWindow(&window);
    prompter.prompts.clear();
    button("navInsert")->click();
    prompter.answers << PromptAnswer::Yes;
    escapeTwice(); // a new row without a name cannot be saved: the dialog stays
    EXPECT_EQ(promptTexts(), (QStringList{kSaveEditQuestion, QStringLiteral("请输入用户名！")}));
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.adodsUser().editing());

    window.adodsUser().setData(window.adodsUser().index(window.adodsUser().currentRow(), 0),
                               QStringLiteral("carol"));
    prompter.answers << PromptAnswer::No;
    escapeTwice();
    EXPECT_EQ(promptTexts().size(), 3) << promptTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(values(QStringLiteral("select UserName from XRUser")).contains(QStringLiteral("carol")));
    EXPECT_EQ(window.adodsUser().rowCount(), 2);
}

// The row indicator marks the current row without a number, so row 11 and beyond are not cut.
TEST_F(UserManageWindow, TheRowIndicatorMarksTheCurrentRowWithoutNumbers)
{
    for (int i = 0; i < 10; ++i)
        addUser(QStringLiteral("2004030108000%1").arg(10 + i), QStringLiteral("user%1").arg(i));
    TwinUserManage many{context, database};
    many.show();
    many.adodsUser().setCurrentRow(10);
    QCoreApplication::processEvents();
    auto* grid = many.findChild<QTableView*>(QStringLiteral("dbgUser"));
    QHeaderView* indicator = grid->verticalHeader();
    QImage picture(indicator->size(), QImage::Format_ARGB32);
    indicator->render(&picture);
    const auto darkPixels = [&](int row) {
        const int top = indicator->sectionViewportPosition(row);
        int dark = 0;
        for (int y = std::max(top, 0); y < std::min(top + indicator->sectionSize(row), picture.height()); ++y)
            for (int x = 0; x < picture.width(); ++x)
                dark += qGray(picture.pixel(x, y)) < 80 ? 1 : 0;
        return dark;
    };
    EXPECT_GT(darkPixels(10), 4) << "the current row is marked";
    EXPECT_EQ(darkPixels(9), 0);
    EXPECT_EQ(darkPixels(11), 0) << "no number beside the other rows";
    EXPECT_EQ(darkPixels(0), 0);
}

} // namespace
} // namespace xr::test

namespace xr::test {
namespace {

// The allowance dialog: a row per account, the anonymous one too; minutes that are not a whole
// number within the period's bound are refused naming the account and the period, with nothing
// stored and the typing kept; a grant is kept with who gave it.
class AllowanceWindow : public AdministrationFixture {
protected:
    QTableWidget* table() { return window.findChild<QTableWidget*>(QStringLiteral("twAllowance")); }
    int rowOf(const QString& name)
    {
        for (int row = 0; row < table()->rowCount(); ++row)
            if (table()->item(row, TwinAllowance::NameColumn)->text() == name)
                return row;
        return -1;
    }
    void type(const QString& name, int column, const QString& text)
    {
        table()->item(rowOf(name), column)->setText(text);
    }
    void click(const char* name) { window.findChild<QPushButton*>(QString::fromLatin1(name))->click(); }
    QLineEdit* edit(const char* name) { return window.findChild<QLineEdit*>(QString::fromLatin1(name)); }

    TwinAllowance window{context, database};
};

TEST_F(AllowanceWindow, BadMinutesAreRefusedAndGoodOnesStoredWithTheGrantAndWhoGaveIt)
{
    EXPECT_EQ(window.windowTitle(), QStringLiteral("上网时限"));
    EXPECT_GE(rowOf(QStringLiteral("匿名用户")), 0);
    EXPECT_GE(rowOf(QStringLiteral("alice")), 0);
    QSignalSpy changed(&window, &TwinAllowance::allowancesChanged);

    type(QStringLiteral("匿名用户"), TwinAllowance::DayColumn, QStringLiteral("0"));
    type(QStringLiteral("alice"), TwinAllowance::DayColumn, QStringLiteral("90"));
    for (const auto& [column, text, message] :
         {std::tuple{TwinAllowance::WeekColumn, "-5",
                     "[alice]的[每周]上网时限“-5”不正确！\r\r请输入0到10080之间的分钟数，空白表示不限。"},
          std::tuple{TwinAllowance::MonthColumn, "abc",
                     "[alice]的[每月]上网时限“abc”不正确！\r\r请输入0到44640之间的分钟数，空白表示不限。"},
          std::tuple{TwinAllowance::DayColumn, "1441",
                     "[alice]的[每天]上网时限“1441”不正确！\r\r请输入0到1440之间的分钟数，空白表示不限。"}}) {
        const QString kept = table()->item(rowOf(QStringLiteral("alice")), column)->text();
        type(QStringLiteral("alice"), column, QString::fromUtf8(text));
        prompter.prompts.clear();
        click("btnOk");
        ASSERT_EQ(promptTexts(), QStringList{QString::fromUtf8(message)});
        EXPECT_EQ(prompter.prompts[0].kind, PromptKind::Warning);
        EXPECT_EQ(table()->currentColumn(), column);
        EXPECT_EQ(table()->item(rowOf(QStringLiteral("alice")), column)->text(), QString::fromUtf8(text))
            << "the typing is kept to correct";
        EXPECT_TRUE(values(QStringLiteral("select UserId from XRAllowance")).isEmpty()) << "nothing stored";
        type(QStringLiteral("alice"), column, kept);
    }
    EXPECT_EQ(changed.size(), 0);

    prompter.prompts.clear();
    table()->setCurrentCell(-1, -1);
    edit("edtGrant")->setText(QStringLiteral("30"));
    click("btnGrant");
    EXPECT_EQ(promptTexts(), QStringList{QStringLiteral("请先选择要加时的用户！")});
    table()->setCurrentCell(rowOf(QStringLiteral("alice")), TwinAllowance::NameColumn);
    for (const char* bad : {"0", "1441", "半小时"}) {
        prompter.prompts.clear();
        edit("edtGrant")->setText(QString::fromUtf8(bad));
        click("btnGrant");
        EXPECT_EQ(promptTexts(), QStringList{badGrantMinutesText(QString::fromUtf8(bad))});
    }
    EXPECT_TRUE(values(QStringLiteral("select Minutes from XRGrant")).isEmpty());
    edit("edtGrant")->setText(QStringLiteral(" 30 "));
    click("btnGrant");
    EXPECT_EQ(values(QStringLiteral("select UserId || ' ' || Minutes || ' ' || ByUserId from XRGrant")),
              QStringList{QStringLiteral("%1 30 %2").arg(kAliceId, kBuiltInUserId)});
    EXPECT_EQ(values(QStringLiteral("select Granted from XRGrant")).value(0).toDouble(), toDayCount(clock.now()));
    EXPECT_EQ(table()->item(rowOf(QStringLiteral("alice")), TwinAllowance::GrantedColumn)->text(), QStringLiteral("30"));
    EXPECT_EQ(changed.size(), 1);

    click("btnOk");
    EXPECT_EQ(readAllowance(database.connection(), kAliceId), (Allowance{kAliceId, 90, std::nullopt, std::nullopt}));
    EXPECT_EQ(readAllowance(database.connection(), kAnonymousUserId),
              (Allowance{kAnonymousUserId, 0, std::nullopt, std::nullopt}));
    EXPECT_FALSE(readAllowance(database.connection(), kBobId).limited());
    EXPECT_EQ(changed.size(), 2);
    EXPECT_EQ(window.result(), QDialog::Accepted);
}

} // namespace
} // namespace xr::test
