// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Dib.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <bit>
#include <vector>

// Decoding of packed DIBs into RGB32 images, one scanline at a time.

namespace platform {

namespace {

using Palette = std::array<QRgb, 256>;

// One colour channel of a BI_BITFIELDS or 5-5-5 pixel, widened to 8 bits.
class Channel {
public:
    explicit Channel(std::uint32_t mask)
        : mask_(mask)
    {
        if (mask == 0)
            return;
        shift_ = std::countr_zero(mask);
        bits_ = 32 - std::countl_zero(mask) - shift_;
        if (bits_ <= 8) {
            const std::uint32_t max = (1u << bits_) - 1;
            for (std::uint32_t v = 0; v <= max; ++v)
                scale_[v] = static_cast<std::uint8_t>((v * 255 + max / 2) / max);
        }
    }

    std::uint32_t operator()(std::uint32_t pixel) const
    {
        const std::uint32_t v = (pixel & mask_) >> shift_;
        return bits_ <= 8 ? scale_[v] : v >> (bits_ - 8);
    }

private:
    std::uint32_t mask_ = 0;
    int shift_ = 0;
    int bits_ = 0;
    std::array<std::uint8_t, 256> scale_{};
};

struct Channels {
    Channel r, g, b;
    explicit Channels(const std::uint32_t (&m)[3]) : r(m[0]), g(m[1]), b(m[2]) {}
    QRgb operator()(std::uint32_t pixel) const { return qRgb(int(r(pixel)), int(g(pixel)), int(b(pixel))); }
};

Palette readPalette(const Dib::Layout& l, const uchar* base)
{
    Palette lut;
    lut.fill(qRgb(0, 0, 0)); // indices beyond the table are black
    if (l.bitCount > 8)
        return lut;
    const std::int64_t count = std::min<std::int64_t>(l.colorCount, std::int64_t(1) << l.bitCount);
    const uchar* table = base + l.headerSize + l.maskBytes;
    for (std::int64_t i = 0; i < count; ++i) {
        const uchar* e = table + i * l.entrySize;
        lut[std::size_t(i)] = qRgb(e[2], e[1], e[0]);
    }
    return lut;
}

void decodeRows(const Dib::Layout& l, const uchar* base, const Palette& lut, QImage& img)
{
    const int w = l.width;
    const bool standard32 = l.masks[0] == 0xFF0000 && l.masks[1] == 0xFF00 && l.masks[2] == 0xFF;
    std::vector<QRgb> table16;
    std::optional<Channels> channels;
    if (l.bitCount == 16) {
        const Channels c(l.masks);
        table16.resize(65536);
        for (std::uint32_t v = 0; v < 65536; ++v)
            table16[v] = c(v);
    } else if (l.bitCount == 32 && !standard32) {
        channels.emplace(l.masks);
    }

    uchar* bits = img.bits();
    const qsizetype bpl = img.bytesPerLine();
    for (int y = 0; y < l.rows; ++y) {
        const std::int64_t stored = l.height < 0 ? y : l.rows - 1 - y;
        const uchar* row = base + l.pixelOffset + l.stride * stored;
        auto* out = reinterpret_cast<QRgb*>(bits + bpl * y);
        switch (l.bitCount) {
        case 1:
            for (int x = 0; x < w; ++x)
                out[x] = lut[(row[x >> 3] >> (7 - (x & 7))) & 1];
            break;
        case 4:
            for (int x = 0; x < w; ++x)
                out[x] = lut[(x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4)];
            break;
        case 8:
            for (int x = 0; x < w; ++x)
                out[x] = lut[row[x]];
            break;
        case 16:
            for (int x = 0; x < w; ++x)
                out[x] = table16[qFromLittleEndian<quint16>(row + 2 * x)];
            break;
        case 24:
            for (int x = 0; x < w; ++x, row += 3)
                out[x] = 0xFF000000u | (QRgb(row[2]) << 16) | (QRgb(row[1]) << 8) | row[0];
            break;
        case 32:
            if (channels) {
                for (int x = 0; x < w; ++x)
                    out[x] = (*channels)(qFromLittleEndian<quint32>(row + 4 * x));
            } else {
                for (int x = 0; x < w; ++x)
                    out[x] = 0xFF000000u | (qFromLittleEndian<quint32>(row + 4 * x) & 0x00FFFFFFu);
            }
            break;
        default:
            break;
        }
    }
}

// RLE8 / RLE4, bottom-up. Pixels the data skips keep colour 0; pixels past the
// right edge are dropped; the data ends at `end` whatever it says.
void decodeRle(const Dib::Layout& l, const uchar* base, std::int64_t end, const Palette& lut, QImage& img)
{
    const bool four = l.compression == Dib::Rle4;
    const std::int64_t w = l.width;
    const std::int64_t rows = l.rows;
    img.fill(lut[0]);
    uchar* bits = img.bits();
    const qsizetype bpl = img.bytesPerLine();

    std::int64_t x = 0;
    std::int64_t y = 0; // counted from the bottom row
    auto put = [&](int index) {
        if (x < w)
            reinterpret_cast<QRgb*>(bits + bpl * (rows - 1 - y))[x] = lut[std::size_t(index)];
        ++x;
    };

    const uchar* d = base;
    std::int64_t pos = l.pixelOffset;
    while (pos + 2 <= end && y < rows) {
        const int count = d[pos];
        const int value = d[pos + 1];
        pos += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i)
                put(four ? ((i & 1) ? (value & 0x0F) : (value >> 4)) : value);
            x = std::min(x, w);
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++y;
        } else if (value == 1) { // end of picture
            break;
        } else if (value == 2) { // move right and up
            if (pos + 2 > end)
                break;
            x = std::min(x + d[pos], w);
            y += d[pos + 1];
            pos += 2;
        } else { // literal pixels, padded to a 16-bit boundary
            const std::int64_t bytes = four ? (value + 1) / 2 : value;
            if (pos + bytes > end)
                break;
            for (int i = 0; i < value; ++i) {
                const int b = d[pos + (four ? i / 2 : i)];
                put(four ? ((i & 1) ? (b & 0x0F) : (b >> 4)) : b);
            }
            x = std::min(x, w);
            pos += bytes + (bytes & 1);
        }
    }
}

} // namespace

QImage Dib::toImage() const
{
    const Layout l = layout();
    if (!l.valid)
        return {};
    QImage img(l.width, l.rows, QImage::Format_RGB32);
    if (img.isNull())
        return {};
    const auto* base = reinterpret_cast<const uchar*>(bytes_.constData());
    const Palette lut = readPalette(l, base);
    if (l.compression == Rle8 || l.compression == Rle4) {
        const std::int64_t end = l.sizeImage != 0 ? l.pixelOffset + l.sizeImage : bytes_.size();
        decodeRle(l, base, end, lut, img);
    } else {
        decodeRows(l, base, lut, img);
    }
    return img;
}

} // namespace platform
