#pragma once
// The password dialog winPassword: the signed-in user types his new password twice. Opened
// modally from the main window, at most one at a time.

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace xr {

struct AppContext;
class SqlCommand;

class TwinPassword : public QDialog {
    Q_OBJECT
public:
    TwinPassword(AppContext& context, SqlCommand& adocommSql, QWidget* parent = nullptr);

    void btnOkClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();

    AppContext& m_context;
    SqlCommand& m_adocommSql;
    QLineEdit* edtFirst = nullptr;
    QLineEdit* edtSecond = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;
};

} // namespace xr
