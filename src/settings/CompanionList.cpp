#include "settings/CompanionList.h"

#include "platform/Gbk.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <stdexcept>

namespace xr {

namespace {

std::runtime_error fileError(const QString& verb, const QString& file, const QString& reason)
{
    return std::runtime_error(QStringLiteral("无法%1同时启动程序列表文件[%2]：%3")
                                  .arg(verb, QDir::toNativeSeparators(file), reason)
                                  .toStdString());
}

} // namespace

QString companionListPath(const QString& appPath)
{
    return appPath + kCompanionListFileName;
}

bool companionListHolds(const QString& entry)
{
    return platform::exactToGbk(entry.toStdString()).has_value();
}

QStringList parseCompanionList(const QByteArray& gbk)
{
    const QString text = QString::fromStdString(platform::fromGbk(gbk.toStdString()));
    QStringList entries;
    QString entry;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) {
            entry += c;
            continue;
        }
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        entries << entry;
        entry.clear();
    }
    if (!entry.isEmpty())
        entries << entry;
    return entries;
}

QByteArray companionListBytes(const QStringList& entries)
{
    std::string text;
    for (const QString& entry : entries)
        text += entry.toStdString() + "\r\n";
    return QByteArray::fromStdString(platform::toGbk(text));
}

std::optional<QStringList> readCompanionList(const QString& file)
{
    QFile list(file);
    if (!list.exists())
        return std::nullopt;
    if (!list.open(QIODevice::ReadOnly))
        throw fileError(QStringLiteral("读取"), file, list.errorString());
    return parseCompanionList(list.readAll());
}

void writeCompanionList(const QString& file, const QStringList& entries)
{
    QSaveFile list(file);
    if (!list.open(QIODevice::WriteOnly) || list.write(companionListBytes(entries)) < 0 || !list.commit())
        throw fileError(QStringLiteral("写入"), file, list.errorString());
}

} // namespace xr
