// The options dialog: showing the settings, editing the period list, restoring the defaults, and
// what OK and Cancel store, in memory and in the settings file, in which order.
#include "settings/utOption.h"

#include "common/AppContext.h"
#include "platform/RegistryFile.h"
#include "platform/XdgAutoStart.h"
#include "settings/CustomTimes.h"
#include "settings/SettingsStore.h"
#include "store/Database.h"
#include "store/DayCount.h"

#include "FakeRemoteAccess.h"
#include "InstalledDatabase.h"
#include "ManualClock.h"
#include "PgServer.h"
#include "ScriptedPrompter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace xr::test {
namespace {

// The registry and the autostart entry, with every change written down in the order made.
class RecordingKey final : public platform::RegistryKey {
public:
    RecordingKey(std::unique_ptr<platform::RegistryKey> inner, QStringList& log)
        : m_inner(std::move(inner)), m_log(log)
    {
    }
    std::optional<std::uint32_t> readDword(const std::string& name) const override
    {
        return m_inner->readDword(name);
    }
    std::optional<std::string> readString(const std::string& name) const override
    {
        return m_inner->readString(name);
    }
    bool writeDword(const std::string& name, std::uint32_t value) override
    {
        m_log << QString::fromStdString(name);
        return m_inner->writeDword(name, value);
    }
    bool writeString(const std::string& name, const std::string& value) override
    {
        m_log << QString::fromStdString(name);
        return m_inner->writeString(name, value);
    }
    bool deleteValue(const std::string& name) override { return m_inner->deleteValue(name); }

private:
    std::unique_ptr<platform::RegistryKey> m_inner;
    QStringList& m_log;
};

class RecordingRegistry final : public platform::Registry {
public:
    RecordingRegistry(platform::Registry& inner, QStringList& log) : m_inner(inner), m_log(log) {}
    std::unique_ptr<platform::RegistryKey> openKey(const std::string& path, bool create) override
    {
        auto key = m_inner.openKey(path, create);
        return key ? std::make_unique<RecordingKey>(std::move(key), m_log) : nullptr;
    }
    bool deleteKey(const std::string& path) override
    {
        m_log << QStringLiteral("delete ") + QString::fromStdString(path);
        return m_inner.deleteKey(path);
    }

private:
    platform::Registry& m_inner;
    QStringList& m_log;
};

class RecordingAutoStart final : public platform::AutoStart {
public:
    RecordingAutoStart(const QString& folder, QStringList& log) : m_inner(folder), m_log(log) {}
    bool write(const std::string& programFolder) override
    {
        m_log << QStringLiteral("autostart write");
        return m_inner.write(programFolder);
    }
    bool remove() override
    {
        m_log << QStringLiteral("autostart remove");
        return m_inner.remove();
    }
    std::string location() const override { return m_inner.location(); }
    const platform::XdgAutoStart& inner() const { return m_inner; }

private:
    platform::XdgAutoStart m_inner;
    QStringList& m_log;
};

// Settings as the installation writes them, with two custom periods, over a database whose
// records have the connections "163" and "169".
class OptionsDialogTest : public ::testing::Test {
protected:
    OptionsDialogTest()
        : fileRegistry(dir.filePath(QStringLiteral("Xarvane.reg"))), registry(fileRegistry, log),
          autoStart(dir.filePath(QStringLiteral("autostart")), log),
          context(dir.path() + QLatin1Char('/'), clock, prompter, ras, registry),
          database(QStringLiteral("options-test"))
    {
        installDefaultSettings(fileRegistry);
        writeCustomTimes(fileRegistry,
                         {QStringLiteral("2004-3-1*2004-3-31"), QStringLiteral("2004-2-1*2004-2-29")});
        createInstalledDatabase(context.appPath + kDatabaseFileName);
        EXPECT_TRUE(database.open(context.appPath + kDatabaseFileName));
        for (const char* name : {"163", "169"}) {
            QSqlQuery insert(database.connection());
            insert.prepare(
                QStringLiteral("insert into XRRecord (RecordId,Sdt,Edt,UserId,ConnName) values (?,?,?,?,?)"));
            insert.addBindValue(QString::fromLatin1(name));
            insert.addBindValue(toDayCount(clock.now()));
            insert.addBindValue(toDayCount(clock.now()));
            insert.addBindValue(QStringLiteral("1"));
            insert.addBindValue(QString::fromLatin1(name));
            EXPECT_TRUE(insert.exec());
        }
        context.settings = LoadSettings(fileRegistry, ras, prompter);
        log.clear();
    }

    ~OptionsDialogTest() override
    {
        dialog.reset();
        database.close();
    }

    void open()
    {
        dialog = std::make_unique<TwinOption>(context, database, autoStart);
        dialog->show();
    }

    template <class T> T* control(const char* name) const
    {
        T* found = dialog->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void click(const char* button) { control<QPushButton>(button)->click(); }
    QListWidget* periods() const { return control<QListWidget>("lbTime"); }
    QStringList periodTexts() const
    {
        QStringList texts;
        for (int row = 0; row < periods()->count(); ++row)
            texts << periods()->item(row)->text();
        return texts;
    }
    void select(int row) { periods()->setCurrentRow(row); }
    QString defaultCaption() const { return control<QLabel>("lblTime")->text(); }
    void setDates(const QDate& first, const QDate& last)
    {
        control<QDateEdit>("dtpS")->setDate(first);
        control<QDateEdit>("dtpE")->setDate(last);
    }
    QByteArray fileBytes() const
    {
        QFile file(dir.filePath(QStringLiteral("Xarvane.reg")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    QStringList log;
    ManualClock clock; // Sunday 2004-03-07
    ScriptedPrompter prompter;
    FakeRemoteAccess ras;
    platform::RegistryFile fileRegistry;
    RecordingRegistry registry;
    RecordingAutoStart autoStart;
    AppContext context;
    Database database;
    std::unique_ptr<TwinOption> dialog;
};

TEST_F(OptionsDialogTest, ShowsTheSettingsAndThePeriodOfTheDefault)
{
    context.settings.DefaultTime = 2;
    context.settings.Interval = 75; // brought to the nearer limit
    context.settings.TimeRecord = false;
    context.settings.FWStyle = 1;
    context.settings.Precision = 1;
    context.settings.DefaultConnName = QStringLiteral("169");
    open();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("XR设置选项"));
    EXPECT_EQ(dialog->size(), QSize(337, 372));
    EXPECT_EQ(periodTexts(),
              (QStringList{QStringLiteral("本周"), QStringLiteral("本月"),
                           QStringLiteral("2004-3-1*2004-3-31"), QStringLiteral("2004-2-1*2004-2-29")}));
    EXPECT_EQ(periods()->currentRow(), 2);
    EXPECT_EQ(defaultCaption(), QStringLiteral("默认时间段：2004-3-1*2004-3-31"));
    EXPECT_EQ(control<QDateEdit>("dtpS")->date(), QDate(2004, 3, 1));
    EXPECT_EQ(control<QDateEdit>("dtpE")->date(), QDate(2004, 3, 31));
    EXPECT_EQ(control<QSpinBox>("sedtTime")->value(), 60);
    EXPECT_FALSE(control<QSpinBox>("sedtTime")->isEnabled());
    EXPECT_TRUE(control<QCheckBox>("chkbBigSize")->isChecked());
    EXPECT_TRUE(control<QRadioButton>("rbSeconds")->isChecked());
    auto* connections = control<QComboBox>("cbDefaultConnName");
    EXPECT_EQ(connections->currentText(), QStringLiteral("169"));
    EXPECT_EQ(connections->itemText(connections->count() - 1), QStringLiteral("所有连接"));

    // The fixed entries show this week (Monday to Sunday) and this month.
    select(0);
    QTest::mouseClick(periods()->viewport(), Qt::LeftButton, {},
                      periods()->visualItemRect(periods()->item(0)).center());
    EXPECT_EQ(control<QDateEdit>("dtpS")->date(), QDate(2004, 3, 1));
    EXPECT_EQ(control<QDateEdit>("dtpE")->date(), QDate(2004, 3, 7));
    QTest::mouseClick(periods()->viewport(), Qt::LeftButton, {},
                      periods()->visualItemRect(periods()->item(1)).center());
    EXPECT_EQ(control<QDateEdit>("dtpE")->date(), QDate(2004, 3, 31));
}

TEST_F(OptionsDialogTest, AddingRefusesExactDuplicatesOnlyAndDeletingKeepsTheDefaultText)
{
    context.settings.DefaultTime = 3; // 2004-2-1*2004-2-29
    open();
    setDates(QDate(2004, 3, 1), QDate(2004, 3, 31));
    click("btnAddTime");
    EXPECT_EQ(prompter.prompts.size(), 1);
    EXPECT_EQ(prompter.prompts[0].text, QStringLiteral("[2004-3-1*2004-3-31] 时间段已经存在！"));
    EXPECT_EQ(prompter.prompts[0].kind, PromptKind::Information);
    setDates(QDate(2004, 3, 31), QDate(2004, 3, 1)); // reversed dates are a period of their own
    click("btnAddTime");
    EXPECT_EQ(prompter.prompts.size(), 1);
    EXPECT_EQ(periodTexts().last(), QStringLiteral("2004-3-31*2004-3-1"));

    // Nothing selected, or a fixed entry: nothing is deleted.
    periods()->setCurrentRow(-1);
    click("btnDel");
    select(1);
    click("btnDel");
    EXPECT_EQ(periodTexts().size(), 5);

    // Deleting another period keeps the default on its text, now one place up.
    select(2);
    click("btnDel");
    EXPECT_EQ(periodTexts().size(), 4);
    EXPECT_EQ(periods()->currentRow(), 2);
    EXPECT_EQ(defaultCaption(), QStringLiteral("默认时间段：2004-2-1*2004-2-29"));
    // Deleting the default itself falls back to "本周".
    click("btnDel");
    EXPECT_EQ(periods()->currentRow(), 0);
    EXPECT_EQ(defaultCaption(), QStringLiteral("默认时间段：本周"));

    select(2);
    click("btnDefaultTime");
    EXPECT_EQ(defaultCaption(), QStringLiteral("默认时间段：2004-3-31*2004-3-1"));
    click("btnOk");
    EXPECT_EQ(context.settings.DefaultTime, 2);
    EXPECT_EQ(readTimePeriods(fileRegistry), (QStringList{QStringLiteral("本周"), QStringLiteral("本月"),
                                                          QStringLiteral("2004-3-31*2004-3-1")}));
}

TEST_F(OptionsDialogTest, OkWritesTheValuesThenThePeriodsThenTheAutostartEntry)
{
    context.settings.DefaultConnName = QStringLiteral("已删除的连接"); // no longer listed: nothing chosen
    open();
    control<QCheckBox>("chkbTimeRecord")->click();
    EXPECT_TRUE(control<QSpinBox>("sedtTime")->isEnabled());
    control<QSpinBox>("sedtTime")->setValue(12);
    control<QCheckBox>("chkbTimeRecord")->click(); // off again: the number is stored all the same
    control<QCheckBox>("chkbSavePwEnabled")->click();
    control<QCheckBox>("chkbBigSize")->click();
    control<QRadioButton>("rbSeconds")->click();
    EXPECT_EQ(control<QCheckBox>("chkbRecordLan")->text(), QStringLiteral("同时记录有线和无线网络连接"));
    EXPECT_FALSE(control<QCheckBox>("chkbRecordLan")->isChecked());
    control<QCheckBox>("chkbRecordLan")->click();
    EXPECT_EQ(control<QCheckBox>("chkbFWTimeLeft")->text(), QStringLiteral("悬浮窗口显示剩余上网时间"));
    control<QCheckBox>("chkbFWTimeLeft")->click();
    QSignalSpy timer(dialog.get(), &TwinOption::recordTimerPeriodChanged);
    QSignalSpy lists(dialog.get(), &TwinOption::queryListsChanged);
    QSignalSpy total(dialog.get(), &TwinOption::totalWanted);
    click("btnOk");
    EXPECT_TRUE(ras.recordLan) << "the back-end counts wired and wireless connections from the next poll";

    EXPECT_EQ(
        log,
        (QStringList{QStringLiteral("TimeRecord"), QStringLiteral("Interval"), QStringLiteral("DefaultTime"),
                     QStringLiteral("AutoRun"), QStringLiteral("DefaultConnName"),
                     QStringLiteral("Precision"), QStringLiteral("AutoBackup"),
                     QStringLiteral("SavePwEnabled"), QStringLiteral("SavePw"), QStringLiteral("FWStyle"),
                     QStringLiteral("RecordLan"), QStringLiteral("FWTimeLeft"), QStringLiteral("Server"),
                     QStringLiteral("Station"), QStringLiteral("delete SOFTWARE\\Pellory\\Xarvane\\CustomTime"), QStringLiteral("Count"),
                     QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("autostart write")}));
    const TSettings stored = LoadSettings(fileRegistry, ras, prompter);
    EXPECT_EQ(stored, context.settings);
    EXPECT_FALSE(stored.TimeRecord);
    EXPECT_EQ(stored.Interval, 12);
    EXPECT_TRUE(stored.SavePwEnabled);
    EXPECT_TRUE(stored.SavePw);
    EXPECT_EQ(stored.FWStyle, 1);
    EXPECT_EQ(stored.Precision, 1);
    EXPECT_EQ(stored.DefaultConnName, QString());
    EXPECT_TRUE(stored.RecordLan);
    EXPECT_TRUE(stored.FWTimeLeft);
    EXPECT_TRUE(QFile::exists(autoStart.inner().filePath()));
    ASSERT_EQ(timer.size(), 1);
    EXPECT_EQ(timer[0][0].toInt(), 12 * 60000);
    ASSERT_EQ(lists.size(), 1);
    EXPECT_EQ(lists[0][0].toStringList().size(), 4);
    EXPECT_EQ(total.size(), 1);
    EXPECT_FALSE(dialog->isVisible());

    // Unchecking "允许保存密码" turns SavePw off as well; AutoRun off removes the entry.
    open();
    control<QCheckBox>("chkbSavePwEnabled")->click();
    control<QCheckBox>("chkbAutoRun")->click();
    click("btnOk");
    EXPECT_FALSE(context.settings.SavePw);
    EXPECT_FALSE(QFile::exists(autoStart.inner().filePath()));
}

TEST_F(OptionsDialogTest, ServerPageTestsTheTypedServerAndStoresItWithThePcsName)
{
    test::PgServer server;
    if (!server.available())
        GTEST_SKIP() << server.whyUnavailable().toStdString();
    ASSERT_TRUE(server.createXarvaneDatabase(QStringLiteral("options_ours")));
    open();
    auto* serverText = control<QLineEdit>("edtServer");
    EXPECT_TRUE(serverText->text().isEmpty());
    EXPECT_EQ(control<QLineEdit>("edtStation")->placeholderText(), QSysInfo::machineHostName());

    const QList<std::pair<QString, QString>> answers{
        {server.conninfo(QStringLiteral("options_ours")), QStringLiteral("服务器连接正常")},
        {server.conninfo(QStringLiteral("xarvane")), QStringLiteral("不是Xarvane的数据库")},
        {QStringLiteral("host=127.0.0.1 port=1 dbname=x"), QStringLiteral("无法连接服务器")},
    };
    for (const auto& [conninfo, said] : answers) {
        prompter.prompts.clear();
        serverText->setText(conninfo);
        click("btnTestServer");
        ASSERT_EQ(prompter.prompts.size(), 1);
        EXPECT_TRUE(prompter.prompts[0].text.contains(said)) << prompter.prompts[0].text.toStdString();
    }

    serverText->setText(QStringLiteral("  ") + server.conninfo(QStringLiteral("options_ours")) + QStringLiteral(" "));
    control<QLineEdit>("edtStation")->setText(QStringLiteral(" 机房3号 "));
    prompter.prompts.clear();
    click("btnOk");
    const TSettings stored = LoadSettings(fileRegistry, ras, prompter);
    EXPECT_EQ(stored.Server, server.conninfo(QStringLiteral("options_ours")));
    EXPECT_EQ(stationName(stored), QStringLiteral("机房3号"));
    ASSERT_FALSE(prompter.prompts.isEmpty());
    EXPECT_TRUE(prompter.prompts.last().text.contains(QStringLiteral("下次启动")));
}

TEST_F(OptionsDialogTest, DefaultsThenCancelChangesNothingDefaultsThenOkKeepsTheCustomPeriods)
{
    context.settings.DefaultTime = 3;
    context.settings.FWStyle = 1;
    context.settings.Precision = 1;
    context.settings.DefaultConnName = QStringLiteral("163");
    writeSettings(
        fileRegistry, context.settings,
        {&TSettings::DefaultTime, &TSettings::FWStyle, &TSettings::Precision, &TSettings::DefaultConnName});
    const TSettings before = context.settings;
    const QByteArray fileBefore = fileBytes();
    open();
    prompter.answers = {PromptAnswer::Yes};
    click("btnDefault");
    EXPECT_EQ(prompter.prompts.last().text, QStringLiteral("确定恢复为默认设置吗？"));
    EXPECT_EQ(prompter.prompts.last().kind, PromptKind::Confirmation);
    EXPECT_EQ(defaultCaption(), QStringLiteral("默认时间段：本周"));
    EXPECT_EQ(control<QComboBox>("cbDefaultConnName")->currentText(), QStringLiteral("所有连接"));
    EXPECT_FALSE(control<QCheckBox>("chkbBigSize")->isChecked());
    click("btnCancel");
    EXPECT_EQ(context.settings, before);
    EXPECT_EQ(fileBytes(), fileBefore);
    EXPECT_TRUE(log.isEmpty());

    open();
    click("btnDefault"); // answered No: nothing changes in the dialog
    EXPECT_EQ(defaultCaption(), QStringLiteral("默认时间段：2004-2-1*2004-2-29"));
    prompter.answers = {PromptAnswer::Yes};
    click("btnDefault");
    click("btnOk");
    EXPECT_EQ(context.settings.DefaultTime, 0);
    EXPECT_EQ(context.settings.FWStyle, 0);
    EXPECT_EQ(context.settings.Precision, 0);
    EXPECT_EQ(context.settings.Interval, 6);
    EXPECT_TRUE(context.settings.AutoRun);
    EXPECT_EQ(context.settings.DefaultConnName, QStringLiteral("所有连接"));
    EXPECT_EQ(readTimePeriods(fileRegistry).size(), 4);
}

// A failed save keeps the dialog open; Cancel then changes nothing, in memory, in the other
// windows or in the settings file.
TEST_F(OptionsDialogTest, AFailedAutostartWriteKeepsTheDialogOpenAndCancelThenChangesNothing)
{
    QFile blocker(dir.filePath(QStringLiteral("autostart")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    const TSettings before = context.settings;
    const QStringList periodsBefore = readTimePeriods(fileRegistry);
    open();
    QSignalSpy timer(dialog.get(), &TwinOption::recordTimerPeriodChanged);
    QSignalSpy lists(dialog.get(), &TwinOption::queryListsChanged);
    QSignalSpy total(dialog.get(), &TwinOption::totalWanted);
    control<QCheckBox>("chkbAutoBackup")->click();
    control<QSpinBox>("sedtTime")->setValue(30);
    setDates(QDate(2004, 1, 1), QDate(2004, 1, 31));
    click("btnAddTime");
    click("btnOk");
    EXPECT_TRUE(dialog->isVisible());
    ASSERT_EQ(prompter.prompts.size(), 1);
    EXPECT_EQ(prompter.prompts[0].kind, PromptKind::Error);
    EXPECT_TRUE(prompter.prompts[0].text.contains(QStringLiteral("开机自动启动[Xarvane]")));
    EXPECT_TRUE(prompter.prompts[0].text.contains(autoStart.inner().filePath()));
    EXPECT_EQ(timer.size() + lists.size() + total.size(), 0);
    EXPECT_EQ(context.settings, before);
    EXPECT_EQ(LoadSettings(fileRegistry, ras, prompter), before) << "the values written first are put back";
    EXPECT_EQ(readTimePeriods(fileRegistry), periodsBefore);

    click("btnCancel");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(timer.size() + lists.size() + total.size(), 0);
    EXPECT_EQ(context.settings, before);

    // Once the entry can be written, the same OK stores everything and tells the windows.
    blocker.remove();
    open();
    control<QCheckBox>("chkbAutoBackup")->click();
    click("btnOk");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(context.settings.AutoBackup);
    EXPECT_TRUE(LoadSettings(fileRegistry, ras, prompter).AutoBackup);
}

// An emptied interval box counts as 2, a number below the range as 2, whether OK is pressed
// with the box still being edited or Enter leaves it.
TEST_F(OptionsDialogTest, AnEmptiedIntervalCountsAsTwo)
{
    context.settings.TimeRecord = true; // the box takes typing
    context.settings.Interval = 60;
    for (const auto& [typed, enter] : {std::pair{"", false}, std::pair{"", true}, std::pair{"1", true}}) {
        open();
        auto* interval = control<QSpinBox>("sedtTime");
        ASSERT_EQ(interval->value(), 60);
        QSignalSpy timer(dialog.get(), &TwinOption::recordTimerPeriodChanged);
        QTest::keyClick(interval, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(interval, Qt::Key_Backspace);
        QTest::keyClicks(interval, QString::fromLatin1(typed));
        if (enter)
            QTest::keyClick(interval, Qt::Key_Return); // the default button: OK
        else
            click("btnOk");
        EXPECT_FALSE(dialog->isVisible()) << typed;
        EXPECT_EQ(context.settings.Interval, 2) << "typed \"" << typed << "\", Enter " << enter;
        EXPECT_EQ(LoadSettings(fileRegistry, ras, prompter).Interval, 2);
        ASSERT_EQ(timer.size(), 1);
        EXPECT_EQ(timer[0][0].toInt(), 2 * 60000);
        context.settings.Interval = 60;
    }
}

} // namespace
} // namespace xr::test
