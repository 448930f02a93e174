#pragma once
// A program folder of its own for an end-to-end test: the real binaries, a fresh database and
// the simulated dial-up service, with the runtime, settings and autostart folders kept inside
// it so that tests never meet each other or the developer's session.

#include <QProcess>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

namespace xr::test {

class ProgramFolder {
public:
    // A folder with the program and, unless told otherwise, its database.
    explicit ProgramFolder(bool withDatabase = true);
    ~ProgramFolder();

    QString path(const QString& name = QString()) const;

    // Sets a variable of the program's environment for the next start (e.g. another display).
    void setEnvironment(const QString& name, const QString& value) { m_extraEnvironment.insert(name, value); }

    // Starts the program; waits until it is ready to end cleanly on SIGTERM.
    bool start();
    // Starts another copy and waits for it to end; returns its exit code (-1 when it did not).
    int runAnotherCopy(QString* errorOutput = nullptr);
    QProcess& program() { return *m_program; }
    QString errorOutput();
    bool waitForExit(int timeoutMs = 15000);
    void terminate();
    void kill();

    // Gives a DWORD value of the settings key another number (the folder's settings file).
    void setSetting(const QString& name, int value);
    // Gives a text value of the settings key another text.
    void setSetting(const QString& name, const QString& value);

    // Runs xarvane-sim on this folder's state file; returns its exit code.
    int sim(const QStringList& arguments, QString* output = nullptr);

    // Runs a query on the database (a connection of its own) and returns the rows as text.
    QList<QStringList> rows(const QString& query);

    // Polls `condition` every 50 ms up to `timeoutMs`.
    static bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 15000);

private:
    QProcessEnvironment environment() const;
    bool signalHandlerInstalled() const;
    // Replaces what `pattern` matches in the folder's settings file.
    void replaceInSettings(const QString& pattern, const QString& replacement);

    QTemporaryDir m_dir;
    QProcessEnvironment m_extraEnvironment;
    std::unique_ptr<QProcess> m_program;
    QString m_errors;
};

} // namespace xr::test
