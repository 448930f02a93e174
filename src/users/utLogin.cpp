#include "users/utLogin.h"

#include "common/AppContext.h"
#include "connections/RASNotify.h"
#include "store/AccountStore.h"
#include "users/Accounts.h"
#include "users/LoginMode.h"
#include "users/utPassword.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace xr {

namespace {

template <class Control> Control* named(Control* control, const char* name)
{
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

QLabel* labelFor(const QString& caption, QWidget* buddy)
{
    auto* label = new QLabel(caption);
    label->setBuddy(buddy);
    return label;
}

} // namespace

TwinLogin::TwinLogin(AppContext& context, const Database& adoConnMain, SqlCommand& adocommSql,
                     Recorder& recorder, const TRASNotify& notify, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint),
      m_context(context), m_adoConnMain(adoConnMain), m_adocommSql(adocommSql), m_notify(notify),
      m_signIn(context, adoConnMain, recorder,
               [this](const UserAccount& account) { return askFirstPassword(account); })
{
    setObjectName(QStringLiteral("winLogin"));
    setWindowTitle(QStringLiteral("登录XR"));
    buildControls();
    connect(edtName, &QLineEdit::returnPressed, edtPassword, [this] { edtPassword->setFocus(); });
    connect(edtPassword, &QLineEdit::returnPressed, this, &TwinLogin::btnOkClick);
    connect(edtName, &QLineEdit::textChanged, this, &TwinLogin::forgetSavedPassword);
    connect(edtPassword, &QLineEdit::textChanged, this, &TwinLogin::forgetSavedPassword);
    connect(chkbSaveName, &QCheckBox::toggled, this, &TwinLogin::chkbSaveNameClick);
    connect(btnOk, &QPushButton::clicked, this, &TwinLogin::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(this, &QDialog::finished, this, &TwinLogin::FormClose);
}

void TwinLogin::buildControls()
{
    edtName = named(new QLineEdit, "edtName");
    edtPassword = named(new QLineEdit, "edtPassword");
    edtPassword->setEchoMode(QLineEdit::Password);
    edtPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42")); // '*'
    chkbSaveName = named(new QCheckBox(QStringLiteral("保存用户名(&S)")), "chkbSaveName");
    chkbSavePw = named(new QCheckBox(QStringLiteral("保存密码(&W)")), "chkbSavePw");
    chkbLoginDial = named(new QCheckBox(QStringLiteral("登录后自动拨号(&D)")), "chkbLoginDial");
    chkbSynRun = named(new QCheckBox(QStringLiteral("登录后同时启动其它程序(&Y)")), "chkbSynRun");
    btnOk = named(new QPushButton(QStringLiteral("确定(&O)")), "btnOk");
    btnCancel = named(new QPushButton(QStringLiteral("取消(&C)")), "btnCancel");
    // Enter in the edits has rules of its own; no button takes it over.
    for (QPushButton* button : {btnOk, btnCancel})
        button->setAutoDefault(false);

    auto* fields = new QGridLayout;
    fields->addWidget(labelFor(QStringLiteral("用户名(&U)"), edtName), 0, 0);
    fields->addWidget(edtName, 0, 1);
    fields->addWidget(labelFor(QStringLiteral("密  码(&P)"), edtPassword), 1, 0);
    fields->addWidget(edtPassword, 1, 1);
    fields->setColumnMinimumWidth(1, 200);

    auto* options = new QVBoxLayout;
    for (QCheckBox* box : {chkbSaveName, chkbSavePw, chkbLoginDial, chkbSynRun})
        options->addWidget(box);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    buttons->addStretch();
    auto* lower = new QHBoxLayout;
    lower->addLayout(options, 1);
    lower->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(lower);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(edtName, edtPassword);
    setTabOrder(edtPassword, chkbSaveName);
    setTabOrder(chkbSaveName, btnOk);
    setTabOrder(btnOk, btnCancel);
    setTabOrder(btnCancel, chkbLoginDial);
    setTabOrder(chkbLoginDial, chkbSavePw);
    setTabOrder(chkbSavePw, chkbSynRun);
}

void TwinLogin::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    centreOnScreen();
    FormShow();
}

void TwinLogin::centreOnScreen()
{
    const QScreen* screen = this->screen();
    if (!screen)
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

void TwinLogin::FormShow()
{
    raise();
    activateWindow();
    setWindowTitle(m_loginMode == kLoginModeChangeUser ? QStringLiteral("更改用户")
                                                       : QStringLiteral("登录XR"));
    const TSettings& settings = m_context.settings;
    edtName->clear();
    edtPassword->clear();
    forgetSavedPassword();
    if (settings.SaveLastUser)
        edtName->setText(settings.LastUser);
    const LoginChoices stored = choicesFromSettings(settings);
    chkbSaveName->setChecked(stored.saveName);
    chkbSaveNameClick(); // the click rule runs also when the box keeps its state
    chkbSavePw->setChecked(stored.savePw);
    chkbLoginDial->setChecked(stored.loginDial);
    chkbSynRun->setChecked(stored.synRun);
    if (settings.SavePwEnabled) {
        chkbSavePw->setEnabled(true);
        if (settings.SavePw)
            offerSavedPassword();
    } else {
        chkbSavePw->setChecked(false);
        chkbSavePw->setEnabled(false);
    }
    (edtName->text().trimmed().isEmpty() ? edtName : edtPassword)->setFocus();
}

// Only for a name that has an account: any other name signs in as typed.
void TwinLogin::offerSavedPassword()
{
    const QString name = edtName->text().trimmed();
    if (name.isEmpty())
        return;
    const AccountStore accounts(m_context.server, m_adoConnMain);
    if (accounts.read([&](const QSqlDatabase& db) { return accountsNamed(db, name); }).isEmpty())
        return;
    m_savedPassword = true;
    edtPassword->setPlaceholderText(QStringLiteral("(已保存的密码)"));
}

void TwinLogin::forgetSavedPassword()
{
    m_savedPassword = false;
    edtPassword->setPlaceholderText(QString());
}

bool TwinLogin::askFirstPassword(const UserAccount& account)
{
    TwinPassword winPassword(m_context, m_adocommSql, account.UserId, this);
    winPassword.showAsFirstPassword(account.UserName);
    return winPassword.exec() == QDialog::Accepted;
}

void TwinLogin::chkbSaveNameClick()
{
    if (!chkbSaveName->isChecked())
        chkbSavePw->setChecked(false);
    chkbSavePw->setEnabled(chkbSaveName->isChecked());
}

void TwinLogin::btnOkClick()
{
    const std::optional<QString> password =
        m_savedPassword ? kSavedPassword : std::optional<QString>(edtPassword->text());
    switch (m_signIn.attempt(m_loginMode, m_notify.IsConnected(), edtName->text(), password)) {
    case SignInOutcome::NameMissing:
    case SignInOutcome::NameReserved:
        edtName->setFocus();
        break;
    case SignInOutcome::NoMatch:
    case SignInOutcome::FirstPasswordMissing:
        edtPassword->setFocus();
        break;
    case SignInOutcome::AccountDisabled:
        reject();
        break;
    case SignInOutcome::SignedIn:
        afterSignIn();
        break;
    }
}

void TwinLogin::afterSignIn()
{
    TSettings& settings = m_context.settings;
    SaveLoginOptions(settings, m_context.registry, choices(), edtName->text());
    if (showsMainWindowAfterSignIn(m_loginMode))
        emit mainWindowWanted();
    if (settings.LoginDial && !m_notify.IsConnected())
        emit dialWanted(settings.DefaultConn);
    if (settings.SynRun)
        emit companionProgramsWanted();
    if (settings.FloatWin)
        emit floatingDisplayWanted();
    accept();
}

LoginChoices TwinLogin::choices() const
{
    return {chkbSaveName->isChecked(), chkbSavePw->isChecked(), chkbLoginDial->isChecked(),
            chkbSynRun->isChecked()};
}

// Whatever way the dialog closed, a change of user gives the main window back.
void TwinLogin::FormClose()
{
    if (m_loginMode == kLoginModeChangeUser)
        emit mainWindowWanted();
}

} // namespace xr
