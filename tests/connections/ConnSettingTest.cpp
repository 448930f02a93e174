// The default connection dialog: the phonebook list, choosing and saving the default, dialling
// a listed entry, and one dialog at a time.
#include "DialingFixture.h"

#include "connections/utConnSetting.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QTimer>
#include <QWindow>

namespace xr::test {
namespace {

class ConnSetting : public DialingFixture {
protected:
    void TearDown() override
    {
        if (dialog)
            dialog->close();
    }

    void open()
    {
        dialog = new TwinConnSetting(context, tray->RASNotify(), *dialer);
        dialog->show();
    }

    QListWidget* list() const { return dialog->findChild<QListWidget*>(QStringLiteral("lbConnList")); }
    QString shownDefault() const
    {
        return dialog->findChild<QLineEdit*>(QStringLiteral("edtDefault"))->text();
    }
    QPushButton* button(const char* name) const
    {
        return dialog->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    QStringList listed() const
    {
        QStringList names;
        for (int i = 0; i < list()->count(); ++i)
            names << list()->item(i)->text();
        return names;
    }
    std::string storedDefault()
    {
        const auto key = registry.openKey(kSettingsKey.toStdString(), false);
        return key ? key->readString("DefaultConn").value_or("") : "";
    }

    QPointer<TwinConnSetting> dialog;
};

TEST_F(ConnSetting, ListsEveryEntryInTheServicesOrderAndShowsTheDefaultAsItStands)
{
    QStringList expected;
    for (int i = 12; i >= 1; --i) {
        addEntry("宽带" + std::to_string(i));
        expected << QStringLiteral("宽带%1").arg(i);
    }
    open();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("XR连接设置"));
    EXPECT_EQ(listed(), expected);
    EXPECT_EQ(shownDefault(), QStringLiteral("未指定"));
    EXPECT_TRUE(dialog->findChild<QLineEdit*>(QStringLiteral("edtDefault"))->isReadOnly());
    EXPECT_EQ(button("btnDefault")->text(), QStringLiteral("设为默认"));
    EXPECT_EQ(button("btnConn")->text(), QStringLiteral("拨号(&D)"));
    EXPECT_TRUE(button("btnOk")->isDefault());
    EXPECT_TRUE(prompter.prompts.isEmpty());

    // The twelfth entry is chosen, saved, and found again at the next start.
    list()->setCurrentRow(11);
    button("btnDefault")->click();
    EXPECT_EQ(shownDefault(), QStringLiteral("宽带1"));
    button("btnOk")->click();
    EXPECT_EQ(context.settings.DefaultConn, QStringLiteral("宽带1"));
    EXPECT_EQ(storedDefault(), "宽带1");
    EXPECT_EQ(LoadSettings(registry, ras, prompter).DefaultConn, QStringLiteral("宽带1"));
    EXPECT_TRUE(prompter.prompts.isEmpty());
}

TEST_F(ConnSetting, RefusalsWithoutASelectionOrWhileConnected)
{
    addEntry("Office");
    open();
    list()->clearSelection();
    button("btnDefault")->click();
    button("btnConn")->click();
    EXPECT_EQ(promptTexts(), QStringList(2, kChooseEntryMessage));
    EXPECT_EQ(prompter.prompts.value(0).kind, PromptKind::Information);
    EXPECT_EQ(shownDefault(), QStringLiteral("未指定"));

    changeService([](platform::SimState& state) {
        state.addConnection("Office", platform::ras::StateConnected, {}, 0);
    });
    tray->RASNotify().Poll();
    prompter.prompts.clear();
    list()->setCurrentRow(0);
    button("btnConn")->click();
    EXPECT_EQ(promptTexts(), QStringList{kAlreadyConnectedMessage});
    EXPECT_FALSE(winDialStatus->isVisible());
}

// What looks chosen is chosen: the default entry, or the first when the default is not listed.
// A long entry name is elided in the list and in the dial status window, whole in its tip.
TEST_F(ConnSetting, TheDefaultOrTheFirstEntryIsSelectedAndLongNamesKeepTheirTip)
{
    const QString longName = QStringLiteral("中国电信天翼宽带拨号连接") + QString(120, QLatin1Char('x'));
    addEntry("Office");
    addEntry(longName.toStdString());
    context.settings.DefaultConn = longName;
    open();
    ASSERT_NE(list()->currentItem(), nullptr);
    EXPECT_TRUE(list()->currentItem()->isSelected());
    EXPECT_EQ(list()->currentItem()->text(), longName);
    EXPECT_EQ(list()->currentItem()->toolTip(), longName);
    EXPECT_LE(list()->visualItemRect(list()->currentItem()).right(), list()->viewport()->width())
        << "the name is elided within the list";
    button("btnConn")->click();
    ASSERT_TRUE(winDialStatus->isVisible());
    auto* connName = statusControl<QLabel>("lblConnName");
    EXPECT_TRUE(connName->text().startsWith(QStringLiteral("连接名称：中国电信")));
    EXPECT_TRUE(connName->text().endsWith(QChar(0x2026))) << connName->text().toStdString();
    EXPECT_LE(connName->fontMetrics().horizontalAdvance(connName->text()), connName->width());
    EXPECT_EQ(connName->toolTip(), QStringLiteral("连接名称：") + longName);
    statusButton("btnCancel")->click();
    dialog->close();
    ASSERT_TRUE(QTest::qWaitFor([this] { return dialog.isNull(); }));

    context.settings.DefaultConn = kNoDefaultConn;
    open();
    button("btnDefault")->click();
    EXPECT_EQ(shownDefault(), QStringLiteral("Office"));
    EXPECT_TRUE(prompter.prompts.isEmpty()) << promptTexts().join(QLatin1Char('|')).toStdString();
}

TEST_F(ConnSetting, DoubleClickChoosesLikeTheButtonAndCancelKeepsTheDefault)
{
    addEntry("Office");
    addEntry("Home");
    context.settings.DefaultConn = QStringLiteral("Office");
    const std::string before = storedDefault();
    open();
    EXPECT_EQ(shownDefault(), QStringLiteral("Office"));
    QListWidgetItem* home = list()->item(1);
    const QPoint onHome = list()->visualItemRect(home).center();
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, onHome); // a double-click's first press
    EXPECT_EQ(shownDefault(), QStringLiteral("Office"));
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, onHome);
    EXPECT_EQ(shownDefault(), QStringLiteral("Home"));

    button("btnCancel")->click();
    EXPECT_EQ(context.settings.DefaultConn, QStringLiteral("Office"));
    EXPECT_EQ(storedDefault(), before);
    EXPECT_TRUE(QTest::qWaitFor([this] { return dialog.isNull(); })) << "the dialog frees itself";
}

TEST_F(ConnSetting, UnreadablePhonebookGivesThePlainMessageAndOkSavesTheDefaultUnchanged)
{
    QFile state(file(QStringLiteral("SimRas.json")));
    ASSERT_TRUE(state.open(QIODevice::WriteOnly));
    state.write("not a state file");
    state.close();
    context.settings.DefaultConn = QStringLiteral("Office");
    open();
    ASSERT_EQ(prompter.prompts.size(), 1);
    EXPECT_EQ(prompter.prompts[0].kind, PromptKind::Plain);
    EXPECT_EQ(prompter.prompts[0].text, QStringLiteral("获取系统电话本失败！请于系统管理员联系！"));
    EXPECT_EQ(list()->count(), 0);
    EXPECT_EQ(shownDefault(), QStringLiteral("Office"));
    EXPECT_FALSE(dialog->FillConnList());
    button("btnOk")->click();
    EXPECT_EQ(storedDefault(), "Office");
}

TEST_F(ConnSetting, OpeningAgainWhileOpenDoesNothing)
{
    addEntry("Office");
    int opened = 0;
    QTimer::singleShot(0, [&] {
        QPointer<TwinConnSetting> first = connSetting->winConnSetting();
        ASSERT_FALSE(first.isNull());
        winMain->actions().actConnSetting->trigger(); // returns at once
        for (QWidget* widget : QApplication::topLevelWidgets())
            opened += qobject_cast<TwinConnSetting*>(widget) != nullptr && widget->isVisible();
        first->reject();
    });
    winMain->actions().actConnSetting->trigger();
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(QTest::qWaitFor([this] { return connSetting->winConnSetting() == nullptr; }));
}

// The dialog blocks the main window only: the dial status window that its dial opens takes the
// mouse (Redial) and the keyboard (Cancel) while the dialog stays open.
TEST_F(ConnSetting, TheDialStatusWindowWorksWhileTheDialogStaysOpen)
{
    addEntry("Home", "bob", "pw", 20, 678);        // fails at once
    addEntry("Office", "alice", "secret", 600000); // still dialling when cancelled
    context.settings.DefaultConn = QStringLiteral("Office");
    winMain->show();
    QStringList seen;
    QTimer::singleShot(0, [&] {
        dialog = connSetting->winConnSetting();
        list()->setCurrentRow(0);
        button("btnConn")->click();
        if (!QTest::qWaitFor([this] { return errorShown(); }, 10000)) {
            dialog->reject();
            return;
        }
        QWindow* status = winDialStatus->windowHandle();
        QPushButton* reDial = statusButton("btnReDial");
        QTest::mouseClick(status, Qt::LeftButton, {},
                          reDial->mapTo(winDialStatus, reDial->rect().center()));
        seen << connNameText() << QString::number(winDialStatus->ShowMode());
        QTest::keyClick(status, Qt::Key_Space); // on Cancel, which has the focus
        seen << (winDialStatus->isVisible() ? QStringLiteral("status shown")
                                            : QStringLiteral("status hidden"))
             << serviceConnections().join(u',');
        seen << (QApplication::activeModalWidget() == dialog ? QStringLiteral("dialog modal") : QString());
        dialog->reject();
    });
    winMain->actions().actConnSetting->trigger();
    EXPECT_EQ(seen,
              (QStringList{QStringLiteral("连接名称：Office"), QString::number(kDialling),
                           QStringLiteral("status hidden"), QString(), QStringLiteral("dialog modal")}));
    EXPECT_EQ(dialer->DialHandle(), 0u);
}

} // namespace
} // namespace xr::test
