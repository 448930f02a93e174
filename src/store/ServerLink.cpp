#include "common/ServerLink.h"

#include "store/ServerDatabase.h"

#include <QSqlError>
#include <QSqlQuery>

namespace xr {

ServerLink::ServerLink() = default;

ServerLink::~ServerLink() = default;

void ServerLink::configure(const QString& conninfo)
{
    const bool answered = answers();
    m_ui.reset();
    m_conninfo = conninfo.trimmed();
    m_state = State::NotTried;
    m_problem.clear();
    m_toldProblem.clear();
    if (answered != answers())
        emit answersChanged(answers());
}

QSqlDatabase ServerLink::connection()
{
    if (!isSet() || m_state == State::Away)
        return QSqlDatabase();
    if (!m_ui) // one Qt connection name for each link: tests hold several
        m_ui = std::make_unique<ServerDatabase>(QStringLiteral("serverMain-%1").arg(quintptr(this), 0, 16));
    if (m_ui->isOpen())
        return m_ui->connection();
    if (m_ui->open(m_conninfo) != ServerAnswer::Answered) {
        reportAway(m_ui->problem());
        return QSqlDatabase();
    }
    reportAnswered();
    return m_ui->connection();
}

bool ServerLink::wentAway()
{
    if (!m_ui || !answers())
        return !answers();
    // The driver closes a connection that the server dropped: gone, unless it opens again.
    if (!m_ui->isOpen()) {
        if (isSet() && m_ui->open(m_conninfo) == ServerAnswer::Answered)
            return false;
        reportAway(m_ui->problem());
        return true;
    }
    QSqlQuery probe(m_ui->connection());
    if (probe.exec(QStringLiteral("select 1")))
        return false;
    reportAway(serverProblemText(ServerAnswer::Unreachable, probe.lastError().text()));
    return true;
}

void ServerLink::reportAnswered()
{
    m_problem.clear();
    const bool answered = answers();
    m_state = State::Answering;
    if (!answered)
        emit answersChanged(true);
}

void ServerLink::reportAway(const QString& problem)
{
    m_problem = problem;
    if (m_ui)
        m_ui->close(); // opened afresh once the server answers again
    const bool answered = answers();
    m_state = State::Away;
    if (answered)
        emit answersChanged(false);
    if (problem != m_toldProblem) {
        m_toldProblem = problem;
        emit problemFound(problem);
    }
}

} // namespace xr
