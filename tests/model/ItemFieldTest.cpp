#include "DocumentBytes.h"

#include "model/ItemField.h"
#include "model/ObjItemBitmap.h"
#include "model/ObjItemText.h"

#include <gtest/gtest.h>

namespace {

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
    // What an undo keeps and puts back is the whole text.
    text.SetText(QStringLiteral("𠮷野"));
    ObjItemText copy;
    t.load(copy, t.get(text));
    EXPECT_EQ(copy.textString(), QStringLiteral("𠮷野"));

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
