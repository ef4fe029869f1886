// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/LogFont.h"

#include "platform/Codec.h"

#include <cstring>

namespace platform {

namespace {

std::int32_t readInt32(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    const std::uint32_t v = std::uint32_t(b[0]) | (std::uint32_t(b[1]) << 8)
                            | (std::uint32_t(b[2]) << 16) | (std::uint32_t(b[3]) << 24);
    return static_cast<std::int32_t>(v);
}

void writeInt32(char* p, std::int32_t value)
{
    const auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

} // namespace

LogFont LogFont::fromBytes(const char* p)
{
    LogFont f;
    f.height = readInt32(p);
    f.width = readInt32(p + 4);
    f.escapement = readInt32(p + 8);
    f.orientation = readInt32(p + 12);
    f.weight = readInt32(p + 16);
    const auto* b = reinterpret_cast<const unsigned char*>(p + 20);
    f.italic = b[0];
    f.underline = b[1];
    f.strikeOut = b[2];
    f.charSet = b[3];
    f.outPrecision = b[4];
    f.clipPrecision = b[5];
    f.quality = b[6];
    f.pitchAndFamily = b[7];
    std::memcpy(f.faceName, p + 28, kFaceSize);
    return f;
}

void LogFont::toBytes(char* out) const
{
    writeInt32(out, height);
    writeInt32(out + 4, width);
    writeInt32(out + 8, escapement);
    writeInt32(out + 12, orientation);
    writeInt32(out + 16, weight);
    const std::uint8_t bytes[8] = {italic, underline, strikeOut, charSet,
                                   outPrecision, clipPrecision, quality, pitchAndFamily};
    std::memcpy(out + 20, bytes, 8);
    std::memcpy(out + 28, faceName, kFaceSize);
}

QByteArray LogFont::toByteArray() const
{
    QByteArray out(kSize, '\0');
    toBytes(out.data());
    return out;
}

QByteArray LogFont::faceNameBytes() const
{
    qsizetype n = 0;
    while (n < kFaceSize && faceName[n] != '\0')
        ++n;
    return QByteArray(faceName, n);
}

QString LogFont::faceNameUnicode() const
{
    return fromCp932(faceNameBytes());
}

void LogFont::setFaceNameBytes(const QByteArray& cp932)
{
    const QByteArray cut = truncateCp932(cp932.left(cp932.indexOf('\0') < 0 ? cp932.size()
                                                                             : cp932.indexOf('\0')),
                                         kFaceSize - 1);
    std::memset(faceName, 0, kFaceSize);
    std::memcpy(faceName, cut.constData(), static_cast<size_t>(cut.size()));
}

void LogFont::setFaceName(const QString& face)
{
    setFaceNameBytes(toCp932(face));
}

bool operator==(const LogFont& a, const LogFont& b)
{
    char x[LogFont::kSize];
    char y[LogFont::kSize];
    a.toBytes(x);
    b.toBytes(y);
    return std::memcmp(x, y, LogFont::kSize) == 0;
}

} // namespace platform
