// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <cstdint>
#include <vector>

class Archive;
class PmrData;

// The block a document may carry after its last field (the pattern scale),
// which older readers never look at:
//   "PMRX", a word version (1), then records until the end of the bytes, each a
//   word type, a dword length and that many bytes.
// Record 1, a QR code: the dword position of its picture item in the list, a
// byte kind, a byte level, a word count of fields, then each field as a dword
// length and UTF-8 bytes.
// Record 2, the card's back: the back page as PmrData::store writes a page,
// its own block included; a back's page cannot hold a back record.
// A document that needs no record has no block at all.
namespace extras {

inline constexpr char kMarker[4] = {'P', 'M', 'R', 'X'};
inline constexpr std::uint16_t kVersion = 1;
enum RecordType : std::uint16_t { QrRecord = 1, BackRecord = 2 };

// A record this version does not know, kept to be written back as it was read.
struct Record {
    std::uint16_t type = 0;
    QByteArray bytes;
    friend bool operator==(const Record&, const Record&) = default;
};

// Writes the block when the page needs one; asBack: the page is a back, whose
// own back is never written.
void store(Archive& ar, const PmrData& page, bool asBack = false);
// Reads the block, if the bytes left start with one, into the page's items and
// its kept records. Bytes left that are no block are ignored, as they always
// were. A damaged block never throws: the page keeps what it could take and is
// marked damaged. asBack: the page is a back, for which a back record is damage.
void load(Archive& ar, PmrData& page, bool asBack = false);

} // namespace extras
