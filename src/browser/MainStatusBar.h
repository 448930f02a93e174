#pragma once
// The main window's status bar stbMain: six panels of fixed widths for the signed-in user, his
// kind, the connection, its start, the online time so far and the connection's address.

#include <QList>
#include <QStatusBar>

class QLabel;

namespace xr {

class MainStatusBar : public QStatusBar {
    Q_OBJECT
public:
    enum Panel { UserPanel, KindPanel, ConnNamePanel, StartPanel, OnlinePanel, AddressPanel, PanelCount };

    explicit MainStatusBar(QWidget* parent = nullptr);

    QString panelText(int panel) const;
    void setPanelText(int panel, const QString& text);
    // Panels 2 to 5 with their "未连接" texts.
    void showNotConnected();

private:
    QList<QLabel*> m_panels;
};

} // namespace xr
