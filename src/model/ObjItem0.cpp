// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ObjItem0.h"

#include "model/ClassRegistry.h"
#include "model/ItemBody.h"
#include "model/ObjItemBitmap.h"
#include "model/ObjItemLine.h"
#include "model/ObjItemRect.h"
#include "model/ObjItemText.h"

#include <new>

namespace {

// Allocation failures give no item; the legacy object stays as it was.
template <class F>
std::unique_ptr<ObjItem> orNone(F&& make)
{
    try {
        return make();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

} // namespace

const ClassInfo& ObjItem0::runtimeClass() const
{
    return kObjItem0Class;
}

void ObjItem0::Serialize(Archive& ar)
{
    itembody::serializeCommon(ar, x, y, cx, cy, color);
}

std::unique_ptr<ObjItem> ObjItem0::convertInto(std::unique_ptr<ObjItem> item) const
{
    item->x = x;
    item->y = y;
    item->color = color;
    item->cx = cx;
    item->cy = cy;
    return item;
}

std::unique_ptr<ObjItem> ObjItem0::Convert() const
{
    return orNone([&] { return convertInto(std::make_unique<ObjItem>()); });
}

ObjItem0Text::ObjItem0Text() : text("Text"), font(ObjItemText::defaultFont())
{
    font.height = -12;
}

const ClassInfo& ObjItem0Text::runtimeClass() const
{
    return kObjItem0TextClass;
}

void ObjItem0Text::Serialize(Archive& ar)
{
    ObjItem0::Serialize(ar);
    itembody::serializeText(ar, align, reserved, text, font);
}

std::unique_ptr<ObjItem> ObjItem0Text::Convert() const
{
    return orNone([&] {
        auto item = std::make_unique<ObjItemText>(ObjItemText::ForReading{});
        item->text = text;
        item->font = font;
        item->reserved = reserved;
        item->align = align;
        return convertInto(std::move(item));
    });
}

ObjItem0Line::ObjItem0Line()
{
    cx = 30;
}

const ClassInfo& ObjItem0Line::runtimeClass() const
{
    return kObjItem0LineClass;
}

void ObjItem0Line::Serialize(Archive& ar)
{
    ObjItem0::Serialize(ar);
    itembody::serializeLine(ar, width);
}

std::unique_ptr<ObjItem> ObjItem0Line::Convert() const
{
    return orNone([&] {
        auto item = std::make_unique<ObjItemLine>();
        item->width = width;
        return convertInto(std::move(item));
    });
}

ObjItem0Rect::ObjItem0Rect()
{
    cx = cy = 30;
}

const ClassInfo& ObjItem0Rect::runtimeClass() const
{
    return kObjItem0RectClass;
}

std::unique_ptr<ObjItem> ObjItem0Rect::Convert() const
{
    return orNone([&] { return convertInto(std::make_unique<ObjItemRect>()); });
}

const ClassInfo& ObjItem0Bitmap::runtimeClass() const
{
    return kObjItem0BitmapClass;
}

void ObjItem0Bitmap::Serialize(Archive& ar)
{
    ObjItem0::Serialize(ar);
    itembody::serializePicture(ar, dib, dibWidth, dibHeight, whiteOut, edgeMode, shape);
}

std::unique_ptr<ObjItem> ObjItem0Bitmap::Convert() const
{
    return orNone([&] {
        auto item = std::make_unique<ObjItemBitmap>();
        // Copy-on-write bytes: the new item's picture outlives this object.
        item->dib = dib;
        item->dibWidth = dibWidth;
        item->dibHeight = dibHeight;
        item->whiteOut = whiteOut;
        item->edgeMode = edgeMode;
        item->shape = shape;
        return convertInto(std::move(item));
    });
}

std::unique_ptr<ObjItem> toCurrentItem(std::unique_ptr<Serializable> object)
{
    if (auto* item = dynamic_cast<ObjItem*>(object.get())) {
        object.release();
        return std::unique_ptr<ObjItem>(item);
    }
    const auto* legacy = dynamic_cast<const ObjItem0*>(object.get());
    if (!legacy)
        return nullptr;
    std::unique_ptr<ObjItem> item = legacy->Convert();
    if (item)
        item->storedClass = QByteArray(legacy->runtimeClass().name);
    return item;
}
