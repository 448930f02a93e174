#include "browser/ByteCountText.h"

#include <QtMath>

#include <array>

namespace xr {

namespace {

constexpr double kStep = 1024.0;
const std::array<QString, 4> kUnits{QStringLiteral("B"), QStringLiteral("KB"), QStringLiteral("MB"),
                                    QStringLiteral("GB")};

} // namespace

QString byteCountText(std::optional<qint64> bytes)
{
    if (!bytes)
        return {};
    if (qAbs(*bytes) < kStep)
        return QString::number(*bytes) + QLatin1Char(' ') + kUnits.front();
    double value = static_cast<double>(*bytes);
    std::size_t unit = 0;
    // The unit goes up while the value, rounded to its one decimal, would reach 1024.
    while (unit + 1 < kUnits.size() && qAbs(qRound64(value * 10)) >= qRound64(kStep * 10)) {
        value /= kStep;
        ++unit;
    }
    return QString::number(value, 'f', 1) + QLatin1Char(' ') + kUnits.at(unit);
}

} // namespace xr
