// Printing and exporting the listed records: the refusals, the labels (listed user, connection),
// and the report itself, rendered to PDF and read back as text and as pixels.
#include "MainWindowFixture.h"

#include "browser/ListExport.h"
#include "browser/PrintCommands.h"
#include "browser/ReportFont.h"
#include "browser/ReportLayout.h"
#include "browser/WorkProgress.h"
#include "browser/utrptList.h"
#include "store/Identifiers.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QPageRanges>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTimer>

namespace xr::test {
namespace {

QDateTime at(int month, int day, int hour, int minute, int second = 0)
{
    return QDateTime(QDate(2004, month, day), QTime(hour, minute, second));
}

class Printing : public MainWindowFixture {
protected:
    PrintCommands commands() { return PrintCommands(context, notify); }
    std::optional<ReportTexts> prepare()
    {
        return commands().prepareReport(window->list(), window->totalText());
    }

    // Records of this week (Monday 2004-03-01 to Sunday 03-07), added out of order.
    void addWeek(const QString& userId)
    {
        addRecord(at(3, 5, 20, 0), at(3, 5, 22, 0), userId, QStringLiteral("甲连接"));
        addRecord(at(3, 2, 10, 0), at(3, 2, 11, 5, 7), userId, QStringLiteral("163"));
        addRecord(at(3, 2, 10, 0), at(3, 2, 10, 0, 42), userId, QStringLiteral("169"));
    }

    // The administrator's panel on `user` (an item of the user list) and `connection`, then 查找.
    void find(const QString& user, const QString& connection)
    {
        auto* users = window->findChild<QComboBox*>(QStringLiteral("cbUserName"));
        users->setCurrentIndex(users->findText(user));
        auto* connections = window->findChild<QComboBox*>(QStringLiteral("cbConnName"));
        connections->setCurrentIndex(connections->findText(connection));
        window->findChild<QPushButton*>(QStringLiteral("btnFind"))->click();
    }

    // Exports the list to `name` in the test folder, answering the file dialog.
    QString exportTo(const QString& name, int filter = 0)
    {
        const QString file = dir.filePath(name);
        prompter.fileAnswers = {{file, filter}};
        commands().actExportExecute(window->list(), window->totalText(), window.get());
        return file;
    }

    static QString tool(const QString& name) { return QStandardPaths::findExecutable(name); }

    // The text of a PDF file as pdftotext lays it out.
    static QString pdfText(const QString& file)
    {
        QProcess process;
        process.start(tool(QStringLiteral("pdftotext")),
                      {QStringLiteral("-layout"), file, QStringLiteral("-")});
        process.waitForFinished();
        return QString::fromUtf8(process.readAllStandardOutput());
    }
};

TEST_F(Printing, TheListedUserAndConnectionComeFromTheOpenList)
{
    addWeek(kZhangId);
    addWeek(kAnonymousUserId);
    signInAdmin();
    window->show();
    find(QStringLiteral("所有用户"), QStringLiteral("所有连接"));
    std::optional<ReportTexts> texts = prepare();
    ASSERT_TRUE(texts);
    EXPECT_EQ(texts->user, QStringLiteral("上网用户：所有用户"));
    EXPECT_EQ(texts->conn, QStringLiteral("连接名称：所有连接"));
    EXPECT_EQ(texts->pUser, QStringLiteral("打印清单用户：admin"));
    EXPECT_EQ(texts->date, QStringLiteral("打印时间：2004-3-7 9:05:03"));
    EXPECT_EQ(texts->title, QStringLiteral("[Xarvane]用户上网计时清单"));
    EXPECT_EQ(texts->total, window->totalText());

    find(kAnonymousUserName, QStringLiteral("163"));
    texts = prepare();
    ASSERT_TRUE(texts);
    EXPECT_EQ(texts->user, QStringLiteral("上网用户：匿名用户"));
    EXPECT_EQ(texts->conn, QStringLiteral("连接名称：163"));

    // An id without an account leaves the name empty.
    addUser(QStringLiteral("200403070900000"), QStringLiteral("王'五"));
    addWeek(QStringLiteral("200403070900000"));
    window->hide();
    window->show();
    find(QStringLiteral("王'五"), QStringLiteral("所有连接"));
    ASSERT_TRUE(prepare());
    EXPECT_EQ(prepare()->user, QStringLiteral("上网用户：王'五"));
    QSqlQuery(database.connection())
        .exec(QStringLiteral("delete from XRUser where UserId = '200403070900000'"));
    EXPECT_EQ(prepare()->user, QStringLiteral("上网用户："));
    EXPECT_TRUE(noErrorShown());
}

TEST_F(Printing, AnOrdinaryUserPrintsHisOwnNameByDefaultAndAfterFind)
{
    addWeek(kZhangId);
    signInZhang();
    window->show();
    EXPECT_EQ(prepare()->user, QStringLiteral("上网用户：张三"));
    window->findChild<QPushButton*>(QStringLiteral("btnFind"))->click();
    ASSERT_TRUE(window->list().query().text().contains(QStringLiteral("(UserId = '%1')").arg(kZhangId)));
    EXPECT_EQ(prepare()->user, QStringLiteral("上网用户：张三"));
    EXPECT_EQ(prepare()->pUser, QStringLiteral("打印清单用户：张三"));
}

TEST_F(Printing, RefusedWhileConnectedAndForAnEmptyListAlsoForExport)
{
    signInZhang();
    window->show();
    EXPECT_FALSE(prepare());
    commands().actExportExecute(window->list(), window->totalText(), window.get());
    addWeek(kZhangId);
    window->findChild<QPushButton*>(QStringLiteral("btnRefresh"))->click();
    connect(QStringLiteral("163"), at(3, 7, 9, 0));
    EXPECT_FALSE(prepare());
    commands().actExportExecute(window->list(), window->totalText(), window.get());
    QStringList texts;
    for (const Prompt& prompt : prompter.prompts) {
        EXPECT_EQ(prompt.kind, PromptKind::Information);
        texts << prompt.text;
    }
    EXPECT_EQ(texts, (QStringList{QStringLiteral("没有数据需要打印！"), QStringLiteral("没有数据需要导出！"),
                                  QStringLiteral("在上网连接状态下不允许打印上网清单！"),
                                  QStringLiteral("在上网连接状态下不允许导出上网清单！")}));
    EXPECT_TRUE(prompter.fileRequests.isEmpty());
}

TEST(ReportLayout, RecordsFillPagesAndTheSummaryFollowsTheLastRecord)
{
    // 47 records fit the first page below the title, 49 each further page; the summary needs
    // 10.8 mm below the last record and the 6.6 mm page footer stays free.
    const report::ReportLayout empty(0);
    EXPECT_EQ(empty.pageCount(), 1);
    EXPECT_TRUE(empty.page(0).title && empty.page(0).summary);
    EXPECT_EQ(report::ReportLayout(45).pageCount(), 1);
    const report::ReportLayout spill(46);
    ASSERT_EQ(spill.pageCount(), 2);
    EXPECT_EQ(spill.page(0).rows, 46);
    EXPECT_FALSE(spill.page(0).summary);
    EXPECT_EQ(spill.page(1).rows, 0);
    EXPECT_TRUE(spill.page(1).summary);
    const report::ReportLayout three(100);
    ASSERT_EQ(three.pageCount(), 3);
    EXPECT_EQ(three.page(0).rows, 47);
    EXPECT_EQ(three.page(1).firstRow, 47);
    EXPECT_EQ(three.page(1).rows, 49);
    EXPECT_EQ(three.page(2).firstRow, 96);
    EXPECT_EQ(three.page(2).rows, 4);
    EXPECT_FALSE(three.page(2).title);
    EXPECT_TRUE(three.page(2).summary);
}

// The names hold the characters whose glyphs CJK fonts share with radicals (⽤ looks as 用):
// the text read back from the PDF is the text drawn, never a radical.
TEST_F(Printing, ThePdfGivesBackTheTextOfItsPageInTheListsOrder)
{
    if (tool(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    if (!mapsGlyphsBackToIdeographs(reportFontFamily()))
        GTEST_SKIP() << "no installed CJK font gives its radicals glyphs of their own (fonts-arphic-uming)";
    const QString userId = QStringLiteral("200403070900001");
    const QString user = QStringLiteral("一小户日用");
    addUser(userId, user);
    addWeek(userId);
    addRecord(at(3, 6, 8, 0), at(3, 6, 8, 30), userId, QStringLiteral("网行里非长"));
    setTraffic(at(3, 6, 8, 0), 3LL * 1024 * 1024 * 1024, 1536);
    context.currentConnection = {userId, user, {}, 0, 0, false};
    window->show();
    const QString file = exportTo(QStringLiteral("清单"), 1); // the PDF filter adds the suffix
    ASSERT_TRUE(QFile::exists(file + QStringLiteral(".pdf")));
    const QString text = pdfText(file + QStringLiteral(".pdf"));
    for (const QString& expected :
         {QStringLiteral("[Xarvane]用户上网计时清单"), QStringLiteral("上网用户：一小户日用"),
          QStringLiteral("连接名称：所有连接"), QStringLiteral("打印清单用户：一小户日用"),
          QStringLiteral("打印时间：2004-3-7 9:05:03"), QStringLiteral("连接名称"),
          QStringLiteral("连接日期时间"), QStringLiteral("断开日期时间"), QStringLiteral("上网时间"),
          QStringLiteral("接收"), QStringLiteral("发送"), QStringLiteral("3.0 GB"), QStringLiteral("1.5 KB"),
          QStringLiteral("流量： 接收 3.0 GB 发送 1.5 KB"),
          QStringLiteral("网行里非长"), QStringLiteral("累计上网时间： 0天3小时37分"),
          QStringLiteral("Pellory Xarvane")})
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString() << "\n" << text.toStdString();
    const auto radical = std::find_if(text.begin(), text.end(), [](QChar c) {
        return c.unicode() >= 0x2E80 && c.unicode() <= 0x2FDF;
    });
    EXPECT_EQ(radical, text.end()) << text.toStdString();
    EXPECT_TRUE(QString(text).remove(QLatin1Char(' ')).contains(QStringLiteral("第1页/共1页")));
    // By start, then by connection name: 163 and 169 began at the same moment.
    const qsizetype first = text.indexOf(QStringLiteral("163"));
    const qsizetype second = text.indexOf(QStringLiteral("169"));
    const qsizetype third = text.indexOf(QStringLiteral("甲连接"));
    const qsizetype fourth = text.indexOf(QStringLiteral("网行里非长"));
    EXPECT_TRUE(first >= 0 && first < second && second < third && third < fourth) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("2004-3-2 10:00:00")));
    EXPECT_TRUE(text.contains(QStringLiteral("1小时5分7秒")));
}

// A connection name too long for its column is elided before the date columns, and every page
// carries its number among all in the footer.
TEST_F(Printing, LongNamesAreElidedInTheirColumnAndEveryPageIsNumbered)
{
    if (tool(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const QString longName = QStringLiteral("甲连接") + QString(60, QLatin1Char('W'));
    addRecord(at(3, 1, 7, 0), at(3, 1, 7, 30), kZhangId, longName);
    for (int minute = 0; minute < 59; ++minute)
        addRecord(at(3, 1, 8, minute), at(3, 1, 8, minute, 30), kZhangId);
    signInZhang();
    window->show();
    const QString file = exportTo(QStringLiteral("long.pdf"));
    const QString text = pdfText(file);
    EXPECT_FALSE(text.contains(longName));
    const QStringList lines = text.split(QLatin1Char('\n'));
    const auto row = std::find_if(lines.begin(), lines.end(), [](const QString& line) {
        return line.contains(QStringLiteral("甲连接"));
    });
    ASSERT_NE(row, lines.end()) << text.toStdString();
    // Cut within its column (the text map leaves out the ellipsis), before the start time.
    EXPECT_TRUE(row->startsWith(QStringLiteral("甲连接WWWW"))) << row->toStdString();
    EXPECT_LT(row->count(QLatin1Char('W')), 30) << row->toStdString();
    EXPECT_TRUE(row->contains(QStringLiteral("2004-3-1 7:00:00"))) << row->toStdString();
    EXPECT_TRUE(row->contains(QStringLiteral("2004-3-1 7:30:00"))) << row->toStdString();
    // Each page ends with its number, the footer below its last row.
    const QStringList pages = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), 2) << text.toStdString();
    for (int page = 0; page < 2; ++page) {
        // pdftotext drops the spaces between the characters.
        const QString lastLine = pages[page].trimmed().split(QLatin1Char('\n')).last().remove(QLatin1Char(' '));
        EXPECT_EQ(lastLine, QStringLiteral("第%1页/共2页").arg(page + 1)) << pages[page].toStdString();
    }
}

TEST_F(Printing, TheTableLinesStandWhereTheLayoutPutsThem)
{
    if (tool(QStringLiteral("pdftoppm")).isEmpty())
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    addWeek(kZhangId);
    signInZhang();
    window->show();
    const QString pdf = exportTo(QStringLiteral("lines.pdf"));
    const QString prefix = qEnvironmentVariable("XARVANE_KEEP_PAGE", dir.filePath(QStringLiteral("page")));
    ASSERT_EQ(QProcess::execute(tool(QStringLiteral("pdftoppm")),
                                {QStringLiteral("-r"), QStringLiteral("254"), QStringLiteral("-png"),
                                 QStringLiteral("-singlefile"), pdf, prefix}),
              0);
    const QImage page(prefix + QStringLiteral(".png"));
    ASSERT_EQ(page.width(), 2100); // 254 dpi: ten pixels per millimetre
    // Pixels at page millimetres (margin 10 mm): dark on a line, light beside it.
    const auto dark = [&](double x, double y) {
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                if (qGray(page.pixel(qRound(x * 10) + dx, qRound(y * 10) + dy)) < 128)
                    return true;
        return false;
    };                                    // within 0.1 mm
    const double header = 10 + 15.1;      // the column header band's top
    const double firstRow = header + 5.6; // the first record's top
    for (const double x : {0.0, 40.0, 79.0, 118.0, 152.6, 170.6, 188.6}) {
        EXPECT_TRUE(dark(10 + x, firstRow + 2.5)) << "column line at " << x;
        EXPECT_FALSE(dark(10 + x + 1.0, firstRow + 0.3)) << "beside the column line at " << x;
    }
    for (int row = 0; row < 3; ++row) {
        EXPECT_TRUE(dark(10 + 30, firstRow + row * 5.3 + 4.8)) << "rule under row " << row;
        EXPECT_FALSE(dark(10 + 30, firstRow + row * 5.3 + 3.8)) << "inside row " << row;
    }
    EXPECT_TRUE(dark(10 + 30, header)) << "top of the column header's frame";
    EXPECT_TRUE(dark(10 + 30, firstRow + 3 * 5.3 + 5.0)) << "the summary's closing rule";
    EXPECT_FALSE(dark(10 + 30, firstRow + 3 * 5.3 + 8.0)) << "below the table";
}

TEST_F(Printing, CsvHasABomTheGridsColumnsAndTheSeconds)
{
    addWeek(kZhangId);
    addRecord(at(3, 6, 8, 0), at(3, 6, 8, 1), kZhangId, QStringLiteral("办公室, \"二楼\""));
    addRecord(at(3, 6, 9, 0), at(3, 6, 9, 0, 5), kZhangId, QStringLiteral("=1+1"));
    setTraffic(at(3, 5, 20, 0), 3LL * 1024 * 1024 * 1024, 5LL * 1024 * 1024);
    signInZhang();
    window->show();
    const QString file = exportTo(QStringLiteral("清单.csv"));
    QFile csv(file);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QByteArray bytes = csv.readAll();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(
        QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n")),
        (QStringList{QStringLiteral("连接,连接日期时间,断开日期时间,上网时间,上网秒数,接收字节数,发送字节数,电脑"),
                     QStringLiteral("163,2004-3-2 10:00:00,2004-3-2 11:05:07,1小时5分7秒,3907,,,"),
                     QStringLiteral("169,2004-3-2 10:00:00,2004-3-2 10:00:42,0分42秒,42,,,"),
                     QStringLiteral("甲连接,2004-3-5 20:00:00,2004-3-5 22:00:00,2小时0分0秒,7200,3221225472,5242880,"),
                     QStringLiteral("\"办公室, \"\"二楼\"\"\",2004-3-6 8:00:00,2004-3-6 8:01:00,1分0秒,60,,,"),
                     QStringLiteral("'=1+1,2004-3-6 9:00:00,2004-3-6 9:00:05,0分5秒,5,,,"), QString()}))
        << "bytes plain, empty where unknown";

    // A file that cannot be written is an error with its name; nothing is left behind.
    const QString blocked = dir.filePath(QStringLiteral("no-such-folder/清单.csv"));
    WorkProgress progress;
    EXPECT_THROW(exportCsv(window->list(), blocked, progress), std::runtime_error);
    EXPECT_FALSE(QFile::exists(blocked));
}

// The preview draws the page it shows and counts every page; printing to a file prints the
// pages chosen in the printer dialog.
TEST_F(Printing, ThePreviewShowsEachPageAndPrintingTakesThePagesChosen)
{
    for (int day = 0; day < 60; ++day)
        addRecord(at(3, 1, 8, 0).addSecs(day * 60), at(3, 1, 8, 0).addSecs(day * 60 + 30), kZhangId);
    signInZhang();
    window->show();
    QString pageCount;
    QImage firstPage;
    QImage secondPage;
    QTimer::singleShot(0, [&] {
        QWidget* preview = QApplication::activeModalWidget();
        EXPECT_EQ(preview->objectName(), QStringLiteral("rptListPreview"));
        pageCount = preview->findChild<QLabel*>(QStringLiteral("lblPageCount"))->text();
        firstPage = preview->findChild<QLabel*>(QStringLiteral("lblPage"))->pixmap().toImage();
        preview->findChild<QAction*>(QStringLiteral("actLastPage"))->trigger();
        secondPage = preview->findChild<QLabel*>(QStringLiteral("lblPage"))->pixmap().toImage();
        EXPECT_EQ(preview->findChild<QSpinBox*>(QStringLiteral("sePage"))->value(), 2);
        preview->close();
    });
    commands().actPrintExecute(window->list(), window->totalText(), window.get());
    EXPECT_EQ(pageCount.trimmed(), QStringLiteral("共 2 页"));
    // An A4 page, with something drawn, and another on the second page.
    ASSERT_FALSE(firstPage.isNull());
    EXPECT_NEAR(double(firstPage.height()) / firstPage.width(), 297.0 / 210.0, 0.01);
    QImage blank(firstPage.size(), firstPage.format());
    blank.fill(Qt::white);
    EXPECT_NE(firstPage, blank);
    EXPECT_NE(firstPage, secondPage);

    if (tool(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const std::optional<ReportTexts> texts = prepare();
    ASSERT_TRUE(texts);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFileName(dir.filePath(QStringLiteral("printed.pdf")));
    printer.setPageRanges(QPageRanges::fromString(QStringLiteral("2")));
    EXPECT_TRUE(TrptList(window->list(), *texts).print(printer, window.get()));
    const QStringList pages = pdfText(printer.outputFileName()).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(QString(pages[0]).remove(QLatin1Char(' ')).contains(QStringLiteral("第2页/共2页"))) << pages[0].toStdString();
}

} // namespace
} // namespace xr::test
