// Typed value elements (Boolean, character, byte, float, string, integer, pointer) and value lists.
#include "framework/values/TypedValues.h"

#include "framework/core/ClassRegistry.h"
#include "framework/core/TextRoutines.h"
#include "platform/Exceptions.h"
#include "platform/files/Files.h"
#include "platform/text/Case.h"
#include "platform/text/Cp1250.h"
#include "platform/text/Numbers.h"

#include <QFile>
#include <QSaveFile>

#include <limits>
#include <optional>

namespace {

// A copy of src's class with value assigned, named as src.
template<class T>
Owned<TTypeElement> duplicateOf(const T& src, const std::function<void(T&)>& assign)
{
    Owned<TTypeElement> copy = CreateOfClass<TTypeElement>(src.ClassType());
    if (auto* typed = dynamic_cast<T*>(copy.get()))
        assign(*typed);
    if (copy)
        copy->SetName(src.GetName());
    return copy;
}

// Truncation toward zero, or nothing when it falls outside [lo, hi] or the value is no number.
std::optional<qint64> truncated(double value, qint64 lo, qint64 hi)
{
    try {
        const qint64 whole = txt::trunc64(value);
        if (whole >= lo && whole <= hi)
            return whole;
    } catch (const Exception&) {
    }
    return std::nullopt;
}

QStringList readLines(const QString& fileName)
{
    QFile file(files::resolvePath(fileName));
    if (!file.open(QIODevice::ReadOnly))
        throw EFileError(QStringLiteral("Cannot open file %1").arg(fileName));
    QString text = Cp1250::decode(file.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();   // the final line break ends the last line
    return lines;
}

// The published properties of every value class.
void describeTypeElement(PropertyTable<TTypeElement>& t)
{
    const QStringList typeNames = {"_Boolean", "_Char", "_Byte", "_Float", "_String", "_Integer", "_Pointer", "_Other"};
    t.enumeration("Typ", "TType", typeNames, [](TTypeElement& e) { return int(e.Typ()); }, nullptr, false);
    t.string("TypeAsString", &TTypeElement::TypeAsString, nullptr, false);
    t.byte("AsByte", &TTypeElement::GetAsByte, &TTypeElement::SetAsByte, false);
    t.integer("AsInteger", &TTypeElement::GetAsInteger, &TTypeElement::SetAsInteger, false);
    t.character("AsChar", &TTypeElement::GetAsChar, &TTypeElement::SetAsChar, false);
    t.string("AsString", &TTypeElement::GetAsString, &TTypeElement::SetAsString, false);
    t.floating("AsFloat", "Double", &TTypeElement::GetAsFloat, &TTypeElement::SetAsFloat, false);
    t.boolean("AsBoolean", &TTypeElement::GetAsBoolean, &TTypeElement::SetAsBoolean, false);
    t.string("Text", &TTypeElement::GetAsString, &TTypeElement::SetAsString, false);
    t.string("UpperName", &TTypeElement::UpperName, nullptr, false);
}

} // namespace

// --- TStrings --------------------------------------------------------------------------------------

TClass TStrings::StaticClass()
{
    static const TClassInfo info = describeClass<TStrings, TPersistent>("TStrings");
    return &info;
}

// --- TTypeElement ----------------------------------------------------------------------------------

TClass TTypeElement::StaticClass()
{
    static const TClassInfo info = describeClass<TTypeElement, TOwnerElement>("TTypeElement", describeTypeElement);
    return &info;
}

QString TTypeElement::UpperName() const
{
    return txt::upperAscii(GetName());
}

// --- TBooleanElement -------------------------------------------------------------------------------

TClass TBooleanElement::StaticClass()
{
    static const TClassInfo info =
        describeClass<TBooleanElement, TTypeElement>("TBooleanElement", [](PropertyTable<TBooleanElement>& t) {
            t.boolean("Value", &TBooleanElement::GetAsBoolean, &TBooleanElement::SetAsBoolean);
        });
    return &info;
}

Owned<TBooleanElement> TBooleanElement::CreateValue(bool value)
{
    auto e = Create<TBooleanElement>();
    e->m_value = value;
    return e;
}

QString TBooleanElement::GetAsString() const
{
    return m_value ? QStringLiteral("true") : QStringLiteral("false");
}

void TBooleanElement::SetAsString(const QString& text)
{
    if (text == QLatin1String("true"))
        m_value = true;
    else if (text == QLatin1String("false"))
        m_value = false;
}

Owned<TTypeElement> TBooleanElement::Duplicate() const
{
    return duplicateOf<TBooleanElement>(*this, [this](TBooleanElement& c) { c.m_value = m_value; });
}

// --- TCharElement ----------------------------------------------------------------------------------

TClass TCharElement::StaticClass()
{
    static const TClassInfo info =
        describeClass<TCharElement, TTypeElement>("TCharElement", [](PropertyTable<TCharElement>& t) {
            t.character("Value", &TCharElement::GetAsChar, &TCharElement::SetAsChar);
        });
    return &info;
}

Owned<TCharElement> TCharElement::CreateValue(QChar value)
{
    auto e = Create<TCharElement>();
    e->m_value = value;
    return e;
}

quint8 TCharElement::GetAsByte() const
{
    return quint8(charOrdinal(m_value));
}

void TCharElement::SetAsByte(quint8 value)
{
    m_value = charFromOrdinal(value);
}

qint32 TCharElement::GetAsInteger() const
{
    return charOrdinal(m_value);
}

void TCharElement::SetAsInteger(qint32 value)
{
    if (value >= 1 && value <= 255)
        m_value = charFromOrdinal(value);
}

void TCharElement::SetAsString(const QString& text)
{
    if (!text.isEmpty())
        m_value = text.front();
}

Owned<TTypeElement> TCharElement::Duplicate() const
{
    return duplicateOf<TCharElement>(*this, [this](TCharElement& c) { c.m_value = m_value; });
}

// --- TByteElement ----------------------------------------------------------------------------------

TClass TByteElement::StaticClass()
{
    static const TClassInfo info =
        describeClass<TByteElement, TTypeElement>("TByteElement", [](PropertyTable<TByteElement>& t) {
            t.byte("Value", &TByteElement::GetAsByte, &TByteElement::SetAsByte);
        });
    return &info;
}

Owned<TByteElement> TByteElement::CreateValue(quint8 value)
{
    auto e = Create<TByteElement>();
    e->m_value = value;
    return e;
}

void TByteElement::SetAsInteger(qint32 value)
{
    if (value >= 0 && value <= 255)
        m_value = quint8(value);
}

QChar TByteElement::GetAsChar() const
{
    return charFromOrdinal(m_value);
}

void TByteElement::SetAsChar(QChar value)
{
    m_value = quint8(charOrdinal(value));
}

QString TByteElement::GetAsString() const
{
    return QString::number(m_value);
}

void TByteElement::SetAsString(const QString& text)
{
    if (const auto value = WholeNumber(text))
        m_value = quint8(quint32(*value) & 0xFF);
}

void TByteElement::SetAsFloat(double value)
{
    if (const auto whole = truncated(value, 0, 255))
        m_value = quint8(*whole);
}

Owned<TTypeElement> TByteElement::Duplicate() const
{
    return duplicateOf<TByteElement>(*this, [this](TByteElement& c) { c.m_value = m_value; });
}

// --- TFloatElement ---------------------------------------------------------------------------------

TClass TFloatElement::StaticClass()
{
    static const TClassInfo info =
        describeClass<TFloatElement, TTypeElement>("TFloatElement", [](PropertyTable<TFloatElement>& t) {
            t.floating("Value", "Double", &TFloatElement::GetAsFloat, &TFloatElement::SetAsFloat);
        });
    return &info;
}

Owned<TFloatElement> TFloatElement::CreateValue(double value)
{
    auto e = Create<TFloatElement>();
    e->m_value = value;
    return e;
}

qint32 TFloatElement::GetAsInteger() const
{
    const auto whole = truncated(m_value, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max());
    return whole ? qint32(*whole) : 0;
}

QString TFloatElement::GetAsString() const
{
    return txt::pascalStr(m_value);
}

void TFloatElement::SetAsString(const QString& text)
{
    double value = 0;
    if (txt::pascalVal(text, value) == 0)
        m_value = value;
}

Owned<TTypeElement> TFloatElement::Duplicate() const
{
    return duplicateOf<TFloatElement>(*this, [this](TFloatElement& c) { c.m_value = m_value; });
}

// --- TStringElement --------------------------------------------------------------------------------

TClass TStringElement::StaticClass()
{
    static const TClassInfo info =
        describeClass<TStringElement, TTypeElement>("TStringElement", [](PropertyTable<TStringElement>& t) {
            t.string("Value", &TStringElement::GetAsString, &TStringElement::SetAsString);
            t.string("NameIsValue", &TStringElement::NameIsValue, &TStringElement::SetNameIsValue, false);
        });
    return &info;
}

Owned<TStringElement> TStringElement::CreateValue(const QString& value)
{
    auto e = Create<TStringElement>();
    e->m_value = value;
    return e;
}

Owned<TStringElement> TStringElement::CreateNamed(const QString& name, const QString& value)
{
    auto e = CreateValue(value);
    e->SetName(name);
    return e;
}

Owned<TStringElement> TStringElement::CreateNameIsValue(const QString& text)
{
    auto e = Create<TStringElement>();
    e->SetNameIsValue(text);
    return e;
}

bool TStringElement::GetAsBoolean() const
{
    if (TryTextToFloat(m_value))
        return TextToFloatDef(m_value) != 0.0;
    const QString upper = txt::upperLetters(m_value);
    return upper == QLatin1String("TRUE") || upper == QLatin1String("ANO");
}

void TStringElement::SetAsBoolean(bool value)
{
    m_value = BoolToText(value);
}

qint32 TStringElement::GetAsInteger() const
{
    return WholeNumber(m_value).value_or(0);
}

void TStringElement::SetAsInteger(qint32 value)
{
    m_value = QString::number(value);
}

double TStringElement::GetAsFloat() const
{
    return TextToFloatDef(m_value);
}

void TStringElement::SetAsFloat(double value)
{
    m_value = txt::floatToStr(value);
}

Owned<TTypeElement> TStringElement::Duplicate() const
{
    return duplicateOf<TStringElement>(*this, [this](TStringElement& c) { c.m_value = m_value; });
}

qint32 TStringElement::TryGetInteger(bool& ok) const
{
    ok = WholeNumber(m_value).has_value();
    return LeadingInteger(m_value);
}

QString TStringElement::NameIsValue() const
{
    return GetName() + QLatin1Char('=') + m_value;
}

void TStringElement::SetNameIsValue(const QString& text)
{
    if (text.isEmpty())
        return;
    QString name;
    QString value;
    SplitNameValue(text, name, value);
    if (name.isEmpty())
        return;
    if (value.isEmpty()) {
        m_value = name;
        return;
    }
    SetName(name);
    m_value = value;
}

TClass TPathElement::StaticClass()
{
    static const TClassInfo info = describeClass<TPathElement, TStringElement>("TPathElement");
    return &info;
}

// --- TIntegerElement -------------------------------------------------------------------------------

TClass TIntegerElement::StaticClass()
{
    static const TClassInfo info =
        describeClass<TIntegerElement, TTypeElement>("TIntegerElement", [](PropertyTable<TIntegerElement>& t) {
            t.integer("Value", &TIntegerElement::GetAsInteger, &TIntegerElement::SetAsInteger);
        });
    return &info;
}

Owned<TIntegerElement> TIntegerElement::CreateValue(qint32 value)
{
    auto e = Create<TIntegerElement>();
    e->m_value = value;
    return e;
}

quint8 TIntegerElement::GetAsByte() const
{
    return m_value >= 0 && m_value <= 255 ? quint8(m_value) : 0;
}

QString TIntegerElement::GetAsString() const
{
    return QString::number(m_value);
}

void TIntegerElement::SetAsString(const QString& text)
{
    if (const auto value = WholeNumber(text))
        m_value = *value;
}

void TIntegerElement::SetAsFloat(double value)
{
    if (const auto whole = truncated(value, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()))
        m_value = qint32(*whole);
}

TPersistent* TIntegerElement::GetAsPointer() const
{
    return ObjectFromHandle(m_value);
}

void TIntegerElement::SetAsPointer(TPersistent* object)
{
    m_value = ObjectHandle(object);
}

Owned<TTypeElement> TIntegerElement::Duplicate() const
{
    return duplicateOf<TIntegerElement>(*this, [this](TIntegerElement& c) { c.m_value = m_value; });
}

// --- TPointerElement -------------------------------------------------------------------------------

TClass TPointerElement::StaticClass()
{
    static const TClassInfo info = describeClass<TPointerElement, TTypeElement>("TPointerElement");
    return &info;
}

Owned<TPointerElement> TPointerElement::CreateValue(TPersistent* object)
{
    auto e = Create<TPointerElement>();
    e->m_handle = ObjectHandle(object);
    return e;
}

TPersistent* TPointerElement::GetAsPointer() const
{
    return ObjectFromHandle(m_handle);
}

void TPointerElement::SetAsPointer(TPersistent* object)
{
    m_handle = ObjectHandle(object);
}

QString TPointerElement::GetAsString() const
{
    return QString::number(m_handle);
}

void TPointerElement::SetAsString(const QString& text)
{
    m_handle = LeadingInteger(text);
}

Owned<TTypeElement> TPointerElement::Duplicate() const
{
    return duplicateOf<TPointerElement>(*this, [this](TPointerElement& c) { c.m_handle = m_handle; });
}

// --- TIntegerListElement ---------------------------------------------------------------------------

TClass TIntegerListElement::StaticClass()
{
    static const TClassInfo info = describeClass<TIntegerListElement, TOwnerEntity>("TIntegerListElement");
    return &info;
}

// --- TStringListElement ----------------------------------------------------------------------------

TClass TStringListElement::StaticClass()
{
    static const TClassInfo info = describeClass<TStringListElement, TOwnerEntity>(
        "TStringListElement", [](PropertyTable<TStringListElement>& t) {
            t.string("NextValue", nullptr, &TStringListElement::NextValue);
            t.string("NextName", nullptr, &TStringListElement::NextName);
            t.string("NextNameIsValue", nullptr, &TStringListElement::NextNameIsValue);
            t.object<TStrings>("NextStringList", nullptr, [](TStringListElement& e, TStrings* lines) {
                if (lines)
                    e.NextStringList(lines->Lines);
            });
            t.string("LoadFromFile", nullptr, &TStringListElement::LoadFromFile);
            t.string("SaveToFile", nullptr, &TStringListElement::SaveToFile);
        });
    return &info;
}

Owned<TStringListElement> TStringListElement::CreateFromStrings(const QStringList& lines)
{
    auto e = Create<TStringListElement>();
    e->NextStringList(lines);
    return e;
}

QString TStringListElement::ValueAt(int index) const
{
    const auto* item = dynamic_cast<const TTypeElement*>(Items(index));
    return item ? item->GetAsString() : QString();
}

void TStringListElement::SetValueAt(int index, const QString& text)
{
    if (auto* item = dynamic_cast<TTypeElement*>(Items(index)))
        item->SetAsString(text);
}

QString TStringListElement::NameAt(int index) const
{
    const TElement* item = Items(index);
    return item ? item->GetName() : QString();
}

QString TStringListElement::UpperNameAt(int index) const
{
    return txt::upperAscii(NameAt(index));
}

TStringElement* TStringListElement::FindByName(const QString& name) const
{
    const QString upper = txt::upperAscii(name);
    for (int i = 0; i < Count(); ++i) {
        auto* item = dynamic_cast<TStringElement*>(Items(i));
        if (item && item->UpperName() == upper)
            return item;
    }
    return nullptr;
}

QString TStringListElement::ValueByName(const QString& name) const
{
    const TStringElement* item = FindByName(name);
    return item ? item->GetAsString() : QString();
}

qint32 TStringListElement::IntegerByName(const QString& name) const
{
    const TStringElement* item = FindByName(name);
    bool ok = false;
    return item ? item->TryGetInteger(ok) : 0;
}

void TStringListElement::SetValueByName(const QString& name, const QString& text)
{
    TStringElement* item = FindByName(name);
    if (!item)
        item = AddNameValue(name, QString());
    item->SetAsString(text);
}

TStringElement* TStringListElement::AddNameValue(const QString& name, const QString& value)
{
    TStringElement* item = TStringElement::CreateNamed(name, value).release();
    Add(item);
    return item;
}

void TStringListElement::NextValue(const QString& text)
{
    Add(TStringElement::CreateValue(text).release());
}

void TStringListElement::NextName(const QString& name)
{
    AddNameValue(name, QString());
}

void TStringListElement::NextNameIsValue(const QString& text)
{
    if (text.contains(QLatin1Char('=')))
        Add(TStringElement::CreateNameIsValue(text).release());
}

void TStringListElement::NextStringList(const QStringList& lines)
{
    for (const QString& line : lines) {
        if (line.isEmpty())
            continue;
        if (line.contains(QLatin1Char('=')))
            NextNameIsValue(line);
        else
            NextName(line);
    }
}

void TStringListElement::LoadFromFile(const QString& fileName)
{
    if (files::fileExists(fileName))
        NextStringList(readLines(fileName));
}

void TStringListElement::SaveToFile(const QString& fileName) const
{
    QString text;
    for (int i = 0; i < Count(); ++i)
        text += NameAt(i) + QLatin1Char('=') + ValueAt(i) + QStringLiteral("\r\n");
    QSaveFile file(files::resolvePath(fileName));
    if (!file.open(QIODevice::WriteOnly) || file.write(Cp1250::encode(text)) < 0 || !file.commit())
        throw EFileError(QStringLiteral("Cannot create file %1").arg(fileName));
}

QString TStringListElement::GetPropAsString(const QString& name)
{
    const QString value = TOwnerEntity::GetPropAsString(name);
    return value.isEmpty() ? ValueByName(name) : value;
}

void TStringListElement::SetPropAsString(const QString& name, const QString& value)
{
    if (HasProperty(name))
        TOwnerEntity::SetPropAsString(name, value);
    else
        SetValueByName(name, value);
}

// --- TPropertyList ---------------------------------------------------------------------------------

TClass TPropertyList::StaticClass()
{
    static const TClassInfo info =
        describeClass<TPropertyList, TStringListElement>("TPropertyList", [](PropertyTable<TPropertyList>& t) {
            t.object<TElement>("Element", nullptr, &TPropertyList::SetElement);
            t.string("Catenation", &TPropertyList::Catenation, nullptr);
            t.string("Delimiter", &TPropertyList::Delimiter, &TPropertyList::SetDelimiter);
        });
    return &info;
}

// A negated item whose property text is empty stays empty (the original raised a range error).
void TPropertyList::SetElement(TElement* element)
{
    if (!element || IsEmpty())
        return;
    for (int i = 0; i < Count(); ++i) {
        QString name = NameAt(i);
        const bool negated = name.startsWith(QLatin1Char('-'));
        if (negated)
            name.remove(0, 1);
        QString value = element->GetPropAsString(name);
        if (negated && !value.isEmpty()) {
            if (value.startsWith(QLatin1Char('-')))
                value.remove(0, 1);
            else
                value.prepend(QLatin1Char('-'));
        }
        SetValueAt(i, value);
    }
}

QString TPropertyList::Catenation() const
{
    QStringList values;
    for (int i = 0; i < Count(); ++i)
        values.append(ValueAt(i));
    return values.join(m_delimiter);
}

void RegisterE_typeUnit()
{
    RegisterUnitClasses({TTypeElement::StaticClass(), TBooleanElement::StaticClass(), TCharElement::StaticClass(),
                         TByteElement::StaticClass(), TFloatElement::StaticClass(),
                         TIntegerListElement::StaticClass(), TStringElement::StaticClass(),
                         TIntegerElement::StaticClass(), TPointerElement::StaticClass(),
                         TStringListElement::StaticClass(), TPathElement::StaticClass(),
                         TPropertyList::StaticClass()});
}
