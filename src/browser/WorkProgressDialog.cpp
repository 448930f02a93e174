#include "browser/WorkProgressDialog.h"

#include "browser/DurationText.h"
#include "browser/WorkProgress.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace xr {

namespace {

constexpr int kShowAfterMs = 500;
constexpr int kRefreshMs = 100;
constexpr double kMsPerDay = 86400000.0;
constexpr int kBarSteps = 1000;

} // namespace

WorkProgressDialog::WorkProgressDialog(const QString& caption, QString unit, WorkProgress& progress,
                                       QWidget* parent)
    : QDialog(parent), m_progress(progress), m_unit(std::move(unit)), m_lblCaption(new QLabel(caption, this)),
      m_lblDone(new QLabel(this)), m_lblTimeLeft(new QLabel(this)), m_pbWork(new QProgressBar(this)),
      m_btnCancel(new QPushButton(QStringLiteral("取消"), this))
{
    setObjectName(QStringLiteral("winWorkProgress"));
    m_lblCaption->setObjectName(QStringLiteral("lblWorkCaption"));
    m_lblDone->setObjectName(QStringLiteral("lblWorkDone"));
    m_lblTimeLeft->setObjectName(QStringLiteral("lblWorkTimeLeft"));
    m_pbWork->setObjectName(QStringLiteral("pbWork"));
    m_btnCancel->setObjectName(QStringLiteral("btnCancelWork"));
    setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    setMinimumWidth(320);
    m_pbWork->setRange(0, kBarSteps);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_lblCaption);
    layout->addWidget(m_pbWork);
    layout->addWidget(m_lblDone);
    layout->addWidget(m_lblTimeLeft);
    layout->addWidget(m_btnCancel, 0, Qt::AlignRight);

    connect(m_btnCancel, &QPushButton::clicked, this, &WorkProgressDialog::cancelWork);
    connect(&m_refresh, &QTimer::timeout, this, &WorkProgressDialog::refresh);
    m_running.start();
    m_refresh.start(kRefreshMs);
    refresh();
}

void WorkProgressDialog::reject()
{
    cancelWork();
}

void WorkProgressDialog::cancelWork()
{
    m_progress.cancel();
    m_btnCancel->setEnabled(false);
}

void WorkProgressDialog::refresh()
{
    const qint64 total = m_progress.total();
    const qint64 done = std::min(m_progress.done(), total);
    m_pbWork->setValue(total > 0 ? static_cast<int>(done * kBarSteps / total) : 0);
    m_lblDone->setText(QStringLiteral("已完成 %1 / %2 %3").arg(done).arg(total).arg(m_unit));
    m_lblTimeLeft->setText(timeLeftText(done, total));
    if (!isVisible() && m_running.elapsed() >= kShowAfterMs)
        show();
}

// Reckoned from the pace so far.
QString WorkProgressDialog::timeLeftText(qint64 done, qint64 total) const
{
    if (done <= 0)
        return QStringLiteral("剩余时间：正在估算…");
    const double leftMs = static_cast<double>(m_running.elapsed()) * static_cast<double>(total - done) /
                          static_cast<double>(done);
    return QStringLiteral("剩余时间：约 ") + DurationText(false, 0, leftMs / kMsPerDay);
}

} // namespace xr
