// SPDX-License-Identifier: GPL-3.0-or-later
#include "SheetProbe.h"

#include "platform/GdiMath.h"
#include "print/CardFormatCatalog.h"
#include "print/CardList.h"
#include "printui/PrintProgressDlg.h"

#include <QFileInfo>
#include <QPdfWriter>
#include <QPrinter>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sheetprobe;
using print::ImageSheetTarget;
using print::SheetLayout;
using print::SheetRenderer;
using Progress = SheetRenderer::Progress;

namespace {

const std::vector<int> kColumns600{331, 2481};
const std::vector<int> kRows600{260, 1559, 2858, 4157, 5456};

// Fails to start its second sheet.
class FailingTarget : public ImageSheetTarget {
public:
    using ImageSheetTarget::ImageSheetTarget;
    platform::Dc* beginSheet(int index) override { return index == 1 ? nullptr : ImageSheetTarget::beginSheet(index); }
};

class SheetJob : public testsupport::TempDirTest {
protected:
    void SetUp() override
    {
        markCard(page);
        job.format = CardFormatCatalog().format(0); // 名刺10面 A4
    }
    // A list of `rows` people: column n holds r0, r1, …; column t a longer text.
    void useList(int rows)
    {
        QByteArray csv = "n,t\n";
        for (int i = 0; i < rows; ++i)
            csv += "r" + QByteArray::number(i) + ",T" + QByteArray(i * 3, '8') + "\n";
        job.list = std::make_shared<const print::CardList>(print::CardList::fromBytes(csv));
    }
    SheetRenderer::Result run(print::SheetTarget& target)
    {
        SheetRenderer renderer(page, job);
        renderer.beforeCard = [this](const Progress& p) {
            before.push_back(p);
            return p.printed + 1 != cancelAt;
        };
        renderer.afterCard = [this](const Progress& p) { after.push_back(p); };
        renderer.pictureFailed = [this](int sheet) { failedPictures.push_back(sheet); };
        return renderer.run(target);
    }
    // The job as an A4 PDF without margins at ppi, its name; empty when it did not finish.
    QString toPdf(int ppi)
    {
        const QString name = dir.filePath(QStringLiteral("sheets.pdf"));
        QPdfWriter writer(name);
        writer.setResolution(ppi);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        print::PagedSheetTarget target(&writer);
        return run(target) == SheetRenderer::Result::Done ? name : QString();
    }

    PmrData page;
    SheetRenderer::Job job;
    std::vector<Progress> before, after;
    std::vector<int> failedPictures;
    std::int64_t cancelAt = -1;
};

} // namespace

TEST_F(SheetJob, TenUpCardsLandWhereTheFormatSays)
{
    ImageSheetTarget target(QSize(4961, 7016), 600); // A4
    ASSERT_EQ(run(target), SheetRenderer::Result::Done);
    const QImage& sheet = target.sheets().at(0);
    EXPECT_EQ(std::tuple(starts(sheet, 270, true, isRed), starts(sheet, 340, false, isRed), lastInk(sheet, 1000, true),
                         lastInk(sheet, 1000, false)),
              std::tuple(kColumns600, kRows600, 2481 + 2150 - 1, 5456 + 1299 - 1));

    // The fine adjustment, in whole millimetres: 1 mm left and 1 mm down.
    job.adjustX = -1;
    job.adjustY = 1;
    ImageSheetTarget moved(QSize(4961, 7016), 600);
    ASSERT_EQ(run(moved), SheetRenderer::Result::Done);
    EXPECT_EQ(std::pair(starts(moved.sheets().at(0), 290, true, isRed), starts(moved.sheets().at(0), 320, false, isRed)),
              std::pair(std::vector<int>{308, 2458}, std::vector<int>{284, 1583, 2882, 4181, 5480}));
}

TEST_F(SheetJob, TextLiesAboveEarlierItemsAndIsCutAtTheFormatsCard)
{
    // White text first in the list, a black rectangle over it afterwards, and a
    // blue bar and text that reach past the format's 91 mm.
    addText(page, u"■■■■"_s, 30, 20, 0x00FFFFFF, 20);
    addRect(page, units(25), units(15), units(55), units(25));
    page.cardWidth = 120;
    addRect(page, units(80), units(45), units(35), units(5), 0x00FF0000);
    addText(page, u"WWWWWWWWWWWW"_s, 85, 42, 0, 20);

    ImageSheetTarget target(QSize(1240, 1754), 150);
    ASSERT_EQ(run(target), SheetRenderer::Result::Done);
    const QImage& sheet = target.sheets()[0];
    const SheetLayout l = SheetLayout::make(job.format, 150, {});
    const auto px = [](int mm) { return platform::mmToPixels(mm, 150); };
    for (int i = 0; i < 10; ++i) {
        const QRect card(int(l.x(i % 2)), int(l.y(i / 2)), l.cardWidth, l.cardHeight);
        const QRect covered(card.x() + px(25) + 2, card.y() + px(15) + 2, px(55) - 4, px(25) - 4);
        EXPECT_TRUE(count(sheet, covered, isWhite) > 100 && count(sheet, covered, isDark) > 100 && count(sheet, card, isBlue) > 0)
            << i;
    }
    // The first column's overhang does not reach the second, nor anything beyond it.
    const QRect second(int(l.x(1)), int(l.y(0)), px(24), 5 * l.cardHeight); // left of the cover
    EXPECT_EQ(std::tuple(count(sheet, second, isBlue), count(sheet, second, isDark)), std::tuple(0, 0));
    EXPECT_EQ(lastInk(sheet, int(l.y(0)) + px(47), true), int(l.x(1)) + l.cardWidth - 1);

    // One card drawn alone is the printed card, pixel for pixel.
    EXPECT_EQ(sheet.copy(int(l.x(1)), int(l.y(2)), l.cardWidth, l.cardHeight),
              print::renderCard(page, 150, QSize(91, 55)));
}

TEST_F(SheetJob, ProgressCountsEveryCardOfHugeGridsTooAndCancellingOrFailuresEndTheDocument)
{
    job.start = 7;
    job.sheets = 2;
    cancelAt = 14; // the last card of the second sheet
    ImageSheetTarget cancelled(QSize(600, 900), 72);
    EXPECT_EQ(run(cancelled), SheetRenderer::Result::Cancelled);
    EXPECT_EQ(std::tuple(cancelled.documentAborted(), cancelled.sheets().size()), std::tuple(true, 1u));
    ASSERT_EQ(before.size(), 14u);
    for (const auto& [i, status] : {std::pair{0, "1/2 ﾍﾟｰｼﾞ、1/4･･･"}, std::pair{4, "2/2 ﾍﾟｰｼﾞ、1/10･･･"}})
        EXPECT_EQ(print::PrintProgressDlg::cardStatus(before[i].sheet, before[i].sheets, before[i].card,
                                                      before[i].cardsPerSheet),
                  QString::fromUtf8(status));
    EXPECT_EQ(std::tuple(after.back().printed, after.back().total), std::tuple(13, 14));

    cancelAt = -1;
    job.sheets = 3;
    FailingTarget second(QSize(600, 900), 72);
    EXPECT_EQ(run(second), SheetRenderer::Result::SheetFailed);
    EXPECT_TRUE(second.documentAborted());

    addText(page, u"TEXT"_s, 5, 30, 0, 20);
    job.maxPictureBytes = 1000;
    ImageSheetTarget target(QSize(600, 900), 72);
    ASSERT_EQ(run(target), SheetRenderer::Result::Done);
    EXPECT_EQ(failedPictures, (std::vector<int>{0, 1, 2}));
    for (const QImage& sheet : target.sheets())
        EXPECT_TRUE(count(sheet, sheet.rect(), isRed) == 0 && count(sheet, sheet.rect(), isDark) > 20);

    // Two thousand million columns and rows of 1 mm cards: only those on the sheet
    // are drawn, all of them are counted.
    before.clear();
    job = {.format = job.format, .sheets = 2};
    job.format.columns = job.format.rows = 2'000'000'000;
    job.format.cardWidth = job.format.cardHeight = 1;
    job.format.leftMargin = job.format.topMargin = 0;
    ImageSheetTarget small(QSize(100, 60), 254); // 10 × 6 cards of 10 pixels
    EXPECT_EQ(run(small), SheetRenderer::Result::Done);
    EXPECT_EQ(std::tuple(before.size(), after.back().printed), std::tuple(2u * 60, 8'000'000'000'000'000'000));
}

TEST_F(SheetJob, PdfTextHasItsFontsEmbeddedAndItsPointSize)
{
    SKIP_WITHOUT_POPPLER();
    addText(page, u"Pelmora"_s, 10, 10, 0, 20);
    addText(page, u"Nurel"_s, 10, 30, 0, 9).font.setFaceName(QStringLiteral("ＭＳ 明朝"));
    job.onlyOne = true;
    const QString pdf = toPdf(600);
    ASSERT_FALSE(pdf.isEmpty());
    QStringList fonts;
    for (const QString& line : tool(QStringLiteral("pdffonts"), {pdf}).split(u'\n').mid(2))
        if (const QStringList f = line.simplified().split(u' '); f.size() > 6)
            fonts << f[0].section(u'+', -1) + u' ' + f[f.size() - 5];
    fonts.sort();
    EXPECT_EQ(fonts, (QStringList{QStringLiteral("IPAMincho yes"), QStringLiteral("IPAPGothic yes")}));

    // Word boxes in points: as tall as the font's size, where the item lies on the
    // first card (14 and 11 mm from the paper's corner).
    const struct { const char* word; double points, xMm, yMm; } expected[] = {{"Pelmora", 20, 14 + 10, 11 + 10},
                                                                               {"Nurel", 9, 14 + 10, 11 + 30}};
    const std::vector<Word> found = words(pdf);
    ASSERT_EQ(found.size(), std::size(expected));
    for (std::size_t i = 0; i < found.size(); ++i) {
        const auto& e = expected[i];
        SCOPED_TRACE(e.word);
        EXPECT_EQ(found[i].text, QString::fromUtf8(e.word));
        EXPECT_NEAR(found[i].yMax - found[i].yMin, e.points, e.points * 0.05);
        EXPECT_NEAR(found[i].xMin, e.xMm * 72 / 25.4, 1);
        EXPECT_NEAR(found[i].yMin, e.yMm * 72 / 25.4, 1);
    }
}

TEST_F(SheetJob, PdfSheetsShareOnePicturePlacedExactly)
{
    SKIP_WITHOUT_POPPLER();
    addText(page, u"山田 太郎"_s, 40, 30, 0, 20);
    const QString pdf = dir.filePath(QStringLiteral("sheets.pdf"));
    {
        // A printer whose printable area starts 12 and 7 mm into the paper.
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setResolution(600);
        printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(12, 7, 5, 5),
                                          QPageLayout::Millimeter));
        job.sheets = 2;
        print::PagedSheetTarget target(&printer);
        ASSERT_EQ(run(target), SheetRenderer::Result::Done);
    }
    for (int n = 1; n <= 2; ++n) {
        EXPECT_EQ(starts(rasterise(pdf, n, 600, QRect(0, 240, 4961, 60)), 30, true, isRed), kColumns600);
        EXPECT_EQ(starts(rasterise(pdf, n, 600, QRect(300, 0, 80, 7016)), 40, false, isRed), kRows600);
        // The rasteriser may paint one pixel past an image's far edge.
        const QImage corner = rasterise(pdf, n, 600, QRect(4600, 6700, 100, 100));
        EXPECT_NEAR(4600 + lastInk(corner, 20, true), 4630.5, 0.5);
        EXPECT_NEAR(6700 + lastInk(corner, 20, false), 6754.5, 0.5);
    }
    // One picture object for the whole job, shown at ten places on each sheet;
    // the text searchable.
    const QString images = tool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    EXPECT_EQ(std::tuple(images.count(QStringLiteral("2150  1299")), pictureObjects(images).size(),
                         tool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}).count(QStringLiteral("山田 太郎"))),
              std::tuple(20, 1, 20));
    EXPECT_LT(QFileInfo(pdf).size(), 200 * 1024);
}

TEST_F(SheetJob, PdfCardPictureIsLosslessUnderAPattern)
{
    SKIP_WITHOUT_POPPLER();
    page.setPattern(testPicture(37, 23)); // under the red square
    job.onlyOne = true;
    const QString pdf = toPdf(150);
    ASSERT_FALSE(pdf.isEmpty());
    const QString images = tool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    EXPECT_TRUE(images.contains(u" image "_s) && !images.contains(u" jpeg "_s)) << images.toStdString();

    // The card comes back as drawn, within a level or two: the middle of every
    // card pixel, rasterised at four times the resolution.
    const SheetLayout l = SheetLayout::make(job.format, 150, {});
    const QImage card = print::renderCard(page, 150, QSize(91, 55));
    const QImage back = rasterise(pdf, 1, 600, QRect(int(l.x(0)) * 4, int(l.y(0)) * 4, card.width() * 4, card.height() * 4));
    EXPECT_LE(maxDifference(card, back, 4), 2);
}

TEST_F(SheetJob, PdfListTextsOverflowFromTheirAnchorsOverOnePicture)
{
    SKIP_WITHOUT_POPPLER();
    addText(page, u"{{n}}"_s, 5, 20);
    addText(page, u"{{t}}"_s, 45.5, 30, 0, 0, ObjItemText::AlignCenter);
    addText(page, u"={{t}}"_s, 85, 40, 0, 0, ObjItemText::AlignRight);
    useList(12);
    const QString pdf = toPdf(300);
    ASSERT_FALSE(pdf.isEmpty());
    // Filled texts wider than the field: left-aligned ones keep their left edge,
    // centred ones their middle, right-aligned ones their right edge.
    const std::vector<Word> found = words(pdf, {u"-l"_s, u"1"_s});
    EXPECT_EQ(found.size(), 30u);
    for (const Word& w : found) {
        const double from = w.xMin * 25.4 / 72, to = w.xMax * 25.4 / 72;
        const double card = from < 105 ? 14 : 105; // the left edge of its column
        const bool name = w.text.startsWith(u'r'), filled = w.text.startsWith(u'T');
        const double at = name ? from - card : filled ? (from + to) / 2 - card : to - card;
        EXPECT_NEAR(at, name ? 5 : filled ? 45.5 : 85, 0.6) << w.text.toStdString();
    }
    EXPECT_EQ(pictureObjects(tool(u"pdfimages"_s, {u"-list"_s, pdf})).size(), 1);
}

TEST_F(SheetJob, WithAListACardWithoutFieldsPrintsAsItDoesWithoutOne)
{
    addText(page, u"山田 {{ }} 太郎"_s, 5, 20);
    print::ImageSheetTarget plain(QSize(1240, 1754), 150), listed(QSize(1240, 1754), 150);
    job.sheets = 2;
    ASSERT_EQ(SheetRenderer(page, job).run(plain), SheetRenderer::Result::Done);
    useList(20);
    ASSERT_EQ(SheetRenderer(page, job).run(listed), SheetRenderer::Result::Done);
    EXPECT_TRUE(listed.sheets().size() == 2 && plain.sheets() == listed.sheets());
}
