// Bound parameters of a query.
#include "platform/db/sql/Params.h"

#include "platform/Exceptions.h"

namespace db {

Param* Params::FindParam(const QString& name)
{
    for (Param& p : m_items) {
        if (p.Name().compare(name, Qt::CaseInsensitive) == 0)
            return &p;
    }
    return nullptr;
}

const Param* Params::FindParam(const QString& name) const
{
    return const_cast<Params*>(this)->FindParam(name);
}

Param& Params::ParamByName(const QString& name)
{
    if (Param* p = FindParam(name))
        return *p;
    throw EDatabaseError(QStringLiteral("Parametr '%1' nebyl nalezen.").arg(name));
}

const Param& Params::ParamByName(const QString& name) const
{
    return const_cast<Params*>(this)->ParamByName(name);
}

void Params::reset(const QStringList& names)
{
    QList<Param> items;
    for (const QString& name : names) {
        const Param* old = FindParam(name);
        items.append(old ? *old : Param(name));
    }
    m_items = std::move(items);
}

} // namespace db
