#include "store/StatementInterrupt.h"

#include "store/SqliteHandle.h"

#include <sqlite3.h>

namespace xr {

namespace {

// Every this many steps of a statement SQLite asks whether to go on.
constexpr int kStepsBetweenLooks = 10000;

int stopWhenInterrupted(void* interrupt)
{
    return static_cast<const StatementInterrupt*>(interrupt)->interrupted() ? 1 : 0;
}

} // namespace

StatementInterrupt::Attachment::Attachment(StatementInterrupt& interrupt, const QSqlDatabase& db) : m_db(db)
{
    sqlite3_progress_handler(sqliteHandle(m_db), kStepsBetweenLooks, stopWhenInterrupted, &interrupt);
}

StatementInterrupt::Attachment::~Attachment()
{
    sqlite3_progress_handler(sqliteHandle(m_db), 0, nullptr, nullptr);
}

} // namespace xr
