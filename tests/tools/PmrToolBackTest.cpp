// SPDX-License-Identifier: GPL-3.0-or-later
// pmrtool and the card's back: JSON, render and the order of printed sides.
#include "Pixels.h"
#include "ToolRun.h"

#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace toolrun;

namespace {

bool isBlue(QRgb c) { return qBlue(c) > 200 && qRed(c) < 80 && qGreen(c) < 80; }

// A red card with a blue back turned a quarter.
const char* const kTwoSided = R"({"cardWidth": 91, "cardHeight": 55, "backColor": 255, "items": [],
    "back": {"cardWidth": 55, "cardHeight": 91, "backColor": 16711680, "items": []}})";

class PmrToolBack : public testsupport::TempDirTest {
protected:
    void SetUp() override
    {
        card = path(u"card.pmr"_s);
        writeFile(path(u"card.json"_s), kTwoSided);
        ASSERT_EQ(run({u"build"_s, path(u"card.json"_s), u"-o"_s, card}).code, 0);
    }
    // The sides of the sheets a print wrote, in order: F a front, B a back.
    QString printed(const QStringList& options)
    {
        const Result r = run(QStringList{u"print"_s, card, u"-o"_s, path(u"s.png"_s), u"--dpi"_s, u"40"_s,
                                         u"--only-one"_s, u"--appdir"_s, dir.path()} + options);
        if (r.code != 0)
            return r.err;
        QString sides;
        const QStringList files = QFile::exists(path(u"s.png"_s)) ? QStringList{u"s.png"_s}
                                                                   : QDir(dir.path()).entryList({u"s-*.png"_s}, QDir::Files, QDir::Name);
        for (const QString& f : files) {
            const QImage sheet = QImage(path(f)).convertToFormat(QImage::Format_RGB32);
            const bool red = pixels::count(sheet, sheet.rect(), pixels::isRed) > 0;
            const bool blue = pixels::count(sheet, sheet.rect(), isBlue) > 0;
            sides += red && !blue ? u'F' : blue && !red ? u'B' : u'?';
            QFile::remove(path(f));
        }
        return sides;
    }
    QString card;
};

} // namespace

TEST_F(PmrToolBack, InfoAndBuildCarryTheBackAndAnEmptyOneIsNotWritten)
{
    const Result info = run({u"info"_s, card});
    ASSERT_EQ(info.code, 0);
    const QJsonObject back = QJsonDocument::fromJson(info.out.toUtf8()).object().value(u"back"_s).toObject();
    EXPECT_EQ(std::tuple(back.value(u"cardWidth"_s).toInt(), back.value(u"backColor"_s).toInt()), std::tuple(55, 16711680));
    writeFile(path(u"again.json"_s), info.out.toUtf8());
    ASSERT_EQ(run({u"build"_s, path(u"again.json"_s), u"-o"_s, path(u"again.pmr"_s)}).code, 0);
    EXPECT_EQ(readFile(path(u"again.pmr"_s)), readFile(card));

    // An empty back is not written; a back of a back is refused.
    const std::pair<const char*, int> cases[] = {{"{}", 0}, {R"({"back": {}})", 0}, {R"({"back": {"back": {}}})", 1}};
    for (int i = 0; i < 3; ++i) {
        writeFile(path(u"c.json"_s), cases[i].first);
        EXPECT_EQ(run({u"build"_s, path(u"c.json"_s), u"-o"_s, path(u"%1.pmr"_s.arg(i))}).code, cases[i].second);
    }
    EXPECT_EQ(readFile(path(u"1.pmr"_s)), readFile(path(u"0.pmr"_s)));
}

TEST_F(PmrToolBack, PrintPutsEachBackAfterItsFrontOrAllBacksLastByHand)
{
    const struct {
        QStringList options;
        QString sides;
    } cases[] = {
        {{}, u"F"_s},
        {{u"--sides"_s, u"both"_s}, u"FB"_s},
        {{u"--sides"_s, u"both"_s, u"--flip"_s, u"short"_s, u"--copies"_s, u"2"_s}, u"FBFB"_s},
        {{u"--sides"_s, u"both"_s, u"--flip"_s, u"manual"_s, u"--copies"_s, u"3"_s}, u"FFFBBB"_s},
        {{u"--sides"_s, u"back"_s, u"--copies"_s, u"2"_s}, u"BB"_s},
    };
    for (const auto& c : cases)
        EXPECT_EQ(printed(c.options), c.sides) << c.options.join(u' ').toStdString();
}

TEST_F(PmrToolBack, RenderDrawsTheBackUprightAndRefusesWhatIsNotThere)
{
    ASSERT_EQ(run({u"render"_s, card, u"-o"_s, path(u"b.png"_s), u"--dpi"_s, u"100"_s, u"--side"_s, u"back"_s}).code, 0);
    const QImage back(path(u"b.png"_s));
    EXPECT_EQ(back.size(), QSize(217, 358)); // 55 × 91 mm
    EXPECT_TRUE(isBlue(back.pixel(100, 100)));

    writeFile(path(u"plain.json"_s), "{}");
    ASSERT_EQ(run({u"build"_s, path(u"plain.json"_s), u"-o"_s, path(u"plain.pmr"_s)}).code, 0);
    const QString out = path(u"x.png"_s);
    const struct {
        QStringList args;
        int code;
        const char* says;
    } refused[] = {
        {{u"render"_s, path(u"plain.pmr"_s), u"-o"_s, out, u"--side"_s, u"back"_s}, 1, "no back"},
        {{u"print"_s, path(u"plain.pmr"_s), u"-o"_s, out, u"--sides"_s, u"both"_s}, 1, "no back"},
        {{u"print"_s, card, u"-o"_s, out, u"--flip"_s, u"over"_s}, 2, "--flip takes"},
    };
    for (const auto& r : refused) {
        const Result result = run(r.args);
        EXPECT_EQ(result.code, r.code) << r.says;
        EXPECT_TRUE(result.err.contains(QLatin1String(r.says))) << result.err.toStdString();
        EXPECT_FALSE(QFile::exists(out)) << r.says;
    }
}
