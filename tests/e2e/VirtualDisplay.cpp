#include "VirtualDisplay.h"

#include "ProgramFolder.h"

namespace xr::test {

VirtualDisplay::VirtualDisplay()
{
    m_server.start(QStringLiteral("Xvfb"),
                   {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                    QStringLiteral("0"), QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                    QStringLiteral("tcp")});
    if (!m_server.waitForStarted())
        return;
    ProgramFolder::waitUntil([this] {
        m_server.waitForReadyRead(100);
        m_output += QString::fromLatin1(m_server.readAllStandardOutput());
        return m_output.contains(QLatin1Char('\n')) || m_server.state() == QProcess::NotRunning;
    });
    if (m_output.trimmed().isEmpty())
        return;
    m_name = QLatin1Char(':') + m_output.trimmed();
}

VirtualDisplay::~VirtualDisplay()
{
    m_server.terminate();
    m_server.waitForFinished();
}

QProcessEnvironment VirtualDisplay::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_name);
    return env;
}

QString VirtualDisplay::xdotool(const QStringList& arguments) const
{
    QProcess tool;
    tool.setProcessEnvironment(environment());
    tool.start(QStringLiteral("xdotool"), arguments);
    tool.waitForFinished();
    return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
}

QString VirtualDisplay::visibleWindow(const QString& title) const
{
    return xdotool(
               {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), title})
        .section(QLatin1Char('\n'), 0, 0);
}

QString VirtualDisplay::waitForWindow(const QString& title) const
{
    QString window;
    ProgramFolder::waitUntil([&] { return !(window = visibleWindow(title)).isEmpty(); });
    return window;
}

bool VirtualDisplay::screenshot(const QString& file) const
{
    QProcess import;
    import.setProcessEnvironment(environment());
    import.start(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), file});
    return import.waitForFinished() && import.exitCode() == 0;
}

} // namespace xr::test
