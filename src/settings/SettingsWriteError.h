#pragma once
// A setting that could not be stored once its key was open; the text names the value.

#include <QString>

#include <stdexcept>

namespace xr {

class SettingsWriteError : public std::runtime_error {
public:
    explicit SettingsWriteError(const QString& valueName)
        : std::runtime_error(QStringLiteral("写入设置值“%1”失败！").arg(valueName).toStdString()),
          m_valueName(valueName)
    {
    }

    const QString& valueName() const { return m_valueName; }

private:
    QString m_valueName;
};

} // namespace xr
