// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/Images.h"
#include "resources/Templates.h"
#include "ui/DialogTemplate.h"

#include <gtest/gtest.h>

#include <QSet>

#include <functional>

using namespace resources;

namespace {

const int kGlyphIds[] = {138, 139, 140, 142, 144, 147, 162, 179, 180, 181, 182};

bool isBlack(QRgb c) { return (c & 0xFFFFFF) == 0; }

// Checks one image's size, format and number of colours; calls `each` for every pixel.
void checkImage(int id, QSize size, int maxColours, const std::function<void(int, int, QRgb)>& each = {})
{
    const QImage img = bitmap(id);
    ASSERT_EQ(img.size(), size) << id;
    ASSERT_EQ(img.format(), QImage::Format_RGB32) << id;
    QSet<QRgb> colours;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            colours.insert(img.pixel(x, y));
            if (each)
                each(x, y, img.pixel(x, y));
        }
    EXPECT_LE(colours.size(), maxColours) << id;
}

} // namespace

TEST(Images, MaskTexturesAndGlyphsAgree)
{
    for (int id : {0, -1, 128, 129, 143, 153, 183, 999})
        EXPECT_TRUE(bitmap(id).isNull()) << id;
    for (int id : {130, 131}) // the textures
        checkImage(id, {100, 100}, 256);

    // The mask is pure black (opaque) and white, a button face rather than a speck,
    // and it fits the 22-unit tool button.
    const platform::DialogSpec& editor = dialogTemplate(dlg::Editor);
    const int buttonWidth = ui::DialogUnits::forFont(ui::dialogFont(editor)).toPixelsX(22);
    int opaque = 0, cutOff = 0, grey = 0, outside = 0;
    checkImage(141, {40, 40}, 2, [&](int x, int, QRgb c) {
        grey += c != 0xFF000000u && c != 0xFFFFFFFFu;
        opaque += isBlack(c);
        cutOff += isBlack(c) && x >= buttonWidth;
    });
    EXPECT_EQ(std::pair(grey, cutOff), std::pair(0, 0)) << "no grey; the face is not cut off by the button";
    EXPECT_GT(opaque, 900);

    // Every glyph is black (transparent) outside the mask, and no two are alike.
    const QImage mask = bitmap(141);
    QSet<QByteArray> faces;
    for (int id : kGlyphIds) {
        checkImage(id, {40, 40}, 16,
                   [&](int x, int y, QRgb c) { outside += !isBlack(mask.pixel(x, y)) && !isBlack(c); });
        const QImage face = bitmap(id).copy(8, 8, 24, 24);
        faces.insert(QByteArray(reinterpret_cast<const char*>(face.constBits()), face.sizeInBytes()));
    }
    EXPECT_EQ(outside, 0);
    EXPECT_EQ(faces.size(), int(std::size(kGlyphIds)));
}

TEST(Images, IndicatorSheets)
{
    // Four 20-pixel frames: pictures above, pure black-and-white masks below.
    for (int id : {134, 135}) {
        const QImage s = bitmap(id);
        int opaque[4] = {}, misplaced = 0, wrong = 0;
        checkImage(id, {80, 40}, 16, [&](int x, int y, QRgb m) {
            if (y < 20)
                return;
            opaque[x / 20] += isBlack(m);
            misplaced += isBlack(m) && x % 20 >= 10; // the caption starts half a frame in
            wrong += m != 0xFF000000u && (m != 0xFFFFFFFFu || !isBlack(s.pixel(x, y - 20)));
        });
        EXPECT_EQ(std::pair(misplaced, wrong), std::pair(0, 0)) << id << ": masked-out picture pixels must be black";
        for (int f = 0; f < 4; ++f)
            EXPECT_GT(opaque[f], 50) << id << " frame " << f;
        const auto frame = [&](int f) { return s.copy(f * 20, 0, 20, 20); };
        // Pressed shows a mark; disabled is greyed.
        EXPECT_TRUE(frame(0) != frame(1) && frame(2) != frame(3) && frame(0) != frame(2)) << id;
    }
}

TEST(Images, Icons)
{
    for (int size : {16, 32, 48})
        EXPECT_TRUE(appIcon().availableSizes().contains(QSize(size, size))) << size;
    for (int id : {128, 153}) {
        const QImage img = iconPixmap(id, 32).toImage();
        ASSERT_EQ(img.size(), QSize(32, 32)) << id;
        EXPECT_EQ(std::pair(qAlpha(img.pixel(0, 0)), qAlpha(img.pixel(16, 20))), std::pair(0, 255)) << id;
    }
    EXPECT_TRUE(iconPixmap(130).isNull() && iconPixmap(128, 4).isNull());
}
