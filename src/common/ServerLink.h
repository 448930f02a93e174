#pragma once
// The shared server of several PCs as the program knows it: whether one is set, whether it
// answered the last time anything reached for it, and the user-interface thread's connection to
// it. The copy of records to the server reports here from its own thread; the windows ask here
// before they use the server, and follow its changes. (Defined in store/ServerLink.cpp, beside
// the server connection it keeps.)

#include <QObject>
#include <QSqlDatabase>
#include <QString>

#include <memory>

namespace xr {

class ServerDatabase;

class ServerLink : public QObject {
    Q_OBJECT
public:
    ServerLink();
    ~ServerLink() override;

    // `conninfo` empty: this PC keeps its records and accounts alone.
    void configure(const QString& conninfo);
    bool isSet() const { return !m_conninfo.isEmpty(); }
    QString conninfo() const { return m_conninfo; }

    // A server is set and answered the last time it was reached (before anything reached for it:
    // true, to be found out).
    bool answers() const { return isSet() && m_state != State::Away; }
    // Why the server did not answer the last time, in the user's words; empty while it answers.
    QString problem() const { return m_problem; }

    // The user-interface thread's connection, opened when first asked for; an invalid one while
    // no server is set or it does not answer (then nothing waits for the network).
    QSqlDatabase connection();

    // After a statement on connection() failed: true, and the server reported away, when it no
    // longer answers (the failure was the network's or the server's, not the statement's).
    bool wentAway();

    // What became of the last attempt to reach the server, from any thread's own connection.
    void reportAnswered();
    void reportAway(const QString& problem);

signals:
    // answers() changed.
    void answersChanged(bool answers);
    // The server could not be used, for a reason not told before in this run: to be told once.
    void problemFound(const QString& problem);

private:
    enum class State { NotTried, Answering, Away };

    QString m_conninfo;
    State m_state = State::NotTried;
    QString m_problem;
    QString m_toldProblem;
    std::unique_ptr<ServerDatabase> m_ui;
};

} // namespace xr
