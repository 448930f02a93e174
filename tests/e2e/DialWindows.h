#pragma once
// The sign-in dialog and the dial status window of the real program on a virtual display, as a
// person drives and reads them.

#include "ProgramFolder.h"
#include "VirtualDisplay.h"

#include <QString>
#include <QThread>

namespace xr::test {

class DialWindows {
public:
    explicit DialWindows(const VirtualDisplay& display) : m_display(display) {}

    void signInAsAdmin(const QString& login) const
    {
        m_display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), login});
        m_display.xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"),
                           QStringLiteral("admin")});
        m_display.xdotool({QStringLiteral("key"), QStringLiteral("Return")}); // to the password, left empty
        m_display.xdotool({QStringLiteral("key"), QStringLiteral("Return")}); // signs in
    }

    // Waits for the dial status window with a client area `height` high.
    bool dialStatusShown(int height)
    {
        return ProgramFolder::waitUntil([&] {
            m_dialStatus = m_display.visibleWindow(kDialStatus);
            return !m_dialStatus.isEmpty() && m_display.windowSize(m_dialStatus).height() == height;
        });
    }

    bool dialStatusGone() const
    {
        return ProgramFolder::waitUntil([&] { return m_display.visibleWindow(kDialStatus).isEmpty(); });
    }

    QString dialStatus() const { return m_dialStatus; }

    // What the error box of the dial status window says, copied as a person would: a click into
    // the box and Ctrl+A select it, and X's primary selection is read back (needs xclip).
    QString errorText() const
    {
        m_display.xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), m_dialStatus,
                           QStringLiteral("100"), QStringLiteral("90"), QStringLiteral("click"),
                           QStringLiteral("1")});
        m_display.xdotool({QStringLiteral("key"), QStringLiteral("ctrl+a")});
        QThread::msleep(200);
        return m_display.run(QStringLiteral("xclip"),
                             {QStringLiteral("-o"), QStringLiteral("-selection"), QStringLiteral("primary")});
    }

private:
    inline static const QString kDialStatus = QStringLiteral("XR拨号状态");

    const VirtualDisplay& m_display;
    QString m_dialStatus;
};

} // namespace xr::test
