#pragma once
// The statistics window "上网统计": bar charts of online time and bytes per day of a month, per
// month of a year, per year, per user (administrators only) or per connection, over the usage
// list's user and connection choice; a period picker; the busiest days of the period; saving the
// chart as PNG or SVG. The figures are read on a worker with a connection of its own, so that a
// store of years of records never holds up the program; a new choice stops a read under way.

#include "browser/UsageStatistics.h"

#include <QFutureWatcher>
#include <QWidget>

#include <memory>

class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace xr {

struct AppContext;
class Database;
class StatementInterrupt;
class UsageChartView;

class StatisticsWindow : public QWidget {
    Q_OBJECT
public:
    // Charts the records of `choice` (see showChoice), this month day by day.
    StatisticsWindow(AppContext& context, const Database& adoConnMain, const RecordChoice& choice,
                     QWidget* parent = nullptr);
    // Stops a chart still being read.
    ~StatisticsWindow() override;

    // Charts the records of `choice` (an ordinary user's own records, whatever the choice).
    void showChoice(const RecordChoice& choice);
    // The statistics on show.
    const UsageStatistics& statistics() const;
    // Asks for a PNG or SVG file and writes the chart to it.
    void btnSaveClick();

signals:
    // A chart (or the reason there is none) is on show.
    void statisticsShown();

private:
    struct Result {
        UsageStatistics statistics;
        QString error;
    };

    // On the worker: the statistics of `request` from the database file.
    static Result readStatistics(const QString& file, const StatsRequest& request,
                                 const std::shared_ptr<StatementInterrupt>& interrupt);
    void buildControls();
    void fillGroupings();
    StatsRequest request() const;
    StatsPeriod period() const;
    void showPeriodPicker();
    void stepPeriod(int step);
    void refresh();
    void showResult();
    void showBusiestDays(const QList<BusyDay>& days);

    AppContext& m_context;
    const Database& m_adoConnMain;
    RecordChoice m_choice;
    QFutureWatcher<Result> m_worker;
    std::shared_ptr<StatementInterrupt> m_interrupt; // of the chart being read
    bool m_readAgain = false;                        // the request changed while a chart was being read
    QLabel* m_lblChoice = nullptr;
    QComboBox* m_cbGroup = nullptr;
    QComboBox* m_cbPeriod = nullptr;
    QDateEdit* m_dtpPeriod = nullptr;
    QPushButton* m_btnPrevious = nullptr;
    QPushButton* m_btnNext = nullptr;
    UsageChartView* m_chart = nullptr;
    QTreeWidget* m_lvBusyDays = nullptr;
    QLabel* m_lblState = nullptr;
    QPushButton* m_btnSave = nullptr;
    QPushButton* m_btnClose = nullptr;
};

} // namespace xr
