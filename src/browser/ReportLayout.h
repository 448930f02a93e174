#pragma once
// The printed usage list's bands on A4 and how the records fall onto pages. Every measure is in
// tenths of a millimetre, so that the page arithmetic is exact.

namespace xr::report {

// A4 portrait with 10 mm margins: the bands are 190 mm wide, 277 mm of height per page.
constexpr int kPageWidth = 2100;
constexpr int kPageHeight = 2970;
constexpr int kMargin = 100;
constexpr int kBodyHeight = kPageHeight - 2 * kMargin;

constexpr int kTitleBand = 151;       // once, at the start
constexpr int kColumnHeaderBand = 56; // at the top of each page
constexpr int kDetailBand = 53;       // once per record
constexpr int kSummaryBand = 108;     // once, after the last record
constexpr int kPageFooterBand = 66;   // at the foot of each page: its number among all

// What one page holds, from the top: the title (first page only), the column header, `rows`
// records from `firstRow` on, and the summary (last page only).
struct ReportPage {
    int firstRow = 0;
    int rows = 0;
    bool title = false;
    bool summary = false;
};

class ReportLayout {
public:
    explicit ReportLayout(int records);

    int pageCount() const { return m_pageCount; }
    // Page `index` (0 <= index < pageCount()).
    ReportPage page(int index) const;

private:
    // Records on page `index` when the records are enough to fill it.
    static int capacity(int index);

    int m_records;
    int m_pageCount;
};

} // namespace xr::report
