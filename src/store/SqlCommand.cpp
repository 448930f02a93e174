#include "store/SqlCommand.h"

#include "store/Database.h"
#include "store/DatabaseError.h"
#include "store/Statement.h"

namespace xr {

void SqlCommand::setCommandText(const QString& text)
{
    m_text = text;
    m_parameters.clear();
}

void SqlCommand::setParameter(const QString& name, const QVariant& value)
{
    m_parameters.insert(name, value);
}

// A connection opened while the file was write-protected stays read-only after the file becomes
// writable; one reopen lets the write through without a restart.
void SqlCommand::execute()
{
    try {
        runStatement(m_database.connection(), m_text, m_parameters);
    } catch (const DatabaseError& error) {
        if (!error.readOnly() || !m_database.reopen())
            throw;
        runStatement(m_database.connection(), m_text, m_parameters);
    }
}

} // namespace xr
