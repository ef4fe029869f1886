#include "platform/Dc.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <gtest/gtest.h>

#include <climits>

using namespace platform;

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kBlue = 0xFF0000FF;

QRgb at(const Dc& dc, int x, int y)
{
    return dc.image()->pixel(x, y) | 0xFF000000;
}

// The pixels of the given colour, as a set of "x,y" in row order.
QStringList pixelsOf(const Dc& dc, QRgb color)
{
    QStringList out;
    for (int y = 0; y < dc.size().height(); ++y)
        for (int x = 0; x < dc.size().width(); ++x)
            if (at(dc, x, y) == color)
                out << QStringLiteral("%1,%2").arg(x).arg(y);
    return out;
}

QRect boundsOf(const Dc& dc, QRgb color)
{
    QRect r;
    for (int y = 0; y < dc.size().height(); ++y)
        for (int x = 0; x < dc.size().width(); ++x)
            if (at(dc, x, y) == color)
                r |= QRect(x, y, 1, 1);
    return r;
}

} // namespace

TEST(DcShapes, RectangleEdgeRules)
{
    Dc dc(QSize(12, 12));
    dc.setPen(Pen::null());
    dc.setBrush(Brush::solid(Qt::black));
    dc.rectangle(2, 3, 6, 8);
    // The null pen leaves the last column and row: 3 x 4 pixels from (2, 3).
    EXPECT_EQ(boundsOf(dc, kBlack), QRect(2, 3, 3, 4));
    EXPECT_EQ(pixelsOf(dc, kBlack).size(), 12);

    Dc outlined(QSize(12, 12));
    outlined.setPen(Pen::solid(Qt::red));
    outlined.setBrush(Brush::solid(Qt::blue));
    outlined.rectangle(8, 7, 2, 2); // reversed corners are put in order
    EXPECT_EQ(boundsOf(outlined, kRed), QRect(2, 2, 6, 5));
    EXPECT_EQ(boundsOf(outlined, kBlue), QRect(3, 3, 4, 3));
    EXPECT_EQ(pixelsOf(outlined, kRed).size(), 2 * 6 + 2 * 3);

    outlined.setBrush(Brush::null());
    outlined.setPen(Pen::solid(Qt::black));
    outlined.rectangle(2, 2, 8, 7);
    EXPECT_EQ(boundsOf(outlined, kBlue), QRect(3, 3, 4, 3)) << "a hollow brush keeps the inside";
}

TEST(DcShapes, FillRectIsExclusiveAndIgnoresMixMode)
{
    Dc dc(QSize(8, 8));
    dc.setRop2(Rop2::XorPen);
    dc.fillRect(1, 2, 4, 5, Qt::black);
    dc.fillRect(1, 2, 4, 5, Qt::black); // copies again rather than inverting back
    dc.fillRect(6, 6, 5, 7, Qt::black); // reversed: nothing
    EXPECT_EQ(boundsOf(dc, kBlack), QRect(1, 2, 3, 3));
    EXPECT_EQ(pixelsOf(dc, kBlack).size(), 9);
}

TEST(DcShapes, EllipseStaysInsideItsBox)
{
    Dc dc(QSize(30, 30));
    dc.setPen(Pen::null());
    dc.setBrush(Brush::solid(Qt::black));
    dc.ellipse(5, 5, 25, 15);
    EXPECT_EQ(boundsOf(dc, kBlack), QRect(5, 5, 19, 9));
    EXPECT_EQ(at(dc, 5, 5), kWhite);
    EXPECT_EQ(at(dc, 14, 9), kBlack);
}

TEST(DcLines, LineToLeavesItsLastPixel)
{
    Dc dc(QSize(12, 12));
    dc.moveTo(1, 1);
    dc.lineTo(6, 1);
    EXPECT_EQ(pixelsOf(dc, kBlack), QStringList({"1,1", "2,1", "3,1", "4,1", "5,1"}));
    EXPECT_EQ(dc.currentPosition(), QPoint(6, 1));

    Dc diag(QSize(12, 12));
    diag.moveTo(8, 8);
    diag.lineTo(4, 4);
    EXPECT_EQ(pixelsOf(diag, kBlack), QStringList({"5,5", "6,6", "7,7", "8,8"}));

    Dc steep(QSize(12, 12));
    steep.moveTo(2, 0);
    steep.lineTo(4, 10);
    const QStringList px = pixelsOf(steep, kBlack);
    EXPECT_EQ(px.size(), 10); // one per row, the end row left out
    EXPECT_TRUE(px.contains("2,0"));
    EXPECT_FALSE(px.contains("4,10"));
}

TEST(DcLines, WidePensAreCentredWithRoundCaps)
{
    Dc dc(QSize(40, 24));
    dc.setPen(Pen::solid(Qt::black, 5));
    dc.moveTo(10, 10);
    dc.lineTo(30, 10);
    const QRect r = boundsOf(dc, kBlack);
    EXPECT_EQ(r.top(), 8);
    EXPECT_EQ(r.bottom(), 12);
    EXPECT_EQ(r.left(), 8);   // the cap reaches past the start
    EXPECT_EQ(r.right(), 32); // and past the end
    EXPECT_EQ(at(dc, 8, 8), kWhite) << "round, not square, caps";

    Dc one(QSize(40, 24));
    one.setPen(Pen::solid(Qt::black, 1));
    one.moveTo(10, 10);
    one.lineTo(30, 10);
    EXPECT_EQ(boundsOf(one, kBlack), QRect(10, 10, 20, 1));
}

TEST(DcRop, XorMarksInvertAndUndo)
{
    Dc dc(QSize(20, 20));
    dc.fillRect(0, 0, 10, 20, Qt::black); // left half black, right half white
    const QImage before = dc.image()->copy();
    dc.setPen(Pen::solid(Qt::white));
    dc.setBrush(Brush::null());
    dc.setRop2(Rop2::XorPen);
    dc.rectangle(5, 5, 15, 12);
    EXPECT_EQ(at(dc, 5, 5), kWhite);  // corner on black, inverted exactly once
    EXPECT_EQ(at(dc, 14, 11), kBlack); // corner on white
    EXPECT_EQ(at(dc, 7, 8), kBlack);  // inside untouched
    EXPECT_EQ(at(dc, 12, 8), kWhite);
    dc.moveTo(0, 15);
    dc.lineTo(20, 15);
    dc.moveTo(0, 15);
    dc.lineTo(20, 15);
    dc.rectangle(5, 5, 15, 12);
    EXPECT_EQ(*dc.image(), before);
}

TEST(DcRop, NotAndMergeWithPatternBrush)
{
    Dc dc(QSize(8, 8));
    dc.fillRect(0, 0, 8, 8, Qt::black);
    dc.setRop2(Rop2::Not);
    dc.setPen(Pen::null());
    dc.rectangle(0, 0, 5, 5);
    EXPECT_EQ(boundsOf(dc, kWhite), QRect(0, 0, 4, 4));

    Dc glyph(QSize(8, 8));
    glyph.fillRect(0, 0, 8, 8, Qt::black);
    glyph.setRop2(Rop2::MergePen);
    glyph.setPen(Pen::null());
    glyph.setBrush(Brush::pattern({0x00, 0x55, 0x00, 0x55, 0x00, 0x55, 0x00, 0x55}));
    glyph.rectangle(0, 0, 9, 9);
    // Set bits take the background colour (white); one pixel in each 2 x 2 turns white.
    EXPECT_EQ(pixelsOf(glyph, kWhite).size(), 16);
    EXPECT_EQ(at(glyph, 1, 1), kWhite);
    EXPECT_EQ(at(glyph, 0, 1), kBlack);
}

TEST(DcBrush, PatternColoursAndDeviceAlignment)
{
    Dc dc(QSize(8, 2));
    dc.setTextColor(Qt::red);
    dc.setBkColor(Qt::blue);
    dc.setViewportOrigin(QPoint(3, 0));
    dc.fillRect(-3, 0, 5, 2, Brush::pattern({0xAA, 0x55, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(at(dc, 0, 0), kBlue); // set bit at device x 0 whatever the origin
    EXPECT_EQ(at(dc, 1, 0), kRed);
    EXPECT_EQ(at(dc, 0, 1), kRed);
    EXPECT_EQ(colorFromRef(0x00FF0000), QColor(Qt::blue)); // 0x00BBGGRR
    EXPECT_EQ(colorToRef(QColor(1, 2, 3)), 0x00030201u);
}

TEST(DcState, OriginClipAndSaveRestore)
{
    Dc dc(QSize(20, 20));
    dc.setViewportOrigin(QPoint(10, 5));
    dc.fillRect(0, 0, 2, 2, Qt::black);
    EXPECT_EQ(boundsOf(dc, kBlack), QRect(10, 5, 2, 2));

    EXPECT_EQ(dc.save(), 1);
    dc.selectClip(QRect(0, 0, 4, 4)); // device coordinates
    EXPECT_EQ(dc.clipBox(), QRect(-10, -5, 4, 4));
    dc.offsetViewportOrigin(-10, -5);
    dc.setPen(Pen::null());
    dc.fillRect(0, 0, 20, 20, Qt::red);
    EXPECT_EQ(boundsOf(dc, kRed), QRect(0, 0, 4, 4));
    EXPECT_TRUE(dc.restore());
    EXPECT_FALSE(dc.restore());
    EXPECT_EQ(dc.viewportOrigin(), QPoint(10, 5));
    EXPECT_FALSE(dc.pen().isNull());
    EXPECT_EQ(dc.clipBox(), QRect(-10, -5, 20, 20));
    dc.fillRect(-10, -5, 10, 15, Qt::blue);
    EXPECT_EQ(pixelsOf(dc, kBlue).size(), 400);

    dc.save();
    dc.setTextColor(Qt::red);
    dc.save();
    dc.setTextColor(Qt::green);
    EXPECT_TRUE(dc.restore(1));
    EXPECT_EQ(dc.textColor(), QColor(Qt::black));
}

TEST(DcClip, IntersectEllipseAndPath)
{
    Dc dc(QSize(20, 20));
    dc.selectClip(QRect(0, 0, 10, 20));
    dc.intersectClip(QRect(5, 0, 10, 10));
    dc.fillRect(0, 0, 20, 20, Qt::black);
    EXPECT_EQ(boundsOf(dc, kBlack), QRect(5, 0, 5, 10));
    EXPECT_EQ(pixelsOf(dc, kBlack).size(), 50);
    EXPECT_FALSE(dc.setPixel(0, 0, Qt::red));
    EXPECT_FALSE(dc.pixel(15, 15).has_value());

    Dc round(QSize(20, 20));
    round.selectClipEllipse(QRect(0, 0, 20, 20));
    round.fillRect(0, 0, 20, 20, Qt::black);
    EXPECT_EQ(at(round, 0, 0), kWhite);
    EXPECT_EQ(at(round, 10, 10), kBlack);
    EXPECT_EQ(at(round, 0, 10), kBlack);

    Dc tri(QSize(20, 20));
    tri.setViewportOrigin(QPoint(2, 0));
    tri.beginPath();
    tri.moveTo(0, 0);
    tri.lineTo(16, 0);
    tri.lineTo(0, 16);
    tri.closeFigure();
    tri.endPath();
    EXPECT_TRUE(tri.selectClipPath());
    EXPECT_FALSE(tri.selectClipPath()) << "the path is used up";
    tri.fillRect(-2, 0, 18, 20, Qt::black);
    EXPECT_EQ(at(tri, 3, 1), kBlack);
    EXPECT_EQ(at(tri, 1, 1), kWhite);
    EXPECT_EQ(at(tri, 15, 15), kWhite);
}

TEST(DcPath, HeartFillIsSymmetric)
{
    // The heart of picture shapes: four cubic segments in a 94 x 90 box.
    const QPoint pts[13] = {{47, 20}, {67, 0}, {94, 18}, {87, 50}, {82, 67}, {67, 70}, {47, 90},
                            {27, 70}, {12, 67}, {7, 50},  {0, 18},  {27, 0}, {47, 20}};
    Dc dc(QSize(95, 91));
    dc.setPen(Pen::null());
    dc.setBrush(Brush::solid(Qt::black));
    dc.beginPath();
    dc.polyBezier(pts);
    dc.closeFigure();
    dc.endPath();
    EXPECT_TRUE(dc.fillPath());
    EXPECT_EQ(at(dc, 47, 50), kBlack);
    EXPECT_EQ(at(dc, 47, 10), kWhite); // the notch
    EXPECT_EQ(at(dc, 3, 85), kWhite);
    const QRect r = boundsOf(dc, kBlack);
    EXPECT_NEAR(r.left() + r.right(), 94 - 1, 2);
    EXPECT_FALSE(dc.fillPath());
}

TEST(DcImage, NearestNeighbourStretchAndMirror)
{
    QImage checker(2, 2, QImage::Format_RGB32);
    checker.setPixel(0, 0, kRed);
    checker.setPixel(1, 1, kRed);
    checker.setPixel(1, 0, kBlue);
    checker.setPixel(0, 1, kBlue);
    Dc dc(QSize(10, 10));
    EXPECT_TRUE(dc.drawImage(QRect(1, 1, 8, 8), checker, QRect(0, 0, 2, 2)));
    EXPECT_EQ(boundsOf(dc, kRed), QRect(1, 1, 8, 8));
    EXPECT_EQ(pixelsOf(dc, kRed).size(), 32);
    EXPECT_EQ(at(dc, 4, 4), kRed);
    EXPECT_EQ(at(dc, 5, 4), kBlue);
    EXPECT_EQ(at(dc, 4, 5), kBlue);
    EXPECT_EQ(at(dc, 9, 9), kWhite);

    Dc mirrored(QSize(4, 2));
    mirrored.drawImage(4, 0, -4, 2, checker, 0, 0, 2, 2); // negative width mirrors
    EXPECT_EQ(at(mirrored, 0, 0), kBlue);
    EXPECT_EQ(at(mirrored, 3, 0), kRed);

    // Source beyond the picture is not drawn; a 1:1 copy keeps every pixel.
    Dc partial(QSize(4, 4));
    partial.drawImage(QRect(0, 0, 4, 4), checker, QRect(1, 0, 2, 2));
    EXPECT_EQ(at(partial, 0, 0), kBlue);
    EXPECT_EQ(at(partial, 3, 0), kWhite);
    Dc copy(QSize(2, 2));
    copy.drawImage(0, 0, checker);
    EXPECT_EQ(*copy.image(), checker);
}

TEST(DcImage, BlockTransfersAndMaskedBlit)
{
    QImage src(2, 1, QImage::Format_RGB32);
    src.setPixel(0, 0, 0xFF00FF00);
    src.setPixel(1, 0, 0xFFF0F0F0);
    Dc dc(QSize(4, 1));
    dc.fillRect(0, 0, 4, 1, QColor(0x0F, 0xFF, 0x0F));
    dc.bitBlt(0, 0, 1, 1, src, 0, 0, BltRop::SrcAnd);
    dc.bitBlt(1, 0, 1, 1, src, 1, 0, BltRop::SrcPaint);
    dc.bitBlt(2, 0, 1, 1, src, 0, 0, BltRop::SrcInvert);
    dc.bitBlt(3, 0, 5, 5, src, 1, 0, BltRop::AndNotSrc); // the rest lies outside the source
    EXPECT_EQ(at(dc, 0, 0), 0xFF00FF00);
    EXPECT_EQ(at(dc, 1, 0), 0xFFFFFFFF);
    EXPECT_EQ(at(dc, 2, 0), 0xFF0F000F);
    EXPECT_EQ(at(dc, 3, 0), 0xFF0F0F0F);
    EXPECT_TRUE(dc.patBlt(0, 0, 2, 1, BltRop::Whiteness));
    EXPECT_EQ(at(dc, 1, 0), kWhite);

    // Between surfaces, each through its own origin.
    Dc from(QSize(4, 4));
    from.setPixel(2, 2, Qt::red);
    from.setViewportOrigin(QPoint(1, 1));
    Dc to(QSize(4, 4));
    to.setViewportOrigin(QPoint(-1, 0));
    EXPECT_TRUE(to.bitBlt(1, 0, 2, 2, from, 1, 1));
    EXPECT_EQ(boundsOf(to, kRed), QRect(0, 0, 1, 1));

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
    EXPECT_EQ(pixelsOf(target, kRed), QStringList({"0,0", "1,0"}));
    EXPECT_EQ(pixelsOf(target, kBlue), QStringList({"2,0", "3,0"}));
    EXPECT_EQ(picture.pixel(0, 0), kBlue) << "the caller's picture is left as it was";
    EXPECT_EQ(target.bkMode(), BkMode::Opaque);

    QImage near(2, 1, QImage::Format_RGB32);
    near.setPixel(0, 0, kWhite);
    near.setPixel(1, 0, qRgb(254, 255, 255));
    const QImage white = maskFromColor(near, kWhite);
    EXPECT_EQ(white.pixel(0, 0), kWhite);
    EXPECT_EQ(white.pixel(1, 0), kBlack);
}

TEST(DcSafety, ExtremeCoordinatesStayBoundedAndOnSurface)
{
    QElapsedTimer timer;
    timer.start();
    Dc dc(QSize(16, 16));
    dc.setPen(Pen::null());
    dc.setBrush(Brush::solid(Qt::black));
    dc.rectangle(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    EXPECT_EQ(pixelsOf(dc, kBlack).size(), 256);

    Dc lines(QSize(16, 16));
    lines.moveTo(INT_MIN, INT_MIN);
    lines.lineTo(INT_MAX, INT_MAX);
    EXPECT_EQ(pixelsOf(lines, kBlack).size(), 16);
    EXPECT_EQ(at(lines, 5, 5), kBlack);
    lines.setPen(Pen::solid(Qt::red, 7));
    lines.moveTo(INT_MIN, 8);
    lines.lineTo(INT_MAX, 8);
    lines.setPen(Pen::solid(Qt::blue, 1));
    lines.setBrush(Brush::solid(Qt::blue));
    lines.ellipse(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    lines.rectangle(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
    lines.setViewportOrigin(QPoint(INT_MAX, INT_MIN));
    lines.offsetViewportOrigin(INT_MAX, INT_MIN);
    lines.fillRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX, Qt::green);
    EXPECT_FALSE(lines.pixel(INT_MAX, INT_MIN).has_value());
    EXPECT_FALSE(lines.setPixel(INT_MIN, INT_MIN, Qt::red));

    QImage one(1, 1, QImage::Format_RGB32);
    one.fill(kRed);
    Dc blits(QSize(16, 16));
    EXPECT_TRUE(blits.drawImage(INT_MIN, INT_MIN, INT_MAX, INT_MAX, one, 0, 0, 1, 1));
    EXPECT_TRUE(blits.bitBlt(INT_MAX, INT_MAX, INT_MAX, INT_MAX, one, INT_MIN, INT_MIN, BltRop::SrcAnd));
    EXPECT_TRUE(maskedBlit(blits, INT_MIN, INT_MIN, INT_MAX, INT_MAX, one, 0, 0, one, 0, 0));
    EXPECT_FALSE(blits.drawImage(0, 0, 0, 5, one, 0, 0, 1, 1));
    blits.drawText(QStringLiteral("W"), QRect(INT_MAX - 5, INT_MAX - 5, 5, 5), dt::NoClip);

    Dc empty(QSize(0, 0));
    EXPECT_FALSE(empty.isValid());
    empty.rectangle(0, 0, 5, 5);
    EXPECT_FALSE(empty.bitBlt(0, 0, 1, 1, one, 0, 0));
    EXPECT_LT(timer.elapsed(), 5000);
}

TEST(DcDevices, BorrowedPainterAndPrinter)
{
    QImage surface(10, 10, QImage::Format_RGB32);
    surface.fill(Qt::white);
    QPainter painter(&surface);
    painter.setClipRect(QRect(0, 0, 5, 10)); // the caller's clip stays in force
    {
        Dc dc(&painter);
        ASSERT_TRUE(dc.isValid());
        EXPECT_EQ(dc.clipBox(), QRect(0, 0, 5, 10));
        dc.selectClip(QRect(2, 0, 8, 10));
        dc.clearClip();
        dc.setRop2(Rop2::XorPen);
        dc.fillRect(0, 0, 10, 10, Qt::black);
    }
    EXPECT_EQ(painter.compositionMode(), QPainter::CompositionMode_SourceOver);
    painter.fillRect(QRect(0, 0, 10, 1), Qt::red);
    painter.end();
    EXPECT_EQ(surface.pixel(4, 5), kBlack);
    EXPECT_EQ(surface.pixel(5, 5), kWhite);
    EXPECT_EQ(surface.pixel(4, 0), kRed);
    EXPECT_EQ(surface.pixel(5, 0), kWhite);

    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    QPdfWriter writer(&pdf);
    writer.setResolution(600);
    writer.setPageMargins(QMarginsF(10, 5, 10, 5), QPageLayout::Millimeter);
    {
        Dc dc(&writer);
        ASSERT_TRUE(dc.isValid());
        EXPECT_EQ(dc.pixelsPerInchX(), 600);
        EXPECT_NEAR(dc.physicalOffset().x(), 236, 4); // 10 mm and 5 mm at 600 dpi
        EXPECT_NEAR(dc.physicalOffset().y(), 118, 4);
        EXPECT_FALSE(dc.image());
        EXPECT_FALSE(dc.pixel(0, 0).has_value());
        QImage card(20, 10, QImage::Format_RGB32);
        card.fill(Qt::blue);
        EXPECT_TRUE(dc.bitBlt(100, 100, 20, 10, card, 0, 0));
        EXPECT_FALSE(dc.bitBlt(100, 100, 20, 10, card, 0, 0, BltRop::SrcAnd));
        dc.selectClip(QRect(100, 100, 20, 10));
        dc.drawText(QStringLiteral("Text"), QRect(100, 100, 200, 100), dt::NoClip);
    }
    EXPECT_GT(pdf.size(), 0);
}

TEST(LogFont, SixtyLittleEndianBytes)
{
    QByteArray bytes(LogFont::kSize, '\0');
    const char head[] = {char(0xF4), char(0xFF), char(0xFF), char(0xFF), 5, 0, 0, 0};
    std::copy(head, head + 8, bytes.begin());
    bytes[16] = char(0xBC);
    bytes[17] = char(0x02);
    bytes[20] = 1;
    bytes[23] = char(128);
    bytes[27] = 0x32;
    const QByteArray face = QByteArray::fromHex("826c827220826f835383568362834e"); // ＭＳ Ｐゴシック
    std::copy(face.begin(), face.end(), bytes.begin() + 28);
    const LogFont f = LogFont::fromBytes(bytes.constData());
    EXPECT_EQ(f.height, -12);
    EXPECT_EQ(f.width, 5);
    EXPECT_EQ(f.weight, 700);
    EXPECT_EQ(f.italic, 1);
    EXPECT_EQ(f.charSet, 128);
    EXPECT_EQ(f.pitchAndFamily, 0x32);
    EXPECT_EQ(f.faceNameUnicode(), QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(f.toByteArray(), bytes);

    QByteArray full(LogFont::kSize + 8, 'A'); // no terminator within the 32 face bytes
    const LogFont unterminated = LogFont::fromBytes(full.constData());
    EXPECT_EQ(unterminated.faceNameBytes(), QByteArray(32, 'A'));
    LogFont named;
    named.setFaceName(QString(40, QChar(u'あ')));
    EXPECT_EQ(named.faceNameBytes().size(), 30) << "cut on a character boundary, terminated";
}
