#include "browser/RecordQueries.h"

#include "store/PeriodBounds.h"
#include "store/PickLists.h"

namespace xr {

namespace {

const QString kSelect = QStringLiteral("select * from XRRecord");
const QString kWhere = QStringLiteral(" where ");
const QString kOrder = QStringLiteral(" order by Sdt,ConnName");
const QString kUser = QStringLiteral(":u");
const QString kConnection = QStringLiteral(":c");
const QString kStation = QStringLiteral(":p");
const QString kStart = QStringLiteral(":s");
const QString kEnd = QStringLiteral(":e");

// A text as an SQL string literal. Only the quote is special inside a literal (no backslash
// escapes), so doubling it keeps the whole text inside the literal.
QString quoted(QString text)
{
    return QLatin1Char('\'') + text.replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
}

// The conditions of a statement, joined in the order they are added (each after the first led
// by "and "), and the values of the parameters they hold.
class Conditions {
public:
    void add(const QString& fragment)
    {
        if (!m_text.isEmpty())
            m_text += QStringLiteral("and ");
        m_text += fragment;
    }
    void bind(const QString& marker, const QVariant& value) { m_values.insert(marker, value); }

    RecordQuery query() const
    {
        RecordQuery query(kSelect + (m_text.isEmpty() ? QString() : kWhere + m_text) + kOrder);
        for (auto value = m_values.cbegin(); value != m_values.cend(); ++value)
            query.bind(value.key(), value.value());
        return query;
    }

private:
    QString m_text;
    QMap<QString, QVariant> m_values;
};

void addUserCondition(Conditions& conditions, const RecordFilter& filter, const TConnection& user)
{
    if (!user.Admin) {
        conditions.add(QStringLiteral("(UserId = %1) ").arg(quoted(user.UserId)));
    } else if (!filter.users.lastChosen()) {
        conditions.add(QStringLiteral("(UserId = :u) "));
        conditions.bind(kUser, filter.userIds.value(filter.users.index));
    }
}

void addConnectionCondition(Conditions& conditions, const RecordFilter& filter)
{
    if (filter.connections.lastChosen())
        return;
    conditions.add(QStringLiteral("(ConnName = :c) "));
    conditions.bind(kConnection, filter.connections.text());
}

void addStationCondition(Conditions& conditions, const RecordFilter& filter)
{
    if (filter.stations.items.isEmpty() || filter.stations.lastChosen())
        return;
    conditions.add(QStringLiteral("(Station = :p) "));
    conditions.bind(kStation, filter.stations.text());
}

void addTimeConditions(Conditions& conditions, const RecordFilter& filter, const QDateTime& now)
{
    if (filter.time.period()) {
        const TimeBounds bounds = periodBounds(filter.periods.index, filter.periods.text(), now);
        conditions.add(QStringLiteral("(Sdt >= :s) and (Edt <= :e) "));
        conditions.bind(kStart, bounds.s);
        conditions.bind(kEnd, bounds.e);
        return;
    }
    if (filter.time.connectDate()) {
        conditions.add(QStringLiteral("(Sdt >= :s) "));
        conditions.bind(kStart, connectDateBound(filter.connectDate));
    }
    if (filter.time.disconnectDate()) {
        conditions.add(QStringLiteral("(Edt <= :e)"));
        conditions.bind(kEnd, disconnectDateBound(filter.disconnectDate));
    }
}

} // namespace

void resetToDefaults(RecordFilter& filter, const TSettings& settings, const TConnection& user,
                     const QDate& today)
{
    filter.connectDate = today;
    filter.disconnectDate = today;
    filter.time.setConnectDate(false);
    filter.time.setDisconnectDate(false);
    filter.time.setPeriod(true);
    const bool listed = settings.DefaultTime >= 0 && settings.DefaultTime < filter.periods.items.size();
    filter.periods.index = listed ? settings.DefaultTime : -1;
    if (!filter.users.items.isEmpty())
        filter.users.choose(user.UserName);
    if (!filter.connections.items.isEmpty())
        filter.connections.choose(settings.DefaultConnName);
    if (!filter.stations.items.isEmpty())
        filter.stations.choose(kAllStations);
}

RecordQuery defaultRecordsQuery(const RecordFilter& filter, int DefaultTime, const TConnection& user,
                                const QDateTime& now)
{
    const bool oneConnection = filter.connections.text() != kAllConnections;
    const QString text =
        oneConnection
            ? QStringLiteral("select * from XRRecord where (UserId = :u) and (Sdt >= :s) and (Edt <= :e) "
                             "and (ConnName = :c) order by Sdt,ConnName")
            : QStringLiteral("select * from XRRecord where (UserId = :u) and (Sdt >= :s) and (Edt <= :e) "
                             "order by Sdt,ConnName");
    const TimeBounds bounds = periodBounds(DefaultTime, filter.periods.text(), now);
    RecordQuery query(text);
    query.bind(kUser, user.UserId);
    query.bind(kStart, bounds.s);
    query.bind(kEnd, bounds.e);
    if (oneConnection)
        query.bind(kConnection, filter.connections.text());
    return query;
}

RecordQuery findRecordsQuery(const RecordFilter& filter, const TConnection& user, const QDateTime& now)
{
    Conditions conditions;
    addUserCondition(conditions, filter, user);
    addConnectionCondition(conditions, filter);
    addStationCondition(conditions, filter);
    addTimeConditions(conditions, filter, now);
    return conditions.query();
}

QString listedRows(const QString& listStatement)
{
    const qsizetype from = listStatement.indexOf(QStringLiteral("from "));
    QString rows = listStatement.mid(from < 0 ? 0 : from);
    const qsizetype order = rows.lastIndexOf(QStringLiteral(" order by "));
    if (order >= 0)
        rows.truncate(order);
    return rows;
}

RecordQuery deleteAllQuery(const RecordQuery& list)
{
    const QString& text = list.text();
    const qsizetype where = text.indexOf(QStringLiteral("where"));
    // A list without conditions lists every record; its delete keeps no conditions either.
    QString conditions = where < 0 ? QString() : text.mid(where);
    const qsizetype order = conditions.indexOf(QStringLiteral("order"));
    if (order >= 0)
        conditions.truncate(order);
    RecordQuery query(QStringLiteral("delete from XRRecord ") + conditions);
    for (const QString& marker : {kUser, kConnection, kStation, kStart, kEnd}) {
        if (query.text().contains(marker))
            query.bind(marker, list.values().value(marker));
    }
    return query;
}

RecordQuery withTombstones(const RecordQuery& deletion)
{
    RecordQuery query(
        QStringLiteral("with gone as (") + deletion.text().trimmed() +
        QStringLiteral(" returning Station, RecordId) insert into XRRecordGone (Station, RecordId) "
                       "select Station, RecordId from gone on conflict do nothing"));
    for (auto value = deletion.values().cbegin(); value != deletion.values().cend(); ++value)
        query.bind(value.key(), value.value());
    return query;
}

} // namespace xr
