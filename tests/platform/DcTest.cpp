// SPDX-License-Identifier: GPL-3.0-or-later
#include "Pixels.h"

#include "platform/Dc.h"

#include <QElapsedTimer>
#include <QFontInfo>
#include <QPainter>
#include <gtest/gtest.h>

#include <climits>
#include <functional>

using namespace platform;

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF, kBlack = 0xFF000000, kRed = 0xFFFF0000, kBlue = 0xFF0000FF;

QRgb at(const Dc& dc, int x, int y) { return dc.image()->pixel(x, y) | 0xFF000000; }

// The bounding box and number of the pixels of one colour.
std::pair<QRect, int> inkOf(const Dc& dc, QRgb color)
{
    const auto is = [color](QRgb c) { return (c | 0xFF000000) == color; };
    return {pixels::inkBox(*dc.image(), is), pixels::count(*dc.image(), dc.image()->rect(), is)};
}

QRect darkInk(const QImage& image) { return pixels::inkBox(image, [](QRgb c) { return qGray(c) < 128; }); }

LogFont gothic(int height, int weight = 400, std::uint8_t italic = 0)
{
    LogFont f;
    f.height = height;
    f.weight = weight;
    f.italic = italic;
    f.charSet = 128;
    f.setFaceName(QStringLiteral("ＭＳ Ｐゴシック"));
    return f;
}

} // namespace

TEST(DcDraw, EdgeRulesOfShapesLinesAndFills)
{
    using Draw = std::function<void(Dc&)>;
    const auto line = [](int x0, int y0, int x1, int y1, int width) -> Draw {
        return [=](Dc& dc) {
            dc.setPen(Pen::solid(Qt::black, width));
            dc.moveTo(x0, y0);
            dc.lineTo(x1, y1);
        };
    };
    const Draw outlined = [](Dc& dc) {
        dc.setPen(Pen::solid(Qt::red));
        dc.setBrush(Brush::solid(Qt::blue));
        dc.rectangle(8, 7, 2, 2);   // reversed corners are put in order
        dc.setBrush(Brush::null()); // a hollow brush keeps the inside
        dc.rectangle(2, 2, 8, 7);
    };
    const Draw fills = [](Dc& dc) {
        dc.setRop2(Rop2::XorPen);
        dc.fillRect(1, 2, 4, 5, Qt::black);
        dc.fillRect(1, 2, 4, 5, Qt::black);
        dc.fillRect(6, 6, 5, 7, Qt::black);
    };
    // count 0: not checked; blank: a pixel left alone, (0, 0): not checked.
    const struct { const char* what; Draw draw; QRgb color; QRect bounds; int count = 0; QPoint blank{}; } cases[] = {
        {"null pen leaves the last column and row",
         [](Dc& dc) {
             dc.setPen(Pen::null());
             dc.setBrush(Brush::solid(Qt::black));
             dc.rectangle(2, 3, 6, 8);
         },
         kBlack, {2, 3, 3, 4}, 12},
        {"outline covers l..r-1", outlined, kRed, {2, 2, 6, 5}, 2 * 6 + 2 * 3},
        {"brush inside the outline", outlined, kBlue, {3, 3, 4, 3}, 12},
        {"fillRect excludes r and b, copies under XOR, ignores reversed", fills, kBlack, {1, 2, 3, 3}, 9},
        {"lineTo leaves its last pixel and goes on from there", [&](Dc& dc) { line(1, 1, 4, 1, 1)(dc); dc.lineTo(4, 4); },
         kBlack, {1, 1, 4, 3}, 6, {4, 4}},
        {"backwards diagonal", line(8, 8, 4, 4, 0), kBlack, {5, 5, 4, 4}, 4},
        {"steep line: one pixel a row, the end row left", line(2, 0, 4, 10, 0), kBlack, {2, 0, 3, 10}, 10},
        {"wide pens are centred with round caps", line(10, 10, 30, 10, 5), kBlack, {8, 8, 25, 5}, 0, {8, 8}},
    };
    for (const auto& c : cases) {
        Dc dc(QSize(40, 30));
        c.draw(dc);
        const auto [bounds, count] = inkOf(dc, c.color);
        EXPECT_EQ(bounds, c.bounds) << c.what;
        EXPECT_TRUE(c.count == 0 || count == c.count) << c.what << ": " << count;
        EXPECT_TRUE(c.blank.isNull() || at(dc, c.blank.x(), c.blank.y()) != c.color) << c.what;
    }
}

TEST(DcState, OriginClipScaleAndSaveRestore)
{
    Dc dc(QSize(20, 20));
    dc.setViewportOrigin(QPoint(10, 5));
    dc.fillRect(0, 0, 2, 2, Qt::black);
    EXPECT_EQ(inkOf(dc, kBlack).first, QRect(10, 5, 2, 2));

    EXPECT_EQ(dc.save(), 1);
    dc.selectClip(QRect(0, 0, 4, 4)); // device coordinates
    EXPECT_EQ(dc.clipBox(), QRect(-10, -5, 4, 4));
    dc.offsetViewportOrigin(-10, -5);
    dc.setPen(Pen::null());
    dc.setTextColor(Qt::red);
    dc.setScale(600);
    dc.setPrinting(true);
    dc.fillRect(0, 0, 20, 20, Qt::red);
    EXPECT_EQ(inkOf(dc, kRed).first, QRect(0, 0, 4, 4));
    {
        DcSave saved(dc);
        dc.setTextColor(Qt::green);
        dc.setScale(144);
        saved.restore(); // early, and only once
        EXPECT_EQ(std::pair(dc.scale(), dc.save()), std::pair(600, 2));
    }
    EXPECT_EQ(dc.textColor(), QColor(Qt::red));
    EXPECT_TRUE(dc.restore(1)); // straight back to the first level
    EXPECT_FALSE(dc.restore());
    EXPECT_EQ(std::tuple(dc.viewportOrigin(), dc.pen().isNull(), dc.textColor(), dc.scale(), dc.printing(), dc.clipBox()),
              std::tuple(QPoint(10, 5), false, QColor(Qt::black), 72, false, QRect(-10, -5, 20, 20)));
    dc.fillRect(-10, -5, 10, 15, Qt::blue);
    EXPECT_EQ(inkOf(dc, kBlue).second, 400);

    Dc clipped(QSize(20, 20));
    clipped.selectClip(QRect(0, 0, 10, 20));
    clipped.intersectClip(QRect(5, 0, 10, 10));
    clipped.fillRect(0, 0, 20, 20, Qt::black);
    EXPECT_EQ(inkOf(clipped, kBlack), std::make_pair(QRect(5, 0, 5, 10), 50));
    EXPECT_EQ(clipped.directRect(), QRect(5, 0, 5, 10)) << "pixels may be written where the clip allows";
}

TEST(DcImage, StretchMirrorBlockTransfersAndMaskedBlit)
{
    QImage checker(2, 2, QImage::Format_RGB32);
    checker.fill(kBlue);
    checker.setPixel(0, 0, kRed);
    checker.setPixel(1, 1, kRed);
    Dc dc(QSize(10, 10)); // nearest neighbour
    EXPECT_TRUE(dc.drawImage(QRect(1, 1, 8, 8), checker, QRect(0, 0, 2, 2)));
    EXPECT_EQ(inkOf(dc, kRed), std::make_pair(QRect(1, 1, 8, 8), 32));
    EXPECT_EQ(std::pair(at(dc, 4, 4), at(dc, 5, 4)), std::pair(kRed, kBlue));
    // A negative width mirrors, source beyond the picture is not drawn, a 1:1 copy keeps every pixel.
    Dc mirrored(QSize(4, 2)), partial(QSize(4, 4)), copy(QSize(2, 2));
    mirrored.drawImage(4, 0, -4, 2, checker, 0, 0, 2, 2);
    partial.drawImage(QRect(0, 0, 4, 4), checker, QRect(1, 0, 2, 2));
    copy.drawImage(0, 0, checker);
    EXPECT_EQ(std::tuple(at(mirrored, 0, 0), at(mirrored, 3, 0), at(partial, 0, 0), at(partial, 3, 0), *copy.image()),
              std::tuple(kBlue, kRed, kBlue, kWhite, checker));

    Dc white(QSize(4, 1));
    white.fillRect(0, 0, 4, 1, Qt::black);
    EXPECT_TRUE(white.patBlt(0, 0, 2, 1, BltRop::Whiteness));
    EXPECT_EQ(inkOf(white, kWhite), std::make_pair(QRect(0, 0, 2, 1), 2));

    QImage picture(4, 1, QImage::Format_RGB32);
    picture.fill(kBlue);
    QImage mask(4, 1, QImage::Format_RGB32);
    mask.fill(kBlack);
    mask.setPixel(0, 0, kWhite);
    mask.setPixel(1, 0, kWhite);
    Dc target(QSize(4, 1));
    target.fillRect(0, 0, 4, 1, Qt::red);
    target.setBkMode(BkMode::Transparent);
    EXPECT_TRUE(maskedBlit(target, 0, 0, 4, 1, picture, 0, 0, mask, 0, 0));
    EXPECT_EQ(inkOf(target, kRed), std::make_pair(QRect(0, 0, 2, 1), 2));
    EXPECT_EQ(inkOf(target, kBlue), std::make_pair(QRect(2, 0, 2, 1), 2));
    EXPECT_EQ(target.bkMode(), BkMode::Opaque);
}

TEST(DcSafety, ExtremeCoordinatesStayBoundedAndOnSurface)
{
    QElapsedTimer timer;
    timer.start();
    Dc dc(QSize(16, 16)), lines(QSize(16, 16)), blits(QSize(16, 16)), empty(QSize(0, 0));
    dc.setPen(Pen::null());
    dc.setBrush(Brush::solid(Qt::black));
    dc.rectangle(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    EXPECT_EQ(inkOf(dc, kBlack).second, 256);
    lines.moveTo(INT_MIN, INT_MIN);
    lines.lineTo(INT_MAX, INT_MAX);
    EXPECT_EQ(inkOf(lines, kBlack), std::make_pair(QRect(0, 0, 16, 16), 16));
    lines.setPen(Pen::solid(Qt::red, 7));
    lines.moveTo(INT_MIN, 8);
    lines.lineTo(INT_MAX, 8);
    lines.setPen(Pen::solid(Qt::blue, 1));
    lines.setBrush(Brush::solid(Qt::blue));
    lines.rectangle(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
    lines.setViewportOrigin(QPoint(INT_MAX, INT_MIN));
    lines.offsetViewportOrigin(INT_MAX, INT_MIN);
    lines.fillRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX, Qt::green);

    QImage one(1, 1, QImage::Format_RGB32);
    one.fill(kRed);
    EXPECT_TRUE(blits.drawImage(INT_MIN, INT_MIN, INT_MAX, INT_MAX, one, 0, 0, 1, 1));
    EXPECT_TRUE(blits.bitBlt(INT_MAX, INT_MAX, INT_MAX, INT_MAX, one, INT_MIN, INT_MIN));
    EXPECT_TRUE(maskedBlit(blits, INT_MIN, INT_MIN, INT_MAX, INT_MAX, one, 0, 0, one, 0, 0));
    EXPECT_FALSE(blits.drawImage(0, 0, 0, 5, one, 0, 0, 1, 1));
    blits.drawText(QStringLiteral("W"), QRect(INT_MAX - 5, INT_MAX - 5, 5, 5), dt::NoClip);

    empty.rectangle(0, 0, 5, 5);
    EXPECT_FALSE(empty.isValid() || empty.bitBlt(0, 0, 1, 1, one, 0, 0));
    EXPECT_LT(timer.elapsed(), 5000);
}

TEST(DcDevices, ABorrowedPainterKeepsItsClipAndItsMode)
{
    QImage surface(10, 10, QImage::Format_RGB32);
    surface.fill(Qt::white);
    QPainter painter(&surface);
    painter.setClipRect(QRect(0, 0, 5, 10)); // the caller's clip stays in force
    {
        Dc dc(&painter);
        ASSERT_TRUE(dc.isValid());
        EXPECT_EQ(dc.clipBox(), QRect(0, 0, 5, 10));
        dc.setRop2(Rop2::XorPen);
        dc.fillRect(0, 0, 10, 10, Qt::black);
    }
    EXPECT_EQ(painter.compositionMode(), QPainter::CompositionMode_SourceOver);
    painter.fillRect(QRect(0, 0, 10, 1), Qt::red);
    painter.end();
    const std::tuple<int, int, QRgb> probes[] = {{4, 5, kBlack}, {5, 5, kWhite}, {4, 0, kRed}, {5, 0, kWhite}};
    for (const auto& [x, y, color] : probes)
        EXPECT_EQ(surface.pixel(x, y), color) << x << "," << y;
}

TEST(LogFont, SixtyLittleEndianBytes)
{
    // height -12, width 5, weight 700, italic, charset 128, pitch and family 0x32, ＭＳ Ｐゴシック.
    const QByteArray bytes = QByteArray::fromHex("F4FFFFFF" "05000000" "00000000" "00000000" "BC020000"
                                                 "01000080" "00000032" "826c827220826f835383568362834e")
                             + QByteArray(17, '\0');
    ASSERT_EQ(bytes.size(), LogFont::kSize);
    const LogFont f = LogFont::fromBytes(bytes.constData());
    EXPECT_EQ(std::tuple(f.height, f.width, f.weight, f.italic, f.charSet, f.pitchAndFamily, f.faceNameUnicode()),
              std::tuple(-12, 5, 700, 1, 128, 0x32, QStringLiteral("ＭＳ Ｐゴシック")));
    EXPECT_EQ(f.toByteArray(), bytes);

    QByteArray full(LogFont::kSize + 8, 'A'); // no terminator within the 32 face bytes
    EXPECT_EQ(LogFont::fromBytes(full.constData()).faceNameBytes(), QByteArray(32, 'A'));
    LogFont named;
    named.setFaceName(QString(40, QChar(u'あ')));
    EXPECT_EQ(named.faceNameBytes().size(), 30) << "cut on a character boundary, terminated";
}

TEST(DcText, HeightSignChoosesCharacterOrCellHeightExtremesAreClampedAndLinesMeasured)
{
    Dc dc(QSize(64, 64));
    dc.selectFont(gothic(-40));
    EXPECT_EQ(std::pair(QFontInfo(dc.font()).family(), dc.font().pixelSize()), std::pair(QStringLiteral("IPAPGothic"), 40));
    const TextMetrics character = dc.textMetrics();
    EXPECT_GT(character.height, 40);
    EXPECT_EQ(character.internalLeading, character.height - 40);
    dc.selectFont(gothic(40));
    EXPECT_EQ(std::pair(dc.textMetrics().height, dc.font().pixelSize() < 40), std::pair(40, true));
    dc.selectFont(gothic(0, 700, 1));
    EXPECT_TRUE(dc.textMetrics().height > 0 && dc.font().bold() && dc.font().italic());

    QElapsedTimer timer;
    timer.start();
    for (int h : {100000, -100000, INT_MIN, INT_MAX, 1, -1}) {
        dc.selectFont(gothic(h));
        EXPECT_GT(dc.textMetrics().height, 0) << h;
        EXPECT_LE(dc.font().pixelSize(), 16384) << h;
        QRect r(INT_MAX - 10, INT_MIN, 10, 1), farLeft(INT_MIN, INT_MIN, 1, 1);
        dc.measureText(QStringLiteral("あW\r\nx"), r);
        EXPECT_GE(r.width(), 0);
        dc.measureText(QString(), farLeft);
        dc.drawText(QStringLiteral("あW"), QRect(-5, -5, 100, 100), dt::Center);
    }
    EXPECT_LT(timer.elapsed(), 10000);

    // CalcRect measures the lines and the widest line.
    dc.selectFont(gothic(-24));
    const int lh = dc.textMetrics().height;
    const std::tuple<const char*, unsigned, int> cases[] = {
        {"A\r\n\r\nB\r\n", 0, 3}, // CR LF, an empty line, no line after the last break
        {"A\rB", 0, 2}, {"", 0, 0}, {"", dt::SingleLine, 1}, {"A\r\nB", dt::SingleLine, 1},
    };
    for (const auto& [text, flags, lines] : cases) {
        QRect rect(0, 0, 0, 0);
        EXPECT_EQ(dc.measureText(QString::fromLatin1(text), rect, flags), lines * lh) << text;
    }
    QRect one(0, 0, INT_MAX, 0), shorter(0, 0, INT_MAX, 0), three(5, 7, 1000, 0);
    dc.measureText(QStringLiteral("BBBB&"), one, dt::NoPrefix);
    dc.measureText(QStringLiteral("BBBB"), shorter);
    EXPECT_GT(one.width(), shorter.width()) << "the ampersand is drawn as itself";
    EXPECT_EQ(dc.measureText(QStringLiteral("A\r\nBBBB&\nCC"), three, dt::CalcRect | dt::NoClip), 3 * lh);
    EXPECT_EQ(three, QRect(5, 7, one.width(), 3 * lh));
}

// Everything draws text on a transparent background.
TEST(DcText, AlignmentColourAndClipping)
{
    // Through the origin, within the rectangle; a short line centred under the long one.
    for (unsigned flags : {dt::Center, dt::Right}) {
        Dc dc(QSize(300, 80));
        dc.selectFont(gothic(-20));
        dc.setViewportOrigin(QPoint(10, 5));
        const int lh = dc.textMetrics().height;
        dc.drawText(QStringLiteral("WWWWWW\r\nI"), QRect(40, 0, 200, 80), flags | dt::NoClip);
        const QRect first = darkInk(dc.image()->copy(0, 0, 300, lh + 5));
        const QRect second = darkInk(dc.image()->copy(0, lh + 5, 300, lh));
        EXPECT_TRUE(first.top() >= 5 && second.bottom() < lh) << first.top() << " " << second.bottom();
        for (const QRect& line : {first, second}) {
            const double at = flags == dt::Center ? (line.left() + line.right()) / 2.0 : line.right();
            EXPECT_NEAR(at, flags == dt::Center ? 149.5 : 247, 2.0) << flags;
        }
    }
    for (unsigned flags : {dt::Left, dt::NoClip}) {
        Dc clip(QSize(120, 40));
        clip.selectFont(gothic(-30));
        clip.setTextColor(Qt::red);
        clip.drawText(QStringLiteral("WWWW"), QRect(0, 0, 30, 40), flags);
        const int right = darkInk(*clip.image()).right(), red = pixels::count(*clip.image(), {0, 0, 120, 40}, pixels::isRed);
        EXPECT_TRUE(red > 0 && (flags == dt::NoClip ? right > 60 : right <= 29)) << flags << " " << right;
    }
}
