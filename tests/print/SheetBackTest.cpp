// SPDX-License-Identifier: GPL-3.0-or-later
// Printing the card's back: every expectation comes from turning an A4 sheet
// over an edge, read back from the PDF.
#include "SheetProbe.h"

#include "platform/Fonts.h"
#include "print/CardFormatCatalog.h"
#include "print/CardList.h"

#include <QPdfWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

using namespace Qt::StringLiterals;
using namespace sheetprobe;
using print::Flip;
using print::SheetRenderer;
using print::Sides;

namespace {

constexpr int kPaperW = 210, kPaperH = 297; // A4, mm

bool isBlue(QRgb c) { return qBlue(c) > 200 && qRed(c) < 80 && qGreen(c) < 80; }

using Mm = std::pair<int, int>; // x, y in whole millimetres

// The top-left corners of the marks of one colour on a page rasterised at
// 100 ppi, to the nearest millimetre, sorted.
std::vector<Mm> marks(const QImage& page, bool (*match)(QRgb))
{
    std::vector<Mm> found;
    for (int y = 1; y < page.height(); ++y)
        for (int x = 1; x < page.width(); ++x)
            if (match(page.pixel(x, y)) && !match(page.pixel(x - 1, y)) && !match(page.pixel(x, y - 1)))
                found.emplace_back(qRound(x * 0.254), qRound(y * 0.254));
    std::sort(found.begin(), found.end());
    return found;
}

// The corner of a place (0-based, row by row) of "名刺10面 A4": 2 × 5 cards of
// 91 × 55 mm from 14 mm and 11 mm, without gaps.
Mm placeOf(int position) { return {14 + 91 * (position % 2), 11 + 55 * (position / 2)}; }

// The same corner once the sheet is turned: the card mirrored about the
// vertical centre line (over the long edge of a portrait sheet) or the
// horizontal one.
Mm behind(Mm corner, Flip flip, Mm move = {})
{
    const auto [x, y] = corner;
    return flip == Flip::ShortEdge ? Mm(x + move.first, kPaperH - y - 55 + move.second)
                                   : Mm(kPaperW - x - 91 + move.first, y + move.second);
}

class SheetBack : public ::testing::Test {
protected:
    static void SetUpTestSuite() { platform::installFontSubstitutions(); }
    void SetUp() override
    {
        markCard(page);
        PmrData& back = page.ensureBack();
        back.setBackColor(0x00B0F0F0); // pale yellow
        addRect(back, 0, 0, 360, 360, 0x00FF0000); // blue
        job.format = CardFormatCatalog().format(0); // 名刺10面 A4
        job.sides = Sides::Both;
    }
    // The job as an A4 PDF without margins; its name, empty when it did not finish.
    QString toPdf()
    {
        const QString name = dir.filePath(QStringLiteral("sheets.pdf"));
        QPdfWriter writer(name);
        writer.setResolution(600);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        print::PagedSheetTarget target(&writer);
        return SheetRenderer(page, job).run(target) == SheetRenderer::Result::Done ? name : QString();
    }
    static QImage pageOf(const QString& pdf, int n) { return rasterise(pdf, n, 100, QRect(0, 0, 827, 1169)); }
    // A list of `rows` people, whose names both sides print at 5 mm, 5 mm.
    void useList(int rows)
    {
        QByteArray csv = "n\n";
        for (int i = 0; i < rows; ++i)
            csv += "r" + QByteArray::number(i) + "\n";
        job.list = std::make_shared<const print::CardList>(print::CardList::fromBytes(csv));
        addText(page, u"{{n}}"_s, 5, 5, 0, 10);
        addText(*page.back(), u"{{n}}"_s, 5, 5, 0, 10);
    }

    PmrData page;
    SheetRenderer::Job job;
    QTemporaryDir dir;
};

} // namespace

TEST_F(SheetBack, EveryBackLiesBehindItsFrontOnceTheSheetIsTurned)
{
    SKIP_WITHOUT_POPPLER();
    const struct {
        const char* what;
        Flip flip;
        int start;
        bool onlyOne;
        Mm adjust, backAdjust;
        std::vector<std::pair<int, bool>> pages; // each page's sheet and side (back)
    } cases[] = {
        {"long edge", Flip::LongEdge, 1, false, {}, {}, {{0, false}, {0, true}}},
        {"short edge", Flip::ShortEdge, 1, false, {}, {}, {{0, false}, {0, true}}},
        {"one card from 7, offsets", Flip::LongEdge, 7, true, {1, 2}, {3, -2}, {{0, false}, {0, true}, {1, false}, {1, true}}},
        {"one card from 7, short edge", Flip::ShortEdge, 7, true, {}, {-2, 1}, {{0, false}, {0, true}}},
        {"by hand: fronts, then backs", Flip::Manual, 3, false, {}, {}, {{0, false}, {1, false}, {0, true}, {1, true}}},
    };
    for (const auto& c : cases) {
        job.flip = c.flip;
        job.start = c.start;
        job.onlyOne = c.onlyOne;
        job.sheets = int(c.pages.size() / 2);
        std::tie(job.adjustX, job.adjustY) = c.adjust;
        std::tie(job.backAdjustX, job.backAdjustY) = c.backAdjust;
        const QString pdf = toPdf();
        ASSERT_FALSE(pdf.isEmpty()) << c.what;
        EXPECT_TRUE(tool(u"pdfinfo"_s, {pdf}).contains(QRegularExpression(u"Pages: +%1\n"_s.arg(c.pages.size())))) << c.what;
        for (std::size_t n = 0; n < c.pages.size(); ++n) {
            const auto [sheet, isBack] = c.pages[n];
            // From the start on the first sheet, every place on later ones.
            std::vector<Mm> expected;
            const int first = sheet == 0 ? c.start - 1 : 0;
            for (int p = first; p < (c.onlyOne ? first + 1 : 10); ++p)
                expected.push_back(isBack ? behind(placeOf(p), c.flip, c.backAdjust)
                                          : Mm(placeOf(p).first + c.adjust.first, placeOf(p).second + c.adjust.second));
            std::sort(expected.begin(), expected.end());
            const QImage image = pageOf(pdf, int(n) + 1);
            EXPECT_EQ(marks(image, isBack ? isBlue : isRed), expected) << c.what << ", page " << n + 1;
            EXPECT_TRUE(marks(image, isBack ? isRed : isBlue).empty()) << c.what << ", page " << n + 1;
        }
    }
}

TEST_F(SheetBack, EachPersonsBackLiesBehindTheirOwnFront)
{
    SKIP_WITHOUT_POPPLER();
    useList(6);
    const struct {
        const char* what;
        Flip flip;
        int start;
        bool onlyOne;
        std::vector<std::pair<int, int>> sheets; // pages of each sheet's front and back, 1-based
    } cases[] = {
        {"from 7 over two sheets", Flip::LongEdge, 7, false, {{1, 2}, {3, 4}}},
        {"one card a sheet, short edge", Flip::ShortEdge, 1, true, {{1, 2}, {3, 4}, {5, 6}, {7, 8}, {9, 10}, {11, 12}}},
        {"from 7 by hand", Flip::Manual, 7, false, {{1, 3}, {2, 4}}},
    };
    for (const auto& c : cases) {
        job.flip = c.flip;
        job.start = c.start;
        job.onlyOne = c.onlyOne;
        const QString pdf = toPdf();
        ASSERT_FALSE(pdf.isEmpty()) << c.what;
        int people = 0;
        for (const auto& [front, back] : c.sheets) {
            // Each name's card corner: its text lies 5 mm into the card, on both sides.
            const auto on = [&](int n) {
                std::map<QString, Mm> found;
                for (const Word& w : words(pdf, {u"-f"_s, QString::number(n), u"-l"_s, QString::number(n)}))
                    found[w.text] = Mm(qRound(w.xMin * 25.4 / 72) - 5, qRound(w.yMin * 25.4 / 72) - 5);
                return found;
            };
            std::map<QString, Mm> expected;
            for (const auto& [name, corner] : on(front))
                expected[name] = behind(corner, c.flip);
            EXPECT_EQ(on(back), expected) << c.what << ", page " << back;
            people += int(expected.size());
        }
        EXPECT_EQ(people, 6) << c.what;
    }
}

TEST_F(SheetBack, ATurnedBackPrintsItsLeftEdgeAlongTheVerticalSidesTop)
{
    SKIP_WITHOUT_POPPLER();
    // 3 × 3 cards of 55 × 91 mm from 10 mm, 5 mm.
    const CardFormat upright{.paperWidth = 210, .paperHeight = 297, .cardWidth = 55, .cardHeight = 91,
                             .columns = 3, .rows = 3, .leftMargin = 10, .topMargin = 5};
    const struct {
        const char* what;
        CardFormat format;
        Flip flip;
        // The band of the edge the turned back's marked edge lies along: the
        // image of the front's top edge (left edge) on the sheet's back.
        QRect band; // mm
    } cases[] = {
        // The front's top edge, x 10..65 at y 5, lies at x 145..200, y 5 behind.
        {"vertical front, long edge", upright, Flip::LongEdge, QRect(145, 5, 55, 2)},
        // Turned over the short edge, at y 297 - 5 = 292, the band above it.
        {"vertical front, short edge", upright, Flip::ShortEdge, QRect(10, 290, 55, 2)},
        // The front's left edge, x 14 over y 11..66, lies at x 196 behind: the
        // back's top edge, the band left of it.
        {"horizontal front, long edge", job.format, Flip::LongEdge, QRect(194, 11, 2, 55)},
    };
    for (const auto& c : cases) {
        const bool vertical = c.format.cardWidth < c.format.cardHeight;
        page.cardWidth = c.format.cardWidth;
        page.cardHeight = c.format.cardHeight;
        PmrData& back = page.ensureBack();
        back.items().clear();
        back.cardWidth = c.format.cardHeight;
        back.cardHeight = c.format.cardWidth;
        // A 2 mm bar along the horizontal back's left edge, the vertical back's top.
        addRect(back, 0, 0, units(vertical ? 2 : 55), units(vertical ? 55 : 2), 0x00FF0000);
        job.format = c.format;
        job.flip = c.flip;
        job.onlyOne = true;
        const QString pdf = toPdf();
        ASSERT_FALSE(pdf.isEmpty()) << c.what;
        const QRect bar = inkBox(pageOf(pdf, 2), isBlue);
        EXPECT_EQ(QRect(qRound(bar.x() * 0.254), qRound(bar.y() * 0.254), qRound((bar.width() + 1) * 0.254),
                        qRound((bar.height() + 1) * 0.254)),
                  c.band) << c.what;
    }
}
