#include "browser/QueryPanel.h"

#include "browser/RecordQueries.h"
#include "common/DisplayFormats.h"
#include "common/NamedControls.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

namespace xr {

namespace {

constexpr int kRowHeight = 22;
constexpr int kRows[] = {4, 30, 56, 82};
constexpr int kTotalsGap = 12;

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& caption)
{
    QLabel* label = makeNamed<QLabel>(parent, name);
    label->setText(caption);
    return label;
}

QCheckBox* makeCheckBox(QWidget* parent, const QString& name, const QString& caption)
{
    QCheckBox* box = makeNamed<QCheckBox>(parent, name);
    box->setText(caption);
    return box;
}

QDateEdit* makeDatePicker(QWidget* parent, const QString& name)
{
    QDateEdit* picker = makeNamed<QDateEdit>(parent, name);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(kShortDateFormat);
    return picker;
}

PickList pickListOf(const QComboBox& list)
{
    PickList pick;
    for (int i = 0; i < list.count(); ++i)
        pick.items.append(list.itemText(i));
    pick.index = list.currentIndex();
    return pick;
}

// Fills a list; it opens wide enough for every item, however narrow the closed box.
void fill(QComboBox& list, const QStringList& items)
{
    list.clear();
    list.addItems(items);
    list.view()->setMinimumWidth(list.view()->sizeHintForColumn(0) + 2 * list.view()->frameWidth());
}

void place(QWidget* control, int x, int row, int width)
{
    control->setGeometry(x, kRows[row], width, kRowHeight);
}

} // namespace

QueryPanel::QueryPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("pnlFind"));
    setFixedSize(kWidth, kHeight);
    createControls();
    placeControls();
    showTimeConditions();
    connect(m_chkbTime, &QCheckBox::clicked, this, &QueryPanel::chkbTimeClick);
    connect(m_chkbSdt, &QCheckBox::clicked, this, &QueryPanel::chkbSdtClick);
    connect(m_chkbEdt, &QCheckBox::clicked, this, &QueryPanel::chkbEdtClick);
    connect(m_btnFind, &QPushButton::clicked, this, &QueryPanel::findRequested);
    connect(m_btnRefresh, &QPushButton::clicked, this, &QueryPanel::refreshRequested);
}

void QueryPanel::createControls()
{
    // The counter at the top left; the byte total and the time total side by side at the top
    // right. Each is as wide as its text, so that the three share the line as their texts need.
    m_pnlTotals = makeNamed<QWidget>(this, QStringLiteral("pnlTotals"));
    auto* row = new QHBoxLayout(m_pnlTotals);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(kTotalsGap);
    m_lblCount = makeNamed<QLabel>(m_pnlTotals, QStringLiteral("lblCount"));
    m_lblTraffic = makeNamed<QLabel>(m_pnlTotals, QStringLiteral("lblTraffic"));
    m_lblFare = makeNamed<QLabel>(m_pnlTotals, QStringLiteral("lblFare"));
    m_lblFare->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    row->addWidget(m_lblCount);
    row->addStretch();
    row->addWidget(m_lblTraffic);
    row->addWidget(m_lblFare);
    m_lblUser = makeLabel(this, QStringLiteral("lblUser"), QStringLiteral("用户："));
    m_cbUserName = makeNamed<QComboBox>(this, QStringLiteral("cbUserName"));
    m_lblConnName = makeLabel(this, QStringLiteral("lblConnName"), QStringLiteral("连接："));
    m_cbConnName = makeNamed<QComboBox>(this, QStringLiteral("cbConnName"));
    m_lblStation = makeLabel(this, QStringLiteral("lblStation"), QStringLiteral("电脑："));
    m_cbStation = makeNamed<QComboBox>(this, QStringLiteral("cbStation"));
    m_lblTime = makeLabel(this, QStringLiteral("lblTime"), QStringLiteral("时间段："));
    m_cbTime = makeNamed<QComboBox>(this, QStringLiteral("cbTime"));
    m_chkbTime = makeCheckBox(this, QStringLiteral("chkbTime"), QStringLiteral("使用[时间段]条件查询"));
    m_lblSd = makeLabel(this, QStringLiteral("lblSd"), QStringLiteral("连接日期："));
    m_dtpSd = makeDatePicker(this, QStringLiteral("dtpSd"));
    m_lblEd = makeLabel(this, QStringLiteral("lblEd"), QStringLiteral("断开日期："));
    m_dtpEd = makeDatePicker(this, QStringLiteral("dtpEd"));
    m_chkbSdt = makeCheckBox(this, QStringLiteral("chkbSdt"), QStringLiteral("查询条件包括[连接日期]"));
    m_chkbEdt = makeCheckBox(this, QStringLiteral("chkbEdt"), QStringLiteral("查询条件包括[断开日期]"));
    m_btnFind = makeNamed<QPushButton>(this, QStringLiteral("btnFind"));
    m_btnFind->setText(QStringLiteral("查找"));
    m_btnFind->setDefault(true);
    m_btnRefresh = makeNamed<QPushButton>(this, QStringLiteral("btnRefresh"));
    m_btnRefresh->setText(QStringLiteral("刷新"));
    // Return on a focused button presses that button; anywhere else in the panel it searches.
    m_btnRefresh->setAutoDefault(true);
}

void QueryPanel::placeControls()
{
    place(m_pnlTotals, 8, 0, kWidth - 16);
    // Four lists share the first row; each opens as wide as its longest item.
    place(m_lblUser, 8, 1, 40);
    place(m_cbUserName, 48, 1, 100);
    place(m_lblConnName, 156, 1, 40);
    place(m_cbConnName, 196, 1, 110);
    place(m_lblStation, 314, 1, 40);
    place(m_cbStation, 354, 1, 90);
    place(m_lblTime, 452, 1, 56);
    place(m_cbTime, 508, 1, 109);
    place(m_chkbTime, 8, 2, 180);
    place(m_lblSd, 190, 2, 66);
    place(m_dtpSd, 256, 2, 124);
    place(m_lblEd, 392, 2, 66);
    place(m_dtpEd, 458, 2, 124);
    place(m_chkbSdt, 8, 3, 180);
    place(m_chkbEdt, 190, 3, 190);
    place(m_btnFind, 448, 3, 80);
    place(m_btnRefresh, 537, 3, 80);
}

// 查找 is the panel's default button: Return or Enter in any of its controls that does not use
// the key itself runs the search.
void QueryPanel::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        m_btnFind->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

RecordFilter QueryPanel::filter() const
{
    RecordFilter filter;
    filter.users = pickListOf(*m_cbUserName);
    filter.connections = pickListOf(*m_cbConnName);
    filter.stations = pickListOf(*m_cbStation);
    filter.periods = pickListOf(*m_cbTime);
    filter.userIds = m_slUserId;
    filter.time = m_time;
    filter.connectDate = m_dtpSd->date();
    filter.disconnectDate = m_dtpEd->date();
    return filter;
}

void QueryPanel::setUsers(const QStringList& names, const QStringList& ids)
{
    fill(*m_cbUserName, names);
    m_slUserId = ids;
}

void QueryPanel::clearUsers()
{
    setUsers({}, {});
}

void QueryPanel::setConnections(const QStringList& names)
{
    fill(*m_cbConnName, names);
    m_cbConnName->setCurrentIndex(static_cast<int>(names.size()) - 1);
}

void QueryPanel::setStations(const QStringList& names)
{
    fill(*m_cbStation, names);
    m_cbStation->setCurrentIndex(static_cast<int>(names.size()) - 1);
}

void QueryPanel::setPeriods(const QStringList& periods)
{
    fill(*m_cbTime, periods);
}

void QueryPanel::resetToDefaults(const TSettings& settings, const TConnection& user, const QDate& today)
{
    RecordFilter panel = filter();
    xr::resetToDefaults(panel, settings, user, today);
    m_time = panel.time;
    showTimeConditions();
    m_dtpSd->setDate(panel.connectDate);
    m_dtpEd->setDate(panel.disconnectDate);
    m_cbTime->setCurrentIndex(panel.periods.index);
    m_cbUserName->setCurrentIndex(panel.users.index);
    m_cbConnName->setCurrentIndex(panel.connections.index);
    m_cbStation->setCurrentIndex(panel.stations.index);
}

void QueryPanel::choose(int period, const QString& connection)
{
    m_cbTime->setCurrentIndex(period < m_cbTime->count() ? period : -1);
    m_cbConnName->setCurrentIndex(static_cast<int>(m_cbConnName->findText(connection)));
}

void QueryPanel::setCounter(const QString& text)
{
    m_lblCount->setText(text);
}

void QueryPanel::setTotal(const QString& text)
{
    m_lblFare->setText(text);
}

QString QueryPanel::total() const
{
    return m_lblFare->text();
}

void QueryPanel::setTraffic(const QString& text)
{
    m_lblTraffic->setText(text);
}

void QueryPanel::chkbTimeClick(bool checked)
{
    m_time.setPeriod(checked);
    showTimeConditions();
}

void QueryPanel::chkbSdtClick(bool checked)
{
    m_time.setConnectDate(checked);
    showTimeConditions();
}

void QueryPanel::chkbEdtClick(bool checked)
{
    m_time.setDisconnectDate(checked);
    showTimeConditions();
}

void QueryPanel::showTimeConditions()
{
    const QSignalBlocker blockTime(m_chkbTime);
    const QSignalBlocker blockSdt(m_chkbSdt);
    const QSignalBlocker blockEdt(m_chkbEdt);
    m_chkbTime->setChecked(m_time.period());
    m_chkbSdt->setChecked(m_time.connectDate());
    m_chkbEdt->setChecked(m_time.disconnectDate());
    m_cbTime->setEnabled(m_time.periodListEnabled());
    m_dtpSd->setEnabled(m_time.connectPickerEnabled());
    m_dtpEd->setEnabled(m_time.disconnectPickerEnabled());
}

} // namespace xr
