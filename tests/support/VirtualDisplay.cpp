#include "VirtualDisplay.h"

#include "WaitUntil.h"

#include <QFileInfo>
#include <QProcessEnvironment>
#include <QRegularExpression>

namespace xr::test {

VirtualDisplay::VirtualDisplay()
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

VirtualDisplay::~VirtualDisplay()
{
    m_server.terminate();
    m_server.waitForFinished();
}

QString VirtualDisplay::run(const QString& tool, const QStringList& arguments) const
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_name);
    process.setProcessEnvironment(env);
    process.start(tool, arguments);
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

QString VirtualDisplay::visibleWindow(const QString& title) const
{
    return xdotool(
               {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), title})
        .section(QLatin1Char('\n'), 0, 0);
}

QSize VirtualDisplay::windowSize(const QString& window) const
{
    static const QRegularExpression geometry(QStringLiteral("Geometry: (\\d+)x(\\d+)"));
    const QRegularExpressionMatch match =
        geometry.match(xdotool({QStringLiteral("getwindowgeometry"), window}));
    return match.hasMatch() ? QSize(match.captured(1).toInt(), match.captured(2).toInt()) : QSize();
}

bool VirtualDisplay::screenshot(const QString& file) const
{
    run(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), file});
    return QFileInfo(file).size() > 0;
}

} // namespace xr::test
