#include "notices/FloatWinRules.h"

#include "common/DisplayFormats.h"
#include "store/DayCount.h"

namespace xr {

namespace {

// Sdt as the system's date and time text, the date alone at exactly midnight; the zero
// date-time (nothing timed yet) gives the empty text.
QString startText(double sdt)
{
    const QDateTime start = fromDayCount(sdt);
    const QString text = start.time() == QTime(0, 0) ? start.toString(kShortDateFormat) : dateTimeText(start);
    return text == QStringLiteral("1899-12-30") ? QString() : text;
}

} // namespace

std::optional<QSize> floatWinSize(int FWStyle)
{
    switch (FWStyle) {
    case 0:
        return QSize(142, 27);
    case 1:
        return QSize(208, 35);
    default:
        return std::nullopt;
    }
}

QPoint bringBackOnScreen(const QRect& window, QSize screen)
{
    QPoint position = window.topLeft();
    if (position.x() < 0)
        position.setX(1);
    if (position.x() + window.width() > screen.width())
        position.setX(screen.width() - window.width());
    if (position.y() < 0)
        position.setY(1);
    if (position.y() + window.height() > screen.height())
        position.setY(screen.height() - 2 * window.height());
    return position;
}

QString floatWinHint(const TConnection& current)
{
    return QStringLiteral("XarvaneXR：\r当前用户：") + current.UserName + QStringLiteral("\r") +
           QStringLiteral("当前连接：") + current.ConnName + QStringLiteral("\r") +
           QStringLiteral("开始连接：") + startText(current.Sdt);
}

} // namespace xr
