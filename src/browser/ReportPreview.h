#pragma once
// The print preview of the usage list: one page at a time, drawn when it is shown (a list of a
// million records has twenty thousand pages, and none is drawn before it is looked at), with the
// buttons to move between pages, to zoom, and to print.

#include <QDialog>
#include <QImage>

#include <functional>

class QAction;
class QLabel;
class QSpinBox;

namespace xr {

class ReportPreview : public QDialog {
public:
    // Page `index` (from 0) as an image of `dpi` dots per inch.
    using PageImage = std::function<QImage(int index, double dpi)>;
    // Opens the printer dialog and prints, over the preview.
    using Print = std::function<void(QWidget* preview)>;

    ReportPreview(int pageCount, PageImage pageImage, Print print, QWidget* parent);

    int pageCount() const { return m_pageCount; }
    // The page shown, from 0.
    int currentPage() const { return m_page; }
    void showPage(int index);

private:
    QAction* makeAction(const QString& name, const QString& caption, const std::function<void()>& run);
    void zoomBy(int steps);
    void drawPage();
    void updateActions();

    int m_pageCount;
    PageImage m_pageImage;
    Print m_print;
    int m_page = 0;
    int m_zoomStep;
    QLabel* m_lblPage;
    QSpinBox* m_sePage;
    QLabel* m_lblPageCount;
    QAction* m_actFirstPage = nullptr;
    QAction* m_actPrevPage = nullptr;
    QAction* m_actNextPage = nullptr;
    QAction* m_actLastPage = nullptr;
    QAction* m_actZoomIn = nullptr;
    QAction* m_actZoomOut = nullptr;
};

} // namespace xr
