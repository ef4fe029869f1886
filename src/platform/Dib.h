// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>

#include <cstdint>
#include <optional>
#include <utility>

class QIODevice;

namespace platform {

// A picture as a packed device-independent bitmap, held byte for byte as stored:
// the info header (40-byte BITMAPINFOHEADER, a larger V2..V5 header, or the 12-byte
// BITMAPCOREHEADER), the colour table and the pixel rows. Copies are independent
// (copy-on-write bytes). An empty Dib means "no picture".
//
// Every query reads only the bytes that are there: a header that is missing or too
// short reads as zeros, and isValid() says whether the whole picture is present and
// sane. toImage() decodes only valid pictures.
class Dib {
public:
    // Upper bound on width × height of any picture decoded or encoded.
    static constexpr std::int64_t kMaxPixels = std::int64_t(1) << 28;

    enum Compression : std::uint32_t { Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3 };

    // Where everything lies, from the header and checked against the bytes.
    struct Layout {
        std::uint32_t headerSize = 0; // biSize as stored (0 when under 4 bytes)
        bool headerKnown = false;     // a 12, 40, 52, 56, 108 or 124-byte header, complete
        bool core = false;            // 12-byte BITMAPCOREHEADER
        int width = 0;
        int height = 0;               // signed; negative for top-down rows
        int rows = 0;                 // |height|, 0 when it does not fit an int
        int bitCount = 0;
        std::uint32_t compression = 0;
        std::uint32_t sizeImage = 0;
        std::uint32_t clrUsed = 0;
        std::uint32_t masks[3] = {0, 0, 0}; // red, green, blue channel masks in use
        std::int64_t maskBytes = 0;   // the 12 mask bytes after a 40-byte BI_BITFIELDS header
        std::int64_t colorCount = 0;  // colour table entries
        int entrySize = 0;            // 4, or 3 after a core header
        std::int64_t pixelOffset = 0; // header + masks + colour table
        std::int64_t stride = 0;      // bytes per row, padded to 4
        std::int64_t requiredSize = 0;
        bool valid = false;
    };

    Dib() = default;
    explicit Dib(QByteArray bytes) : bytes_(std::move(bytes)) {}

    const QByteArray& bytes() const { return bytes_; }
    qsizetype size() const { return bytes_.size(); }
    bool isEmpty() const { return bytes_.isEmpty(); }
    void clear() { bytes_.clear(); }

    Layout layout() const;

    std::uint32_t headerSize() const { return layout().headerSize; }
    int width() const { return layout().width; }
    int height() const { return layout().height; }
    int bitCount() const { return layout().bitCount; }
    std::uint32_t compression() const { return layout().compression; }
    std::uint32_t clrUsed() const { return layout().clrUsed; }
    std::int64_t colorTableCount() const { return layout().colorCount; }
    std::int64_t pixelOffset() const { return layout().pixelOffset; }
    std::int64_t stride() const { return layout().stride; }
    // Bytes the header needs: up to the end of the last row (of the compressed
    // data for RLE).
    std::int64_t requiredSize() const { return layout().requiredSize; }
    bool isValid() const { return layout().valid; }

    // The picture as Format_RGB32, rows top first; a null image when not valid.
    QImage toImage() const;

    // A bottom-up BI_RGB picture with a 40-byte header. bitCount 8 gives a colour
    // table when the image has at most 256 colours (24 bits otherwise); 32 gives
    // 32 bits; anything else 24. Transparent pixels are laid on white. The
    // resolution fields take the image's dots per metre. Empty for a null image or
    // one larger than kMaxPixels.
    static Dib fromImage(const QImage& image, int bitCount = 24);

    // The picture of a BMP file: the bytes after the 14-byte file header, padded
    // with zeros to the file's length. Requires the "BM" signature. Rows placed
    // after a gap (the file header's pixel offset beyond the colour table) are
    // moved up to follow the colour table. None when the rows are not all there
    // or the picture is otherwise not valid.
    static std::optional<Dib> fromBmpFile(const QByteArray& fileBytes);
    // The same from the 14-byte file header and the bytes that follow it.
    static std::optional<Dib> fromBmpFile(const char (&fileHeader)[14], QByteArray rest);

    // A BMP file: the 14-byte file header and the stored bytes. Empty when the
    // header is not readable.
    QByteArray toBmpFile() const;

    // The same picture with a 40-byte header and bottom-up uncompressed rows:
    // itself when it already is one, otherwise re-encoded (8 bits when the source
    // has a colour table, else 24). Empty when not valid.
    Dib normalized() const;

    friend bool operator==(const Dib& a, const Dib& b) { return a.bytes_ == b.bytes_; }

private:
    QByteArray bytes_;
};

// Reads an open, seekable BMP file from its current position to its end: the
// picture of fromBmpFile, whose block has the file's length. None when a read
// comes up short, when fromBmpFile refuses the bytes, or when the file is larger
// than any picture we decode or cannot be held in memory.
std::optional<Dib> readBmpFile(QIODevice& file);

} // namespace platform
