// The forest set: items of one class named by prefix and key, with one current item.
#include "forest/base/LesniMnozina.h"

#include "platform/text/Case.h"
#include "platform/ui/Services.h"

#include <algorithm>
#include <optional>

namespace {

const QString noItem = QStringLiteral("PrvekNeni");

// A name compared with letter case ignored, as comparing both upper-cased letter by letter
// would answer. Upper-casing keeps the length and turns an ASCII character into its ASCII upper
// case, so only a pair with another character needs the whole names upper-cased. The name is
// given whole, or as prefix, blank and key, so that an item's name need not be built to find it.
class NameIgnoringCase
{
public:
    explicit NameIgnoringCase(const QString& name) : m_head(name), m_size(name.size()) {}
    NameIgnoringCase(const QString& prefix, const QString& key)
        : m_head(prefix), m_tail(key), m_joined(true), m_size(prefix.size() + 1 + key.size())
    {
    }

    bool matches(const QString& other)
    {
        if (other.size() != m_size)
            return false;
        for (qsizetype i = 0; i < m_size; ++i) {
            const QChar a = other.at(i);
            const QChar b = at(i);
            if (a.unicode() >= 0x80 || b.unicode() >= 0x80)
                return txt::upperLetters(other) == folded();
            if (txt::upperAscii(a) != txt::upperAscii(b))
                return false;
        }
        return true;
    }

private:
    QChar at(qsizetype i) const
    {
        if (i < m_head.size())
            return m_head.at(i);
        if (i == m_head.size())
            return QLatin1Char(' ');
        return m_tail.at(i - m_head.size() - 1);
    }

    const QString& folded()
    {
        if (!m_folded) {
            QString name;
            name.reserve(m_size);
            name.append(m_head);
            if (m_joined)
                name.append(QLatin1Char(' ')).append(m_tail);
            m_folded = txt::upperLetters(name);
        }
        return *m_folded;
    }

    QStringView m_head;
    QStringView m_tail;
    bool m_joined = false;
    qsizetype m_size;
    std::optional<QString> m_folded;   // upper-cased once, when first needed
};

// The first child of the set whose name matches.
TElement* firstMatch(const TEntity& set, NameIgnoringCase&& wanted)
{
    for (int i = 0; i < set.Count(); ++i) {
        TElement* child = set.Items(i);
        if (child && wanted.matches(child->GetName()))
            return child;
    }
    return nullptr;
}

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
    addItem(element, nullptr);
}

void TLesniMnozina::addItem(TElement* element, const QString* key)
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
    if (!name.startsWith(m_predponaName)) {
        element->SetName(ItemName(name));
        key = &name;
    }
    if (m_nechavatJenJedenPrvek) {
        for (int i = Count() - 1; i >= 0; --i) {
            TElement* child = Items(i);
            // The element being added may be a child already; freeing it would leave a dangling item.
            if (child && child != element && child->InheritsFrom(m_itemClass))
                RemoveAndFree(child);
        }
    }
    TObecnyLesniPrvek::Add(element);
    // The element stays current and its own key becomes the old one.
    m_jmenoStarehoPrvku = keyOf(element, key ? *key : m_jmenoStarehoPrvku);
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
    if (findItem(key)) {
        SetAktualniPrvek(nullptr);
        return;
    }
    createItem(key);
}

void TLesniMnozina::createItem(const QString& key)
{
    Owned<TElement> item = newItem();
    if (!item)
        return;
    item->SetName(ItemName(key));
    // An item of ItemClass is always accepted: current, with its own key remembered as the old one.
    addItem(item.release(), &key);
}

void TLesniMnozina::NovyPrvekVzdy(const QString& key)
{
    Owned<TElement> item = newItem();
    if (!item)
        return;
    // Named as Add would name it; Add then makes it current.
    if (key.startsWith(m_predponaName)) {
        item->SetName(key);
        addItem(item.release(), nullptr);
    } else {
        item->SetName(ItemName(key));
        addItem(item.release(), &key);
    }
}

void TLesniMnozina::SetJmenoAktualnihoPrvku(const QString& key)
{
    SetAktualniPrvek(findItem(key));
}

void TLesniMnozina::NovyNeboAktualniPrvek(const QString& key)
{
    SetJmenoAktualnihoPrvku(key);
    if (!AktualniPrvek())
        NovyPrvek(key);
}

void TLesniMnozina::selectOrCreate(const QString& key)
{
    TElement* found = findItem(key);
    SetAktualniPrvek(found);
    if (!found)
        createItem(key);
}

QString TLesniMnozina::ItemName(const QString& key) const
{
    // One allocation, filled in place.
    QString name(m_predponaName.size() + 1 + key.size(), Qt::Uninitialized);
    QChar* out = std::copy_n(m_predponaName.constData(), m_predponaName.size(), name.data());
    *out++ = QLatin1Char(' ');
    std::copy_n(key.constData(), key.size(), out);
    return name;
}

TElement* TLesniMnozina::FindElementByName(const QString& name) const
{
    return firstMatch(*this, NameIgnoringCase(name));
}

TElement* TLesniMnozina::findItem(const QString& key) const
{
    return firstMatch(*this, NameIgnoringCase(m_predponaName, key));
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
    return keyOf(AktualniPrvek(), m_jmenoStarehoPrvku);
}

QString TLesniMnozina::keyOf(const TElement* current, const QString& likely) const
{
    if (!current || !isChild(current))
        return noItem;
    const QString name = current->GetName();
    const qsizetype start = m_predponaName.size() + 1;
    // Mostly the key is a text at hand already: share it rather than copy the letters.
    if (start < name.size() && QStringView(name).sliced(start) == likely)
        return likely;
    return name.mid(start);
}

void TLesniMnozina::SetAktualniPrvek(TElement* element)
{
    m_jmenoStarehoPrvku = JmenoAktualnihoPrvku();
    m_aktualniPrvek = element;
}

TElement* TLesniMnozina::AktualniPrvekVzdy()
{
    if (TElement* current = AktualniPrvek())
        return current;
    NovyNeboAktualniPrvek(QStringLiteral("Vzdy"));
    return AktualniPrvek();
}

TElement* TLesniMnozina::AktualniPrvekVzdyN()
{
    if (TElement* current = AktualniPrvek())
        return current;
    if (Count() > 0)
        m_aktualniPrvek = Items(0);
    else
        NovyNeboAktualniPrvek(QStringLiteral("Vzdy"));
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
    static const QLatin1String nameProperty("NAME");
    bool isName = propertyName.size() == nameProperty.size();
    for (qsizetype i = 0; isName && i < propertyName.size(); ++i)
        isName = txt::upperAscii(propertyName.at(i)) == QLatin1Char(nameProperty.at(i));
    // The parts are cut from this copy, whatever setting the properties does to the caller's text.
    const QString whole = text;
    qsizetype start = 0;
    for (int i = 0; start <= whole.size(); ++i) {
        qsizetype end = separator.isEmpty() ? -1 : whole.indexOf(separator, start);
        if (end < 0) {
            end = whole.size();
            // The empty rest after the last separator is no part.
            if (end == start)
                return;
        }
        const QString part = start == 0 && end == whole.size() ? whole : whole.mid(start, end - start);
        start = end + separator.size();
        if (separator.isEmpty())
            start = whole.size() + 1;
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
            child->SetPropAsString(propertyName, isName ? ItemName(part) : part);
    }
}

void TLesniMnozina::SetNamesFromList(const QString& text, const QString& separator)
{
    SetPropertyFromList(QStringLiteral("NAME"), text, separator);
}
