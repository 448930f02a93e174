#pragma once
// What one run of xarvane-sim is asked to do, read from its command line.

#include "platform/SimState.h"

#include <QString>
#include <QStringList>

namespace xr::tools {

struct SimToolRequest {
    enum class Command { Help, Entries, AddEntry, RemoveEntry, FailNext, Connect, Disconnect, Traffic, Status };

    Command command = Command::Help;
    QString statePath;        // --state; empty: the default location
    platform::SimEntry entry; // add-entry: the entry; fail-next: its name and failNextCode;
                              // remove-entry, connect, disconnect, traffic: its name
    QString ip;               // connect --ip; empty: assigned
    bool all = false;         // disconnect --all
    platform::ByteCounts traffic; // traffic --rx, --tx: bytes to add

    // Reads the arguments (without the program name). False with `error` for bad arguments.
    static bool parse(const QStringList& arguments, SimToolRequest& request, QString& error);
    static QString usage();
};

} // namespace xr::tools
