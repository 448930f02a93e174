#include "connections/RASNotify.h"

#include <QTimer>

#include <algorithm>

namespace xr {

using namespace platform;

namespace {

constexpr std::size_t kFirstRoom = 16; // room of the first enumeration of each list
constexpr int kMinInterval = 200;
constexpr int kMaxInterval = 60000;

ERASNotifyError enumerationError(std::uint32_t code)
{
    return ERASNotifyError(QStringLiteral("Could not enumerate connections.\r\nError Code %1").arg(code));
}

bool isConnected(std::uint32_t state) { return state == ras::StateConnected; }

// Ends a poll of a service that is still failing, without telling it again.
struct QuietRetry {};

} // namespace

TRASNotify::TRASNotify(RemoteAccess& remoteAccess, QObject* parent) : QObject(parent), m_remoteAccess(remoteAccess)
{
}

TRASNotify::~TRASNotify()
{
    if (m_timer)
        m_timer->stop();
}

// The timer runs before the first look, so a service that fails it is asked again each poll.
void TRASNotify::Loaded()
{
    m_timer = new QTimer(this);
    m_timer->setInterval(m_pollInterval);
    connect(m_timer, &QTimer::timeout, this, &TRASNotify::Poll);
    if (!m_enabled)
        return;
    m_timer->start();
    RefreshList();
}

void TRASNotify::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    if (m_timer) {
        ClearList();
        if (enabled) {
            m_timer->start();
            RefreshList();
        } else {
            m_timer->stop();
        }
    }
    if (enabled)
        DoEnable();
    else
        DoDisable();
}

void TRASNotify::setPollInterval(int milliseconds)
{
    if (milliseconds == m_pollInterval || milliseconds < kMinInterval || milliseconds > kMaxInterval)
        return;
    m_pollInterval = milliseconds;
    if (m_timer)
        m_timer->setInterval(milliseconds);
}

void TRASNotify::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        throw ERASNotifyError(QStringLiteral("Invalid index"));
}

TRASNotify::ConnHandle TRASNotify::Handles(int index) const
{
    CheckIndex(index);
    return m_list[static_cast<std::size_t>(index)].handle;
}

QString TRASNotify::EntryNames(int index) const
{
    CheckIndex(index);
    return m_list[static_cast<std::size_t>(index)].entryName;
}

bool TRASNotify::IsConnected() const
{
    return std::any_of(m_list.begin(), m_list.end(), [](const Entry& entry) { return isConnected(entry.state); });
}

bool TRASNotify::IsHandleConnected(ConnHandle hConn) const
{
    return std::any_of(m_list.begin(), m_list.end(), [hConn](const Entry& entry) {
        return entry.handle == hConn && isConnected(entry.state);
    });
}

std::vector<TRASNotify::Entry> TRASNotify::Enumerate()
{
    std::vector<RasConnection> connections;
    std::size_t needed = 0;
    std::uint32_t result = m_remoteAccess.enumConnections(kFirstRoom, connections, needed);
    if (result == ras::ErrorNotEnoughMemory)
        backEndFailed(EOutOfMemory());
    if (result == ras::ErrorBufferTooSmall) {
        result = m_remoteAccess.enumConnections(needed, connections, needed);
        if (result == ras::ErrorNotEnoughMemory || result == ras::ErrorBufferTooSmall)
            backEndFailed(EOutOfMemory());
    }
    if (result != ras::Success)
        backEndFailed(enumerationError(result));

    std::vector<Entry> entries;
    entries.reserve(connections.size());
    for (const RasConnection& connection : connections) {
        std::uint32_t state = 0;
        if (const std::uint32_t status = m_remoteAccess.getConnectStatus(connection.handle, state);
            status != ras::Success)
            backEndFailed(enumerationError(status));
        entries.push_back({state, connection.handle, QString::fromStdString(connection.entryName),
                           QString::fromStdString(connection.deviceType),
                           QString::fromStdString(connection.deviceName)});
    }
    m_backEndFailing = false;
    return entries;
}

// A failure of the service is raised once; until a list has been built again, the polls that
// find it still failing end quietly.
template <class Error> void TRASNotify::backEndFailed(const Error& error)
{
    if (m_backEndFailing)
        throw QuietRetry();
    m_backEndFailing = true;
    throw error;
}

void TRASNotify::RefreshList()
{
    try {
        m_list = Enumerate();
    } catch (const QuietRetry&) {
    }
}

void TRASNotify::Poll()
{
    try {
        recheckPrevious();
        std::vector<Entry> fresh = Enumerate();
        reportFresh(fresh);
        m_list = std::move(fresh);
    } catch (const QuietRetry&) {
    }
}

// Asks for the state of every listed connection and reports the changes; marks the vanished.
void TRASNotify::recheckPrevious()
{
    // By index: a handler may not add to the list, but the loop must not outlive it either.
    for (std::size_t i = 0; i < m_list.size(); ++i) {
        Entry& entry = m_list[i];
        std::uint32_t state = 0;
        const std::uint32_t result = m_remoteAccess.getConnectStatus(entry.handle, state);
        bool lost = false;
        bool fresh = false;
        if (result == ras::Success) {
            lost = isConnected(entry.state) && !isConnected(state);
            fresh = !isConnected(entry.state) && isConnected(state);
        } else if (result == ras::ErrorInvalidHandle || result == ras::ErrorInvalidPortHandle) {
            lost = isConnected(entry.state);
            entry.state = VanishedHandle;
            entry.handle = VanishedHandle;
        } else {
            backEndFailed(enumerationError(result));
        }
        if (lost)
            DoDisconnected(entry.handle);
        if (fresh)
            DoConnected(entry.handle, entry.entryName, entry.deviceType, entry.deviceName);
    }
}

// Reports the connected entries of a fresh list that the previous list did not know.
void TRASNotify::reportFresh(const std::vector<Entry>& fresh)
{
    for (const Entry& entry : fresh)
        if (!listed(entry.handle) && isConnected(entry.state))
            DoConnected(entry.handle, entry.entryName, entry.deviceType, entry.deviceName);
}

bool TRASNotify::listed(ConnHandle handle) const
{
    return std::any_of(m_list.begin(), m_list.end(), [handle](const Entry& entry) { return entry.handle == handle; });
}

void TRASNotify::DoConnected(ConnHandle hConn, const QString& entryName, const QString& deviceType,
                             const QString& deviceName)
{
    if (OnConnected)
        OnConnected(*this, hConn, entryName, deviceType, deviceName);
}

void TRASNotify::DoDisconnected(ConnHandle hConn)
{
    if (OnDisconnected)
        OnDisconnected(*this, hConn);
}

void TRASNotify::DoEnable()
{
    if (OnEnable)
        OnEnable(*this);
}

void TRASNotify::DoDisable()
{
    if (OnDisable)
        OnDisable(*this);
}

} // namespace xr
