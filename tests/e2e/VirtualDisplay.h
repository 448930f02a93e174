#pragma once
// An X server of its own (Xvfb) for an end-to-end test, on a display number the server picks,
// with xdotool to find and drive the program's windows.

#include <QProcess>
#include <QString>
#include <QStringList>

namespace xr::test {

class VirtualDisplay {
public:
    VirtualDisplay();
    ~VirtualDisplay();

    // The first of Xvfb and xdotool that is not installed, or empty.
    static QString missingTool();

    // Empty when the server did not start.
    QString name() const { return m_name; }

    // Runs xdotool on this display; returns its standard output.
    QString xdotool(const QStringList& arguments) const;
    // The visible window with that title, or empty.
    QString visibleWindow(const QString& title) const;
    // The title of a window as the X server holds it.
    QString windowTitle(const QString& window) const;

    // Kills the server at once, as a crash or the end of a desktop session does.
    void kill();

private:
    QProcess m_server;
    QString m_output;
    QString m_name;
};

} // namespace xr::test
