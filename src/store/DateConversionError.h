#pragma once
// A text that does not hold a date in the short date format; shown by the general error handler.

#include <stdexcept>

#include <QString>

namespace xr {

class DateConversionError : public std::runtime_error {
public:
    explicit DateConversionError(const QString& text)
        : std::runtime_error(QStringLiteral("'%1' is not a valid date").arg(text).toStdString())
    {
    }
};

} // namespace xr
