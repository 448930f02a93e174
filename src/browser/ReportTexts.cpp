#include "browser/ReportTexts.h"

#include "browser/RecordFilter.h"
#include "common/DisplayFormats.h"
#include "common/Settings.h"
#include "store/PickLists.h"

namespace xr {

namespace {

const QString kUserMarker = QStringLiteral(":u");
const QString kConnectionMarker = QStringLiteral(":c");
const QString kWrittenUser = QStringLiteral("(UserId = '");

// The SQL string literal that starts at `from` (after its opening quote), with doubled quotes
// read as one.
QString literalAt(const QString& text, qsizetype from)
{
    QString value;
    for (qsizetype i = from; i < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('\''))
            value += text.at(i);
        else if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\''))
            value += text.at(++i);
        else
            break;
    }
    return value;
}

} // namespace

std::optional<QString> listedUserId(const RecordQuery& list)
{
    if (list.text().contains(kUserMarker))
        return list.values().value(kUserMarker).toString();
    const qsizetype written = list.text().indexOf(kWrittenUser);
    if (written >= 0)
        return literalAt(list.text(), written + kWrittenUser.size());
    return std::nullopt;
}

QString listedUserText(const QSqlDatabase& db, const RecordQuery& list)
{
    const QString caption = QStringLiteral("上网用户：");
    const std::optional<QString> id = listedUserId(list);
    if (!id)
        return caption + kAllUsers;
    RecordQuery lookup(QStringLiteral("select UserName from XRUser where UserId = :i"));
    lookup.bind(QStringLiteral(":i"), *id);
    QSqlQuery name = lookup.run(db);
    return caption + (name.next() ? name.value(0).toString() : QString());
}

QString listedConnectionText(const RecordQuery& list)
{
    const QString caption = QStringLiteral("连接名称：");
    if (list.text().contains(kConnectionMarker))
        return caption + list.values().value(kConnectionMarker).toString();
    return caption + kAllConnections;
}

ReportTexts reportTexts(const QSqlDatabase& db, const RecordQuery& list, const QString& printingUser,
                        const QDateTime& now, const QString& total, const QString& traffic)
{
    ReportTexts texts;
    texts.title = QStringLiteral("[Xarvane]用户上网计时清单");
    texts.user = listedUserText(db, list);
    texts.conn = listedConnectionText(list);
    texts.pUser = QStringLiteral("打印清单用户：") + printingUser;
    texts.date = QStringLiteral("打印时间：") + dateTimeText(now);
    texts.total = total;
    texts.traffic = traffic;
    texts.memo = QStringLiteral("Xarvane 上网计时 · Pellory Xarvane");
    return texts;
}

} // namespace xr
