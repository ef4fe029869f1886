// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace platform {

namespace {
constexpr const char* kCodecName = "windows-31j";
}

QString fromCp932(const QByteArray& bytes)
{
    QStringDecoder decoder(kCodecName);
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

QByteArray toCp932(const QString& text)
{
    QStringEncoder encoder(kCodecName);
    if (!encoder.isValid())
        return text.toLatin1();
    return encoder.encode(text);
}

bool fitsCp932(const QString& text)
{
    QStringEncoder encoder(kCodecName);
    if (!encoder.isValid())
        return false;
    const QByteArray bytes = encoder.encode(text);
    return !encoder.hasError() && fromCp932(bytes) == text;
}

bool isCp932LeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

QByteArray truncateCp932(const QByteArray& bytes, int maxBytes)
{
    if (maxBytes <= 0)
        return {};
    if (bytes.size() <= maxBytes)
        return bytes;
    int i = 0;
    while (i < maxBytes) {
        const int len = isCp932LeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
        if (i + len > maxBytes)
            break;
        i += len;
    }
    return bytes.left(i);
}

} // namespace platform
