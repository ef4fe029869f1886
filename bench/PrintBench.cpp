// SPDX-License-Identifier: GPL-3.0-or-later
// One printed sheet: the 10-up A4 format with a card of 10 texts, 5 lines and 5
// rectangles, written to a PDF at 600 and 1200 pixels per inch. Reports the
// PDF's size and the peak resident memory of the run. Whole pmrtool runs: many
// sheets, and cards for a list of people.
#include "model/ObjItemLine.h"
#include "model/ObjItemRect.h"
#include "model/ObjItemText.h"
#include "model/PmrData.h"
#include "platform/Codec.h"
#include "print/CardFormatCatalog.h"
#include "print/SheetRenderer.h"
#include "print/SheetTarget.h"

#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

void fillCard(PmrData& page)
{
    page.setBackColor(0x00F8F0E8);
    for (int i = 0; i < 5; ++i) {
        auto rect = std::make_unique<ObjItemRect>();
        rect->x = 100 + i * 480;
        rect->y = 80 + (i % 2) * 900;
        rect->cx = 400;
        rect->cy = 160 + i * 40;
        rect->color = 0x3060C0 + i * 0x101010;
        page.append(std::move(rect));
        auto line = std::make_unique<ObjItemLine>();
        line->x = 60;
        line->y = 300 + i * 200;
        line->cx = 2400;
        line->cy = i * 60;
        line->width = i * 3;
        page.append(std::move(line));
    }
    for (int i = 0; i < 10; ++i) {
        auto text = std::make_unique<ObjItemText>();
        text->SetText(platform::toCp932(QStringLiteral("山田 太郎 %1\r\nTEL 03-1234-567%1").arg(i)));
        text->SetFontSize(8 + i * 2);
        text->x = 120 + (i % 3) * 800;
        text->y = 100 + i * 140;
        page.append(std::move(text));
    }
}

// Peak resident memory since the last reset, in KiB (VmHWM).
long peakKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

void resetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

// Runs pmrtool to its end, its messages on the benchmark's stderr. Returns that
// child's own peak resident memory in KiB, or -1 when it failed.
long runPmrtool(const QStringList& args)
{
    std::vector<QByteArray> bytes{QByteArrayLiteral(PMRTOOL_PATH)};
    for (const QString& a : args)
        bytes.push_back(QFile::encodeName(a));
    std::vector<char*> argv;
    for (QByteArray& b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return usage.ru_maxrss;
}

// Times pmrtool runs with args, reporting the largest run's peak memory and the
// size of the PDF out.
void timePmrtool(benchmark::State& state, const QStringList& args, const QString& out)
{
    long peak = 0;
    for (auto _ : state) {
        const long kib = runPmrtool(args);
        if (kib < 0) {
            state.SkipWithError("pmrtool failed");
            break;
        }
        peak = std::max(peak, kib);
    }
    state.counters["child_peak_MiB"] = double(peak) / 1024.0;
    state.counters["pdf_bytes"] = double(QFileInfo(out).size());
}

void BM_PrintSheetToPdf(benchmark::State& state)
{
    const int ppi = int(state.range(0));
    PmrData page;
    fillCard(page);
    print::SheetRenderer::Job job;
    job.format = CardFormatCatalog().format(0); // 名刺10面 A4
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sheet.pdf"));
    resetPeak();
    for (auto _ : state) {
        QPdfWriter writer(path);
        writer.setResolution(ppi);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        print::SheetRenderer renderer(page, job);
        print::PagedSheetTarget target(&writer);
        if (renderer.run(target) != print::SheetRenderer::Result::Done)
            state.SkipWithError("the sheet was not printed");
    }
    state.counters["pdf_bytes"] = double(QFileInfo(path).size());
    state.counters["peak_MiB"] = double(peakKiB()) / 1024.0;
}

// Whole pmrtool runs printing a sample card (with its pictures) on 1, 10 and 100
// sheets of the 10-up A4 format to PDF at 600 ppi: process start, reading,
// rendering, compression and writing. Reports the child's peak memory.
void BM_PmrtoolPrintSheets(benchmark::State& state)
{
    const int sheets = int(state.range(0));
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("sheets.pdf"));
    const QStringList args = {QStringLiteral("print"),
                              QStringLiteral(PELMORA_SOURCE_DIR "/data/sample/めいし-しゃしん.pmr"),
                              QStringLiteral("-o"), out, QStringLiteral("--dpi"), QStringLiteral("600"),
                              QStringLiteral("--copies"), QString::number(sheets)};
    timePmrtool(state, args, out);
}

// A whole pmrtool run printing the team sample for 1,000 people of a CSV list:
// 100 sheets of the 10-up A4 format to PDF at 600 ppi. Reports the child's peak
// memory and the image objects of the PDF (one card picture for the whole job).
void BM_PmrtoolPrintList(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString list = dir.filePath(QStringLiteral("people.csv"));
    {
        QFile csv(list);
        if (!csv.open(QIODevice::WriteOnly)) {
            state.SkipWithError("the list cannot be written");
            return;
        }
        csv.write("なまえ,やくしょく,TEL,メール\n");
        for (int i = 1; i <= 1000; ++i)
            csv.write(QStringLiteral("山田 太郎 %1,\"営業部, 第%2課\",03-1234-%3,taro%1@example.jp\n")
                          .arg(i)
                          .arg(i % 7 + 1)
                          .arg(i, 4, 10, QLatin1Char('0'))
                          .toUtf8());
    }
    const QString out = dir.filePath(QStringLiteral("team.pdf"));
    const QStringList args = {QStringLiteral("print"),
                              QStringLiteral(PELMORA_SOURCE_DIR "/data/sample/めいし-チーム.pmr"),
                              QStringLiteral("--merge"), list, QStringLiteral("-o"), out,
                              QStringLiteral("--dpi"), QStringLiteral("600")};
    timePmrtool(state, args, out);
    QFile pdf(out);
    if (pdf.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = pdf.readAll();
        state.counters["image_objects"] = double(bytes.count("/Subtype /Image"));
        state.counters["pages"] = double(bytes.count("/Type /Page") - bytes.count("/Type /Pages"));
    }
}

} // namespace

BENCHMARK(BM_PmrtoolPrintList)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_PmrtoolPrintSheets)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_PrintSheetToPdf)->Arg(600)->Arg(1200)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
