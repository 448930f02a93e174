// How fast a PC catches up with the shared server after an outage: a local journal of 10,000
// records none of which reached the server, copied to a PostgreSQL server of the benchmark's own
// (on this machine, so the figure is the program's and the server's work, not a network's) in
// one full catch-up, batch after batch, each batch one server transaction.
//
// Prints: the records copied, the time taken and the records per second; then the time of a
// second pass that finds nothing to copy.

#include "BenchStore.h"
#include "PgServer.h"

#include "store/Database.h"
#include "store/RecordCopy.h"
#include "store/ServerDatabase.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int kRecords = 10'000;

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const xr::test::PgServer server;
    if (!server.available()) {
        std::printf("no PostgreSQL server to copy to: %s\n", qUtf8Printable(server.whyUnavailable()));
        return 1;
    }
    if (!server.createXarvaneDatabase(QStringLiteral("bench_copy"))) {
        std::printf("the server's tables could not be made\n");
        return 1;
    }
    QTemporaryDir dir;
    const QString file = dir.filePath(xr::kDatabaseFileName);
    std::printf("building a local journal of %d records not yet copied...\n", kRecords);
    xr::bench::buildStore(file, kRecords);
    xr::Database local;
    xr::ServerDatabase remote(QStringLiteral("bench-copy"));
    if (!local.open(file) ||
        remote.open(server.conninfo(QStringLiteral("bench_copy"))) != xr::ServerAnswer::Answered) {
        std::printf("the journal or the server did not open\n");
        return 1;
    }
    xr::RecordCopy copy(local.connection(), remote.connection(), QStringLiteral("bench-pc"));

    const xr::bench::StepTimer catchUp;
    const int copied = copy.copyPending();
    const double seconds = catchUp.wallMs() / 1000.0;
    std::printf("catch-up after an outage: %d records in %s, %.0f records per second (batches of %d)\n",
                copied, qUtf8Printable(catchUp.text()), copied / seconds, xr::RecordCopy::kBatchRows);

    const xr::bench::StepTimer nothing;
    const int again = copy.copyPending();
    std::printf("a second pass: %d records in %s\n", again, qUtf8Printable(nothing.text()));
    return 0;
}
