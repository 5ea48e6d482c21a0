// INI tool and item lists of the interchange standard read from INI sections.
#pragma once

#include "framework/tools/Tools.h"
#include "framework/values/TypedValues.h"

#include <QString>

// One INI file, section and key as published properties, so that models and conditions can
// read and write settings. The file is opened for each read or write; a missing file reads as
// empty and is never created.
class TIniFileTool : public TTool
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    const QString& FileName() const { return m_fileName; }
    // An existing file is taken as given; a missing one named without a directory is looked for
    // in the settings directory; otherwise FileName stays as it was.
    void SetFileName(const QString& name);
    const QString& Section() const { return m_section; }
    void SetSection(const QString& section) { m_section = section; }
    const QString& Ident() const { return m_ident; }
    void SetIdent(const QString& ident) { m_ident = ident; }
    const QString& DefaultValue() const { return m_defaultValue; }
    void SetDefaultValue(const QString& value) { m_defaultValue = value; }

    // The key's value (DefaultValue when the key is missing); empty when the file is missing.
    QString Value() const;
    // Written only when the file exists.
    void SetValue(const QString& value);

    // A new list of the section's key names in file order; nil when the file is missing or the
    // section has no keys. The caller owns it.
    Owned<TStringListElement> MakeIdentsElement() const;
    // As MakeIdentsElement with each key's value as one line ("name=value" lines become named items).
    Owned<TStringListElement> MakeValuesElement() const;

private:
    bool fileExists() const;
    // The path IniFile opens: a relative name that exists is taken from the current directory.
    QString iniPath() const;
    // The published reads keep the list they made until the next read or the tool's end,
    // unless a container has taken it meanwhile.
    TStringListElement* keepLast(Owned<TStringListElement> list);

    QString m_fileName;
    QString m_section;
    QString m_ident;
    QString m_defaultValue;
    Owned<TStringListElement> m_lastList;
};

// A list of items (TLesniStringListElement) read from an INI section, asked whether an item is
// listed and whether it is switched on ("ANO"). It owns its list; without one it answers false.
class TLesniStringListElement : public TOwnerEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TStringListElement* StringListElement() const { return m_list.get(); }
    // Stores the reference and adds the list as a child.
    void SetStringListElement(TStringListElement* list);
    const QString& AktualniPolozka() const { return m_aktualniPolozka; }
    void SetAktualniPolozka(const QString& item) { m_aktualniPolozka = item; }

    // The list holds an item named AktualniPolozka (letter case ignored).
    bool AktualniJeVSeznamu() const;
    // AktualniPolozka is upper-cased (and keeps that form); then whether an item of that name
    // has the value "ANO" exactly.
    bool AktualniJeVSeznamuAMaAno();

private:
    WeakRef<TStringListElement> m_list;
    QString m_aktualniPolozka;
};

// A new list element filled from the section's values into `list`. When the file or the
// section is missing, the message "Chybí soubor "<file>" nebo v něm sekce "<section>"." is
// shown and the element has no list.
void LoadIniSectionList(Owned<TLesniStringListElement>& list, const QString& fileName, const QString& section);

// Registers the classes of this unit (TIniFileTool, TLesniStringListElement, TSumaPodleProperty).
void RegisterLesrecurUnit();
