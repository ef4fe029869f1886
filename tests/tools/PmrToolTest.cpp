#include "../model/DocumentBytes.h"
#include "ToolCommands.h"
#include "model/ObjItemBitmap.h"
#include "model/ObjItemLine.h"
#include "model/ObjItemRect.h"
#include "model/ObjItemText.h"
#include "model/PmrData.h"
#include "model/PmrDocument.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

namespace {

struct Result {
    int code;
    QString out;
    QString err;
};

Result tool(const QStringList& args)
{
    QString out, err;
    QTextStream o(&out), e(&err);
    const int code = pmrtool::run(args, o, e);
    o.flush();
    e.flush();
    return {code, out, err};
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class PmrToolTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    // info, then build, then the bytes of the built file.
    QByteArray roundTrip(const QString& file)
    {
        const Result info = tool({QStringLiteral("info"), file});
        EXPECT_EQ(info.code, 0) << info.err.toStdString();
        writeAll(path(QStringLiteral("rt.json")), info.out.toUtf8());
        const Result build = tool({QStringLiteral("build"), path(QStringLiteral("rt.json")), QStringLiteral("-o"),
                                   path(QStringLiteral("rt.pmr"))});
        EXPECT_EQ(build.code, 0) << build.err.toStdString();
        return readAll(path(QStringLiteral("rt.pmr")));
    }
    QTemporaryDir dir;
};

TEST_F(PmrToolTest, InfoThenBuildGivesTheSameBytes)
{
    const QDir samples(QStringLiteral(PELMORA_SOURCE_DIR "/data/sample"));
    for (const QString& name : samples.entryList({QStringLiteral("*.pmr")}))
        EXPECT_EQ(roundTrip(samples.filePath(name)), readAll(samples.filePath(name))) << name.toStdString();

    // Every class, a pattern, odd stored values and text bytes that are not plain CP932.
    PmrData page;
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::blue);
    page.setPattern(platform::Dib::fromImage(image));
    page.patternScale = -7;
    page.append(std::make_unique<ObjItem>());
    auto text = std::make_unique<ObjItemText>();
    text->text = QByteArray("\x82\xa0\xff\x81", 4);
    text->align = 9;
    text->font.faceName[31] = 'x';
    page.append(std::move(text));
    auto line = std::make_unique<ObjItemLine>();
    line->width = -3;
    line->color = 0xFFFFFFFF;
    page.append(std::move(line));
    page.append(std::make_unique<ObjItemRect>());
    page.append(std::make_unique<ObjItemBitmap>(platform::Rect{0, 0, 100, 100}, platform::Dib::fromImage(image)));
    page.append(std::make_unique<ObjItemBitmap>());
    const QString made = path(QStringLiteral("made.pmr"));
    writeDocumentFile(page, made);
    EXPECT_EQ(roundTrip(made), readAll(made));
}

TEST_F(PmrToolTest, InfoNamesLegacyClassesAndFields)
{
    platform::LogFont font;
    font.height = -18;
    const QByteArray legacy = DocumentBytes()
                                  .head(2)
                                  .newClass("ObjItem0Line").common(7, 7, 70, -70, 0x77).i32(15)
                                  .newClass("ObjItem0Text").common(4, 4, 40, 40, 0x44).text(2, 9, "b", font)
                                  .tail()
                                  .bytes();
    writeAll(path(QStringLiteral("old.pmr")), legacy);
    const Result info = tool({QStringLiteral("info"), path(QStringLiteral("old.pmr"))});
    ASSERT_EQ(info.code, 0) << info.err.toStdString();
    const QJsonArray items = QJsonDocument::fromJson(info.out.toUtf8()).object()[QStringLiteral("items")].toArray();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0][QStringLiteral("class")].toString(), QStringLiteral("ObjItemLine"));
    EXPECT_EQ(items[0][QStringLiteral("storedClass")].toString(), QStringLiteral("ObjItem0Line"));
    EXPECT_EQ(items[0][QStringLiteral("cy")].toInt(), -70);
    EXPECT_EQ(items[1][QStringLiteral("storedClass")].toString(), QStringLiteral("ObjItem0Text"));
    EXPECT_EQ(items[1][QStringLiteral("font")][QStringLiteral("height")].toInt(), -18);
    // Built again, the items are written as the current classes and read back the same.
    const QByteArray rebuilt = roundTrip(path(QStringLiteral("old.pmr")));
    PmrData page;
    readDocument(rebuilt, page);
    EXPECT_TRUE(page.items().front()->storedClass.isEmpty());
    EXPECT_EQ(page.items().front()->cy, -70);
}

TEST_F(PmrToolTest, BuildFillsDefaultsAndRefusesBadJson)
{
    writeAll(path(QStringLiteral("min.json")), R"({"items": [{"class": "ObjItemText", "text": "やまだ"},
                                                 {"class": "ObjItemLine"}]})");
    Result r = tool({QStringLiteral("build"), path(QStringLiteral("min.json")), QStringLiteral("-o"), path(QStringLiteral("min.pmr"))});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    PmrData page;
    readDocumentFile(path(QStringLiteral("min.pmr")), page);
    EXPECT_EQ(page.cardWidth, 91);
    ASSERT_EQ(page.items().size(), 2u);
    const auto& t = dynamic_cast<const ObjItemText&>(*page.items().front());
    EXPECT_EQ(t.font.faceNameUnicode(), QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_GT(t.cx, 0); // measured
    EXPECT_EQ(t.text, QByteArray("\x82\xe2\x82\xdc\x82\xbe"));

    const std::pair<const char*, const char*> bad[] = {
        {"{not json", ""},
        {R"([1, 2])", "not a JSON object"},
        {R"({"items": [{"class": "ObjItemCircle"}]})", "ObjItemCircle"},
        {R"({"cardWidth": "wide"})", "cardWidth"},
        {R"({"items": [{"class": "ObjItemRect", "x": 1e12}]})", "\"x\""},
        {R"({"items": [{"class": "ObjItemText", "font": {"raw": "00ff"}}]})", "raw"},
        {R"({"items": [{"class": "ObjItemBitmap", "dib": "!!"}]})", "dib"},
    };
    for (const auto& [json, mentions] : bad) {
        writeAll(path(QStringLiteral("bad.json")), json);
        r = tool({QStringLiteral("build"), path(QStringLiteral("bad.json")), QStringLiteral("-o"), path(QStringLiteral("bad.pmr"))});
        EXPECT_EQ(r.code, 1) << json;
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(mentions))) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(path(QStringLiteral("bad.pmr"))));
    }
}

TEST_F(PmrToolTest, FormatsListsTheCatalogueInOrder)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("cardfmt")));
    writeAll(path(QStringLiteral("cardfmt/a.cf")), "Folder,210,297,91,55,2,5,14,11,0,0,\r\n");
    writeAll(path(QStringLiteral("cardform.ini")), "current=3\r\nMine,100,148,91,55,1,2,4,14,0,10,\r\n");
    const Result r = tool({QStringLiteral("formats"), QStringLiteral("--appdir"), dir.path()});
    ASSERT_EQ(r.code, 0);
    const QJsonArray list = QJsonDocument::fromJson(r.out.toUtf8()).array();
    ASSERT_EQ(list.size(), 4);
    EXPECT_EQ(list[0][QStringLiteral("name")].toString(), QStringLiteral("名刺10面 A4"));
    EXPECT_EQ(list[2][QStringLiteral("name")].toString(), QStringLiteral("Folder"));
    EXPECT_TRUE(list[2][QStringLiteral("fixed")].toBool());
    EXPECT_FALSE(list[3][QStringLiteral("fixed")].toBool());
    EXPECT_TRUE(list[3][QStringLiteral("current")].toBool());
    EXPECT_FALSE(list[0][QStringLiteral("current")].toBool());
    EXPECT_EQ(list[3][QStringLiteral("gapY")].toInt(), 10);
    EXPECT_EQ(list[3][QStringLiteral("index")].toInt(), 3);
}

TEST_F(PmrToolTest, ExitCodesAndEditorMessages)
{
    writeAll(path(QStringLiteral("cut.pmr")), QByteArray::fromHex("0100000001000000ffff0100"));
    const auto runTool = [](const QStringList& args) {
        QProcess p;
        p.start(QStringLiteral(PMRTOOL_PATH), args);
        p.waitForFinished(60000);
        return Result{p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    };
    Result r = runTool({QStringLiteral("info"), path(QStringLiteral("cut.pmr"))});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("%1 の末尾以降にｱｸｾｽしようとしました。")
                                   .arg(QDir::toNativeSeparators(path(QStringLiteral("cut.pmr"))))))
        << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    r = runTool({QStringLiteral("info"), path(QStringLiteral("none.pmr"))});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("ファイルが開けません")));
    EXPECT_EQ(runTool({}).code, 2);
    EXPECT_EQ(runTool({QStringLiteral("info")}).code, 2);
    EXPECT_EQ(runTool({QStringLiteral("build"), QStringLiteral("x.json")}).code, 2);
    EXPECT_EQ(runTool({QStringLiteral("frobnicate")}).code, 2);
    EXPECT_EQ(runTool({QStringLiteral("formats"), QStringLiteral("--bogus")}).code, 2);
    r = runTool({QStringLiteral("build"), QStringLiteral("--help")});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.out.contains(QStringLiteral("usage: pmrtool build")));
}

} // namespace
