// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Archive.h"
#include "model/PmrData.h"
#include "model/PmrDocument.h"

#include <QByteArray>

// What any page read from any bytes must keep: written, it reads again, whole,
// and writes the same bytes. die(what) reports the fault and does not return.
template <class Die>
void expectStableRoundTrip(const PmrData& page, Die die)
{
    const QByteArray once = writeDocument(page);
    PmrData again;
    try {
        readDocument(once, again);
    } catch (const ArchiveError&) {
        die("a written document does not read");
    }
    if (again.extrasDamaged || writeDocument(again) != once)
        die("writing a read document changed its bytes");
}
