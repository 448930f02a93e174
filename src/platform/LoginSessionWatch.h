#pragma once
// Whether this copy's desktop session is the one at the seat. When several people are signed in
// at once (fast user switching) each runs a copy, and all of them see the PC's one connection;
// only the copy whose session is in front records it, so that the time goes to the person using
// the PC and is never counted twice. systemd-logind tells, through its Session object's `Active`
// property; without logind or a session id the session counts as active.

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QString>

#include <atomic>

namespace xr::platform {

class LoginSessionWatch : public QObject {
    Q_OBJECT

public:
    // `sessionId` is the login session (XDG_SESSION_ID); empty: no session to watch.
    explicit LoginSessionWatch(const QString& sessionId, QObject* parent = nullptr);
    ~LoginSessionWatch() override;

    // Safe from any thread.
    bool active() const { return m_active.load(); }

private slots:
    void propertiesChanged(const QString& interface, const QVariantMap& changed, const QStringList& invalidated);

private:
    QString sessionPath(const QString& sessionId);
    void readActive();

    QString m_connectionName;
    QString m_path;
    std::atomic<bool> m_active{true};
};

} // namespace xr::platform
