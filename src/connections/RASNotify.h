#pragma once
// Watches the dial-up connections by polling and raises an event for each connection that
// becomes connected (or stops being connected). Between polls it keeps the list it saw last,
// which answers IsConnected for the whole program.

#include "platform/RemoteAccess.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <vector>

class QTimer;

namespace xr {

// A failed enumeration or state query, or an index out of range.
class ERASNotifyError : public std::runtime_error {
public:
    explicit ERASNotifyError(const QString& text) : std::runtime_error(text.toStdString()) {}
};

// The service reported that memory is short.
class EOutOfMemory : public std::runtime_error {
public:
    EOutOfMemory() : std::runtime_error("Not enough memory to complete operation") {}
};

class TRASNotify : public QObject {
    Q_OBJECT
public:
    using ConnHandle = platform::ConnHandle;
    static constexpr ConnHandle VanishedHandle = 0xFFFFFFFF;

    using TRASConnectedEvent = std::function<void(TRASNotify& sender, ConnHandle hConn, const QString& entryName,
                                                  const QString& deviceType, const QString& deviceName)>;
    using TRASDisconnectedEvent = std::function<void(TRASNotify& sender, ConnHandle hConn)>;
    using TNotifyEvent = std::function<void(TRASNotify& sender)>;

    explicit TRASNotify(platform::RemoteAccess& remoteAccess, QObject* parent = nullptr);
    ~TRASNotify() override;

    // The first look, once the properties are set: the connections found raise nothing.
    // When the service fails it, the list stays empty and the polls go on.
    void Loaded();

    bool Enabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    int PollInterval() const { return m_pollInterval; }
    // Takes 200 to 60000 ms; any other value is ignored.
    void setPollInterval(int milliseconds);

    int Count() const { return static_cast<int>(m_list.size()); }
    ConnHandle Handles(int index) const;
    QString EntryNames(int index) const;
    bool IsConnected() const;
    // True when the listed connection with this handle has the connected state.
    bool IsHandleConnected(ConnHandle hConn) const;

    // One poll: the timer's tick. A failure of the service is raised at the first poll that
    // meets it; the polls after it try again and stay quiet until the service answers.
    void Poll();

    TRASConnectedEvent OnConnected;
    TRASDisconnectedEvent OnDisconnected;
    TNotifyEvent OnEnable;
    TNotifyEvent OnDisable;

protected:
    virtual void DoConnected(ConnHandle hConn, const QString& entryName, const QString& deviceType,
                             const QString& deviceName);
    virtual void DoDisconnected(ConnHandle hConn);
    virtual void DoEnable();
    virtual void DoDisable();

private:
    struct Entry {
        std::uint32_t state = 0;
        ConnHandle handle = 0;
        QString entryName;
        QString deviceType;
        QString deviceName;
    };

    std::vector<Entry> Enumerate();
    void recheckPrevious();
    void reportFresh(const std::vector<Entry>& fresh);
    bool listed(ConnHandle handle) const;
    void CheckIndex(int index) const;
    void ClearList() { m_list.clear(); }
    void RefreshList();
    template <class Error> [[noreturn]] void backEndFailed(const Error& error);

    platform::RemoteAccess& m_remoteAccess;
    bool m_enabled = true;
    int m_pollInterval = 2000;
    QTimer* m_timer = nullptr;
    std::vector<Entry> m_list;
    bool m_backEndFailing = false; // the last failure of the service has been raised
};

} // namespace xr
