// Output page of a drawing device: pixel rectangle, resolution, background colour, clip rectangle.
#include "graphics/geometry/Page.h"

#include "framework/core/ClassRegistry.h"
#include "framework/streams/Filer.h"
#include "graphics/geometry/RawBlock.h"
#include "platform/text/Numbers.h"

TClass T_Page::StaticClass()
{
    static const TClassInfo info = describeClass<T_Page, TOwnerElement>("T_Page", [](PropertyTable<T_Page>& t) {
        t.integer("Width", &T_Page::Width, nullptr)
            .integer("Height", &T_Page::Height, nullptr)
            .floating("HRes", "Double", &T_Page::HRes, nullptr)
            .floating("VRes", "Double", &T_Page::VRes, nullptr);
    });
    return &info;
}

void T_Page::SetResolution(double hRes, double vRes)
{
    m_hRes = hRes;
    m_vRes = vRes;
}

qint32 T_Page::Width() const
{
    return txt::subChecked(m_page.Right, m_page.Left);
}

qint32 T_Page::Height() const
{
    return txt::subChecked(m_page.Bottom, m_page.Top);
}

void T_Page::Assign(const TPersistent* source)
{
    const auto* other = dynamic_cast<const T_Page*>(source);
    if (!other) {
        TOwnerElement::Assign(source);
        return;
    }
    m_color = other->m_color;
    m_clip = other->m_clip;
    m_clipOn = other->m_clipOn;
    m_page = other->m_page;
    m_hRes = other->m_hRes;
    m_vRes = other->m_vRes;
}

void T_Page::WriteTo(TWriter& writer)
{
    TOwnerElement::WriteTo(writer);
    RawBlockWriter block;
    block.int32(m_reserved);
    block.int32(m_color);
    block.float64(m_hRes);
    block.float64(m_vRes);
    block.rect(m_page);
    block.rect(m_clip);
    writer.WriteRaw(block.bytes());
}

void T_Page::ReadFrom(TReader& reader, TEntity* loader)
{
    TOwnerElement::ReadFrom(reader, loader);
    RawBlockReader block(reader, blockSize, QStringLiteral("T_Page"));
    m_reserved = block.int32();
    m_color = block.int32();
    m_hRes = block.float64();
    m_vRes = block.float64();
    m_page = block.rect();
    m_clip = block.rect();
}

void RegisterPageClasses()
{
    RegisterUnitClasses({T_Page::StaticClass()});
}
