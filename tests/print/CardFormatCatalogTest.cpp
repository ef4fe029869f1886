// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"
#include "print/CardFormatCatalog.h"
#include "print/PaperFit.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <climits>

namespace {

const QByteArray kNums = "1,2,3,4,5,6,7,8,9,10,";

CardFormat parsed(const QByteArray& line)
{
    CardFormat f;
    EXPECT_TRUE(CardFormatCatalog::parseLine(line, f)) << line.left(80).constData();
    return f;
}

std::vector<int> numbers(const CardFormat& f)
{
    return {f.paperWidth, f.paperHeight, f.cardWidth, f.cardHeight, f.columns,
            f.rows,       f.leftMargin,  f.topMargin, f.gapX,       f.gapY};
}

const std::vector<int> kOneToTen = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};

class CatalogFiles : public testsupport::TempDirTest {
protected:
    QByteArray read(const QString& rel)
    {
        return QFile::exists(path(rel)) ? testsupport::readFile(path(rel)) : QByteArray("<missing>");
    }

    CardFormatCatalog cat;
};

} // namespace

TEST(CardFormatParse, NameThenTenNumbersEachEndedByAComma)
{
    const QByteArray refused[] = {"name,1,2,3,4,5,6,7,8,9,10", "no comma at all", "n,1,2,3,4,5,6,7,8,9",
                                  QByteArray("n,1,2,3,4,5\0,6,7,8,9,10,", 24),
                                  QByteArray("ab\0,1,2,3,4,5,6,7,8,9,10,", 25)};
    for (const QByteArray& line : refused) {
        CardFormat f;
        f.name = "untouched";
        EXPECT_FALSE(CardFormatCatalog::parseLine(line, f)) << line.constData();
        EXPECT_EQ(f.name, "untouched");
    }

    const QByteArray kanji = "\x96\xbc"; // 名
    const struct { QByteArray line, name; std::vector<int> numbers; } read[] = {
        {"name," + kNums + "tail,99,", "name", kOneToTen},
        {" x ,7, 8,9,  10,11,\t12,13,14,15,16,", " x ", {7, 8, 9, 10, 11, 12, 13, 14, 15, 16}},
        {"," + kNums, "", kOneToTen},
        {QByteArray("n,1,2,3,4,5,6,7,8,9,10,\0garbage", 31), "n", kOneToTen},
        // Numbers read like atoi and saturate.
        {"n,99999999999999999999,-99999999999,2147483647,-2147483648,2147483648,-2147483649,+5,abc, -3x,-,", "n",
         {INT_MAX, INT_MIN, INT_MAX, INT_MIN, INT_MAX, INT_MIN, 5, 0, -3, 0}},
        // Names are cut to 31 bytes on a character boundary.
        {QByteArray(100000, 'a') + "," + kNums, QByteArray(31, 'a'), kOneToTen},
        {QByteArray(30, 'a') + kanji + "," + kNums, QByteArray(30, 'a'), kOneToTen},
        {QByteArray(29, 'a') + kanji + kanji + "," + kNums, QByteArray(29, 'a') + kanji, kOneToTen},
    };
    for (const auto& r : read) {
        const CardFormat f = parsed(r.line);
        EXPECT_EQ(std::tuple(f.name, numbers(f)), std::tuple(r.name, r.numbers)) << r.line.left(80).constData();
    }
}

TEST(CardFormatFit, MarginsCardsAndGapsMustFitTheSheet)
{
    const std::pair<CardFormat, bool> cases[] = {
        {{"", 297, 210, 91, 55, 3, 1, 0, 0, 12, 500}, true}, // exactly 297; one row ignores gapY
        {{"", 297, 210, 91, 55, 3, 1, 0, 0, 13, 500}, false},
        {{"", 105, 55, 91, 55, 1, 1, 14, 0, 1000, 1000}, true},
        {{"", 105, 55, 91, 55, 1, 1, 14, 1, 1000, 1000}, false},
        {{"", 210, 297, 91, 55, 2, 5, 14, 11, 0, 2}, true}, // 294 down
        {{"", 210, 297, 91, 55, 2, 5, 14, 11, 0, 3}, false},
        // Products far beyond 32 bits must not wrap round into a fit.
        {{"", INT_MAX, INT_MAX, INT_MAX, 1, INT_MAX, 1, INT_MAX, 0, INT_MAX, 0}, false},
        {{"", 10, 10, 65536, 1, 65536, 1, 0, 0, 0, 0}, false},
    };
    for (const auto& [f, fits] : cases)
        EXPECT_EQ(f.fitsPaper(), fits) << f.paperWidth << " " << f.gapX << " " << f.topMargin;
}

TEST(PaperFit, TheCardsMustLieWithinThePaperAsItIsTurned)
{
    const CardFormat a4 = CardFormatCatalog().format(0); // "名刺10面 A4"
    CardFormat none = a4;
    none.rows = 0;
    CardFormat gaps = a4;
    gaps.paperWidth = 300;
    gaps.gapX = 200;
    const struct { const char* what; const CardFormat& format; QSizeF paper; QPageLayout::Orientation orientation; bool fits; } cases[] = {
        {"portrait A4 holds the A4 format", a4, {210, 297}, QPageLayout::Portrait, true},
        {"A4 in points, a little narrower, still holds it", a4, {209.9, 297}, QPageLayout::Portrait, true},
        {"a size given landscape first is turned upright", a4, {297, 210}, QPageLayout::Portrait, true},
        {"Letter cuts the bottom row", a4, {215.9, 279.4}, QPageLayout::Portrait, false},
        {"landscape A4 loses rows", a4, {210, 297}, QPageLayout::Landscape, false},
        {"a format without cards fits anything", none, {10, 10}, QPageLayout::Portrait, true},
        {"the gap pushes the second column off the paper", gaps, {210, 297}, QPageLayout::Portrait, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(print::formatFitsPaper(c.format, c.paper, c.orientation), c.fits) << c.what;
}

TEST_F(CatalogFiles, SourcesInOrderOnlyUserFormatsSavedAndTheCurrentOneRepaired)
{
    file("cardfmt/b.cf", "second," + kNums + "\r\nignored," + kNums + "\r\n");
    file("cardfmt/a.cf", "first,11,12,13,14,15,16,17,18,19,20,");
    file("cardfmt/broken.cf", "no numbers here\r\n");
    file("cardfmt/empty.cf", "");
    file("cardfmt/other.txt", "other," + kNums);
    file("cardform.ini", "current=3\r\nmine,210,297,91,55,2,4,15,25,8,9,\r\n");
    cat.loadFolderFormats(dir.path());
    cat.loadFile(dir.path());
    ASSERT_EQ(cat.count(), 5);
    EXPECT_EQ((std::vector{cat.format(0).name, cat.format(2).name, cat.format(3).name, cat.format(4).name}),
              (std::vector<QByteArray>{"\x96\xbc\x8e\x68" "10" "\x96\xca A4", "first", "second", "mine"}));
    EXPECT_EQ(std::tuple(cat.fixedCount(), cat.currentFormat().name), std::tuple(4, "second"));

    cat.append(parsed("added," + kNums));
    ASSERT_TRUE(cat.saveFile(path("cardform.ini")));
    EXPECT_EQ(read("cardform.ini"),
              "current=3\r\nmine,210,297,91,55,2,4,15,25,8,9,\r\nadded," + kNums + "\r\n");
    EXPECT_FALSE(QFile::exists(path("cardform.ini.bak")));

    // The current format's line is found anywhere and repaired when out of range.
    const std::pair<const char*, int> firstLines[] = {
        {"# saved current=1 by hand", 1}, {"current=3", 0}, {"current=-1", 0}, {"current=99999999999", 0}};
    for (const auto& [first, current] : firstLines) {
        CardFormatCatalog c;
        file("cardform.ini", QByteArray(first) + "\nu," + kNums);
        c.loadFile(dir.path());
        EXPECT_EQ(std::tuple(c.count(), c.current()), std::tuple(3, current)) << first;
    }
}

TEST_F(CatalogFiles, HostileLinesAreSkippedAndReadingGoesOn)
{
    QByteArray ini = "current=2\n[formats]\n";
    ini += QByteArray(100 * 1024, 'x') + "," + kNums + "\n"; // 100 kB, name cut
    ini += QByteArray(3 << 20, ',') + "\n"; // over-long: skipped whole
    ini += "lf only," + kNums + "\n";
    ini += QByteArray("nul\0,", 5) + kNums + "\n";
    ini += "last," + kNums; // no line end
    file("cardform.ini", ini);
    cat.loadFile(dir.path());

    ASSERT_GE(cat.count(), 5);
    EXPECT_EQ(std::tuple(cat.format(2).name, cat.format(cat.count() - 2).name, cat.format(cat.count() - 1).name, cat.current()),
              std::tuple(QByteArray(31, 'x'), "lf only", "last", 2));
    EXPECT_EQ(numbers(cat.format(cat.count() - 1)), kOneToTen);
    // Content was dropped, so the original survives the save, and a second save
    // does not replace it with the catalogue's own content.
    for (int save = 0; save < 2; ++save) {
        ASSERT_TRUE(cat.saveFile(path("cardform.ini")));
        EXPECT_EQ(read("cardform.ini.bak"), ini) << save;
    }
}

TEST_F(CatalogFiles, WrittenLinesReadBackAsTheSameFormatAndEditsKeepTheCurrentOne)
{
    cat.loadFile(dir.path());
    // Commas and line breaks in names are replaced; the full-width comma after 30
    // bytes would pass byte 31 and is left out.
    for (const QByteArray& name : {QByteArray("plain"), QByteArray("a,b\nc"), QByteArray(30, 'z') + ",",
                                   QByteArray(29, 'z') + ","}) {
        CardFormat f = parsed("x," + kNums);
        f.name = name;
        cat.append(f);
    }
    ASSERT_TRUE(cat.saveFile(path("cardform.ini")));
    EXPECT_EQ(read("cardform.ini"), "current=0\r\nplain," + kNums + "\r\na\x81\x43" "b c," + kNums +
                                        "\r\n" + QByteArray(30, 'z') + "," + kNums + "\r\n" +
                                        QByteArray(29, 'z') + "\x81\x43," + kNums + "\r\n");

    CardFormatCatalog back;
    back.loadFile(dir.path());
    ASSERT_EQ(back.count(), 6);
    EXPECT_EQ(numbers(back.format(3)), kOneToTen);

    EXPECT_FALSE(cat.saveFile(path("missing/dir/cardform.ini")));

    // Edits keep the current format on its format; built-in ones stay.
    EXPECT_FALSE(cat.remove(1) || cat.replace(0, parsed("x," + kNums)));
    const QByteArray current = cat.format(4).name;
    cat.setCurrent(4);
    cat.setCurrent(6); // no such format: ignored
    ASSERT_TRUE(cat.remove(2));
    EXPECT_EQ(cat.currentFormat().name, current);
    ASSERT_TRUE(cat.remove(cat.current()));
    EXPECT_EQ(std::tuple(cat.current(), cat.count()), std::tuple(0, 4));
}

TEST(CardFormatData, InstalledFolderFormatsParseAndFit)
{
    const QDir data(QStringLiteral(PELMORA_SOURCE_DIR "/data"));
    const QStringList files = QDir(data.filePath("cardfmt")).entryList({"*.cf"}, QDir::Files);
    ASSERT_GE(files.size(), 3);
    CardFormatCatalog cat;
    cat.loadFolderFormats(data.path());
    ASSERT_EQ(cat.count(), 2 + files.size());
    for (int i = 2; i < cat.count(); ++i) {
        const CardFormat f = cat.format(i);
        EXPECT_TRUE(f.fitsPaper() && f.columns * f.rows > 0 && f.name.size() <= 30) << i;
    }
}
