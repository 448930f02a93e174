#include "users/utAllowance.h"

#include "common/AppContext.h"
#include "common/NamedControls.h"
#include "common/ScreenCentre.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace xr {

namespace {

constexpr AllowancePeriod kPeriodOfColumn[] = {AllowancePeriod::Today, AllowancePeriod::ThisWeek,
                                               AllowancePeriod::ThisMonth};

QString minutesText(const std::optional<int>& minutes)
{
    return minutes ? QString::number(*minutes) : QString();
}

QTableWidgetItem* readOnlyItem(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

} // namespace

TwinAllowance::TwinAllowance(AppContext& context, const Database& adoConnMain, QWidget* parent)
    : QDialog(parent), m_context(context), m_accounts(context.server, adoConnMain),
      m_rows(m_accounts.read(
          [&context](const QSqlDatabase& db) { return allowanceRows(db, context.clock.now()); }))
{
    setObjectName(QStringLiteral("winAllowance"));
    setWindowTitle(QStringLiteral("上网时限"));
    setModal(true);
    buildControls();
    showRows();
    connect(btnGrant, &QPushButton::clicked, this, &TwinAllowance::btnGrantClick);
    connect(btnOk, &QPushButton::clicked, this, &TwinAllowance::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &TwinAllowance::reject);
}

void TwinAllowance::buildControls()
{
    twAllowance = named(new QTableWidget(0, ColumnCount), "twAllowance");
    twAllowance->setHorizontalHeaderLabels({QStringLiteral("用户名"), QStringLiteral("每天(分钟)"),
                                            QStringLiteral("每周(分钟)"), QStringLiteral("每月(分钟)"),
                                            QStringLiteral("今天已加时(分钟)")});
    twAllowance->setSelectionBehavior(QAbstractItemView::SelectRows);
    twAllowance->setSelectionMode(QAbstractItemView::SingleSelection);
    twAllowance->verticalHeader()->hide();
    twAllowance->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    twAllowance->setMinimumSize(520, 240);
    edtGrant = named(new QLineEdit, "edtGrant");
    edtGrant->setFixedWidth(80);
    btnGrant = named(new QPushButton(QStringLiteral("加时(&G)")), "btnGrant");
    btnGrant->setAutoDefault(false);
    btnOk = named(new QPushButton(QStringLiteral("确定(&O)")), "btnOk");
    btnOk->setDefault(true);
    btnCancel = named(new QPushButton(QStringLiteral("取消(&C)")), "btnCancel");
    btnCancel->setAutoDefault(false);

    auto* grant = new QHBoxLayout;
    grant->addWidget(labelFor(QStringLiteral("给选中的用户今天加时(分钟)(&A)："), edtGrant));
    grant->addWidget(edtGrant);
    grant->addWidget(btnGrant);
    grant->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    auto* hint =
        new QLabel(QStringLiteral("提示：空白表示不限；每天最多%1分钟，每周最多%2分钟，每月最多%3分钟。")
                       .arg(mostMinutes(AllowancePeriod::Today))
                       .arg(mostMinutes(AllowancePeriod::ThisWeek))
                       .arg(mostMinutes(AllowancePeriod::ThisMonth)));
    hint->setStyleSheet(QStringLiteral("color: navy;"));
    layout->addWidget(hint);
    layout->addWidget(labelFor(QStringLiteral("用户列表(&L)"), twAllowance));
    layout->addWidget(twAllowance);
    layout->addLayout(grant);
    layout->addLayout(buttons);
}

void TwinAllowance::showRows()
{
    twAllowance->setRowCount(static_cast<int>(m_rows.size()));
    for (int row = 0; row < m_rows.size(); ++row) {
        const AllowanceRow& account = m_rows.at(row);
        twAllowance->setItem(row, NameColumn, readOnlyItem(account.UserName));
        twAllowance->setItem(row, DayColumn, new QTableWidgetItem(minutesText(account.allowance.DayMinutes)));
        twAllowance->setItem(row, WeekColumn,
                             new QTableWidgetItem(minutesText(account.allowance.WeekMinutes)));
        twAllowance->setItem(row, MonthColumn,
                             new QTableWidgetItem(minutesText(account.allowance.MonthMinutes)));
        twAllowance->setItem(row, GrantedColumn, readOnlyItem(QString::number(account.grantedToday)));
    }
}

void TwinAllowance::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    centreOnScreen(*this);
}

void TwinAllowance::btnOkClick()
{
    QList<Allowance> allowances;
    if (!typedAllowances(allowances))
        return;
    if (!storeAllowances(allowances)) {
        m_context.prompter.inform(QStringLiteral("服务器不可用，现在不能修改上网时限。请稍后再试。"));
        return; // the typed allowances stay, to be stored later
    }
    emit allowancesChanged();
    accept();
}

bool TwinAllowance::typedAllowances(QList<Allowance>& allowances)
{
    for (int row = 0; row < m_rows.size(); ++row) {
        Allowance allowance{m_rows.at(row).allowance.UserId, {}, {}, {}};
        std::optional<int>* fields[] = {&allowance.DayMinutes, &allowance.WeekMinutes,
                                        &allowance.MonthMinutes};
        for (int column = DayColumn; column <= MonthColumn; ++column) {
            const AllowancePeriod period = kPeriodOfColumn[column - DayColumn];
            const QString text = twAllowance->item(row, column)->text();
            const TypedMinutes typed = readAllowanceMinutes(text, period);
            if (!typed.valid) {
                m_context.prompter.warn(badAllowanceMinutesText(m_rows.at(row).UserName, period, text));
                twAllowance->setCurrentCell(row, column);
                twAllowance->setFocus();
                return false;
            }
            *fields[column - DayColumn] = typed.minutes;
        }
        allowances.append(allowance);
    }
    return true;
}

// All rows or none.
bool TwinAllowance::storeAllowances(const QList<Allowance>& allowances)
{
    return m_accounts.change([&allowances](const QSqlDatabase& db) {
        for (const Allowance& allowance : allowances)
            storeAllowance(db, allowance);
    });
}

void TwinAllowance::btnGrantClick()
{
    const int row = twAllowance->currentRow();
    if (row < 0) {
        m_context.prompter.inform(QStringLiteral("请先选择要加时的用户！"));
        return;
    }
    const std::optional<int> minutes = readGrantMinutes(edtGrant->text());
    if (!minutes) {
        m_context.prompter.warn(badGrantMinutesText(edtGrant->text()));
        edtGrant->setFocus();
        return;
    }
    AllowanceRow& account = m_rows[row];
    const bool granted = m_accounts.change([&](const QSqlDatabase& db) {
        grantToday(db, account.allowance.UserId, *minutes, m_context.currentConnection.UserId,
                   m_context.clock.now());
    });
    if (!granted) {
        m_context.prompter.inform(QStringLiteral("服务器不可用，现在不能加时。请稍后再试。"));
        return;
    }
    account.grantedToday += *minutes;
    twAllowance->item(row, GrantedColumn)->setText(QString::number(account.grantedToday));
    edtGrant->clear();
    emit allowancesChanged();
    m_context.prompter.inform(QStringLiteral("已给[%1]今天加时%2分钟。").arg(account.UserName).arg(*minutes));
}

} // namespace xr
