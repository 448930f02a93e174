// xarvane-sim: drives the simulated dial-up service (phonebook and connections in its state
// file). `xarvane-sim --help` describes the commands.
#include "SimTool.h"
#include "SimToolRequest.h"

#include "platform/DataFolder.h"
#include "platform/SimRemoteAccess.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    xr::tools::SimToolRequest request;
    QString error;
    if (!xr::tools::SimToolRequest::parse(QCoreApplication::arguments().mid(1), request, error)) {
        std::fprintf(stderr, "xarvane-sim: %s\n\n%s", error.toUtf8().constData(),
                     xr::tools::SimToolRequest::usage().toUtf8().constData());
        return xr::tools::SimTool::BadArguments;
    }
    const std::string statePath =
        request.statePath.isEmpty()
            ? xr::platform::simStatePath(
                  xr::platform::dataFolder(QCoreApplication::applicationDirPath()).toStdString())
            : request.statePath.toStdString();
    const xr::platform::SimStateFile file(statePath);
    return xr::tools::SimTool(file, stdout, stderr).run(request);
}
