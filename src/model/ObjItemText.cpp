// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ObjItemText.h"

#include "model/ClassRegistry.h"
#include "model/ItemBody.h"
#include "model/ViewScale.h"
#include "platform/Dc.h"

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

Rect ObjItemText::GetBounds() const
{
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

void ObjItemText::SetFont(const LogFont& f)
{
    font = f;
    SetFontSize(f.height);
}

void ObjItemText::SetAlign(int a)
{
    if (a < AlignLeft || a > AlignRight || a == align)
        return;
    const std::int64_t left = blockLeft(x, cx, align);
    x = saturate(left + (a == AlignCenter ? cx / 2 : a == AlignRight ? cx : 0));
    align = a;
}

void ObjItemText::RecalcSize()
{
    platform::Dc dc(QSize(1, 1));
    if (!dc.isValid())
        return;
    LogFont f = font;
    f.height = unitsHeight(font.height);
    dc.selectFont(f);
    QRect r(0, 0, 0, 0);
    dc.measureText(textString(), r, kMeasureFlags);
    cx = r.width();
    cy = r.height();
}

void ObjItemText::Draw(platform::Dc& dc) const
{
    const ViewScale scale = ViewScale::of(dc);
    const QPoint anchor = scale.toDevice(QPoint(x, y));
    LogFont f = font;
    f.height = scale.toDevice(unitsHeight(font.height));
    const QFont previousFont = dc.font();
    dc.selectFont(f);
    const platform::BkMode previousMode = dc.setBkMode(platform::BkMode::Transparent);
    const QColor previousColor = dc.setTextColor(platform::colorFromRef(color));

    const QString s = textString();
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

    dc.setBkMode(previousMode);
    dc.setTextColor(previousColor);
    dc.setFont(previousFont);
}
