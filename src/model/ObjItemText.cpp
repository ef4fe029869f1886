// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ObjItemText.h"

#include "model/ClassRegistry.h"
#include "model/ItemBody.h"
#include "model/ViewScale.h"
#include "platform/Dc.h"
#include "platform/VerticalText.h"

#include <QPainter>

#include <cmath>
#include <cstdlib>

using platform::LogFont;
using platform::Rect;
using platform::saturate;

namespace {

constexpr unsigned kMeasureFlags = platform::dt::CalcRect | platform::dt::NoPrefix | platform::dt::NoClip;
constexpr unsigned kDrawFlags = platform::dt::NoPrefix | platform::dt::NoClip;

// lfHeight in points times ten: the height in item units.
int unitsHeight(int points)
{
    return saturate(std::int64_t(points) * 10);
}

} // namespace

LogFont ObjItemText::defaultFont()
{
    // Made once: every text the reader makes starts from it.
    static const LogFont font = [] {
        LogFont f;
        f.height = 12;
        f.weight = 400;
        f.charSet = 128;
        f.outPrecision = 3;
        f.clipPrecision = 2;
        f.quality = 1;
        f.pitchAndFamily = 0x32;
        f.setFaceName(QStringLiteral("ＭＳ Ｐゴシック"));
        return f;
    }();
    return font;
}

ObjItemText::ObjItemText() : ObjItemText(ForReading{})
{
    RecalcSize();
}

ObjItemText::ObjItemText(ForReading) : text("Text"), font(defaultFont())
{
    kind = KindText;
}

const ClassInfo& ObjItemText::runtimeClass() const
{
    return kObjItemTextClass;
}

void ObjItemText::Serialize(Archive& ar)
{
    ObjItem::Serialize(ar);
    itembody::serializeText(ar, align, reserved, text, font);
}

ObjItemText::ObjItemText(const Rect& card) : ObjItemText()
{
    centreOnCard(card);
}

std::unique_ptr<ObjItem> ObjItemText::Clone() const
{
    return std::make_unique<ObjItemText>(*this);
}

std::int64_t ObjItemText::blockLeft(std::int64_t anchor, std::int64_t width, int a)
{
    switch (a) {
    case AlignCenter: return anchor - width / 2;
    case AlignRight: return anchor - width;
    default: return anchor;
    }
}

bool ObjItemText::isVertical() const
{
    return platform::vertical::isVertical(font);
}

Rect ObjItemText::GetBounds() const
{
    if (isVertical())
        return {saturate(std::int64_t(x) - cx), y, x, saturate(std::int64_t(y) + cy)};
    const std::int64_t left = blockLeft(x, cx, align);
    return {saturate(left), y, saturate(left + cx), saturate(std::int64_t(y) + cy)};
}

void ObjItemText::SetText(const CardText& t)
{
    text = t;
    RecalcSize();
}

void ObjItemText::SetFontSize(int n)
{
    const std::int64_t size = std::llabs(std::int64_t(n));
    font.height = -int(size < kMinFontSize ? kMinFontSize : (size > kMaxFontSize ? kMaxFontSize : size));
    RecalcSize();
}

int ObjItemText::GetFontSize() const
{
    return saturate(std::llabs(std::int64_t(font.height)));
}

// Turning a text vertical or back keeps the top-left corner of its box, and a
// turn alone changes nothing else, not even how the size is stored.
void ObjItemText::SetFont(const LogFont& f)
{
    const bool turned = platform::vertical::isVertical(f) != isVertical();
    const int left = GetBounds().left;
    const bool turnOnly = turned && platform::vertical::withVertical(f, isVertical()) == font;
    font = f;
    if (turnOnly)
        RecalcSize();
    else
        SetFontSize(f.height);
    if (!turned)
        return;
    const std::int64_t w = cx;
    x = saturate(isVertical() ? left + w : left + (align == AlignCenter ? w / 2 : align == AlignRight ? w : 0));
}

void ObjItemText::SetAlign(int a)
{
    if (a < AlignLeft || a > AlignRight || a == align)
        return;
    if (isVertical()) {
        align = a;
        return;
    }
    const std::int64_t left = blockLeft(x, cx, align);
    x = saturate(left + (a == AlignCenter ? cx / 2 : a == AlignRight ? cx : 0));
    align = a;
}

void ObjItemText::RecalcSize()
{
    platform::Dc dc(QSize(1, 1));
    if (!dc.isValid())
        return;
    LogFont f = platform::vertical::withVertical(font, false);
    f.height = unitsHeight(font.height);
    dc.selectFont(f);
    if (isVertical()) {
        const QSizeF size = platform::VerticalLayout(textString(), dc.font()).size();
        cx = saturate(std::int64_t(std::ceil(size.width())));
        cy = saturate(std::int64_t(std::ceil(size.height())));
        return;
    }
    QRect r(0, 0, 0, 0);
    dc.measureText(textString(), r, kMeasureFlags);
    cx = r.width();
    cy = r.height();
}

void ObjItemText::Draw(platform::Dc& dc) const
{
    const ViewScale scale = ViewScale::of(dc);
    const QPoint anchor = scale.toDevice(QPoint(x, y));
    LogFont f = platform::vertical::withVertical(font, false);
    f.height = scale.toDevice(unitsHeight(font.height));
    const QFont previousFont = dc.font();
    dc.selectFont(f);
    const platform::BkMode previousMode = dc.setBkMode(platform::BkMode::Transparent);
    const QColor previousColor = dc.setTextColor(platform::colorFromRef(color));

    const QString s = textString();
    if (isVertical()) {
        drawColumns(dc, anchor);
    } else {
        QRect r(0, 0, 0, 0);
        dc.measureText(s, r, kMeasureFlags);
        const int w = r.width();
        const int h = r.height();
        const int left = saturate(blockLeft(anchor.x(), w, align));
        unsigned flags = kDrawFlags;
        if (align == AlignCenter)
            flags |= platform::dt::Center;
        else if (align == AlignRight)
            flags |= platform::dt::Right;
        dc.drawText(s, QRect(left, anchor.y(), w, h), flags);
    }

    dc.setBkMode(previousMode);
    dc.setTextColor(previousColor);
    dc.setFont(previousFont);
}

platform::VerticalLayout::Place ObjItemText::columnPlace() const
{
    using Place = platform::VerticalLayout::Place;
    return align == AlignCenter ? Place::Middle : align == AlignRight ? Place::Bottom : Place::Top;
}

// The block hangs from its top-right corner, the anchor.
void ObjItemText::drawColumns(platform::Dc& dc, QPoint anchor) const
{
    QPainter* painter = dc.painter();
    if (!painter)
        return;
    const platform::VerticalLayout layout(textString(), dc.font(), columnPlace());
    const QPointF device = QPointF(anchor + dc.viewportOrigin());
    // Blocks far off the surface are skipped; the rest stay in the rasterizer's range.
    const QRectF box(device.x() - layout.size().width(), device.y(), layout.size().width(), layout.size().height());
    if (!box.intersects(QRectF(dc.clipBox().translated(dc.viewportOrigin())).adjusted(-1, -1, 1, 1))
        || std::abs(device.x()) > (1 << 22) || std::abs(device.y()) > (1 << 22))
        return;
    painter->save();
    painter->setPen(dc.textColor());
    painter->setBrush(Qt::NoBrush);
    painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    layout.draw(*painter, box.topLeft());
    painter->restore();
}
