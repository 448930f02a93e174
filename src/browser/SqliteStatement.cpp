#include "browser/SqliteStatement.h"

#include "store/DatabaseError.h"

#include <sqlite3.h>

namespace xr {

SqliteStatement::SqliteStatement(sqlite3* connection, const QString& text) : m_connection(connection)
{
    const QByteArray utf8 = text.toUtf8();
    if (sqlite3_prepare_v2(connection, utf8.constData(), static_cast<int>(utf8.size()), &m_statement,
                           nullptr) != SQLITE_OK)
        fail();
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_statement);
}

void SqliteStatement::bind(const QString& marker, const QVariant& value)
{
    const int index = sqlite3_bind_parameter_index(m_statement, marker.toUtf8().constData());
    if (index == 0)
        return;
    int result = SQLITE_OK;
    if (value.typeId() == QMetaType::Double) {
        result = sqlite3_bind_double(m_statement, index, value.toDouble());
    } else {
        const QByteArray utf8 = value.toString().toUtf8();
        result = sqlite3_bind_text(m_statement, index, utf8.constData(), static_cast<int>(utf8.size()),
                                   SQLITE_TRANSIENT);
    }
    if (result != SQLITE_OK)
        fail();
}

void SqliteStatement::bind(int index, qint64 value)
{
    if (sqlite3_bind_int64(m_statement, index, value) != SQLITE_OK)
        fail();
}

bool SqliteStatement::step()
{
    const int result = sqlite3_step(m_statement);
    if (result != SQLITE_ROW && result != SQLITE_DONE)
        fail();
    return result == SQLITE_ROW;
}

void SqliteStatement::reset()
{
    sqlite3_reset(m_statement);
}

qint64 SqliteStatement::integer(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

std::optional<qint64> SqliteStatement::optionalInteger(int column) const
{
    if (sqlite3_column_type(m_statement, column) == SQLITE_NULL)
        return std::nullopt;
    return integer(column);
}

double SqliteStatement::real(int column) const
{
    return sqlite3_column_double(m_statement, column);
}

QByteArrayView SqliteStatement::utf8(int column) const
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    return {text, sqlite3_column_bytes(m_statement, column)};
}

void SqliteStatement::fail() const
{
    throw DatabaseError(QString::fromUtf8(sqlite3_errmsg(m_connection)));
}

} // namespace xr
