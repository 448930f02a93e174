#include "settings/utOption.h"

#include "common/AppContext.h"
#include "common/DisplayFormats.h"
#include "common/ScreenCentre.h"
#include "common/SpinEdit.h"
#include "settings/CustomTimes.h"
#include "settings/SaveOptions.h"
#include "settings/SettingsWriteError.h"
#include "store/Database.h"
#include "store/DateConversionError.h"
#include "store/PeriodBounds.h"
#include "store/PickLists.h"
#include "store/ServerDatabase.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QStyle>
#include <QTabWidget>

namespace xr {

namespace {

constexpr int kWidth = 337;
constexpr int kHeight = 372;
constexpr int kMinInterval = 2;
constexpr int kMaxInterval = 60;
constexpr int kDefaultInterval = 6;
constexpr int kIconSize = 32;
const QString kDefaultPeriodCaption = QStringLiteral("默认时间段：");
// A carriage return in a caption stands for a line break.
const QString kDatesCaption = QStringLiteral("起始日期                 截止日期\r ");

template <typename Control> Control* make(QWidget* parent, const QString& name, const QRect& geometry)
{
    auto* control = new Control(parent);
    control->setObjectName(name);
    control->setGeometry(geometry);
    return control;
}

template <typename Control>
Control* makeCaptioned(QWidget* parent, const QString& name, const QString& caption, const QRect& geometry)
{
    Control* control = make<Control>(parent, name, geometry);
    control->setText(caption);
    return control;
}

QDateEdit* makeDatePicker(QWidget* parent, const QString& name, const QRect& geometry)
{
    QDateEdit* picker = make<QDateEdit>(parent, name, geometry);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(kShortDateFormat);
    return picker;
}

// The blanks of the interval's caption make room for its spin edit, which takes their place.
const QString kIntervalCaption = QStringLiteral("时间间隔：            (分钟)");
const QString kIntervalLead = QStringLiteral("时间间隔：");

QRect spinEditPlace(const QLabel& caption)
{
    const QFontMetricsF metrics(caption.font());
    const qsizetype blanks = kIntervalCaption.count(QLatin1Char(' '));
    const int left = caption.x() + qRound(metrics.horizontalAdvance(kIntervalLead)) + 1;
    const int width = qRound(metrics.horizontalAdvance(QString(blanks, QLatin1Char(' ')))) - 2;
    return {left, caption.y(), width, caption.height()};
}

QString runEntryFailure(const QString& location)
{
    return QStringLiteral("无法保存“开机自动启动[Xarvane]”：自动启动项 %1 无法写入或删除。\r\r"
                          "请检查该文件及其所在文件夹是否可写，然后再按“确定”。")
        .arg(QDir::toNativeSeparators(location));
}

} // namespace

TwinOption::TwinOption(AppContext& context, const Database& adoConnMain, platform::AutoStart& autoStart,
                       QWidget* parent)
    : QDialog(parent), m_context(context), m_adoConnMain(adoConnMain), m_autoStart(autoStart)
{
    setObjectName(QStringLiteral("winOption"));
    setWindowTitle(QStringLiteral("XR设置选项"));
    setFixedSize(kWidth, kHeight);
    setModal(true);
    auto* pages = make<QTabWidget>(this, QStringLiteral("pcOption"), QRect(8, 8, kWidth - 16, 318));
    pages->addTab(createGeneralPage(), QStringLiteral("一般设置"));
    pages->addTab(createQueryPage(), QStringLiteral("查询设置"));
    pages->addTab(createServerPage(), QStringLiteral("服务器"));

    auto* btnDefault = makeCaptioned<QPushButton>(this, QStringLiteral("btnDefault"),
                                                  QStringLiteral("默认设置"), QRect(8, 338, 80, 25));
    auto* btnOk = makeCaptioned<QPushButton>(this, QStringLiteral("btnOk"), QStringLiteral("确定(&O)"),
                                             QRect(161, 338, 80, 25));
    auto* btnCancel = makeCaptioned<QPushButton>(this, QStringLiteral("btnCancel"),
                                                 QStringLiteral("取消(&C)"), QRect(249, 338, 80, 25));
    btnOk->setDefault(true);
    connect(btnDefault, &QPushButton::clicked, this, &TwinOption::btnDefaultClick);
    connect(btnOk, &QPushButton::clicked, this, &TwinOption::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &TwinOption::reject);
}

QWidget* TwinOption::createGeneralPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tsGeneral"));
    auto* imgOption = make<QLabel>(page, QStringLiteral("imgOption"), QRect(16, 16, kIconSize, kIconSize));
    imgOption->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(kIconSize, kIconSize));
    m_chkbAutoRun = makeCaptioned<QCheckBox>(page, QStringLiteral("chkbAutoRun"),
                                             QStringLiteral("开机自动启动[Xarvane]"), QRect(64, 16, 230, 22));
    m_chkbTimeRecord = makeCaptioned<QCheckBox>(page, QStringLiteral("chkbTimeRecord"),
                                                QStringLiteral("定时记录"), QRect(64, 44, 230, 22));
    auto* lblTimeRecord = makeCaptioned<QLabel>(page, QStringLiteral("lblTimeRecord"), kIntervalCaption,
                                                QRect(84, 72, 210, 22));
    m_sedtTime = make<SpinEdit>(page, QStringLiteral("sedtTime"), spinEditPlace(*lblTimeRecord));
    m_sedtTime->setRange(kMinInterval, kMaxInterval);
    m_sedtTime->setButtonSymbols(QAbstractSpinBox::NoButtons); // the arrow keys and the wheel step it
    m_sedtTime->setAlignment(Qt::AlignCenter);
    m_chkbAutoBackup = makeCaptioned<QCheckBox>(page, QStringLiteral("chkbAutoBackup"),
                                                QStringLiteral("自动备份数据库"), QRect(64, 102, 230, 22));
    m_chkbSavePwEnabled = makeCaptioned<QCheckBox>(page, QStringLiteral("chkbSavePwEnabled"),
                                                   QStringLiteral("允许保存密码"), QRect(64, 130, 230, 22));
    m_chkbBigSize = makeCaptioned<QCheckBox>(page, QStringLiteral("chkbBigSize"),
                                             QStringLiteral("使用大尺寸悬浮窗口"), QRect(64, 158, 230, 22));
    m_chkbFWTimeLeft = makeCaptioned<QCheckBox>(page, QStringLiteral("chkbFWTimeLeft"),
                                                QStringLiteral("悬浮窗口显示剩余上网时间"), QRect(64, 186, 230, 22));
    m_chkbRecordLan = makeCaptioned<QCheckBox>(page, QStringLiteral("chkbRecordLan"),
                                               QStringLiteral("同时记录有线和无线网络连接"), QRect(64, 214, 230, 22));
    auto* rgPrecision = make<QGroupBox>(page, QStringLiteral("rgPrecision"), QRect(16, 238, 285, 48));
    rgPrecision->setTitle(QStringLiteral("累计上网时间精确度(&P)"));
    m_rbMinutes = makeCaptioned<QRadioButton>(rgPrecision, QStringLiteral("rbMinutes"),
                                              QStringLiteral("分钟"), QRect(16, 24, 120, 22));
    m_rbSeconds = makeCaptioned<QRadioButton>(rgPrecision, QStringLiteral("rbSeconds"),
                                              QStringLiteral("秒钟"), QRect(150, 24, 120, 22));
    auto* precision = new QButtonGroup(rgPrecision);
    precision->addButton(m_rbMinutes, 0);
    precision->addButton(m_rbSeconds, 1);
    connect(m_chkbTimeRecord, &QCheckBox::clicked, this, &TwinOption::chkbTimeRecordClick);
    return page;
}

QWidget* TwinOption::createQueryPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tsQuery"));
    makeCaptioned<QLabel>(page, QStringLiteral("lblDefaultConnName"), QStringLiteral("默认连接名："),
                          QRect(16, 14, 84, 22));
    m_cbDefaultConnName = make<QComboBox>(page, QStringLiteral("cbDefaultConnName"), QRect(100, 12, 200, 24));
    m_lblTime = make<QLabel>(page, QStringLiteral("lblTime"), QRect(16, 42, 284, 22));
    m_lbTime = make<QListWidget>(page, QStringLiteral("lbTime"), QRect(16, 64, 284, 100));
    auto* dates = make<QLabel>(page, QStringLiteral("lblDates"), QRect(16, 168, 284, 32));
    dates->setText(QString(kDatesCaption).replace(QLatin1Char('\r'), QLatin1Char('\n')));
    m_dtpS = makeDatePicker(page, QStringLiteral("dtpS"), QRect(16, 190, 120, 24));
    m_dtpE = makeDatePicker(page, QStringLiteral("dtpE"), QRect(160, 190, 120, 24));
    auto* btnDel = makeCaptioned<QPushButton>(page, QStringLiteral("btnDel"), QStringLiteral("删除"),
                                              QRect(16, 226, 84, 25));
    auto* btnAddTime = makeCaptioned<QPushButton>(page, QStringLiteral("btnAddTime"), QStringLiteral("添加"),
                                                  QRect(116, 226, 84, 25));
    auto* btnDefaultTime = makeCaptioned<QPushButton>(page, QStringLiteral("btnDefaultTime"),
                                                      QStringLiteral("设为默认"), QRect(216, 226, 84, 25));
    connect(m_lbTime, &QListWidget::itemClicked, this, &TwinOption::lbTimeClick);
    connect(btnDel, &QPushButton::clicked, this, &TwinOption::btnDelClick);
    connect(btnAddTime, &QPushButton::clicked, this, &TwinOption::btnAddTimeClick);
    connect(btnDefaultTime, &QPushButton::clicked, this, &TwinOption::btnDefaultTimeClick);
    return page;
}

// The shared server of several PCs: its connection text, this PC's name in the shared records,
// and a test of the typed connection.
QWidget* TwinOption::createServerPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tsServer"));
    makeCaptioned<QLabel>(page, QStringLiteral("lblServer"), QStringLiteral("服务器(&S)："), QRect(16, 14, 284, 22))
        ->setBuddy(m_edtServer = make<QLineEdit>(page, QStringLiteral("edtServer"), QRect(16, 38, 284, 24)));
    m_edtServer->setPlaceholderText(QStringLiteral("host=地址 port=5432 dbname=xarvane user=用户名"));
    auto* hint = makeCaptioned<QLabel>(page, QStringLiteral("lblServerHint"),
                                       QStringLiteral("留空表示本机单独使用自己的数据库。\n密码从本机用户的密码文件"
                                                      "(~/.pgpass)读取，不保存在设置中。"),
                                       QRect(16, 66, 284, 60));
    hint->setWordWrap(true);
    makeCaptioned<QLabel>(page, QStringLiteral("lblStation"), QStringLiteral("本机名称(&N)："), QRect(16, 132, 284, 22))
        ->setBuddy(m_edtStation = make<QLineEdit>(page, QStringLiteral("edtStation"), QRect(16, 156, 284, 24)));
    m_edtStation->setPlaceholderText(QSysInfo::machineHostName());
    m_edtStation->setMaxLength(50);
    auto* btnTestServer = makeCaptioned<QPushButton>(page, QStringLiteral("btnTestServer"),
                                                     QStringLiteral("测试连接"), QRect(16, 196, 96, 25));
    connect(btnTestServer, &QPushButton::clicked, this, &TwinOption::btnTestServerClick);
    return page;
}

void TwinOption::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        centreOnScreen(*this);
        FormShow();
    }
    QDialog::showEvent(event);
}

void TwinOption::FormShow()
{
    const TSettings& settings = m_context.settings;
    m_chkbBigSize->setChecked(settings.FWStyle != 0);
    m_chkbFWTimeLeft->setChecked(settings.FWTimeLeft);
    m_chkbAutoRun->setChecked(settings.AutoRun);
    m_chkbTimeRecord->setChecked(settings.TimeRecord);
    m_sedtTime->setValue(settings.Interval);
    m_sedtTime->setEnabled(settings.TimeRecord);
    m_periods.emplace(readTimePeriods(m_context.registry), settings.DefaultTime);
    showPeriods(settings.DefaultTime);
    lbTimeClick();
    m_rbMinutes->setChecked(settings.Precision == 0);
    m_rbSeconds->setChecked(settings.Precision == 1);
    m_cbDefaultConnName->clear();
    m_cbDefaultConnName->addItems(FillConnNames(m_adoConnMain.connection()));
    m_cbDefaultConnName->setCurrentIndex(
        static_cast<int>(m_cbDefaultConnName->findText(settings.DefaultConnName)));
    m_chkbAutoBackup->setChecked(settings.AutoBackup);
    m_chkbSavePwEnabled->setChecked(settings.SavePwEnabled);
    m_chkbRecordLan->setChecked(settings.RecordLan);
    m_edtServer->setText(settings.Server);
    m_edtServer->setCursorPosition(0); // the host first
    m_edtStation->setText(settings.Station);
}

// The list from the working periods, `selected` chosen, and the default period's caption.
void TwinOption::showPeriods(int selected)
{
    m_lbTime->clear();
    m_lbTime->addItems(m_periods->entries());
    m_lbTime->setCurrentRow(selected < m_lbTime->count() ? selected : -1);
    m_lblTime->setText(kDefaultPeriodCaption + m_periods->defaultText());
}

int TwinOption::selectedPeriod() const
{
    return m_lbTime->currentItem() && m_lbTime->currentItem()->isSelected() ? m_lbTime->currentRow() : -1;
}

// The date pickers show the selected period. A custom period that is not two dates (a damaged
// stored value) leaves them as they are.
void TwinOption::lbTimeClick()
{
    const int selected = selectedPeriod();
    if (selected < 0)
        return;
    const QDate today = m_context.clock.now().date();
    PeriodDates dates;
    if (selected == 0) {
        dates = thisWeekDates(today);
    } else if (selected == 1) {
        dates = thisMonthDates(today);
    } else {
        try {
            dates = customPeriodDates(m_lbTime->item(selected)->text());
        } catch (const DateConversionError&) {
            return;
        }
    }
    m_dtpS->setDate(dates.first);
    m_dtpE->setDate(dates.last);
}

void TwinOption::btnAddTimeClick()
{
    const QString period = periodText(m_dtpS->date(), m_dtpE->date());
    if (!m_periods->add(period)) {
        m_context.prompter.inform(QLatin1Char('[') + period + QStringLiteral("] 时间段已经存在！"));
        return;
    }
    m_lbTime->addItem(period);
}

void TwinOption::btnDefaultTimeClick()
{
    const int selected = selectedPeriod();
    if (selected < 0)
        return;
    m_periods->setDefault(selected);
    m_lblTime->setText(kDefaultPeriodCaption + m_periods->defaultText());
}

void TwinOption::btnDelClick()
{
    const int selected = selectedPeriod();
    const qsizetype before = m_periods->entries().size();
    const int next = m_periods->remove(selected);
    if (m_periods->entries().size() != before)
        showPeriods(next);
}

void TwinOption::btnDefaultClick()
{
    if (!m_context.prompter.confirm(QStringLiteral("确定恢复为默认设置吗？")))
        return;
    m_chkbBigSize->setChecked(false);
    m_chkbFWTimeLeft->setChecked(false);
    m_chkbAutoRun->setChecked(true);
    m_chkbTimeRecord->setChecked(false);
    m_sedtTime->setEnabled(false);
    m_chkbAutoBackup->setChecked(false);
    m_chkbSavePwEnabled->setChecked(false);
    m_chkbRecordLan->setChecked(false);
    m_sedtTime->setValue(kDefaultInterval);
    m_periods->setDefault(0);
    showPeriods(0);
    m_cbDefaultConnName->setCurrentIndex(static_cast<int>(m_cbDefaultConnName->findText(kAllConnections)));
    m_rbMinutes->setChecked(true);
}

// Reaches the typed server (a few seconds at most) and says whether it answers with our tables.
void TwinOption::btnTestServerClick()
{
    const QString conninfo = m_edtServer->text().trimmed();
    if (conninfo.isEmpty()) {
        m_context.prompter.inform(QStringLiteral("没有填写服务器：本机单独使用自己的数据库。"));
        return;
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    ServerDatabase server(QStringLiteral("optionsServerTest"));
    const ServerAnswer answer = server.open(conninfo);
    server.close();
    QGuiApplication::restoreOverrideCursor();
    if (answer == ServerAnswer::Answered)
        m_context.prompter.inform(QStringLiteral("服务器连接正常：服务器已应答，其数据库是Xarvane的数据库。"));
    else
        m_context.prompter.warn(server.problem());
}

void TwinOption::chkbTimeRecordClick()
{
    m_sedtTime->setEnabled(m_chkbTimeRecord->isChecked());
}

// The settings in memory and the other windows change only once the options are stored, so
// that a failed save followed by Cancel leaves everything as it was.
void TwinOption::btnOkClick()
{
    m_sedtTime->interpretText(); // a number typed but not yet taken
    const TSettings chosen = chosenSettings();
    if (!saveOptions(chosen))
        return;
    const bool serverChanged = chosen.Server != m_context.settings.Server;
    m_context.settings = chosen;
    m_context.remoteAccess.setRecordLan(chosen.RecordLan); // the next poll counts accordingly
    m_sedtTime->setEnabled(chosen.TimeRecord);
    emit recordTimerPeriodChanged(recordTimerIntervalMs(chosen.Interval));
    emit queryListsChanged(m_periods->entries());
    emit floatWinRefreshWanted();
    emit totalWanted();
    if (serverChanged)
        m_context.prompter.inform(QStringLiteral("服务器设置已保存，将在下次启动Xarvane时生效。"));
    accept();
}

// The settings in memory with the dialog's values in place of their own.
TSettings TwinOption::chosenSettings() const
{
    TSettings settings = m_context.settings;
    settings.FWStyle = m_chkbBigSize->isChecked() ? 1 : 0;
    settings.FWTimeLeft = m_chkbFWTimeLeft->isChecked();
    settings.AutoRun = m_chkbAutoRun->isChecked();
    settings.TimeRecord = m_chkbTimeRecord->isChecked();
    settings.AutoBackup = m_chkbAutoBackup->isChecked();
    settings.SavePwEnabled = m_chkbSavePwEnabled->isChecked();
    settings.SavePw = settings.SavePwEnabled;
    settings.Interval = m_sedtTime->value();
    settings.DefaultConnName =
        m_cbDefaultConnName->currentIndex() < 0 ? QString() : m_cbDefaultConnName->currentText();
    settings.Precision = m_rbSeconds->isChecked() ? 1 : m_rbMinutes->isChecked() ? 0 : -1; // none chosen: -1
    settings.DefaultTime = m_periods->defaultPosition();
    settings.RecordLan = m_chkbRecordLan->isChecked();
    settings.Server = m_edtServer->text().trimmed();
    settings.Station = m_edtStation->text().trimmed();
    return settings;
}

// False, with the dialog kept open and the user told why, when the start-with-the-desktop entry
// could not be changed; the values stored before it are then put back as they were. Any other
// failure is left to the general error handling.
bool TwinOption::saveOptions(const TSettings& chosen)
{
    const QStringList storedPeriods = readTimePeriods(m_context.registry).mid(2);
    try {
        SaveOptions(m_context.registry, m_autoStart, m_context.programFolder, chosen, m_periods->customPeriods());
    } catch (const SettingsWriteError& error) {
        if (error.valueName() != QStringLiteral("Xarvane"))
            throw;
        storeOptionValues(m_context.registry, m_context.settings, storedPeriods);
        m_context.prompter.error(runEntryFailure(QString::fromStdString(m_autoStart.location())));
        return false;
    }
    return true;
}

} // namespace xr
