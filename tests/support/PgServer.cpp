#include "PgServer.h"

#include "store/DatabaseError.h"
#include "store/ServerSchema.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace xr::test {

namespace {

constexpr uid_t kNobody = 65534;

// Debian keeps the server's programs in /usr/lib/postgresql/VERSION/bin, outside the path.
QString serverBinDir()
{
    QDir versions(QStringLiteral("/usr/lib/postgresql"));
    const QStringList found = versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::Reversed);
    for (const QString& version : found)
        if (QFile::exists(versions.filePath(version + QStringLiteral("/bin/initdb"))))
            return versions.filePath(version + QStringLiteral("/bin"));
    return QString();
}

int freePort()
{
    const int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    const bool bound = probe >= 0 && bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                       getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) == 0;
    if (probe >= 0)
        close(probe);
    return bound ? ntohs(address.sin_port) : 0;
}

const char* kHba = "local all all trust\n"
                   "host all station 127.0.0.1/32 scram-sha-256\n"
                   "host all all 127.0.0.1/32 trust\n";

} // namespace

PgServer::PgServer()
{
    m_binDir = serverBinDir();
    if (m_binDir.isEmpty()) {
        m_why = QStringLiteral("PostgreSQL's server programs (Debian's postgresql) are not installed");
        return;
    }
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))) {
        m_why = QStringLiteral("Qt's PostgreSQL driver (libqt6sql6-psql) is not installed");
        return;
    }
    if (!m_dir.isValid() || !prepare())
        return;
    if (!start())
        return;
    if (!run(QStringLiteral("create database xarvane"), QStringLiteral("postgres")) ||
        !run(QStringLiteral("create role station login password 'station-pw'"), QStringLiteral("postgres"))) {
        m_why = QStringLiteral("the test server did not take its database and role");
        stop();
    }
}

PgServer::~PgServer()
{
    stop();
}

bool PgServer::prepare()
{
    QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                            QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    if (geteuid() == 0 && chown(m_dir.path().toLocal8Bit().constData(), kNobody, kNobody) != 0) {
        m_why = QStringLiteral("the test server's folder could not be given to nobody");
        return false;
    }
    QString output;
    if (!runTool(QStringLiteral("initdb"),
                 {QStringLiteral("-D"), m_dir.filePath(QStringLiteral("data")), QStringLiteral("-U"),
                  QStringLiteral("postgres"), QStringLiteral("-A"), QStringLiteral("trust"), QStringLiteral("-E"),
                  QStringLiteral("UTF8"), QStringLiteral("--locale=C"), QStringLiteral("--no-sync")},
                 &output)) {
        m_why = QStringLiteral("initdb failed: ") + output;
        return false;
    }
    QFile hba(m_dir.filePath(QStringLiteral("data/pg_hba.conf")));
    if (!hba.open(QIODevice::WriteOnly | QIODevice::Truncate) || hba.write(kHba) < 0) {
        m_why = QStringLiteral("the test server's pg_hba.conf could not be written");
        return false;
    }
    m_port = freePort();
    return m_port != 0;
}

bool PgServer::runTool(const QString& tool, const QStringList& arguments, QString* output)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setWorkingDirectory(m_dir.path());
    const QString program = m_binDir + QLatin1Char('/') + tool;
    if (geteuid() == 0)
        process.start(QStringLiteral("runuser"), QStringList{QStringLiteral("-u"), QStringLiteral("nobody"),
                                                             QStringLiteral("--"), program} +
                                                     arguments);
    else
        process.start(program, arguments);
    const bool ended = process.waitForFinished(60000);
    if (output)
        *output = QString::fromLocal8Bit(process.readAll());
    return ended && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool PgServer::start()
{
    const QString options = QStringLiteral("-p %1 -k %2 -c listen_addresses=127.0.0.1 -c fsync=off")
                                .arg(m_port)
                                .arg(m_dir.path());
    QString output;
    m_running = runTool(QStringLiteral("pg_ctl"),
                        {QStringLiteral("-D"), m_dir.filePath(QStringLiteral("data")), QStringLiteral("-o"), options,
                         QStringLiteral("-l"), m_dir.filePath(QStringLiteral("server.log")), QStringLiteral("-w"),
                         QStringLiteral("start")},
                        &output);
    if (!m_running)
        m_why = QStringLiteral("pg_ctl start failed: ") + output;
    return m_running;
}

void PgServer::stop()
{
    if (!m_running)
        return;
    runTool(QStringLiteral("pg_ctl"), {QStringLiteral("-D"), m_dir.filePath(QStringLiteral("data")),
                                       QStringLiteral("-m"), QStringLiteral("immediate"), QStringLiteral("-w"),
                                       QStringLiteral("stop")});
    m_running = false;
}

QString PgServer::conninfo(const QString& dbname, const QString& user) const
{
    return QStringLiteral("host=127.0.0.1 port=%1 dbname=%2 user=%3").arg(m_port).arg(dbname, user);
}

QString PgServer::passwordFile() const
{
    const QString path = m_dir.filePath(QStringLiteral("pgpass"));
    QFile file(path);
    if (!file.exists() && file.open(QIODevice::WriteOnly)) {
        file.write(QStringLiteral("127.0.0.1:%1:*:station:station-pw\n").arg(m_port).toUtf8());
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner); // libpq ignores a file others can read
    }
    return path;
}

bool PgServer::run(const QString& statement, const QString& dbname) const
{
    const QString name = QStringLiteral("pgserver-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    bool done = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setConnectOptions(conninfo(dbname));
        done = db.open() && QSqlQuery(db).exec(statement);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return done;
}

bool PgServer::createXarvaneDatabase(const QString& dbname, const QString& adminPassword) const
{
    if (!createDatabase(dbname))
        return false;
    const QString name = QStringLiteral("pgserver-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    bool made = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setConnectOptions(conninfo(dbname));
        try {
            made = db.open();
            if (made)
                createServerSchema(db, adminPassword);
        } catch (const DatabaseError&) {
            made = false;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return made;
}

bool PgServer::createDatabase(const QString& dbname) const
{
    return run(QStringLiteral("create database ") + dbname, QStringLiteral("postgres"));
}

} // namespace xr::test
