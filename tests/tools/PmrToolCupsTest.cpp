// SPDX-License-Identifier: GPL-3.0-or-later
#include "ToolRun.h"
#include "platform/AppSettings.h"
#include "platform/SettingsStore.h"
#include "print/SheetProbe.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <cmath>
#include <iostream>

using namespace Qt::StringLiterals;
using namespace toolrun;

namespace {

const QString kQueue = u"PelmoraPDF"_s;

// pmrtool printers and print --printer against a real CUPS scheduler: the private
// cupsd with the cups-pdf queue PelmoraPDF (its default) that the test set-up starts
// in PELMORA_CUPS_DIR (scripts/cups-pdf-queue.sh). Where it could not start, the
// folder says why and these tests skip; the stand-in lpstat/lp tests still run.
class PmrToolCupsTest : public testsupport::TempDirTest {
protected:
    void SetUp() override
    {
        const QString cupsDir = qEnvironmentVariable("PELMORA_CUPS_DIR");
        if (cupsDir.isEmpty())
            GTEST_SKIP() << "the CUPS queue tests did not run: PELMORA_CUPS_DIR is not set (run them through ctest)";
        queueDir = QDir(cupsDir);
        QFile reason(queueDir.filePath(u"unavailable"_s));
        if (reason.open(QIODevice::ReadOnly))
            GTEST_SKIP() << "the CUPS queue tests did not run: " << reason.readAll().trimmed().toStdString();
        QFile server(queueDir.filePath(u"server"_s));
        ASSERT_TRUE(server.open(QIODevice::ReadOnly)) << "no CUPS queue was started in " << cupsDir.toStdString();
        env = QProcessEnvironment::systemEnvironment();
        env.insert(u"CUPS_SERVER"_s, QString::fromLocal8Bit(server.readAll().trimmed()));
        env.remove(u"PRINTER"_s); // either would name another default for lpstat -d
        env.remove(u"LPDEST"_s);
        std::cout << "[   CUPS   ] against the cups-pdf queue " << kQueue.toStdString() << " of the cupsd at "
                  << env.value(u"CUPS_SERVER"_s).toStdString() << "\n";
    }
    Result run(const QString& program, const QStringList& args) { return spawn(args, env, program); }
    Result pmrtool(const QStringList& args) { return spawn(args, env); }
    QString jobsWaiting() { return run(u"lpstat"_s, {u"-W"_s, u"not-completed"_s, u"-o"_s}).out.trimmed(); }
    QStringList outputs() const { return QDir(queueDir.filePath(u"out"_s)).entryList({u"*.pdf"_s}, QDir::Files); }
    QString log(const QString& name) const
    {
        QFile f(queueDir.filePath(u"log/"_s + name));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    // `card` printed to the queue into an emptied output folder; the PDF cups-pdf
    // wrote for it once no job is left waiting, or an empty string after a failure.
    QString printed(const QString& card, const QStringList& options)
    {
        clearOutputs();
        const Result r = pmrtool(QStringList{u"print"_s, card, u"--printer"_s, kQueue, u"--appdir"_s, dir.path(),
                                             u"--settings"_s, path(u"s.ini"_s), u"--dpi"_s, u"150"_s} +
                                 options);
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        if (r.code != 0)
            return {};
        for (QDeadlineTimer deadline(60000); !deadline.hasExpired(); QThread::msleep(100)) {
            const QStringList pdfs = outputs();
            if (pdfs.size() == 1 && jobsWaiting().isEmpty())
                return queueDir.filePath(u"out/"_s + pdfs[0]);
        }
        ADD_FAILURE() << "no PDF from the queue within 60 s; queue: "
                      << run(u"lpstat"_s, {u"-p"_s, u"-o"_s}).out.toStdString() << "\nscheduler log:\n"
                      << log(u"error_log"_s).toStdString() << "\ncups-pdf log:\n"
                      << log(u"cups-pdf-"_s + kQueue + u"_log"_s).toStdString();
        return {};
    }
    void clearOutputs()
    {
        for (const QString& name : outputs())
            QFile::remove(queueDir.filePath(u"out/"_s + name));
    }
    QDir queueDir;
    QProcessEnvironment env;
};

// Which offsets a queue's job takes is pinned with the stand-in lp.
TEST_F(PmrToolCupsTest, TheQueueIsListedAsTheDefaultAndPrintsAJobTitledAfterTheCard)
{
    const Result r = pmrtool({u"printers"_s});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    const QJsonObject expected{
        {u"printers"_s, QJsonArray{QJsonObject{{u"name"_s, kQueue}, {u"default"_s, true}}}}};
    EXPECT_EQ(QJsonDocument::fromJson(r.out.toUtf8()).object(), expected) << r.out.toStdString();

    if (!sheetprobe::hasPoppler())
        GTEST_SKIP() << "pdftoppm is not available";
    ASSERT_TRUE(QFile::copy(kSample, path(u"remembered.pmr"_s)));
    {
        const auto store = platform::SettingsStore::fromFile(path(u"s.ini"_s));
        store->writeInt(u"print"_s, u"adj_x"_s, 6);
        store->writeInt(u"print"_s, u"adj_y"_s, 5);
        store->sync();
    }
    const QString pdf = printed(path(u"remembered.pmr"_s), {u"--copies"_s, u"2"_s});
    ASSERT_FALSE(pdf.isEmpty());
    // cups-pdf names its file after the job title, keeping only ASCII; the
    // scheduler's page log has the title as it is, last for the last job.
    EXPECT_EQ(QFileInfo(pdf).fileName().toStdString(), "remembered.pdf");
    const QString lastJob = log(u"page_log"_s).trimmed().section(u'\n', -1);
    EXPECT_TRUE(lastJob.contains(u" remembered.pmr "_s)) << lastJob.toStdString();
    const QString info = sheetprobe::tool(u"pdfinfo"_s, {pdf});
    EXPECT_TRUE(info.contains(QRegularExpression(u"Pages: +2\n"_s))) << info.toStdString();
    // "名刺10面 A4": the first card's corner at 14 mm, 11 mm, moved by the offsets 6, 5.
    const QPoint ink = sheetprobe::firstInk(pdf);
    EXPECT_LE(std::abs(ink.x() - (14 + 6) * 150 / 25.4), 1.5) << "x " << ink.x();
    EXPECT_LE(std::abs(ink.y() - (11 + 5) * 150 / 25.4), 1.5) << "y " << ink.y();
}

// An unknown printer is refused by the stand-in lpstat tests already.
TEST_F(PmrToolCupsTest, PrintReportsAQueueThatRefusesTheJob)
{
    clearOutputs();
    ASSERT_EQ(run(u"cupsreject"_s, {kQueue}).code, 0);
    const Result r =
        pmrtool({u"print"_s, kSample, u"--printer"_s, kQueue, u"--appdir"_s, dir.path(), u"--adjust"_s, u"0,0"_s});
    EXPECT_EQ(run(u"cupsaccept"_s, {kQueue}).code, 0);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(u"could not be handed to \"PelmoraPDF\""_s)) << r.err.toStdString();
    EXPECT_EQ(jobsWaiting().toStdString(), "");
    EXPECT_TRUE(outputs().isEmpty()) << outputs().join(u' ').toStdString();
}

} // namespace
