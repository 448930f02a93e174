#pragma once
// The about box winAbout: the program's name, the author's mail link and an OK button; it
// fades out when it closes.

#include "platform/DesktopShell.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace xr {

class TwinAbout : public QDialog {
    Q_OBJECT
public:
    explicit TwinAbout(platform::DesktopShell& shell, QWidget* parent = nullptr);

    QLabel* lblmail() const { return m_lblmail; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void setMailBold(bool bold);
    void fadeOut();

    platform::DesktopShell& m_shell;
    QLabel* m_lblmail;
    QLabel* m_lblInfo;
    QPushButton* m_btnOk;
};

} // namespace xr
