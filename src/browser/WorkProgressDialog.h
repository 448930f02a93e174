#pragma once
// The window of a long piece of work: what it does ("正在导出…"), how much of it is done, the time
// left, and a button that cancels it. It appears only once the work has run for half a second,
// and reads the work's progress a few times a second.

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>

class QLabel;
class QProgressBar;
class QPushButton;

namespace xr {

class WorkProgress;

class WorkProgressDialog : public QDialog {
public:
    // `unit` is what the work counts ("条记录", "页").
    WorkProgressDialog(const QString& caption, QString unit, WorkProgress& progress, QWidget* parent);

    // Closing the window cancels the work; the window goes when the work has stopped.
    void reject() override;

private:
    void refresh();
    void cancelWork();
    QString timeLeftText(qint64 done, qint64 total) const;

    WorkProgress& m_progress;
    QString m_unit;
    QElapsedTimer m_running;
    QTimer m_refresh;
    QLabel* m_lblCaption;
    QLabel* m_lblDone;
    QLabel* m_lblTimeLeft;
    QProgressBar* m_pbWork;
    QPushButton* m_btnCancel;
};

} // namespace xr
