#pragma once
// An X server of its own (Xvfb), on a display number the server picks, with xdotool and
// imagemagick's import to find, drive and photograph the program's windows.

#include <QProcess>
#include <QSize>
#include <QString>
#include <QStringList>

namespace xr::test {

class VirtualDisplay {
public:
    VirtualDisplay();
    ~VirtualDisplay();

    // Empty when the server did not start.
    QString name() const { return m_name; }

    // Runs a tool (xdotool, import) on this display; returns its standard output.
    QString run(const QString& tool, const QStringList& arguments) const;
    QString xdotool(const QStringList& arguments) const { return run(QStringLiteral("xdotool"), arguments); }

    // The visible window with that title, or empty.
    QString visibleWindow(const QString& title) const;
    // The size of a window's client area, as xdotool reports it.
    QSize windowSize(const QString& window) const;
    // Writes the whole screen to a PNG file; false when it was not written.
    bool screenshot(const QString& file) const;

private:
    QProcess m_server;
    QString m_output;
    QString m_name;
};

} // namespace xr::test
