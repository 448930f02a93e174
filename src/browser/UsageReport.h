#pragma once
// The printed usage list (rptList): the banded report drawn page by page onto any paged device
// (a printer, a PDF file), or one page into an image (the print preview). Each page is drawn
// from the rows it shows, read from the list as it is drawn, so that no page is kept once it is
// done and a page of a long list costs what a page of a short one does.

#include "browser/ReportTexts.h"

class QImage;
class QPagedPaintDevice;

namespace xr {

class RecordList;
class WorkProgress;

// Sets A4 portrait with 10 mm margins on `device` and draws the report of `rows` with `texts`:
// every page, or only the pages of the device's page ranges when it has any, counting the pages
// drawn in `progress` and stopping between two pages once it is cancelled. False when the
// device cannot be painted on (a file that cannot be written).
bool renderUsageReport(QPagedPaintDevice& device, const ReportTexts& texts, const RecordList& rows,
                       WorkProgress& progress);

int usageReportPageCount(const RecordList& rows);
// Page `index` (from 0) of the report as an A4 image of `dpi` dots per inch, on white.
QImage usageReportPage(const ReportTexts& texts, const RecordList& rows, int index, double dpi);

} // namespace xr
