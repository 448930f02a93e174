#pragma once
// Runs the built xarvane-sim program, as another process would.

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace xr::test {

struct SimToolResult {
    int exitCode = -1;
    QString out;
    QString err;
};

inline QString simToolPath()
{
    return QStringLiteral(XARVANE_BIN_DIR "/xarvane-sim");
}

// Starts xarvane-sim with `arguments` without waiting for it.
inline void startSimTool(QProcess& process, const QStringList& arguments,
                         const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    process.setProcessEnvironment(environment);
    process.start(simToolPath(), arguments);
}

inline SimToolResult finishSimTool(QProcess& process)
{
    process.waitForFinished(30000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

inline SimToolResult
runSimTool(const QStringList& arguments,
           const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    startSimTool(process, arguments, environment);
    return finishSimTool(process);
}

} // namespace xr::test
