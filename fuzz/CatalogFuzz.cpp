// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds outside bytes to the card-format readers: one format line, and a whole
// "cardform.ini" in a scratch application directory, then writes it back.
#include "print/CardFormatCatalog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir dir;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    CardFormat format;
    if (CardFormatCatalog::parseLine(bytes, format))
        (void)CardFormatCatalog::formatLine(format);

    const QString ini = dir.filePath(QStringLiteral("cardform.ini"));
    {
        QFile file(ini);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(bytes);
    }
    CardFormatCatalog catalog;
    catalog.loadFile(dir.path(), QStringLiteral("cardform.ini"));
    (void)catalog.currentFormat();
    catalog.saveFile(dir.filePath(QStringLiteral("out.ini")));
    QFile::remove(dir.filePath(QStringLiteral("cardform.ini.bak")));
    return 0;
}
