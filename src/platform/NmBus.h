#pragma once
// The system bus as NetworkManager's back-end uses it: a connection of its own that is opened
// again when the bus went away (a restarted bus daemon), and asynchronous calls to
// NetworkManager with a bounded wait: nobody waits for an answer, and a service that hangs
// answers with an error after a few seconds.

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QString>
#include <QVariantList>

namespace xr::platform {

class NmBus {
public:
    NmBus();
    ~NmBus();
    NmBus(const NmBus&) = delete;
    NmBus& operator=(const NmBus&) = delete;

    // The connection, opened again first when it was lost.
    QDBusConnection connection();
    // The name of the connection that connection() gives; a new name means a new connection.
    QString name() const { return m_name; }
    // A method call to NetworkManager; its answer arrives through the event loop.
    QDBusPendingCall asyncCall(const QString& path, const QString& interface, const QString& method,
                               const QVariantList& arguments = {});
    // A call whose answer nobody waits for.
    void send(const QString& path, const QString& interface, const QString& method,
              const QVariantList& arguments);

    // Whether NetworkManager answers on the system bus now.
    static bool serviceAnswers();

private:
    QString m_name;
};

} // namespace xr::platform
