#pragma once
// A failed database operation, carrying the database's own text.

#include <stdexcept>

#include <QSqlError>
#include <QString>

namespace xr {

class DatabaseError : public std::runtime_error {
public:
    explicit DatabaseError(const QString& text) : std::runtime_error(text.toStdString()) {}
    explicit DatabaseError(const QSqlError& error) : DatabaseError(error.text()) {}
};

} // namespace xr
