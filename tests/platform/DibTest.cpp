// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/DocumentBytes.h"
#include "platform/Dib.h"

#include <QBuffer>
#include <QtEndian>
#include <gtest/gtest.h>

using platform::Dib;

namespace {

// A 40-byte info header.
DocumentBytes info(int w, int h, int bpp, std::uint32_t comp = 0, std::uint32_t clrUsed = 0, std::uint32_t sizeImage = 0)
{
    return std::move(DocumentBytes().u32(40).i32(w).i32(h).u16(1).u16(bpp).u32(comp).u32(sizeImage).u32(0).u32(0)
                         .u32(clrUsed).u32(0));
}

QImage sample(int w, int h) { return testPicture(w, h).toImage(); }

// 1-bit 10 × 2, palette red/blue; the stored first row (the bottom one) is 1010…
QByteArray oneBit(int height)
{
    return info(10, height, 1).rgbq(255, 0, 0).rgbq(0, 0, 255)
        .u8(0xAA).u8(0x80).u16(0).u8(0x40).u8(0x00).u16(0).bytes();
}

} // namespace

TEST(Dib, ImageRoundTripsThroughEveryEncoding)
{
    const QImage img = sample(7, 5); // 21 bytes a row at 24 bits: padded to 24
    const Dib d = Dib::fromImage(img);
    EXPECT_EQ(d.size(), 40 + 24 * 5);
    // Bottom-up: the first stored row is the image's last.
    EXPECT_EQ(std::pair(int(uchar(d.bytes()[40])), int(uchar(d.bytes()[42]))), std::pair(qBlue(img.pixel(0, 4)), qRed(img.pixel(0, 4))));
    EXPECT_EQ(std::pair(d.toImage(), Dib::fromImage(img, 32).toImage()), std::pair(img, img));

    QImage few(9, 3, QImage::Format_RGB32);
    few.fill(qRgb(1, 2, 3));
    few.setPixel(4, 1, qRgb(200, 100, 0));
    const Dib eight = Dib::fromImage(few, 8);
    EXPECT_EQ(std::tuple(eight.pixelOffset(), eight.toImage()), std::tuple(40 + 2 * 4, few)); // 8 bits, two colours
    EXPECT_EQ(Dib::fromImage(sample(40, 40), 8).bitCount(), 24); // too many colours

    QImage alpha(2, 1, QImage::Format_ARGB32);
    alpha.setPixel(0, 0, qRgba(0, 0, 0, 0));
    alpha.setPixel(1, 0, qRgba(0, 0, 0, 128));
    const QImage flat = Dib::fromImage(alpha).toImage();
    EXPECT_EQ(std::pair(flat.pixel(0, 0), flat.pixel(1, 0)), std::pair(qRgb(255, 255, 255), qRgb(127, 127, 127)));
}

// Rows bottom-up and top-down, colour tables, bit fields and run lengths.
TEST(Dib, EveryLayoutDecodesToItsPixels)
{
    const QImage up = Dib(oneBit(2)).toImage();
    ASSERT_EQ(up.size(), QSize(10, 2));
    const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255), k = qRgb(0, 0, 0), w = qRgb(255, 255, 255);
    for (int x = 0; x < 10; ++x) {
        EXPECT_EQ(up.pixel(x, 1), x % 2 == 0 ? blue : red) << x;
        EXPECT_EQ(up.pixel(x, 0), x == 1 ? blue : red) << x;
    }
    EXPECT_EQ(Dib(oneBit(-2)).toImage(), up.mirrored(false, true));

    // 8 bits with three colours; index 7 lies beyond the table and is black.
    const QByteArray eight = info(3, 1, 8, 0, 3).rgbq(10, 20, 30).rgbq(40, 50, 60).rgbq(70, 80, 90)
                                 .u8(2).u8(0).u8(7).u8(0).bytes();
    // A table before 24-bit rows is skipped.
    const QByteArray table24 = info(1, 1, 24, 0, 2).rgbq(1, 1, 1).rgbq(2, 2, 2).u8(30).u8(20).u8(10).u8(0).bytes();
    // 16 bits without masks are 5-5-5 (masked 5-6-5 comes from ImageMagick).
    const QByteArray rgb555 = info(2, 1, 16).u16(0x7C00).u16(0x03FF).bytes();
    // 32 bits with red and blue swapped, and 10-bit channels.
    const QByteArray bgr = info(1, 1, 32, 3).u32(0xFF).u32(0xFF00).u32(0xFF0000).u32(0x00332211).bytes();
    const QByteArray ten = info(1, 1, 32, 3).u32(0x3FF00000).u32(0xFFC00).u32(0x3FF).u32(0x3FF00000u | 0x200).bytes();
    // RLE8 4 × 2: run of 3 × index 1, end of line, literal 1 0 1 (padded), end.
    const QByteArray rle8 = info(4, 2, 8, 1, 2, 12).rgbq(0, 0, 0).rgbq(255, 255, 255)
                                .u8(3).u8(1).u8(0).u8(0).u8(0).u8(3).u8(1).u8(0).u8(1).u8(0).u8(0).u8(1).bytes();
    // RLE4: a run of 5 alternating 1 and 2, then a delta beyond the top ends it.
    const QByteArray rle4 = info(6, 1, 4, 2, 3).rgbq(0, 0, 0).rgbq(255, 0, 0).rgbq(0, 255, 0)
                                .u8(5).u8(0x12).u8(0).u8(2).u8(250).u8(250).u8(255).u8(0x11).bytes();
    const struct { const QByteArray& dib; int x, y; QRgb expected; } cases[] = {
        {eight, 0, 0, qRgb(70, 80, 90)}, {eight, 1, 0, qRgb(10, 20, 30)}, {eight, 2, 0, k},
        {table24, 0, 0, qRgb(10, 20, 30)}, {rgb555, 0, 0, qRgb(255, 0, 0)}, {rgb555, 1, 0, qRgb(0, 255, 255)},
        {bgr, 0, 0, qRgb(0x11, 0x22, 0x33)}, {ten, 0, 0, qRgb(255, 0, 128)},
        {rle8, 0, 1, w}, {rle8, 3, 1, k} /* skipped by the end of line */, {rle8, 0, 0, w}, {rle8, 1, 0, k},
        {rle4, 0, 0, qRgb(255, 0, 0)}, {rle4, 1, 0, qRgb(0, 255, 0)}, {rle4, 5, 0, k},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Dib(c.dib).toImage().pixel(c.x, c.y), c.expected) << "case " << (&c - cases);
    EXPECT_EQ(Dib(info(1, 1, 8).bytes()).pixelOffset(), 40 + 1024);
    EXPECT_EQ(std::pair(Dib(info(1, 1, 4).bytes()).colorTableCount(), Dib(info(1, 1, 24).bytes()).colorTableCount()), (std::pair<std::int64_t, std::int64_t>(16, 0)));

    // Top-down RLE, a literal cut by the end of the data, a few bytes claiming a huge picture.
    QByteArray downRle = rle8;
    qToLittleEndian<qint32>(-2, downRle.data() + 8);
    EXPECT_FALSE(Dib(downRle).isValid());
    EXPECT_FALSE(Dib(info(4, 2, 8, 1, 1).rgbq(0, 0, 0).u8(0).u8(200).u8(0).bytes()).toImage().isNull());
    EXPECT_FALSE(Dib(info(16000, 16000, 8, 1, 1).rgbq(0, 0, 0).u8(0).u8(1).bytes()).isValid());
}

TEST(Dib, LyingHeadersAreRefusedWithoutReadingPast)
{
    const QByteArray good = Dib::fromImage(sample(5, 3)).bytes();
    EXPECT_TRUE(Dib(good.left(good.size() - 1)).toImage().isNull());
    EXPECT_EQ(Dib(good.left(20)).width(), 0); // header cut short reads nothing
    // A negative, INT_MIN or huge width or height, 3 bits with compression 1, clrUsed,
    // an unknown header size, bit fields at 24 bits, a JPEG inside.
    const std::pair<int, std::uint32_t> patches[] = {{4, std::uint32_t(-5)}, {8, 0x80000000u}, {4, 0x7FFFFFFF},
                                                     {14, 3 | (1u << 16)}, {32, 0xFFFFFFFFu}, {0, 64}, {16, 3}, {16, 4}};
    for (const auto& [at, v] : patches) {
        QByteArray b = good;
        qToLittleEndian<quint32>(v, b.data() + at);
        EXPECT_FALSE(Dib(b).isValid()) << at << " " << v;
    }
}

TEST(Dib, BmpFilesReadAndWrite)
{
    const Dib d = Dib::fromImage(sample(6, 4));
    const QByteArray file = d.toBmpFile();
    ASSERT_EQ(file.size(), 14 + d.size());
    EXPECT_EQ(file.left(14), DocumentBytes().raw("BM").u32(std::uint32_t(file.size())).u32(0).u32(14 + 40).bytes());
    // Read to the end of an open file: what follows the rows stays, in a block of the file's length.
    QByteArray tailed = file + "tail";
    QBuffer buffer(&tailed);
    ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
    const Dib back = platform::readBmpFile(buffer).value_or(Dib());
    EXPECT_EQ(std::pair(back.bytes(), back.toImage()), std::pair(tailed.mid(14) + QByteArray(14, '\0'), d.toImage()));

    // Another signature, a JPEG, a header or rows cut short, nothing after the header.
    for (const QByteArray& bad : {QByteArray("MB") + file.mid(2), QByteArray("\xFF\xD8\xFF\xE0", 4) + file.mid(4),
                                  file.left(13), file.left(file.size() - 1), QByteArray("BM") + QByteArray(12, '\0')})
        EXPECT_FALSE(Dib::fromBmpFile(bad)) << bad.size();

    // Core headers and top-down rows come through unchanged.
    const QByteArray down = DocumentBytes().raw("BM").u32(14 + 56).u32(0).u32(14 + 48).raw(oneBit(-2)).bytes();
    EXPECT_EQ(Dib::fromBmpFile(down).value_or(Dib()).bytes(), oneBit(-2) + QByteArray(14, '\0'));

    // Rows after a gap are moved up to follow the colour table.
    QByteArray gapped = file;
    gapped.insert(14 + 40, QByteArray(10, '\x5A'));
    qToLittleEndian<quint32>(14 + 40 + 10, gapped.data() + 10);
    const Dib g = Dib::fromBmpFile(gapped).value_or(Dib());
    EXPECT_EQ(std::pair(g.size(), g.toImage()), std::pair(gapped.size(), d.toImage()));
}
