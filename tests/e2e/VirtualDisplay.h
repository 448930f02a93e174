#pragma once
// An X server of its own (Xvfb) for end-to-end tests, on a display number the server picks,
// with xdotool to find windows and type into them.

#include <QProcess>
#include <QString>
#include <QStringList>

namespace xr::test {

class VirtualDisplay {
public:
    VirtualDisplay();
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    // Empty when the server did not start.
    QString name() const { return m_name; }

    // Runs xdotool on this display; returns its standard output.
    QString xdotool(const QStringList& arguments) const;
    // The visible window with that title, or empty.
    QString visibleWindow(const QString& title) const;
    // Waits for the visible window with that title; empty when it does not come.
    QString waitForWindow(const QString& title) const;
    // Writes the whole screen to a PNG file (imagemagick's import); true when written.
    bool screenshot(const QString& file) const;

private:
    QProcessEnvironment environment() const;

    QProcess m_server;
    QString m_output;
    QString m_name;
};

} // namespace xr::test
