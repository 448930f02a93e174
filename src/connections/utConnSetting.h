#pragma once
// The default connection dialog winConnSetting: lists the phonebook's entries, lets the user
// choose the default connection (saved by OK) and dial a listed entry at once. It frees itself
// when it closes; ConnSettingCommand keeps it to one at a time.

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace xr {

struct AppContext;
class Dialer;
class TRASNotify;

inline const QString kPhonebookUnreadableMessage = QStringLiteral("获取系统电话本失败！请于系统管理员联系！");
inline const QString kChooseEntryMessage = QStringLiteral("请在列表中选择一个连接！");
// Shown under an empty list when the only saved connections are wired or Wi-Fi ones.
inline const QString kLanLeftOutHint = QStringLiteral(
    "有线和无线网络连接默认不作为拨号连接，因此没有列出。\n要记录它们，请在“设置选项”中选中“同时记录有线和无线网络连接”。");

class TwinConnSetting : public QDialog {
    Q_OBJECT
public:
    TwinConnSetting(AppContext& context, const TRASNotify& notify, Dialer& dialer, QWidget* parent = nullptr);

    // Lists the phonebook; false, with the message shown and the list empty, when it cannot be read.
    bool FillConnList();

    void btnDefaultClick();
    void btnOkClick();
    void btnConnClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void selectDefaultEntry();
    // The selected entry's name, or empty after "请在列表中选择一个连接！".
    QString selectedEntry();

    AppContext& m_context;
    const TRASNotify& m_notify;
    Dialer& m_dialer;
    QListWidget* lbConnList = nullptr;
    QLabel* lblLanHint = nullptr;
    QLineEdit* edtDefault = nullptr;
    QPushButton* btnDefault = nullptr;
    QPushButton* btnConn = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;
};

} // namespace xr
