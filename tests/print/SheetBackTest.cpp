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

constexpr double kPaperW = 210, kPaperH = 297; // A4, mm
constexpr int kPpi = 100;                      // rasterised at
constexpr double kMmPerPixel = 25.4 / kPpi;

bool isBlue(QRgb c) { return qBlue(c) > 200 && qRed(c) < 80 && qGreen(c) < 80; }

// The top-left corners of the marks of one colour on a page, in mm.
std::vector<QPointF> marks(const QImage& page, bool (*match)(QRgb))
{
    std::vector<QPointF> found;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (match(page.pixel(x, y)) && (x == 0 || !match(page.pixel(x - 1, y)))
                && (y == 0 || !match(page.pixel(x, y - 1))))
                found.emplace_back(x * kMmPerPixel, y * kMmPerPixel);
    std::sort(found.begin(), found.end(), [](QPointF a, QPointF b) { return std::pair(a.y(), a.x()) < std::pair(b.y(), b.x()); });
    return found;
}

// Whether two lists of points agree within a rasterised pixel and a half.
::testing::AssertionResult samePoints(std::vector<QPointF> found, std::vector<QPointF> expected)
{
    const auto order = [](QPointF a, QPointF b) { return std::pair(qRound(a.y()), qRound(a.x())) < std::pair(qRound(b.y()), qRound(b.x())); };
    std::sort(found.begin(), found.end(), order);
    std::sort(expected.begin(), expected.end(), order);
    QString text;
    for (const auto* list : {&found, &expected}) {
        text += list == &found ? u"found"_s : u"; expected"_s;
        for (QPointF p : *list)
            text += u" (%1, %2)"_s.arg(p.x(), 0, 'f', 1).arg(p.y(), 0, 'f', 1);
    }
    bool same = found.size() == expected.size();
    for (std::size_t i = 0; same && i < found.size(); ++i)
        same = std::abs(found[i].x() - expected[i].x()) < 1.5 * kMmPerPixel
               && std::abs(found[i].y() - expected[i].y()) < 1.5 * kMmPerPixel;
    return same ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << text.toStdString();
}

// The corner of the place (0-based, row by row) of "名刺10面 A4": 2 × 5 cards of
// 91 × 55 mm from 14 mm and 11 mm, without gaps.
QPointF placeOf(int position) { return {14.0 + 91 * (position % 2), 11.0 + 55 * (position / 2)}; }

// The same corner once the sheet is turned: mirrored with the card about the
// vertical centre line (over the long edge of a portrait sheet) or the
// horizontal one, for a card of w × h mm.
QPointF behind(QPointF corner, Flip flip, double w = 91, double h = 55)
{
    return flip == Flip::ShortEdge ? QPointF(corner.x(), kPaperH - corner.y() - h)
                                   : QPointF(kPaperW - corner.x() - w, corner.y());
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
    static QImage pageOf(const QString& pdf, int n) { return rasterise(pdf, n, kPpi, QRect(0, 0, 827, 1169)); }
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
        int sheets;
        QPoint adjust, backAdjust; // mm
        std::vector<std::pair<int, bool>> pages; // each page's sheet and side (back)
    } cases[] = {
        {"long edge", Flip::LongEdge, 1, false, 1, {}, {}, {{0, false}, {0, true}}},
        {"short edge", Flip::ShortEdge, 1, false, 1, {}, {}, {{0, false}, {0, true}}},
        {"one card from 7, offsets of both sides", Flip::LongEdge, 7, true, 2, {1, 2}, {3, -2},
         {{0, false}, {0, true}, {1, false}, {1, true}}},
        {"one card from 7, short edge", Flip::ShortEdge, 7, true, 1, {}, {-2, 1}, {{0, false}, {0, true}}},
        {"by hand: the fronts, then the backs", Flip::Manual, 3, false, 2, {}, {}, {{0, false}, {1, false}, {0, true}, {1, true}}},
    };
    for (const auto& c : cases) {
        job.flip = c.flip;
        job.start = c.start;
        job.onlyOne = c.onlyOne;
        job.sheets = c.sheets;
        job.adjustX = c.adjust.x();
        job.adjustY = c.adjust.y();
        job.backAdjustX = c.backAdjust.x();
        job.backAdjustY = c.backAdjust.y();
        const QString pdf = toPdf();
        ASSERT_FALSE(pdf.isEmpty()) << c.what;
        for (std::size_t n = 0; n < c.pages.size(); ++n) {
            const auto [sheet, isBack] = c.pages[n];
            // The places the sheet prints: from the start on the first, all later.
            std::vector<QPointF> fronts, backs;
            const int first = sheet == 0 ? c.start - 1 : 0;
            for (int p = first; p < (c.onlyOne ? first + 1 : 10); ++p) {
                fronts.push_back(placeOf(p) + QPointF(c.adjust));
                backs.push_back(behind(placeOf(p), c.flip) + QPointF(c.backAdjust));
            }
            const QImage image = pageOf(pdf, int(n) + 1);
            EXPECT_TRUE(samePoints(marks(image, isRed), isBack ? std::vector<QPointF>{} : fronts))
                << c.what << ", page " << n + 1;
            EXPECT_TRUE(samePoints(marks(image, isBlue), isBack ? backs : std::vector<QPointF>{}))
                << c.what << ", page " << n + 1;
        }
        EXPECT_EQ(tool(u"pdfinfo"_s, {pdf}).contains(QRegularExpression(u"Pages: +%1\\n"_s.arg(c.pages.size()))), true)
            << c.what;
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
    constexpr double kPt = 72 / 25.4;
    for (const auto& c : cases) {
        job.flip = c.flip;
        job.start = c.start;
        job.onlyOne = c.onlyOne;
        const QString pdf = toPdf();
        ASSERT_FALSE(pdf.isEmpty()) << c.what;
        int people = 0;
        for (const auto& [front, back] : c.sheets) {
            const auto on = [&](int n) {
                std::map<QString, QPointF> found; // each name's corner in mm
                for (const Word& w : words(pdf, {u"-f"_s, QString::number(n), u"-l"_s, QString::number(n)}))
                    found[w.text] = QPointF(w.xMin, w.yMin) / kPt;
                return found;
            };
            const auto fronts = on(front);
            const auto backs = on(back);
            ASSERT_EQ(fronts.size(), backs.size()) << c.what << ", page " << front;
            for (const auto& [name, corner] : fronts) {
                ASSERT_TRUE(backs.count(name)) << c.what << ": " << name.toStdString();
                // The text's corner lies 5 mm into both cards.
                const QPointF expected = behind(corner - QPointF(5, 5), c.flip) + QPointF(5, 5);
                EXPECT_NEAR(backs.at(name).x(), expected.x(), 0.5) << c.what << ": " << name.toStdString();
                EXPECT_NEAR(backs.at(name).y(), expected.y(), 0.5) << c.what << ": " << name.toStdString();
            }
            people += int(fronts.size());
        }
        EXPECT_EQ(people, 6) << c.what;
    }
}

TEST_F(SheetBack, ATurnedBackPrintsItsLeftEdgeAlongTheVerticalSidesTop)
{
    SKIP_WITHOUT_POPPLER();
    CardFormat upright = job.format; // 55 × 91 mm cards, three across from 10 mm, 5 mm
    upright.cardWidth = 55;
    upright.cardHeight = 91;
    upright.columns = 3;
    upright.rows = 3;
    upright.leftMargin = 10;
    upright.topMargin = 5;
    const struct {
        const char* what;
        CardFormat format;
        Flip flip;
        // The band of the edge the turned back's marked edge lies along: the
        // image of the front's top edge (left edge) on the sheet's back.
        QRectF band; // mm
    } cases[] = {
        // The front's top edge, x 10..65 at y 5, lies at x 145..200, y 5 behind.
        {"vertical front, long edge", upright, Flip::LongEdge, QRectF(145, 5, 55, 2)},
        // Turned over the short edge, at y 297 - 5 = 292, the band above it.
        {"vertical front, short edge", upright, Flip::ShortEdge, QRectF(10, 290, 55, 2)},
        // The front's left edge, x 14 over y 11..66, lies at x 196 behind: the
        // back's top edge, the band left of it.
        {"horizontal front, long edge", job.format, Flip::LongEdge, QRectF(194, 11, 2, 55)},
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
        if (vertical)
            addRect(back, 0, 0, units(2), units(55), 0x00FF0000);
        else
            addRect(back, 0, 0, units(55), units(2), 0x00FF0000);
        job.format = c.format;
        job.flip = c.flip;
        job.onlyOne = true;
        const QString pdf = toPdf();
        ASSERT_FALSE(pdf.isEmpty()) << c.what;
        const QRectF bar = QRectF(inkBox(pageOf(pdf, 2), isBlue)).adjusted(0, 0, 1, 1);
        const QRectF found(bar.topLeft() * kMmPerPixel, bar.size() * kMmPerPixel);
        for (auto [f, e] : {std::pair(found.left(), c.band.left()), std::pair(found.top(), c.band.top()),
                            std::pair(found.right(), c.band.right()), std::pair(found.bottom(), c.band.bottom())})
            EXPECT_NEAR(f, e, 0.6) << c.what;
    }
}
