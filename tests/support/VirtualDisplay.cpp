#include "VirtualDisplay.h"

#include "WaitUntil.h"

#include <QFileInfo>
#include <QMap>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>

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

QString VirtualDisplay::missingTool()
{
    for (const char* tool : {"Xvfb", "xdotool"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            return QString::fromLatin1(tool);
    return QString();
}

void VirtualDisplay::kill()
{
    m_server.kill();
    m_server.waitForFinished();
}

QString VirtualDisplay::run(const QString& tool, const QStringList& arguments) const
{
    return QString::fromUtf8(output(tool, arguments)).trimmed();
}

QByteArray VirtualDisplay::output(const QString& tool, const QStringList& arguments) const
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_name);
    process.setProcessEnvironment(env);
    process.start(tool, arguments);
    process.waitForFinished();
    return process.readAllStandardOutput();
}

QRect VirtualDisplay::geometry(const QString& window) const
{
    QMap<QString, int> values;
    const QString shell = xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window});
    for (const QString& line : shell.split(QLatin1Char('\n')))
        values.insert(line.section(QLatin1Char('='), 0, 0), line.section(QLatin1Char('='), 1).toInt());
    return {values.value(QStringLiteral("X")), values.value(QStringLiteral("Y")), values.value(QStringLiteral("WIDTH")),
            values.value(QStringLiteral("HEIGHT"))};
}

QImage VirtualDisplay::grab(const QString& window) const
{
    return QImage::fromData(
        output(QStringLiteral("import"), {QStringLiteral("-window"), window, QStringLiteral("png:-")}));
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
    waitUntil([&] { return !(window = visibleWindow(title)).isEmpty(); });
    return window;
}

QString VirtualDisplay::windowTitle(const QString& window) const
{
    return xdotool({QStringLiteral("getwindowname"), window});
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
