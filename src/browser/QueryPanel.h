#pragma once
// The query panel pnlFind below the usage list: user, connection, station and period lists, the date
// conditions, the 查找 and 刷新 buttons, and above them the record counter, the bytes the listed
// records moved and the total online time.

#include "browser/RecordFilter.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;

namespace xr {

struct TConnection;
struct TSettings;

class QueryPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 625;
    static constexpr int kHeight = 110;

    explicit QueryPanel(QWidget* parent = nullptr);

    // The panel as the statements read it.
    RecordFilter filter() const;

    // The user list and slUserId, item by item.
    void setUsers(const QStringList& names, const QStringList& ids);
    void clearUsers();
    void setConnections(const QStringList& names);
    // The stations that have records, ending with "所有电脑", which is chosen.
    void setStations(const QStringList& names);
    void setPeriods(const QStringList& periods);
    // Chooses period `period` (none when outside the list) and the connection named `connection`.
    void choose(int period, const QString& connection);
    // The default list's panel: pickers on `today`, period DefaultTime, the user's name and
    // DefaultConnName chosen where listed.
    void resetToDefaults(const TSettings& settings, const TConnection& user, const QDate& today);

    void setCounter(const QString& text);
    void setTotal(const QString& text);
    QString total() const;
    void setTraffic(const QString& text);

signals:
    void findRequested();
    void refreshRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createControls();
    void placeControls();
    void chkbTimeClick(bool checked);
    void chkbSdtClick(bool checked);
    void chkbEdtClick(bool checked);
    // The check boxes and the controls they enable, from m_time.
    void showTimeConditions();

    QStringList m_slUserId;
    TimeConditions m_time;
    QLabel* m_lblCount;
    QWidget* m_pnlTotals;
    QLabel* m_lblFare;
    QLabel* m_lblTraffic;
    QLabel* m_lblUser;
    QComboBox* m_cbUserName;
    QLabel* m_lblConnName;
    QComboBox* m_cbConnName;
    QLabel* m_lblStation;
    QComboBox* m_cbStation;
    QLabel* m_lblTime;
    QComboBox* m_cbTime;
    QCheckBox* m_chkbTime;
    QLabel* m_lblSd;
    QDateEdit* m_dtpSd;
    QLabel* m_lblEd;
    QDateEdit* m_dtpEd;
    QCheckBox* m_chkbSdt;
    QCheckBox* m_chkbEdt;
    QPushButton* m_btnFind;
    QPushButton* m_btnRefresh;
};

} // namespace xr
