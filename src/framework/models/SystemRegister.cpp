// System register: per-class registration models (alias, images, editor, interpreter), image and cursor lists.
#include "framework/models/SystemRegister.h"

#include "framework/core/ClassRegistry.h"

TClass TRegisterPropertyModel::StaticClass()
{
    using M = TRegisterPropertyModel;
    static const TClassInfo info = describeClass<M, TOwnerEntity>("TRegisterPropertyModel", [](PropertyTable<M>& t) {
        t.string("Alias", &M::Alias, &M::SetAlias);
        t.integer("ImageIndex", &M::ImageIndex, &M::SetImageIndex);
        t.string("Editor", &M::Editor, &M::SetEditor);
    });
    return &info;
}

TClass TRegisterClassModel::StaticClass()
{
    using M = TRegisterClassModel;
    static const TClassInfo info = describeClass<M, TInheritanceModel>("TRegisterClassModel", [](PropertyTable<M>& t) {
        t.string("Alias", &M::Alias, &M::SetAlias);
        t.integer("ImageIndex", &M::ImageIndex, &M::SetImageIndex);
        t.integer("ImageSelectedIndex", &M::ImageSelectedIndex, &M::SetImageSelectedIndex);
        t.string("Editor", &M::Editor, &M::SetEditor);
        t.string("Interpret", &M::Interpret, &M::SetInterpret);
        t.string("SubClass", &M::SubClass, &M::SetSubClass);
    });
    return &info;
}

TOwnerEntity* TRegisterClassModel::PropertyModels()
{
    return NamedChild<TOwnerEntity>(this, QStringLiteral("PROPERTY MODELS"));
}

TOwnerEntity* TRegisterClassModel::Shell()
{
    return NamedChild<TOwnerEntity>(this, QStringLiteral("SHELL"));
}

TClass TRegisterClassModels::StaticClass()
{
    using M = TRegisterClassModels;
    static const TClassInfo info =
        describeClass<M, TInheritanceModelEntity>("TRegisterClassModels", [](PropertyTable<M>& t) {
            t.object<TRegisterClassModel>("ActualClassModel", &M::ActualClassModel, nullptr);
        });
    return &info;
}

TClass TRegisterClassModels::ItemClass() const
{
    return TRegisterClassModel::StaticClass();
}

TRegisterClassModel* TRegisterClassModels::ActualClassModel() const
{
    return dynamic_cast<TRegisterClassModel*>(ActualItem());
}

TClass TSystemRegister::StaticClass()
{
    using R = TSystemRegister;
    static const TClassInfo info = describeClass<R, TOwnerEntity>("TSystemRegister", [](PropertyTable<R>& t) {
        t.object<TStringListElement>("Images", &R::Images, nullptr);
        t.object<TStringListElement>("Cursors", &R::Cursors, nullptr);
        t.object<TRegisterClassModels>("ClassModels", &R::ClassModels, nullptr);
    });
    return &info;
}

TStringListElement* TSystemRegister::Images()
{
    return NamedChild<TStringListElement>(this, QStringLiteral("IMAGES"));
}

TStringListElement* TSystemRegister::Cursors()
{
    return NamedChild<TStringListElement>(this, QStringLiteral("CURSORS"));
}

TRegisterClassModels* TSystemRegister::ClassModels()
{
    return NamedChild<TRegisterClassModels>(this, QStringLiteral("CLASS MODELS"));
}

void RegisterE_SysRegUnit()
{
    RegisterUnitClasses({TSystemRegister::StaticClass(), TRegisterClassModel::StaticClass(),
                         TRegisterClassModels::StaticClass(), TRegisterPropertyModel::StaticClass()});
}
