// SPDX-License-Identifier: GPL-3.0-or-later
// pmrtool and the card's back: JSON, render and the order of printed sides.
#include "Pixels.h"
#include "ToolRun.h"
#include "print/SheetProbe.h"

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

TEST_F(PmrToolBack, CalibrationBackNumbersTheCutWithTheBackOffsetThatMovesTheBackOntoIt)
{
    const QStringList calibrate{u"calibrate"_s, u"--appdir"_s, dir.path(), u"--format"_s, u"0"_s, u"-o"_s};
    ASSERT_EQ(run(calibrate + QStringList{path(u"c.png"_s), u"--dpi"_s, u"20"_s, u"--sides"_s, u"both"_s}).code, 0);
    EXPECT_TRUE(QFile::exists(path(u"c-1.png"_s)) && QFile::exists(path(u"c-2.png"_s)));
    SKIP_WITHOUT_POPPLER();
    ASSERT_EQ(run(calibrate + QStringList{path(u"one.pdf"_s)}).code, 0);
    ASSERT_EQ(run(calibrate + QStringList{path(u"c.pdf"_s), u"--sides"_s, u"both"_s, u"--flip"_s, u"long"_s}).code, 0);
    EXPECT_TRUE(sheetprobe::tool(u"pdfinfo"_s, {path(u"c.pdf"_s)}).contains(QRegularExpression(u"Pages:\\s+2\\n"_s)));

    // Words in millimetres from the paper's corner: their middles.
    const auto wordsOn = [this](const QString& pdf, int page) {
        const QString n = QString::number(page);
        std::vector<std::pair<QString, QPointF>> found;
        for (const auto& w : sheetprobe::words(path(pdf), {u"-f"_s, n, u"-l"_s, n}))
            found.emplace_back(w.text, QPointF(w.xMin + w.xMax, w.yMin + w.yMax) / 2 * 25.4 / 72);
        return found;
    };
    const auto labels = [](const std::vector<std::pair<QString, QPointF>>& words) {
        QStringList found;
        for (const auto& [text, at] : words) {
            if (text.startsWith(u'+') || text.startsWith(u'-'))
                continue;
            found << text;
            // Beside the cards (14 to 196 mm across, 11 to 286 mm down) and on the paper.
            EXPECT_TRUE((at.y() > 0 && at.y() < 11) || (at.y() > 286 && at.y() < 297)) << text.toStdString();
        }
        return found;
    };
    EXPECT_EQ(labels(wordsOn(u"one.pdf"_s, 1)), QStringList());
    EXPECT_EQ(labels(wordsOn(u"c.pdf"_s, 1)), QStringList{u"おもて"_s});
    const auto back = wordsOn(u"c.pdf"_s, 2);
    EXPECT_EQ(labels(back), QStringList{u"うら（ちょうへんとじ）"_s});

    // Turned over its long edge, the first card's back starts 210 - 14 - 91 = 105 mm
    // from the back's left edge. Looking at the back, the numbers of its top ruler
    // run -5 on the left to +5 on the right, about 3 mm below the corner.
    const auto numberAt = [&back](double xMm, double yMm) {
        for (const auto& [text, at] : back)
            if (std::abs(at.x() - xMm) < 1 && std::abs(at.y() - yMm) < 1.5)
                return text;
        return QString();
    };
    EXPECT_EQ(std::pair(numberAt(100, 14), numberAt(110, 14)), std::pair(u"-5"_s, u"+5"_s));

    // A cut under +5 is met by backs moved 5 mm: they start where that tick is.
    ASSERT_EQ(run({u"print"_s, card, u"-o"_s, path(u"b.pdf"_s), u"--appdir"_s, dir.path(), u"--only-one"_s,
                   u"--sides"_s, u"both"_s, u"--back-adjust"_s, u"5,0"_s})
                  .code,
              0);
    // 10 pixels a millimetre, 90 to 130 mm across, 30 mm down.
    const QImage row = sheetprobe::rasterise(path(u"b.pdf"_s), 2, 254, QRect(900, 300, 400, 1));
    const std::vector<int> blue = sheetprobe::starts(row, 0, true, pixels::isBlue);
    ASSERT_FALSE(blue.empty());
    EXPECT_NEAR(900 + blue.front(), 1100, 2);
}
