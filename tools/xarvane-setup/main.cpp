// xarvane-setup DIR: the installation step. Creates the program's database in DIR with its
// tables and reserved accounts (the administrator's password given, empty, or empty and to be
// replaced at the first sign-in), the settings key (with the support address when given) and
// places the notice sounds and the help. With --server, prepares the shared server of several PCs
// (its tables, indexes and reserved accounts, whatever of them is missing) and, with DIR, names
// it in the folder's settings.
#include "notices/ProgramFiles.h"
#include "platform/RegistryFile.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsWriteError.h"
#include "store/Database.h"
#include "store/DatabaseError.h"
#include "store/Schema.h"
#include "store/ServerDatabase.h"
#include "store/ServerSchema.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSqlDatabase>

#include <cstdio>
#include <exception>
#include <optional>

namespace {

void say(const QString& text)
{
    std::fputs(qPrintable(text + QLatin1Char('\n')), stdout);
}

int fail(const QString& text)
{
    std::fputs(qPrintable(QStringLiteral("xarvane-setup: ") + text + QLatin1Char('\n')), stderr);
    return 1;
}

// Builds the database in a side file and moves it into place only when it is complete.
bool createDatabase(const QString& target, const QString& adminPassword, xr::AdminPassword admin,
                    QString& error)
{
    const QString building = target + QStringLiteral(".new");
    QFile::remove(building);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("setup"));
        db.setDatabaseName(building);
        if (!db.open()) {
            error = db.lastError().text();
        } else {
            try {
                xr::createSchema(db, adminPassword, admin);
            } catch (const std::exception& e) {
                error = QString::fromStdString(e.what());
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("setup"));
    if (error.isEmpty() && (!QFile::remove(target) && QFile::exists(target)))
        error = QStringLiteral("cannot replace %1").arg(target);
    if (error.isEmpty() && !QFile::rename(building, target))
        error = QStringLiteral("cannot move %1 into place").arg(building);
    if (!error.isEmpty())
        QFile::remove(building);
    return error.isEmpty();
}

// The settings key with every value at its default, values already there kept; then the support
// address when one is given (an empty one clears it).
int installSettings(const QString& programFolder, const std::optional<QString>& supportMail)
{
    xr::platform::RegistryFile registry(xr::platform::defaultRegistryPath(programFolder));
    try {
        xr::installDefaultSettings(registry);
        xr::TSettings settings;
        if (supportMail) {
            settings.SupportMail = *supportMail;
            if (!xr::writeSettings(registry, settings, {&xr::TSettings::SupportMail}))
                throw xr::SettingsWriteError(QStringLiteral("SupportMail"));
        }
    } catch (const xr::SettingsWriteError& error) {
        return fail(QStringLiteral("cannot write the settings to %1: %2")
                        .arg(registry.path(), QString::fromUtf8(error.what())));
    }
    say(QStringLiteral("Settings key %1 ready in %2").arg(xr::kSettingsKey, registry.path()));
    if (supportMail)
        say(supportMail->isEmpty() ? QStringLiteral("Support address cleared")
                                   : QStringLiteral("Support address %1").arg(*supportMail));
    return 0;
}

// The notice sounds and the help, from beside this tool (or, for a tool installed in a bin
// folder, from ../share/xarvane) into the program folder; what is not there to copy is named,
// since the program then plays no sound or shows no help.
int installFiles(const QString& programFolder)
{
    const QString from = xr::programFilesSource(QCoreApplication::applicationDirPath());
    const xr::ProgramFilesResult result = xr::installProgramFiles(from, programFolder);
    if (!result.failed.isEmpty())
        return fail(QStringLiteral("cannot copy %1").arg(result.failed.join(QStringLiteral(", "))));
    if (result.missing.isEmpty())
        say(QStringLiteral("Notice sounds and help ready in %1").arg(programFolder));
    else
        say(QStringLiteral("Not found in %1, so not placed in %2: %3")
                .arg(from, programFolder, result.missing.join(QStringLiteral(", "))));
    return 0;
}

// The server's tables, indexes and reserved accounts, made where missing; nothing there changes.
// A server that already has them at this version is left alone, so that a PC's own role, which
// may not create tables, can name it too.
int prepareServer(const QString& conninfo, const QString& adminPassword)
{
    xr::ServerDatabase server(QStringLiteral("setup-server"));
    const xr::ServerAnswer answer = server.open(conninfo);
    if (answer == xr::ServerAnswer::Answered) {
        say(QStringLiteral("Server %1 already holds Xarvane's tables (version %2); left as it is")
                .arg(conninfo)
                .arg(xr::kServerSchemaVersion));
        return 0;
    }
    if (answer != xr::ServerAnswer::NotOurs)
        return fail(QStringLiteral("cannot use the server: %1").arg(server.problem().replace(QLatin1Char('\r'), QLatin1Char('\n'))));
    QSqlDatabase db = server.connection(); // open() closed it: reach it again for the set-up
    db.setConnectOptions(xr::serverConnectOptions(conninfo));
    if (!db.open())
        return fail(QStringLiteral("cannot use the server: %1").arg(db.lastError().text()));
    try {
        xr::createServerSchema(db, adminPassword);
    } catch (const std::exception& error) {
        return fail(QStringLiteral("cannot prepare the server: %1").arg(QString::fromUtf8(error.what())));
    }
    say(QStringLiteral("Server ready: %1 (tables at version %2)").arg(conninfo).arg(xr::kServerSchemaVersion));
    return 0;
}

// The folder's settings name the server.
int nameServer(const QString& programFolder, const QString& conninfo)
{
    xr::platform::RegistryFile registry(xr::platform::defaultRegistryPath(programFolder));
    xr::TSettings settings;
    settings.Server = conninfo;
    if (!xr::writeSettings(registry, settings, {&xr::TSettings::Server}))
        return fail(QStringLiteral("cannot write the server to the settings in %1").arg(registry.path()));
    say(QStringLiteral("The settings in %1 name the server").arg(registry.path()));
    return 0;
}

QString adminPasswordDescription(const QString& password, xr::AdminPassword admin)
{
    if (!password.isEmpty())
        return QStringLiteral("given password");
    return admin == xr::AdminPassword::ReplacedAtFirstSignIn
               ? QStringLiteral("empty password, to be set at the first sign-in")
               : QStringLiteral("empty password");
}

// An address to write to: one "@" with text on both sides and no blanks.
bool isMailAddress(const QString& address)
{
    const QStringList parts = address.split(QLatin1Char('@'));
    return parts.size() == 2 && !parts[0].isEmpty() && !parts[1].isEmpty() &&
           !address.contains(QRegularExpression(QStringLiteral("\\s")));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("xarvane-setup"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Prepares a program folder for Xarvane: creates the database XRDB.mdb with the tables XRRecord and\n"
        "XRUser, the anonymous account and the built-in administrator \"admin\", the settings, and places "
        "the\n"
        "notice sounds and the help beside it."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("DIR"),
                                 QStringLiteral("The program folder (may be left out with --server)."));
    const QCommandLineOption server(
        QStringLiteral("server"),
        QStringLiteral("Prepare the shared server of several PCs, a PostgreSQL database named in libpq's form\n"
                       "(\"host=... port=... dbname=... user=...\", the password from ~/.pgpass): create its\n"
                       "tables and reserved accounts where missing, and name it in DIR's settings."),
        QStringLiteral("CONNINFO"));
    const QCommandLineOption adminPassword(QStringLiteral("admin-password"),
                                           QStringLiteral("Password of \"admin\" (empty by default)."),
                                           QStringLiteral("PASSWORD"));
    const QCommandLineOption askAdminPassword(
        QStringLiteral("ask-admin-password"),
        QStringLiteral("Give \"admin\" an empty password that must be replaced at its first sign-in."));
    const QCommandLineOption force(QStringLiteral("force"), QStringLiteral("Replace an existing database."));
    const QCommandLineOption supportMail(
        QStringLiteral("support-mail"),
        QStringLiteral(
            "The address that the about box shows and the mail commands write to (an empty one clears it)."),
        QStringLiteral("ADDRESS"));
    parser.addOption(adminPassword);
    parser.addOption(askAdminPassword);
    parser.addOption(force);
    parser.addOption(supportMail);
    parser.addOption(server);
    if (!parser.parse(app.arguments()))
        return fail(parser.errorText() + QStringLiteral("\n") + parser.helpText());
    if (parser.isSet(QStringLiteral("help"))) {
        say(parser.helpText());
        return 0;
    }
    if (parser.isSet(server)) {
        if (const int failed = prepareServer(parser.value(server), parser.value(adminPassword)))
            return failed;
        if (parser.positionalArguments().isEmpty())
            return 0;
    }
    if (parser.positionalArguments().size() != 1)
        return fail(QStringLiteral("expected one folder\n") + parser.helpText());
    if (parser.isSet(askAdminPassword) && !parser.value(adminPassword).isEmpty())
        return fail(QStringLiteral("--ask-admin-password and --admin-password exclude each other"));
    const xr::AdminPassword admin =
        parser.isSet(askAdminPassword) ? xr::AdminPassword::ReplacedAtFirstSignIn : xr::AdminPassword::Kept;
    std::optional<QString> supportAddress;
    if (parser.isSet(supportMail)) {
        supportAddress = parser.value(supportMail).trimmed();
        if (!supportAddress->isEmpty() && !isMailAddress(*supportAddress))
            return fail(QStringLiteral("\"%1\" is not a mail address").arg(*supportAddress));
    }

    const QDir folder(parser.positionalArguments().constFirst());
    if (!folder.exists() && !QDir().mkpath(folder.path()))
        return fail(QStringLiteral("cannot create the folder %1").arg(folder.path()));
    const QString database = folder.absoluteFilePath(xr::kDatabaseFileName);
    const bool existed = QFile::exists(database);
    if (existed && !parser.isSet(force) && parser.isSet(server))
        return nameServer(folder.absolutePath() + QLatin1Char('/'), parser.value(server));
    if (existed && !parser.isSet(force))
        return fail(QStringLiteral("%1 exists; left as it is (use --force to replace it)").arg(database));

    QString error;
    if (!createDatabase(database, parser.value(adminPassword), admin, error))
        return fail(QStringLiteral("cannot create %1: %2").arg(database, error));
    say(QStringLiteral("%1 database %2 (administrator \"admin\", %3)")
            .arg(existed ? QStringLiteral("Replaced") : QStringLiteral("Created"), database,
                 adminPasswordDescription(parser.value(adminPassword), admin)));
    if (const int failed = installSettings(folder.absolutePath() + QLatin1Char('/'), supportAddress))
        return failed;
    if (parser.isSet(server))
        if (const int failed = nameServer(folder.absolutePath() + QLatin1Char('/'), parser.value(server)))
            return failed;
    return installFiles(folder.absolutePath());
}
