#pragma once
// The user picker winSelUser: the accounts an anonymous record can be given to (the shared
// server's, when one is set). After it closes, SelUserId names the chosen account (empty when
// none was chosen) and SelUserName its name.

#include "users/AnonymousRecords.h"

#include <QDialog>

class QListWidget;
class QPushButton;

namespace xr {

struct AppContext;
class Database;

class TwinSelUser : public QDialog {
    Q_OBJECT
public:
    // Fills the list from where the accounts are kept (FormCreate). Throws DatabaseError.
    TwinSelUser(AppContext& context, const Database& adoConnMain, QWidget* parent = nullptr);

    const QString& SelUserId() const { return m_selUserId; }
    const QString& SelUserName() const { return m_selUserName; }

    void btnOkClick();
    void btnCancelClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();

    AppContext& m_context;
    AssignableUsers m_users;
    QString m_selUserId;
    QString m_selUserName;
    QListWidget* lbUser = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;
};

} // namespace xr
