// World-to-page projection: world metres (Y north) onto page pixels (Y down) at a map scale.
#pragma once

#include "framework/core/Elements.h"
#include "framework/elements/PlaneGraphics.h"
#include "graphics/geometry/LineClipping.h"
#include "graphics/geometry/Page.h"

// Single pixel coordinates are held within this bound (the world-to-pixel clamp).
inline constexpr double pixelClamp = 32000.0;

// v held within -limit..limit (NaN counts as -limit), then rounded to the nearest pixel, halves
// to even; limit must fit 32 bits. Never converts a value an int cannot hold.
qint32 HeldPixel(double v, double limit);

// A world rectangle (X1, Y1) lower left, (X2, Y2) upper right.
struct WorldRect {
    double X1 = 0.0;
    double Y1 = 0.0;
    double X2 = 0.0;
    double Y2 = 0.0;
};

// TProjection: centre, scale number (5000 = 1:5000), rotation and the derived units per pixel
// and origin. Stream block after the name data, 64 raw little-endian bytes: Center_X, Center_Y,
// Scale, VirtualScale, UnitsPerPixelX, UnitsPerPixelY, UnitsPerPixelMax, OriginX (doubles).
class TProjection : public TOwnerElement
{
public:
    static constexpr int blockSize = 64;

    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    virtual WorldRect GetPageWorldRect() = 0;
    // The clip rectangle in world units when the page clips, else the page's.
    virtual WorldRect GetClipWorldRect() = 0;
    virtual void SetCenterPoint(double x, double y) = 0;
    virtual void SetCenter_X(double x) = 0;
    virtual void SetCenter_Y(double y) = 0;
    virtual void SetScale(double scale) = 0;
    virtual void ZoomToRect(const WorldRect& r) = 0;
    virtual void SetClipRect(const WorldRect& r) = 0;

    double Angle() const { return m_angle; }
    // Sets the rotation centre to the projection centre when both its coordinates are 0.
    void SetAngle(double radians);
    double RotateCenter_X() const { return m_rotateX; }
    double RotateCenter_Y() const { return m_rotateY; }
    void SetRotateCenter_X(double x) { m_rotateX = x; }
    void SetRotateCenter_Y(double y) { m_rotateY = y; }
    double Center_X() const { return m_centerX; }
    double Center_Y() const { return m_centerY; }
    double Scale() const { return m_scale; }
    // 5000 when unset (and from then on).
    double VirtualScale();
    void SetVirtualScale(double v) { m_virtualScale = v; }
    double UnitsPerPixelX() const { return m_uppX; }
    double UnitsPerPixelY() const { return m_uppY; }
    double UnitsPerPixelMax() const { return m_uppMax; }
    double OriginX() const { return m_originX; }
    double OriginY() const { return m_originY; }
    // False for the centre (0, 0); else 0 < Scale < 1e30.
    bool IsOK() const;

    // The world point turned clockwise by Angle about the rotation centre (unchanged at 0).
    TPoint2D Rotate(double x, double y) const;

    // From another TProjection: centre, scale, virtual scale and the derived values.
    void Assign(const TPersistent* source) override;
    void ReadFrom(TReader& reader, TEntity* loader) override;
    void WriteTo(TWriter& writer) override;

protected:
    double m_angle = 0.0;
    double m_rotateX = 0.0;
    double m_rotateY = 0.0;
    double m_centerX = 0.0;
    double m_centerY = 0.0;
    double m_scale = 0.0;
    double m_virtualScale = 0.0;
    double m_uppX = 0.0;
    double m_uppY = 0.0;
    double m_uppMax = 0.0;
    double m_originX = 0.0;
    double m_originY = 0.0;
};

// TPageProjection: a projection onto one page (not owned; the device owns both). Stream: the
// projection block, then the page's ID as an integer (-1 without a page). A projection without
// a page raises EConvertError on any conversion until SetPage gives it one.
class TPageProjection : public TProjection
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    T_Page* Page() const { return m_page.get(); }
    void SetPage(T_Page* page);
    // Gives the projection its page: as SetPage when the page has both resolutions; a page
    // without them (a text device's, a canvas device's before its canvas) leaves the units
    // per pixel 0, so conversions answer 0 instead of raising.
    void AttachPage(T_Page* page);
    // Stores centre, page and scale and derives units per pixel and origin: the centre lands on
    // pixel (width div 2, height div 2). A zero resolution raises EZeroDivide.
    void Recalc(double centerX, double centerY, T_Page* page, double scale);
    // A projection onto a strip of the source's page that begins at pixel row rowOffset: the
    // source's values exactly, each pixel row less rowOffset; centred on the strip's middle row.
    void ProjectStrip(const TPageProjection& source, T_Page* strip, qint32 rowOffset);
    qint32 RowOffset() const { return m_rowOffset; }

    WorldRect GetPageWorldRect() override;
    WorldRect GetClipWorldRect() override;
    void SetCenterPoint(double x, double y) override;
    void SetCenter_X(double x) override;
    void SetCenter_Y(double y) override;
    void SetScale(double scale) override;
    // The scale that fits the rectangle on the page, centred on it; a zero-size rectangle keeps
    // the old scale. A zero page size or resolution raises EZeroDivide.
    void ZoomToRect(const WorldRect& r) override;
    void SetClipRect(const WorldRect& r) override;

    double PixelToWorldX(double px) const;
    double PixelToWorldY(double py) const;
    TPoint2D PixelToWorld(double px, double py) const;
    WorldRect PixelRectToWorldRect(const PixelRect& r) const;
    // Rounded and held within +-32000; 0 when the units per pixel are 0.
    qint32 WorldToPixelX(double x) const;
    qint32 WorldToPixelY(double y) const;
    // Rounded without the clamp; (0, 0) when a units-per-pixel value is 0; beyond 32 bits
    // raises ERangeError.
    PixelPoint WorldToPixel(double x, double y) const;
    // Unrounded and unclamped, for clipping before rounding.
    PixelPointF WorldToPixelF(double x, double y) const;
    PixelRect WorldRectToPixelRect(const WorldRect& r) const;
    qint32 WorldLengthToPixelsX(double length) const;
    qint32 WorldLengthToPixelsY(double length) const;
    double PixelLengthToWorld(double n) const { return n * m_uppMax; }

    // HeldPixel within pixelClamp.
    static qint32 ClampToPixel(double v);

    void ReadFrom(TReader& reader, TEntity* loader) override;
    void WriteTo(TWriter& writer) override;

private:
    void requirePage() const;

    WeakRef<T_Page> m_page;
    bool m_hasPage = false;   // Recalc has run with a page
    qint32 m_rowOffset = 0;   // first pixel row of a strip projection on its source page
};

void RegisterProjectionClasses();
