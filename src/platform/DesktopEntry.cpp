#include "platform/DesktopEntry.h"

#include <QFile>
#include <QHash>

namespace xr::platform {

namespace {

const QString kGroup = QStringLiteral("[Desktop Entry]");

// A string value with its escapes (\s \n \t \r \\) undone.
QString unescapeValue(const QString& value)
{
    QString text;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != QLatin1Char('\\') || i + 1 == value.size()) {
            text += c;
            continue;
        }
        const QChar next = value.at(++i);
        static const QHash<QChar, QChar> escapes{{QLatin1Char('s'), QLatin1Char(' ')},
                                                 {QLatin1Char('n'), QLatin1Char('\n')},
                                                 {QLatin1Char('t'), QLatin1Char('\t')},
                                                 {QLatin1Char('r'), QLatin1Char('\r')},
                                                 {QLatin1Char('\\'), QLatin1Char('\\')}};
        text += escapes.value(next, next);
    }
    return text;
}

// The keys of the [Desktop Entry] group (localised keys are left out: the plain key serves).
QHash<QString, QString> entryKeys(const QString& path)
{
    QHash<QString, QString> keys;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return keys;
    bool inGroup = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inGroup = line == kGroup;
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!inGroup || line.startsWith(QLatin1Char('#')) || equals <= 0)
            continue;
        const QString key = line.left(equals).trimmed();
        if (!key.contains(QLatin1Char('[')) && !keys.contains(key))
            keys.insert(key, unescapeValue(line.mid(equals + 1).trimmed()));
    }
    return keys;
}

// One field code, expanded into `arguments`; `current` is the argument it stands in.
void expandFieldCode(QChar code, QString& current, QStringList& arguments, const QString& name,
                     const QString& icon, const QString& path)
{
    switch (code.unicode()) {
    case '%':
        current += QLatin1Char('%');
        break;
    case 'c':
        current += name;
        break;
    case 'k':
        current += path;
        break;
    case 'i':
        if (!icon.isEmpty())
            arguments << QStringLiteral("--icon") << icon;
        break;
    default: // files and URLs (none are given) and the deprecated codes
        break;
    }
}

} // namespace

QStringList execArguments(const QString& exec, const QString& name, const QString& icon, const QString& path)
{
    QStringList arguments;
    QString current;
    bool started = false; // an argument is being collected (also an empty quoted one)
    bool quoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        // Field codes count inside quotes too: quoting is undone first, then the codes
        // expanded, so a quoted "%%" is one percent sign.
        if (c == QLatin1Char('%') && i + 1 < exec.size()) {
            expandFieldCode(exec.at(++i), current, arguments, name, icon, path);
            started = started || !current.isEmpty();
        } else if (quoted) {
            if (c == QLatin1Char('"'))
                quoted = false;
            else if (c == QLatin1Char('\\') && i + 1 < exec.size())
                current += exec.at(++i);
            else
                current += c;
        } else if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
            if (started)
                arguments << current;
            current.clear();
            started = false;
        } else if (c == QLatin1Char('"')) {
            quoted = started = true;
        } else {
            current += c;
            started = true;
        }
    }
    if (quoted)
        return {};
    if (started)
        arguments << current;
    return arguments;
}

DesktopLaunch readDesktopEntry(const QString& path)
{
    const QHash<QString, QString> keys = entryKeys(path);
    DesktopLaunch launch;
    const QString type = keys.value(QStringLiteral("Type"));
    if (type == QStringLiteral("Link")) {
        launch.url = keys.value(QStringLiteral("URL"));
    } else if (type == QStringLiteral("Application")) {
        launch.command = execArguments(keys.value(QStringLiteral("Exec")), keys.value(QStringLiteral("Name")),
                                       keys.value(QStringLiteral("Icon")), path);
        launch.workingFolder = keys.value(QStringLiteral("Path"));
        launch.inTerminal = keys.value(QStringLiteral("Terminal")) == QStringLiteral("true");
    }
    return launch;
}

} // namespace xr::platform
