// INI tool and item lists of the interchange standard read from INI sections.
#include "forest/base/IniLists.h"

#include "framework/core/ClassRegistry.h"
#include "platform/files/Files.h"
#include "platform/ini/IniFile.h"
#include "platform/text/Case.h"
#include "platform/ui/Services.h"

#include <QFileInfo>

// --- TIniFileTool -----------------------------------------------------------------------------

TClass TIniFileTool::StaticClass()
{
    using T = TIniFileTool;
    static const TClassInfo info = describeClass<T, TTool>("TIniFileTool", [](PropertyTable<T>& t) {
        t.string("FileName", &T::FileName, &T::SetFileName)
            .string("Section", &T::Section, &T::SetSection)
            .string("Ident", &T::Ident, &T::SetIdent)
            .string("DefaultValue", &T::DefaultValue, &T::SetDefaultValue)
            .string("Value", &T::Value, &T::SetValue)
            .object<TStringListElement>("IdentsElement", [](T& tool) { return tool.keepLast(tool.MakeIdentsElement()); },
                                        nullptr)
            .object<TStringListElement>("ValuesElement", [](T& tool) { return tool.keepLast(tool.MakeValuesElement()); },
                                        nullptr);
    });
    return &info;
}

void TIniFileTool::SetFileName(const QString& name)
{
    if (files::fileExists(name)) {
        m_fileName = name;
        return;
    }
    const bool hasDirectory = name.contains(QLatin1Char('\\')) || name.contains(QLatin1Char('/')) ||
                              name.contains(QLatin1Char(':'));
    if (!hasDirectory)
        m_fileName = files::configDirectory() + QLatin1Char('/') + name;
}

bool TIniFileTool::fileExists() const
{
    return !m_fileName.isEmpty() && files::fileExists(m_fileName);
}

QString TIniFileTool::iniPath() const
{
    // IniFile looks for a bare name in the settings directory; a name found here is relative to
    // the current directory.
    return QFileInfo(files::resolvePath(m_fileName)).absoluteFilePath();
}

QString TIniFileTool::Value() const
{
    if (!fileExists())
        return {};
    return IniFile(iniPath()).readString(m_section, m_ident, m_defaultValue);
}

void TIniFileTool::SetValue(const QString& value)
{
    if (fileExists())
        IniFile(iniPath()).writeString(m_section, m_ident, value);
}

Owned<TStringListElement> TIniFileTool::MakeIdentsElement() const
{
    if (!fileExists())
        return nullptr;
    const QStringList keys = IniFile(iniPath()).readSection(m_section);
    if (keys.isEmpty())
        return nullptr;
    return TStringListElement::CreateFromStrings(keys);
}

Owned<TStringListElement> TIniFileTool::MakeValuesElement() const
{
    if (!fileExists())
        return nullptr;
    const IniFile ini(iniPath());
    const QStringList keys = ini.readSection(m_section);
    if (keys.isEmpty())
        return nullptr;
    QStringList values;
    for (const QString& key : keys)
        values.append(ini.readString(m_section, key, QString()));
    return TStringListElement::CreateFromStrings(values);
}

TStringListElement* TIniFileTool::keepLast(Owned<TStringListElement> list)
{
    if (m_lastList && m_lastList->HolderCount() > 0)
        m_lastList.release();
    m_lastList = std::move(list);
    return m_lastList.get();
}

// --- TLesniStringListElement ------------------------------------------------------------------

TClass TLesniStringListElement::StaticClass()
{
    using L = TLesniStringListElement;
    static const TClassInfo info = describeClass<L, TOwnerEntity>("TLesniStringListElement", [](PropertyTable<L>& t) {
        t.object<TStringListElement>("StringListElement", &L::StringListElement, &L::SetStringListElement)
            .string("AktualniPolozka", &L::AktualniPolozka, &L::SetAktualniPolozka)
            .boolean("AktualniJeVSeznamu", &L::AktualniJeVSeznamu, nullptr)
            .boolean("AktualniJeVSeznamuAMaAno", &L::AktualniJeVSeznamuAMaAno, nullptr);
    });
    return &info;
}

void TLesniStringListElement::SetStringListElement(TStringListElement* list)
{
    if (list == m_list.get())
        return;
    m_list = list;
    Add(list);
}

bool TLesniStringListElement::AktualniJeVSeznamu() const
{
    const TStringListElement* list = m_list.get();
    return list && !m_aktualniPolozka.isEmpty() && list->FindElementByName(m_aktualniPolozka);
}

bool TLesniStringListElement::AktualniJeVSeznamuAMaAno()
{
    m_aktualniPolozka = txt::upperAscii(m_aktualniPolozka);
    const TStringListElement* list = m_list.get();
    if (!list || m_aktualniPolozka.isEmpty())
        return false;
    for (int i = 0; i < list->Count(); ++i)
        if (list->UpperNameAt(i) == m_aktualniPolozka && list->ValueAt(i) == QLatin1String("ANO"))
            return true;
    return false;
}

// --- LoadIniSectionList -----------------------------------------------------------------------

void LoadIniSectionList(Owned<TLesniStringListElement>& list, const QString& fileName, const QString& section)
{
    list = Create<TLesniStringListElement>();
    Owned<TIniFileTool> tool = Create<TIniFileTool>();
    tool->SetFileName(fileName);
    tool->SetSection(section);
    if (Owned<TStringListElement> values = tool->MakeValuesElement())
        list->SetStringListElement(values.release());
    if (!list->StringListElement())
        ui::services().showMessage(QStringLiteral("Chybí soubor \"") + fileName + QStringLiteral("\" nebo v něm sekce \"") +
                                   section + QStringLiteral("\"."));
}

void RegisterLesrecurUnit()
{
    RegisterUnitClasses({TIniFileTool::StaticClass(), TLesniStringListElement::StaticClass()});
}
