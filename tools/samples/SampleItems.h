// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The items the sample cards are made of.

#include "model/ObjItemBitmap.h"
#include "model/ObjItemLine.h"
#include "model/ObjItemRect.h"
#include "model/ObjItemText.h"
#include "model/PmrData.h"
#include "model/QrPicture.h"
#include "platform/Codec.h"

#include <memory>

namespace samples {

// Card of 91 x 55 mm in item units.
inline constexpr int kW = 2580;
inline constexpr int kH = 1559;

inline std::uint32_t rgb(int r, int g, int b)
{
    return std::uint32_t(r) | std::uint32_t(g) << 8 | std::uint32_t(b) << 16;
}

inline void text(PmrData& page, int x, int y, const QString& s, int points, std::uint32_t color = 0,
          int align = ObjItemText::AlignLeft, const char* face = "ＭＳ Ｐゴシック", int weight = 400)
{
    auto item = std::make_unique<ObjItemText>();
    platform::LogFont f = ObjItemText::defaultFont();
    f.setFaceName(QString::fromUtf8(face));
    f.weight = weight;
    f.height = points;
    item->SetText(platform::toCp932(s));
    item->SetFont(f);
    item->color = color;
    item->x = x;
    item->y = y;
    item->align = align;
    page.append(std::move(item));
}

// A new item of kind T at (x, y) with extents cx, cy and a colour, appended to the page.
template <class T>
T& placed(PmrData& page, int x, int y, int cx, int cy, std::uint32_t color)
{
    auto item = std::make_unique<T>();
    item->x = x;
    item->y = y;
    item->cx = cx;
    item->cy = cy;
    item->color = color;
    return static_cast<T&>(**page.append(std::move(item)));
}

inline void rect(PmrData& page, int x, int y, int cx, int cy, std::uint32_t color)
{
    placed<ObjItemRect>(page, x, y, cx, cy, color);
}

inline void line(PmrData& page, int x, int y, int cx, int cy, int width, std::uint32_t color)
{
    placed<ObjItemLine>(page, x, y, cx, cy, color).width = width;
}

// A QR code side mm square with its top-left corner at (x, y).
inline void code(PmrData& page, int x, int y, int side, const QrContent& content, std::uint32_t color)
{
    const int units = side * 720 * 10 / 254;
    auto& item = placed<ObjItemBitmap>(page, x, y, units, units, color);
    item.takePicture(qr::picture(content, color));
    item.qr = content;
}

// A Japanese front with an English back (TwoSidedSample.cpp).
void twoSided(PmrData& page);

} // namespace samples
