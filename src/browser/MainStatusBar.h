#pragma once
// The main window's status bar stbMain: seven panels for the signed-in user, his kind, the
// connection, its start, the online time so far, the time left of his allowance and the
// connection's address; and, when the shared server does not answer, that the list holds only
// this PC's records. Each panel is at
// least its design width and wide enough for its longest text in the font in use (a name up to
// a bound, beyond it elided with the whole name as the tool tip); the last one takes the free
// width, and those that do not fit the window are cut at its right edge.

#include <QList>
#include <QStatusBar>
#include <QStringList>

class QLabel;

namespace xr {

class MainStatusBar : public QStatusBar {
    Q_OBJECT
public:
    enum Panel {
        UserPanel,
        KindPanel,
        ConnNamePanel,
        StartPanel,
        OnlinePanel,
        TimeLeftPanel,
        AddressPanel,
        PanelCount
    };

    explicit MainStatusBar(QWidget* parent = nullptr);

    // The panel's whole text, also when the panel shows it elided.
    QString panelText(int panel) const;
    void setPanelText(int panel, const QString& text);
    // The connection's panels with their "未连接" texts.
    void showNotConnected();
    // The time left of the allowance ("今天剩余：…"); "剩余：不限" for an empty text.
    void showTimeLeft(const QString& text);
    // Where the list comes from, at the bar's right end: hidden while the text is empty.
    void showListSource(const QString& text);
    QString listSource() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    int textWidth(int panel, const QString& text) const;
    void fitPanels();
    void fitPanel(int panel);

    QList<QLabel*> m_panels;
    QLabel* m_listSource;
    QStringList m_texts; // each panel's whole text
};

} // namespace xr
