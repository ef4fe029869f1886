#include "platform/AppSettings.h"
#include "platform/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString kSample = QStringLiteral(PELMORA_SOURCE_DIR "/data/sample/めいし-きっさてん.pmr");

struct Result {
    int code;
    QString out;
    QString err;
};

// Stand-ins for CUPS's lpstat and lp: two queues, "cards" the default; lp records
// its arguments and keeps the file it was handed.
class PmrToolPrintersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir(dir.path()).mkpath(u"bin"_s) && QDir(dir.path()).mkpath(u"empty"_s));
        script(u"lpstat"_s, "case \"$1\" in -e) printf 'office\\ncards\\n';; "
                            "-d) echo 'system default destination: cards';; *) exit 1;; esac\n");
        script(u"lp"_s, "printf '%s\\n' \"$@\" > '" + QFile::encodeName(path(u"lp-args"_s)) +
                            "'\nfor a; do last=$a; done\n/bin/cp \"$last\" '" +
                            QFile::encodeName(path(u"job.pdf"_s)) + "'\n");
    }
    void script(const QString& name, const QByteArray& body)
    {
        QFile f(path(u"bin/"_s + name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write("#!/bin/sh\n" + body) > 0);
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    // The real tool, with only the folder `bin` (the fakes) or `empty` on PATH.
    Result run(const QStringList& args, const QString& pathDir = u"bin"_s)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"PATH"_s, path(pathDir));
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(PMRTOOL_PATH), args);
        if (!p.waitForFinished(60000)) {
            p.kill();
            p.waitForFinished();
            return {-1, {}, u"still running"_s};
        }
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }
    QStringList print(const QStringList& options)
    {
        return QStringList{u"print"_s, kSample, u"--appdir"_s, dir.path(), u"--settings"_s, path(u"s.ini"_s),
                           u"--dpi"_s, u"100"_s} + options;
    }
    // The first page of a PDF at 20 pixels per inch, or a null image without pdftoppm.
    QImage firstPage(const QString& pdf)
    {
        QProcess p;
        p.start(u"pdftoppm"_s, {u"-png"_s, u"-r"_s, u"20"_s, u"-singlefile"_s, pdf, pdf + u"-page"_s});
        if (!p.waitForFinished(30000) || p.exitCode() != 0)
            return {};
        return QImage(pdf + u"-page.png"_s).convertToFormat(QImage::Format_RGB32);
    }
    QTemporaryDir dir;
};

TEST_F(PmrToolPrintersTest, PrintersListsTheQueuesAsJson)
{
    const struct {
        const char* pathDir;
        QJsonArray expected;
    } cases[] = {
        {"bin", QJsonArray{QJsonObject{{u"name"_s, u"office"_s}, {u"default"_s, false}},
                           QJsonObject{{u"name"_s, u"cards"_s}, {u"default"_s, true}}}},
        {"empty", QJsonArray{}}, // no lpstat: no printers
    };
    for (const auto& c : cases) {
        const Result r = run({u"printers"_s}, QString::fromLatin1(c.pathDir));
        EXPECT_EQ(r.code, 0) << c.pathDir << r.err.toStdString();
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(r.out.toUtf8(), &error);
        ASSERT_EQ(error.error, QJsonParseError::NoError) << r.out.toStdString();
        EXPECT_EQ(doc.object(), (QJsonObject{{u"printers"_s, c.expected}})) << r.out.toStdString();
    }
}

TEST_F(PmrToolPrintersTest, PrintHandsThePdfToTheQueueWithTheRememberedOffsets)
{
    // "cards" has offsets of its own, "office" takes the global ones.
    {
        const auto store = platform::SettingsStore::fromFile(path(u"s.ini"_s));
        store->writeInt(u"print"_s, u"adj_x"_s, 6);
        store->writeInt(u"print"_s, u"adj_y"_s, 4);
        store->writeInt(platform::AppSettings::printerSection(u"cards"_s), u"adj_x"_s, 0);
        store->writeInt(platform::AppSettings::printerSection(u"cards"_s), u"adj_y"_s, 0);
        store->sync();
    }
    Result r = run(print({u"--printer"_s, u"office"_s}));
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    QFile args(path(u"lp-args"_s));
    ASSERT_TRUE(args.open(QIODevice::ReadOnly));
    const QStringList recorded = QString::fromUtf8(args.readAll()).split(u'\n');
    EXPECT_EQ(recorded.mid(0, 4), (QStringList{u"-d"_s, u"office"_s, u"-t"_s, u"めいし-きっさてん.pmr"_s}));
    QFile job(path(u"job.pdf"_s));
    ASSERT_TRUE(job.open(QIODevice::ReadOnly));
    EXPECT_TRUE(job.read(5) == "%PDF-");
    job.close();
    ASSERT_TRUE(QFile::rename(path(u"job.pdf"_s), path(u"office.pdf"_s)));

    // The same job into files, with the global offsets and with none.
    ASSERT_EQ(run(print({u"-o"_s, path(u"global.pdf"_s), u"--adjust"_s, u"6,4"_s})).code, 0);
    ASSERT_EQ(run(print({u"-o"_s, path(u"none.pdf"_s), u"--adjust"_s, u"0,0"_s})).code, 0);
    const QImage office = firstPage(path(u"office.pdf"_s));
    if (office.isNull())
        GTEST_SKIP() << "pdftoppm is not available";
    const QImage global = firstPage(path(u"global.pdf"_s)), none = firstPage(path(u"none.pdf"_s));
    EXPECT_TRUE(office == global);
    EXPECT_FALSE(office == none);

    // A printer's own offsets, and --adjust over remembered ones.
    const struct {
        const char* printer;
        const char* adjust;
        const QImage& expected;
    } cases[] = {{"cards", nullptr, none}, {"office", "0,0", none}, {"cards", "6,4", global}};
    for (const auto& c : cases) {
        QStringList options{u"--printer"_s, QString::fromLatin1(c.printer)};
        if (c.adjust)
            options << u"--adjust"_s << QString::fromLatin1(c.adjust);
        ASSERT_EQ(run(print(options)).code, 0) << c.printer;
        EXPECT_TRUE(firstPage(path(u"job.pdf"_s)) == c.expected) << c.printer << " " << (c.adjust ? c.adjust : "");
        QFile::remove(path(u"job.pdf"_s));
        QFile::remove(path(u"job.pdf-page.png"_s));
    }
}

TEST_F(PmrToolPrintersTest, PrintToAPrinterRefusesWhatItCannotDo)
{
    const struct {
        QStringList options;
        const char* pathDir;
        int code;
        const char* message;
    } cases[] = {
        {{u"--printer"_s, u"nowhere"_s}, "bin", 1, "no printer \"nowhere\""},
        {{u"--printer"_s, u"cards"_s}, "empty", 1, "no printer \"cards\""},
        {{u"--printer"_s, u"cards"_s, u"-o"_s, u"x.pdf"_s}, "bin", 2, "either -o"},
    };
    for (const auto& c : cases) {
        const Result r = run(print(c.options), QString::fromLatin1(c.pathDir));
        EXPECT_EQ(r.code, c.code) << c.message;
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(path(u"job.pdf"_s)));

    // A queue that refuses the job: lp's complaint and exit 1.
    script(u"lp"_s, "echo 'lp: printer is paused' >&2\nexit 1\n");
    const Result r = run(print({u"--printer"_s, u"office"_s}));
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(u"printer is paused"_s)) << r.err.toStdString();
}

} // namespace
