#include "MainWindowFixture.h"
#include "WaitUntil.h"

#include "browser/StatisticsWindow.h"
#include "browser/UsageChart.h"
#include "browser/UsageChartView.h"
#include "store/Identifiers.h"

#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTreeWidget>

namespace xr::test {
namespace {

constexpr qint64 kMB = 1024 * 1024;

QDateTime at(int month, int day, int hour, int minute = 0)
{
    return QDateTime(QDate(2004, month, day), QTime(hour, minute));
}

// A bar's expected online time in hours and bytes received and sent in MB.
struct Bar {
    QString label;
    double hours;
    double receivedMB;
    double sentMB;
};

class Statistics : public MainWindowFixture {
protected:
    // Zhang and Li around March 2004 (the clock stands on Sunday 2004-03-07): a record over
    // midnight, one over the end of February and one without byte counts.
    void addUsage()
    {
        addRecord(at(2, 29, 23, 30), at(3, 1, 0, 30), kZhangId); // half in each month
        setTraffic(at(2, 29, 23, 30), 2 * kMB, 0);
        addRecord(at(3, 2, 10), at(3, 2, 12), kZhangId);
        setTraffic(at(3, 2, 10), 2 * kMB, kMB);
        addRecord(at(3, 3, 23), at(3, 4, 1), kZhangId, QStringLiteral("169")); // over midnight
        setTraffic(at(3, 3, 23), 4 * kMB, 0);
        addRecord(at(3, 4, 8), at(3, 4, 8, 30), kLiId); // no counters
        addRecord(at(5, 10, 10), at(5, 10, 14), kZhangId);
        setTraffic(at(5, 10, 10), 6 * kMB, 2 * kMB);
    }

    // The main window lists every user's records, and the statistics window opens on them.
    StatisticsWindow* openForEveryUser()
    {
        signInAdmin();
        window->show();
        auto* users = window->findChild<QComboBox*>(QStringLiteral("cbUserName"));
        users->setCurrentIndex(users->count() - 1);
        window->findChild<QPushButton*>(QStringLiteral("btnFind"))->click();
        return openStatistics();
    }

    StatisticsWindow* openStatistics()
    {
        window->actions().actStats->trigger();
        auto* statistics = window->findChild<StatisticsWindow*>(QStringLiteral("winStats"));
        EXPECT_NE(statistics, nullptr);
        return statistics;
    }

    // Waits until the chart titled `title` is on show.
    static bool waitForChart(StatisticsWindow* statistics, const QString& title)
    {
        const auto* state = statistics->findChild<QLabel*>(QStringLiteral("lblState"));
        return waitUntil([&] { return state->text().isEmpty() && statistics->statistics().title == title; });
    }

    static void choose(StatisticsWindow* statistics, const QString& combo, const QString& item)
    {
        auto* box = statistics->findChild<QComboBox*>(combo);
        ASSERT_GE(box->findText(item), 0) << item.toStdString();
        box->setCurrentIndex(box->findText(item));
    }

    static UsageChartView* chart(StatisticsWindow* statistics)
    {
        return statistics->findChild<UsageChartView*>(QStringLiteral("chartView"));
    }

    // The run of `colour` going up from `bottom` (exclusive) in column `x`.
    static int runUp(const QImage& image, int x, int bottom, const QColor& colour)
    {
        int pixels = 0;
        while (bottom - 1 - pixels >= 0 && image.pixelColor(x, bottom - 1 - pixels) == colour)
            ++pixels;
        return pixels;
    }

    // Every bar's height in the chart as painted, against the heights its values give on axes
    // that end at `hoursTop` and `megabytesTop`: the time bar, then the received bytes with the
    // sent bytes stacked on them.
    static void expectBars(UsageChartView* view, const QList<Bar>& expected, double hoursTop,
                           double megabytesTop)
    {
        const QImage image = view->grab().toImage();
        const ChartLayout layout =
            chartLayout(view->rect(), view->statistics(), QFontMetricsF(view->font(), view));
        ASSERT_EQ(view->statistics().bars.size(), expected.size());
        const int timeBottom = qRound(layout.timePlot.bottom());
        const int trafficBottom = qRound(layout.trafficPlot.bottom());
        for (int i = 0; i < expected.size(); ++i) {
            const Bar& bar = expected.at(i);
            EXPECT_EQ(view->statistics().bars.at(i).label, bar.label);
            const int x = qRound(layout.columns.at(i).center().x());
            const int received = runUp(image, x, trafficBottom, kReceivedBarColour);
            EXPECT_NEAR(runUp(image, x, timeBottom, kTimeBarColour),
                        bar.hours / hoursTop * layout.timePlot.height(), 1)
                << bar.label.toStdString();
            EXPECT_NEAR(received, bar.receivedMB / megabytesTop * layout.trafficPlot.height(), 1)
                << bar.label.toStdString();
            EXPECT_NEAR(runUp(image, x, trafficBottom - received, kSentBarColour),
                        bar.sentMB / megabytesTop * layout.trafficPlot.height(), 1)
                << bar.label.toStdString();
        }
    }

    // A point of 7 March's empty column away from the grid lines.
    static QPoint emptyPoint(const ChartLayout& layout, const QRectF& plot)
    {
        return {qRound(layout.columns.at(6).center().x()), qRound(plot.top() + 0.37 * plot.height())};
    }

    static QList<Bar> daysOfMarch(const QList<Bar>& used)
    {
        QList<Bar> days;
        for (int day = 1; day <= 31; ++day)
            days.append({QString::number(day), 0, 0, 0});
        for (const Bar& bar : used)
            days[bar.label.toInt() - 1] = bar;
        return days;
    }
};

// Midnight splits a record by its overlap, bytes in proportion; the end of February cuts one.
TEST_F(Statistics, BarsPerDayAndPerMonthHaveTheHeightsOfTheirTimeAndBytes)
{
    addUsage();
    StatisticsWindow* statistics = openForEveryUser();
    ASSERT_TRUE(waitForChart(statistics, QStringLiteral("2004年3月 每日")));
    EXPECT_EQ(statistics->windowTitle(), QStringLiteral("上网统计"));
    EXPECT_EQ(statistics->findChild<QLabel*>(QStringLiteral("lblChoice"))->text(),
              QStringLiteral("上网用户：所有用户　连接名称：所有连接"));
    // Axes: 2 hours and 3 MB, each in whole steps.
    expectBars(chart(statistics),
               daysOfMarch({{QStringLiteral("1"), 0.5, 1, 0},
                            {QStringLiteral("2"), 2, 2, 1},
                            {QStringLiteral("3"), 1, 2, 0},
                            {QStringLiteral("4"), 1.5, 2, 0}}),
               2, 3);
    const auto* busy = statistics->findChild<QTreeWidget*>(QStringLiteral("lvBusyDays"));
    ASSERT_EQ(busy->topLevelItemCount(), 4);
    EXPECT_EQ(busy->topLevelItem(0)->text(0), QStringLiteral("2004-3-2"));
    EXPECT_EQ(busy->topLevelItem(0)->text(1), QStringLiteral("2小时0分0秒"));
    EXPECT_EQ(busy->topLevelItem(0)->text(2), QStringLiteral("2.0 MB"));
    EXPECT_EQ(busy->topLevelItem(1)->text(0), QStringLiteral("2004-3-4"));
    EXPECT_EQ(busy->topLevelItem(3)->text(1), QStringLiteral("30分0秒"));

    statistics->findChild<QPushButton*>(QStringLiteral("btnPrevious"))->click();
    ASSERT_TRUE(waitForChart(statistics, QStringLiteral("2004年2月 每日")));
    ASSERT_EQ(statistics->statistics().bars.size(), 29);
    EXPECT_NEAR(statistics->statistics().bars.at(28).amount.seconds, 1800, 0.01);
    EXPECT_NEAR(statistics->statistics().bars.at(28).amount.received, kMB, 1);

    choose(statistics, QStringLiteral("cbPeriod"), QStringLiteral("年"));
    ASSERT_TRUE(waitForChart(statistics, QStringLiteral("2004年 每月")));
    QList<Bar> months;
    for (int month = 1; month <= 12; ++month)
        months.append({QStringLiteral("%1月").arg(month), 0, 0, 0});
    months[1] = {QStringLiteral("2月"), 0.5, 1, 0};
    months[2] = {QStringLiteral("3月"), 5, 7, 1};
    months[4] = {QStringLiteral("5月"), 4, 6, 2};
    // Axes: 5 hours in steps of 2 make 6; 8 MB in steps of 2.
    expectBars(chart(statistics), months, 6, 8);
    EXPECT_TRUE(noErrorShown());
}

TEST_F(Statistics, BarsPerUserAndPerConnectionOverTheListsChoice)
{
    addUsage();
    StatisticsWindow* statistics = openForEveryUser();
    ASSERT_TRUE(waitForChart(statistics, QStringLiteral("2004年3月 每日")));
    choose(statistics, QStringLiteral("cbGroup"), QStringLiteral("按用户"));
    ASSERT_TRUE(waitForChart(statistics, QStringLiteral("2004年3月 按用户")));
    // Most time first. Axes: 5 hours (steps of 2 make 6), 7 MB (steps of 2 make 8).
    expectBars(chart(statistics), {{QStringLiteral("张三"), 4.5, 7, 1}, {QStringLiteral("李四"), 0.5, 0, 0}},
               6, 8);

    choose(statistics, QStringLiteral("cbGroup"), QStringLiteral("按连接"));
    ASSERT_TRUE(waitForChart(statistics, QStringLiteral("2004年3月 按连接")));
    expectBars(chart(statistics), {{QStringLiteral("163"), 3, 3, 1}, {QStringLiteral("169"), 2, 4, 0}}, 3, 4);

    // The list narrowed to one connection: the chart follows it.
    auto* connections = window->findChild<QComboBox*>(QStringLiteral("cbConnName"));
    connections->setCurrentIndex(connections->findText(QStringLiteral("169")));
    window->findChild<QPushButton*>(QStringLiteral("btnFind"))->click();
    ASSERT_TRUE(waitUntil([&] {
        return statistics->statistics().bars.size() == 1 &&
               statistics->findChild<QLabel*>(QStringLiteral("lblState"))->text().isEmpty();
    }));
    EXPECT_EQ(statistics->statistics().bars.first().label, QStringLiteral("169"));
    EXPECT_EQ(statistics->findChild<QLabel*>(QStringLiteral("lblChoice"))->text(),
              QStringLiteral("上网用户：所有用户　连接名称：169"));

    choose(statistics, QStringLiteral("cbPeriod"), QStringLiteral("全部"));
    choose(statistics, QStringLiteral("cbGroup"), QStringLiteral("按日期"));
    ASSERT_TRUE(waitForChart(statistics, QStringLiteral("全部 每年")));
    ASSERT_EQ(statistics->statistics().bars.size(), 1);
    EXPECT_EQ(statistics->statistics().bars.first().label, QStringLiteral("2004"));
    EXPECT_NEAR(statistics->statistics().bars.first().amount.seconds, 7200, 0.01);
    EXPECT_TRUE(noErrorShown());
}

// An ordinary user has no chart of users and sees his own records only, whatever the list.
TEST_F(Statistics, OrdinaryUserChartsOnlyHisOwnRecords)
{
    addUsage();
    signInZhang();
    window->show();
    StatisticsWindow* statistics = openStatistics();
    ASSERT_TRUE(waitForChart(statistics, QStringLiteral("2004年3月 每日")));
    auto* groups = statistics->findChild<QComboBox*>(QStringLiteral("cbGroup"));
    EXPECT_EQ(groups->findText(QStringLiteral("按用户")), -1);
    EXPECT_EQ(groups->count(), 2);
    EXPECT_NEAR(statistics->statistics().bars.at(3).amount.seconds, 3600, 0.01); // Li's half hour left out
    statistics->showChoice({});
    ASSERT_TRUE(waitForChart(statistics, QStringLiteral("2004年3月 每日")));
    EXPECT_NEAR(statistics->statistics().bars.at(3).amount.seconds, 3600, 0.01);

    // The window goes with the main window (a change of user hides it).
    window->actions().actChangeUser->trigger();
    EXPECT_TRUE(waitUntil([this] { return window->findChild<StatisticsWindow*>() == nullptr; }));
}

TEST_F(Statistics, HoverShowsTheBarsValuesOnAHighlightedColumn)
{
    addUsage();
    StatisticsWindow* statistics = openForEveryUser();
    ASSERT_TRUE(waitForChart(statistics, QStringLiteral("2004年3月 每日")));
    statistics->show();
    UsageChartView* view = chart(statistics);
    const ChartLayout layout =
        chartLayout(view->rect(), view->statistics(), QFontMetricsF(view->font(), view));
    // Above the half-high bar of 3 March.
    const QPointF overDay3(layout.columns.at(2).center().x(), layout.timePlot.top() + 2);
    QMouseEvent move(QEvent::MouseMove, overDay3, view->mapToGlobal(overDay3), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(view, &move);
    EXPECT_EQ(view->hoveredBar(), 2);
    EXPECT_EQ(view->toolTip(),
              QStringLiteral("2004年3月3日\n上网时间：1小时0分0秒\n接收：2.0 MB\n发送：0 B"));
    const QImage image = view->grab().toImage();
    EXPECT_EQ(image.pixelColor(overDay3.toPoint()), kHoverColour);
    const QPointF overDay4(layout.columns.at(3).center().x(), layout.timePlot.top() + 2);
    EXPECT_EQ(image.pixelColor(overDay4.toPoint()), QColor(Qt::white));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(view, &leave);
    EXPECT_EQ(view->hoveredBar(), -1);
    EXPECT_TRUE(view->toolTip().isEmpty());
}

// What is saved is the chart as shown: the PNG and the SVG load, with the bars where they are
// painted.
TEST_F(Statistics, ChartIsSavedAsPngAndSvgThatLoad)
{
    addUsage();
    StatisticsWindow* statistics = openForEveryUser();
    ASSERT_TRUE(waitForChart(statistics, QStringLiteral("2004年3月 每日")));
    UsageChartView* view = chart(statistics);
    const QString png = QDir(dir.path()).filePath(QStringLiteral("图表.png"));
    const QString svgWithoutSuffix = QDir(dir.path()).filePath(QStringLiteral("图表"));
    prompter.fileAnswers = {{png, 0}, {svgWithoutSuffix, 1}};
    statistics->btnSaveClick();
    statistics->btnSaveClick();
    ASSERT_EQ(prompter.fileRequests.size(), 2);
    EXPECT_EQ(prompter.fileRequests.first().title, QStringLiteral("保存图表"));
    EXPECT_EQ(prompter.fileRequests.first().filters,
              (QStringList{QStringLiteral("PNG 图片 (*.png)"), QStringLiteral("SVG 图片 (*.svg)")}));

    const QImage shown = view->grab().toImage();
    const QImage saved(png);
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.size(), view->size());
    QSvgRenderer svg(svgWithoutSuffix + QStringLiteral(".svg"));
    ASSERT_TRUE(svg.isValid());
    EXPECT_EQ(svg.viewBox(), QRect(QPoint(0, 0), view->size()));
    QImage drawn(view->size(), QImage::Format_RGB32);
    drawn.fill(Qt::black);
    {
        QPainter painter(&drawn);
        svg.render(&painter);
    }
    const ChartLayout layout =
        chartLayout(view->rect(), view->statistics(), QFontMetricsF(view->font(), view));
    for (const QPoint& inside :
         {layout.timeBars.at(1).center().toPoint(), layout.receivedBars.at(1).center().toPoint(),
          layout.sentBars.at(1).center().toPoint(), layout.timeBars.at(2).center().toPoint(),
          emptyPoint(layout, layout.timePlot), emptyPoint(layout, layout.trafficPlot)}) {
        EXPECT_EQ(saved.pixelColor(inside), shown.pixelColor(inside)) << inside.x() << "," << inside.y();
        EXPECT_EQ(drawn.pixelColor(inside), shown.pixelColor(inside)) << inside.x() << "," << inside.y();
    }
    EXPECT_EQ(shown.pixelColor(layout.timeBars.at(1).center().toPoint()), kTimeBarColour);

    prompter.fileAnswers = {{QDir(dir.path()).filePath(QStringLiteral("没有的文件夹/图表.png")), 0}};
    statistics->btnSaveClick();
    ASSERT_FALSE(prompter.prompts.isEmpty());
    EXPECT_EQ(prompter.prompts.last().kind, PromptKind::Error);
    EXPECT_TRUE(prompter.prompts.last().text.startsWith(QStringLiteral("无法保存图表")));
}

} // namespace
} // namespace xr::test
