// Element models: a class name, preset property values, child element models and images.
#pragma once

#include "framework/values/TypedValues.h"

// A preset value of one property; Name is the property name.
class TPropertyModel : public TOwnerElement
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    const QString& Alias() const { return m_alias; }
    void SetAlias(const QString& text) { m_alias = text; }
    const QString& Value() const { return m_value; }
    void SetValue(const QString& text) { m_value = text; }

private:
    QString m_alias;
    QString m_value;
};

// A framework object described as data. The sub-lists "PROPERTIES", "ELEMENTS" (TOwnerEntity)
// and "IMAGES" (TStringListElement) are children added on first use; the No... queries do not
// add them. The write-only New... properties let a model file build the tree by assignments.
class TElementModel : public TOwnerEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TOwnerEntity* ModelProperties();
    TOwnerEntity* ModelElements();
    TStringListElement* Images();
    bool NoModelProperties() const;
    bool NoModelElements() const;
    bool NoImages() const;
    void NewPropertyName(const QString& name);
    void NewElementName(const QString& name);
    void NewImage(const QString& text);

    qint32 ImageIndex() const { return m_imageIndex; }
    void SetImageIndex(qint32 index) { m_imageIndex = index; }
    const QString& ElementClassName() const { return m_elementClassName; }
    void SetElementClassName(const QString& name) { m_elementClassName = name; }
    const QString& Comment() const { return m_comment; }
    void SetComment(const QString& text) { m_comment = text; }
    const QString& Alias() const { return m_alias; }
    void SetAlias(const QString& text) { m_alias = text; }
    const QString& AttachToPropertyName() const { return m_attachToPropertyName; }
    void SetAttachToPropertyName(const QString& name) { m_attachToPropertyName = name; }

protected:
    // The child so named when it exists and is not empty.
    bool hasNonEmptyChild(const QString& name) const;

private:
    qint32 m_imageIndex = 0;
    QString m_elementClassName;
    QString m_comment;
    QString m_alias;
    QString m_attachToPropertyName;
};

// Registers the classes of this unit.
void RegisterE_ElementModelUnit();
