// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Dib.h"

#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

namespace platform {

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;

// RLE data can describe far more pixels than it has bytes; real pictures stay well
// below this many pixels per compressed byte, lying headers do not.
constexpr std::int64_t kRlePixelsPerByte = 1024;
constexpr std::int64_t kRleFreePixels = std::int64_t(1) << 20;

std::uint16_t u16(const uchar* p) { return qFromLittleEndian<quint16>(p); }
std::uint32_t u32(const uchar* p) { return qFromLittleEndian<quint32>(p); }
std::int32_t i32(const uchar* p) { return qFromLittleEndian<qint32>(p); }

bool isInfoHeaderSize(std::uint32_t n)
{
    return n == 40 || n == 52 || n == 56 || n == 108 || n == 124;
}

void put16(uchar*& p, std::uint16_t v)
{
    qToLittleEndian<quint16>(v, p);
    p += 2;
}

void put32(uchar*& p, std::uint32_t v)
{
    qToLittleEndian<quint32>(v, p);
    p += 4;
}

// Small open-addressed map from colour to palette index; gives up past 256 colours.
class PaletteBuilder {
public:
    // Index of c, adding it when new; -1 once the table would exceed 256 colours.
    int indexOf(QRgb c)
    {
        std::uint32_t h = (c * 2654435761u) >> 22; // 10 bits
        for (;;) {
            Slot& s = slots_[h];
            if (!s.used) {
                if (colors_.size() == 256)
                    return -1;
                s = {c, static_cast<std::uint8_t>(colors_.size()), true};
                colors_.push_back(c);
                return s.index;
            }
            if (s.color == c)
                return s.index;
            h = (h + 1) & 1023;
        }
    }
    const std::vector<QRgb>& colors() const { return colors_; }

private:
    struct Slot {
        QRgb color = 0;
        std::uint8_t index = 0;
        bool used = false;
    };
    std::array<Slot, 1024> slots_{};
    std::vector<QRgb> colors_;
};

// Opaque RGB32 copy of any image; transparent pixels are laid on white.
QImage opaqueRgb32(const QImage& image)
{
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB32);
    QImage img = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = line[x];
            const int a = qAlpha(c);
            if (a == 255)
                continue;
            auto over = [a](int v) { return (v * a + 255 * (255 - a) + 127) / 255; };
            line[x] = qRgb(over(qRed(c)), over(qGreen(c)), over(qBlue(c)));
        }
    }
    return img.convertToFormat(QImage::Format_RGB32);
}

} // namespace

Dib::Layout Dib::layout() const
{
    Layout l;
    const auto n = static_cast<std::int64_t>(bytes_.size());
    const auto* p = reinterpret_cast<const uchar*>(bytes_.constData());
    if (n < 4)
        return l;
    l.headerSize = u32(p);
    std::int64_t h = 0;
    if (l.headerSize == 12 && n >= 12) {
        l.core = true;
        l.width = u16(p + 4);
        h = u16(p + 6);
        l.bitCount = u16(p + 10);
    } else if (isInfoHeaderSize(l.headerSize) && n >= l.headerSize) {
        l.width = i32(p + 4);
        h = i32(p + 8);
        l.bitCount = u16(p + 14);
        l.compression = u32(p + 16);
        l.sizeImage = u32(p + 20);
        l.clrUsed = u32(p + 32);
    } else {
        return l;
    }
    l.headerKnown = true;
    l.height = static_cast<int>(h);
    const std::int64_t rows = h < 0 ? -h : h;
    l.rows = rows <= INT32_MAX ? static_cast<int>(rows) : 0;
    const int bpp = l.bitCount;

    // Channel masks: from the header or right after a 40-byte header for
    // BI_BITFIELDS, otherwise the fixed 5-5-5 and 8-8-8 layouts.
    if (l.compression == BitFields) {
        if (l.headerSize == kInfoHeaderSize) {
            l.maskBytes = 12;
            if (n >= kInfoHeaderSize + 12)
                for (int i = 0; i < 3; ++i)
                    l.masks[i] = u32(p + kInfoHeaderSize + 4 * i);
        } else {
            for (int i = 0; i < 3; ++i)
                l.masks[i] = u32(p + kInfoHeaderSize + 4 * i);
        }
    } else if (bpp == 16) {
        l.masks[0] = 0x7C00;
        l.masks[1] = 0x03E0;
        l.masks[2] = 0x001F;
    } else if (bpp == 32) {
        l.masks[0] = 0xFF0000;
        l.masks[1] = 0x00FF00;
        l.masks[2] = 0x0000FF;
    }

    l.entrySize = l.core ? 3 : 4;
    if (!l.core && l.clrUsed != 0)
        l.colorCount = l.clrUsed;
    else if (bpp == 1 || bpp == 4 || bpp == 8)
        l.colorCount = std::int64_t(1) << bpp;
    // All in 64 bits: a 32-bit clrUsed times 4 plus a header still fits easily.
    l.pixelOffset = std::int64_t(l.headerSize) + l.maskBytes + l.colorCount * l.entrySize;

    const bool bppOk = l.core ? (bpp == 1 || bpp == 4 || bpp == 8 || bpp == 24)
                              : (bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32);
    if (!bppOk || l.width <= 0 || rows == 0 || rows > kMaxPixels)
        return l;
    const std::int64_t pixels = std::int64_t(l.width) * rows;
    if (pixels > kMaxPixels)
        return l;
    l.stride = (std::int64_t(l.width) * bpp + 31) / 32 * 4;

    bool compressionOk = false;
    switch (l.compression) {
    case Rgb:
        compressionOk = true;
        break;
    case Rle8:
    case Rle4:
        compressionOk = bpp == (l.compression == Rle8 ? 8 : 4) && h > 0;
        break;
    case BitFields:
        compressionOk = bpp == 16 || bpp == 32;
        break;
    default:
        break;
    }
    if (!compressionOk)
        return l;

    if (l.compression == Rle8 || l.compression == Rle4) {
        l.requiredSize = l.pixelOffset + l.sizeImage;
        const std::int64_t data = l.sizeImage != 0 ? l.sizeImage : n - l.pixelOffset;
        l.valid = l.requiredSize <= n && l.pixelOffset < n
                  && pixels <= kRleFreePixels + kRlePixelsPerByte * data;
    } else {
        l.requiredSize = l.pixelOffset + l.stride * rows;
        l.valid = l.requiredSize <= n;
    }
    return l;
}

Dib Dib::fromImage(const QImage& image, int bitCount)
{
    if (image.isNull() || std::int64_t(image.width()) * image.height() > kMaxPixels)
        return {};
    const QImage src = opaqueRgb32(image);
    if (src.isNull())
        return {};
    const int w = src.width();
    const int h = src.height();

    // 8 bits only when every pixel finds a place in a table of 256.
    PaletteBuilder palette;
    std::vector<std::uint8_t> indices;
    if (bitCount == 8) {
        indices.resize(std::size_t(w) * std::size_t(h));
        std::size_t k = 0;
        for (int y = 0; y < h && bitCount == 8; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(src.constScanLine(y));
            for (int x = 0; x < w; ++x) {
                const int i = palette.indexOf(line[x] | 0xFF000000u);
                if (i < 0) {
                    bitCount = 24;
                    break;
                }
                indices[k++] = static_cast<std::uint8_t>(i);
            }
        }
    }
    if (bitCount != 8 && bitCount != 32)
        bitCount = 24;

    const std::int64_t stride = (std::int64_t(w) * bitCount + 31) / 32 * 4;
    const std::int64_t colors = bitCount == 8 ? std::int64_t(palette.colors().size()) : 0;
    const std::int64_t offset = kInfoHeaderSize + colors * 4;
    const std::int64_t total = offset + stride * h;
    if (total > INT32_MAX)
        return {};

    QByteArray bytes(static_cast<qsizetype>(total), '\0');
    auto* out = reinterpret_cast<uchar*>(bytes.data());
    uchar* p = out;
    put32(p, kInfoHeaderSize);
    put32(p, static_cast<std::uint32_t>(w));
    put32(p, static_cast<std::uint32_t>(h));
    put16(p, 1);
    put16(p, static_cast<std::uint16_t>(bitCount));
    put32(p, Rgb);
    put32(p, static_cast<std::uint32_t>(stride * h));
    put32(p, static_cast<std::uint32_t>(std::max(0, image.dotsPerMeterX())));
    put32(p, static_cast<std::uint32_t>(std::max(0, image.dotsPerMeterY())));
    put32(p, static_cast<std::uint32_t>(colors));
    put32(p, 0);
    for (std::int64_t i = 0; i < colors; ++i) {
        const QRgb c = palette.colors()[std::size_t(i)];
        *p++ = static_cast<uchar>(qBlue(c));
        *p++ = static_cast<uchar>(qGreen(c));
        *p++ = static_cast<uchar>(qRed(c));
        *p++ = 0;
    }

    for (int y = 0; y < h; ++y) {
        uchar* row = out + offset + stride * (h - 1 - y);
        const auto* line = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        if (bitCount == 8) {
            std::memcpy(row, indices.data() + std::size_t(y) * std::size_t(w), std::size_t(w));
        } else if (bitCount == 24) {
            for (int x = 0; x < w; ++x) {
                const QRgb c = line[x];
                row[3 * x] = static_cast<uchar>(qBlue(c));
                row[3 * x + 1] = static_cast<uchar>(qGreen(c));
                row[3 * x + 2] = static_cast<uchar>(qRed(c));
            }
        } else {
            for (int x = 0; x < w; ++x)
                qToLittleEndian<quint32>(line[x] & 0x00FFFFFFu, row + 4 * x);
        }
    }
    return Dib(std::move(bytes));
}

std::optional<Dib> Dib::fromBmpFile(const QByteArray& fileBytes)
{
    if (fileBytes.size() < kFileHeaderSize)
        return std::nullopt;
    char header[kFileHeaderSize];
    std::memcpy(header, fileBytes.constData(), kFileHeaderSize);
    return fromBmpFile(header, fileBytes.mid(kFileHeaderSize));
}

std::optional<Dib> Dib::fromBmpFile(const char (&fileHeader)[14], QByteArray rest)
{
    if (fileHeader[0] != 'B' || fileHeader[1] != 'M')
        return std::nullopt;
    const qsizetype length = kFileHeaderSize + rest.size();

    // Checked without the padding, so that a file cut short is refused rather
    // than completed with zeros.
    Dib dib(std::move(rest));
    // Rows that start after a gap are moved up to follow the colour table, where
    // every reader of the block looks for them.
    const Layout l = dib.layout();
    const std::int64_t rowsAt = std::int64_t(u32(reinterpret_cast<const uchar*>(fileHeader) + 10)) - kFileHeaderSize;
    if (l.headerKnown && rowsAt > l.pixelOffset && rowsAt + kFileHeaderSize <= length) {
        Dib moved(dib.bytes_.left(qsizetype(l.pixelOffset)) + dib.bytes_.mid(qsizetype(rowsAt)));
        if (moved.isValid())
            dib = std::move(moved);
    }
    if (!dib.isValid())
        return std::nullopt;
    // The block keeps the file's length: the picture followed by zeros.
    dib.bytes_.append(QByteArray(length - dib.bytes_.size(), '\0'));
    return dib;
}

QByteArray Dib::toBmpFile() const
{
    const Layout l = layout();
    if (!l.headerKnown)
        return {};
    const std::int64_t total = std::int64_t(kFileHeaderSize) + bytes_.size();
    const std::int64_t offset = kFileHeaderSize + std::min<std::int64_t>(l.pixelOffset, bytes_.size());
    QByteArray file(kFileHeaderSize, '\0');
    auto* p = reinterpret_cast<uchar*>(file.data());
    *p++ = 'B';
    *p++ = 'M';
    put32(p, static_cast<std::uint32_t>(std::min<std::int64_t>(total, UINT32_MAX)));
    put16(p, 0);
    put16(p, 0);
    put32(p, static_cast<std::uint32_t>(std::min<std::int64_t>(offset, UINT32_MAX)));
    file += bytes_;
    return file;
}

Dib Dib::normalized() const
{
    const Layout l = layout();
    if (!l.valid)
        return {};
    if (l.headerSize == kInfoHeaderSize && l.height > 0 && (l.compression == Rgb || l.compression == BitFields))
        return *this;
    Dib out = fromImage(toImage(), l.bitCount <= 8 ? 8 : 24);
    return out;
}

std::optional<Dib> readBmpFile(QIODevice& file)
{
    // The largest file that can hold a picture we decode: headers, masks, a full
    // colour table and 32-bit rows.
    constexpr std::int64_t kMaxFileBytes = kFileHeaderSize + 124 + 12 + 256 * 4 + Dib::kMaxPixels * 4;
    if (file.isSequential())
        return std::nullopt;
    const std::int64_t length = file.size() - file.pos();
    char header[kFileHeaderSize];
    if (file.read(header, kFileHeaderSize) != kFileHeaderSize || header[0] != 'B' || header[1] != 'M')
        return std::nullopt;
    if (length < kFileHeaderSize || length > kMaxFileBytes)
        return std::nullopt;
    QByteArray rest;
    try {
        rest.reserve(qsizetype(length)); // room for the padding
        rest.resize(qsizetype(length - kFileHeaderSize));
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    if (file.read(rest.data(), rest.size()) != rest.size())
        return std::nullopt;
    return Dib::fromBmpFile(header, std::move(rest));
}

} // namespace platform
