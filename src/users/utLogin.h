#pragma once
// The sign-in dialog: created once at start-up and kept, hidden between uses. Whoever opens it
// sets LoginMode first (modal for a change of user, modeless otherwise). What a sign-in leads
// to outside the dialog is announced through its signals.

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
class TRASNotify;

class TwinLogin : public QDialog {
    Q_OBJECT
public:
    TwinLogin(AppContext& context, const Database& adoConnMain, Recorder& recorder, const TRASNotify& notify,
              QWidget* parent = nullptr);

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
    void fillStoredPassword();
    void chkbSaveNameClick();
    void FormClose();
    void afterSignIn();
    LoginChoices choices() const;
    void centreOnScreen();

    AppContext& m_context;
    const Database& m_adoConnMain;
    const TRASNotify& m_notify;
    SignIn m_signIn;
    int m_loginMode = 0;

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
