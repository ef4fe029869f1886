// SPDX-License-Identifier: GPL-3.0-or-later
#include "../model/DocumentBytes.h"
#include "TestSupport.h"
#include "ToolRun.h"
#include "model/ObjItemText.h"
#include "model/PmrData.h"
#include "model/PmrDocument.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

using namespace Qt::StringLiterals;
using namespace toolrun;

namespace {

class PmrToolTest : public testsupport::TempDirTest {
protected:
    // A file of the temporary folder holding bytes.
    QString file(const QString& name, const QByteArray& bytes) const
    {
        EXPECT_TRUE(writeFile(path(name), bytes));
        return path(name);
    }
    // The items info lists for a document.
    static QJsonArray listed(const QString& pmr)
    {
        const Result info = run({u"info"_s, pmr});
        EXPECT_EQ(info.code, 0) << info.err.toStdString();
        return QJsonDocument::fromJson(info.out.toUtf8()).object()[u"items"_s].toArray();
    }
    // info, then build, then the bytes of the built file.
    QByteArray roundTrip(const QString& pmr)
    {
        const Result info = run({u"info"_s, pmr});
        EXPECT_EQ(info.code, 0) << info.err.toStdString();
        const Result build = run({u"build"_s, file(u"rt.json"_s, info.out.toUtf8()), u"-o"_s, path(u"rt.pmr"_s)});
        EXPECT_EQ(build.code, 0) << build.err.toStdString();
        return readFile(path(u"rt.pmr"_s));
    }
};

TEST_F(PmrToolTest, InfoThenBuildGivesTheSameBytes)
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
}

TEST_F(PmrToolTest, WideTextsComeOutWholeAndBuildBackTheirBytes)
{
    const auto card = [&](const char* storedText) {
        return file(u"wide.pmr"_s, DocumentBytes().head(1).newClass("ObjItemText").common(1, 2, 3, 4, 0).i32(0).i32(0)
                                       .hex(storedText).raw(ObjItemText::defaultFont().toByteArray()).tail());
    };
    const QString yoshino = card("FFFEFF03" "42D8B7DFCE91");
    const QJsonObject item = listed(yoshino)[0].toObject();
    EXPECT_EQ(item[u"text"_s].toString(), u"𠮷野"_s);
    EXPECT_FALSE(item.contains(u"textRaw"_s));
    EXPECT_EQ(roundTrip(yoshino), readFile(yoshino));
    const QString lone = card("FFFEFF02" "42D83000"); // a lone surrogate travels escaped
    EXPECT_EQ(roundTrip(lone), readFile(lone));
}

// What the fields of old classes become is pinned with the legacy reading.
TEST_F(PmrToolTest, InfoNamesLegacyClassesAndTheListingBuildsAgain)
{
    const QString old = file(u"old.pmr"_s, DocumentBytes()
                                               .head(2)
                                               .newClass("ObjItem0Line").common(7, 7, 70, -70, 0x77).i32(15)
                                               .newClass("ObjItem0Text").common(4, 4, 40, 40, 0x44).text(2, 9, "b", {})
                                               .tail());
    const QJsonArray items = listed(old);
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0][u"class"_s].toString(), u"ObjItemLine"_s);
    EXPECT_EQ(items[0][u"storedClass"_s].toString(), u"ObjItem0Line"_s);
    EXPECT_EQ(items[1][u"storedClass"_s].toString(), u"ObjItem0Text"_s);
    PmrData page;
    readDocument(roundTrip(old), page);
    EXPECT_EQ(page.items().front()->cy, -70);
}

TEST_F(PmrToolTest, BuildFillsDefaultsAndRefusesBadJson)
{
    const auto build = [&](const QByteArray& json) {
        return run({u"build"_s, file(u"in.json"_s, json), u"-o"_s, path(u"out.pmr"_s)});
    };
    const Result made = build(R"({"items": [{"class": "ObjItemText", "text": "やまだ"}, {"class": "ObjItemLine"}]})");
    ASSERT_EQ(made.code, 0) << made.err.toStdString();
    PmrData page;
    readDocumentFile(path(u"out.pmr"_s), page);
    EXPECT_EQ(page.cardWidth, 91);
    ASSERT_EQ(page.items().size(), 2u);
    const auto& t = dynamic_cast<const ObjItemText&>(*page.items().front());
    EXPECT_EQ(t.font.faceNameUnicode(), u"ＭＳ Ｐゴシック"_s);
    EXPECT_EQ(t.text, QByteArray("\x82\xe2\x82\xdc\x82\xbe"));
    ObjItemText measured;
    measured.SetText(t.text);
    EXPECT_EQ(t.cx, measured.cx); // measured as the editor would
    EXPECT_NE(t.cx, ObjItemText().cx);

    QFile::remove(path(u"out.pmr"_s));
    // Texts a byte longer than a text item holds: in CP932, raw, and wide.
    const qsizetype max = ObjItemText::kMaxTextBytes;
    const auto textItem = [](const QByteArray& field) { return R"({"items": [{"class": "ObjItemText", )" + field + "}]}"; };
    const std::pair<QByteArray, const char*> bad[] = {
        {textItem(R"("text": ")" + QByteArray(max + 1, 'a') + '"'), "\"text\" is longer than a text item holds"},
        {textItem(R"("textRaw": ")" + QByteArray(max + 1, 'a').toHex() + '"'), "\"text\" is longer"},
        {textItem(R"("text": ")" + u"𠮷"_s.repeated(max / 4 + 1).toUtf8() + '"'), "\"text\" is longer"},
        {"{not json", ""},
        {R"([1, 2])", "not a JSON object"},
        {R"({"items": [{"class": "ObjItemCircle"}]})", "ObjItemCircle"},
        {R"({"cardWidth": "wide"})", "cardWidth"},
        {R"({"items": [{"class": "ObjItemRect", "x": 1e12}]})", "\"x\""},
        {R"({"items": [{"class": "ObjItemText", "font": {"raw": "00ff"}}]})", "raw"},
        {R"({"items": [{"class": "ObjItemBitmap", "dib": "!!"}]})", "dib"},
    };
    for (const auto& [json, mentions] : bad) {
        const Result r = build(json);
        EXPECT_EQ(r.code, 1) << json.left(80).toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(mentions))) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(path(u"out.pmr"_s)));
    }
}

TEST_F(PmrToolTest, FormatsListsTheCatalogueInOrder)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"cardfmt"_s));
    file(u"cardfmt/a.cf"_s, "Folder,210,297,91,55,2,5,14,11,0,0,\r\n");
    file(u"cardform.ini"_s, "current=3\r\nMine,100,148,91,55,1,2,4,14,0,10,\r\n");
    const Result r = run({u"formats"_s, u"--appdir"_s, dir.path()});
    ASSERT_EQ(r.code, 0);
    QStringList seen;
    for (const QJsonValue f : QJsonDocument::fromJson(r.out.toUtf8()).array())
        seen << u"%1 %2 fixed=%3 current=%4 gapY=%5"_s.arg(f[u"index"_s].toInt()).arg(f[u"name"_s].toString())
                    .arg(int(f[u"fixed"_s].toBool())).arg(int(f[u"current"_s].toBool())).arg(f[u"gapY"_s].toInt());
    EXPECT_EQ(seen, (QStringList{u"0 名刺10面 A4 fixed=1 current=0 gapY=0"_s, u"1 名刺 8面 A4 fixed=1 current=0 gapY=9"_s,
                                 u"2 Folder fixed=1 current=0 gapY=0"_s, u"3 Mine fixed=0 current=1 gapY=10"_s}));
}

TEST_F(PmrToolTest, AnInstalledToolReadsItsDataFolderAndTheUsersOwnCatalogue)
{
    testsupport::InstalledLayout installed;
    const QString copy = QDir(installed.binDir()).filePath(u"pmrtool"_s);
    ASSERT_TRUE(QFile::copy(QStringLiteral(PMRTOOL_PATH), copy));
    ASSERT_TRUE(QDir().mkpath(installed.userDataDir()));
    QFile user(QDir(installed.userDataDir()).filePath(u"cardform.ini"_s));
    ASSERT_TRUE(user.open(QIODevice::WriteOnly));
    user.write("current=3\r\nMine,100,148,91,55,1,2,4,14,0,10,\r\n");
    user.close();

    QProcess p;
    p.setWorkingDirectory(dir.path()); // not where anything is
    p.start(copy, {u"formats"_s});
    ASSERT_TRUE(p.waitForFinished(30000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    QStringList seen;
    for (const QJsonValue f : QJsonDocument::fromJson(p.readAllStandardOutput()).array())
        seen << u"%1 current=%2"_s.arg(f[u"name"_s].toString()).arg(int(f[u"current"_s].toBool()));
    EXPECT_EQ(seen, (QStringList{u"名刺10面 A4 current=0"_s, u"名刺 8面 A4 current=0"_s, u"Installed 3x3 current=0"_s,
                                 u"Mine current=1"_s}));
}

TEST_F(PmrToolTest, ExitCodesAndEditorMessagesWithoutPlatformNoise)
{
    // Without a runtime folder Qt warns at start-up; the tool keeps quiet.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(u"XDG_RUNTIME_DIR"_s);
    const QString cut = file(u"cut.pmr"_s, QByteArray::fromHex("0100000001000000ffff0100"));
    Result r = spawn({u"info"_s, cut}, env);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, u"%1 の末尾以降にｱｸｾｽしようとしました。\n"_s.arg(QDir::toNativeSeparators(cut)));
    EXPECT_TRUE(r.out.isEmpty());
    for (const QStringList& args : {QStringList{u"formats"_s, u"--appdir"_s, dir.path()}, QStringList{u"info"_s, kSample}}) {
        r = spawn(args, env);
        EXPECT_EQ(r.code, 0);
        EXPECT_EQ(r.err.toStdString(), "") << args.join(u' ').toStdString();
    }
    const QStringList usageErrors[] = {{}, {u"info"_s}, {u"build"_s, u"x.json"_s}, {u"frobnicate"_s},
                                       {u"formats"_s, u"--bogus"_s}};
    for (const QStringList& args : usageErrors)
        EXPECT_EQ(spawn(args).code, 2) << args.join(u' ').toStdString();
    r = spawn({u"build"_s, u"--help"_s});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.out.contains(u"usage: pmrtool build"_s));
}

#ifndef Q_OS_WIN
TEST_F(PmrToolTest, InfoRefusesWhatIsNotADocumentPromptly)
{
    // A FIFO would block the open, /dev/zero never ends, a sparse file is over 1 GiB.
    const QString fifo = path(u"pipe.pmr"_s);
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QFile big(path(u"big.pmr"_s));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize((qint64(1) << 30) + 1));
    big.close();
    for (const QString& name : {fifo, u"/dev/zero"_s, big.fileName()}) {
        for (const QStringList& args : {QStringList{u"info"_s, name}, {u"build"_s, name, u"-o"_s, path(u"o.pmr"_s)}}) {
            const Result r = spawn(args);
            EXPECT_EQ(r.code, 1) << args.join(u' ').toStdString();
            EXPECT_TRUE(r.err.contains(u"%1: ファイルが開けません\n"_s.arg(name))) << r.err.toStdString();
        }
    }
}
#endif

} // namespace
