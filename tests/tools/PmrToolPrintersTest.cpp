// SPDX-License-Identifier: GPL-3.0-or-later
#include "ToolRun.h"
#include "platform/AppSettings.h"
#include "platform/SettingsStore.h"
#include "print/SheetProbe.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QThread>
#include <gtest/gtest.h>

#include <cmath>
#include <optional>

using namespace Qt::StringLiterals;
using namespace toolrun;

namespace {

// "名刺10面 A4": the first card's corner at 14 mm, 11 mm on the PDF's first page, moved by `adjust` mm;
// the ink's top-left corner in pixels at 150 ppi.
void expectFirstCard(const QString& pdf, QPoint adjust)
{
    const QImage corner = sheetprobe::rasterise(pdf, 1, 150, QRect(0, 0, 400, 400));
    const QPoint ink = pixels::inkBox(corner, [](QRgb c) { return !pixels::isWhite(c); }).topLeft();
    EXPECT_LE(std::abs(ink.x() - (14 + adjust.x()) * 150 / 25.4), 1.5) << "x " << ink.x();
    EXPECT_LE(std::abs(ink.y() - (11 + adjust.y()) * 150 / 25.4), 1.5) << "y " << ink.y();
}

// Stand-ins for CUPS's lpstat and lp: two queues, "cards" the default; lp records
// its arguments and keeps the file it was handed. These run anywhere; one job
// goes through a real scheduler in PmrToolCupsTest, below.
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
    // The sample printed with the settings s.ini of the temporary folder.
    QStringList print(const QStringList& options)
    {
        return QStringList{u"print"_s, kSample, u"--appdir"_s, dir.path(), u"--settings"_s, path(u"s.ini"_s),
                           u"--dpi"_s, u"100"_s} + options;
    }
};

TEST_F(PmrToolPrintersTest, PrintersAreTheQueuesAndOthersAreRefused)
{
    const QJsonArray queues{QJsonObject{{u"name"_s, u"office"_s}, {u"default"_s, false}},
                            QJsonObject{{u"name"_s, u"cards"_s}, {u"default"_s, true}}};
    for (const auto& [pathDir, expected] : {std::pair{u"bin"_s, queues}, std::pair{u"empty"_s, QJsonArray{}}}) {
        const Result r = pmrtool({u"printers"_s}, pathDir); // no lpstat: no printers
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_EQ(QJsonDocument::fromJson(r.out.toUtf8()).object(), (QJsonObject{{u"printers"_s, expected}})) << r.out.toStdString();
    }
    // A queue lpstat does not list (without lpstat none is listed, as above).
    const Result none = pmrtool(print({u"--printer"_s, u"nowhere"_s}));
    EXPECT_EQ(std::tuple(none.code, none.err), std::tuple(1, u"pmrtool: no printer \"nowhere\" (see pmrtool printers)\n"_s));
    EXPECT_FALSE(QFile::exists(path(u"job.pdf"_s)));
    script(u"lp"_s, "echo 'lp: printer is paused' >&2\nexit 1\n");
    const Result r = pmrtool(print({u"--printer"_s, u"office"_s}));
    EXPECT_EQ(std::tuple(r.code, r.err), std::tuple(1, u"pmrtool: the job could not be handed to \"office\": lp: printer is paused\n"_s));
}

TEST_F(PmrToolPrintersTest, LpGetsAPdfTitledAfterTheCardWithItsQueuesOffsetsOrElseTheGlobalOnes)
{
    ASSERT_EQ(pmrtool(print({u"--printer"_s, u"office"_s})).code, 0);
    EXPECT_EQ(QString::fromUtf8(readFile(path(u"lp-args"_s))).split(u'\n').mid(0, 4),
              (QStringList{u"-d"_s, u"office"_s, u"-t"_s, u"めいし-きっさてん.pmr"_s}));
    EXPECT_TRUE(readFile(path(u"job.pdf"_s)).startsWith("%PDF-"));
    SKIP_WITHOUT_POPPLER();
    // The global offsets are 6, 5 mm; the queue's own, when it has them, count
    // even when they are 0, 0; --adjust counts over both.
    const struct { QStringList options; std::optional<QPoint> own; QPoint adjust; /* millimetres */ } cases[] = {
        {{}, std::nullopt, {6, 5}}, {{}, QPoint(3, -2), {3, -2}}, {{}, QPoint(0, 0), {0, 0}},
        {{u"--adjust"_s, u"1,1"_s}, QPoint(3, -2), {1, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.adjust.x() << "," << c.adjust.y());
        QFile::remove(path(u"s.ini"_s));
        const auto store = platform::SettingsStore::fromFile(path(u"s.ini"_s));
        const auto put = [&](const QString& section, QPoint at) {
            store->writeInt(section, u"adj_x"_s, at.x());
            store->writeInt(section, u"adj_y"_s, at.y());
        };
        put(u"print"_s, {6, 5});
        if (c.own)
            put(platform::AppSettings::printerSection(u"office"_s), *c.own);
        store->sync();
        const Result r = pmrtool(print(QStringList{u"--printer"_s, u"office"_s} + c.options));
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        expectFirstCard(path(u"job.pdf"_s), c.adjust);
    }
}

// pmrtool printers and print --printer against a real CUPS scheduler: the private
// cupsd with the cups-pdf queue PelmoraPDF (its default) that the test set-up starts
// in PELMORA_CUPS_DIR (scripts/cups-pdf-queue.sh). Where it could not start, the
// folder says why and the test skips. ctest runs it as tools_cups, on its own.
TEST(PmrToolCupsTest, TheQueueIsListedAsTheDefaultAndPrintsAJobTitledAfterTheCard)
{
    const QString kQueue = u"PelmoraPDF"_s;
    const QString cupsDir = qEnvironmentVariable("PELMORA_CUPS_DIR");
    if (cupsDir.isEmpty())
        GTEST_SKIP() << "the CUPS queue tests did not run: PELMORA_CUPS_DIR is not set (run them through ctest)";
    const QDir queueDir(cupsDir);
    const auto read = [&](const QString& name) { return QString::fromUtf8(testsupport::readFile(queueDir.filePath(name))); };
    if (QFile::exists(queueDir.filePath(u"unavailable"_s)))
        GTEST_SKIP() << "the CUPS queue tests did not run: " << read(u"unavailable"_s).trimmed().toStdString();
    const QString server = read(u"server"_s).trimmed();
    ASSERT_FALSE(server.isEmpty()) << "no CUPS queue was started in " << cupsDir.toStdString();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"CUPS_SERVER"_s, server);
    env.remove(u"PRINTER"_s); // either would name another default for lpstat -d
    env.remove(u"LPDEST"_s);

    const Result r = spawn({u"printers"_s}, env);
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    const QJsonObject expected{{u"printers"_s, QJsonArray{QJsonObject{{u"name"_s, kQueue}, {u"default"_s, true}}}}};
    EXPECT_EQ(QJsonDocument::fromJson(r.out.toUtf8()).object(), expected) << r.out.toStdString();

    SKIP_WITHOUT_POPPLER();
    const QDir out(queueDir.filePath(u"out"_s));
    for (const QString& name : out.entryList({u"*.pdf"_s}, QDir::Files))
        QFile::remove(out.filePath(name));
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::copy(kSample, dir.filePath(u"smoke.pmr"_s)));
    const Result job = spawn({u"print"_s, dir.filePath(u"smoke.pmr"_s), u"--printer"_s, kQueue, u"--appdir"_s, dir.path(),
                              u"--adjust"_s, u"6,5"_s, u"--dpi"_s, u"150"_s, u"--copies"_s, u"2"_s},
                             env);
    ASSERT_EQ(job.code, 0) << job.err.toStdString();
    // cups-pdf names its file after the job title.
    const QString pdf = out.filePath(u"smoke.pdf"_s);
    const auto done = [&] { return QFile::exists(pdf) && spawn({u"-W"_s, u"not-completed"_s, u"-o"_s}, env, u"lpstat"_s).out.trimmed().isEmpty(); };
    for (QDeadlineTimer deadline(60000); !deadline.hasExpired() && !done();)
        QThread::msleep(100);
    ASSERT_EQ(out.entryList({u"*.pdf"_s}, QDir::Files), QStringList{u"smoke.pdf"_s}) << read(u"log/error_log"_s).toStdString();
    const QString info = sheetprobe::tool(u"pdfinfo"_s, {pdf});
    EXPECT_TRUE(info.contains(QRegularExpression(u"Pages: +2\n"_s))) << info.toStdString();
    expectFirstCard(pdf, {6, 5});
}

} // namespace
