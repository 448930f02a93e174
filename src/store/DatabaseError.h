#pragma once
// A failed database operation, carrying the database's own text.

#include <stdexcept>

#include <QSqlError>
#include <QString>

namespace xr {

class DatabaseError : public std::runtime_error {
public:
    explicit DatabaseError(const QString& text) : std::runtime_error(text.toStdString()) {}
    // `operation` says what was being done, in the user's words ("修改上网记录"): Qt gives no
    // text of its own when the connection is not open, and then the text says what failed.
    DatabaseError(const QSqlError& error, const QString& operation)
        : DatabaseError(error.text().trimmed().isEmpty()
                            ? QStringLiteral("数据库未打开，无法%1。").arg(operation)
                            : error.text())
    {
        constexpr int kSqliteReadOnly = 8; // its extended codes share the low byte
        m_readOnly = (error.nativeErrorCode().toInt() & 0xff) == kSqliteReadOnly;
    }

    // The write failed because the connection is read-only (the file was write-protected when
    // the connection was opened).
    bool readOnly() const { return m_readOnly; }

private:
    bool m_readOnly = false;
};

} // namespace xr
