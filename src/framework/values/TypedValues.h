// Typed value elements (Boolean, character, byte, float, string, integer, pointer) and value lists.
#pragma once

#include "framework/core/Elements.h"

#include <QChar>
#include <QString>
#include <QStringList>

// The kinds of value a typed element holds (codes 0..7).
enum class TType : quint8 { _Boolean, _Char, _Byte, _Float, _String, _Integer, _Pointer, _Other };

// The class library's string list as an object that a reference property can carry.
class TStrings : public TPersistent
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    QStringList Lines;
};

// A single value as an element. Each value class converts its value to every representation;
// conversions it does not offer answer 0, "", #0, false or nil and ignore what is set. Values
// that fall outside a target's range are ignored by setters and answered as 0 by getters.
class TTypeElement : public TOwnerElement
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    virtual TType Typ() const { return TType::_Other; }
    virtual QString TypeAsString() const { return QString(); }
    virtual quint8 GetAsByte() const { return 0; }
    virtual void SetAsByte(quint8) {}
    virtual qint32 GetAsInteger() const { return 0; }
    virtual void SetAsInteger(qint32) {}
    virtual QChar GetAsChar() const { return QChar(0); }
    virtual void SetAsChar(QChar) {}
    virtual QString GetAsString() const { return QString(); }
    virtual void SetAsString(const QString&) {}
    virtual double GetAsFloat() const { return 0.0; }
    virtual void SetAsFloat(double) {}
    virtual bool GetAsBoolean() const { return false; }
    virtual void SetAsBoolean(bool) {}
    // References travel as object handles (core/Properties.h): a dead or unknown one reads nil.
    virtual TPersistent* GetAsPointer() const { return nullptr; }
    virtual void SetAsPointer(TPersistent*) {}
    // GetName with ASCII letters upper-cased.
    virtual QString UpperName() const;
    // A new element of the same class with the same value, named GetName(); nil here.
    // The caller owns it.
    virtual Owned<TTypeElement> Duplicate() const { return nullptr; }
};

class TBooleanElement : public TTypeElement
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
    static Owned<TBooleanElement> CreateValue(bool value);

    TType Typ() const override { return TType::_Boolean; }
    QString TypeAsString() const override { return QStringLiteral("boolean"); }
    bool GetAsBoolean() const override { return m_value; }
    void SetAsBoolean(bool value) override { m_value = value; }
    quint8 GetAsByte() const override { return m_value ? 1 : 0; }
    void SetAsByte(quint8 value) override { m_value = value != 0; }
    // "true"/"false"; only these exact texts are accepted.
    QString GetAsString() const override;
    void SetAsString(const QString& text) override;
    Owned<TTypeElement> Duplicate() const override;

private:
    bool m_value = false;
};

// An 8-bit character of windows-1250.
class TCharElement : public TTypeElement
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
    static Owned<TCharElement> CreateValue(QChar value);

    TType Typ() const override { return TType::_Char; }
    QString TypeAsString() const override { return QStringLiteral("char"); }
    QChar GetAsChar() const override { return m_value; }
    void SetAsChar(QChar value) override { m_value = value; }
    quint8 GetAsByte() const override;
    void SetAsByte(quint8 value) override;
    qint32 GetAsInteger() const override;
    // Codes 1..255 only.
    void SetAsInteger(qint32 value) override;
    QString GetAsString() const override { return QString(m_value); }
    // The first character; an empty text is ignored.
    void SetAsString(const QString& text) override;
    Owned<TTypeElement> Duplicate() const override;

private:
    QChar m_value = QChar(0);
};

class TByteElement : public TTypeElement
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
    static Owned<TByteElement> CreateValue(quint8 value);

    TType Typ() const override { return TType::_Byte; }
    QString TypeAsString() const override { return QStringLiteral("byte"); }
    quint8 GetAsByte() const override { return m_value; }
    void SetAsByte(quint8 value) override { m_value = value; }
    bool GetAsBoolean() const override { return m_value != 0; }
    void SetAsBoolean(bool value) override { m_value = value ? 1 : 0; }
    qint32 GetAsInteger() const override { return m_value; }
    void SetAsInteger(qint32 value) override;
    QChar GetAsChar() const override;
    void SetAsChar(QChar value) override;
    QString GetAsString() const override;
    // A whole-number text, taken modulo 256; other texts are ignored.
    void SetAsString(const QString& text) override;
    double GetAsFloat() const override { return m_value; }
    void SetAsFloat(double value) override;
    Owned<TTypeElement> Duplicate() const override;

private:
    quint8 m_value = 0;
};

class TFloatElement : public TTypeElement
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
    static Owned<TFloatElement> CreateValue(double value);

    TType Typ() const override { return TType::_Float; }
    QString TypeAsString() const override { return QStringLiteral("float"); }
    double GetAsFloat() const override { return m_value; }
    void SetAsFloat(double value) override { m_value = value; }
    // Truncated toward zero; 0 outside the 32-bit range.
    qint32 GetAsInteger() const override;
    void SetAsInteger(qint32 value) override { m_value = value; }
    // The run time's default float text (" 1.25000000000000E+0001"); set reads "." texts only.
    QString GetAsString() const override;
    void SetAsString(const QString& text) override;
    Owned<TTypeElement> Duplicate() const override;

private:
    double m_value = 0.0;
};

class TStringElement : public TTypeElement
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
    static Owned<TStringElement> CreateValue(const QString& value);
    static Owned<TStringElement> CreateNamed(const QString& name, const QString& value);
    static Owned<TStringElement> CreateNameIsValue(const QString& text);

    TType Typ() const override { return TType::_String; }
    QString TypeAsString() const override { return QStringLiteral("string"); }
    QString GetAsString() const override { return m_value; }
    // The text itself, without a copy.
    const QString& StringValue() const { return m_value; }
    void SetAsString(const QString& text) override { m_value = text; }
    // A number (either separator) other than 0, or the text "TRUE" or "ANO" in any case.
    bool GetAsBoolean() const override;
    void SetAsBoolean(bool value) override;
    // 0 when the text is not a whole number.
    qint32 GetAsInteger() const override;
    void SetAsInteger(qint32 value) override;
    double GetAsFloat() const override;
    void SetAsFloat(double value) override;
    Owned<TTypeElement> Duplicate() const override;

    // The leading whole number of the text; ok tells whether the whole text was one.
    qint32 TryGetInteger(bool& ok) const;
    // GetName + "=" + value.
    QString NameIsValue() const;
    // "name=value" sets both; "value" or "value=" sets the value only; "=..." changes nothing.
    void SetNameIsValue(const QString& text);

private:
    QString m_value;
};

// A string that holds a path.
class TPathElement : public TStringElement
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

class TIntegerElement : public TTypeElement
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
    static Owned<TIntegerElement> CreateValue(qint32 value);

    TType Typ() const override { return TType::_Integer; }
    QString TypeAsString() const override { return QStringLiteral("integer"); }
    qint32 GetAsInteger() const override { return m_value; }
    void SetAsInteger(qint32 value) override { m_value = value; }
    bool GetAsBoolean() const override { return m_value != 0; }
    void SetAsBoolean(bool value) override { m_value = value ? 1 : 0; }
    // The value when it lies in 0..255, else 0.
    quint8 GetAsByte() const override;
    void SetAsByte(quint8 value) override { m_value = value; }
    QString GetAsString() const override;
    // A whole-number text; other texts are ignored.
    void SetAsString(const QString& text) override;
    double GetAsFloat() const override { return m_value; }
    // Truncated toward zero; values outside the 32-bit range are ignored.
    void SetAsFloat(double value) override;
    // The value as an object handle.
    TPersistent* GetAsPointer() const override;
    void SetAsPointer(TPersistent* object) override;
    Owned<TTypeElement> Duplicate() const override;

private:
    qint32 m_value = 0;
};

// A reference, kept as its object handle: it reads nil once the object is freed.
class TPointerElement : public TTypeElement
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
    static Owned<TPointerElement> CreateValue(TPersistent* object);

    TType Typ() const override { return TType::_Pointer; }
    QString TypeAsString() const override { return QStringLiteral("pointer"); }
    TPersistent* GetAsPointer() const override;
    void SetAsPointer(TPersistent* object) override;
    qint32 GetAsInteger() const override { return m_handle; }
    void SetAsInteger(qint32 value) override { m_handle = value; }
    QString GetAsString() const override;
    // The leading whole number of the text.
    void SetAsString(const QString& text) override;
    Owned<TTypeElement> Duplicate() const override;

private:
    qint32 m_handle = 0;
};

class TIntegerListElement : public TOwnerEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

// Named string values (TStringElement children) that also answer as properties of the list.
// Names compare with ASCII letters upper-cased.
class TStringListElement : public TOwnerEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
    // Plain construction, then NextStringList.
    static Owned<TStringListElement> CreateFromStrings(const QStringList& lines);

    QString ValueAt(int index) const;
    void SetValueAt(int index, const QString& text);
    // The item's name (its class name when unnamed).
    QString NameAt(int index) const;
    QString UpperNameAt(int index) const;
    TElement* ItemAt(int index) const { return Items(index); }
    TStringElement* FindByName(const QString& name) const;
    // Empty when no item is so named.
    QString ValueByName(const QString& name) const;
    // The leading whole number of the named item; 0 when none.
    qint32 IntegerByName(const QString& name) const;
    // The named item (added when missing) gets the text.
    void SetValueByName(const QString& name, const QString& text);
    TStringElement* AddNameValue(const QString& name, const QString& value);

    void NextValue(const QString& text);
    void NextName(const QString& name);
    // Only texts holding "=".
    void NextNameIsValue(const QString& text);
    // Non-empty lines: "name=value" through NextNameIsValue, others through NextName.
    void NextStringList(const QStringList& lines);
    // A windows-1250 text file through NextStringList; nothing when it does not exist.
    void LoadFromFile(const QString& fileName);
    // NameAt=ValueAt lines in windows-1250 with CR LF. Raises EFileError when it cannot write.
    void SaveToFile(const QString& fileName) const;

    // A published property, or else the item so named.
    QString GetPropAsString(const QString& name) override;
    void SetPropAsString(const QString& name, const QString& value) override;
};

// Items named after properties of another element; "-Name" takes the value negated.
class TPropertyList : public TStringListElement
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // Fills the items' values from the element's properties (nothing for nil or an empty list).
    void SetElement(TElement* element);
    // The values joined with Delimiter.
    QString Catenation() const;
    const QString& Delimiter() const { return m_delimiter; }
    void SetDelimiter(const QString& text) { m_delimiter = text; }

private:
    QString m_delimiter;
};

// Registers the classes of this unit.
void RegisterE_typeUnit();
