#include "resources/Images.h"
#include "resources/Templates.h"
#include "platform/Fonts.h"

#include <gtest/gtest.h>

#include <QSet>

#include <cstdlib>

using namespace resources;

namespace {

const int kGlyphIds[] = {138, 139, 140, 142, 144, 147, 162, 179, 180, 181};

bool isBlackOrWhite(QRgb c) { return c == 0xFF000000u || c == 0xFFFFFFFFu; }
bool isBlack(QRgb c) { return (c & 0xFFFFFF) == 0; }

int colourCount(const QImage& img)
{
    QSet<QRgb> seen;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            seen.insert(img.pixel(x, y));
    return int(seen.size());
}

// Mean absolute difference of grey levels between two columns (or rows).
double lineDiff(const QImage& img, int a, int b, bool columns)
{
    double sum = 0;
    const int n = columns ? img.height() : img.width();
    for (int i = 0; i < n; ++i) {
        const QRgb p = columns ? img.pixel(a, i) : img.pixel(i, a);
        const QRgb q = columns ? img.pixel(b, i) : img.pixel(i, b);
        sum += std::abs(qGray(p) - qGray(q));
    }
    return sum / n;
}

double meanGrey(const QImage& img)
{
    double sum = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            sum += qGray(img.pixel(x, y));
    return sum / (img.width() * img.height());
}

} // namespace

TEST(Images, SizesFormatsAndUnknownIds)
{
    struct Want { int id, w, h; };
    std::vector<Want> wants{{130, 100, 100}, {131, 100, 100}, {134, 80, 40}, {135, 80, 40},
                            {141, 40, 40}, {155, 8, 8}};
    for (int id : kGlyphIds)
        wants.push_back({id, 40, 40});
    for (const Want& w : wants) {
        const QImage img = bitmap(w.id);
        EXPECT_EQ(img.size(), QSize(w.w, w.h)) << w.id;
        EXPECT_EQ(img.format(), QImage::Format_RGB32) << w.id;
        const int limit = (w.id == 130 || w.id == 131) ? 256 : 16;
        EXPECT_LE(colourCount(img), limit) << w.id;
    }
    for (int id : {0, -1, 128, 129, 143, 153, 999})
        EXPECT_TRUE(bitmap(id).isNull()) << id;
}

TEST(Images, OneBitMaskAndPattern)
{
    const QImage pattern = bitmap(155);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(pattern.pixel(x, y), (y % 2 == 1 && x % 2 == 1) ? 0xFFFFFFFFu : 0xFF000000u)
                << x << "," << y;

    const QImage mask = bitmap(141);
    int opaque = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            ASSERT_TRUE(isBlackOrWhite(mask.pixel(x, y)));
            opaque += isBlack(mask.pixel(x, y));
        }
    EXPECT_GT(opaque, 900); // a button face, not a speck

    // Every glyph is transparent (black) outside the shared mask, and no two are alike.
    QSet<qint64> distinct;
    for (int id : kGlyphIds) {
        const QImage g = bitmap(id);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) {
                if (!isBlack(mask.pixel(x, y))) {
                    ASSERT_TRUE(isBlack(g.pixel(x, y))) << id << " at " << x << "," << y;
                }
            }
        QImage face = g.copy(8, 8, 24, 24);
        distinct.insert(qint64(qHash(QByteArray(reinterpret_cast<const char*>(face.constBits()),
                                                face.sizeInBytes()))));
    }
    EXPECT_EQ(distinct.size(), 10);
}

TEST(Images, ToolFaceFitsTheToolButton)
{
    platform::installFontSubstitutions();
    const platform::DialogSpec& editor = dialogTemplate(dlg::Editor);
    const platform::DialogUnits units = platform::DialogUnits::forFont(platform::dialogFont(editor));
    const int buttonWidth = units.toPixelsX(22); // every tool button is 22 × 27 units
    const QImage mask = bitmap(141);
    for (int y = 0; y < 40; ++y)
        for (int x = buttonWidth; x < 40; ++x)
            ASSERT_FALSE(isBlack(mask.pixel(x, y))) << "column " << x << " is cut off";
}

TEST(Images, IndicatorSheets)
{
    for (int id : {134, 135}) {
        const QImage s = bitmap(id);
        QImage frames[4];
        for (int f = 0; f < 4; ++f) {
            int opaque = 0;
            for (int y = 0; y < 20; ++y)
                for (int x = 0; x < 20; ++x) {
                    const QRgb m = s.pixel(f * 20 + x, 20 + y);
                    ASSERT_TRUE(isBlackOrWhite(m)) << id;
                    if (isBlack(m)) {
                        ++opaque;
                        EXPECT_LT(x, 10) << id << ": the caption starts half a frame in";
                    } else {
                        EXPECT_TRUE(isBlack(s.pixel(f * 20 + x, y))) << id << " frame " << f;
                    }
                }
            EXPECT_GT(opaque, 50) << id << " frame " << f;
            frames[f] = s.copy(f * 20, 0, 20, 20);
        }
        EXPECT_NE(frames[0], frames[1]) << id; // pressed shows a mark
        EXPECT_NE(frames[2], frames[3]) << id;
        EXPECT_NE(frames[0], frames[2]) << id; // disabled is greyed
    }
}

TEST(Images, TexturesTileSeamlesslyAndCarryTheirText)
{
    for (int id : {130, 131}) {
        const QImage t = bitmap(id);
        for (bool columns : {true, false}) {
            double interior = 0;
            for (int i = 0; i < 98; ++i)
                interior = std::max(interior, lineDiff(t, i, i + 1, columns));
            EXPECT_LE(lineDiff(t, 99, 0, columns), interior) << id;
            EXPECT_GT(interior, 0.5) << id << ": a texture, not a flat fill";
        }
    }
    EXPECT_GT(meanGrey(bitmap(130)), 200); // black text on light paper
    EXPECT_LT(meanGrey(bitmap(131)), 90);  // white captions on dark buttons
}

TEST(Images, Icons)
{
    const QIcon icon = appIcon();
    for (int size : {16, 32, 48})
        EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size))) << size;
    for (int id : {128, 153}) {
        const QImage img = iconPixmap(id, 32).toImage();
        ASSERT_EQ(img.size(), QSize(32, 32)) << id;
        EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0) << id;
        EXPECT_EQ(qAlpha(img.pixel(16, 20)), 255) << id;
    }
    EXPECT_TRUE(iconPixmap(130).isNull());
    EXPECT_TRUE(iconPixmap(128, 4).isNull());
}
