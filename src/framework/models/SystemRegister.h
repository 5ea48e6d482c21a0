// System register: per-class registration models (alias, images, editor, interpreter), image and cursor lists.
#pragma once

#include "framework/models/InheritanceModel.h"
#include "framework/values/TypedValues.h"

// Registration of one property: alias, image and editor.
class TRegisterPropertyModel : public TOwnerEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    const QString& Alias() const { return m_alias; }
    void SetAlias(const QString& text) { m_alias = text; }
    qint32 ImageIndex() const { return m_imageIndex; }
    void SetImageIndex(qint32 index) { m_imageIndex = index; }
    const QString& Editor() const { return m_editor; }
    void SetEditor(const QString& text) { m_editor = text; }

private:
    QString m_alias;
    qint32 m_imageIndex = 0;
    QString m_editor;
};

// Registration of one class: alias, images, editor, interpreter, sub-class, property models and shell.
class TRegisterClassModel : public TInheritanceModel
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // The "PROPERTY MODELS" and "SHELL" children, added on first use.
    TOwnerEntity* PropertyModels();
    TOwnerEntity* Shell();

    const QString& Alias() const { return m_alias; }
    void SetAlias(const QString& text) { m_alias = text; }
    qint32 ImageIndex() const { return m_imageIndex; }
    void SetImageIndex(qint32 index) { m_imageIndex = index; }
    qint32 ImageSelectedIndex() const { return m_imageSelectedIndex; }
    void SetImageSelectedIndex(qint32 index) { m_imageSelectedIndex = index; }
    const QString& Editor() const { return m_editor; }
    void SetEditor(const QString& text) { m_editor = text; }
    const QString& Interpret() const { return m_interpret; }
    void SetInterpret(const QString& text) { m_interpret = text; }
    const QString& SubClass() const { return m_subClass; }
    void SetSubClass(const QString& text) { m_subClass = text; }

private:
    QString m_alias;
    qint32 m_imageIndex = 0;
    qint32 m_imageSelectedIndex = 0;
    QString m_editor;
    QString m_interpret;
    QString m_subClass;
};

// The class models of the register, arranged by class.
class TRegisterClassModels : public TInheritanceModelEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TClass ItemClass() const override;
    TRegisterClassModel* ActualClassModel() const;
};

// The register: "IMAGES" and "CURSORS" lists and the "CLASS MODELS", each added on first use.
class TSystemRegister : public TOwnerEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TStringListElement* Images();
    TStringListElement* Cursors();
    TRegisterClassModels* ClassModels();
};

// Registers the classes of this unit.
void RegisterE_SysRegUnit();
