// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Dib.h"
#include "platform/LogFont.h"

#include <QByteArray>
#include <QImage>

#include <cstdint>

// A picture whose every pixel differs from its neighbours.
inline platform::Dib testPicture(int w, int h, int bitCount = 24)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x * 40, y * 60, (x + y) * 20));
    return platform::Dib::fromImage(image, bitCount);
}

// Places an item, current or older, at (x, y) with extents cx, cy.
template <class Item>
void place(Item& item, int x, int y, int cx, int cy)
{
    item.x = x;
    item.y = y;
    item.cx = cx;
    item.cy = cy;
}

// Builds little-endian bytes field by field: documents for the archive tests,
// picture headers for the DIB tests.
class DocumentBytes {
public:
    DocumentBytes& u8(unsigned v) { return raw(QByteArray(1, char(v & 0xFF))); }
    DocumentBytes& u16(unsigned v) { return u8(v).u8(v >> 8); }
    DocumentBytes& u32(std::uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
    DocumentBytes& i32(std::int32_t v) { return u32(std::uint32_t(v)); }
    DocumentBytes& raw(const QByteArray& b)
    {
        bytes_.append(b);
        return *this;
    }
    DocumentBytes& hex(const char* h) { return raw(QByteArray::fromHex(h)); }
    DocumentBytes& rgbq(int r, int g, int b) { return u8(b).u8(g).u8(r).u8(0); }

    // Marker 1 and the item count.
    DocumentBytes& head(std::int32_t count, std::uint32_t marker = 1) { return u32(marker).i32(count); }
    DocumentBytes& newClass(const QByteArray& name, unsigned schema = 1)
    {
        return u16(0xFFFF).u16(schema).u16(unsigned(name.size())).raw(name);
    }
    DocumentBytes& classRef(unsigned index) { return u16(0x8000 | index); }
    DocumentBytes& common(int x, int y, int cx, int cy, std::uint32_t color)
    {
        return i32(x).i32(y).i32(cx).i32(cy).u32(color);
    }
    // A string with the shortest prefix.
    DocumentBytes& str(const QByteArray& s)
    {
        const auto n = std::uint32_t(s.size());
        if (n < 0xFF)
            return u8(n).raw(s);
        return (n < 0xFFFE ? u8(0xFF).u16(n) : u8(0xFF).u16(0xFFFF).u32(n)).raw(s);
    }
    DocumentBytes& text(int align, int reserved, const QByteArray& s, const platform::LogFont& font)
    {
        return i32(align).i32(reserved).str(s).raw(font.toByteArray());
    }
    DocumentBytes& picture(int w, int h, int whiteOut, int edge, int shape, const QByteArray& dib)
    {
        return i32(w).i32(h).i32(whiteOut).i32(edge).i32(shape).u32(std::uint32_t(dib.size())).raw(dib);
    }
    // Card size, pattern, colour and scale.
    DocumentBytes& tail(int width = 91, int height = 55, const QByteArray& pattern = {},
                        std::uint32_t back = 0xFFFFFF, int scale = 100)
    {
        return i32(width).i32(height).u32(std::uint32_t(pattern.size())).raw(pattern).u32(back).i32(scale);
    }

    const QByteArray& bytes() const { return bytes_; }
    operator QByteArray() const { return bytes_; }

private:
    QByteArray bytes_;
};
