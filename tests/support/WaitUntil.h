#pragma once
// Polls a condition until it holds or a time runs out, letting Qt's events through meanwhile.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <functional>

namespace xr::test {

inline bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 15000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(30);
    }
    return true;
}

} // namespace xr::test
