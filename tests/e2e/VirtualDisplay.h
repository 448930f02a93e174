#pragma once
// An X server of its own (Xvfb) for an end-to-end test, on a display number the server picks,
// xdotool to find and drive the program's windows on it, and the fixture of such tests.

#include "ProgramFolder.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QMap>
#include <QProcess>
#include <QRect>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

namespace xr::test {

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
        ProgramFolder::waitUntil([this] {
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
        return QString::fromUtf8(run(QStringLiteral("xdotool"), arguments)).trimmed();
    }

    // The window's place and size on the screen.
    QRect geometry(const QString& window) const
    {
        QMap<QString, int> values;
        const QString shell =
            xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window});
        for (const QString& line : shell.split(QLatin1Char('\n')))
            values.insert(line.section(QLatin1Char('='), 0, 0), line.section(QLatin1Char('='), 1).toInt());
        return {values.value(QStringLiteral("X")), values.value(QStringLiteral("Y")),
                values.value(QStringLiteral("WIDTH")), values.value(QStringLiteral("HEIGHT"))};
    }

    // A picture of the window (its pixels on the screen), or of the whole screen ("root").
    QImage grab(const QString& window) const
    {
        return QImage::fromData(
            run(QStringLiteral("import"), {QStringLiteral("-window"), window, QStringLiteral("png:-")}));
    }

    // The visible window with that title, or empty.
    QString visibleWindow(const QString& title) const
    {
        return xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                        title})
            .section(QLatin1Char('\n'), 0, 0);
    }

private:
    QByteArray run(const QString& program, const QStringList& arguments) const
    {
        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), m_name);
        tool.setProcessEnvironment(env);
        tool.start(program, arguments);
        tool.waitForFinished();
        return tool.readAllStandardOutput();
    }

    QProcess m_server;
    QString m_output;
    QString m_name;
};

// A test of the real program on a virtual display of its own, in a program folder of its own
// whose simulated phonebook has the entry "Office".
class DesktopEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* tool : {"Xvfb", "xdotool", "import"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                GTEST_SKIP() << tool << " is not installed (scripts/install-deps installs it)";
        ASSERT_FALSE(display.name().isEmpty()) << "Xvfb did not start";
        ASSERT_EQ(folder.sim({QStringLiteral("add-entry"), QStringLiteral("Office")}), 0);
        folder.setEnvironment(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        folder.setEnvironment(QStringLiteral("DISPLAY"), display.name());
    }

    VirtualDisplay display;
    ProgramFolder folder;
};

} // namespace xr::test
