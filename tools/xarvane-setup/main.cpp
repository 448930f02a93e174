// xarvane-setup DIR: the installation step. Creates the program's database in DIR with its
// tables and reserved accounts.
#include "notices/ProgramFiles.h"
#include "platform/RegistryFile.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsWriteError.h"
#include "store/Database.h"
#include "store/DatabaseError.h"
#include "store/Schema.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>

#include <cstdio>

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
bool createDatabase(const QString& target, const QString& adminPassword, QString& error)
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
                xr::createSchema(db, adminPassword);
            } catch (const xr::DatabaseError& e) {
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

// The settings key with every value at its default; values already there are kept.
int installSettings(const QString& programFolder)
{
    xr::platform::RegistryFile registry(xr::platform::defaultRegistryPath(programFolder));
    try {
        xr::installDefaultSettings(registry);
    } catch (const xr::SettingsWriteError& error) {
        return fail(QStringLiteral("cannot write the settings to %1: %2")
                        .arg(registry.path(), QString::fromUtf8(error.what())));
    }
    say(QStringLiteral("Settings key %1 ready in %2").arg(xr::kSettingsKey, registry.path()));
    return 0;
}

// The notice sounds and the help, from beside this tool into the program folder.
int installFiles(const QString& programFolder)
{
    const QStringList failed = xr::installProgramFiles(QCoreApplication::applicationDirPath(), programFolder);
    if (!failed.isEmpty())
        return fail(QStringLiteral("cannot copy %1").arg(failed.join(QStringLiteral(", "))));
    say(QStringLiteral("Notice sounds and help ready in %1").arg(programFolder));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("xarvane-setup"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Prepares a program folder for Xarvane: creates the database XRDB.mdb with the tables XRRecord and\n"
        "XRUser, the anonymous account and the built-in administrator \"admin\", and places the notice sounds\n"
        "and the help beside it."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("DIR"), QStringLiteral("The program folder."));
    const QCommandLineOption adminPassword(QStringLiteral("admin-password"),
                                           QStringLiteral("Password of \"admin\" (empty by default)."),
                                           QStringLiteral("PASSWORD"));
    const QCommandLineOption force(QStringLiteral("force"), QStringLiteral("Replace an existing database."));
    parser.addOption(adminPassword);
    parser.addOption(force);
    if (!parser.parse(app.arguments()))
        return fail(parser.errorText() + QStringLiteral("\n") + parser.helpText());
    if (parser.isSet(QStringLiteral("help"))) {
        say(parser.helpText());
        return 0;
    }
    if (parser.positionalArguments().size() != 1)
        return fail(QStringLiteral("expected one folder\n") + parser.helpText());

    const QDir folder(parser.positionalArguments().constFirst());
    if (!folder.exists() && !QDir().mkpath(folder.path()))
        return fail(QStringLiteral("cannot create the folder %1").arg(folder.path()));
    const QString database = folder.absoluteFilePath(xr::kDatabaseFileName);
    const bool existed = QFile::exists(database);
    if (existed && !parser.isSet(force))
        return fail(QStringLiteral("%1 exists; left as it is (use --force to replace it)").arg(database));

    QString error;
    if (!createDatabase(database, parser.value(adminPassword), error))
        return fail(QStringLiteral("cannot create %1: %2").arg(database, error));
    say(QStringLiteral("%1 database %2 (administrator \"admin\", %3 password)")
            .arg(existed ? QStringLiteral("Replaced") : QStringLiteral("Created"), database,
                 parser.value(adminPassword).isEmpty() ? QStringLiteral("empty") : QStringLiteral("given")));
    if (const int failed = installSettings(folder.absolutePath() + QLatin1Char('/')))
        return failed;
    return installFiles(folder.absolutePath());
}
