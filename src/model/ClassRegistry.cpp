// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ClassRegistry.h"

#include "model/ObjItem0.h"
#include "model/ObjItemBitmap.h"
#include "model/ObjItemLine.h"
#include "model/ObjItemRect.h"
#include "model/ObjItemText.h"

#include <cstring>

namespace {

template <class T, class... Args>
std::unique_ptr<Serializable> make(Args... args)
{
    return std::make_unique<T>(args...);
}

// The reader overwrites every stored field, so a text made for it is not measured.
std::unique_ptr<Serializable> makeText()
{
    return std::make_unique<ObjItemText>(ObjItemText::ForReading{});
}

} // namespace

const ClassInfo kObjItemClass{"ObjItem", 1, true, &make<ObjItem>};
const ClassInfo kObjItemTextClass{"ObjItemText", 1, true, &makeText};
const ClassInfo kObjItemLineClass{"ObjItemLine", 1, true, &make<ObjItemLine>};
const ClassInfo kObjItemRectClass{"ObjItemRect", 1, true, &make<ObjItemRect>};
const ClassInfo kObjItemBitmapClass{"ObjItemBitmap", 1, true, &make<ObjItemBitmap>};
const ClassInfo kObjItem0Class{"ObjItem0", 1, true, &make<ObjItem0>};
const ClassInfo kObjItem0TextClass{"ObjItem0Text", 1, true, &make<ObjItem0Text>};
const ClassInfo kObjItem0LineClass{"ObjItem0Line", 1, true, &make<ObjItem0Line>};
const ClassInfo kObjItem0RectClass{"ObjItem0Rect", 1, true, &make<ObjItem0Rect>};
const ClassInfo kObjItem0BitmapClass{"ObjItem0Bitmap", 1, true, &make<ObjItem0Bitmap>};
const ClassInfo kPmrDataClass{"PmrData", 1, false, nullptr};

std::span<const ClassInfo* const> registeredClasses()
{
    static const ClassInfo* const classes[] = {
        &kObjItemClass,  &kObjItemTextClass,  &kObjItemLineClass,  &kObjItemRectClass,  &kObjItemBitmapClass,
        &kObjItem0Class, &kObjItem0TextClass, &kObjItem0LineClass, &kObjItem0RectClass, &kObjItem0BitmapClass,
        &kPmrDataClass,
    };
    return classes;
}

const ClassInfo* findClass(QByteArrayView name)
{
    for (const ClassInfo* info : registeredClasses()) {
        const auto n = static_cast<qsizetype>(std::strlen(info->name));
        if (n == name.size() && std::memcmp(info->name, name.data(), static_cast<size_t>(n)) == 0)
            return info;
    }
    return nullptr;
}
