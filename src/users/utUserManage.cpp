#include "users/utUserManage.h"

#include "common/AppContext.h"
#include "common/NamedControls.h"
#include "common/RowIndicator.h"
#include "common/ScreenCentre.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace xr {

namespace {

constexpr int kNameWidth = 150;
constexpr int kAdminWidth = 64;
constexpr int kEnabledWidth = 38;
constexpr int kRemarkWidth = 200;
constexpr int kIndicatorWidth = 12;
constexpr int kRowHeight = 19;
constexpr int kGridWidth = 500;
constexpr int kGridHeight = 240;

QLabel* navyHint(const QString& text)
{
    auto* label = new QLabel(text);
    label->setStyleSheet(QStringLiteral("color: navy;"));
    return label;
}

} // namespace

TwinUserManage::TwinUserManage(AppContext& context, const Database& adoConnMain, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), m_prompter(context.prompter),
      m_adodsUser(context, adoConnMain)
{
    setObjectName(QStringLiteral("winUserManage"));
    setWindowTitle(QStringLiteral("用户管理"));
    buildControls();
    connect(&m_adodsUser, &UserAccountsModel::currentRowChanged, this, &TwinUserManage::followCurrentRow);
    connect(&m_adodsUser, &UserAccountsModel::stateChanged, this, &TwinUserManage::updateNavigator);
    connect(dbgUser->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TwinUserManage::gridRowChosen);
    connect(dbgUser, &QTableView::doubleClicked, this, &TwinUserManage::dbgUserDblClick);
    m_adodsUser.open();
}

void TwinUserManage::buildControls()
{
    createGrid();
    buildNavigator();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        navyHint(QStringLiteral("提示：* * 在[编辑]或[新建]状态下双击[管理员]或[可用]字段可修改其值 * *")));
    layout->addWidget(navyHint(QStringLiteral("提示：* [用户名]不可以为空并且[用户名]不可以重复 *")));
    auto* heading = new QHBoxLayout;
    heading->addWidget(labelFor(QStringLiteral("用户列表(&L)"), dbgUser));
    heading->addStretch();
    heading->addWidget(navUser);
    layout->addLayout(heading);
    layout->addWidget(dbgUser);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TwinUserManage::createGrid()
{
    dbgUser = named(new QTableView, "dbgUser");
    auto* indicator = named(new RowIndicator(dbgUser), "dbgUserIndicator");
    dbgUser->setVerticalHeader(indicator);
    dbgUser->setModel(&m_adodsUser);
    indicator->follow(*dbgUser);
    dbgUser->setSelectionBehavior(QAbstractItemView::SelectRows);
    dbgUser->setSelectionMode(QAbstractItemView::SingleSelection);
    dbgUser->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed);
    dbgUser->setWordWrap(false);
    dbgUser->setFixedSize(kGridWidth, kGridHeight);
    dbgUser->setColumnWidth(UserAccountsModel::NameColumn, kNameWidth);
    dbgUser->setColumnWidth(UserAccountsModel::AdminColumn, kAdminWidth);
    dbgUser->setColumnWidth(UserAccountsModel::EnabledColumn, kEnabledWidth);
    dbgUser->setColumnWidth(UserAccountsModel::RemarkColumn, kRemarkWidth);
    dbgUser->horizontalHeader()->setHighlightSections(false);
    indicator->setSectionResizeMode(QHeaderView::Fixed);
    indicator->setMinimumSectionSize(kRowHeight);
    indicator->setDefaultSectionSize(kRowHeight);
    indicator->setFixedWidth(kIndicatorWidth);
}

QToolButton* TwinUserManage::addNavigatorButton(const char* name, const QString& glyph, const QString& hint)
{
    auto* button = named(new QToolButton(navUser), name);
    button->setText(glyph);
    button->setToolTip(hint);
    button->setFocusPolicy(Qt::StrongFocus); // clicking one ends the typing in the grid
    navUser->layout()->addWidget(button);
    return button;
}

// The navigator's buttons in their order, with their hints.
void TwinUserManage::buildNavigator()
{
    navUser = named(new QWidget, "navUser");
    auto* row = new QHBoxLayout(navUser);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    m_navFirst = addNavigatorButton("navFirst", QStringLiteral("|◀"), QStringLiteral("第一条记录"));
    m_navPrior = addNavigatorButton("navPrior", QStringLiteral("◀"), QStringLiteral("前一条记录"));
    m_navNext = addNavigatorButton("navNext", QStringLiteral("▶"), QStringLiteral("下一条记录"));
    m_navLast = addNavigatorButton("navLast", QStringLiteral("▶|"), QStringLiteral("最后一条记录"));
    m_navInsert = addNavigatorButton("navInsert", QStringLiteral("+"), QStringLiteral("新建用户"));
    m_navDelete = addNavigatorButton("navDelete", QStringLiteral("−"), QStringLiteral("删除用户"));
    m_navEdit = addNavigatorButton("navEdit", QStringLiteral("▲"), QStringLiteral("编辑用户信息"));
    m_navPost = addNavigatorButton("navPost", QStringLiteral("✓"), QStringLiteral("提交编辑结果"));
    m_navCancel = addNavigatorButton("navCancel", QStringLiteral("✗"), QStringLiteral("取消编辑结果"));

    const auto on = [this](QToolButton* button, auto action) {
        connect(button, &QToolButton::clicked, this, [this, action] {
            finishTyping();
            action();
            updateNavigator();
            dbgUser->setFocus(); // typing goes on in the grid
        });
    };
    const auto moveTo = [this](int row) { showRefusal(m_adodsUser.setCurrentRow(row)); };
    on(m_navFirst, [moveTo] { moveTo(0); });
    on(m_navPrior, [this, moveTo] { moveTo(m_adodsUser.currentRow() - 1); });
    on(m_navNext, [this, moveTo] { moveTo(m_adodsUser.currentRow() + 1); });
    on(m_navLast, [this, moveTo] { moveTo(m_adodsUser.rowCount() - 1); });
    on(m_navInsert, [this] { showRefusal(m_adodsUser.insert()); });
    on(m_navDelete, [this] { removeAccount(); });
    on(m_navEdit, [this] { m_adodsUser.edit(); });
    on(m_navPost, [this] { showRefusal(m_adodsUser.post()); });
    on(m_navCancel, [this] { m_adodsUser.cancel(); });
}

void TwinUserManage::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    centreOnScreen(*this);
    updateNavigator();
}

void TwinUserManage::reject()
{
    finishTyping();
    if (keepOrDiscardEdit())
        QDialog::reject();
}

bool TwinUserManage::keepOrDiscardEdit()
{
    if (!m_adodsUser.editing())
        return true;
    if (m_prompter.confirm(kSaveEditQuestion))
        return !showRefusal(m_adodsUser.post());
    m_adodsUser.cancel();
    return true;
}

void TwinUserManage::removeAccount()
{
    if (!m_adodsUser.removable() || showRefusal(m_adodsUser.removalRefusal()))
        return;
    // The server may stop answering while the question is open.
    if (m_prompter.confirm(QStringLiteral("确认删除该用户吗？")) && !m_adodsUser.remove())
        showRefusal(m_adodsUser.removalRefusal());
}

bool TwinUserManage::showRefusal(AccountRefusal refusal)
{
    if (refusal == AccountRefusal::None)
        return false;
    m_prompter.inform(refusalText(refusal));
    return true;
}

// A cell being typed into hands its text to the row before a navigator button acts.
void TwinUserManage::finishTyping()
{
    const QWidget* focused = focusWidget();
    if (focused && focused != dbgUser && dbgUser->isAncestorOf(focused))
        dbgUser->setFocus();
}

void TwinUserManage::followCurrentRow(int row)
{
    const int column = std::max(dbgUser->currentIndex().column(), 0);
    dbgUser->setCurrentIndex(m_adodsUser.index(row, column));
    updateNavigator();
}

// Moving to another row in the grid posts the row being edited; a refused post keeps the grid
// on that row.
void TwinUserManage::gridRowChosen(const QModelIndex& current)
{
    if (!current.isValid() || current.row() == m_adodsUser.currentRow())
        return;
    if (showRefusal(m_adodsUser.setCurrentRow(current.row())))
        QMetaObject::invokeMethod(
            this, [this] { followCurrentRow(m_adodsUser.currentRow()); }, Qt::QueuedConnection);
}

void TwinUserManage::dbgUserDblClick(const QModelIndex& index)
{
    if (index.isValid())
        showRefusal(m_adodsUser.flipFlag(index.column()));
}

void TwinUserManage::updateNavigator()
{
    const int row = m_adodsUser.currentRow();
    const int last = m_adodsUser.rowCount() - 1;
    const bool editing = m_adodsUser.editing();
    m_navFirst->setEnabled(row > 0);
    m_navPrior->setEnabled(row > 0);
    m_navNext->setEnabled(row >= 0 && row < last);
    m_navLast->setEnabled(row >= 0 && row < last);
    m_navInsert->setEnabled(true);
    m_navDelete->setEnabled(m_adodsUser.removable());
    m_navEdit->setEnabled(!editing && row >= 0);
    m_navPost->setEnabled(editing);
    m_navCancel->setEnabled(editing);
}

} // namespace xr
