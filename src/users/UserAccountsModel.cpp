#include "users/UserAccountsModel.h"

#include "common/AppContext.h"
#include "store/Identifiers.h"
#include "store/PasswordHash.h"
#include "store/Statement.h"

#include <QSqlQuery>

namespace xr {

namespace {

const QString kSelectAccounts =
    QStringLiteral("select UserId,UserName,UserPw,Admin,Enabled,Remark from XRUser where (UserId <> "
                   ":builtIn) and (UserId <> :anonymous)");
const QString kInsertAccount =
    QStringLiteral("insert into XRUser (UserId,UserName,UserPw,Admin,Enabled,Remark) "
                   "values (:i,:n,:p,:a,:e,:r)");
// The password is its owner's: an edit never writes back the one read when the list opened,
// which another PC may have changed since.
const QString kUpdateAccount = QStringLiteral(
    "update XRUser set UserName = :n, Admin = :a, Enabled = :e, Remark = :r where UserId = :i");
const QString kRecordsInUse = QStringLiteral(
    "该用户还有上网时间记录，不可以删除！\r\r(如果确实要删除，请先删除上网时间记录中的该用户记录)");

QList<AccountRow> readAccounts(const QSqlDatabase& db)
{
    QSqlQuery query = runStatement(
        db, kSelectAccounts,
        {{QStringLiteral(":builtIn"), kBuiltInUserId}, {QStringLiteral(":anonymous"), kAnonymousUserId}});
    QList<AccountRow> rows;
    while (query.next())
        rows.append({query.value(0).toString(), query.value(1).toString(), query.value(2).toString(),
                     query.value(3).toBool(), query.value(4).toBool(), query.value(5).toString()});
    return rows;
}

bool hasRecords(const QSqlDatabase& db, const QString& userId)
{
    return runStatement(db, QStringLiteral("select UserId from XRRecord where UserId = :u"),
                        {{QStringLiteral(":u"), userId}})
        .next();
}

// An empty text bound as such, never as NULL.
QString text(const QString& value)
{
    return value.isNull() ? QStringLiteral("") : value;
}

QString columnTitle(int column)
{
    switch (column) {
    case UserAccountsModel::NameColumn:
        return QStringLiteral("用户名");
    case UserAccountsModel::AdminColumn:
        return QStringLiteral("管理员");
    case UserAccountsModel::EnabledColumn:
        return QStringLiteral("可用");
    default:
        return QStringLiteral("备注");
    }
}

QString flagText(bool flag)
{
    return flag ? QStringLiteral("True") : QStringLiteral("False");
}

bool isFlagColumn(int column)
{
    return column == UserAccountsModel::AdminColumn || column == UserAccountsModel::EnabledColumn;
}

} // namespace

QString refusalText(AccountRefusal refusal)
{
    switch (refusal) {
    case AccountRefusal::None:
        break;
    case AccountRefusal::NameMissing:
        return QStringLiteral("请输入用户名！");
    case AccountRefusal::NameReserved:
        return QStringLiteral("[匿名用户]是系统保留的用户名，您不可以使用！");
    case AccountRefusal::NameTaken:
        return QStringLiteral("该用户名已经存在！");
    case AccountRefusal::NotEditing:
        return QStringLiteral("请单击[编辑用户信息]按钮进入编辑状态后修改！");
    case AccountRefusal::SignedInAdminFlag:
        return QStringLiteral("当前登录用户的[管理员]信息不能修改！");
    case AccountRefusal::SignedInEnabledFlag:
        return QStringLiteral("当前登录用户的[可用]信息不能修改！");
    case AccountRefusal::SignedInRemoval:
        return QStringLiteral("不能删除当前登录的用户！");
    case AccountRefusal::RecordsInUse:
        return kRecordsInUse;
    case AccountRefusal::ServerAway:
        return QStringLiteral("服务器不可用，现在不能修改用户信息。请稍后再试。");
    }
    return {};
}

UserAccountsModel::UserAccountsModel(AppContext& context, const Database& adoConnMain, QObject* parent)
    : QAbstractTableModel(parent), m_context(context), m_accounts(context.server, adoConnMain)
{
}

void UserAccountsModel::open()
{
    QList<AccountRow> rows = m_accounts.read(readAccounts);
    beginResetModel();
    m_rows = std::move(rows);
    m_state = State::Browsing;
    endResetModel();
    setCurrent(m_rows.isEmpty() ? -1 : 0);
}

AccountRefusal UserAccountsModel::setCurrentRow(int row)
{
    if (row < 0 || row >= m_rows.size() || row == m_current)
        return AccountRefusal::None;
    const AccountRefusal refusal = post();
    if (refusal == AccountRefusal::None)
        setCurrent(row);
    return refusal;
}

AccountRefusal UserAccountsModel::insert()
{
    if (const AccountRefusal refusal = post(); refusal != AccountRefusal::None)
        return refusal;
    const int at = std::max(m_current, 0);
    const QString emptyPassword = hashPassword(QString());
    beginInsertRows(QModelIndex(), at, at);
    m_rows.insert(at,
                  {NewId(m_context.clock.now()), QStringLiteral(""), emptyPassword, false, true, QString()});
    endInsertRows();
    setCurrent(at);
    setState(State::Inserting);
    return AccountRefusal::None;
}

void UserAccountsModel::edit()
{
    if (editing() || m_current < 0)
        return;
    m_beforeEdit = m_rows[m_current];
    setState(State::Editing);
}

AccountRefusal UserAccountsModel::post()
{
    if (!editing())
        return AccountRefusal::None;
    AccountRow& account = m_rows[m_current];
    const AccountRefusal refusal = adodsUserBeforePost(account);
    rowChanged(m_current); // the trimmed name shows also when the post is refused
    if (refusal != AccountRefusal::None)
        return refusal;
    if (!writeRow(account))
        return AccountRefusal::ServerAway; // the row stays as typed, to be posted later
    setState(State::Browsing);
    return AccountRefusal::None;
}

void UserAccountsModel::cancel()
{
    // Browsing first: a view that moves its current row off the removed one must find nothing
    // left to post.
    const State cancelled = m_state;
    setState(State::Browsing);
    if (cancelled == State::Inserting) {
        const int row = m_current;
        beginRemoveRows(QModelIndex(), row, row);
        m_rows.removeAt(row);
        endRemoveRows();
        setCurrent(std::min(row, static_cast<int>(m_rows.size()) - 1));
    } else if (cancelled == State::Editing) {
        m_rows[m_current] = m_beforeEdit;
        rowChanged(m_current);
    }
}

bool UserAccountsModel::removable() const
{
    return !editing() && m_current >= 0;
}

AccountRefusal UserAccountsModel::removalRefusal() const
{
    const AccountRow& account = m_rows.at(m_current);
    if (account.UserId == m_context.currentConnection.UserId)
        return AccountRefusal::SignedInRemoval;
    if (!m_accounts.changeable())
        return AccountRefusal::ServerAway;
    // On the server: every PC's records.
    const bool inUse =
        m_accounts.read([&](const QSqlDatabase& db) { return hasRecords(db, account.UserId); });
    return inUse ? AccountRefusal::RecordsInUse : AccountRefusal::None;
}

bool UserAccountsModel::remove()
{
    if (!removable() || removalRefusal() != AccountRefusal::None)
        return false;
    const QString userId = m_rows[m_current].UserId;
    const bool removed = m_accounts.change([&](const QSqlDatabase& db) {
        runStatement(db, QStringLiteral("delete from XRUser where UserId = :u"),
                     {{QStringLiteral(":u"), userId}});
    });
    if (!removed)
        return false;
    const int row = m_current;
    beginRemoveRows(QModelIndex(), row, row);
    m_rows.removeAt(row);
    endRemoveRows();
    m_current = -1;
    setCurrent(std::min(row, static_cast<int>(m_rows.size()) - 1));
    return true;
}

AccountRefusal UserAccountsModel::flipFlag(int column)
{
    if (!isFlagColumn(column) || m_current < 0)
        return AccountRefusal::None;
    if (!editing())
        return AccountRefusal::NotEditing;
    AccountRow& account = m_rows[m_current];
    const bool admin = column == AdminColumn;
    if (account.UserId == m_context.currentConnection.UserId)
        return admin ? AccountRefusal::SignedInAdminFlag : AccountRefusal::SignedInEnabledFlag;
    bool& flag = admin ? account.Admin : account.Enabled;
    flag = !flag;
    rowChanged(m_current);
    return AccountRefusal::None;
}

// The rules of a saved row; the name is written back trimmed whatever the outcome.
AccountRefusal UserAccountsModel::adodsUserBeforePost(AccountRow& account) const
{
    account.UserName = account.UserName.trimmed();
    if (account.UserName.isEmpty())
        return AccountRefusal::NameMissing;
    if (account.UserName == kAnonymousUserName)
        return AccountRefusal::NameReserved;
    if (nameTakenByAnother(account))
        return AccountRefusal::NameTaken;
    return AccountRefusal::None;
}

// Over all accounts, the hidden reserved ones included. Any other account with the name
// counts, also when several already share it.
bool UserAccountsModel::nameTakenByAnother(const AccountRow& account) const
{
    return m_accounts.read([&](const QSqlDatabase& db) {
        QSqlQuery query = runStatement(db, QStringLiteral("select UserId from XRUser where UserName = :u"),
                                       {{QStringLiteral(":u"), account.UserName}});
        while (query.next())
            if (query.value(0).toString() != account.UserId)
                return true;
        return false;
    });
}

// False when the shared server is away: nothing was written.
bool UserAccountsModel::writeRow(const AccountRow& account)
{
    const bool inserting = m_state == State::Inserting;
    QMap<QString, QVariant> values{{QStringLiteral(":i"), account.UserId},
                                   {QStringLiteral(":n"), account.UserName},
                                   {QStringLiteral(":a"), account.Admin ? 1 : 0},
                                   {QStringLiteral(":e"), account.Enabled ? 1 : 0},
                                   {QStringLiteral(":r"), text(account.Remark)}};
    if (inserting)
        values.insert(QStringLiteral(":p"), text(account.UserPw));
    return m_accounts.change([&](const QSqlDatabase& db) {
        runStatement(db, inserting ? kInsertAccount : kUpdateAccount, values);
    });
}

void UserAccountsModel::setState(State state)
{
    m_state = state;
    if (m_current >= 0)
        rowChanged(m_current); // the row's cells become editable or read-only
    emit stateChanged(state);
}

void UserAccountsModel::setCurrent(int row)
{
    m_current = row;
    emit currentRowChanged(row);
}

void UserAccountsModel::rowChanged(int row)
{
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

int UserAccountsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int UserAccountsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant UserAccountsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::TextAlignmentRole)
        return isFlagColumn(index.column()) ? QVariant(Qt::AlignCenter) : QVariant();
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    const AccountRow& account = m_rows.at(index.row());
    switch (index.column()) {
    case NameColumn:
        return account.UserName;
    case AdminColumn:
        return flagText(account.Admin);
    case EnabledColumn:
        return flagText(account.Enabled);
    default:
        return account.Remark;
    }
}

// Only the name and the remark of the row being edited take typed text.
bool UserAccountsModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    AccountRow& account = m_rows[index.row()];
    (index.column() == NameColumn ? account.UserName : account.Remark) = value.toString();
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags UserAccountsModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    const bool typed = index.column() == NameColumn || index.column() == RemarkColumn;
    if (editing() && index.row() == m_current && typed)
        flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant UserAccountsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical) // the row indicator marks the current row, without numbers
        return role == Qt::DisplayRole ? QVariant(QString()) : QVariant();
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return columnTitle(section);
}

} // namespace xr
