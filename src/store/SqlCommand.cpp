#include "store/SqlCommand.h"

#include "store/Database.h"
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

void SqlCommand::execute()
{
    runStatement(m_database.connection(), m_text, m_parameters);
}

} // namespace xr
