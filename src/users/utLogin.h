#pragma once
// The sign-in dialog: created once at start-up and kept, hidden between uses. Whoever opens it
// sets LoginMode first (modal for a change of user, modeless otherwise). What a sign-in leads
// to outside the dialog is announced through its signals. A saved password is never read back:
// for the saved user the password field shows that one is saved, and OK signs in without it
// until the name or the password field is edited.

#include "users/LoginOptions.h"
#include "users/SignIn.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace xr {

struct AppContext;
class Database;
class Recorder;
class SqlCommand;
class TRASNotify;

class TwinLogin : public QDialog {
    Q_OBJECT
public:
    TwinLogin(AppContext& context, const Database& adoConnMain, SqlCommand& adocommSql, Recorder& recorder,
              const TRASNotify& notify, QWidget* parent = nullptr);

    int LoginMode() const { return m_loginMode; }
    void setLoginMode(int loginMode) { m_loginMode = loginMode; }

    void btnOkClick();

signals:
    // The main window is to be shown (after a sign-in for it, or when a change of user ends).
    void mainWindowWanted();
    // The default connection is to be dialled.
    void dialWanted(const QString& entryName);
    void companionProgramsWanted();
    void floatingDisplayWanted();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void FormShow();
    void offerSavedPassword();
    void forgetSavedPassword();
    bool askFirstPassword(const UserAccount& account);
    void chkbSaveNameClick();
    void FormClose();
    void afterSignIn();
    LoginChoices choices() const;
    void centreOnScreen();

    AppContext& m_context;
    const Database& m_adoConnMain;
    SqlCommand& m_adocommSql;
    const TRASNotify& m_notify;
    SignIn m_signIn;
    int m_loginMode = 0;
    bool m_savedPassword = false; // OK signs in the saved user without a password

    QLineEdit* edtName = nullptr;
    QLineEdit* edtPassword = nullptr;
    QCheckBox* chkbSaveName = nullptr;
    QCheckBox* chkbSavePw = nullptr;
    QCheckBox* chkbLoginDial = nullptr;
    QCheckBox* chkbSynRun = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;
};

} // namespace xr
