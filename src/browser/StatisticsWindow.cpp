#include "browser/StatisticsWindow.h"

#include "browser/ByteCountText.h"
#include "browser/DurationText.h"
#include "browser/UsageChart.h"
#include "browser/UsageChartView.h"
#include "common/AppContext.h"
#include "common/DisplayFormats.h"
#include "common/NamedControls.h"
#include "common/ScreenCentre.h"
#include "store/Database.h"
#include "store/DatabaseError.h"
#include "store/ReadOnlyDatabase.h"
#include "store/StatementInterrupt.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include <cmath>
#include <stdexcept>

namespace xr {

namespace {

constexpr int kWidth = 900;
constexpr int kHeight = 580;
constexpr int kBusyDaysWidth = 340;
constexpr double kSecondsPerDay = 86400.0;
const QString kPngSuffix = QStringLiteral("png");
const QString kSvgSuffix = QStringLiteral("svg");

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption)
{
    QPushButton* button = makeNamed<QPushButton>(parent, name);
    button->setText(caption);
    return button;
}

QString periodFormat(StatsPeriodKind kind)
{
    return kind == StatsPeriodKind::Year ? QStringLiteral("yyyy年") : QStringLiteral("yyyy年M月");
}

// The chosen file with the suffix of its filter when it has neither of the two.
QString chartFileName(const FileChoice& choice)
{
    const QString suffix = QFileInfo(choice.fileName).suffix().toLower();
    if (suffix == kPngSuffix || suffix == kSvgSuffix)
        return choice.fileName;
    return choice.fileName + QLatin1Char('.') + (choice.filter == 1 ? kSvgSuffix : kPngSuffix);
}

QString durationWords(double seconds)
{
    return DurationText(false, 0, seconds / kSecondsPerDay);
}

} // namespace

StatisticsWindow::Result
StatisticsWindow::readStatistics(const QString& file, const StatsRequest& request,
                                 const std::shared_ptr<StatementInterrupt>& interrupt)
{
    try {
        const ReadOnlyDatabase database(file);
        if (!database.isOpen())
            return {{}, QStringLiteral("无法打开数据库 %1").arg(file)};
        const StatementInterrupt::Attachment attached(*interrupt, database.connection());
        return {usageStatistics(database.connection(), request), {}};
    } catch (const DatabaseError& error) {
        return {{}, QString::fromStdString(error.what())};
    }
}

StatisticsWindow::StatisticsWindow(AppContext& context, const Database& adoConnMain,
                                   const RecordChoice& choice, QWidget* parent)
    : QWidget(parent, Qt::Window), m_context(context), m_adoConnMain(adoConnMain)
{
    setObjectName(QStringLiteral("winStats"));
    setWindowTitle(QStringLiteral("上网统计"));
    resize(kWidth, kHeight);
    centreOnScreen(*this);
    buildControls();
    fillGroupings();
    m_cbPeriod->addItems({QStringLiteral("月"), QStringLiteral("年"), QStringLiteral("全部")});
    m_dtpPeriod->setDate(m_context.clock.now().date());
    showPeriodPicker();
    connect(m_cbGroup, &QComboBox::currentIndexChanged, this, &StatisticsWindow::refresh);
    connect(m_cbPeriod, &QComboBox::currentIndexChanged, this, [this] {
        showPeriodPicker();
        refresh();
    });
    connect(m_dtpPeriod, &QDateEdit::dateChanged, this, &StatisticsWindow::refresh);
    connect(m_btnPrevious, &QPushButton::clicked, this, [this] { stepPeriod(-1); });
    connect(m_btnNext, &QPushButton::clicked, this, [this] { stepPeriod(1); });
    connect(m_btnSave, &QPushButton::clicked, this, &StatisticsWindow::btnSaveClick);
    connect(m_btnClose, &QPushButton::clicked, this, &QWidget::close);
    connect(&m_worker, &QFutureWatcher<Result>::finished, this, &StatisticsWindow::showResult);
    showChoice(choice);
}

StatisticsWindow::~StatisticsWindow()
{
    if (m_interrupt)
        m_interrupt->interrupt();
    m_worker.waitForFinished();
}

void StatisticsWindow::buildControls()
{
    m_lblChoice = makeNamed<QLabel>(this, QStringLiteral("lblChoice"));
    m_cbGroup = makeNamed<QComboBox>(this, QStringLiteral("cbGroup"));
    m_cbPeriod = makeNamed<QComboBox>(this, QStringLiteral("cbPeriod"));
    m_dtpPeriod = makeNamed<QDateEdit>(this, QStringLiteral("dtpPeriod"));
    m_btnPrevious = makeButton(this, QStringLiteral("btnPrevious"), QStringLiteral("上一个"));
    m_btnNext = makeButton(this, QStringLiteral("btnNext"), QStringLiteral("下一个"));
    m_chart = new UsageChartView(this);
    m_lvBusyDays = makeNamed<QTreeWidget>(this, QStringLiteral("lvBusyDays"));
    m_lvBusyDays->setHeaderLabels(
        {QStringLiteral("日期"), QStringLiteral("上网时间"), QStringLiteral("接收"), QStringLiteral("发送")});
    m_lvBusyDays->setRootIsDecorated(false);
    m_lvBusyDays->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_lvBusyDays->setFixedWidth(kBusyDaysWidth);
    m_lblState = makeNamed<QLabel>(this, QStringLiteral("lblState"));
    m_btnSave = makeButton(this, QStringLiteral("btnSave"), QStringLiteral("保存图表(&S)..."));
    m_btnClose = makeButton(this, QStringLiteral("btnClose"), QStringLiteral("关闭(&C)"));

    auto* pickers = new QHBoxLayout;
    pickers->addWidget(new QLabel(QStringLiteral("分组："), this));
    pickers->addWidget(m_cbGroup);
    pickers->addSpacing(12);
    pickers->addWidget(new QLabel(QStringLiteral("时段："), this));
    pickers->addWidget(m_cbPeriod);
    pickers->addWidget(m_dtpPeriod);
    pickers->addWidget(m_btnPrevious);
    pickers->addWidget(m_btnNext);
    pickers->addStretch();
    pickers->addWidget(m_lblChoice);

    auto* busyDays = new QVBoxLayout;
    busyDays->addWidget(new QLabel(QStringLiteral("最忙的日子（按上网时间）："), this));
    busyDays->addWidget(m_lvBusyDays);
    auto* middle = new QHBoxLayout;
    middle->addWidget(m_chart, 1);
    middle->addLayout(busyDays);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_lblState, 1);
    buttons->addWidget(m_btnSave);
    buttons->addWidget(m_btnClose);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(pickers);
    layout->addLayout(middle, 1);
    layout->addLayout(buttons);
}

// Only an administrator charts users side by side.
void StatisticsWindow::fillGroupings()
{
    m_cbGroup->addItem(QStringLiteral("按日期"),
                       QVariant::fromValue(static_cast<int>(StatsGrouping::ByDate)));
    if (m_context.currentConnection.Admin)
        m_cbGroup->addItem(QStringLiteral("按用户"),
                           QVariant::fromValue(static_cast<int>(StatsGrouping::ByUser)));
    m_cbGroup->addItem(QStringLiteral("按连接"),
                       QVariant::fromValue(static_cast<int>(StatsGrouping::ByConnection)));
}

void StatisticsWindow::showChoice(const RecordChoice& choice)
{
    m_choice = choice;
    if (!m_context.currentConnection.Admin)
        m_choice.userId = m_context.currentConnection.UserId;
    try {
        m_lblChoice->setText(choiceText(m_adoConnMain.connection(), m_choice));
    } catch (const DatabaseError& error) {
        m_lblChoice->setText(QString::fromStdString(error.what()));
    }
    refresh();
}

const UsageStatistics& StatisticsWindow::statistics() const
{
    return m_chart->statistics();
}

StatsPeriod StatisticsWindow::period() const
{
    return {static_cast<StatsPeriodKind>(m_cbPeriod->currentIndex()), m_dtpPeriod->date()};
}

StatsRequest StatisticsWindow::request() const
{
    return {m_choice, static_cast<StatsGrouping>(m_cbGroup->currentData().toInt()), period()};
}

// The picker shows the month or the year charted; every record has no date to pick.
void StatisticsWindow::showPeriodPicker()
{
    const StatsPeriodKind kind = period().kind;
    const bool dated = kind != StatsPeriodKind::All;
    m_dtpPeriod->setDisplayFormat(periodFormat(kind));
    m_dtpPeriod->setEnabled(dated);
    m_btnPrevious->setEnabled(dated);
    m_btnNext->setEnabled(dated);
}

void StatisticsWindow::stepPeriod(int step)
{
    m_dtpPeriod->setDate(nextPeriod(period(), step).date);
}

// One chart is read at a time; a request made meanwhile stops it and is read next.
void StatisticsWindow::refresh()
{
    if (m_worker.isRunning()) {
        m_interrupt->interrupt();
        m_readAgain = true;
        return;
    }
    m_lblState->setText(QStringLiteral("正在统计..."));
    m_interrupt = std::make_shared<StatementInterrupt>();
    m_worker.setFuture(QtConcurrent::run(readStatistics, m_adoConnMain.fileName(), request(), m_interrupt));
}

void StatisticsWindow::showResult()
{
    if (m_readAgain) {
        m_readAgain = false;
        refresh();
        return;
    }
    const Result result = m_worker.result();
    if (!result.error.isEmpty()) {
        m_lblState->setText(QStringLiteral("统计失败：") + result.error);
        m_chart->setStatistics({});
        showBusiestDays({});
    } else {
        m_lblState->clear();
        m_chart->setStatistics(result.statistics);
        showBusiestDays(result.statistics.busiestDays);
    }
    emit statisticsShown();
}

void StatisticsWindow::showBusiestDays(const QList<BusyDay>& days)
{
    m_lvBusyDays->clear();
    for (const BusyDay& day : days) {
        m_lvBusyDays->addTopLevelItem(
            new QTreeWidgetItem({day.date.toString(kShortDateFormat), durationWords(day.amount.seconds),
                                 byteCountText(std::llround(day.amount.received)),
                                 byteCountText(std::llround(day.amount.sent))}));
    }
}

void StatisticsWindow::btnSaveClick()
{
    const FileChoice choice = m_context.prompter.chooseFile(
        {FileDialogKind::Save,
         QStringLiteral("保存图表"),
         {QStringLiteral("PNG 图片 (*.png)"), QStringLiteral("SVG 图片 (*.svg)")},
         QStringLiteral("上网统计.png"),
         false,
         kPngSuffix});
    if (choice.fileName.isEmpty())
        return;
    const QString file = chartFileName(choice);
    try {
        if (QFileInfo(file).suffix().toLower() == kSvgSuffix)
            saveChartSvg(file, statistics(), m_chart->size());
        else
            saveChartPng(file, statistics(), m_chart->size());
    } catch (const std::runtime_error& error) {
        m_context.prompter.error(
            QStringLiteral("无法保存图表 %1：%2").arg(file, QString::fromStdString(error.what())));
    }
}

} // namespace xr
