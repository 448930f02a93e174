#pragma once
// The system bus as NetworkManager's back-end uses it: a connection of its own that is opened
// again when the bus went away (a restarted bus daemon), and calls to NetworkManager with a
// bounded wait, so that a service that hangs never stops the program for long.

#include <QDBusConnection>
#include <QDBusMessage>
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
    // A method call to NetworkManager; the answer is a reply or an error message.
    QDBusMessage call(const QString& path, const QString& interface, const QString& method,
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
