#include "browser/ReportPreview.h"

#include <QAction>
#include <QLabel>
#include <QPixmap>
#include <QScrollArea>
#include <QSpinBox>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace xr {

namespace {

constexpr std::array kZoomSteps{0.5, 0.75, 1.0, 1.25, 1.5, 2.0, 3.0};
constexpr int kFullSizeStep = 2;

} // namespace

ReportPreview::ReportPreview(int pageCount, PageImage pageImage, Print print, QWidget* parent)
    : QDialog(parent), m_pageCount(std::max(pageCount, 1)), m_pageImage(std::move(pageImage)),
      m_print(std::move(print)), m_zoomStep(kFullSizeStep), m_lblPage(new QLabel(this)),
      m_sePage(new QSpinBox(this)), m_lblPageCount(new QLabel(this))
{
    setObjectName(QStringLiteral("rptListPreview"));
    setWindowTitle(QStringLiteral("打印预览"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    auto* tools = new QToolBar(this);
    tools->setObjectName(QStringLiteral("tbPreview"));
    tools->addAction(makeAction(QStringLiteral("actPrintReport"), QStringLiteral("打印(&P)..."),
                                [this] { m_print(this); }));
    tools->addSeparator();
    m_actFirstPage =
        makeAction(QStringLiteral("actFirstPage"), QStringLiteral("首页"), [this] { showPage(0); });
    m_actPrevPage =
        makeAction(QStringLiteral("actPrevPage"), QStringLiteral("上一页"), [this] { showPage(m_page - 1); });
    tools->addActions({m_actFirstPage, m_actPrevPage});
    m_sePage->setObjectName(QStringLiteral("sePage"));
    m_sePage->setRange(1, m_pageCount);
    m_sePage->setKeyboardTracking(false);
    tools->addWidget(m_sePage);
    m_lblPageCount->setObjectName(QStringLiteral("lblPageCount"));
    m_lblPageCount->setText(QStringLiteral(" 共 %1 页 ").arg(m_pageCount));
    tools->addWidget(m_lblPageCount);
    m_actNextPage =
        makeAction(QStringLiteral("actNextPage"), QStringLiteral("下一页"), [this] { showPage(m_page + 1); });
    m_actLastPage = makeAction(QStringLiteral("actLastPage"), QStringLiteral("末页"),
                               [this] { showPage(m_pageCount - 1); });
    tools->addActions({m_actNextPage, m_actLastPage});
    tools->addSeparator();
    m_actZoomOut = makeAction(QStringLiteral("actZoomOut"), QStringLiteral("缩小"), [this] { zoomBy(-1); });
    m_actZoomIn = makeAction(QStringLiteral("actZoomIn"), QStringLiteral("放大"), [this] { zoomBy(1); });
    tools->addActions({m_actZoomOut, m_actZoomIn});
    tools->addSeparator();
    tools->addAction(
        makeAction(QStringLiteral("actClosePreview"), QStringLiteral("关闭"), [this] { accept(); }));
    m_actPrevPage->setShortcut(QKeySequence::MoveToPreviousPage);
    m_actNextPage->setShortcut(QKeySequence::MoveToNextPage);

    m_lblPage->setObjectName(QStringLiteral("lblPage"));
    auto* pageArea = new QScrollArea(this);
    pageArea->setObjectName(QStringLiteral("saPage"));
    pageArea->setBackgroundRole(QPalette::Dark);
    pageArea->setAlignment(Qt::AlignCenter);
    pageArea->setWidget(m_lblPage);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tools);
    layout->addWidget(pageArea, 1);
    connect(m_sePage, &QSpinBox::valueChanged, this, [this](int number) { showPage(number - 1); });
    resize(900, 1000);
    drawPage();
    updateActions();
}

QAction* ReportPreview::makeAction(const QString& name, const QString& caption,
                                   const std::function<void()>& run)
{
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, run);
    return action;
}

void ReportPreview::showPage(int index)
{
    const int page = std::clamp(index, 0, m_pageCount - 1);
    if (page == m_page)
        return;
    m_page = page;
    drawPage();
    updateActions();
}

void ReportPreview::zoomBy(int steps)
{
    m_zoomStep = std::clamp(m_zoomStep + steps, 0, static_cast<int>(kZoomSteps.size()) - 1);
    drawPage();
    updateActions();
}

// At the screen's resolution times the zoom, sharp on a screen of more pixels than points.
void ReportPreview::drawPage()
{
    const double pixelRatio = devicePixelRatioF();
    const double dpi = logicalDpiX() * kZoomSteps[static_cast<std::size_t>(m_zoomStep)] * pixelRatio;
    QPixmap page = QPixmap::fromImage(m_pageImage(m_page, dpi));
    page.setDevicePixelRatio(pixelRatio);
    m_lblPage->setPixmap(page);
    m_lblPage->resize(page.deviceIndependentSize().toSize());
}

void ReportPreview::updateActions()
{
    m_actFirstPage->setEnabled(m_page > 0);
    m_actPrevPage->setEnabled(m_page > 0);
    m_actNextPage->setEnabled(m_page < m_pageCount - 1);
    m_actLastPage->setEnabled(m_page < m_pageCount - 1);
    m_actZoomOut->setEnabled(m_zoomStep > 0);
    m_actZoomIn->setEnabled(m_zoomStep < static_cast<int>(kZoomSteps.size()) - 1);
    const QSignalBlocker quiet(m_sePage);
    m_sePage->setValue(m_page + 1);
}

} // namespace xr
