// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Print test helpers: a card whose corners show on a sheet, and ways to find them.

#include "../model/DocumentBytes.h"
#include "model/ObjItemRect.h"
#include "model/ObjItemText.h"
#include "model/PmrData.h"
#include "print/SheetRenderer.h"
#include "print/SheetTarget.h"
#include "Pixels.h"
#include "TestSupport.h"

#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>

#include <functional>
#include <vector>

namespace sheetprobe {

using namespace pixels;

// Millimetres in card units (1/720 inch).
inline int units(double mm) { return int(mm * 720 / 25.4 + 0.5); }

// A filled rectangle item, in card units.
inline void addRect(PmrData& page, int x, int y, int cx, int cy, std::uint32_t color = 0)
{
    auto r = std::make_unique<ObjItemRect>();
    place(*r, x, y, cx, cy);
    r->color = color;
    page.append(std::move(r));
}

// A text item with its corner at (xMm, yMm); 0 points keeps the default size.
inline ObjItemText& addText(PmrData& page, const QString& text, double xMm, double yMm, std::uint32_t color = 0,
                            int points = 0, int align = ObjItemText::AlignLeft)
{
    auto t = std::make_unique<ObjItemText>();
    t->SetText(text);
    if (points)
        t->SetFontSize(points);
    t->x = units(xMm);
    t->y = units(yMm);
    t->color = color;
    t->align = align;
    return static_cast<ObjItemText&>(**page.append(std::move(t)));
}

// A pale card with a red half-inch square in its top-left corner.
inline void markCard(PmrData& page)
{
    page.setBackColor(0x00C0F0C0);
    addRect(page, 0, 0, 360, 360, 0x000000FF);
}

// Where runs of matching pixels start along row `at` (or column `at`), and the last
// pixel along it that is not white (-1 when none).
inline std::vector<int> starts(const QImage& image, int at, bool row, const std::function<bool(QRgb)>& match)
{
    std::vector<int> found;
    for (int i = 0, n = row ? image.width() : image.height(); i < n; ++i)
        if (match(row ? image.pixel(i, at) : image.pixel(at, i))
            && (i == 0 || !match(row ? image.pixel(i - 1, at) : image.pixel(at, i - 1))))
            found.push_back(i);
    return found;
}
inline int lastInk(const QImage& image, int at, bool row)
{
    for (int i = (row ? image.width() : image.height()) - 1; i >= 0; --i)
        if (!isWhite(row ? image.pixel(i, at) : image.pixel(at, i)))
            return i;
    return -1;
}

inline bool hasPoppler() { return !QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty(); }
// Skips the test where poppler-utils are missing.
#define SKIP_WITHOUT_POPPLER()                                                                                         \
    if (!sheetprobe::hasPoppler())                                                                                     \
    GTEST_SKIP() << "poppler-utils are not installed"

// The standard output of a tool.
inline QString tool(const QString& name, const QStringList& args) { return testsupport::runProgram(name, args).out; }

// A part of a PDF page (1-based) rasterised by pdftoppm at ppi.
inline QImage rasterise(const QString& pdf, int page, int ppi, const QRect& crop)
{
    const QString out = pdf + QStringLiteral(".page");
    const auto n = [](int v) { return QString::number(v); };
    tool(QStringLiteral("pdftoppm"), {"-r", n(ppi), "-f", n(page), "-l", n(page), "-x", n(crop.x()), "-y", n(crop.y()),
                                      "-W", n(crop.width()), "-H", n(crop.height()), "-singlefile", pdf, out});
    QImage image(out + QStringLiteral(".ppm"));
    QFile::remove(out + QStringLiteral(".ppm"));
    return image.convertToFormat(QImage::Format_RGB32);
}

// The words of a PDF as pdftotext finds them, with their boxes in points.
struct Word {
    QString text;
    double xMin, yMin, xMax, yMax;
};
inline std::vector<Word> words(const QString& pdf, const QStringList& options = {})
{
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]+)</word>)re"));
    std::vector<Word> found;
    const auto n = [](const QRegularExpressionMatch& m, int i) { return m.captured(i).toDouble(); };
    for (const QRegularExpressionMatch& m : word.globalMatch(tool(QStringLiteral("pdftotext"),
                                                                  QStringList{QStringLiteral("-bbox")} + options +
                                                                      QStringList{pdf, QStringLiteral("-")})))
        found.push_back({m.captured(5), n(m, 1), n(m, 2), n(m, 3), n(m, 4)});
    return found;
}

// The picture objects of a pdfimages -list, each once however often it is shown.
inline QSet<QString> pictureObjects(const QString& list)
{
    QSet<QString> objects;
    for (const QString& line : list.split(u'\n').mid(2))
        if (const QStringList f = line.simplified().split(u' '); f.size() > 10)
            objects << f[10];
    return objects;
}

} // namespace sheetprobe
