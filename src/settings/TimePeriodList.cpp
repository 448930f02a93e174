#include "settings/TimePeriodList.h"

#include "common/DisplayFormats.h"

#include <QDate>

namespace xr {

namespace {
constexpr int kFixedEntries = 2;
} // namespace

TimePeriodList::TimePeriodList(QStringList entries, int defaultPosition)
    : m_entries(std::move(entries)), m_default(defaultPosition)
{
}

bool TimePeriodList::add(const QString& period)
{
    if (m_entries.contains(period))
        return false;
    m_entries.append(period);
    return true;
}

int TimePeriodList::remove(int selected)
{
    const QString defaultEntry = defaultText();
    if (selected < kFixedEntries || selected >= m_entries.size())
        return selected;
    m_entries.removeAt(selected);
    const qsizetype kept = m_entries.indexOf(defaultEntry);
    m_default = kept < 0 ? 0 : static_cast<int>(kept);
    return m_default;
}

void TimePeriodList::setDefault(int selected)
{
    if (selected >= 0 && selected < m_entries.size())
        m_default = selected;
}

QString periodText(const QDate& first, const QDate& last)
{
    return first.toString(kShortDateFormat) + QLatin1Char('*') + last.toString(kShortDateFormat);
}

} // namespace xr
