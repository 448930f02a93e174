#include "platform/RegistryText.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringList>

#include <algorithm>

namespace xr::platform {

namespace {

const QString kHeader = QStringLiteral("REGEDIT4");

// Reads a quoted text with \\ and \" escapes from the start of `rest`, leaving `rest` after
// the closing quote.
std::optional<QString> takeQuoted(QStringView& rest)
{
    if (!rest.startsWith(QLatin1Char('"')))
        return std::nullopt;
    QString text;
    for (qsizetype i = 1; i < rest.size(); ++i) {
        const QChar c = rest.at(i);
        if (c == QLatin1Char('"')) {
            rest = rest.mid(i + 1);
            return text;
        }
        if (c == QLatin1Char('\\')) {
            if (++i == rest.size() || (rest.at(i) != QLatin1Char('\\') && rest.at(i) != QLatin1Char('"')))
                return std::nullopt;
        }
        text.append(rest.at(i));
    }
    return std::nullopt;
}

QString quoted(const QString& text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

std::optional<quint32> parseDword(QStringView digits)
{
    static const QRegularExpression hex(QStringLiteral("^[0-9A-Fa-f]{1,8}$"));
    if (!hex.match(digits.toString()).hasMatch())
        return std::nullopt;
    return digits.toUInt(nullptr, 16);
}

// Hex data of any type; a line ending in "\" continues on the next one. `line` is advanced
// past the continuation lines.
std::optional<QString> parseRaw(QStringView first, const QStringList& lines, qsizetype& line)
{
    static const QRegularExpression form(
        QStringLiteral("^hex(\\([0-9A-Fa-f]{1,8}\\))?:([0-9A-Fa-f]{2}(,[0-9A-Fa-f]{2})*)?$"),
        QRegularExpression::CaseInsensitiveOption);
    QString data = first.toString();
    while (data.endsWith(QLatin1Char('\\')) && line + 1 < lines.size()) {
        data.chop(1);
        data += lines.at(++line).trimmed();
    }
    data.remove(QLatin1Char(' '));
    if (!form.match(data).hasMatch())
        return std::nullopt;
    return data;
}

std::optional<RegistryTree::Value> parseValue(QStringView text, const QStringList& lines, qsizetype& line)
{
    RegistryTree::Value value;
    if (text.startsWith(QLatin1Char('@'))) {
        text = text.mid(1);
    } else {
        auto name = takeQuoted(text);
        if (!name)
            return std::nullopt;
        value.name = *name;
    }
    text = text.trimmed();
    if (!text.startsWith(QLatin1Char('=')))
        return std::nullopt;
    text = text.mid(1).trimmed();

    if (text.startsWith(QLatin1Char('"'))) {
        auto string = takeQuoted(text);
        if (!string || !text.trimmed().isEmpty())
            return std::nullopt;
        value.type = RegistryTree::ValueType::String;
        value.text = *string;
    } else if (text.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
        auto number = parseDword(text.mid(6));
        if (!number)
            return std::nullopt;
        value.type = RegistryTree::ValueType::Dword;
        value.dword = *number;
    } else if (text.startsWith(QLatin1String("hex"), Qt::CaseInsensitive)) {
        auto raw = parseRaw(text, lines, line);
        if (!raw)
            return std::nullopt;
        value.type = RegistryTree::ValueType::Raw;
        value.text = *raw;
    } else {
        return std::nullopt;
    }
    return value;
}

QString formatValue(const RegistryTree::Value& value)
{
    QString line = value.name.isEmpty() ? QStringLiteral("@") : quoted(value.name);
    line += QLatin1Char('=');
    switch (value.type) {
    case RegistryTree::ValueType::Dword:
        return line + QStringLiteral("dword:%1").arg(value.dword, 8, 16, QLatin1Char('0'));
    case RegistryTree::ValueType::String:
        return line + quoted(value.text);
    case RegistryTree::ValueType::Raw:
        break;
    }
    return line + value.text;
}

} // namespace

bool isStorableText(const QString& text)
{
    return !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')) && !text.contains(QChar(0));
}

bool isValidKeyPath(const QString& path)
{
    const QStringList names = path.split(QLatin1Char('\\'));
    return names.first().startsWith(QLatin1String("HKEY_")) && isStorableText(path) &&
           std::none_of(names.begin(), names.end(), [](const QString& name) { return name.isEmpty(); });
}

std::optional<RegistryTree> parseRegistryText(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;

    const QStringList lines = text.split(QLatin1Char('\n'));
    RegistryTree tree;
    bool headerSeen = false;
    QString section;
    for (qsizetype line = 0; line < lines.size(); ++line) {
        const QString current = lines.at(line).trimmed();
        if (current.isEmpty())
            continue;
        if (!headerSeen) {
            if (current != kHeader)
                return std::nullopt;
            headerSeen = true;
        } else if (current.startsWith(QLatin1Char(';'))) {
            continue;
        } else if (current.startsWith(QLatin1Char('['))) {
            if (!current.endsWith(QLatin1Char(']')))
                return std::nullopt;
            section = current.mid(1, current.size() - 2);
            if (!isValidKeyPath(section))
                return std::nullopt;
            section = tree.ensureKey(section).path;
        } else {
            auto value = parseValue(current, lines, line);
            if (section.isEmpty() || !value)
                return std::nullopt;
            tree.findKey(section)->setValue(std::move(*value));
        }
    }
    if (!headerSeen)
        return std::nullopt;
    return tree;
}

QByteArray formatRegistryText(const RegistryTree& tree)
{
    QString text = kHeader + QLatin1Char('\n');
    for (const RegistryTree::Key& key : tree.keys()) {
        text += QLatin1String("\n[") + key.path + QLatin1String("]\n");
        for (const RegistryTree::Value& value : key.values)
            text += formatValue(value) + QLatin1Char('\n');
    }
    return text.toUtf8();
}

} // namespace xr::platform
