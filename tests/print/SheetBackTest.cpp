// SPDX-License-Identifier: GPL-3.0-or-later
// Printing the card's back: every expectation comes from turning an A4 sheet over an edge.
#include "SheetProbe.h"

#include "print/CardFormatCatalog.h"
#include "print/CardList.h"

#include <QPdfWriter>

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace Qt::StringLiterals;
using namespace sheetprobe;
using print::Flip;
using print::SheetRenderer;

namespace {

using Mm = std::pair<int, int>; // x, y in whole millimetres

// The top-left corners of the marks of one colour on a sheet of 5 pixels a millimetre, in mm.
std::set<Mm> marks(const QImage& page, bool (*match)(QRgb))
{
    std::set<Mm> found;
    for (int y = 1; y < page.height(); ++y)
        for (int x = 1; x < page.width(); ++x)
            if (match(page.pixel(x, y)) && !match(page.pixel(x - 1, y)) && !match(page.pixel(x, y - 1)))
                found.emplace(x / 5, y / 5);
    return found;
}

// The corner of a place (0-based) of "名刺10面 A4": 2 × 5 cards of 91 × 55 mm from 14, 11 mm.
Mm placeOf(int p, Mm move = {}) { return {14 + 91 * (p % 2) + move.first, 11 + 55 * (p / 2) + move.second}; }

// A card's corner once the sheet is turned: mirrored about the vertical centre line (over
// the long edge) or the horizontal one (over the short edge).
Mm behind(Mm c, Flip flip, Mm move = {})
{
    return flip == Flip::ShortEdge ? Mm(c.first + move.first, 297 - c.second - 55 + move.second)
                                   : Mm(210 - c.first - 91 + move.first, c.second + move.second);
}

// A red-marked card with a blue-marked back, printed on both sides of "名刺10面 A4".
class SheetBack : public testsupport::TempDirTest {
protected:
    void SetUp() override
    {
        markCard(page);
        addRect(page.ensureBack(), 0, 0, 360, 360, 0x00FF0000);
        job.format = CardFormatCatalog().format(0);
        job.sides = print::Sides::Both;
    }
    // The pages of the job at 127 ppi, 5 pixels a millimetre.
    std::vector<QImage> sheets()
    {
        print::ImageSheetTarget target(QSize(1050, 1485), 127);
        EXPECT_EQ(SheetRenderer(page, job).run(target), SheetRenderer::Result::Done);
        return target.sheets();
    }

    PmrData page;
    SheetRenderer::Job job;
};

} // namespace

TEST_F(SheetBack, EveryBackLiesBehindItsFrontOnceTheSheetIsTurned)
{
    const struct { const char* what; Flip flip; int start; bool onlyOne; Mm adjust, backAdjust; } cases[] = {
        {"short edge, whole sheet", Flip::ShortEdge, 1, false, {}, {}},
        {"one card from 7, offsets", Flip::LongEdge, 7, true, {1, 2}, {3, -2}},
        {"one card from 7, short edge, back offset", Flip::ShortEdge, 7, true, {}, {-2, 1}},
    };
    for (const auto& c : cases) {
        std::tie(job.flip, job.start, job.onlyOne) = std::tie(c.flip, c.start, c.onlyOne);
        std::tie(job.adjustX, job.adjustY) = c.adjust;
        std::tie(job.backAdjustX, job.backAdjustY) = c.backAdjust;
        const std::vector<QImage> pages = sheets();
        std::set<Mm> fronts, backs;
        for (int p = c.start - 1; p < (c.onlyOne ? c.start : 10); ++p) {
            fronts.insert(placeOf(p, c.adjust));
            backs.insert(behind(placeOf(p), c.flip, c.backAdjust));
        }
        EXPECT_EQ(marks(pages.at(0), isRed), fronts) << c.what;
        EXPECT_EQ(marks(pages.at(1), isBlue), backs) << c.what;
    }
}

TEST_F(SheetBack, EachPersonsBackLiesBehindTheirOwnFrontInThePdf)
{
    SKIP_WITHOUT_POPPLER();
    // 14 people from place 7: four on the first sheet, a full second sheet.
    job.list = std::make_shared<const print::CardList>(print::CardList::fromBytes(
        "n\nr0\nr1\nr2\nr3\nr4\nr5\nr6\nr7\nr8\nr9\nr10\nr11\nr12\nr13\n"));
    addText(page, u"{{n}}"_s, 5, 5, 0, 10);
    addText(*page.back(), u"{{n}}"_s, 5, 5, 0, 10);
    job.start = 7;
    const QString pdf = path(u"sheets.pdf"_s);
    QPdfWriter writer(pdf);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    print::PagedSheetTarget target(&writer);
    ASSERT_EQ(SheetRenderer(page, job).run(target), SheetRenderer::Result::Done);

    // Each name's card corners, 5 mm before its text: its front's, then its back's.
    std::map<QString, std::vector<Mm>> cards;
    for (const Word& w : words(pdf))
        cards[w.text].push_back(Mm(qRound(w.xMin * 25.4 / 72) - 5, qRound(w.yMin * 25.4 / 72) - 5));
    ASSERT_EQ(cards.size(), 14u);
    for (const auto& [name, corners] : cards)
        EXPECT_EQ(corners, std::vector({corners.at(0), behind(corners.at(0), Flip::LongEdge)}))
            << name.toStdString();
}

TEST_F(SheetBack, ATurnedBackPrintsItsLeftEdgeAlongTheVerticalFrontsTop)
{
    // 3 × 3 cards of 55 × 91 mm from 10, 5 mm; a 91 × 55 mm back with a 2 mm bar at its left.
    job.format = {.paperWidth = 210, .paperHeight = 297, .cardWidth = 55, .cardHeight = 91,
                  .columns = 3, .rows = 3, .leftMargin = 10, .topMargin = 5};
    job.onlyOne = true;
    std::tie(page.cardWidth, page.cardHeight) = std::tuple(55, 91);
    page.back()->items().clear();
    addRect(*page.back(), 0, 0, units(2), units(55), 0x00FF0000);
    // The front's top edge, x 10..65 at y 5, lies at x 145..200 behind; turned over the
    // short edge, at y 297 - 5 = 292, the band above it.
    for (const auto& [flip, band] : {std::pair(Flip::LongEdge, QRect(145, 5, 55, 2)),
                                     std::pair(Flip::ShortEdge, QRect(10, 290, 55, 2))}) {
        job.flip = flip;
        const QRect bar = inkBox(sheets().at(1), isBlue);
        EXPECT_EQ(QRect(bar.x() / 5, bar.y() / 5, bar.width() / 5, bar.height() / 5), band) << int(flip);
    }
}
