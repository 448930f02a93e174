#pragma once
// One prepared SQLite statement on the handle behind a Qt connection, for the passes over the
// usage list that must run at the engine's speed: no Qt value is made for a field unless asked.

#include <QByteArrayView>
#include <QString>

#include <optional>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

namespace xr {

class SqliteStatement {
public:
    // Throws DatabaseError with SQLite's text when `text` does not prepare.
    SqliteStatement(sqlite3* connection, const QString& text);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // Binds `value` (a double, or anything else as text) to `marker` (":s"); a marker that the
    // statement does not hold is passed over.
    void bind(const QString& marker, const QVariant& value);
    void bind(int index, qint64 value);

    // True while a row is there; throws DatabaseError on an error.
    bool step();
    // Makes the statement ready to run again, keeping its bound values.
    void reset();

    qint64 integer(int column) const;
    // An integer column that may be NULL.
    std::optional<qint64> optionalInteger(int column) const;
    double real(int column) const;
    // A text column's UTF-8 bytes, valid until the next step.
    QByteArrayView utf8(int column) const;
    QString text(int column) const { return QString::fromUtf8(utf8(column)); }

private:
    [[noreturn]] void fail() const;

    sqlite3* m_connection;
    sqlite3_stmt* m_statement = nullptr;
};

} // namespace xr
