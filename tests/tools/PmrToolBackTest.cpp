// SPDX-License-Identifier: GPL-3.0-or-later
// pmrtool and the card's back: JSON, render and the order of printed sides.
#include "Pixels.h"
#include "ToolRun.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace toolrun;

// A red card with a blue back turned a quarter.
class PmrToolBack : public testsupport::TempDirTest {
protected:
    void SetUp() override
    {
        card = path(u"card.pmr"_s);
        writeFile(path(u"card.json"_s), R"({"cardWidth": 91, "cardHeight": 55, "backColor": 255, "items": [],
            "back": {"cardWidth": 55, "cardHeight": 91, "backColor": 16711680, "items": []}})");
        ASSERT_EQ(run({u"build"_s, path(u"card.json"_s), u"-o"_s, card}).code, 0);
    }
    QString card;
};

TEST_F(PmrToolBack, InfoBuildAndRenderCarryTheBackAndEveryCommandRefusesWhatIsNotThere)
{
    // What info writes builds the same bytes, back and all.
    writeFile(path(u"again.json"_s), run({u"info"_s, card}).out.toUtf8());
    run({u"build"_s, path(u"again.json"_s), u"-o"_s, path(u"again.pmr"_s)});
    EXPECT_EQ(readFile(path(u"again.pmr"_s)), readFile(card));

    run({u"render"_s, card, u"-o"_s, path(u"b.png"_s), u"--dpi"_s, u"100"_s, u"--side"_s, u"back"_s});
    const QImage back(path(u"b.png"_s));
    EXPECT_EQ(back.size(), QSize(217, 358)); // 55 × 91 mm
    EXPECT_TRUE(pixels::isBlue(back.pixel(100, 100)));

    writeFile(path(u"c.json"_s), R"({"back": {"back": {}}})");
    const std::tuple<QStringList, int, const char*> refused[] = {
        {{u"build"_s, path(u"c.json"_s)}, 1, "cannot have a \"back\""},
        {{u"render"_s, kSample, u"--side"_s, u"back"_s}, 1, "no back"},
        {{u"print"_s, kSample, u"--sides"_s, u"both"_s}, 1, "no back"},
        {{u"print"_s, card, u"--flip"_s, u"over"_s}, 2, "--flip takes"},
    };
    for (const auto& [args, code, says] : refused) {
        const Result result = run(args + QStringList{u"-o"_s, path(u"x.png"_s)});
        EXPECT_EQ(std::pair(result.code, result.err.contains(QLatin1String(says))), std::pair(code, true))
            << result.err.toStdString();
    }
}

TEST_F(PmrToolBack, PrintPutsEachBackAfterItsFrontOrAllBacksLastByHand)
{
    // The sides of the sheets a print wrote, in order: F a front, B a back.
    const auto printed = [this](const QStringList& options) {
        const QStringList common{u"print"_s, card, u"-o"_s, path(u"s.png"_s), u"--dpi"_s, u"40"_s,
                                 u"--only-one"_s, u"--appdir"_s, dir.path()};
        QString sides = run(common + options).err;
        for (const QString& f : QDir(dir.path()).entryList({u"s.png"_s, u"s-*.png"_s}, QDir::Files, QDir::Name)) {
            const QImage sheet(path(f));
            sides += pixels::count(sheet, sheet.rect(), pixels::isBlue) > 0 ? u'B' : u'F';
            QFile::remove(path(f));
        }
        return sides;
    };
    const std::pair<QStringList, QString> cases[] = {
        {{}, u"F"_s},
        {{u"--sides"_s, u"both"_s, u"--flip"_s, u"short"_s, u"--copies"_s, u"2"_s}, u"FBFB"_s},
        {{u"--sides"_s, u"both"_s, u"--flip"_s, u"manual"_s, u"--copies"_s, u"3"_s}, u"FFFBBB"_s},
        {{u"--sides"_s, u"back"_s, u"--copies"_s, u"2"_s}, u"BB"_s},
    };
    for (const auto& [options, sides] : cases)
        EXPECT_EQ(printed(options), sides) << options.join(u' ').toStdString();
}
