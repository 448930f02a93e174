#pragma once
// The password dialog winPassword: a user types his new password twice. Opened modally from the
// main window for the signed-in user, at most one at a time; and by the sign-in for an account
// whose empty password is to be replaced, before that account signs in.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace xr {

struct AppContext;
class SqlCommand;

class TwinPassword : public QDialog {
    Q_OBJECT
public:
    TwinPassword(AppContext& context, SqlCommand& adocommSql, QString userId, QWidget* parent = nullptr);

    // Caption and a note for the first password of the account named `userName`.
    void showAsFirstPassword(const QString& userName);
    void btnOkClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();

    AppContext& m_context;
    SqlCommand& m_adocommSql;
    const QString m_userId;
    QLabel* m_lblNote = nullptr;
    QLineEdit* edtFirst = nullptr;
    QLineEdit* edtSecond = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;
};

} // namespace xr
