// The companion program list: its file format, the dialog that edits it, and the starts after a
// sign-in, with small scripts that leave a marker file when they run.
#include "settings/CompanionPrograms.h"
#include "settings/CompanionList.h"
#include "settings/utSyn.h"

#include "common/ProgramFileFilter.h"

#include "platform/DesktopFileOpener.h"
#include "platform/Gbk.h"

#include "ScriptedPrompter.h"
#include "Unprivileged.h"

#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace xr::test {
namespace {

QByteArray gbk(const QString& text)
{
    return QByteArray::fromStdString(platform::toGbk(text.toStdString()));
}

QByteArray readAll(const QString& file)
{
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

void writeAll(const QString& file, const QByteArray& bytes)
{
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes);
}

TEST(CompanionListFile, GbkWithCrLfAfterEveryEntryAndEveryLineBreakRead)
{
    const QStringList entries{QStringLiteral("/opt/程序/邮件客户端.sh"), QString(),
                              QStringLiteral("/usr/bin/浏览器")};
    const QByteArray bytes = companionListBytes(entries);
    EXPECT_EQ(bytes, gbk(QStringLiteral("/opt/程序/邮件客户端.sh\r\n\r\n/usr/bin/浏览器\r\n")));
    EXPECT_EQ(parseCompanionList(bytes), entries);
    EXPECT_EQ(companionListBytes({}), QByteArray());
    EXPECT_EQ(parseCompanionList(QByteArray()), QStringList());

    // CR, LF and CR LF each end a line; a final break adds no entry, empty lines in between do.
    const auto list = [](const char* joined) { return QString::fromLatin1(joined).split(u'|'); };
    EXPECT_EQ(parseCompanionList("a\rb\nc\r\nd"), list("a|b|c|d"));
    EXPECT_EQ(parseCompanionList("a\n\n\r\rb\r\n"), list("a||||b"));
    EXPECT_EQ(parseCompanionList("a\r\n\r\n"), list("a|"));
    EXPECT_EQ(parseCompanionList(gbk(QStringLiteral("甲\r乙"))),
              (QStringList{QStringLiteral("甲"), QStringLiteral("乙")}));
}

class CompanionStarts : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    QString listFile() const { return companionListPath(appPath()); }
    QString appPath() const { return dir.path() + QLatin1Char('/'); }

    // An executable script that writes `marker` when it runs.
    QString script(const QString& name, const QString& marker)
    {
        const QString file = path(name);
        QDir().mkpath(QFileInfo(file).absolutePath());
        writeAll(file, QStringLiteral("#!/bin/sh\necho started > '%1'\n").arg(path(marker)).toUtf8());
        QFile(file).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        return file;
    }

    bool started(const QString& marker) const
    {
        return QTest::qWaitFor([&] { return QFile::exists(path(marker)); }, 5000);
    }

    void start() { StartCompanionPrograms(appPath(), prompter, opener); }

    QTemporaryDir dir;
    ScriptedPrompter prompter;
    platform::DesktopFileOpener opener;
};

QString missingWarning(const QString& entry)
{
    return QStringLiteral("[Xarvane]同时启动其它程序：\r\r[") + entry +
           QStringLiteral("] 不存在！\r\r请检查同时启动的其它程序列表。");
}

TEST_F(CompanionStarts, EveryListedFileStartsAndEachMissingOneIsWarnedAbout)
{
    const QString chinese = script(QStringLiteral("程序/邮件.sh"), QStringLiteral("mail.marker"));
    const QString second = script(QStringLiteral("second.sh"), QStringLiteral("second.marker"));
    const QString entry = path(QStringLiteral("启动项.desktop"));
    writeAll(entry, QStringLiteral("[Desktop Entry]\nType=Application\nName=Marker\n"
                                   "Exec=sh -c \"echo \\\\$0 > '%1'\" %c\n")
                        .arg(path(QStringLiteral("desktop.marker")))
                        .toUtf8());
    const QString missing = path(QStringLiteral("不存在.sh"));
    writeAll(listFile(), gbk(chinese + QStringLiteral("\r\n\r\n") + missing + QStringLiteral("\n") + entry +
                             QStringLiteral("\r") + second + QStringLiteral("\r\n")));
    start();
    EXPECT_TRUE(started(QStringLiteral("mail.marker")));
    EXPECT_TRUE(started(QStringLiteral("second.marker")));
    EXPECT_TRUE(started(QStringLiteral("desktop.marker")));
    EXPECT_EQ(readAll(path(QStringLiteral("desktop.marker"))), "Marker\n");
    ASSERT_EQ(prompter.prompts.size(), 2);
    EXPECT_EQ(prompter.prompts[0].text, missingWarning(QString()));
    EXPECT_EQ(prompter.prompts[1].text, missingWarning(missing));
    EXPECT_EQ(prompter.prompts[1].kind, PromptKind::Warning);
}

TEST_F(CompanionStarts, RelativeEntriesAreFoundFromTheCurrentFolderAndNoListStartsNothing)
{
    start();
    EXPECT_TRUE(prompter.prompts.isEmpty());
    EXPECT_FALSE(QFile::exists(listFile()));

    script(QStringLiteral("tools/relative.sh"), QStringLiteral("relative.marker"));
    writeAll(listFile(), "tools/relative.sh\r\n");
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    start();
    QDir::setCurrent(before);
    EXPECT_TRUE(started(QStringLiteral("relative.marker")));
    EXPECT_TRUE(prompter.prompts.isEmpty());
}

class CompanionDialog : public CompanionStarts {
protected:
    void open()
    {
        dialog = std::make_unique<TwinSyn>(appPath(), prompter);
        dialog->show();
    }
    QListWidget* list() const { return dialog->findChild<QListWidget*>(QStringLiteral("lbList")); }
    void click(const char* name) { dialog->findChild<QPushButton*>(QString::fromLatin1(name))->click(); }

    std::unique_ptr<TwinSyn> dialog;
};

TEST_F(CompanionDialog, ClosingWritesTheListHoweverTheDialogCloses)
{
    open();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("XR同时启动"));
    EXPECT_EQ(dialog->size(), QSize(593, 337));
    EXPECT_EQ(list()->count(), 0);
    dialog->close(); // the caption's close box: an empty list makes an empty file
    EXPECT_TRUE(QFile::exists(listFile()));
    EXPECT_EQ(readAll(listFile()), QByteArray());

    writeAll(listFile(), gbk(QStringLiteral("/opt/甲\n\n/opt/乙")));
    open();
    ASSERT_EQ(list()->count(), 3);
    prompter.fileAnswers = {{QStringLiteral("/opt/甲"), 0}};
    click("btnAdd"); // the same file may be listed twice
    EXPECT_EQ(prompter.fileRequests.last().kind, FileDialogKind::Open);
    EXPECT_TRUE(prompter.fileRequests.last().firstFilterPrograms);
    EXPECT_TRUE(prompter.fileRequests.last().filters.last().contains(QStringLiteral("(*)")));
    click("btnAdd"); // cancelled: nothing added
    list()->setCurrentRow(1);
    click("btnDel");
    click("btnClose");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(readAll(listFile()), gbk(QStringLiteral("/opt/甲\r\n/opt/乙\r\n/opt/甲\r\n")));
}

TEST_F(CompanionDialog, APathThatGbkCannotHoldIsRefusedWhenAddedAndSaysWhy)
{
    const QString hangul = QStringLiteral("/opt/한국/run");
    const QString emoji = QStringLiteral("/opt/表情😀/run");
    const QString chinese = QStringLiteral("/opt/程序/邮件€");
    open();
    prompter.fileAnswers = {{hangul, 0}, {emoji, 0}, {chinese, 0}};
    click("btnAdd");
    click("btnAdd");
    click("btnAdd");
    ASSERT_EQ(list()->count(), 1);
    EXPECT_EQ(list()->item(0)->text(), chinese);
    ASSERT_EQ(prompter.prompts.size(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(prompter.prompts[i].kind, PromptKind::Warning);
        EXPECT_TRUE(prompter.prompts[i].text.contains(i == 0 ? hangul : emoji))
            << prompter.prompts[i].text.toStdString();
        EXPECT_TRUE(prompter.prompts[i].text.contains(QStringLiteral("GBK编码无法表示")));
    }
    click("btnClose");
    EXPECT_EQ(readAll(listFile()), gbk(chinese + QStringLiteral("\r\n")));
}

// Another user's read-only list: closing says why it cannot be written and asks whether to try
// again; "否" closes the dialog and leaves the file as it was.
TEST_F(CompanionDialog, AListThatCannotBeWrittenIsRetriedOnRequestAndTheDialogStillCloses)
{
    const QByteArray before = gbk(QStringLiteral("/opt/甲\r\n"));
    writeAll(listFile(), before);
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0777), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(listFile()).constData(), 0444), 0);
    EXPECT_TRUE(runUnprivileged([this] {
        open();
        prompter.fileAnswers = {{QStringLiteral("/opt/乙"), 0}};
        click("btnAdd");
        prompter.answers = {PromptAnswer::Yes, PromptAnswer::No};
        click("btnClose");
        const bool asked = prompter.prompts.size() == 2 && prompter.prompts[1].kind == PromptKind::Warning &&
                           prompter.prompts[1].buttons == PromptButtons::YesNo &&
                           prompter.prompts[1].text.contains(QDir::toNativeSeparators(listFile())) &&
                           prompter.prompts[1].text.contains(QStringLiteral("是否重试"));
        return asked && prompter.answers.isEmpty() && !dialog->isVisible();
    })) << "asked twice (a retry, then No) and closed";
    EXPECT_EQ(readAll(listFile()), before);
}

// The add dialog's first filter: programs of any name (most have no suffix on Linux), desktop
// entries and folders to go through; other files only under "所有文件".
TEST(CompanionAddDialog, ProgramsOfAnyNameDesktopEntriesAndFoldersAreOffered)
{
    QTemporaryDir dir;
    writeAll(dir.filePath(QStringLiteral("firefox")), "#!/bin/sh\n");
    QFile::setPermissions(dir.filePath(QStringLiteral("firefox")), QFile::ReadOwner | QFile::ExeOwner);
    writeAll(dir.filePath(QStringLiteral("计算器.desktop")), "[Desktop Entry]\n");
    writeAll(dir.filePath(QStringLiteral("notes.txt")), "text\n");
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("bin")));

    QFileSystemModel files;
    QSignalSpy loaded(&files, &QFileSystemModel::directoryLoaded);
    const QModelIndex folder = files.setRootPath(dir.path());
    ASSERT_TRUE(loaded.wait(5000));
    ProgramFileFilter programs;
    programs.setSourceModel(&files);
    const auto shown = [&] {
        QStringList names;
        const QModelIndex parent = programs.mapFromSource(folder);
        for (int row = 0; row < programs.rowCount(parent); ++row)
            names.append(programs.index(row, 0, parent).data().toString());
        names.sort();
        return names;
    };
    EXPECT_EQ(shown(), (QStringList{QStringLiteral("bin"), QStringLiteral("firefox"),
                                    QStringLiteral("计算器.desktop")}));
    programs.setActive(false);
    EXPECT_EQ(shown().size(), 4);
}

} // namespace
} // namespace xr::test
