#pragma once
// The about box winAbout: the program's name, the support address as a mail link, the dial-up
// service the program watches and an OK button; it fades out when it closes.

#include "common/Prompter.h"
#include "platform/DesktopShell.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace xr {

class TwinAbout : public QDialog {
    Q_OBJECT
public:
    // `supportMail` is the SupportMail setting (maybe empty); `dialService` is the back-end's
    // name (RemoteAccess::name()).
    TwinAbout(platform::DesktopShell& shell, Prompter& prompter, const QString& supportMail,
              const std::string& dialService, QWidget* parent = nullptr);

    QLabel* lblmail() const { return m_lblmail; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void setMailBold(bool bold);
    void fadeOut();

    platform::DesktopShell& m_shell;
    Prompter& m_prompter;
    QString m_supportMail;
    QLabel* m_lblmail;
    QLabel* m_lblInfo;
    QPushButton* m_btnOk;
};

} // namespace xr
