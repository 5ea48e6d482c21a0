// The forest set: items of one class named by prefix and key, with one current item.
#pragma once

#include "forest/base/ObecnyLesniPrvek.h"

#include <QString>

// A set of forest elements (TLesniMnozina). Every item is of ItemClass and is named
// PredponaName + " " + key (compartment 12 of the compartment set is "ODD 12"); the key is the
// rest of the name. Name look-ups ignore letter case. The set keeps one current item
// (AktualniPrvek, not owned by that reference) and the key that was current before the last
// change of it (JmenoStarehoPrvku). In keep-only-one mode (NechavatJenJedenPrvek) adding an
// item frees the items held before, so only the item being processed stays in memory.
// Each concrete set sets ItemClass and PredponaName in its constructor.
class TLesniMnozina : public TObecnyLesniPrvek
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // Refuses (with a message) an element not of ItemClass; otherwise makes it current, puts the
    // prefix in front of its name when missing, frees the old items in keep-only-one mode
    // (never the element itself) and appends it. A refused element stays with the caller.
    void Add(TElement* element) final;
    // The first child whose name equals the given one with letter case ignored (letter by letter).
    TElement* FindElementByName(const QString& name) const override;

    // Creates, names, adds and selects the item of the key; when that name exists already,
    // nothing is added and no item is current afterwards.
    virtual void NovyPrvek(const QString& key);
    // Always a new item of the key, added and selected (duplicate keys may arise).
    virtual void NovyPrvekVzdy(const QString& key);
    // Selects the item of the key; nil when there is none.
    virtual void SetJmenoAktualnihoPrvku(const QString& key);
    // Selects the item of the key, creating it when missing.
    virtual void NovyNeboAktualniPrvek(const QString& key);

    // The current item's key; "PrvekNeni" when none is current or it is no child any more.
    QString JmenoAktualnihoPrvku() const;
    TElement* AktualniPrvek() const { return m_aktualniPrvek.get(); }
    // Remembers the current key in JmenoStarehoPrvku, then selects the element (which need not
    // be a child).
    void SetAktualniPrvek(TElement* element);
    // The current item; the item keyed "Vzdy" is selected or created first when none is current.
    TElement* AktualniPrvekVzdy();
    // The current item; else the first child (selected without touching JmenoStarehoPrvku);
    // else as AktualniPrvekVzdy.
    TElement* AktualniPrvekVzdyN();
    // Children of ItemClass.
    int PocetPrvku() const;
    // Index of the current item among the children; 0 when none is current.
    int PoradiAktualnihoPrvku() const;

    const QString& PredponaName() const { return m_predponaName; }
    void SetPredponaName(const QString& prefix) { m_predponaName = prefix; }
    const QString& JmenoStarehoPrvku() const { return m_jmenoStarehoPrvku; }
    void SetJmenoStarehoPrvku(const QString& key) { m_jmenoStarehoPrvku = key; }
    bool NechavatJenJedenPrvek() const { return m_nechavatJenJedenPrvek; }
    void SetNechavatJenJedenPrvek(bool on) { m_nechavatJenJedenPrvek = on; }
    TClass ItemClass() const { return m_itemClass; }
    void SetItemClass(TClass cls) { m_itemClass = cls; }

    // The full name of the item of a key.
    QString ItemName(const QString& key) const;

    // Sets the property (from text) on every child.
    void SetPropertyOfAll(const QString& propertyName, const QString& value);
    // Splits text at each separator; the i-th part becomes the property of the i-th child,
    // children of ItemClass being created and added as needed. For the property "NAME" each part
    // gets the prefix and a blank in front. An empty rest after the last separator is no part.
    void SetPropertyFromList(const QString& propertyName, const QString& text, const QString& separator);
    // SetPropertyFromList with the property "NAME".
    void SetNamesFromList(const QString& text, const QString& separator);

protected:
    // NovyNeboAktualniPrvek with one look-up, for a set whose NovyPrvek and
    // SetJmenoAktualnihoPrvku both take the key as rewritten by the set: the key given is that one.
    void selectOrCreate(const QString& key);
    // Concrete sets call this in their constructor.
    void setItems(TClass itemClass, const QString& prefix)
    {
        m_itemClass = itemClass;
        m_predponaName = prefix;
    }

private:
    // A new ItemClass object (nil when the class cannot be created).
    Owned<TElement> newItem() const;
    // NovyPrvek once the key is known to name no item.
    void createItem(const QString& key);
    bool isChild(const TElement* element) const;
    // Add; key, when given, is the key the element's name was made of.
    void addItem(TElement* element, const QString* key);
    // FindElementByName of the item name of the key, without building that name.
    TElement* findItem(const QString& key) const;
    // The key of the element as JmenoAktualnihoPrvku gives it for a current element; likely is
    // returned (sharing its text) when the key equals it.
    QString keyOf(const TElement* current, const QString& likely) const;

    WeakRef<TElement> m_aktualniPrvek;
    QString m_predponaName;
    QString m_jmenoStarehoPrvku;
    bool m_nechavatJenJedenPrvek = false;
    TClass m_itemClass = nullptr;
};
