// Element models: a class name, preset property values, child element models and images.
#include "framework/models/ElementModel.h"

#include "framework/core/ClassRegistry.h"

namespace {

const QString propertiesName = QStringLiteral("PROPERTIES");
const QString elementsName = QStringLiteral("ELEMENTS");
const QString imagesName = QStringLiteral("IMAGES");

} // namespace

TClass TPropertyModel::StaticClass()
{
    using M = TPropertyModel;
    static const TClassInfo info = describeClass<M, TOwnerElement>("TPropertyModel", [](PropertyTable<M>& t) {
        t.string("Alias", &M::Alias, &M::SetAlias);
        t.string("Value", &M::Value, &M::SetValue);
    });
    return &info;
}

TClass TElementModel::StaticClass()
{
    using M = TElementModel;
    static const TClassInfo info = describeClass<M, TOwnerEntity>("TElementModel", [](PropertyTable<M>& t) {
        t.integer("ImageIndex", &M::ImageIndex, &M::SetImageIndex);
        t.string("ElementClassName", &M::ElementClassName, &M::SetElementClassName);
        t.string("Comment", &M::Comment, &M::SetComment);
        t.string("Alias", &M::Alias, &M::SetAlias);
        t.string("AttachToPropertyName", &M::AttachToPropertyName, &M::SetAttachToPropertyName);
        t.object<TOwnerEntity>("ModelProperties", &M::ModelProperties, nullptr);
        t.object<TOwnerEntity>("ModelElements", &M::ModelElements, nullptr);
        t.object<TStringListElement>("Images", &M::Images, nullptr);
        t.boolean("NoModelProperties", &M::NoModelProperties, nullptr);
        t.boolean("NoModelElements", &M::NoModelElements, nullptr);
        t.boolean("NoImages", &M::NoImages, nullptr);
        t.string("NewPropertyName", nullptr, &M::NewPropertyName);
        t.string("NewElementName", nullptr, &M::NewElementName);
        t.string("NewImage", nullptr, &M::NewImage);
    });
    return &info;
}

TOwnerEntity* TElementModel::ModelProperties()
{
    return NamedChild<TOwnerEntity>(this, propertiesName);
}

TOwnerEntity* TElementModel::ModelElements()
{
    return NamedChild<TOwnerEntity>(this, elementsName);
}

TStringListElement* TElementModel::Images()
{
    return NamedChild<TStringListElement>(this, imagesName);
}

bool TElementModel::hasNonEmptyChild(const QString& name) const
{
    const TElement* child = FindElementByName(name);
    return child && !child->IsEmpty();
}

bool TElementModel::NoModelProperties() const
{
    return !hasNonEmptyChild(propertiesName);
}

bool TElementModel::NoModelElements() const
{
    return !hasNonEmptyChild(elementsName);
}

bool TElementModel::NoImages() const
{
    return !hasNonEmptyChild(imagesName);
}

void TElementModel::NewPropertyName(const QString& name)
{
    ModelProperties()->AddNew<TPropertyModel>()->SetName(name);
}

void TElementModel::NewElementName(const QString& name)
{
    ModelElements()->AddNew<TElementModel>()->SetName(name);
}

void TElementModel::NewImage(const QString& text)
{
    Images()->NextValue(text);
}

void RegisterE_ElementModelUnit()
{
    RegisterUnitClasses({TPropertyModel::StaticClass(), TElementModel::StaticClass()});
}
