#include "browser/MainStatusBar.h"

#include <QLabel>

namespace xr {

namespace {

constexpr int kPanelWidths[MainStatusBar::PanelCount] = {105, 55, 125, 170, 163, 100};

} // namespace

MainStatusBar::MainStatusBar(QWidget* parent) : QStatusBar(parent)
{
    setObjectName(QStringLiteral("stbMain"));
    setSizeGripEnabled(true);
    for (int panel = 0; panel < PanelCount; ++panel) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("stbPanel%1").arg(panel));
        label->setFixedWidth(kPanelWidths[panel]);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setAlignment(panel == KindPanel ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
        addWidget(label);
        m_panels.append(label);
    }
    showNotConnected();
}

QString MainStatusBar::panelText(int panel) const
{
    return m_panels.at(panel)->text();
}

void MainStatusBar::setPanelText(int panel, const QString& text)
{
    m_panels.at(panel)->setText(text);
}

void MainStatusBar::showNotConnected()
{
    setPanelText(ConnNamePanel, QStringLiteral("连接：未连接"));
    setPanelText(StartPanel, QStringLiteral("连接时间：未连接"));
    setPanelText(OnlinePanel, QStringLiteral("已连接：未连接"));
    setPanelText(AddressPanel, QStringLiteral("IP：未连接"));
}

} // namespace xr
