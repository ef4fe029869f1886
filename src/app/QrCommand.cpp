// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/QrCommand.h"

#include "model/QrPicture.h"

#include <cmath>

bool SetQrCodeCommand::apply(CardDocument& doc)
{
    auto* item = dynamic_cast<ObjItemBitmap*>(pos_->get());
    if (!item || !item->qr || (*item->qr == *content_ && item->color == color_))
        return false;
    held_.dib = qr::picture(*content_, color_);
    if (held_.dib.isEmpty())
        return false;
    held_.decoded = QImage();
    held_.decodedBytes.clear();
    dibSize_ = QSize(held_.dib.width(), held_.dib.height());
    exchange(*item);
    doc.selection().select(pos_);
    return true;
}

void SetQrCodeCommand::revert(CardDocument& doc)
{
    exchange(static_cast<ObjItemBitmap&>(**pos_));
    doc.selection().select(pos_);
}

// The item and the command trade content, colour, picture and its stored size.
void SetQrCodeCommand::exchange(ObjItemBitmap& item)
{
    const QSize stored(item.dibWidth, item.dibHeight);
    item.exchangePicture(held_);
    item.dibWidth = dibSize_.width();
    item.dibHeight = dibSize_.height();
    dibSize_ = stored;
    std::swap(item.qr, content_);
    std::swap(item.color, color_);
}

std::unique_ptr<ObjItemBitmap> makeQrItem(const QrContent& content, std::uint32_t color, const platform::Rect& cardUnits,
                                          int side)
{
    platform::Dib picture = qr::picture(content, color);
    if (picture.isEmpty())
        return nullptr;
    auto item = std::make_unique<ObjItemBitmap>(cardUnits, std::move(picture));
    item->qr = content;
    item->color = color & 0xFFFFFF;
    const int cx = (cardUnits.left + cardUnits.right) / 2, cy = (cardUnits.top + cardUnits.bottom) / 2;
    item->x = cx - side / 2;
    item->y = cy - side / 2;
    item->cx = side;
    item->cy = side;
    return item;
}

// The rule: a contrast ratio against white of at least 3:1 (WCAG's, from the
// colour's relative luminance L: 1.05 / (L + 0.05)), so L may be at most 0.3.
// Pure red, blue and mid grey pass; yellow, light green and pastels do not.
bool qrColorReadable(std::uint32_t color)
{
    const auto linear = [](std::uint32_t c) {
        const double v = double(c & 0xFF) / 255.0;
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    // A COLORREF holds red in the low byte.
    const double l = 0.2126 * linear(color) + 0.7152 * linear(color >> 8) + 0.0722 * linear(color >> 16);
    return 1.05 / (l + 0.05) >= 3.0;
}
