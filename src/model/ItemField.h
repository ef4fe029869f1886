// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/CardText.h"
#include "platform/Dib.h"
#include "platform/LogFont.h"

#include <cstdint>
#include <string_view>
#include <variant>

class ObjItem;

// A field's value. A std::variant keeps every getter and setter to the one exact
// type of its field; a value of another type throws std::bad_variant_access.
using FieldValue = std::variant<int, std::uint32_t, CardText, platform::LogFont, platform::Dib>;

// The value types, in the order of FieldValue's alternatives: int32, a COLORREF,
// a text (CP932 bytes, or Unicode CP932 cannot hold), a LOGFONT, a packed picture.
enum class FieldType { Int, Color, Text, Font, Picture };

// One stored field of an item kind. The tables list the fields in the order a
// reader fills them, the common ones (x, y, cx, cy, color) first; ObjItem::fields()
// gives an item's table. Use an entry only with items whose table holds it.
struct ItemField {
    // Stable; the key of pmrtool's JSON.
    const char* name;
    FieldType type;
    FieldValue (*get)(const ObjItem& item);
    // As the editor changes it, through the item's own rules: a text is measured
    // again, a font size clamped, a new alignment keeps the block in place, a new
    // picture fitted into the old box.
    void (*set)(ObjItem& item, const FieldValue& value);
    // Exactly the stored value, as a reader fills it: nothing is measured, clamped
    // or moved. A picture also takes its dibWidth and dibHeight from its header,
    // which the entries after it may then overwrite.
    void (*load)(ObjItem& item, const FieldValue& value);
    // The item measures its size from this field (ObjItem::RecalcSize).
    bool measured = false;
};

// A value for the field of this name, to be set as the editor sets it.
struct FieldEdit {
    const char* name;
    FieldValue value;
};

// The entry of the item's table with this name, or null.
const ItemField* findField(const ObjItem& item, std::string_view name);
