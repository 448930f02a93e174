#include "store/Statement.h"

#include "store/DatabaseError.h"

namespace xr {

namespace {

QString actionOf(const QString& statement)
{
    const QString verb = statement.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty).toLower();
    if (verb == QLatin1String("insert"))
        return QStringLiteral("添加");
    if (verb == QLatin1String("update"))
        return QStringLiteral("修改");
    if (verb == QLatin1String("delete"))
        return QStringLiteral("删除");
    return QStringLiteral("读取");
}

// The table named first is the one the statement is about.
QString subjectOf(const QString& statement)
{
    if (statement.contains(QLatin1String("XRAllowance")))
        return QStringLiteral("上网时限");
    if (statement.contains(QLatin1String("XRGrant")))
        return QStringLiteral("加时");
    const qsizetype records = statement.indexOf(QLatin1String("XRRecord"));
    const qsizetype users = statement.indexOf(QLatin1String("XRUser"));
    if (records >= 0 && (users < 0 || records < users))
        return QStringLiteral("上网记录");
    return users >= 0 ? QStringLiteral("用户") : QStringLiteral("数据");
}

} // namespace

QString statementPurpose(const QString& statement)
{
    return actionOf(statement) + subjectOf(statement);
}

QSqlQuery runStatement(const QSqlDatabase& db, const QString& text, const QMap<QString, QVariant>& values)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (values.isEmpty()) { // also what a server cannot prepare: its tables' definitions
        if (!query.exec(text))
            throw DatabaseError(query.lastError(), statementPurpose(text));
        return query;
    }
    if (!query.prepare(text))
        throw DatabaseError(query.lastError(), statementPurpose(text));
    for (auto value = values.cbegin(); value != values.cend(); ++value)
        query.bindValue(value.key(), value.value());
    if (!query.exec())
        throw DatabaseError(query.lastError(), statementPurpose(text));
    return query;
}

} // namespace xr
