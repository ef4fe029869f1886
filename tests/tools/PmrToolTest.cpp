// SPDX-License-Identifier: GPL-3.0-or-later
#include "../model/DocumentBytes.h"
#include "ToolRun.h"
#include "model/ObjItemText.h"
#include "model/PmrData.h"
#include "model/PmrDocument.h"

#include <QCryptographicHash>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include <map>

#include <sys/stat.h>

using namespace Qt::StringLiterals;
using namespace toolrun;

namespace {

class PmrToolTest : public testsupport::TempDirTest {
protected:
    // info, then build, then the bytes of the built file; the items info listed kept.
    QByteArray roundTrip(const QString& pmr)
    {
        const Result info = run({u"info"_s, pmr});
        EXPECT_EQ(info.code, 0) << info.err.toStdString();
        items = QJsonDocument::fromJson(info.out.toUtf8()).object()[u"items"_s].toArray();
        const Result build = run({u"build"_s, file(u"rt.json"_s, info.out.toUtf8()), u"-o"_s, path(u"rt.pmr"_s)});
        EXPECT_EQ(build.code, 0) << build.err.toStdString();
        return readFile(path(u"rt.pmr"_s));
    }
    QJsonArray items;
};

TEST_F(PmrToolTest, InfoThenBuildGivesTheSameBytesAndBuildFillsDefaultsAndMeasuresTexts)
{
    const QDir samples(QStringLiteral(PELMORA_SOURCE_DIR "/data/sample"));
    for (const QString& name : samples.entryList({u"*.pmr"_s}))
        EXPECT_EQ(roundTrip(samples.filePath(name)), readFile(samples.filePath(name))) << name.toStdString();

    // Every class, a pattern, odd stored values and text bytes that are not plain CP932.
    platform::LogFont font;
    font.faceName[31] = 'x';
    const QByteArray dib = testPicture(3, 2).bytes();
    const QString made = file(u"made.pmr"_s, DocumentBytes()
                                                 .head(6)
                                                 .newClass("ObjItem").common(1, 2, 3, 4, 5)
                                                 .newClass("ObjItemText").common(6, 7, 8, 9, 10)
                                                 .text(9, -1, QByteArray("\x82\xa0\xff\x81", 4), font)
                                                 .newClass("ObjItemLine").common(0, 0, -30, 5, 0xFFFFFFFF).i32(-3)
                                                 .newClass("ObjItemRect").common(0, 0, 30, 30, 0)
                                                 .newClass("ObjItemBitmap").common(0, 0, 30, 20, 0).picture(3, 2, 1, 2, 1, dib)
                                                 .classRef(9).common(0, 0, 0, 0, 0).picture(0, 0, 0, 0, 0, {})
                                                 .tail(91, 55, dib, 0xFFFFFF, -7));
    EXPECT_EQ(roundTrip(made), readFile(made));

    // Texts stored wide come out whole; a lone surrogate travels escaped.
    for (const char* stored : {"FFFEFF02" "42D83000", "FFFEFF03" "42D8B7DFCE91"}) {
        const QString wide = file(u"wide.pmr"_s, DocumentBytes().head(1).newClass("ObjItemText").common(1, 2, 3, 4, 0).i32(0).i32(0)
                                                     .hex(stored).raw(ObjItemText::defaultFont().toByteArray()).tail());
        EXPECT_EQ(roundTrip(wide), readFile(wide)) << stored;
    }
    EXPECT_EQ(std::tuple(items[0][u"text"_s].toString(), items[0].toObject().contains(u"textRaw"_s)), std::tuple(u"𠮷野"_s, false));

    PmrData page;
    readDocument(roundTrip(file(u"old.pmr"_s, DocumentBytes()
                                                  .head(2)
                                                  .newClass("ObjItem0Line").common(7, 7, 70, -70, 0x77).i32(15)
                                                  .newClass("ObjItem0Text").common(4, 4, 40, 40, 0x44).text(2, 9, "b", {})
                                                  .tail())),
                 page);
    EXPECT_EQ(page.items().front()->cy, -70);
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ((QStringList{items[0][u"class"_s].toString(), items[0][u"storedClass"_s].toString(), items[1][u"storedClass"_s].toString()}),
              (QStringList{u"ObjItemLine"_s, u"ObjItem0Line"_s, u"ObjItem0Text"_s}));

    // Build fills what is left out and measures texts.
    const QString json = file(u"in.json"_s, R"({"items": [{"class": "ObjItemText", "text": "やまだ"}, {"class": "ObjItemLine"}]})");
    const Result built = run({u"build"_s, json, u"-o"_s, path(u"out.pmr"_s)});
    ASSERT_EQ(built.code, 0) << built.err.toStdString();
    PmrData defaults;
    readDocumentFile(path(u"out.pmr"_s), defaults);
    ASSERT_EQ(defaults.items().size(), 2u);
    const auto& t = dynamic_cast<const ObjItemText&>(*defaults.items().front());
    ObjItemText measured; // as the editor would
    measured.SetText(t.text);
    EXPECT_EQ(std::tuple(defaults.cardWidth, t.font.faceNameUnicode(), t.text, t.cx, t.cx == ObjItemText().cx),
              std::tuple(PmrData().cardWidth, u"ＭＳ Ｐゴシック"_s, QByteArray("\x82\xe2\x82\xdc\x82\xbe"), measured.cx, false));
}

// The catalogue in order: the built-in formats, the folder's, the user's.
TEST_F(PmrToolTest, FormatsListsTheCatalogueOfTheFolderOrOfAnInstalledTool)
{
    const auto listed = [](const Result& r) {
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        QStringList seen;
        for (const QJsonValue f : QJsonDocument::fromJson(r.out.toUtf8()).array())
            seen << u"%1 %2 fixed=%3 current=%4 gapY=%5"_s.arg(f[u"index"_s].toInt()).arg(f[u"name"_s].toString())
                        .arg(int(f[u"fixed"_s].toBool())).arg(int(f[u"current"_s].toBool())).arg(f[u"gapY"_s].toInt());
        return seen.join(u", "_s).toStdString();
    };
    const QByteArray mine = "current=3\r\nMine,100,148,91,55,1,2,4,14,0,10,\r\n";
    file(u"cardfmt/a.cf"_s, "Folder,210,297,91,55,2,5,14,11,0,0,\r\n");
    file(u"cardform.ini"_s, mine);
    const std::string builtIn = "0 名刺10面 A4 fixed=1 current=0 gapY=0, 1 名刺 8面 A4 fixed=1 current=0 gapY=9, ";
    EXPECT_EQ(listed(run({u"formats"_s, u"--appdir"_s, dir.path()})),
              builtIn + "2 Folder fixed=1 current=0 gapY=0, 3 Mine fixed=0 current=1 gapY=10");

    // Installed, it reads its data folder and the user's own catalogue, not the current folder's.
    testsupport::InstalledLayout installed;
    const QString copy = QDir(installed.binDir()).filePath(u"pmrtool"_s);
    ASSERT_TRUE(QFile::copy(QStringLiteral(PMRTOOL_PATH), copy) && QDir().mkpath(installed.userDataDir())
                && writeFile(QDir(installed.userDataDir()).filePath(u"cardform.ini"_s), mine));
    const Result r = spawn({u"-c"_s, u"cd '%1' && exec '%2' formats"_s.arg(dir.path(), copy)},
                           QProcessEnvironment::systemEnvironment(), u"bash"_s);
    EXPECT_EQ(listed(r), builtIn + "2 Installed 3x3 fixed=1 current=0 gapY=5, 3 Mine fixed=0 current=1 gapY=10");
}

// A usage error says what was wrong, then the command's help, and exits with 2;
// a file that cannot be read or written is said with the editor's message and
// exit status 1. Nothing is written and nothing left behind, also when the disk
// takes no more (a file size limit); Qt's start-up warnings stay unsaid.
TEST_F(PmrToolTest, MessagesAndExitCodesAndNothingWrittenOnFailure)
{
    // The sample as card.pdf and behind links, the list behind a link, a card
    // too large to draw, lists the team card cannot print, earlier outputs, and
    // in odd/ what is not a document (a FIFO, a sparse file over 1 GiB) and build's input.
    ASSERT_TRUE(QFile::copy(kSample, path(u"card.pdf"_s)) && QFile::copy(kTeam, path(u"team.pmr"_s)));
    ASSERT_TRUE(QFile::link(u"card.pdf"_s, path(u"link.png"_s)) && QFile::link(u"card.pdf"_s, path(u"s-2.png"_s))
                && QFile::link(u"list.csv"_s, path(u"list.pdf"_s)));
    file(u"list.csv"_s, "a\n1\n");
    file(u"short.csv"_s, "なまえ,TEL\n山田,03\n");
    file(u"open.csv"_s, "なまえ,やくしょく,TEL,メール\n\"山田,1,2,3\n");
    file(u"old.pdf"_s, "old PDF");
    file(u"old.png"_s, "old PNG");
    file(u"cut.pmr"_s, QByteArray::fromHex("0100000001000000ffff0100"));
    const QString huge = file(u"huge.json"_s, R"({"cardWidth": 2147483647, "cardHeight": 2147483647})");
    ASSERT_EQ(run({u"build"_s, huge, u"-o"_s, path(u"huge.pmr"_s)}).code, 0);
    ASSERT_TRUE(QFile::resize(file(u"odd/big.pmr"_s, {}), (qint64(1) << 30) + 1));
    ASSERT_EQ(mkfifo(QFile::encodeName(path(u"odd/pipe.pmr"_s)).constData(), 0600), 0);
    // Every file of the folder by its name and a digest of its bytes.
    const auto files = [&] {
        std::map<std::string, QByteArray> digests;
        for (const QString& f : QDir(dir.path()).entryList(QDir::Files))
            digests[f.toStdString()] = QCryptographicHash::hash(readFile(path(f)), QCryptographicHash::Md5).toHex();
        return digests;
    };
    const auto before = files();
    // Texts a byte longer than a text item holds: in CP932 and wide.
    const qsizetype max = ObjItemText::kMaxTextBytes;
    const auto textItem = [](const QByteArray& field) { return R"({"items": [{"class": "ObjItemText", )" + field + "}]}"; };
    // args run in the folder, which print and calibrate take their catalogue from; json is odd/in.json.
    const struct { const char* args; int code; const char* says; QByteArray json = {}; int limitKiB = 0; } cases[] = {
        {"info card.pdf", 0, ""},
        {"info cut.pmr", 1, "/cut.pmr の末尾以降にｱｸｾｽしようとしました。\n"},
        {"info odd/pipe.pmr", 1, "odd/pipe.pmr: ファイルが開けません\n"}, // would block the open
        {"build odd/pipe.pmr -o x.pmr", 1, "odd/pipe.pmr: ファイルが開けません\n"},
        {"info odd/big.pmr", 1, "odd/big.pmr: ファイルが開けません\n"},
        {"build odd/big.pmr -o x.pmr", 1, "odd/big.pmr: ファイルが開けません\n"},
        {"build odd/in.json -o x.pmr", 1, "\"text\" is longer than a text item holds", textItem(R"("text": ")" + QByteArray(max + 1, 'a') + '"')},
        {"build odd/in.json -o x.pmr", 1, "\"text\" is longer", textItem(R"("text": ")" + u"𠮷"_s.repeated(max / 4 + 1).toUtf8() + '"')},
        {"build odd/in.json -o x.pmr", 1, "odd/in.json: ", "{not json"},
        {"build odd/in.json -o x.pmr", 1, "odd/in.json: not a JSON object\n", R"([1, 2])"},
        {"build odd/in.json -o x.pmr", 1, "ObjItemCircle", R"({"items": [{"class": "ObjItemCircle"}]})"},
        {"build odd/in.json -o x.pmr", 1, "cardWidth", R"({"cardWidth": "wide"})"},
        {"build odd/in.json -o x.pmr", 1, "\"x\"", R"({"items": [{"class": "ObjItemRect", "x": 1e12}]})"},
        {"build odd/in.json -o x.pmr", 1, "raw", R"({"items": [{"class": "ObjItemText", "font": {"raw": "00ff"}}]})"},
        {"build odd/in.json -o x.pmr", 1, "dib", R"({"items": [{"class": "ObjItemBitmap", "dib": "!!"}]})"},
        {"", 2, "usage: pmrtool COMMAND"},
        {"frobnicate", 2, "pmrtool: unknown command \"frobnicate\"\n"},
        {"info", 2, "pmrtool: info takes one file\n"},
        {"build x.json", 2, "pmrtool: build takes IN.json and -o OUT.pmr\n"},
        {"formats --bogus", 2, "pmrtool: unknown option --bogus\n"},
        {"render card.pdf -o x.png --dpi 0", 2, "pmrtool: --dpi takes a whole number from 10 to 2400\n"},
        {"render card.pdf -o x.pmr", 2, "pmrtool: the output must end in .png\n"},
        {"render card.pdf -o link.png", 2, "pmrtool: the output link.png is also an input\n"},
        {"render huge.pmr -o huge.png", 1, "2147483647 x 2147483647 mm is too large to draw"},
        {"render card.pdf -o old.png", 1, "old.png: the file is too large", {}, 16},
        {"print card.pdf -o x.tif", 2, "pmrtool: the output must end in .pdf or .png\n"},
        {"print card.pdf -o x.pdf --format nope", 2, "pmrtool: no format \"nope\" (see pmrtool formats)\n"},
        {"print card.pdf -o x.pdf --adjust 1", 2, "pmrtool: --adjust takes X,Y in whole millimetres\n"},
        {"print card.pdf -o x.pdf --start 0", 2, "pmrtool: --start takes a whole number from 1\n"},
        {"print card.pdf -o x.pdf --copies 0", 2, "pmrtool: --copies takes a whole number from 1 to 9999\n"},
        {"print card.pdf -o x.png --start 11", 2, "はじめのいち は 1 から 10 までに してね"},
        {"print card.pdf --printer cards -o x.pdf", 2, "either -o OUT.pdf|OUT.png or --printer NAME\n"},
        {"print card.pdf -o card.pdf", 2, "card.pdf is also an input"},
        {"print card.pdf --merge list.csv -o list.pdf", 2, "list.pdf is also an input"},
        {"print card.pdf -o s.png --copies 2", 2, "s-2.png is also an input"},
        {"print card.pdf -o no/dir/x.pdf", 1, "/no/dir/x.pdf: ファイルが開けません\n"},
        {"print card.pdf -o old.pdf", 1, "old.pdf: the file is too large", {}, 16},
        {"print team.pmr --merge short.csv -o x.pdf", 1, "/short.csv: リストに 「やくしょく」「メール」 の こうもくが ないよ\n"},
        {"print team.pmr --merge open.csv -o x.pdf", 1, "/open.csv: リストの 2 ぎょうめ の \" が とじてないよ\n"},
        {"calibrate -o x.pdf --dpi fine", 2, "pmrtool: --dpi takes"},
        {"calibrate -o x.pdf --adjust 1,1", 2, "pmrtool: unknown option --adjust\n"},
        {"calibrate -o", 2, "pmrtool: -o needs a value\n"},
        {"calibrate -o x.pdf --sides back", 2, "pmrtool: --sides takes front or both\n"},
        {"calibrate -o x.pdf --sides both --flip over", 2, "pmrtool: --flip takes long, short or manual\n"},
        {"calibrate -o x.pdf --flip short", 2, "pmrtool: --flip needs --sides both\n"},
    };
    const testsupport::ScopedEnv noRuntimeDir("XDG_RUNTIME_DIR", QString()); // Qt would warn at start-up
    for (const auto& c : cases) {
        if (!c.json.isEmpty())
            file(u"odd/in.json"_s, c.json);
        QStringList words = QString::fromUtf8(c.args).split(u' ', Qt::SkipEmptyParts);
        if (words.value(0) == u"print"_s || words.value(0) == u"calibrate"_s)
            words = words.mid(0, 1) + QStringList{u"--appdir"_s, u"."_s} + words.mid(1);
        // The shell lets a write past the limit fail with EFBIG rather than kill.
        const QString command = u"trap '' XFSZ; ulimit -f %1; cd '%2' && exec '%3' %4"_s.arg(
            c.limitKiB ? QString::number(c.limitKiB) : u"unlimited"_s, dir.path(), QStringLiteral(PMRTOOL_PATH), words.join(u' '));
        const Result r = spawn({u"-c"_s, command}, QProcessEnvironment::systemEnvironment(), u"bash"_s);
        EXPECT_EQ(r.code, c.code) << c.args;
        EXPECT_TRUE(c.code ? r.err.contains(QString::fromUtf8(c.says)) : r.err.isEmpty()) << c.args << ": " << r.err.toStdString();
        EXPECT_EQ(r.out.isEmpty(), c.code != 0) << c.args;
        const Result help = run({words.value(0), u"--help"_s});
        EXPECT_EQ(r.err.endsWith(help.code == 0 ? help.out : run({u"--help"_s}).out), c.code == 2) << c.args;
    }
    EXPECT_EQ(files(), before) << "nothing written, nothing left behind";
}

} // namespace
