#pragma once
// A statement over the usage records together with the values of its named parameters (":u",
// ":c", ":s", ":e"), kept as one value so that what runs later (deleting the listed records,
// printing them) can reuse exactly the values the list was opened with.

#include <QMap>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

namespace xr {

class RecordQuery {
public:
    RecordQuery() = default;
    explicit RecordQuery(QString text) : m_text(std::move(text)) {}

    const QString& text() const { return m_text; }
    // Parameter values by marker (":u" ...); only markers the statement holds are bound.
    const QMap<QString, QVariant>& values() const { return m_values; }
    void bind(const QString& marker, const QVariant& value) { m_values.insert(marker, value); }

    // Prepares and runs the statement with its values. Throws DatabaseError on failure.
    QSqlQuery run(const QSqlDatabase& db) const;

private:
    QString m_text;
    QMap<QString, QVariant> m_values;
};

} // namespace xr
