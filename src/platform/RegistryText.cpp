#include "platform/RegistryText.h"

#include "platform/Gbk.h"

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

namespace {

QString lineNote(qsizetype line, const QString& what)
{
    return QStringLiteral("第 %1 行%2").arg(line + 1).arg(what);
}

// The first line whose bytes are neither UTF-8 nor GBK.
qsizetype firstUndecodableLine(const QByteArray& bytes)
{
    const QList<QByteArray> lines = bytes.split('\n');
    for (qsizetype line = 0; line < lines.size(); ++line) {
        QStringDecoder utf8(QStringDecoder::Utf8);
        [[maybe_unused]] const QString decoded = utf8.decode(lines.at(line)); // decodes when taken
        if (utf8.hasError() && !exactFromGbk(lines.at(line).toStdString()))
            return line;
    }
    return 0;
}

std::optional<QString> decodedText(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    if (const std::optional<std::string> gbk = exactFromGbk(bytes.toStdString()))
        return QString::fromStdString(*gbk);
    return std::nullopt;
}

// Reads the lines after the header into `tree`, keeping what it cannot use.
class SectionReader {
public:
    SectionReader(const QStringList& lines, RegistryTextRead& read) : m_lines(lines), m_read(read) {}

    void readFrom(qsizetype first)
    {
        for (qsizetype line = first; line < m_lines.size(); ++line) {
            const QString current = m_lines.at(line).trimmed();
            if (current.isEmpty())
                continue;
            if (current.startsWith(QLatin1Char(';')))
                keep(line, line);
            else if (current.startsWith(QLatin1Char('[')))
                readSectionHeader(current, line);
            else
                readValue(current, line);
        }
    }

private:
    void readSectionHeader(const QString& current, qsizetype line)
    {
        const QString path = current.mid(1, current.size() - 2);
        m_unknownSection = !current.endsWith(QLatin1Char(']')) || !isValidKeyPath(path);
        if (m_unknownSection) {
            skip(line, line, QStringLiteral("的键名无法识别，其下的值都不使用"));
            return;
        }
        m_section = m_read.tree->ensureKey(path).path;
    }

    void readValue(const QString& current, qsizetype& line)
    {
        const qsizetype first = line;
        std::optional<RegistryTree::Value> value = parseValue(current, m_lines, line);
        if (!value)
            skip(first, line, QStringLiteral("无法识别，已跳过"));
        else if (m_section.isEmpty() || m_unknownSection)
            skip(first, line, QStringLiteral("不属于任何可识别的键，已跳过"));
        else
            m_read.tree->findKey(m_section)->setValue(std::move(*value));
    }

    void skip(qsizetype first, qsizetype last, const QString& why)
    {
        m_read.notes.append(lineNote(first, why));
        keep(first, last);
    }

    // Lines `first` to `last` as written, under the section they stand in.
    void keep(qsizetype first, qsizetype last)
    {
        std::vector<QString>& kept =
            m_section.isEmpty() ? m_read.tree->leadingLines() : m_read.tree->findKey(m_section)->keptLines;
        for (qsizetype line = first; line <= last; ++line) {
            QString text = m_lines.at(line);
            if (text.endsWith(QLatin1Char('\r')))
                text.chop(1);
            kept.push_back(text);
        }
    }

    const QStringList& m_lines;
    RegistryTextRead& m_read;
    QString m_section;
    bool m_unknownSection = false;
};

} // namespace

RegistryTextRead parseRegistryText(const QByteArray& bytes)
{
    RegistryTextRead read;
    const std::optional<QString> text = decodedText(bytes);
    if (!text) {
        read.notes.append(
            lineNote(firstUndecodableLine(bytes), QStringLiteral("既不是 UTF-8 也不是 GBK 文本")));
        return read;
    }
    const QStringList lines = text->split(QLatin1Char('\n'));
    qsizetype header = 0;
    while (header < lines.size() && lines.at(header).trimmed().isEmpty())
        ++header;
    if (header == lines.size() || lines.at(header).trimmed() != kHeader) {
        read.notes.append(
            lineNote(std::min(header, lines.size() - 1), QStringLiteral("不是 REGEDIT4 文件头")));
        return read;
    }
    read.tree.emplace();
    SectionReader(lines, read).readFrom(header + 1);
    return read;
}

QByteArray formatRegistryText(const RegistryTree& tree)
{
    QString text = kHeader + QLatin1Char('\n');
    for (const QString& line : tree.leadingLines())
        text += line + QLatin1Char('\n');
    for (const RegistryTree::Key& key : tree.keys()) {
        text += QLatin1String("\n[") + key.path + QLatin1String("]\n");
        for (const RegistryTree::Value& value : key.values)
            text += formatValue(value) + QLatin1Char('\n');
        for (const QString& line : key.keptLines)
            text += line + QLatin1Char('\n');
    }
    return text.toUtf8();
}

} // namespace xr::platform
