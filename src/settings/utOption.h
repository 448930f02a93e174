#pragma once
// The options dialog winOption ("XR设置选项"): the general settings and the usage browser's
// query settings with its list of custom periods. OK stores the settings and, once they are
// stored, tells the other windows through its signals, in this order: the record timer's
// period, the browser's lists, the floating display, the total.

#include "common/Settings.h"
#include "settings/TimePeriodList.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QListWidget;
class QPushButton;
class QLineEdit;
class QRadioButton;

namespace xr {

struct AppContext;
class Database;
class SpinEdit;
namespace platform {
class AutoStart;
}

class TwinOption : public QDialog {
    Q_OBJECT
public:
    TwinOption(AppContext& context, const Database& adoConnMain, platform::AutoStart& autoStart,
               QWidget* parent = nullptr);

    void btnOkClick();

signals:
    // The tray controller's record timer is to run every `ms` milliseconds.
    void recordTimerPeriodChanged(int ms);
    // The main window's period list is to hold `periods`; it chooses DefaultTime in it and
    // DefaultConnName in its connection list.
    void queryListsChanged(const QStringList& periods);
    // The floating display, when it exists and is showing, is to run its show handler again.
    void floatWinRefreshWanted();
    // The main window is to recompute its total (Precision may have changed).
    void totalWanted();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* createGeneralPage();
    QWidget* createQueryPage();
    QWidget* createServerPage();
    void FormShow();
    void showPeriods(int selected);
    int selectedPeriod() const;
    void lbTimeClick();
    void btnAddTimeClick();
    void btnDefaultTimeClick();
    void btnDelClick();
    void btnDefaultClick();
    void chkbTimeRecordClick();
    void btnTestServerClick();
    TSettings chosenSettings() const;
    bool saveOptions(const TSettings& chosen);

    AppContext& m_context;
    const Database& m_adoConnMain;
    platform::AutoStart& m_autoStart;
    std::optional<TimePeriodList> m_periods;

    QCheckBox* m_chkbAutoRun;
    QCheckBox* m_chkbTimeRecord;
    SpinEdit* m_sedtTime;
    QCheckBox* m_chkbAutoBackup;
    QCheckBox* m_chkbSavePwEnabled;
    QCheckBox* m_chkbBigSize;
    QCheckBox* m_chkbFWTimeLeft;
    QCheckBox* m_chkbRecordLan;
    QRadioButton* m_rbMinutes;
    QRadioButton* m_rbSeconds;
    QComboBox* m_cbDefaultConnName;
    QLabel* m_lblTime;
    QListWidget* m_lbTime;
    QDateEdit* m_dtpS;
    QDateEdit* m_dtpE;
    QLineEdit* m_edtServer;
    QLineEdit* m_edtStation;
};

} // namespace xr
