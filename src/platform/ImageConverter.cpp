// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ImageConverter.h"

#include <QBuffer>
#include <QFile>
#include <QtEndian>
#include <QImageReader>

#include <memory>
#include <optional>
#include <new>

namespace platform {

namespace {

bool fits(QSize s, std::int64_t maxPixels)
{
    return s.width() > 0 && s.height() > 0 && s.width() <= ImageConverter::kMaxSide
           && s.height() <= ImageConverter::kMaxSide && std::int64_t(s.width()) * s.height() <= maxPixels;
}

// A reader for the first accepted format that recognises the bytes; no other
// reader of Qt's ever sees them.
std::unique_ptr<QImageReader> openReader(QIODevice& device)
{
    const qint64 start = device.pos();
    for (const QByteArray& format : ImageConverter::formats()) {
        if (!device.seek(start))
            return nullptr;
        auto reader = std::make_unique<QImageReader>(&device, format);
        reader->setAutoDetectImageFormat(false);
        if (reader->canRead())
            return reader;
    }
    return nullptr;
}

// Where the first chunk of a PNG on device (from start) that claims to run
// past the end of the bytes begins, counted from start; none when every chunk
// fits. libpng allocates a chunk whole before it finds the bytes too short,
// gigabytes for a damaged length.
std::optional<qint64> runawayPngChunk(QIODevice& device, qint64 start)
{
    const qint64 size = device.size();
    qint64 at = start + 8; // after the signature
    uchar head[4];
    while (at + 8 <= size) {
        if (!device.seek(at) || device.read(reinterpret_cast<char*>(head), 4) != 4)
            return std::nullopt;
        const qint64 length = qFromBigEndian<quint32>(head);
        if (length + 12 > size - at)
            return at - start;
        at += 12 + length;
    }
    return std::nullopt;
}

} // namespace

const QList<QByteArray>& ImageConverter::formats()
{
    static const QList<QByteArray> list{"bmp", "png", "jpeg", "gif", "tiff", "webp"};
    return list;
}

QSize ImageConverter::importSize(QSize size, QSize cardMm)
{
    if (size.isEmpty() || cardMm.isEmpty())
        return size;
    // Pixels across the card at kImportPpi, rounded up: mm × ppi ÷ 25.4.
    auto need = [](int mm) { return (std::int64_t(mm) * kImportPpi * 10 + 253) / 254; };
    const std::int64_t needW = need(cardMm.width());
    const std::int64_t needH = need(cardMm.height());
    const std::int64_t w = size.width();
    const std::int64_t h = size.height();
    // Covering the card, the side with the larger need per pixel decides; the
    // other then has at least what it needs too.
    if (needW * h >= needH * w) {
        if (w <= needW)
            return size;
        return QSize(int(needW), int((h * needW + w - 1) / w));
    }
    if (h <= needH)
        return size;
    return QSize(int((w * needH + h - 1) / h), int(needH));
}

ImageConverter::Result ImageConverter::convert(QIODevice& device) const
{
    QImageReader::setAllocationLimit(kDecodeLimitMB); // process-wide in Qt
    const qint64 start = device.pos();
    const std::unique_ptr<QImageReader> reader = openReader(device);
    if (!reader)
        return {};
    if (reader->format() == "png" && !device.isSequential()) {
        // Read again as the chunks before the runaway one, closed with an end chunk.
        if (const std::optional<qint64> cut = runawayPngChunk(device, start)) {
            if (*cut > qint64(kDecodeLimitMB) << 20 || !device.seek(start))
                return {};
            QByteArray bytes = device.read(*cut);
            bytes.append("\0\0\0\0IEND\xAE\x42\x60\x82", 12);
            QBuffer complete(&bytes);
            complete.open(QIODevice::ReadOnly);
            return convert(complete);
        }
        device.seek(start);
    }
    reader->setAutoTransform(true);

    // A picture that is reduced while it is decoded may be larger than the result.
    const QSize stored = reader->size(); // invalid when the header does not say
    const bool turned = reader->transformation() & QImageIOHandler::TransformationRotate90;
    const QSize upright = turned ? stored.transposed() : stored;
    const QSize target = importSize(upright, cardMm_);
    const bool decodesSmaller = target != upright && reader->supportsOption(QImageIOHandler::ScaledSize);
    if (stored.isValid() && !fits(stored, decodesSmaller ? Dib::kMaxPixels : kMaxPixels))
        return {};
    if (stored.isValid() && target != upright)
        reader->setScaledSize(turned ? target.transposed() : target); // scaled as stored, then turned

    QImage image;
    try {
        if (!reader->read(&image))
            return {};
        // When the header did not tell the size, or told it wrong.
        const QSize want = importSize(image.size(), cardMm_);
        if (want != image.size() && fits(image.size(), kMaxPixels))
            image = image.scaled(want, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (!fits(image.size(), kMaxPixels))
            return {};
    } catch (const std::bad_alloc&) {
        return {};
    }

    Result result;
    try {
        result.dib = Dib::fromImage(image, 24); // lays transparent pixels on white
    } catch (const std::bad_alloc&) {
        result.dib.clear();
    }
    result.status = result.dib.isEmpty() ? Status::WriteFailed : Status::Ok;
    return result;
}

ImageConverter::Result ImageConverter::convertFile(const QString& path) const
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return convert(file);
}

} // namespace platform
