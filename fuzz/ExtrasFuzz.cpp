// SPDX-License-Identifier: GPL-3.0-or-later
// Reads arbitrary bytes as the extras block after a small page of a rectangle
// and two pictures. The page must always open whole; whatever codes, back and
// kept records it takes must write, read back and write again to the same bytes.
#include "DocumentRoundTrip.h"
#include "model/ObjItemBitmap.h"
#include "model/ObjItemRect.h"
#include "model/PmrData.h"
#include "model/PmrDocument.h"
#include "model/QrPicture.h"

#include <QByteArray>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void die(const char* what)
{
    std::fprintf(stderr, "extras_fuzz: %s\n", what);
    std::abort();
}

const QByteArray& pageBytes()
{
    static const QByteArray bytes = [] {
        PmrData page;
        page.append(std::make_unique<ObjItemBitmap>());
        page.append(std::make_unique<ObjItemRect>());
        page.append(std::make_unique<ObjItemBitmap>());
        return writeDocument(page);
    }();
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = pageBytes() + QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
    PmrData page;
    try {
        readDocument(bytes, page);
    } catch (const ArchiveError&) {
        die("the block cost the page");
    }
    if (page.items().size() != 3)
        die("the page lost items");
    if (page.back() && page.back()->back())
        die("a back holds a back");
    for (const PmrData* side : {&page, page.back()}) {
        if (!side)
            continue;
        for (const auto& item : side->items())
            if (const auto* picture = dynamic_cast<const ObjItemBitmap*>(item.get()); picture && picture->qr)
                if (picture->qr->payload().size() < 4000)
                    (void)qr::encode(picture->qr->payload(), picture->qr->level);
    }

    expectStableRoundTrip(page, die);
    return 0;
}
