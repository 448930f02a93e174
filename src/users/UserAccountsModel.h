#pragma once
// The accounts of the user administration (all but the two reserved ones) with the editing
// states of a data set: browsing, editing one row, inserting one row. Only edit() and insert()
// leave browsing; post() writes the row to XRUser after the account rules, and a refused post
// keeps the row in its state with nothing written; cancel() throws the changes away. The model
// never asks or tells the user anything: a refused change returns why, for the dialog to say.
// With a shared server the accounts are the server's; while it is away they are read from this
// PC's copy and every change is refused.

#include "store/AccountStore.h"

#include <QAbstractTableModel>
#include <QList>
#include <QString>

namespace xr {

struct AppContext;
class Database;

// Why an account change was not made; None when it was made or there was nothing to make.
enum class AccountRefusal {
    None,
    NameMissing,
    NameReserved,
    NameTaken,
    NotEditing,
    SignedInAdminFlag,
    SignedInEnabledFlag,
    SignedInRemoval,
    RecordsInUse,
    ServerAway,
};

// The message that tells the user why the change was refused.
QString refusalText(AccountRefusal refusal);

struct AccountRow {
    QString UserId;
    QString UserName;
    QString UserPw;
    bool Admin = false;
    bool Enabled = true;
    QString Remark;
};

class UserAccountsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { NameColumn, AdminColumn, EnabledColumn, RemarkColumn, ColumnCount };
    enum class State { Browsing, Editing, Inserting };

    UserAccountsModel(AppContext& context, const Database& adoConnMain, QObject* parent = nullptr);

    // Reads the accounts; the first becomes current. Throws DatabaseError.
    void open();

    State state() const { return m_state; }
    bool editing() const { return m_state != State::Browsing; }
    // The current row; -1 when there is none.
    int currentRow() const { return m_current; }
    const AccountRow& row(int row) const { return m_rows.at(row); }

    // Moves to `row`, posting a row being edited first; the current row stays when that post
    // is refused.
    AccountRefusal setCurrentRow(int row);
    // A new row at the current place, after posting a row being edited: a new identifier, the
    // hash of the empty password, an enabled ordinary user.
    AccountRefusal insert();
    void edit();
    // Writes the row being edited (nothing to do while browsing).
    AccountRefusal post();
    void cancel();
    // Whether there is a current row and nothing is being edited, so that it may be deleted.
    bool removable() const;
    // The account rules against deleting the current removable row (and a server that is away).
    AccountRefusal removalRefusal() const;
    // Deletes the current row when it is removable and the rules allow; true when deleted.
    bool remove();
    // The double-click on the administrator or enabled column of the current row.
    AccountRefusal flipFlag(int column);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    void stateChanged(State state);
    void currentRowChanged(int row);

private:
    AccountRefusal adodsUserBeforePost(AccountRow& account) const;
    bool nameTakenByAnother(const AccountRow& account) const;
    bool writeRow(const AccountRow& account);
    void setState(State state);
    void setCurrent(int row);
    void rowChanged(int row);

    AppContext& m_context;
    AccountStore m_accounts;
    QList<AccountRow> m_rows;
    AccountRow m_beforeEdit; // the row as it was when editing began
    int m_current = -1;
    State m_state = State::Browsing;
};

} // namespace xr
