// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds outside bytes to the picture readers: a BMP file, and the same bytes
// taken as a packed DIB, decoded to an image and re-encoded.
#include "platform/Dib.h"

#include <QImage>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const auto dib = platform::Dib::fromBmpFile(bytes)) {
        const QImage image = dib->toImage();
        (void)dib->normalized();
        (void)dib->toBmpFile();
        if (!image.isNull() && image.width() * qint64(image.height()) <= 1 << 20)
            (void)platform::Dib::fromImage(image);
    }
    const platform::Dib packed(bytes);
    if (packed.isValid()) {
        const QImage image = packed.toImage();
        (void)image;
    }
    return 0;
}
