// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds outside bytes to the list reader of a print job, and takes the bytes as a
// card text whose fields are filled from every row read.
#include "print/CardFields.h"
#include "print/CardList.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const print::CardList list = print::CardList::fromBytes(bytes);
    const QString text = QString::fromUtf8(bytes);
    (void)list.missingColumns(print::textFields(text));
    for (qsizetype i = 0; i < list.rowCount() && i < 50; ++i)
        (void)print::fillFields(text, [&](const QString& name) { return list.row(i).value(list.column(name)); });
    return 0;
}
