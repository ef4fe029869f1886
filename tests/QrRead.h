// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// QR codes read back by decoders no one here wrote: ZXing-C++ in process, zbar's
// zbarimg on a picture file.

#include "TestSupport.h"

#define ZX_USE_UTF8 1
#include <ZXing/ReadBarcode.h>

#include <QImage>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>

namespace qrread {

// Every QR code ZXing finds in the image, as text.
inline QStringList zxing(const QImage& image)
{
    const QImage gray = image.convertToFormat(QImage::Format_Grayscale8);
    const ZXing::ImageView view(gray.constBits(), gray.width(), gray.height(), ZXing::ImageFormat::Lum, int(gray.bytesPerLine()));
    QStringList found;
    for (const ZXing::Result& r : ZXing::ReadBarcodes(view, ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::QRCode)))
        if (r.isValid())
            found << QString::fromStdString(r.text());
    return found;
}

// What zbarimg reads in the image: every code's text followed by a line break;
// empty without zbarimg.
inline QString zbar(const QImage& image)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("code.png"));
    if (QStandardPaths::findExecutable(QStringLiteral("zbarimg")).isEmpty() || !image.save(path))
        return {};
    return testsupport::runProgram(QStringLiteral("zbarimg"), {QStringLiteral("--raw"), QStringLiteral("-q"), path}).out;
}

} // namespace qrread
