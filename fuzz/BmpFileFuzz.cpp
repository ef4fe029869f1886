// SPDX-License-Identifier: GPL-3.0-or-later
// Reads outside bytes as a BMP file the way picture import does, then decodes the
// picture and draws it through a Dc, one to one and stretched, onto a small surface.
#include "platform/Dc.h"
#include "platform/Dib.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    const std::optional<platform::Dib> dib = platform::readBmpFile(file);
    if (!dib)
        return 0;
    if (dib->size() != qsizetype(size))
        __builtin_trap(); // the block keeps the file's length

    // Large pictures only cost time here.
    const platform::Dib::Layout l = dib->layout();
    if (std::int64_t(l.width) * l.rows > (1 << 22))
        return 0;
    const QImage image = dib->toImage();
    if (image.isNull() || image.width() != l.width || image.height() != l.rows)
        __builtin_trap(); // a valid picture decodes to its own size

    platform::Dc dc(QSize(48, 32));
    dc.drawImage(-3, -2, image);
    dc.drawImage(QRect(5, 4, 30, 20), image, image.rect());
    dc.drawImage(40, 30, -20, -12, image, 1, 1, image.width() - 1, image.height() - 1);
    return 0;
}
