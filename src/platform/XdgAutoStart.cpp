#include "platform/XdgAutoStart.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace xr::platform {

namespace {

// The program file's name on Linux, whatever the name of the running file.
const QString kProgramFileName = QStringLiteral("xarvane");

// One argument of an Exec line: quoted, with the characters that are special inside quotes
// escaped, "%" doubled, then escaped once more as a desktop-entry string value.
QString execArgument(const QString& argument)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c == QLatin1Char('%') ? QStringLiteral("%%") : QString(c);
    }
    quoted += QLatin1Char('"');

    QString escaped;
    for (const QChar c : std::as_const(quoted)) {
        if (c == QLatin1Char('\\'))
            escaped += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n'))
            escaped += QStringLiteral("\\n");
        else if (c == QLatin1Char('\r'))
            escaped += QStringLiteral("\\r");
        else if (c == QLatin1Char('\t'))
            escaped += QStringLiteral("\\t");
        else
            escaped += c;
    }
    return escaped;
}

} // namespace

XdgAutoStart::XdgAutoStart(QString folder) : m_folder(std::move(folder)) {}

QString XdgAutoStart::filePath() const
{
    return QDir(m_folder).filePath(QStringLiteral("xarvane.desktop"));
}

bool XdgAutoStart::write(const std::string& programFolder)
{
    const QString program = QDir(QString::fromStdString(programFolder)).filePath(kProgramFileName);
    const QByteArray entry = QStringLiteral("[Desktop Entry]\n"
                                            "Type=Application\n"
                                            "Name=Xarvane\n"
                                            "Exec=%1\n"
                                            "Terminal=false\n")
                                 .arg(execArgument(program))
                                 .toUtf8();
    if (!QDir().mkpath(m_folder))
        return false;
    QSaveFile file(filePath());
    return file.open(QIODevice::WriteOnly) && file.write(entry) == entry.size() && file.commit();
}

bool XdgAutoStart::remove()
{
    QFile file(filePath());
    return !file.exists() || file.remove();
}

QString defaultAutoStartFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/autostart");
}

} // namespace xr::platform
