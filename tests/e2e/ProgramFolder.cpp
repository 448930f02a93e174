#include "ProgramFolder.h"

#include "WaitUntil.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>

#include <csignal>
#include <unistd.h>

namespace xr::test {

namespace {

const QString kBinDir = QStringLiteral(XARVANE_BIN_DIR);

// The program finds its folder from its own file, so each test folder gets the file itself.
void placeProgram(const QString& folder)
{
    const QString source = kBinDir + QStringLiteral("/xarvane");
    const QString target = folder + QStringLiteral("/xarvane");
    if (::link(QFile::encodeName(source).constData(), QFile::encodeName(target).constData()) != 0)
        QFile::copy(source, target);
}

} // namespace

ProgramFolder::ProgramFolder(bool withDatabase)
    : m_dir(QDir(QStringLiteral(XARVANE_TEST_WORK_DIR)).filePath(QStringLiteral("folder-XXXXXX")))
{
    QDir(path()).mkpath(QStringLiteral("run"));
    QDir(path()).mkpath(QStringLiteral("config"));
    placeProgram(path());
    if (withDatabase) {
        QProcess setup;
        setup.start(kBinDir + QStringLiteral("/xarvane-setup"), {path()});
        setup.waitForFinished();
    }
}

ProgramFolder::~ProgramFolder()
{
    if (m_program && m_program->state() != QProcess::NotRunning) {
        m_program->kill();
        m_program->waitForFinished();
    }
}

QString ProgramFolder::path(const QString& name) const
{
    return name.isEmpty() ? m_dir.path() : m_dir.filePath(name);
}

QProcessEnvironment ProgramFolder::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XARVANE_PROMPTS"), QStringLiteral("log"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), path(QStringLiteral("run")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral("config")));
    env.remove(QStringLiteral("XARVANE_SIM_STATE"));
    env.remove(QStringLiteral("XARVANE_REGISTRY"));
    env.insert(QStringLiteral("XARVANE_DATA"), path()); // also without a database: never the installed one
    env.remove(QStringLiteral("XDG_SESSION_ID"));       // the test's own session is not the program's
    env.insert(QStringLiteral("XARVANE_RAS"), QStringLiteral("sim")); // a desktop's own NetworkManager stays out
    env.insert(QStringLiteral("XARVANE_PPP_PEERS"), path(QStringLiteral("no-ppp-peers"))); // no pppd peers here
    for (const QString& name : m_extraEnvironment.keys())
        env.insert(name, m_extraEnvironment.value(name));
    return env;
}

bool ProgramFolder::start()
{
    m_program = std::make_unique<QProcess>();
    m_program->setProcessEnvironment(environment());
    m_program->setProcessChannelMode(QProcess::SeparateChannels);
    m_program->start(path(QStringLiteral("xarvane")), {});
    if (!m_program->waitForStarted())
        return false;
    return waitUntil([this] {
        return m_program->state() == QProcess::Running && signalHandlerInstalled() && databaseOpen();
    });
}

bool ProgramFolder::databaseOpen() const
{
    const QDir descriptors(QStringLiteral("/proc/%1/fd").arg(m_program->processId()));
    const QString database = QFileInfo(path(QStringLiteral("XRDB.mdb"))).canonicalFilePath();
    for (const QFileInfo& descriptor : descriptors.entryInfoList(QDir::Files | QDir::System))
        if (descriptor.symLinkTarget() == database)
            return true;
    return false;
}

// The program catches SIGTERM once its event loop is about to run.
bool ProgramFolder::signalHandlerInstalled() const
{
    QFile status(QStringLiteral("/proc/%1/status").arg(m_program->processId()));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (SIGTERM - 1)) & 1U;
    return false;
}

int ProgramFolder::runAnotherCopy(QString* errorOutput)
{
    QProcess copy;
    copy.setProcessEnvironment(environment());
    copy.start(path(QStringLiteral("xarvane")), {});
    if (!copy.waitForFinished(15000)) {
        copy.kill();
        copy.waitForFinished();
        return -1;
    }
    if (errorOutput)
        *errorOutput = QString::fromUtf8(copy.readAllStandardError());
    return copy.exitStatus() == QProcess::NormalExit ? copy.exitCode() : -1;
}

QString ProgramFolder::errorOutput()
{
    QCoreApplication::processEvents(); // what the program wrote so far
    m_errors += QString::fromUtf8(m_program->readAllStandardError());
    return m_errors;
}

QStringList ProgramFolder::prompts()
{
    QStringList lines = errorOutput().split(QLatin1Char('\n'));
    lines.removeIf([](const QString& line) { return !line.startsWith(QStringLiteral("prompt: ")); });
    return lines;
}

QStringList ProgramFolder::unexpectedPrompts()
{
    QStringList lines = prompts();
    lines.removeIf([](const QString& line) { return line.contains(QStringLiteral("没有找到系统通知区域")); });
    return lines;
}

bool ProgramFolder::waitForExit(int timeoutMs)
{
    return m_program->waitForFinished(timeoutMs);
}

void ProgramFolder::terminate()
{
    ::kill(static_cast<pid_t>(m_program->processId()), SIGTERM);
}

void ProgramFolder::kill()
{
    m_program->kill();
    m_program->waitForFinished();
}

void ProgramFolder::setSetting(const QString& name, int value)
{
    replaceInSettings(QStringLiteral("\"%1\"=dword:[0-9a-f]{8}").arg(name),
                      QStringLiteral("\"%1\"=dword:%2").arg(name).arg(value, 8, 16, QLatin1Char('0')));
}

void ProgramFolder::setSetting(const QString& name, const QString& value)
{
    replaceInSettings(QStringLiteral("\"%1\"=\"[^\"]*\"").arg(name),
                      QStringLiteral("\"%1\"=\"%2\"").arg(name, value));
}

void ProgramFolder::replaceInSettings(const QString& pattern, const QString& replacement)
{
    QFile file(path(QStringLiteral("Xarvane.reg")));
    file.open(QIODevice::ReadOnly);
    QString text = QString::fromUtf8(file.readAll());
    file.close();
    text.replace(QRegularExpression(pattern), replacement);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(text.toUtf8());
}

int ProgramFolder::sim(const QStringList& arguments, QString* output)
{
    QProcess tool;
    tool.setProcessEnvironment(environment());
    tool.start(kBinDir + QStringLiteral("/xarvane-sim"),
               QStringList{QStringLiteral("--state"), path(QStringLiteral("SimRas.json"))} + arguments);
    tool.waitForFinished();
    if (output)
        *output = QString::fromUtf8(tool.readAllStandardOutput());
    return tool.exitCode();
}

QList<QStringList> ProgramFolder::rows(const QString& query)
{
    QList<QStringList> result;
    const QString name = QStringLiteral("e2e-reader");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path(QStringLiteral("XRDB.mdb")));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000"));
        if (db.open()) {
            QSqlQuery q(db);
            q.exec(query);
            while (q.next()) {
                QStringList row;
                for (int i = 0; i < q.record().count(); ++i)
                    row << q.value(i).toString();
                result << row;
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

bool ProgramFolder::waitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    return test::waitUntil(condition, timeoutMs);
}

} // namespace xr::test
