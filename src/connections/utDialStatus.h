#pragma once
// The dial status window winDialStatus: created at start-up and kept hidden between dials. It
// shows that an entry is being dialled, or why its dial failed with Redial beside Cancel. It
// has no title-bar buttons and stays on top; only its own buttons leave it.

#include <QDialog>

#include <cstdint>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace xr {

class Dialer;

class TwinDialStatus : public QDialog {
    Q_OBJECT
public:
    explicit TwinDialStatus(Dialer& dialer, QWidget* parent = nullptr);

    // 0 the dialling layout, 1 the error layout (DialStatusMode).
    int ShowMode() const { return m_ShowMode; }

    // The window is shown afresh (laid out again even when it was showing) for a dial of the entry.
    void showDialling(const QString& entryName);
    // The window is shown afresh in the error layout with the error's two lines.
    void showDialError(const QString& errorText, std::uint32_t code);

    void btnCancelClick();
    void btnReDialClick();

protected:
    void showEvent(QShowEvent* event) override;
    // The window manager's close (there is no close button, but Alt+F4) is refused.
    void closeEvent(QCloseEvent* event) override;
    // Escape does not leave the window: Cancel must hang up.
    void reject() override {}

private:
    void buildControls();
    void showAfresh();
    void FormShow();

    Dialer& m_dialer;
    int m_ShowMode = 0;
    QLabel* lblDialStatus = nullptr;
    QLabel* lblConnName = nullptr;
    QPlainTextEdit* memError = nullptr;
    QPushButton* btnReDial = nullptr;
    QPushButton* btnCancel = nullptr;
};

} // namespace xr
