// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ImageConverter.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>
#include <QtEndian>
#include <gtest/gtest.h>

using platform::ImageConverter;
using Status = ImageConverter::Status;

namespace {

QImage sample(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgba(x * 255 / w, y * 255 / h, 128, x == 0 ? 0 : x == 1 ? 128 : 255));
    return img;
}

QByteArray encode(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(QImageWriter(&buffer, format).write(image)) << format;
    return bytes;
}

ImageConverter::Result convert(QByteArray bytes, QSize cardMm = {})
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return ImageConverter(cardMm).convert(buffer);
}

// A BMP of w × 1 pixels, its header then patched to announce w × h.
QByteArray bmp(int w, int h)
{
    QByteArray b = encode(QImage(w, 1, QImage::Format_RGB32), "bmp");
    qToLittleEndian<qint32>(h, b.data() + 22);
    return b;
}

} // namespace

TEST(ImageConverter, LargePicturesKeepWhat1200PpiOverTheWholeCardNeeds)
{
    struct Case { QSize picture, cardMm, expected; };
    // A 91 × 55 mm card needs 4300 × 2599 pixels.
    const Case cases[] = {
        {{6000, 4000}, {91, 55}, {4300, 2867}},   // the width decides
        {{40000, 3000}, {91, 55}, {34654, 2599}}, // the height decides
        {{4300, 2599}, {91, 55}, {4300, 2599}},   // exactly enough
        {{8000, 6000}, {55, 91}, {5734, 4300}},   // an upright card
        {{6000, 4000}, {}, {6000, 4000}},         // a pattern keeps every pixel
    };
    for (const Case& c : cases)
        EXPECT_EQ(ImageConverter::importSize(c.picture, c.cardMm), c.expected) << c.picture.width();

    // 20 × 10 mm needs 945 × 473 pixels: the width decides.
    const QByteArray png = encode(sample(1000, 600), "png");
    EXPECT_EQ(convert(png, {20, 10}).dib.toImage().size(), QSize(945, 567));
    EXPECT_EQ(convert(png, {91, 55}).dib.toImage().size(), QSize(1000, 600));
}

TEST(ImageConverter, EveryFormatBecomesABottomUp24BitDibOnWhite)
{
    for (const char* format : {"bmp", "png", "jpeg", "tiff", "webp"}) {
        const QByteArray bytes = encode(sample(37, 23), format);
        const ImageConverter::Result r = convert(bytes);
        ASSERT_EQ(r.status, Status::Ok) << format;
        EXPECT_EQ(std::tuple(r.dib.headerSize(), r.dib.height(), r.dib.size()), std::tuple(40u, 23, 40 + 23 * 112))
            << format; // 24 bits, rows padded
        QImage onWhite(37, 23, QImage::Format_RGB32); // the sample's first columns are clear and half clear
        onWhite.fill(Qt::white);
        QPainter(&onWhite).drawImage(0, 0, QImage::fromData(bytes));
        EXPECT_EQ(r.dib.toImage(), onWhite) << format;
    }
}

TEST(ImageConverter, OtherFormatsDamageAndAbsurdSizesAreRefused)
{
    for (const char* format : {"ppm", "xpm", "xbm", "ico"}) { // Qt reads them; we do not
        const QByteArray bytes = encode(sample(8, 8), format);
        ASSERT_FALSE(QImage::fromData(bytes).isNull()) << format;
        EXPECT_EQ(convert(bytes).status, Status::ReadFailed) << format;
    }
    // Nothing, a cut PNG, too wide though every row is there, and too many pixels;
    // just under the width is fine.
    for (const QByteArray& bad : {QByteArray(), encode(sample(8, 8), "png").left(30), bmp(70000, 1), bmp(9000, 9000)})
        EXPECT_EQ(convert(bad).status, Status::ReadFailed) << bad.size();
    EXPECT_EQ(convert(bmp(65000, 1)).status, Status::Ok);
    // A one-bit picture of 81 megapixels is a small file but far too large a DIB,
    // and a PNG cannot decode smaller for a card.
    QImage mono(9000, 9000, QImage::Format_Mono);
    mono.fill(0);
    const QByteArray png = encode(mono, "png");
    EXPECT_EQ(std::pair(convert(png).status, convert(png, {91, 55}).status), std::pair(Status::ReadFailed, Status::ReadFailed));
}
