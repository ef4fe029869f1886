// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Dib.h"

#include <QByteArray>
#include <QList>
#include <QSize>
#include <QString>

#include <cstdint>

class QIODevice;

namespace platform {

// Pictures in other formats made into packed DIBs in memory with Qt's image
// readers: BMP, GIF, JPEG, PNG, TIFF and WebP, told apart by their bytes, not by
// the file name. The first frame of an animation or the first page of a TIFF is
// taken; an EXIF orientation is applied.
//
// Bounds on hostile or absurd input: a picture whose header announces a side over
// kMaxSide or more than kMaxPixels pixels is refused before decoding (a JPEG that
// is reduced while it decodes may announce up to Dib::kMaxPixels), no reader may
// allocate more than kDecodeLimitMB for one decoded image, and the result has at
// most kMaxPixels pixels (a DIB of 192 MB).
class ImageConverter {
public:
    static constexpr int kMaxSide = 65535;
    static constexpr std::int64_t kMaxPixels = std::int64_t(1) << 26;
    static constexpr int kDecodeLimitMB = 256;
    // A picture larger than this many pixels per inch over the whole card is
    // reduced on import.
    static constexpr int kImportPpi = 1200;

    enum class Status {
        Ok,
        ReadFailed,  // not a picture we read, damaged, or too large
        WriteFailed, // decoded, but the DIB could not be made
    };

    struct Result {
        Status status = Status::ReadFailed;
        Dib dib; // 40-byte header, bottom-up, 24 bits; empty unless Ok
    };

    // cardMm: the card the picture is for, in millimetres. A picture with more
    // pixels than kImportPpi needs to cover the whole card in both directions is
    // decoded to that size (aspect ratio kept). An empty size keeps every pixel.
    explicit ImageConverter(QSize cardMm = {}) : cardMm_(cardMm) {}

    Result convert(QIODevice& device) const;
    Result convertFile(const QString& path) const;

    // The size a picture of `size` pixels is decoded to for a card of cardMm.
    static QSize importSize(QSize size, QSize cardMm);

    // The formats accepted, as QImageReader names them.
    static const QList<QByteArray>& formats();

private:
    QSize cardMm_;
};

} // namespace platform
