#include "DocumentBytes.h"

#include "model/ItemField.h"
#include "model/ObjItemBitmap.h"
#include "model/ObjItemLine.h"
#include "model/ObjItemRect.h"
#include "model/ObjItemText.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

// A value of the type that no default holds and no rule of the editor changes.
FieldValue editable(FieldType type)
{
    platform::LogFont font = ObjItemText::defaultFont();
    font.height = -20;
    font.weight = 700;
    switch (type) {
    case FieldType::Int: return 1;
    case FieldType::Color: return std::uint32_t(0x123456);
    case FieldType::Text: return QByteArray("abc");
    case FieldType::Font: return font;
    case FieldType::Picture: return testPicture(3, 2);
    }
    return {};
}

// A stored value the editor's rules would not keep.
FieldValue odd(FieldType type)
{
    platform::LogFont font;
    font.height = 12;
    font.faceName[31] = 'x';
    switch (type) {
    case FieldType::Int: return -5;
    case FieldType::Color: return std::uint32_t(0xFFFFFFFF);
    case FieldType::Text: return QByteArray("\x82\xa0\xff", 3);
    case FieldType::Font: return font;
    case FieldType::Picture: return platform::Dib(QByteArray("not a picture"));
    }
    return {};
}

TEST(ItemFieldTest, EveryFieldOfEveryKindReadsBackWhatWasSetOrLoaded)
{
    std::unique_ptr<ObjItem> items[] = {std::make_unique<ObjItem>(), std::make_unique<ObjItemText>(),
                                        std::make_unique<ObjItemLine>(), std::make_unique<ObjItemRect>(),
                                        std::make_unique<ObjItemBitmap>()};
    for (auto& item : items) {
        std::set<std::string> names;
        for (const ItemField& f : item->fields()) {
            const std::string where = std::string(item->className()) + "." + f.name;
            EXPECT_TRUE(names.insert(f.name).second) << where;
            EXPECT_EQ(findField(*item, f.name), &f) << where;
            EXPECT_EQ(f.get(*item).index(), std::size_t(f.type)) << where;
            f.set(*item, editable(f.type));
            EXPECT_TRUE(f.get(*item) == editable(f.type)) << where;
            f.load(*item, odd(f.type));
            EXPECT_TRUE(f.get(*item) == odd(f.type)) << where;
        }
        EXPECT_EQ(findField(*item, "kind"), nullptr);
    }
}

TEST(ItemFieldTest, SettingFollowsTheItemsRulesLoadingKeepsTheStoredValues)
{
    ObjItemText text;
    const ItemField& t = *findField(text, "text");
    const int width = text.cx;
    t.load(text, QByteArray("WWWWWWWW"));
    EXPECT_EQ(text.cx, width);
    t.set(text, QByteArray("WWWWWWWW"));
    EXPECT_GT(text.cx, width);
    EXPECT_THROW(t.set(text, 1), std::bad_variant_access);

    const ItemField& f = *findField(text, "font");
    platform::LogFont font = text.font;
    font.height = 100;
    f.load(text, font);
    EXPECT_EQ(text.font.height, 100);
    f.set(text, font);
    EXPECT_EQ(text.font.height, -72);

    ObjItemBitmap picture;
    const ItemField& d = *findField(picture, "dib");
    place(picture, 0, 0, 400, 400);
    d.load(picture, testPicture(10, 40)); // the box stays, the picture's size follows its header
    EXPECT_EQ(picture.GetBounds(), (platform::Rect{0, 0, 400, 400}));
    EXPECT_EQ(picture.dibHeight, 40);
    d.set(picture, testPicture(40, 10)); // fitted and centred in the old box
    EXPECT_EQ(picture.GetBounds(), (platform::Rect{0, 150, 400, 250}));
}

} // namespace
