#pragma once
// The user administration winUserManage: a grid over the accounts (the reserved ones are never
// shown) with a navigator whose Edit and Insert buttons start editing, Post saves under the
// account rules and Cancel throws the changes away. A double-click on a flag column flips it
// in the row being edited. Shown modally from the main window. The dialog asks the questions
// and says why the model refused a change.

#include "users/UserAccountsModel.h"

#include <QDialog>

class QTableView;
class QToolButton;

namespace xr {

class Prompter;

inline const QString kSaveEditQuestion = QStringLiteral("当前用户信息的修改尚未提交，是否保存？");

class TwinUserManage : public QDialog {
    Q_OBJECT
public:
    // Opens the account list (FormCreate). Throws DatabaseError.
    TwinUserManage(AppContext& context, const Database& adoConnMain, QWidget* parent = nullptr);

    UserAccountsModel& adodsUser() { return m_adodsUser; }
    void dbgUserDblClick(const QModelIndex& index);

protected:
    void showEvent(QShowEvent* event) override;
    // Escape and the close box: a row still being edited is saved or discarded as the user says.
    void reject() override;

private:
    void buildControls();
    QToolButton* addNavigatorButton(const char* name, const QString& glyph, const QString& hint);
    void buildNavigator();
    void createGrid();
    void followCurrentRow(int row);
    void gridRowChosen(const QModelIndex& current);
    void finishTyping();
    void updateNavigator();
    // Says why a change was refused; true when it was.
    bool showRefusal(AccountRefusal refusal);
    // Before the list is left with a row being edited or inserted: asks whether to save it; Yes
    // posts it, No cancels it. False when the row stays in its state (a refused post).
    bool keepOrDiscardEdit();
    // Deletes the current account after the rules and the user's confirmation.
    void removeAccount();

    Prompter& m_prompter;
    UserAccountsModel m_adodsUser;
    QTableView* dbgUser = nullptr;
    QWidget* navUser = nullptr;
    QToolButton* m_navFirst = nullptr;
    QToolButton* m_navPrior = nullptr;
    QToolButton* m_navNext = nullptr;
    QToolButton* m_navLast = nullptr;
    QToolButton* m_navInsert = nullptr;
    QToolButton* m_navDelete = nullptr;
    QToolButton* m_navEdit = nullptr;
    QToolButton* m_navPost = nullptr;
    QToolButton* m_navCancel = nullptr;
};

} // namespace xr
