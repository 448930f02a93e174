#pragma once
// An X server of its own (Xvfb), on a display number the server picks, with xdotool and
// imagemagick's import to find, drive and photograph the program's windows.

#include <QImage>
#include <QProcess>
#include <QRect>
#include <QSize>
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

    // Runs a tool (xdotool, import) on this display; returns its standard output.
    QString run(const QString& tool, const QStringList& arguments) const;
    QString xdotool(const QStringList& arguments) const { return run(QStringLiteral("xdotool"), arguments); }

    // The visible window with that title, or empty.
    QString visibleWindow(const QString& title) const;
    // The size of a window's client area, as xdotool reports it.
    QSize windowSize(const QString& window) const;
    // Waits until a window with that title is visible; returns it, or empty when none came.
    QString waitForWindow(const QString& title) const;
    // The title of a window as the X server holds it.
    QString windowTitle(const QString& window) const;
    // The window's place and size on the screen.
    QRect geometry(const QString& window) const;
    // A picture of the window (its pixels on the screen), or of the whole screen ("root").
    QImage grab(const QString& window) const;
    // Writes the whole screen to a PNG file; false when it was not written.
    bool screenshot(const QString& file) const;

    // Kills the server at once, as a crash or the end of a desktop session does.
    void kill();

private:
    QByteArray output(const QString& tool, const QStringList& arguments) const;

    QProcess m_server;
    QString m_output;
    QString m_name;
};

} // namespace xr::test
