// Output page of a drawing device: pixel rectangle, resolution, background colour, clip rectangle.
#pragma once

#include "framework/core/Elements.h"
#include "framework/elements/PlaneGraphics.h"
#include "graphics/geometry/LineClipping.h"

// T_Page: the pixel surface a device draws on. Resolutions are in pixels per metre.
// Stream block after the name data: 56 raw little-endian bytes
//   offset size  field
//        0    4  reserved (0)
//        4    4  Color (0x00BBGGRR)
//        8    8  HRes (IEEE double)
//       16    8  VRes
//       24   16  page rectangle Left, Top, Right, Bottom (signed 32-bit)
//       40   16  clip rectangle Left, Top, Right, Bottom
// ClipOn is not streamed.
class T_Page : public TOwnerElement
{
public:
    static constexpr int blockSize = 56;

    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TColor Color() const { return m_color; }
    void SetColor(TColor c) { m_color = c; }
    double HRes() const { return m_hRes; }
    double VRes() const { return m_vRes; }
    void SetResolution(double hRes, double vRes);
    const PixelRect& PageRect() const { return m_page; }
    void SetPageRect(const PixelRect& r) { m_page = r; }
    const PixelRect& ClipRect() const { return m_clip; }
    void SetClipRect(const PixelRect& r) { m_clip = r; }
    bool ClipOn() const { return m_clipOn; }
    void SetClipOn(bool on) { m_clipOn = on; }
    // The clip rectangle when ClipOn, else the page rectangle.
    const PixelRect& ActiveClipRect() const { return m_clipOn ? m_clip : m_page; }
    // Right - Left and Bottom - Top; an overflowing subtraction raises EIntOverflow.
    qint32 Width() const;
    qint32 Height() const;

    // From another T_Page: colour, clip rectangle, ClipOn, page rectangle, resolutions.
    void Assign(const TPersistent* source) override;
    // A short or malformed block raises EBadStream with its offset.
    void ReadFrom(TReader& reader, TEntity* loader) override;
    void WriteTo(TWriter& writer) override;

private:
    qint32 m_reserved = 0;
    TColor m_color = 0xFFFFFF;
    double m_hRes = 0.0;
    double m_vRes = 0.0;
    PixelRect m_page;
    PixelRect m_clip;
    bool m_clipOn = false;
};

void RegisterPageClasses();
