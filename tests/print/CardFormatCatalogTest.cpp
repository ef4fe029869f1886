#include "print/CardFormatCatalog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <climits>
#include <random>

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

class CatalogFiles : public ::testing::Test {
protected:
    void write(const QString& rel, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(path(rel)).absolutePath());
        QFile f(path(rel));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray read(const QString& rel)
    {
        QFile f(path(rel));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    QString path(const QString& rel) const { return dir.filePath(rel); }

    QTemporaryDir dir;
    CardFormatCatalog cat;
};

} // namespace

TEST(CardFormatParse, CommasDelimitEveryNumber)
{
    CardFormat f;
    f.name = "untouched";
    EXPECT_FALSE(CardFormatCatalog::parseLine("name,1,2,3,4,5,6,7,8,9,10", f));
    EXPECT_FALSE(CardFormatCatalog::parseLine("no comma at all", f));
    EXPECT_FALSE(CardFormatCatalog::parseLine("n,1,2,3,4,5,6,7,8,9", f));
    EXPECT_EQ(f.name, "untouched");

    f = parsed("name," + kNums + "tail,99,");
    EXPECT_EQ(f.name, "name");
    EXPECT_EQ(numbers(f), kOneToTen);

    f = parsed(" x ,7, 8,9,  10,11,\t12,13,14,15,16,");
    EXPECT_EQ(f.name, " x ");
    EXPECT_EQ(numbers(f), (std::vector<int>{7, 8, 9, 10, 11, 12, 13, 14, 15, 16}));

    EXPECT_EQ(parsed("," + kNums).name, "");
}

TEST(CardFormatParse, NumbersSaturateLikeAtoi)
{
    const CardFormat f = parsed("n,99999999999999999999,-99999999999,2147483647,-2147483648,"
                                "2147483648,-2147483649,+5,abc, -3x,-,");
    EXPECT_EQ(numbers(f), (std::vector<int>{INT_MAX, INT_MIN, INT_MAX, INT_MIN, INT_MAX,
                                            INT_MIN, 5, 0, -3, 0}));
}

TEST(CardFormatParse, LongNamesCutAtCharacterBoundary)
{
    const QByteArray kanji = "\x96\xbc"; // 名
    EXPECT_EQ(parsed(QByteArray(40, 'a') + "," + kNums).name, QByteArray(31, 'a'));
    // A two-byte character on bytes 31 and 32 is dropped whole.
    EXPECT_EQ(parsed(QByteArray(30, 'a') + kanji + "," + kNums).name, QByteArray(30, 'a'));
    EXPECT_EQ(parsed(QByteArray(29, 'a') + kanji + kanji + "," + kNums).name,
              QByteArray(29, 'a') + kanji);
    EXPECT_EQ(parsed(QByteArray(100000, 'b') + "," + kNums).name.size(), 31);
}

TEST(CardFormatParse, TextEndsAtNul)
{
    CardFormat f;
    EXPECT_FALSE(CardFormatCatalog::parseLine(QByteArray("n,1,2,3,4,5\0,6,7,8,9,10,", 24), f));
    EXPECT_FALSE(CardFormatCatalog::parseLine(QByteArray("ab\0,1,2,3,4,5,6,7,8,9,10,", 25), f));
    f = parsed(QByteArray("n,1,2,3,4,5,6,7,8,9,10,\0garbage", 31));
    EXPECT_EQ(numbers(f), kOneToTen);
}

TEST(CardFormatFit, MarginsCardsAndGapsMustFitTheSheet)
{
    CardFormat f{"", 297, 210, 91, 55, 3, 1, 0, 0, 10, 500};
    EXPECT_TRUE(f.fitsPaper()); // 293, and one row ignores gapY
    f.gapX = 12;
    EXPECT_TRUE(f.fitsPaper()); // exactly 297
    f.gapX = 13;
    EXPECT_FALSE(f.fitsPaper());
    f = {"", 105, 55, 91, 55, 1, 1, 14, 0, 1000, 1000};
    EXPECT_TRUE(f.fitsPaper());
    f.topMargin = 1;
    EXPECT_FALSE(f.fitsPaper());
    // Products far beyond 32 bits must not wrap round into a fit.
    f = {"", INT_MAX, INT_MAX, INT_MAX, 1, INT_MAX, 1, INT_MAX, 0, INT_MAX, 0};
    EXPECT_FALSE(f.fitsPaper());
    f = {"", 10, 10, 65536, 1, 65536, 1, 0, 0, 0, 0};
    EXPECT_FALSE(f.fitsPaper());
}

TEST_F(CatalogFiles, FreshInstallHasBuiltInsAndSavesCurrentOnly)
{
    cat.loadFolderFormats(dir.path());
    cat.loadFile(dir.path());
    ASSERT_EQ(cat.count(), 2);
    EXPECT_EQ(cat.fixedCount(), 2);
    EXPECT_EQ(cat.current(), 0);
    EXPECT_EQ(cat.currentFormat().name, "\x96\xbc\x8e\x68" "10" "\x96\xca A4");
    EXPECT_EQ(cat.format(1).name, "\x96\xbc\x8e\x68 8\x96\xca A4");
    EXPECT_EQ(numbers(cat.format(1)), (std::vector<int>{210, 297, 91, 55, 2, 4, 15, 25, 8, 9}));
    ASSERT_TRUE(cat.saveFile(path("cardform.ini")));
    EXPECT_EQ(read("cardform.ini"), "current=0\r\n");
    EXPECT_FALSE(QFile::exists(path("cardform.ini.bak")));
}

TEST_F(CatalogFiles, SourcesInOrderAndOnlyUserFormatsSaved)
{
    write("cardfmt/b.cf", "second," + kNums + "\r\nignored," + kNums + "\r\n");
    write("cardfmt/a.cf", "first,11,12,13,14,15,16,17,18,19,20,");
    write("cardfmt/broken.cf", "no numbers here\r\n");
    write("cardfmt/empty.cf", "");
    write("cardfmt/other.txt", "other," + kNums);
    write("cardform.ini", "current=3\r\nmine,210,297,91,55,2,4,15,25,8,9,\r\n");
    cat.loadFolderFormats(dir.path());
    cat.loadFile(dir.path());
    ASSERT_EQ(cat.count(), 5);
    EXPECT_EQ(cat.format(2).name, "first");
    EXPECT_EQ(cat.format(3).name, "second");
    EXPECT_EQ(cat.format(4).name, "mine");
    EXPECT_EQ(cat.fixedCount(), 4);
    EXPECT_EQ(cat.currentFormat().name, "second");

    cat.append(parsed("added," + kNums));
    ASSERT_TRUE(cat.saveFile(path("cardform.ini")));
    EXPECT_EQ(read("cardform.ini"),
              "current=3\r\nmine,210,297,91,55,2,4,15,25,8,9,\r\nadded," + kNums + "\r\n");
    EXPECT_FALSE(QFile::exists(path("cardform.ini.bak")));
}

TEST_F(CatalogFiles, CurrentIsFoundAnywhereAndRepairedWhenOutOfRange)
{
    write("cardform.ini", "# saved current=1 by hand\nu," + kNums);
    cat.loadFile(dir.path());
    EXPECT_EQ(cat.current(), 1);
    EXPECT_EQ(cat.count(), 3);

    for (const char* first : {"current=3", "current=-1", "current=99999999999"}) {
        CardFormatCatalog c;
        write("cardform.ini", QByteArray(first) + "\r\nu," + kNums + "\r\n");
        c.loadFile(dir.path());
        EXPECT_EQ(c.count(), 3) << first;
        EXPECT_EQ(c.current(), 0) << first;
    }
}

TEST_F(CatalogFiles, UnreadFileIsKeptAsBackupAtSave)
{
    const QByteArray original = "[formats]\r\nuser," + kNums + "\r\n";
    write("cardform.ini", original);
    cat.loadFile(dir.path());
    EXPECT_EQ(cat.count(), 2);
    cat.setCurrent(1);
    ASSERT_TRUE(cat.saveFile(path("cardform.ini")));
    EXPECT_EQ(read("cardform.ini.bak"), original);
    EXPECT_EQ(read("cardform.ini"), "current=1\r\n");
    // A second save must not replace the backup with the catalogue's own content.
    ASSERT_TRUE(cat.saveFile(path("cardform.ini")));
    EXPECT_EQ(read("cardform.ini.bak"), original);
}

TEST_F(CatalogFiles, HostileLinesAreSkippedAndReadingGoesOn)
{
    std::mt19937 rng(7);
    QByteArray garbage(4096, '\0');
    for (char& c : garbage)
        c = char(rng());
    QByteArray file = "current=2\n";
    file += QByteArray(100 * 1024, 'x') + "," + kNums + "\n"; // 100 kB, name cut
    file += garbage + "\n";
    file += QByteArray(3 << 20, ',') + "\n"; // over-long: skipped whole
    file += "lf only," + kNums + "\n";
    file += QByteArray("nul\0,", 5) + kNums + "\n";
    file += "last," + kNums; // no line end
    write("cardform.ini", file);
    cat.loadFile(dir.path());

    ASSERT_GE(cat.count(), 5);
    EXPECT_EQ(cat.format(2).name, QByteArray(31, 'x'));
    EXPECT_EQ(cat.format(cat.count() - 2).name, "lf only");
    EXPECT_EQ(cat.format(cat.count() - 1).name, "last");
    EXPECT_EQ(numbers(cat.format(cat.count() - 1)), kOneToTen);
    EXPECT_EQ(cat.current(), 2);
    // Content was dropped, so the original survives the save.
    ASSERT_TRUE(cat.saveFile(path("cardform.ini")));
    EXPECT_EQ(read("cardform.ini.bak"), file);
}

TEST_F(CatalogFiles, WrittenLinesReadBackAsTheSameFormat)
{
    cat.loadFile(dir.path());
    cat.append(parsed("plain," + kNums));
    CardFormat odd = parsed("x," + kNums);
    odd.name = "a,b\nc";
    cat.append(odd);
    odd.name = QByteArray(30, 'z') + ",";
    cat.append(odd); // the full-width comma would pass byte 31
    odd.name = QByteArray(29, 'z') + ",";
    cat.append(odd);
    ASSERT_TRUE(cat.saveFile(path("cardform.ini")));
    EXPECT_EQ(read("cardform.ini"), "current=0\r\nplain," + kNums + "\r\na\x81\x43" "b c," + kNums +
                                        "\r\n" + QByteArray(30, 'z') + "," + kNums + "\r\n" +
                                        QByteArray(29, 'z') + "\x81\x43," + kNums + "\r\n");

    CardFormatCatalog back;
    back.loadFile(dir.path());
    ASSERT_EQ(back.count(), 6);
    for (int i = 2; i < 6; ++i)
        EXPECT_EQ(numbers(back.format(i)), kOneToTen);

    EXPECT_FALSE(cat.saveFile(path("missing/dir/cardform.ini")));
}

TEST_F(CatalogFiles, EditsKeepCurrentOnItsFormat)
{
    cat.loadFile(dir.path());
    for (const char* n : {"u2", "u3", "u4"})
        cat.append(parsed(QByteArray(n) + "," + kNums));
    EXPECT_FALSE(cat.remove(1));
    EXPECT_FALSE(cat.replace(0, parsed("x," + kNums)));
    cat.setCurrent(4);
    cat.setCurrent(5); // no such format: ignored
    ASSERT_TRUE(cat.remove(2));
    EXPECT_EQ(cat.currentFormat().name, "u4");
    ASSERT_TRUE(cat.remove(cat.current()));
    EXPECT_EQ(cat.current(), 0);
    EXPECT_EQ(cat.count(), 3);
}

TEST(CardFormatData, InstalledFolderFormatsParseAndFit)
{
    const QDir data(QFileInfo(QStringLiteral(__FILE__)).absoluteDir().filePath("../../data"));
    const QStringList files = QDir(data.filePath("cardfmt")).entryList({"*.cf"}, QDir::Files);
    ASSERT_GE(files.size(), 3);
    CardFormatCatalog cat;
    cat.loadFolderFormats(data.path());
    ASSERT_EQ(cat.count(), 2 + files.size());
    for (int i = 2; i < cat.count(); ++i) {
        const CardFormat f = cat.format(i);
        EXPECT_TRUE(f.fitsPaper()) << i;
        EXPECT_GT(f.columns * f.rows, 0) << i;
        EXPECT_LE(f.name.size(), 30) << i;
    }
}
