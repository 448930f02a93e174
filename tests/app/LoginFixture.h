#pragma once
// A running tray controller with its database, accounts of our own and the sign-in dialog.

#include "TrayFixture.h"

#include "users/utLogin.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>

namespace xr::test {

class LoginFixture : public TrayFixture {
protected:
    void SetUp() override
    {
        createDatabase();
        startTray();
        ASSERT_TRUE(tray->databaseOpened());
        winLogin = std::make_unique<TwinLogin>(context, tray->adoConnMain(), tray->adocommSql(),
                                               tray->recorder(), tray->RASNotify());
        windows.setLogin(winLogin.get());
    }

    // Adds an account and returns its identifier.
    QString addUser(const QString& name, const QString& password, bool enabled = true, bool admin = false)
    {
        const QString id = QStringLiteral("2004030709%1").arg(++m_users, 7, 10, QLatin1Char('0'));
        EXPECT_TRUE(addAccount(tray->adoConnMain().connection(), {id, name, password, admin, enabled}));
        return id;
    }

    // Opens the dialog in `mode` as its opener does (modeless).
    void openLogin(int mode)
    {
        winLogin->setLoginMode(mode);
        winLogin->show();
    }

    // Types the name and password and presses OK.
    void signIn(const QString& name, const QString& password)
    {
        edit("edtName")->setText(name);
        edit("edtPassword")->setText(password);
        button("btnOk")->click();
    }

    QLineEdit* edit(const char* name) const { return control<QLineEdit>(name); }
    QCheckBox* box(const char* name) const { return control<QCheckBox>(name); }
    QPushButton* button(const char* name) const { return control<QPushButton>(name); }

    template <class T> T* control(const char* name) const
    {
        T* found = winLogin->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    std::unique_ptr<TwinLogin> winLogin;

private:
    int m_users = 0;
};

} // namespace xr::test
