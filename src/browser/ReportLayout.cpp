#include "browser/ReportLayout.h"

#include <algorithm>

namespace xr::report {

namespace {

constexpr int kUsableHeight = kBodyHeight - kPageFooterBand;

} // namespace

int ReportLayout::capacity(int index)
{
    const int header = (index == 0 ? kTitleBand : 0) + kColumnHeaderBand;
    return (kUsableHeight - header) / kDetailBand;
}

ReportLayout::ReportLayout(int records) : m_records(std::max(records, 0))
{
    const int first = capacity(0);
    const int next = capacity(1);
    const int rowPages = m_records <= first ? 1 : 1 + (m_records - first + next - 1) / next;
    // The summary follows the last record, on a page of its own when it does not fit below it.
    const ReportPage last = [&] {
        ReportPage page;
        page.title = rowPages == 1;
        page.rows = rowPages == 1 ? m_records : m_records - first - (rowPages - 2) * next;
        return page;
    }();
    const int used = (last.title ? kTitleBand : 0) + kColumnHeaderBand + last.rows * kDetailBand;
    m_pageCount = used + kSummaryBand <= kUsableHeight ? rowPages : rowPages + 1;
}

ReportPage ReportLayout::page(int index) const
{
    ReportPage page;
    page.title = index == 0;
    page.firstRow = index == 0 ? 0 : std::min(m_records, capacity(0) + (index - 1) * capacity(1));
    page.rows = std::clamp(m_records - page.firstRow, 0, capacity(index));
    page.summary = index == m_pageCount - 1;
    return page;
}

} // namespace xr::report
