#include "browser/MainStatusBar.h"

#include "common/DisplayFormats.h"

#include <QEvent>
#include <QLabel>

#include <algorithm>

namespace xr {

namespace {

constexpr int kPanelWidths[MainStatusBar::PanelCount] = {105, 55, 125, 170, 163, 70, 100};
const QString kNoLimitText = QStringLiteral("剩余：不限");

// The user's and the connection's names grow their panels up to these widths (a little more
// than designed, so that a common name shows whole); a longer name is elided, whole in the
// panel's tool tip, so that it never pushes the other panels out of the window.
constexpr int kUserPanelMaxWidth = 140;
constexpr int kConnNamePanelMaxWidth = 170;
// The time left follows its text too: narrow for "剩余：不限", wide enough for a month's.
constexpr int kTimeLeftPanelMaxWidth = 220;

// The longest text each panel with a bounded text can show: the widest digits in every place
// of a date, a duration of many days, a full IPv4 address. The user's and the connection's
// names have no bound; those panels follow the text they are given.
QString longestText(int panel)
{
    switch (panel) {
    case MainStatusBar::KindPanel:
        return QStringLiteral("普通用户");
    case MainStatusBar::StartPanel:
        return QStringLiteral("连接时间：") + dateTimeText(QDateTime(QDate(2088, 12, 28), QTime(20, 58, 58)));
    case MainStatusBar::OnlinePanel:
        return QStringLiteral("已连接：888天88小时88分88秒");
    case MainStatusBar::AddressPanel:
        return QStringLiteral("IP：888.888.888.888");
    default:
        return {};
    }
}

bool followsItsText(int panel)
{
    return panel == MainStatusBar::UserPanel || panel == MainStatusBar::ConnNamePanel ||
           panel == MainStatusBar::TimeLeftPanel;
}

int widestFollowing(int panel)
{
    switch (panel) {
    case MainStatusBar::UserPanel:
        return kUserPanelMaxWidth;
    case MainStatusBar::ConnNamePanel:
        return kConnNamePanelMaxWidth;
    default:
        return kTimeLeftPanelMaxWidth;
    }
}

// The panels side by side, each at its own minimum width, the last one widened to the free
// room. A strip narrower than its panels cuts them at its right edge: a layout would squeeze
// them instead, and their texts would run into each other.
class PanelStrip : public QWidget {
public:
    using QWidget::QWidget;

    QSize sizeHint() const override
    {
        int width = 0;
        for (const QWidget* panel : panels())
            width += panel->minimumWidth();
        return {width, minimumSizeHint().height()};
    }
    QSize minimumSizeHint() const override
    {
        const QList<QWidget*> all = panels();
        return {0, all.isEmpty() ? 0 : all.first()->sizeHint().height()};
    }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QWidget::resizeEvent(event);
        placePanels();
    }
    // A panel that changed its minimum width asks for this.
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::LayoutRequest) {
            placePanels();
            updateGeometry();
        }
        return QWidget::event(event);
    }

private:
    QList<QWidget*> panels() const { return findChildren<QWidget*>(Qt::FindDirectChildrenOnly); }
    void placePanels()
    {
        const QList<QWidget*> all = panels();
        int left = 0;
        for (QWidget* panel : all) {
            const int room = panel == all.last() ? width() - left : 0;
            panel->setGeometry(left, 0, std::max(panel->minimumWidth(), room), height());
            left += panel->width();
        }
    }
};

} // namespace

MainStatusBar::MainStatusBar(QWidget* parent) : QStatusBar(parent)
{
    setObjectName(QStringLiteral("stbMain"));
    setSizeGripEnabled(true);
    auto* strip = new PanelStrip(this);
    for (int panel = 0; panel < PanelCount; ++panel) {
        auto* label = new QLabel(strip);
        label->setObjectName(QStringLiteral("stbPanel%1").arg(panel));
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setAlignment(panel == KindPanel ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
        m_panels.append(label);
        m_texts.append(QString());
    }
    addWidget(strip, 1);
    m_listSource = new QLabel(this);
    m_listSource->setObjectName(QStringLiteral("stbListSource"));
    m_listSource->setFrameShape(QFrame::Panel);
    m_listSource->setFrameShadow(QFrame::Sunken);
    m_listSource->hide();
    addPermanentWidget(m_listSource);
    showNotConnected();
    showTimeLeft(QString());
    fitPanels();
}

QString MainStatusBar::panelText(int panel) const
{
    return m_texts.at(panel);
}

void MainStatusBar::setPanelText(int panel, const QString& text)
{
    m_texts[panel] = text;
    if (followsItsText(panel))
        fitPanel(panel);
    else
        m_panels.at(panel)->setText(text);
}

void MainStatusBar::showNotConnected()
{
    setPanelText(ConnNamePanel, QStringLiteral("连接：未连接"));
    setPanelText(StartPanel, QStringLiteral("连接时间：未连接"));
    setPanelText(OnlinePanel, QStringLiteral("已连接：未连接"));
    setPanelText(AddressPanel, QStringLiteral("IP：未连接"));
}

void MainStatusBar::showTimeLeft(const QString& text)
{
    setPanelText(TimeLeftPanel, text.isEmpty() ? kNoLimitText : text);
}

void MainStatusBar::showListSource(const QString& text)
{
    m_listSource->setText(text);
    m_listSource->setVisible(!text.isEmpty());
}

QString MainStatusBar::listSource() const
{
    return m_listSource->text();
}

void MainStatusBar::changeEvent(QEvent* event)
{
    QStatusBar::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitPanels();
}

// The width a panel needs to show `text` whole: the text, the frame and a margin of a space on
// each side (wider margins would push the address off a window of the design width).
int MainStatusBar::textWidth(int panel, const QString& text) const
{
    const QLabel* label = m_panels.at(panel);
    const QFontMetrics metrics = label->fontMetrics();
    return metrics.horizontalAdvance(text) +
           2 * (label->frameWidth() + metrics.horizontalAdvance(QLatin1Char(' ')));
}

void MainStatusBar::fitPanels()
{
    for (int panel = 0; panel < PanelCount; ++panel)
        fitPanel(panel);
}

void MainStatusBar::fitPanel(int panel)
{
    if (!followsItsText(panel)) {
        m_panels.at(panel)->setMinimumWidth(
            std::max(kPanelWidths[panel], textWidth(panel, longestText(panel))));
        return;
    }
    QLabel* label = m_panels.at(panel);
    const QString& text = m_texts.at(panel);
    const int widest = widestFollowing(panel);
    const int width = std::clamp(textWidth(panel, text), kPanelWidths[panel], widest);
    label->setMinimumWidth(width);
    const QString shown =
        label->fontMetrics().elidedText(text, Qt::ElideRight, width - textWidth(panel, QString()));
    label->setText(shown);
    label->setToolTip(shown == text ? QString() : text);
}

} // namespace xr
