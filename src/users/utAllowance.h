#pragma once
// The allowance dialog winAllowance ("上网时限"), for administrators: one row per account, the
// anonymous one included, with its daily, weekly and monthly minutes (blank for no limit), and
// a one-off extra for today ("加时") given to the selected account in the signed-in
// administrator's name. Typed minutes that are not a whole number within the period's bound
// are refused with a message naming the account and the period, and nothing is stored. With a
// shared server the allowances are the server's; while it is away they are shown from this PC's
// copy and no change is taken.

#include "store/AccountStore.h"
#include "users/AllowanceEdits.h"

#include <QDialog>

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace xr {

struct AppContext;
class Database;

class TwinAllowance : public QDialog {
    Q_OBJECT
public:
    enum Column { NameColumn, DayColumn, WeekColumn, MonthColumn, GrantedColumn, ColumnCount };

    // Fills the rows from where the allowances are kept. Throws DatabaseError.
    TwinAllowance(AppContext& context, const Database& adoConnMain, QWidget* parent = nullptr);

    void btnOkClick();
    void btnGrantClick();

signals:
    // Allowances were stored or extra time given: the time left is to be read again.
    void allowancesChanged();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void showRows();
    // The allowances as typed; false, with the message shown and the cell chosen, when a cell
    // does not hold an allowance.
    bool typedAllowances(QList<Allowance>& allowances);
    // False when the server is away: nothing was stored.
    bool storeAllowances(const QList<Allowance>& allowances);

    AppContext& m_context;
    AccountStore m_accounts;
    QList<AllowanceRow> m_rows;

    QTableWidget* twAllowance = nullptr;
    QLineEdit* edtGrant = nullptr;
    QPushButton* btnGrant = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;
};

} // namespace xr
