// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ItemField.h"

#include "model/ObjItemBitmap.h"
#include "model/ObjItemLine.h"
#include "model/ObjItemText.h"

#include <type_traits>

namespace {

template <class C, class T>
C classOf(T C::*);
template <class C, class T>
T typeOf(T C::*);

// The item class and value type of a data member pointer.
template <auto Member>
using ItemOf = decltype(classOf(Member));
template <auto Member>
using TypeOf = decltype(typeOf(Member));

template <class T>
constexpr FieldType fieldType()
{
    if constexpr (std::is_same_v<T, int>)
        return FieldType::Int;
    else if constexpr (std::is_same_v<T, std::uint32_t>)
        return FieldType::Color;
    else if constexpr (std::is_same_v<T, CardText>)
        return FieldType::Text;
    else if constexpr (std::is_same_v<T, platform::LogFont>)
        return FieldType::Font;
    else
        return FieldType::Picture;
}

template <auto Member>
FieldValue read(const ObjItem& item)
{
    return static_cast<const ItemOf<Member>&>(item).*Member;
}

// Through the item's member function Write, or by plain assignment when it is null.
template <auto Member, auto Write>
void write(ObjItem& item, const FieldValue& value)
{
    auto& target = static_cast<ItemOf<Member>&>(item);
    const auto& v = std::get<TypeOf<Member>>(value);
    if constexpr (std::is_null_pointer_v<decltype(Write)>)
        target.*Member = v;
    else
        (target.*Write)(v);
}

template <auto Member, auto Set = nullptr, auto Load = nullptr>
constexpr ItemField entry(const char* name, bool measured = false)
{
    return {name, fieldType<TypeOf<Member>>(), &read<Member>, &write<Member, Set>, &write<Member, Load>, measured};
}

constexpr ItemField kX = entry<&ObjItem::x>("x");
constexpr ItemField kY = entry<&ObjItem::y>("y");
constexpr ItemField kCx = entry<&ObjItem::cx>("cx");
constexpr ItemField kCy = entry<&ObjItem::cy>("cy");
constexpr ItemField kColor = entry<&ObjItem::color>("color");

constexpr ItemField kBaseFields[] = {kX, kY, kCx, kCy, kColor};

constexpr ItemField kTextFields[] = {
    kX, kY, kCx, kCy, kColor,
    entry<&ObjItemText::text, static_cast<void (ObjItemText::*)(const CardText&)>(&ObjItemText::SetText)>("text", true),
    entry<&ObjItemText::font, &ObjItemText::SetFont>("font", true),
    entry<&ObjItemText::reserved>("reserved"),
    entry<&ObjItemText::align, &ObjItemText::SetAlign>("align"),
};

constexpr ItemField kLineFields[] = {
    kX, kY, kCx, kCy, kColor,
    entry<&ObjItemLine::width, &ObjItemLine::SetWidth>("width"),
};

constexpr ItemField kPictureFields[] = {
    kX, kY, kCx, kCy, kColor,
    entry<&ObjItemBitmap::dib, &ObjItemBitmap::ReplacePicture, &ObjItemBitmap::takePicture>("dib"),
    entry<&ObjItemBitmap::dibWidth>("dibWidth"),
    entry<&ObjItemBitmap::dibHeight>("dibHeight"),
    entry<&ObjItemBitmap::whiteOut>("whiteOut"),
    entry<&ObjItemBitmap::edgeMode>("edgeMode"),
    entry<&ObjItemBitmap::shape>("shape"),
};

} // namespace

std::span<const ItemField> ObjItem::fields() const
{
    return kBaseFields;
}

std::span<const ItemField> ObjItemText::fields() const
{
    return kTextFields;
}

std::span<const ItemField> ObjItemLine::fields() const
{
    return kLineFields;
}

std::span<const ItemField> ObjItemBitmap::fields() const
{
    return kPictureFields;
}

const ItemField* findField(const ObjItem& item, std::string_view name)
{
    for (const ItemField& field : item.fields())
        if (name == field.name)
            return &field;
    return nullptr;
}
