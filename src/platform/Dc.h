// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/LogFont.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

class QPaintDevice;
class QPainter;

namespace platform {

// COLORREF (0x00BBGGRR) -> QColor.
QColor colorFromRef(std::uint32_t colorRef);

struct Pen {
    enum class Style { Solid, Null };
    Style style = Style::Solid;
    QColor color = Qt::black;
    int width = 0; // 0 and 1 draw one pixel; wider pens are centred, round caps and joins

    static Pen solid(const QColor& color, int width = 0) { return {Style::Solid, color, width}; }
    static Pen null() { return {Style::Null, Qt::black, 0}; }
    bool isNull() const { return style == Style::Null; }
};

struct Brush {
    enum class Style { Solid, Null };
    Style style = Style::Solid;
    QColor color = Qt::white;

    static Brush solid(const QColor& color) { return {Style::Solid, color}; }
    static Brush null() { return {Style::Null, Qt::white}; }
    bool isNull() const { return style == Style::Null; }
};

// Mix modes of pens and brushes.
enum class Rop2 { CopyPen, XorPen };

// Block transfer operations (D = destination, S = source).
enum class BltRop {
    SrcCopy,    // S
    SrcAnd,     // D & S
    SrcPaint,   // D | S
    AndNotSrc,  // D & ~S
    Whiteness,
};

enum class BkMode { Transparent, Opaque };

// DrawText flags, same values as the platform's.
namespace dt {
inline constexpr unsigned Left = 0x0000;
inline constexpr unsigned Top = 0x0000;
inline constexpr unsigned Center = 0x0001;
inline constexpr unsigned Right = 0x0002;
inline constexpr unsigned VCenter = 0x0004;
inline constexpr unsigned Bottom = 0x0008;
inline constexpr unsigned SingleLine = 0x0020;
inline constexpr unsigned NoClip = 0x0100;
inline constexpr unsigned CalcRect = 0x0400;
inline constexpr unsigned NoPrefix = 0x0800; // prefixes are never processed
} // namespace dt

struct TextMetrics {
    int ascent = 0;
    int descent = 0;
    int height = 0;          // ascent + descent: the line height of drawText
    int internalLeading = 0; // height − em size
};

// A drawing context with the platform's semantics over QPainter.
//
// Coordinates given to drawing calls are logical: device = logical + viewport
// origin. Clip regions are given in device coordinates. Rectangles passed as
// (l, t, r, b) exclude their right and bottom edges. Extreme coordinates are
// safe: work is limited to what meets the surface.
class Dc {
public:
    // A memory surface of its own, Format_RGB32, filled white (callers that need
    // the platform's WHITENESS still say so).
    explicit Dc(QSize size);
    // Paints on the caller's image, which must outlive the Dc; converted to
    // Format_RGB32 first when it has another format.
    explicit Dc(QImage* image);
    // A printer, PDF writer or widget (in its paint event).
    explicit Dc(QPaintDevice* device);
    // An active painter of the caller; its state is restored when the Dc ends.
    explicit Dc(QPainter* painter);
    ~Dc();
    Dc(const Dc&) = delete;
    Dc& operator=(const Dc&) = delete;

    bool isValid() const;
    // The surface of a memory Dc (else null). Read it freely (constScanLine).
    // Writing through scanLine() is safe while no other QImage shares it; to
    // rework a picture in bulk, paint on your own QImage with Dc(QImage*) and
    // edit it once the Dc is gone.
    QImage* image() { return image_; }
    const QImage* image() const { return image_; }
    // The device rectangle per-pixel work may read and write straight through
    // image(): the surface within a rectangular clip. Empty without a memory
    // surface or under a clip of another shape.
    QRect directRect() const;
    QSize size() const { return deviceRect_.size(); }
    QPainter* painter() { return painter_; }

    // Device facts.
    int bitsPerPixel() const { return bitsPerPixel_; }
    // Device pixels per logical pixel of what is painted on: a widget's screen
    // ratio, 1 for plain images and printers.
    qreal devicePixelRatio() const;
    QPoint physicalOffset() const { return physicalOffset_; }
    void setPhysicalOffset(QPoint offset) { physicalOffset_ = offset; }

    // What the card is drawn for: device pixels per inch of the drawing (the
    // zoomed screen's or the printer's; 72 until set) and whether it is printed,
    // in which case drawings skip their screen-only caches.
    int scale() const { return st_.scale; }
    void setScale(int pixelsPerInch) { st_.scale = pixelsPerInch > 0 ? pixelsPerInch : st_.scale; }
    bool printing() const { return st_.printing; }
    void setPrinting(bool printing) { st_.printing = printing; }

    // Viewport origin: logical (0, 0) lands on this device point.
    QPoint viewportOrigin() const { return st_.origin; }
    QPoint setViewportOrigin(QPoint origin); // returns the previous origin
    QPoint offsetViewportOrigin(int dx, int dy);

    // Saves the whole state (pen, brush, colours, modes, font, clip, origin,
    // current position, scale and printing flag); returns the new save level
    // (1 = first). DcSave pairs it with its restore for a scope.
    int save();
    // level < 0: that many levels back (-1 = the last save); level > 0: back to
    // the state saved at that level. False when there is no such level.
    bool restore(int level = -1);

    // Clipping in device coordinates. select* replaces the clip; intersect*
    // narrows it. The device's own clip (a paint event's region) always applies.
    void selectClip(const QRect& deviceRect);
    void selectClip(const QPainterPath& devicePath);
    void selectClipEllipse(const QRect& deviceRect);
    void intersectClip(const QRect& deviceRect);
    void intersectClip(const QPainterPath& devicePath);
    // The bounding box of what can be drawn, in logical coordinates; empty when
    // nothing can.
    QRect clipBox() const;

    // Drawing objects; each setter returns the previous value.
    const Pen& pen() const { return st_.pen; }
    Pen setPen(const Pen& pen);
    const Brush& brush() const { return st_.brush; }
    Brush setBrush(const Brush& brush);
    QColor textColor() const { return st_.textColor; }
    QColor setTextColor(const QColor& color);
    QColor bkColor() const { return st_.bkColor; }
    QColor setBkColor(const QColor& color);
    BkMode bkMode() const { return st_.bkMode; }
    BkMode setBkMode(BkMode mode);
    Rop2 rop2() const { return st_.rop2; }
    Rop2 setRop2(Rop2 rop);

    // Outline with the pen, inside with the brush. Reversed corners are put in
    // order. With a one-pixel pen the outline covers l..r-1, t..b-1; with the null
    // pen the brush covers l..r-2, t..b-2 (the last column and row stay untouched).
    void rectangle(int l, int t, int r, int b);
    // Fills l..r-1, t..b-1 with the brush, always copying (ignores Rop2 and the
    // pen); nothing when r <= l or b <= t.
    void fillRect(int l, int t, int r, int b, const Brush& brush);
    void fillRect(int l, int t, int r, int b, const QColor& color);
    void fillRect(const QRect& rect, const QColor& color);

    // Lines from the current position. A one-pixel line leaves its last pixel;
    // a wide one ends in a round cap. Inside a path they add to the path.
    QPoint moveTo(int x, int y); // returns the previous position
    void lineTo(int x, int y);
    // Cubic Béziers: the first point starts the curve, each three more points
    // (control, control, end) add a segment. Drawn with the pen, or added to the
    // open path.
    void polyBezier(std::span<const QPoint> points);

    // Paths: figures recorded between beginPath and endPath in device
    // coordinates, then filled with the brush or turned into the clip (both use
    // the path up).
    void beginPath();
    void closeFigure();
    void endPath();
    void abortPath();
    bool fillPath();
    bool intersectClipPath();

    // Text. A LOGFONT's height < 0 is the character height, > 0 the cell height,
    // 0 a default; heights are device pixels.
    void selectFont(const LogFont& font);
    // The font a LOGFONT makes on a device (null: the screen).
    static QFont makeFont(const LogFont& font, const QPaintDevice* device = nullptr);
    void setFont(const QFont& font);
    QFont font() const { return st_.font; }
    TextMetrics textMetrics() const;
    // DrawText: lines break at CR LF, LF or CR (not with dt::SingleLine), each line
    // one font height (ascent + descent) high, aligned by dt::Center / dt::Right
    // within the rectangle, clipped to it unless dt::NoClip. With dt::CalcRect
    // nothing is drawn and rect's right and bottom are moved to bound the text.
    // Returns the height of the text.
    int drawText(const QString& text, QRect& rect, unsigned flags);
    int drawText(const QString& text, const QRect& rect, unsigned flags);
    // drawText with dt::CalcRect: only measures.
    int measureText(const QString& text, QRect& rect, unsigned flags = 0) const;

    // Draws src (sx, sy, sw, sh) of an image into (x, y, w, h), stretched with
    // nearest neighbour (no smoothing), copied 1:1 when sizes agree. Negative
    // extents mirror. Parts of src outside the image are not drawn.
    bool drawImage(int x, int y, int w, int h, const QImage& image, int sx, int sy, int sw, int sh);
    bool drawImage(const QRect& dest, const QImage& image, const QRect& src);
    bool drawImage(int x, int y, const QImage& image);

    // Block transfer of w x h pixels from (sx, sy) of src to (x, y). Parts that
    // lie outside the source are left alone. Raster operations other than
    // SrcCopy need a memory Dc to read the destination.
    bool bitBlt(int x, int y, int w, int h, const QImage& src, int sx, int sy,
                BltRop rop = BltRop::SrcCopy);
    bool bitBlt(int x, int y, int w, int h, const Dc& src, int sx, int sy,
                BltRop rop = BltRop::SrcCopy);
    // Operations without a source: Whiteness.
    bool patBlt(int x, int y, int w, int h, BltRop rop);

private:
    struct Clip {
        enum Kind { None, Rect, Path };
        Kind kind = None;
        QRect rect;        // Kind::Rect
        QPainterPath path; // Kind::Path
    };
    struct State {
        Pen pen;
        Brush brush;
        QColor textColor = Qt::black;
        QColor bkColor = Qt::white;
        BkMode bkMode = BkMode::Opaque;
        Rop2 rop2 = Rop2::CopyPen;
        QFont font;
        Clip clip;
        QPoint origin;
        QPoint position;
        int scale = 72;
        bool printing = false;
    };

    void init(QPaintDevice* device);
    void applyClip();
    void setClip(Clip clip);
    void intersectWith(const Clip& other);
    QRect drawableRect() const; // device rect within surface and clip bounds

    void setRopMode();
    void fillDeviceRect(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b,
                        const QBrush& brush);
    void fillDevicePath(const QPainterPath& path, const QBrush& brush);
    void strokeDevicePath(const QPainterPath& path, const Pen& pen);
    void drawThinLine(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
                      const QBrush& brush);
    // The finished path, used up; nothing while none is finished.
    std::optional<QPainterPath> takePath();

    bool composeBlock(const QRect& deviceDest, const QImage& block);

    std::unique_ptr<QImage> ownedImage_;
    QImage* image_ = nullptr;
    std::unique_ptr<QPainter> ownedPainter_;
    QPainter* painter_ = nullptr;
    QRect deviceRect_;
    std::optional<QPainterPath> baseClip_; // the borrowed painter's clip
    int bitsPerPixel_ = 32;
    QPoint physicalOffset_;

    State st_;
    std::vector<State> saved_;

    bool inPath_ = false;
    bool pathDone_ = false;
    bool figureOpen_ = false;
    QPainterPath path_; // device coordinates
};

// Saves a Dc's state for a scope: back to it when the scope ends, or earlier
// with restore().
class DcSave {
public:
    explicit DcSave(Dc& dc) : dc_(&dc), level_(dc.save()) {}
    ~DcSave() { restore(); }
    DcSave(const DcSave&) = delete;
    DcSave& operator=(const DcSave&) = delete;

    void restore()
    {
        if (dc_)
            dc_->restore(level_);
        dc_ = nullptr;
    }

private:
    Dc* dc_;
    int level_;
};

// Draws an image through a mask on dest: mask white = transparent, black =
// opaque. Like the platform's three-step blit (dest AND mask, image AND NOT mask,
// OR), after setting dest's text colour to black, background to white and the
// background mode to opaque. The caller's image is not changed.
bool maskedBlit(Dc& dest, int x, int y, int w, int h, const QImage& image, int ix, int iy,
                const QImage& mask, int mx, int my);

// A colour-to-monochrome copy: pixels equal to key become white, all others black
// (Format_RGB32).
QImage maskFromColor(const QImage& image, QRgb key);

} // namespace platform
