#pragma once
// Start with the desktop on Linux: an XDG autostart entry "xarvane.desktop" whose Exec line
// starts the program file "xarvane" of the given folder.

#include "platform/AutoStart.h"

#include <QString>

namespace xr::platform {

class XdgAutoStart final : public AutoStart {
public:
    // `folder` is the autostart folder; it is created when an entry is written.
    explicit XdgAutoStart(QString folder);

    bool write(const std::string& programFolder) override;
    bool remove() override;
    std::string location() const override { return filePath().toStdString(); }

    // The entry's file.
    QString filePath() const;

private:
    QString m_folder;
};

// The user's autostart folder: $XDG_CONFIG_HOME/autostart, or ~/.config/autostart.
QString defaultAutoStartFolder();

} // namespace xr::platform
