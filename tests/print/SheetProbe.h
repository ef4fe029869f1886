#pragma once

// Print test helpers: a card whose corners show on a sheet, and ways to find them.

#include "model/ObjItemRect.h"
#include "model/PmrData.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>

#include <functional>
#include <vector>

namespace sheetprobe {

inline bool isRed(QRgb c) { return qRed(c) > 200 && qGreen(c) < 80 && qBlue(c) < 80; }
inline bool isWhite(QRgb c) { return qRed(c) > 235 && qGreen(c) > 235 && qBlue(c) > 235; }
inline bool isDark(QRgb c) { return qRed(c) < 90 && qGreen(c) < 90 && qBlue(c) < 90; }

// A pale card with a red half-inch square in its top-left corner.
inline void markCard(PmrData& page)
{
    page.setBackColor(0x00C0F0C0);
    auto corner = std::make_unique<ObjItemRect>();
    corner->x = corner->y = 0;
    corner->cx = corner->cy = 360;
    corner->color = 0x000000FF;
    page.append(std::move(corner));
}

// Where runs of matching pixels start along row `at` (or along column `at`).
inline std::vector<int> starts(const QImage& image, int at, bool row, const std::function<bool(QRgb)>& match)
{
    std::vector<int> found;
    bool before = false;
    for (int i = 0; i < (row ? image.width() : image.height()); ++i) {
        const bool now = match(row ? image.pixel(i, at) : image.pixel(at, i));
        if (now && !before)
            found.push_back(i);
        before = now;
    }
    return found;
}

// The last pixel that is not white along row `at` (or column `at`), or -1.
inline int lastInk(const QImage& image, int at, bool row)
{
    for (int i = (row ? image.width() : image.height()) - 1; i >= 0; --i)
        if (!isWhite(row ? image.pixel(i, at) : image.pixel(at, i)))
            return i;
    return -1;
}

inline int count(const QImage& image, const QRect& area, const std::function<bool(QRgb)>& match)
{
    int n = 0;
    const QRect r = area & image.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += match(image.pixel(x, y)) ? 1 : 0;
    return n;
}

inline bool hasPoppler() { return !QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty(); }

// The standard output of a tool.
inline QString tool(const QString& name, const QStringList& args)
{
    QProcess p;
    p.start(name, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

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

} // namespace sheetprobe
