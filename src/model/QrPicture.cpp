// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/QrPicture.h"

#include "platform/Dc.h"
#include "platform/GdiMath.h"

namespace qr {

namespace {

constexpr int kHeaderSize = 40;

void putU16(QByteArray& b, int at, std::uint16_t v)
{
    b[at] = char(v & 0xFF);
    b[at + 1] = char(v >> 8);
}

void putU32(QByteArray& b, int at, std::uint32_t v)
{
    putU16(b, at, std::uint16_t(v & 0xFFFF));
    putU16(b, at + 2, std::uint16_t(v >> 16));
}

} // namespace

platform::Dib picture(const Modules& modules, std::uint32_t color)
{
    const int side = modules.size + 2 * kQuietZone;
    const int stride = (side + 31) / 32 * 4;
    QByteArray b(kHeaderSize + 8 + stride * side, '\0');
    putU32(b, 0, kHeaderSize);
    putU32(b, 4, std::uint32_t(side));
    putU32(b, 8, std::uint32_t(side)); // bottom-up rows
    putU16(b, 12, 1);
    putU16(b, 14, 1);
    putU32(b, 20, std::uint32_t(stride * side));
    putU32(b, 32, 2);
    // Colour 0 the dark modules (a COLORREF is R, G, B low to high; a table entry B, G, R), 1 white.
    b[kHeaderSize + 0] = char((color >> 16) & 0xFF);
    b[kHeaderSize + 1] = char((color >> 8) & 0xFF);
    b[kHeaderSize + 2] = char(color & 0xFF);
    b[kHeaderSize + 4] = b[kHeaderSize + 5] = b[kHeaderSize + 6] = char(0xFF);
    for (int row = 0; row < side; ++row) {
        const int y = side - 1 - row - kQuietZone;
        char* line = b.data() + kHeaderSize + 8 + row * stride;
        for (int x = 0; x < side; ++x) {
            const int mx = x - kQuietZone;
            const bool dark = y >= 0 && y < modules.size && mx >= 0 && mx < modules.size && modules.at(mx, y);
            if (!dark)
                line[x / 8] = char(line[x / 8] | (0x80 >> (x % 8)));
        }
    }
    return platform::Dib(b);
}

platform::Dib picture(const QrContent& content, std::uint32_t color)
{
    const std::optional<Modules> m = encode(content.payload(), content.level);
    return m ? picture(*m, color) : platform::Dib();
}

void draw(platform::Dc& dc, const QImage& modules, const platform::Rect& r)
{
    const int n = modules.width(), rows = modules.height();
    if (n <= 0 || rows <= 0 || r.isEmpty())
        return;
    // Module i starts at r.left + i * width / n, so the modules tile r exactly.
    const auto edgeX = [&](int i) { return platform::saturate(r.left + r.width() * i / n); };
    const auto edgeY = [&](int i) { return platform::saturate(r.top + r.height() * i / rows); };
    dc.fillRect(r.left, r.top, r.right, r.bottom, QColor(Qt::white));
    for (int y = 0; y < rows; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(modules.constScanLine(y));
        for (int x = 0; x < n;) {
            const QRgb c = line[x] | 0xFF000000u;
            if (c == 0xFFFFFFFFu) {
                ++x;
                continue;
            }
            int end = x + 1;
            while (end < n && (line[end] | 0xFF000000u) == c)
                ++end;
            dc.fillRect(edgeX(x), edgeY(y), edgeX(end), edgeY(y + 1), QColor::fromRgb(c));
            x = end;
        }
    }
}

int moduleHundredthsMm(int side, int extent)
{
    // 720 units an inch, 2540 hundredths of a millimetre an inch.
    return side <= 0 ? 0 : int(std::int64_t(extent) * 2540 / (std::int64_t(720) * side));
}

} // namespace qr
