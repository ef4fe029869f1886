#include "platform/ImageConverter.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>
#include <QtEndian>
#include <gtest/gtest.h>

using platform::Dib;
using platform::ImageConverter;

namespace {

QImage sample(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(x * 255 / w, y * 255 / h, 128));
    return img;
}

QByteArray encode(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    EXPECT_TRUE(writer.write(image)) << format << " " << qPrintable(writer.errorString());
    return bytes;
}

ImageConverter::Result convert(QByteArray bytes, QSize cardMm = {})
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return ImageConverter(cardMm).convert(buffer);
}

// What Qt itself reads from the bytes, laid on white.
QImage onWhite(const QByteArray& bytes)
{
    QImage flat(QImage::fromData(bytes).convertToFormat(QImage::Format_ARGB32));
    QImage out(flat.size(), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter(&out).drawImage(0, 0, flat);
    return out;
}

// A BMP file header and 40-byte info header announcing w × h at bpp, no rows.
QByteArray bmpHeader(int w, int h, int bpp)
{
    QByteArray b(54, '\0');
    auto* p = reinterpret_cast<uchar*>(b.data());
    p[0] = 'B';
    p[1] = 'M';
    qToLittleEndian<quint32>(54, p + 10);
    qToLittleEndian<quint32>(40, p + 14);
    qToLittleEndian<qint32>(w, p + 18);
    qToLittleEndian<qint32>(h, p + 22);
    qToLittleEndian<quint16>(1, p + 26);
    qToLittleEndian<quint16>(quint16(bpp), p + 28);
    return b;
}

} // namespace

TEST(ImageConverter, ImportSizeKeepsWhat1200PpiOverTheWholeCardNeeds)
{
    struct Case { QSize picture, cardMm, expected; };
    // A 91 × 55 mm card needs 4300 × 2599 pixels.
    const Case cases[] = {
        {{6000, 4000}, {91, 55}, {4300, 2867}},   // width decides
        {{40000, 3000}, {91, 55}, {34654, 2599}}, // height decides
        {{8000, 8000}, {91, 55}, {4300, 4300}},
        {{4300, 2599}, {91, 55}, {4300, 2599}},   // exactly enough
        {{3000, 2000}, {91, 55}, {3000, 2000}},   // too small to reduce
        {{4000, 6000}, {91, 55}, {4000, 6000}},   // upright on a landscape card
        {{6000, 4000}, {55, 91}, {6000, 4000}},   // needs all its height on an upright card
        {{8000, 6000}, {55, 91}, {5734, 4300}},
        {{6000, 4000}, {}, {6000, 4000}},         // a pattern keeps every pixel
    };
    for (const Case& c : cases)
        EXPECT_EQ(ImageConverter::importSize(c.picture, c.cardMm), c.expected) << c.picture.width() << "x"
                                                                               << c.picture.height();
    // Whatever the shape, a reduced picture still covers the card at 1200 ppi.
    for (int w = 1000; w <= 30000; w += 1700)
        for (int h = 700; h <= 30000; h += 2300) {
            const QSize r = ImageConverter::importSize({w, h}, {91, 55});
            EXPECT_TRUE(r == QSize(w, h) || (r.width() >= 4300 && r.height() >= 2599 && r.width() < w))
                << w << "x" << h;
            EXPECT_NEAR(double(r.width()) / r.height(), double(w) / h, 2.0 / std::min(r.width(), r.height()));
        }
}

TEST(ImageConverter, EveryFormatBecomesABottomUp24BitDib)
{
    const QImage picture = sample(37, 23);
    for (const char* format : {"bmp", "png", "jpeg", "tiff", "webp"}) {
        const QByteArray bytes = encode(picture, format);
        const ImageConverter::Result r = convert(bytes);
        ASSERT_EQ(r.status, ImageConverter::Status::Ok) << format;
        EXPECT_EQ(r.dib.headerSize(), 40u);
        EXPECT_EQ(r.dib.bitCount(), 24);
        EXPECT_EQ(r.dib.height(), 23) << format;
        EXPECT_EQ(r.dib.size(), 40 + 23 * 112);
        EXPECT_EQ(r.dib.toImage(), onWhite(bytes)) << format;
    }
}

TEST(ImageConverter, TransparencyIsLaidOnWhite)
{
    QImage alpha(3, 1, QImage::Format_ARGB32);
    alpha.setPixel(0, 0, qRgba(0, 0, 0, 0));
    alpha.setPixel(1, 0, qRgba(255, 0, 0, 128));
    alpha.setPixel(2, 0, qRgba(0, 0, 255, 255));
    const QImage out = convert(encode(alpha, "png")).dib.toImage();
    EXPECT_EQ(out.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(out.pixel(1, 0), qRgb(255, 127, 127));
    EXPECT_EQ(out.pixel(2, 0), qRgb(0, 0, 255));
}

TEST(ImageConverter, LargePicturesAreReducedOnlyForACard)
{
    const QByteArray jpeg = encode(sample(1000, 600), "jpeg");
    // 20 × 10 mm needs 945 × 473 pixels: the width decides.
    EXPECT_EQ(convert(jpeg, {20, 10}).dib.toImage().size(), QSize(945, 567));
    EXPECT_EQ(convert(jpeg, {91, 55}).dib.toImage().size(), QSize(1000, 600));
    EXPECT_EQ(convert(jpeg).dib.toImage().size(), QSize(1000, 600));
    // Formats that cannot decode smaller are reduced after decoding.
    EXPECT_EQ(convert(encode(sample(1000, 600), "png"), {20, 10}).dib.toImage().size(), QSize(945, 567));
}

TEST(ImageConverter, OtherFormatsAndDamageAreRefused)
{
    const QImage picture = sample(8, 8);
    // Formats Qt reads, but not offered here.
    for (const char* format : {"ppm", "xpm", "xbm", "ico"}) {
        const QByteArray bytes = encode(picture, format);
        ASSERT_FALSE(QImage::fromData(bytes).isNull()) << format;
        EXPECT_EQ(convert(bytes).status, ImageConverter::Status::ReadFailed) << format;
    }
    EXPECT_EQ(convert(QByteArray()).status, ImageConverter::Status::ReadFailed);
    EXPECT_EQ(convert(QByteArray("\xFF\xD8\xFF\xE0 not really", 15)).status, ImageConverter::Status::ReadFailed);
    EXPECT_EQ(convert(encode(picture, "png").left(30)).status, ImageConverter::Status::ReadFailed);
}

TEST(ImageConverter, AbsurdSizesAreRefusedBeforeDecoding)
{
    // Too wide (with every row there), too many pixels, and more than a decode
    // may allocate.
    for (const QByteArray& header : {bmpHeader(70000, 1, 24), bmpHeader(20000, 20000, 24), bmpHeader(16000, 16000, 32)})
        EXPECT_EQ(convert(header + QByteArray(210000, '\x40')).status, ImageConverter::Status::ReadFailed);
    EXPECT_EQ(convert(bmpHeader(65000, 1, 24) + QByteArray(195000, '\x40')).status, ImageConverter::Status::Ok);
    // A one-bit picture of 81 megapixels is a small file, but would make far too
    // large a DIB, and a PNG cannot decode smaller for a card.
    QImage mono(9000, 9000, QImage::Format_Mono);
    mono.fill(0);
    const QByteArray png = encode(mono, "png");
    EXPECT_EQ(convert(png).status, ImageConverter::Status::ReadFailed);
    EXPECT_EQ(convert(png, {91, 55}).status, ImageConverter::Status::ReadFailed);
}
