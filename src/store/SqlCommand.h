#pragma once
// The shared statement object: every insert, update and delete of the program runs here.
// Set the text, set the named parameters (":i", ":s", ":e", ":u", ":c"), execute.

#include <QMap>
#include <QString>
#include <QVariant>

namespace xr {

class Database;

class SqlCommand {
public:
    explicit SqlCommand(Database& database) : m_database(database) {}

    void setCommandText(const QString& text);
    void setParameter(const QString& name, const QVariant& value);
    // Runs the statement; throws DatabaseError with the database's text on failure. A write
    // refused by a read-only connection is tried once more on a reopened connection first.
    void execute();

private:
    Database& m_database;
    QString m_text;
    QMap<QString, QVariant> m_parameters;
};

} // namespace xr
