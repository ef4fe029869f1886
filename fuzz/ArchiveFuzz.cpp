// SPDX-License-Identifier: GPL-3.0-or-later
// Reads arbitrary bytes as a document. Whatever the reader keeps, also after a
// failure, must be a page of current items that writes, reads back and writes
// again to the same bytes.
#include "DocumentRoundTrip.h"
#include "model/Archive.h"
#include "model/ObjItemBitmap.h"
#include "model/PmrData.h"
#include "model/PmrDocument.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// Decodes small pictures the way drawing will; large ones only cost time here.
void decodeSmall(const platform::Dib& dib)
{
    const platform::Dib::Layout l = dib.layout();
    if (l.valid && std::int64_t(l.width) * l.rows <= (1 << 16))
        (void)dib.toImage();
}

[[noreturn]] void die(const char* what)
{
    std::fprintf(stderr, "archive_fuzz: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    PmrData page;
    try {
        readDocument(bytes, page);
    } catch (const ArchiveError& e) {
        if (archiveErrorMessage(e, QStringLiteral("fuzz.pmr")).isEmpty())
            die("error without a message");
    }

    for (const auto& item : page.items()) {
        if (!item)
            die("empty entry in the item list");
        if (const auto* picture = dynamic_cast<const ObjItemBitmap*>(item.get()))
            decodeSmall(picture->dib);
    }
    decodeSmall(page.pattern);

    expectStableRoundTrip(page, die);
    return 0;
}
