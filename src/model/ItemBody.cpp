// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ItemBody.h"

#include "model/Archive.h"
#include "model/ObjItemText.h"
#include "resources/Strings.h"

#include <QtEndian>

namespace itembody {

namespace {

// Two int32 stored as one 8-byte block.
void serializePair(Archive& ar, int& a, int& b)
{
    unsigned char block[8];
    if (ar.isStoring()) {
        qToLittleEndian<qint32>(a, block);
        qToLittleEndian<qint32>(b, block + 4);
        ar.writeBlock(block, 8);
    } else {
        ar.readBlock(block, 8);
        a = qFromLittleEndian<qint32>(block);
        b = qFromLittleEndian<qint32>(block + 4);
    }
}

void serializeInt(Archive& ar, int& v)
{
    if (ar.isStoring())
        ar.writeInt32(v);
    else
        v = ar.readInt32();
}

} // namespace

void serializeCommon(Archive& ar, int& x, int& y, int& cx, int& cy, std::uint32_t& color)
{
    serializePair(ar, x, y);
    serializePair(ar, cx, cy);
    if (ar.isStoring())
        ar.writeUInt32(color);
    else
        color = ar.readUInt32();
}

void serializeText(Archive& ar, int& align, int& reserved, CardText& text, platform::LogFont& font)
{
    serializeInt(ar, align);
    serializeInt(ar, reserved);
    char record[platform::LogFont::kSize];
    if (ar.isStoring()) {
        ar.writeString(text);
        font.toBytes(record);
        ar.writeBlock(record, sizeof record);
    } else {
        text = ar.readString(ObjItemText::kMaxTextBytes);
        ar.readBlock(record, sizeof record);
        font = platform::LogFont::fromBytes(record);
    }
}

void serializeLine(Archive& ar, int& width)
{
    serializeInt(ar, width);
}

void serializeDib(Archive& ar, platform::Dib& dib)
{
    if (ar.isStoring()) {
        if (dib.size() > qsizetype(UINT32_MAX))
            throw ArchiveError(resources::ids::ArchiveErrorGeneric);
        ar.writeUInt32(static_cast<std::uint32_t>(dib.size()));
        ar.writeBlock(dib.bytes().constData(), dib.size());
    } else {
        const std::uint32_t n = ar.readUInt32();
        dib = platform::Dib(ar.readBlock(qint64(n)));
    }
}

void serializePicture(Archive& ar, platform::Dib& dib, int& dibWidth, int& dibHeight, int& whiteOut,
                      int& edgeMode, int& shape)
{
    serializePair(ar, dibWidth, dibHeight);
    serializeInt(ar, whiteOut);
    serializeInt(ar, edgeMode);
    serializeInt(ar, shape);
    serializeDib(ar, dib);
}

} // namespace itembody
