// SPDX-License-Identifier: GPL-3.0-or-later
#include "ToolRun.h"
#include "platform/AppSettings.h"
#include "platform/SettingsStore.h"
#include "print/SheetProbe.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>

using namespace Qt::StringLiterals;
using namespace toolrun;

namespace {

// Stand-ins for CUPS's lpstat and lp: two queues, "cards" the default; lp records
// its arguments and keeps the file it was handed. These run anywhere; one job
// goes through a real scheduler in PmrToolCupsTest.
class PmrToolPrintersTest : public testsupport::TempDirTest {
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
        ASSERT_TRUE(writeFile(path(u"bin/"_s + name), "#!/bin/sh\n" + body));
        QFile::setPermissions(path(u"bin/"_s + name), QFile::permissions(path(u"bin/"_s + name)) | QFileDevice::ExeOwner);
    }
    // The real tool, with only the folder `bin` (the fakes) or `empty` on PATH.
    Result pmrtool(const QStringList& args, const QString& pathDir = u"bin"_s)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"PATH"_s, path(pathDir));
        return spawn(args, env);
    }
    QStringList print(const QStringList& options)
    {
        return QStringList{u"print"_s, kSample, u"--appdir"_s, dir.path(), u"--settings"_s, path(u"s.ini"_s),
                           u"--dpi"_s, u"100"_s} + options;
    }
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
        const Result r = pmrtool({u"printers"_s}, QString::fromLatin1(c.pathDir));
        EXPECT_EQ(r.code, 0) << c.pathDir << r.err.toStdString();
        EXPECT_EQ(QJsonDocument::fromJson(r.out.toUtf8()).object(), (QJsonObject{{u"printers"_s, c.expected}}))
            << r.out.toStdString();
    }
}

TEST_F(PmrToolPrintersTest, PrintHandsAPdfTitledAfterTheCardToLp)
{
    const Result r = pmrtool(print({u"--printer"_s, u"office"_s}));
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(readFile(path(u"lp-args"_s))).split(u'\n').mid(0, 4),
              (QStringList{u"-d"_s, u"office"_s, u"-t"_s, u"めいし-きっさてん.pmr"_s}));
    EXPECT_TRUE(readFile(path(u"job.pdf"_s)).startsWith("%PDF-"));
}

TEST_F(PmrToolPrintersTest, AJobTakesItsQueuesOwnOffsetsOrElseTheGlobalOnes)
{
    if (!sheetprobe::hasPoppler())
        GTEST_SKIP() << "pdftoppm is not available";
    // The global offsets are 6, 5 mm; the queue's own, when it has them, count
    // even when they are 0, 0; --adjust counts over both.
    const struct {
        QStringList options;
        std::optional<QPoint> own;
        QPoint adjust; // millimetres
    } cases[] = {
        {{}, std::nullopt, {6, 5}},
        {{}, QPoint(3, -2), {3, -2}},
        {{}, QPoint(0, 0), {0, 0}},
        {{u"--adjust"_s, u"1,1"_s}, QPoint(3, -2), {1, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.adjust.x() << "," << c.adjust.y());
        QFile::remove(path(u"s.ini"_s));
        {
            const auto store = platform::SettingsStore::fromFile(path(u"s.ini"_s));
            store->writeInt(u"print"_s, u"adj_x"_s, 6);
            store->writeInt(u"print"_s, u"adj_y"_s, 5);
            if (c.own) {
                store->writeInt(platform::AppSettings::printerSection(u"office"_s), u"adj_x"_s, c.own->x());
                store->writeInt(platform::AppSettings::printerSection(u"office"_s), u"adj_y"_s, c.own->y());
            }
            store->sync();
        }
        const Result r = pmrtool(print(QStringList{u"--printer"_s, u"office"_s} + c.options));
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        // "名刺10面 A4": the first card's corner at 14 mm, 11 mm, moved by the offsets.
        const QPoint ink = sheetprobe::firstInk(path(u"job.pdf"_s));
        EXPECT_LE(std::abs(ink.x() - (14 + c.adjust.x()) * 150 / 25.4), 1.5) << "x " << ink.x();
        EXPECT_LE(std::abs(ink.y() - (11 + c.adjust.y()) * 150 / 25.4), 1.5) << "y " << ink.y();
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
        const Result r = pmrtool(print(c.options), QString::fromLatin1(c.pathDir));
        EXPECT_EQ(r.code, c.code) << c.message;
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(path(u"job.pdf"_s)));

    // A queue that refuses the job: lp's complaint and exit 1.
    script(u"lp"_s, "echo 'lp: printer is paused' >&2\nexit 1\n");
    const Result r = pmrtool(print({u"--printer"_s, u"office"_s}));
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(u"printer is paused"_s)) << r.err.toStdString();
}

} // namespace
