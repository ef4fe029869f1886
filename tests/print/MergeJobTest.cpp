// SPDX-License-Identifier: GPL-3.0-or-later
#include "SheetProbe.h"

#include "model/ObjItemText.h"
#include "platform/Fonts.h"
#include "print/CardFormatCatalog.h"
#include "print/CardList.h"
#include "print/SheetRenderer.h"
#include "print/SheetTarget.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sheetprobe;
using print::SheetRenderer;

namespace {

class MergeJob : public ::testing::Test {
protected:
    static void SetUpTestSuite() { platform::installFontSubstitutions(); }
    void SetUp() override
    {
        markCard(page);
        job.format = CardFormatCatalog().format(0); // 名刺10面 A4: 2 columns, 5 rows
    }
    void addText(const QString& text, double xMm, int align = ObjItemText::AlignLeft, double yMm = 20)
    {
        sheetprobe::addText(page, text, xMm, yMm, 0, 0, align);
    }
    // A list of `rows` people: column n holds r0, r1, …; column t a longer text.
    void useList(int rows)
    {
        QByteArray csv = "n,t\n";
        for (int i = 0; i < rows; ++i)
            csv += "r" + QByteArray::number(i) + ",T" + QByteArray(i * 3, '8') + "\n";
        job.list = std::make_shared<const print::CardList>(print::CardList::fromBytes(csv));
    }

    PmrData page;
    SheetRenderer::Job job;
};

// Which card goes where is pinned by SheetPlan's tests.
TEST_F(MergeJob, EachPositionPrintsTheTextsOfItsRow)
{
    addText(u"{{n}}"_s, 5);
    useList(3);
    job.copies = 4;
    job.start = 7;
    SheetRenderer renderer(page, job);
    QStringList texts;
    for (int s = 0; s < 3; ++s)
        for (int p = 0; p < 10; ++p)
            texts << renderer.textsAt(s, p).strings().join(u'+');
    const QString _; // an empty position
    EXPECT_EQ(texts, (QStringList{_, _, _, _, _, _, u"r0"_s, u"r0"_s, u"r0"_s, u"r0"_s, u"r1"_s, u"r1"_s, u"r1"_s,
                                  u"r1"_s, u"r2"_s, u"r2"_s, u"r2"_s, u"r2"_s, _, _}) + QStringList(10, _));
}

// Which row fills which position in a PDF is pinned by the print command's and pmrtool's tests.
TEST_F(MergeJob, PdfTextsOverflowFromTheirAnchorsOverOnePicture)
{
    if (!hasPoppler())
        GTEST_SKIP() << "poppler-utils are not installed";
    addText(u"{{n}}"_s, 5);
    addText(u"{{t}}"_s, 45.5, ObjItemText::AlignCenter, 30);
    addText(u"={{t}}"_s, 85, ObjItemText::AlignRight, 40);
    useList(12);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(u"list.pdf"_s);
    ASSERT_TRUE(writePdf(pdf, 300, [this](print::SheetTarget& t) { return SheetRenderer(page, job).run(t); }));
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

TEST_F(MergeJob, ACardWithoutFieldsPrintsAsItDoesWithoutAList)
{
    addText(u"山田 {{ }} 太郎"_s, 5);
    print::ImageSheetTarget plain(QSize(1240, 1754), 150), listed(QSize(1240, 1754), 150);
    job.sheets = 2;
    ASSERT_EQ(SheetRenderer(page, job).run(plain), SheetRenderer::Result::Done);
    useList(20);
    ASSERT_EQ(SheetRenderer(page, job).run(listed), SheetRenderer::Result::Done);
    ASSERT_EQ(listed.sheets().size(), 2u);
    EXPECT_TRUE(plain.sheets() == listed.sheets());
}

} // namespace
