#pragma once

// Print test helpers: a card whose corners show on a sheet, and ways to find them.

#include "model/ObjItemRect.h"
#include "model/PmrData.h"
#include "print/SheetRenderer.h"
#include "print/SheetTarget.h"

#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>

#include <functional>
#include <vector>

namespace sheetprobe {

inline bool isRed(QRgb c) { return qRed(c) > 200 && qGreen(c) < 80 && qBlue(c) < 80; }
inline bool isWhite(QRgb c) { return qRed(c) > 235 && qGreen(c) > 235 && qBlue(c) > 235; }
inline bool isDark(QRgb c) { return qRed(c) < 90 && qGreen(c) < 90 && qBlue(c) < 90; }

// A filled rectangle item, in card units (1/720 inch).
inline void addRect(PmrData& page, int x, int y, int cx, int cy, std::uint32_t color = 0)
{
    auto r = std::make_unique<ObjItemRect>();
    r->x = x;
    r->y = y;
    r->cx = cx;
    r->cy = cy;
    r->color = color;
    page.append(std::move(r));
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

// An A4 PDF, without margins, of what `run` draws at ppi; whether it finished.
inline bool writePdf(const QString& pdf, int ppi,
                     const std::function<print::SheetRenderer::Result(print::SheetTarget&)>& run)
{
    QPdfWriter writer(pdf);
    writer.setResolution(ppi);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    print::PagedSheetTarget target(&writer);
    return run(target) == print::SheetRenderer::Result::Done;
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
