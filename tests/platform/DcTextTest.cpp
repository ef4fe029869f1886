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
    LogFont bold = gothic(0);
    bold.weight = 700;
    bold.italic = 1;
    dc.selectFont(bold);
    EXPECT_GT(dc.textMetrics().height, 0);
    EXPECT_TRUE(dc.font().bold());
    EXPECT_TRUE(dc.font().italic());
}

TEST_F(DcText, CalcRectMeasuresLinesAndWidestLine)
{
    Dc dc(QSize(10, 10));
    dc.selectFont(gothic(-24));
    const int lh = dc.textMetrics().height;
    const struct {
        const char* text;
        unsigned flags;
        int lines;
    } cases[] = {
        {"A\r\n\r\nB\r\n", 0, 3}, // CR LF, an empty line, no line after the last break
        {"A\rB", 0, 2},           {"", 0, 0},
        {"", dt::SingleLine, 1},  {"A\r\nB", dt::SingleLine, 1},
    };
    for (const auto& c : cases) {
        QRect rect(0, 0, 0, 0);
        EXPECT_EQ(dc.measureText(QString::fromLatin1(c.text), rect, c.flags), c.lines * lh) << c.text;
    }

    QRect one(0, 0, INT_MAX, 0);
    dc.measureText(QStringLiteral("BBBB&"), one, dt::NoPrefix);
    QRect shorter(0, 0, INT_MAX, 0);
    dc.measureText(QStringLiteral("BBBB"), shorter);
    EXPECT_GT(one.width(), shorter.width()) << "the ampersand is drawn as itself";
    QRect three(5, 7, 1000, 0);
    EXPECT_EQ(dc.measureText(QStringLiteral("A\r\nBBBB&\nCC"), three, dt::CalcRect | dt::NoClip), 3 * lh);
    EXPECT_EQ(three, QRect(5, 7, one.width(), 3 * lh));
}

TEST_F(DcText, AlignmentPlacesEachLine)
{
    // Through the origin, within the rectangle; a short line centred under the long one.
    for (unsigned flags : {dt::Center, dt::Right}) {
        Dc dc(QSize(300, 80));
        dc.selectFont(gothic(-20));
        dc.setViewportOrigin(QPoint(10, 5));
        const int lh = dc.textMetrics().height;
        dc.drawText(QStringLiteral("WWWWWW\r\nI"), QRect(40, 0, 200, 80), flags | dt::NoClip);
        const QRect first = inkOf(dc.image()->copy(0, 0, 300, lh + 5));
        const QRect second = inkOf(dc.image()->copy(0, lh + 5, 300, lh));
        EXPECT_GE(first.top(), 5);
        EXPECT_LT(second.bottom(), lh);
        if (flags == dt::Center) {
            EXPECT_NEAR((first.left() + first.right()) / 2.0, 149.5, 2.0);
            EXPECT_NEAR((second.left() + second.right()) / 2.0, 149.5, 2.0);
        } else {
            EXPECT_TRUE(first.right() >= 245 && first.right() <= 249) << first.right();
            EXPECT_TRUE(second.right() >= 245 && second.right() <= 249) << second.right();
        }
    }
}

// Everything draws text on a transparent background.
TEST_F(DcText, ColourAndClipping)
{
    Dc dc(QSize(120, 40));
    dc.selectFont(gothic(-20));
    dc.setTextColor(Qt::red);
    dc.setBkMode(BkMode::Transparent);
    QRect box(0, 0, 0, 0);
    dc.measureText(QStringLiteral("H"), box);
    dc.drawText(QStringLiteral("H"), QRect(0, 0, 120, 40), dt::NoClip);
    EXPECT_EQ(dc.image()->pixel(box.width() - 1, 0), 0xFFFFFFFFu) << "the line box is not filled";
    bool red = false;
    for (int x = 0; x < box.width(); ++x)
        for (int y = 0; y < box.height(); ++y)
            red |= qRed(dc.image()->pixel(x, y)) > 200 && qBlue(dc.image()->pixel(x, y)) < 60;
    EXPECT_TRUE(red) << "the text colour";

    for (unsigned flags : {dt::Left, dt::NoClip}) {
        Dc clip(QSize(120, 40));
        clip.selectFont(gothic(-30));
        clip.drawText(QStringLiteral("WWWW"), QRect(0, 0, 30, 40), flags);
        const int right = inkOf(*clip.image()).right();
        EXPECT_TRUE(flags == dt::NoClip ? right > 60 : right <= 29) << flags << " " << right;
    }
}

TEST_F(DcText, ExtremeHeightsAreClamped)
{
    QElapsedTimer timer;
    timer.start();
    Dc dc(QSize(64, 64));
    for (int h : {100000, -100000, INT_MIN, INT_MAX, 1, -1}) {
        dc.selectFont(gothic(h));
        EXPECT_GT(dc.textMetrics().height, 0) << h;
        EXPECT_LE(dc.font().pixelSize(), 16384) << h;
        QRect r(INT_MAX - 10, INT_MIN, 10, 1);
        dc.measureText(QStringLiteral("あW\r\nx"), r);
        EXPECT_GE(r.width(), 0);
        QRect farLeft(INT_MIN, INT_MIN, 1, 1);
        dc.measureText(QString(), farLeft);
        dc.drawText(QStringLiteral("あW"), QRect(-5, -5, 100, 100), dt::Center);
    }
    EXPECT_LT(timer.elapsed(), 10000);
}
