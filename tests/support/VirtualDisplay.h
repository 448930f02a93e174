#pragma once
// An X server of its own (Xvfb) for tests that need a real display, and xdotool on it.

#include "WaitUntil.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace xr::test {

// An X server of its own (Xvfb), on a display number the server picks.
class VirtualDisplay {
public:
    VirtualDisplay()
    {
        m_server.start(QStringLiteral("Xvfb"),
                       {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                        QStringLiteral("0"), QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                        QStringLiteral("tcp")});
        if (!m_server.waitForStarted())
            return;
        waitUntil([this] {
            m_server.waitForReadyRead(100);
            m_output += QString::fromLatin1(m_server.readAllStandardOutput());
            return m_output.contains(QLatin1Char('\n')) || m_server.state() == QProcess::NotRunning;
        });
        if (m_output.trimmed().isEmpty())
            return;
        m_name = QLatin1Char(':') + m_output.trimmed();
    }
    ~VirtualDisplay()
    {
        m_server.terminate();
        m_server.waitForFinished();
    }

    // Empty when the server did not start.
    QString name() const { return m_name; }

    // Runs xdotool on this display; returns its standard output.
    QString xdotool(const QStringList& arguments) const
    {
        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), m_name);
        tool.setProcessEnvironment(env);
        tool.start(QStringLiteral("xdotool"), arguments);
        tool.waitForFinished();
        return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
    }

    // The visible window with that title, or empty.
    QString visibleWindow(const QString& title) const
    {
        return xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                        title})
            .section(QLatin1Char('\n'), 0, 0);
    }

private:
    QProcess m_server;
    QString m_output;
    QString m_name;
};

} // namespace xr::test
