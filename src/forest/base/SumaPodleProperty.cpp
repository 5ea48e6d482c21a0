// The summing recursor: one numeric property summed over an element and its subtree.
#include "forest/base/SumaPodleProperty.h"

#include "platform/text/Numbers.h"

TClass TSumaPodleProperty::StaticClass()
{
    using S = TSumaPodleProperty;
    static const TClassInfo info = describeClass<S, TRecursor>("TSumaPodleProperty", [](PropertyTable<S>& t) {
        t.string("PropertaStr", &S::PropertaStr, &S::SetPropertaStr)
            .floating("Suma", "Double", &S::Suma, &S::SetSuma);
    });
    return &info;
}

void TSumaPodleProperty::Action(TElement* element)
{
    if (element && element->HasProperty(m_propertaStr))
        m_suma += txt::strToFloat(element->GetPropAsString(m_propertaStr));
}
