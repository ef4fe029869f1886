#include "platform/Dc.h"
#include "platform/Fonts.h"

#include <QElapsedTimer>
#include <QFontInfo>
#include <gtest/gtest.h>

#include <climits>

using namespace platform;

namespace {

LogFont gothic(int height)
{
    LogFont f;
    f.height = height;
    f.weight = 400;
    f.charSet = 128;
    f.setFaceName(QStringLiteral("ＭＳ Ｐゴシック"));
    return f;
}

// Columns and rows holding dark ink.
QRect inkOf(const QImage& image)
{
    QRect r;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                r |= QRect(x, y, 1, 1);
    return r;
}

class DcText : public ::testing::Test {
protected:
    static void SetUpTestSuite() { installFontSubstitutions(); }
};

} // namespace

TEST_F(DcText, HeightSignChoosesCharacterOrCellHeight)
{
    Dc dc(QSize(10, 10));
    dc.selectFont(gothic(-40));
    EXPECT_EQ(QFontInfo(dc.font()).family(), QStringLiteral("IPAPGothic"));
    EXPECT_EQ(dc.font().pixelSize(), 40);
    const TextMetrics character = dc.textMetrics();
    EXPECT_GT(character.height, 40);
    EXPECT_EQ(character.internalLeading, character.height - 40);

    for (int cell : {12, 40, 120}) {
        dc.selectFont(gothic(cell));
        EXPECT_EQ(dc.textMetrics().height, cell) << cell;
        EXPECT_LT(dc.font().pixelSize(), cell);
    }
    dc.selectFont(gothic(0));
    EXPECT_GT(dc.textMetrics().height, 0);
    LogFont bold = gothic(-20);
    bold.weight = 700;
    bold.italic = 1;
    dc.selectFont(bold);
    EXPECT_TRUE(dc.font().bold());
    EXPECT_TRUE(dc.font().italic());
}

TEST_F(DcText, CalcRectMeasuresLinesAndWidestLine)
{
    Dc dc(QSize(10, 10));
    dc.selectFont(gothic(-24));
    const int lh = dc.textMetrics().height;
    QRect one(0, 0, INT_MAX, 0);
    dc.measureText(QStringLiteral("BBBB&"), one, dt::NoPrefix);
    QRect shorter(0, 0, INT_MAX, 0);
    dc.measureText(QStringLiteral("BBBB"), shorter);
    EXPECT_GT(one.width(), shorter.width()) << "the ampersand is drawn as itself";
    EXPECT_EQ(one.height(), lh);

    QRect three(5, 7, 1000, 0);
    const int h = dc.measureText(QStringLiteral("A\r\nBBBB&\nCC"), three, dt::CalcRect | dt::NoClip);
    EXPECT_EQ(h, 3 * lh);
    EXPECT_EQ(three, QRect(5, 7, one.width(), 3 * lh));

    QRect rect(0, 0, 0, 0);
    EXPECT_EQ(dc.measureText(QStringLiteral("A\r\n\r\nB\r\n"), rect), 3 * lh) << "CR LF, empty line, no line after the last break";
    EXPECT_EQ(dc.measureText(QStringLiteral("A\rB"), rect), 2 * lh);
    EXPECT_EQ(dc.measureText(QString(), rect), 0);
    EXPECT_EQ(rect.width(), 0);
    EXPECT_EQ(dc.measureText(QString(), rect, dt::SingleLine), lh);
    EXPECT_EQ(dc.measureText(QStringLiteral("A\r\nB"), rect, dt::SingleLine), lh);

    // DrawText with CalcRect draws nothing and grows the rectangle.
    const QImage before = dc.image()->copy();
    QRect grown(1, 1, 0, 0);
    dc.drawText(QStringLiteral("BBBB&"), grown, dt::CalcRect);
    EXPECT_EQ(grown.width(), one.width());
    EXPECT_EQ(*dc.image(), before);
}

TEST_F(DcText, AlignmentPlacesEachLine)
{
    auto draw = [](const QString& text, unsigned flags) {
        Dc dc(QSize(200, 80));
        dc.selectFont(gothic(-20));
        dc.setBkMode(BkMode::Transparent);
        dc.setViewportOrigin(QPoint(10, 5));
        dc.drawText(text, QRect(40, 0, 100, 60), flags | dt::NoPrefix);
        return inkOf(*dc.image());
    };
    const QRect left = draw(QStringLiteral("III"), dt::Left);
    const QRect centre = draw(QStringLiteral("III"), dt::Center);
    const QRect right = draw(QStringLiteral("III"), dt::Right);
    EXPECT_GE(left.left(), 50);
    EXPECT_LE(left.left(), 54);
    EXPECT_GE(left.top(), 5);
    EXPECT_LE(right.right(), 149);
    EXPECT_GE(right.right(), 145);
    EXPECT_NEAR((centre.left() + centre.right()) / 2.0, 99.5, 2.0);
    EXPECT_EQ(centre.width(), left.width());

    // Two lines: the short one is centred under the long one.
    Dc dc(QSize(300, 80));
    dc.selectFont(gothic(-20));
    const int lh = dc.textMetrics().height;
    dc.drawText(QStringLiteral("WWWWWW\r\nI"), QRect(0, 0, 300, 80), dt::Center | dt::NoClip);
    const QRect second = inkOf(dc.image()->copy(0, lh, 300, lh));
    EXPECT_NEAR((second.left() + second.right()) / 2.0, 149.5, 2.0);
    const QRect all = inkOf(*dc.image());
    EXPECT_GE(all.top(), 0);
    EXPECT_LT(all.bottom(), 2 * lh);

    // Single line, vertically centred.
    Dc mid(QSize(100, 100));
    mid.selectFont(gothic(-20));
    mid.drawText(QStringLiteral("H"), QRect(0, 0, 100, 100), dt::SingleLine | dt::VCenter);
    const QRect h = inkOf(*mid.image());
    EXPECT_GT(h.top(), 35);
    EXPECT_LT(h.bottom(), 65);
}

TEST_F(DcText, ColourBackgroundModeAndClipping)
{
    Dc dc(QSize(120, 40));
    dc.selectFont(gothic(-20));
    dc.setTextColor(Qt::red);
    dc.setBkColor(Qt::blue);
    dc.setBkMode(BkMode::Opaque);
    QRect box(0, 0, 0, 0);
    dc.measureText(QStringLiteral("H"), box);
    dc.drawText(QStringLiteral("H"), QRect(0, 0, 120, 40), dt::NoClip);
    EXPECT_EQ(dc.image()->pixel(box.width() - 1, 0), 0xFF0000FFu) << "the line box is filled";
    EXPECT_EQ(dc.image()->pixel(box.width() + 1, 0), 0xFFFFFFFFu);
    bool red = false;
    for (int x = 0; x < box.width(); ++x)
        for (int y = 0; y < box.height(); ++y)
            red |= qRed(dc.image()->pixel(x, y)) > 200 && qBlue(dc.image()->pixel(x, y)) < 60;
    EXPECT_TRUE(red);

    Dc clipped(QSize(120, 40));
    clipped.selectFont(gothic(-30));
    clipped.drawText(QStringLiteral("WWWW"), QRect(0, 0, 30, 40), dt::Left);
    EXPECT_LE(inkOf(*clipped.image()).right(), 29);
    Dc unclipped(QSize(120, 40));
    unclipped.selectFont(gothic(-30));
    unclipped.drawText(QStringLiteral("WWWW"), QRect(0, 0, 30, 40), dt::NoClip);
    EXPECT_GT(inkOf(*unclipped.image()).right(), 60);
}

TEST_F(DcText, ExtremeHeightsAreClamped)
{
    QElapsedTimer timer;
    timer.start();
    Dc dc(QSize(64, 64));
    for (int h : {100000, -100000, INT_MIN, INT_MAX, 1, -1}) {
        dc.selectFont(gothic(h));
        const TextMetrics m = dc.textMetrics();
        EXPECT_GT(m.height, 0) << h;
        EXPECT_LE(dc.font().pixelSize(), 16384) << h;
        QRect r(INT_MAX - 10, INT_MIN, 10, 1);
        dc.measureText(QStringLiteral("あW\r\nx"), r);
        QRect farLeft(INT_MIN, INT_MIN, 1, 1);
        dc.measureText(QString(), farLeft);
        EXPECT_GE(r.width(), 0);
        dc.drawText(QStringLiteral("あW"), QRect(-5, -5, 100, 100), dt::Center);
    }
    EXPECT_LT(timer.elapsed(), 10000);
}
