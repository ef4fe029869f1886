// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/DocumentExtras.h"

#include "model/Archive.h"
#include "model/ObjItemBitmap.h"
#include "model/PmrData.h"
#include "resources/Strings.h"

#include <cstring>
#include <map>

namespace extras {

namespace {

QByteArray qrRecord(std::uint32_t position, const QrContent& qr)
{
    QByteArray bytes;
    Archive ar = Archive::storing(bytes);
    ar.writeUInt32(position);
    ar.writeByte(qr.kind);
    ar.writeByte(qr.level);
    ar.writeWord(std::uint16_t(std::min<qsizetype>(qr.fields.size(), 0xFFFF)));
    for (qsizetype i = 0; i < std::min<qsizetype>(qr.fields.size(), 0xFFFF); ++i) {
        const QByteArray utf8 = qr.fields[i].toUtf8();
        ar.writeUInt32(std::uint32_t(utf8.size()));
        ar.writeBlock(utf8.constData(), utf8.size());
    }
    ar.flush();
    return bytes;
}

// The code of a QR record and the position it belongs to; throws on bad bytes.
std::pair<std::uint32_t, QrContent> readQrRecord(const QByteArray& bytes)
{
    Archive ar = Archive::loading(bytes);
    const std::uint32_t position = ar.readUInt32();
    QrContent qr;
    const std::uint8_t kind = ar.readByte();
    const std::uint8_t level = ar.readByte();
    if (kind > QrContent::Text || level > QrContent::H)
        throw ArchiveError(resources::ids::ArchiveErrorGeneric);
    qr.kind = QrContent::Kind(kind);
    qr.level = QrContent::Level(level);
    const std::uint16_t count = ar.readWord();
    for (int i = 0; i < count; ++i)
        qr.fields.append(QString::fromUtf8(ar.readBlock(ar.readUInt32())));
    if (ar.remaining() != 0 || (qr.kind != QrContent::Contact && qr.fields.size() != 1))
        throw ArchiveError(resources::ids::ArchiveErrorGeneric);
    if (qr.kind == QrContent::Contact)
        qr = QrContent::contact(qr.fields, qr.level);
    return {position, qr};
}

QByteArray backRecord(const PmrData& back)
{
    QByteArray bytes;
    Archive ar = Archive::storing(bytes);
    back.store(ar, true);
    ar.flush();
    return bytes;
}

// The back a back record holds; throws when the page cannot be read whole.
std::unique_ptr<PmrData> readBackRecord(const QByteArray& bytes)
{
    auto back = std::make_unique<PmrData>();
    Archive ar = Archive::loading(bytes);
    back->load(ar, true);
    return back;
}

} // namespace

void store(Archive& ar, const PmrData& page, bool asBack)
{
    std::vector<Record> records;
    std::uint32_t position = 0;
    for (const auto& item : page.items()) {
        if (const auto* picture = dynamic_cast<const ObjItemBitmap*>(item.get()); picture && picture->qr)
            records.push_back({QrRecord, qrRecord(position, *picture->qr)});
        ++position;
    }
    if (const PmrData* back = asBack ? nullptr : page.storedBack())
        records.push_back({BackRecord, backRecord(*back)});
    records.insert(records.end(), page.keptRecords.begin(), page.keptRecords.end());
    if (records.empty())
        return;
    ar.writeBlock(kMarker, 4);
    ar.writeWord(kVersion);
    for (const Record& r : records) {
        ar.writeWord(r.type);
        ar.writeUInt32(std::uint32_t(r.bytes.size()));
        ar.writeBlock(r.bytes.constData(), r.bytes.size());
    }
}

void load(Archive& ar, PmrData& page, bool asBack)
{
    page.keptRecords.clear();
    page.extrasDamaged = false;
    char marker[4];
    if (ar.remaining() < 4)
        return;
    ar.readBlock(marker, 4);
    if (std::memcmp(marker, kMarker, 4) != 0)
        return;

    std::vector<ObjItemBitmap*> pictures; // by list position, null for other items
    for (const auto& item : page.items())
        pictures.push_back(dynamic_cast<ObjItemBitmap*>(item.get()));
    std::map<std::uint32_t, QrContent> codes;
    std::unique_ptr<PmrData> back;
    try {
        ar.readWord(); // version: records say what they are
        while (ar.remaining() > 0) {
            const std::uint16_t type = ar.readWord();
            QByteArray bytes = ar.readBlock(ar.readUInt32());
            if (type == BackRecord) {
                if (asBack || back)
                    throw ArchiveError(resources::ids::ArchiveErrorGeneric);
                back = readBackRecord(bytes);
                if (back->extrasDamaged)
                    page.extrasDamaged = true;
                continue;
            }
            if (type != QrRecord) {
                page.keptRecords.push_back({type, std::move(bytes)});
                continue;
            }
            auto [position, qr] = readQrRecord(bytes);
            if (position >= pictures.size() || !pictures[position] || codes.count(position))
                throw ArchiveError(resources::ids::ArchiveErrorGeneric);
            codes.emplace(position, std::move(qr));
        }
    } catch (const ArchiveError&) {
        page.extrasDamaged = true;
    }
    for (auto& [position, qr] : codes)
        pictures[position]->qr = std::move(qr);
    if (back) {
        back->extrasDamaged = false;
        page.setBack(std::move(back));
    }
}

} // namespace extras
