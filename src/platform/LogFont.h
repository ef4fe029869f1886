// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace platform {

// The 60-byte ANSI LOGFONT as documents store it: five little-endian int32, eight
// bytes, and a 32-byte face name in CP932 (zero-terminated when shorter).
struct LogFont {
    static constexpr int kSize = 60;
    static constexpr int kFaceSize = 32;

    std::int32_t height = 0; // < 0: character height, > 0: cell height, 0: default
    std::int32_t width = 0;
    std::int32_t escapement = 0;
    std::int32_t orientation = 0;
    std::int32_t weight = 0; // 0 default, 400 normal, 700 bold
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 0;
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;
    char faceName[kFaceSize] = {};

    // Reads exactly kSize bytes from p.
    static LogFont fromBytes(const char* p);
    // Writes exactly kSize bytes to out.
    void toBytes(char* out) const;
    QByteArray toByteArray() const;

    // The face name bytes up to the first zero, at most kFaceSize of them.
    QByteArray faceNameBytes() const;
    QString faceNameUnicode() const;
    // Stores CP932 bytes, cut to 31 bytes on a character boundary, zero-filled.
    void setFaceNameBytes(const QByteArray& cp932);
    void setFaceName(const QString& face);

    friend bool operator==(const LogFont& a, const LogFont& b);
};

} // namespace platform
