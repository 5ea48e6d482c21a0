// The forest set: items of one class named by prefix and key, with one current item.
#include "forest/base/LesniMnozina.h"

#include "platform/text/Case.h"
#include "platform/ui/Services.h"

#include <optional>

namespace {

const QString noItem = QStringLiteral("PrvekNeni");

// A name compared with letter case ignored, as comparing both upper-cased letter by letter
// would answer. Upper-casing keeps the length and turns an ASCII character into its ASCII upper
// case, so only a pair with another character needs the whole names upper-cased.
class NameIgnoringCase
{
public:
    explicit NameIgnoringCase(const QString& name) : m_name(name) {}

    bool matches(const QString& other)
    {
        if (other.size() != m_name.size())
            return false;
        for (qsizetype i = 0; i < other.size(); ++i) {
            const QChar a = other.at(i);
            const QChar b = m_name.at(i);
            if (a.unicode() >= 0x80 || b.unicode() >= 0x80)
                return txt::upperLetters(other) == folded();
            if (txt::upperAscii(a) != txt::upperAscii(b))
                return false;
        }
        return true;
    }

private:
    const QString& folded()
    {
        if (!m_folded)
            m_folded = txt::upperLetters(m_name);
        return *m_folded;
    }

    const QString& m_name;
    std::optional<QString> m_folded;   // upper-cased once, when first needed
};

} // namespace

TClass TLesniMnozina::StaticClass()
{
    using M = TLesniMnozina;
    static const TClassInfo info = describeClass<M, TObecnyLesniPrvek>("TLesniMnozina", [](PropertyTable<M>& t) {
        // Only JmenoStarehoPrvku, NechavatJenJedenPrvek and PredponaName are stored.
        t.integer("PoradiAktualnihoPrvku", &M::PoradiAktualnihoPrvku, nullptr, false)
            .string("JmenoAktualnihoPrvku", &M::JmenoAktualnihoPrvku,
                    [](M& m, const QString& key) { m.SetJmenoAktualnihoPrvku(key); }, false)
            .string("JmenoStarehoPrvku", &M::JmenoStarehoPrvku, &M::SetJmenoStarehoPrvku)
            .object<TElement>("AktualniPrvek", &M::AktualniPrvek, &M::SetAktualniPrvek, false)
            .object<TElement>("AktualniPrvekVzdy", &M::AktualniPrvekVzdy, nullptr, false)
            .object<TElement>("AktualniPrvekVzdyN", &M::AktualniPrvekVzdyN, nullptr, false)
            .string("NovyPrvek", nullptr, [](M& m, const QString& key) { m.NovyPrvek(key); }, false)
            .string("NovyPrvekVzdy", nullptr, [](M& m, const QString& key) { m.NovyPrvekVzdy(key); }, false)
            .string("NovyNeboAktualniPrvek", nullptr, [](M& m, const QString& key) { m.NovyNeboAktualniPrvek(key); },
                    false)
            .integer("PocetPrvku", &M::PocetPrvku, nullptr, false)
            .boolean("NechavatJenJedenPrvek", &M::NechavatJenJedenPrvek, &M::SetNechavatJenJedenPrvek)
            .string("PredponaName", &M::PredponaName, &M::SetPredponaName);
    });
    return &info;
}

void TLesniMnozina::Add(TElement* element)
{
    if (!element)
        return;
    if (!m_itemClass || !element->InheritsFrom(m_itemClass)) {
        ui::services().showMessage(QStringLiteral("Prvek \"") + element->GetName() +
                                   QStringLiteral("\" neni typem pro mnozinu \"") + GetName() + QLatin1Char('"'));
        return;
    }
    // The key remembered here would be overwritten below before anything reads it.
    m_aktualniPrvek = element;
    const QString name = element->GetName();
    if (!name.startsWith(m_predponaName))
        element->SetName(ItemName(name));
    if (m_nechavatJenJedenPrvek) {
        for (int i = Count() - 1; i >= 0; --i) {
            TElement* child = Items(i);
            // The element being added may be a child already; freeing it would leave a dangling item.
            if (child && child != element && child->InheritsFrom(m_itemClass))
                RemoveAndFree(child);
        }
    }
    TObecnyLesniPrvek::Add(element);
    SetAktualniPrvek(element);
}

Owned<TElement> TLesniMnozina::newItem() const
{
    if (!m_itemClass)
        return nullptr;
    TPersistent* created = m_itemClass->CreateInstance();
    if (!created)
        return nullptr;
    if (!created->InheritsFrom(TElement::StaticClass())) {
        FreeObject(created);
        return nullptr;
    }
    return Owned<TElement>(static_cast<TElement*>(created));
}

void TLesniMnozina::NovyPrvek(const QString& key)
{
    const QString name = ItemName(key);
    if (FindElementByName(name)) {
        SetAktualniPrvek(nullptr);
        return;
    }
    Owned<TElement> item = newItem();
    if (!item)
        return;
    item->SetName(name);
    TElement* added = item.get();
    Add(item.release());
    // An accepted item is current already, with its own key remembered as the old one.
    if (AktualniPrvek() != added)
        SetAktualniPrvek(added);
}

void TLesniMnozina::NovyPrvekVzdy(const QString& key)
{
    Owned<TElement> item = newItem();
    if (!item)
        return;
    SetAktualniPrvek(item.get());
    item->SetName(key);
    Add(item.release());
}

void TLesniMnozina::SetJmenoAktualnihoPrvku(const QString& key)
{
    SetAktualniPrvek(FindElementByName(ItemName(key)));
}

void TLesniMnozina::NovyNeboAktualniPrvek(const QString& key)
{
    SetJmenoAktualnihoPrvku(key);
    if (!AktualniPrvek())
        NovyPrvek(key);
}

QString TLesniMnozina::ItemName(const QString& key) const
{
    QString name;
    name.reserve(m_predponaName.size() + 1 + key.size());
    name.append(m_predponaName).append(QLatin1Char(' ')).append(key);
    return name;
}

TElement* TLesniMnozina::FindElementByName(const QString& name) const
{
    NameIgnoringCase wanted(name);
    for (int i = 0; i < Count(); ++i) {
        TElement* child = Items(i);
        if (child && wanted.matches(child->GetName()))
            return child;
    }
    return nullptr;
}

bool TLesniMnozina::isChild(const TElement* element) const
{
    // The current item is mostly the last one added.
    for (int i = Count() - 1; i >= 0; --i)
        if (Items(i) == element)
            return true;
    return false;
}

QString TLesniMnozina::JmenoAktualnihoPrvku() const
{
    TElement* current = AktualniPrvek();
    if (!current || !isChild(current))
        return noItem;
    return current->GetName().mid(m_predponaName.size() + 1);
}

void TLesniMnozina::SetAktualniPrvek(TElement* element)
{
    m_jmenoStarehoPrvku = JmenoAktualnihoPrvku();
    m_aktualniPrvek = element;
}

TElement* TLesniMnozina::AktualniPrvekVzdy()
{
    if (!AktualniPrvek())
        NovyNeboAktualniPrvek(QStringLiteral("Vzdy"));
    return AktualniPrvek();
}

TElement* TLesniMnozina::AktualniPrvekVzdyN()
{
    if (!AktualniPrvek()) {
        if (Count() > 0)
            m_aktualniPrvek = Items(0);
        else
            NovyNeboAktualniPrvek(QStringLiteral("Vzdy"));
    }
    return AktualniPrvek();
}

int TLesniMnozina::PocetPrvku() const
{
    return m_itemClass ? CountOfClass(m_itemClass) : 0;
}

int TLesniMnozina::PoradiAktualnihoPrvku() const
{
    TElement* current = AktualniPrvek();
    return current ? IndexOf(current) : 0;
}

void TLesniMnozina::SetPropertyOfAll(const QString& propertyName, const QString& value)
{
    for (int i = 0; i < Count(); ++i)
        if (TElement* child = Items(i))
            child->SetPropAsString(propertyName, value);
}

void TLesniMnozina::SetPropertyFromList(const QString& propertyName, const QString& text, const QString& separator)
{
    QStringList parts;
    if (separator.isEmpty()) {
        if (!text.isEmpty())
            parts.append(text);
    } else {
        parts = text.split(separator);
        if (parts.last().isEmpty())
            parts.removeLast();
    }
    const bool isName = txt::upperAscii(propertyName) == QLatin1String("NAME");
    for (int i = 0; i < parts.size(); ++i) {
        TElement* child = nullptr;
        if (i < Count()) {
            child = Items(i);
        } else {
            Owned<TElement> item = newItem();
            if (!item)
                return;
            child = item.get();
            Add(item.release());
        }
        if (child)
            child->SetPropAsString(propertyName, isName ? ItemName(parts.at(i)) : parts.at(i));
    }
}

void TLesniMnozina::SetNamesFromList(const QString& text, const QString& separator)
{
    SetPropertyFromList(QStringLiteral("NAME"), text, separator);
}
