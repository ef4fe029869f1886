// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds outside bytes to the picture converter of the import, as they would come
// from a file, with and without a (tiny) card to reduce for.
#include "platform/ImageConverter.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    // A 2 × 1 mm card needs 95 × 48 pixels, so most inputs are reduced.
    const QSize card = size % 2 ? QSize(2, 1) : QSize();
    const platform::ImageConverter::Result r = platform::ImageConverter(card).convert(file);
    if (r.status != platform::ImageConverter::Status::Ok)
        return 0;
    const platform::Dib::Layout l = r.dib.layout();
    if (!l.valid || l.headerSize != 40 || l.bitCount != 24 || l.height <= 0)
        __builtin_trap();
    if (!card.isEmpty() && (l.width > 95 && l.height > 48))
        __builtin_trap(); // reduced to what the card needs
    if (std::int64_t(l.width) * l.rows <= (1 << 20))
        (void)r.dib.toImage();
    return 0;
}
