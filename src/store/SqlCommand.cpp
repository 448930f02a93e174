#include "store/SqlCommand.h"

#include "store/Database.h"
#include "store/DatabaseError.h"

#include <QSqlQuery>

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
    QSqlQuery query(m_database.connection());
    if (!query.prepare(m_text))
        throw DatabaseError(query.lastError());
    for (auto it = m_parameters.cbegin(); it != m_parameters.cend(); ++it)
        query.bindValue(it.key(), it.value());
    if (!query.exec())
        throw DatabaseError(query.lastError());
}

} // namespace xr
