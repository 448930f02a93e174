#include "store/ServerDatabase.h"

#include "store/DatabaseError.h"
#include "store/ServerSchema.h"

#include <QRegularExpression>
#include <QSqlError>

namespace xr {

namespace {

// Added unless the text sets them: give up an address that does not answer after a few seconds,
// and notice a server that has gone away in the middle of a statement within about ten.
const QList<std::pair<QString, QString>>& connectDefaults()
{
    static const QList<std::pair<QString, QString>> defaults{
        {QStringLiteral("connect_timeout"), QStringLiteral("5")},
        {QStringLiteral("keepalives_idle"), QStringLiteral("5")},
        {QStringLiteral("keepalives_interval"), QStringLiteral("2")},
        {QStringLiteral("keepalives_count"), QStringLiteral("3")},
        {QStringLiteral("tcp_user_timeout"), QStringLiteral("10000")},
        {QStringLiteral("application_name"), QStringLiteral("xarvane")},
    };
    return defaults;
}

bool setsKey(const QString& conninfo, const QString& key)
{
    return conninfo.contains(QRegularExpression(QStringLiteral("(^|\\s)%1\\s*=").arg(key)));
}

// libpq's own texts (the server's, in its language, are passed on as the detail).
ServerAnswer answerOf(const QString& text)
{
    if (text.contains(QLatin1String("password authentication failed")) ||
        text.contains(QLatin1String("no password supplied")) || text.contains(QLatin1String("authentication failed")) ||
        text.contains(QLatin1String("pg_hba.conf")))
        return ServerAnswer::Refused;
    if (text.contains(QLatin1String("database \"")) && text.contains(QLatin1String("does not exist")))
        return ServerAnswer::NoDatabase;
    if (text.contains(QLatin1String("invalid connection option")) || text.contains(QLatin1String("missing \"=\"")) ||
        text.contains(QLatin1String("unterminated quoted string")) || text.contains(QLatin1String("invalid URI")))
        return ServerAnswer::BadSetting;
    return ServerAnswer::Unreachable;
}

} // namespace

QString serverConnectOptions(const QString& conninfo)
{
    QString options = conninfo.trimmed();
    if (options.startsWith(QLatin1String("postgres")))
        return options; // a URI takes its options after "?", as its writer chose them
    for (const auto& [key, value] : connectDefaults())
        if (!setsKey(options, key))
            options += QLatin1Char(' ') + key + QLatin1Char('=') + value;
    return options.trimmed();
}

QString serverProblemText(ServerAnswer answer, const QString& detail)
{
    QString text;
    switch (answer) {
    case ServerAnswer::Answered:
        return QString();
    case ServerAnswer::Unreachable:
        text = QStringLiteral("无法连接服务器：服务器没有应答。请检查服务器设置中的地址和端口，以及服务器是否已经启动。");
        break;
    case ServerAnswer::Refused:
        text = QStringLiteral("服务器拒绝了连接：用户名或密码不正确。密码从本机用户的密码文件(~/.pgpass)读取。");
        break;
    case ServerAnswer::NoDatabase:
        text = QStringLiteral("服务器上没有设置中的数据库(dbname)。");
        break;
    case ServerAnswer::NotOurs:
        text = QStringLiteral("服务器上的数据库不是Xarvane的数据库。请在服务器上运行 xarvane-setup --server 建立它。");
        break;
    case ServerAnswer::Newer:
        text = QStringLiteral("服务器上的数据库版本比本程序新。请安装较新版本的Xarvane。");
        break;
    case ServerAnswer::BadSetting:
        text = QStringLiteral("服务器设置不正确，应为 host=… port=… dbname=… user=… 的形式。");
        break;
    }
    return detail.trimmed().isEmpty() ? text : text + QStringLiteral("\r\r") + detail.trimmed();
}

ServerDatabase::ServerDatabase(QString connectionName) : m_connectionName(std::move(connectionName))
{
    QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_connectionName);
}

ServerDatabase::~ServerDatabase()
{
    close();
    QSqlDatabase::removeDatabase(m_connectionName);
}

ServerAnswer ServerDatabase::open(const QString& conninfo)
{
    close();
    m_problem.clear();
    QSqlDatabase db = connection();
    if (!db.isValid())
        return fail(ServerAnswer::Unreachable, QStringLiteral("本机没有Qt的PostgreSQL驱动(libqt6sql6-psql)。"));
    if (conninfo.trimmed().isEmpty())
        return fail(ServerAnswer::BadSetting, QString());
    db.setConnectOptions(serverConnectOptions(conninfo));
    if (!db.open()) {
        const QString text = db.lastError().databaseText().isEmpty() ? db.lastError().text()
                                                                     : db.lastError().databaseText();
        return fail(answerOf(text), text);
    }
    try {
        const int version = serverSchemaVersion(db);
        if (version == 0)
            return fail(ServerAnswer::NotOurs, QString());
        if (version > kServerSchemaVersion)
            return fail(ServerAnswer::Newer, QString());
    } catch (const DatabaseError& error) {
        return fail(ServerAnswer::Unreachable, QString::fromUtf8(error.what()));
    }
    return ServerAnswer::Answered;
}

ServerAnswer ServerDatabase::fail(ServerAnswer answer, const QString& detail)
{
    close();
    m_problem = serverProblemText(answer, detail);
    return answer;
}

void ServerDatabase::close()
{
    QSqlDatabase db = connection();
    if (db.isOpen())
        db.close();
}

bool ServerDatabase::isOpen() const
{
    return connection().isOpen();
}

QSqlDatabase ServerDatabase::connection() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

} // namespace xr
