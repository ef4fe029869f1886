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
    // The sides of the sheets a print wrote, in order: F a front, B a back.
    QString printed(const QStringList& options)
    {
        const Result r = run(QStringList{u"print"_s, card, u"-o"_s, path(u"s.png"_s), u"--dpi"_s, u"40"_s,
                                         u"--only-one"_s, u"--appdir"_s, dir.path()} + options);
        QString sides = r.code ? r.err : QString();
        for (const QString& f : QDir(dir.path()).entryList({u"s.png"_s, u"s-*.png"_s}, QDir::Files, QDir::Name)) {
            const QImage sheet = QImage(path(f)).convertToFormat(QImage::Format_RGB32);
            sides += pixels::count(sheet, sheet.rect(), pixels::isBlue) > 0 ? u'B' : u'F';
            QFile::remove(path(f));
        }
        return sides;
    }
    QString card;
};

} // namespace

TEST_F(PmrToolBack, InfoAndBuildCarryTheBackButNotABackOfABack)
{
    const Result info = run({u"info"_s, card});
    const QJsonObject json = QJsonDocument::fromJson(info.out.toUtf8()).object();
    EXPECT_EQ(json.value(u"back"_s).toObject().value(u"cardWidth"_s).toInt(), 55);
    writeFile(path(u"again.json"_s), info.out.toUtf8());
    ASSERT_EQ(run({u"build"_s, path(u"again.json"_s), u"-o"_s, path(u"again.pmr"_s)}).code, 0);
    EXPECT_EQ(readFile(path(u"again.pmr"_s)), readFile(card));

    writeFile(path(u"c.json"_s), R"({"back": {"back": {}}})");
    EXPECT_EQ(run({u"build"_s, path(u"c.json"_s), u"-o"_s, path(u"c.pmr"_s)}).code, 1);
}

TEST_F(PmrToolBack, PrintPutsEachBackAfterItsFrontOrAllBacksLastByHand)
{
    const std::pair<QStringList, QString> cases[] = {
        {{}, u"F"_s},
        {{u"--sides"_s, u"both"_s, u"--flip"_s, u"short"_s, u"--copies"_s, u"2"_s}, u"FBFB"_s},
        {{u"--sides"_s, u"both"_s, u"--flip"_s, u"manual"_s, u"--copies"_s, u"3"_s}, u"FFFBBB"_s},
        {{u"--sides"_s, u"back"_s, u"--copies"_s, u"2"_s}, u"BB"_s},
    };
    for (const auto& [options, sides] : cases)
        EXPECT_EQ(printed(options), sides) << options.join(u' ').toStdString();
}

TEST_F(PmrToolBack, RenderDrawsTheBackUprightAndBothRefuseWhatIsNotThere)
{
    ASSERT_EQ(run({u"render"_s, card, u"-o"_s, path(u"b.png"_s), u"--dpi"_s, u"100"_s, u"--side"_s, u"back"_s}).code, 0);
    const QImage back(path(u"b.png"_s));
    EXPECT_EQ(back.size(), QSize(217, 358)); // 55 × 91 mm
    EXPECT_TRUE(pixels::isBlue(back.pixel(100, 100)));

    const std::tuple<QStringList, int, const char*> refused[] = {
        {{u"render"_s, kSample, u"--side"_s, u"back"_s}, 1, "no back"},
        {{u"print"_s, kSample, u"--sides"_s, u"both"_s}, 1, "no back"},
        {{u"print"_s, card, u"--flip"_s, u"over"_s}, 2, "--flip takes"},
    };
    for (const auto& [args, code, says] : refused) {
        const Result result = run(args + QStringList{u"-o"_s, path(u"x.png"_s)});
        EXPECT_EQ(result.code, code) << says;
        EXPECT_TRUE(result.err.contains(QLatin1String(says))) << result.err.toStdString();
    }
}
