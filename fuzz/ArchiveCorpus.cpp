// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the seed documents of archive_fuzz into the folder named on the command
// line: the worked examples, every class with pictures and a pattern, older
// classes, every string prefix and tag form, and a few broken files.
#include "DocumentBytes.h"

#include "model/ObjItem.h"
#include "model/ObjItemBitmap.h"
#include "model/ObjItemLine.h"
#include "model/ObjItemRect.h"
#include "model/ObjItemText.h"
#include "model/PmrData.h"
#include "model/PmrDocument.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <cstdio>

namespace {

platform::Dib picture(int w, int h, int bitCount)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x * 50, y * 70, 255 - x * 30));
    return platform::Dib::fromImage(image, bitCount);
}

std::unique_ptr<ObjItemText> text(const QByteArray& s, int align)
{
    auto t = std::make_unique<ObjItemText>(ObjItemText::ForReading{});
    t->text = s;
    t->align = align;
    t->cx = 400;
    t->cy = 120;
    return t;
}

QByteArray everyClass()
{
    PmrData page;
    page.append(std::make_unique<ObjItem>());
    page.append(text("Text", 0));
    page.append(text(QByteArray::fromHex("82DF82A282B5") + "\r\nPelmora", 1));
    auto line = std::make_unique<ObjItemLine>();
    line->width = 12;
    line->cy = -40;
    page.append(std::move(line));
    page.append(std::make_unique<ObjItemRect>());
    const platform::Rect card{0, 0, 6449, 3898};
    page.append(std::make_unique<ObjItemBitmap>(card, picture(5, 3, 24)));
    page.append(std::make_unique<ObjItemBitmap>(card, picture(4, 4, 8)));
    page.append(std::make_unique<ObjItemBitmap>());
    page.setPattern(picture(3, 2, 32));
    page.setPatternScale(50);
    return writeDocument(page);
}

QByteArray legacyMixed()
{
    const QByteArray dib = picture(3, 2, 24).bytes();
    const platform::LogFont font = ObjItemText::defaultFont();
    return DocumentBytes()
        .head(7)
        .newClass("ObjItem0Rect").common(1, 1, 10, 10, 0x11)
        .newClass("ObjItemText").common(2, 2, 20, 20, 0x22).text(0, 0, "a", font)
        .classRef(1).common(3, 3, 30, 30, 0x33)
        .newClass("ObjItem0Text").common(4, 4, 40, 40, 0x44).text(2, 9, "b", font)
        .newClass("ObjItem0Bitmap").common(5, 5, 30, 20, 0).picture(3, 2, 1, 1, 2, dib)
        .newClass("ObjItem0").common(6, 6, 60, 60, 0x66)
        .newClass("ObjItem0Line").common(7, 7, -70, 70, 0x77).i32(15)
        .tail(90, 50);
}

DocumentBytes textHead()
{
    DocumentBytes d;
    d.head(1).newClass("ObjItemText").common(0, 0, 100, 50, 0).i32(0).i32(0);
    return d;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: archive_corpus <folder>\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral(".")))
        return 1;
    const QByteArray font = ObjItemText::defaultFont().toByteArray();
    const QByteArray rect = DocumentBytes().head(1).newClass("ObjItemRect").common(100, 200, 300, 300, 0xFF);

    const std::pair<const char*, QByteArray> files[] = {
        {"rect65.pmr", DocumentBytes().raw(rect).tail()},
        {"empty28.pmr", DocumentBytes().head(0).tail()},
        {"every-class.pmr", everyClass()},
        {"legacy-mixed.pmr", legacyMixed()},
        {"two-texts-line.pmr", DocumentBytes().head(3)
                                   .newClass("ObjItemText").common(0, 0, 1, 1, 0).text(0, 0, "Text", ObjItemText::defaultFont())
                                   .classRef(1).common(0, 0, 1, 1, 0).text(0, 0, "Text", ObjItemText::defaultFont())
                                   .newClass("ObjItemLine").common(0, 0, 300, 0, 0).i32(0).tail()},
        {"text300.pmr", textHead().str(QByteArray(300, 'm')).raw(font).tail()},
        {"text-long-prefix.pmr", textHead().hex("FFFFFF05000000").raw("hello").raw(font).tail()},
        {"text-wide.pmr", textHead().hex("FFFEFF02E5652C67").raw(font).tail()},
        {"text-wide-word.pmr", textHead().hex("FFFEFFFF0300410042004300").raw(font).tail()},
        {"text-wide-outside-cp932.pmr", textHead().hex("FFFEFF0342D8B7DFCE91").raw(font).tail()},
        {"long-class-tag.pmr", DocumentBytes().head(2).raw(rect.mid(8)).hex("FF7F01000080").common(1, 2, 3, 4, 5).tail()},
        {"marker-and-count.pmr", DocumentBytes().head(-1, 7).tail(0, 0, {}, 0, 0)},
        {"bad-schema.pmr", DocumentBytes().head(1).newClass("ObjItemRect", 2).common(0, 0, 0, 0, 0).tail()},
        {"bad-class.pmr", DocumentBytes().head(1).newClass("PmrData").tail()},
        {"bad-index.pmr", DocumentBytes().head(2).raw(rect.mid(8)).hex("0200").tail()},
        {"cut-picture.pmr", everyClass().left(600)},
    };
    for (const auto& [name, bytes] : files) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            return 1;
    }
    return 0;
}
