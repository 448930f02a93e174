#include "connections/Dialer.h"

#include "connections/RasErrorText.h"
#include "store/ConnectionDetails.h"

#include <QMetaObject>

#include <functional>
#include <mutex>

namespace xr {

using namespace platform;

// Carries calls from the service's threads to the dialer's thread. The dialer closes it when
// it goes; a call queued before then is discarded with the dialer's pending events.
class DialMailbox {
public:
    explicit DialMailbox(Dialer* receiver) : m_receiver(receiver) {}

    void close()
    {
        std::lock_guard lock(m_mutex);
        m_receiver = nullptr;
    }

    // Any thread: queues `call` on the dialer's thread, unless the dialer has gone.
    void post(const std::function<void()>& call)
    {
        std::lock_guard lock(m_mutex);
        if (m_receiver)
            QMetaObject::invokeMethod(m_receiver, call, Qt::QueuedConnection);
    }

private:
    std::mutex m_mutex;
    Dialer* m_receiver;
};

Dialer::Dialer(AppContext& context, QObject* parent)
    : QObject(parent), m_context(context), m_mailbox(std::make_shared<DialMailbox>(this))
{
}

Dialer::~Dialer()
{
    m_mailbox->close();
}

void Dialer::DialDefaultConn()
{
    DialEntry(m_context.settings.DefaultConn);
}

void Dialer::DialEntry(const QString& EntryName)
{
    if (m_refusal && m_refusal())
        return;
    if (EntryName.toUcs4().size() > kMaxEntryNameLength) {
        m_context.prompter.warn(kEntryNameTooLongMessage);
        return;
    }
    if (refusesDefaultConn(EntryName))
        return;
    HangUpDial(); // a dial still running, or the connection it made, ends
    if (!readDialParams(EntryName))
        return;
    emit dialling(EntryName);
    startDial(EntryName);
}

// The checks made only for the default connection: it must be set and still be listed.
bool Dialer::refusesDefaultConn(const QString& entryName) const
{
    const QString& defaultConn = m_context.settings.DefaultConn;
    if (entryName != defaultConn)
        return false;
    if (defaultConn == kNoDefaultConn) {
        m_context.prompter.warn(kNoDefaultConnMessage);
        return true;
    }
    if (!EntryExists(m_context.remoteAccess, m_context.prompter, defaultConn)) {
        m_context.prompter.warn(kDefaultConnGoneMessage);
        return true;
    }
    return false;
}

// The entry's stored parameters; a stored user name and password are required of entries that
// log in with them (a wired or a Wi-Fi connection with a stored key carries none).
bool Dialer::readDialParams(const QString& entryName)
{
    m_DialParams = RasDialParams{};
    m_DialResult = m_context.remoteAccess.getEntryDialParams(entryName.toStdString(), m_DialParams);
    if (m_DialResult != ras::Success) {
        m_context.prompter.warn(kDialParamsFailedMessage);
        return false;
    }
    if (!m_DialParams.credentialsRequired)
        return true;
    if (m_DialParams.userName.empty()) {
        m_context.prompter.warn(kEmptyUserNameMessage);
        return false;
    }
    if (m_DialParams.password.empty()) {
        m_context.prompter.warn(kEmptyPasswordMessage);
        return false;
    }
    return true;
}

void Dialer::startDial(const QString& entryName)
{
    m_DialParams.entryName = entryName.toStdString();
    m_DialHandle = 0;
    const std::uint64_t dial = ++m_currentDial;
    m_DialResult = m_context.remoteAccess.dial(m_DialParams, notifierFor(dial), m_DialHandle);
    // A dial the service refuses at once is reported like one that fails later, so the
    // window never waits in the dialling layout for a notification that will not come.
    if (m_DialResult != ras::Success)
        reportFailure(m_DialResult);
}

RasDialNotifier Dialer::notifierFor(std::uint64_t dial)
{
    return [mailbox = m_mailbox, dial, this](unsigned, std::uint32_t, std::uint32_t error) {
        if (error != ras::Success) // progress and success are not shown
            mailbox->post([this, dial, error] { RasDialCallback(dial, error); });
    };
}

void Dialer::RasDialCallback(std::uint64_t dial, std::uint32_t error)
{
    if (dial != m_currentDial) // a dial hung up since, by Cancel or a newer dial
        return;
    if (error == ras::ErrorPortDisconnected)
        m_DialParams = RasDialParams{};
    else
        reportFailure(error);
}

void Dialer::reportFailure(std::uint32_t error)
{
    m_DialParams = RasDialParams{};
    emit dialFailed(RasErrorText(m_context.remoteAccess, error), error);
}

void Dialer::HangUpDial()
{
    if (m_DialHandle != 0)
        m_context.remoteAccess.hangUp(m_DialHandle);
    m_DialHandle = 0;
    ++m_currentDial;
}

} // namespace xr
