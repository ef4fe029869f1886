// SPDX-License-Identifier: GPL-3.0-or-later
// Load and save of a large card: 500 items, two of them 2000 × 2000 24-bit
// pictures (about 24 MB in all), next to a plain file read and write of the
// same bytes.
#include "files/RecoveryStore.h"
#include "model/ObjItemBitmap.h"
#include "model/ObjItemLine.h"
#include "model/ObjItemRect.h"
#include "model/ObjItemText.h"
#include "model/PmrData.h"
#include "model/PmrDocument.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

platform::Dib bigPicture(int seed)
{
    QImage image(2000, 2000, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = qRgb((x + seed) & 0xFF, (y * 3) & 0xFF, (x ^ y) & 0xFF);
    }
    return platform::Dib::fromImage(image, 24);
}

std::unique_ptr<PmrData> makePage()
{
    auto page = std::make_unique<PmrData>();
    const platform::Rect card{0, 0, 6449, 3898};
    page->append(std::make_unique<ObjItemBitmap>(card, bigPicture(0)));
    page->append(std::make_unique<ObjItemBitmap>(card, bigPicture(77)));
    for (int i = 0; page->items().size() < 500; ++i) {
        std::unique_ptr<ObjItem> item;
        switch (i % 3) {
        case 0: {
            auto text = std::make_unique<ObjItemText>(ObjItemText::ForReading{});
            text->text = "Pelmora " + QByteArray::number(i) + "\r\n" + QByteArray::fromHex("82DF82A282B5");
            text->cx = 900;
            text->cy = 300;
            item = std::move(text);
            break;
        }
        case 1: item = std::make_unique<ObjItemLine>(); break;
        default: item = std::make_unique<ObjItemRect>(); break;
        }
        item->x = i * 7 % 6000;
        item->y = i * 13 % 3600;
        page->append(std::move(item));
    }
    return page;
}

struct Fixture {
    std::unique_ptr<PmrData> page = makePage();
    QByteArray bytes = writeDocument(*page);
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("big.pmr"));
    QString plainPath = dir.filePath(QStringLiteral("plain.bin"));

    Fixture()
    {
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void setBytes(benchmark::State& state)
{
    state.SetBytesProcessed(std::int64_t(state.iterations()) * fixture().bytes.size());
}

void BM_SaveToMemory(benchmark::State& state)
{
    const PmrData& page = *fixture().page;
    for (auto _ : state)
        benchmark::DoNotOptimize(writeDocument(page));
    setBytes(state);
}

void BM_LoadFromMemory(benchmark::State& state)
{
    for (auto _ : state) {
        PmrData page;
        readDocument(fixture().bytes, page);
        benchmark::DoNotOptimize(page.items().size());
    }
    setBytes(state);
}

void BM_SaveToFile(benchmark::State& state)
{
    const PmrData& page = *fixture().page;
    for (auto _ : state) {
        QFile f(fixture().plainPath);
        if (!f.open(QIODevice::WriteOnly))
            state.SkipWithError("cannot create the file");
        writeDocument(page, f);
    }
    setBytes(state);
}

// The editor's save: a new file put in place once complete (synced to disk).
void BM_SaveFileSafely(benchmark::State& state)
{
    const PmrData& page = *fixture().page;
    for (auto _ : state)
        writeDocumentFile(page, fixture().plainPath);
    setBytes(state);
}

// The editor's recovery copy of the same card: what a change costs once per
// autosave delay.
void BM_RecoveryCopy(benchmark::State& state)
{
    const PmrData& page = *fixture().page;
    files::RecoveryStore store(fixture().dir.filePath(QStringLiteral("recovery")));
    for (auto _ : state)
        if (!store.write(writeDocument(page), QString()))
            state.SkipWithError("cannot write the copy");
    setBytes(state);
}

void BM_LoadFromFile(benchmark::State& state)
{
    for (auto _ : state) {
        PmrData page;
        readDocumentFile(fixture().path, page);
        benchmark::DoNotOptimize(page.items().size());
    }
    setBytes(state);
}

void BM_PlainWrite(benchmark::State& state)
{
    for (auto _ : state) {
        QFile f(fixture().plainPath);
        if (!f.open(QIODevice::WriteOnly) || f.write(fixture().bytes) != fixture().bytes.size())
            state.SkipWithError("cannot write the file");
    }
    setBytes(state);
}

void BM_PlainRead(benchmark::State& state)
{
    for (auto _ : state) {
        QFile f(fixture().path);
        if (!f.open(QIODevice::ReadOnly))
            state.SkipWithError("cannot open the file");
        benchmark::DoNotOptimize(f.readAll());
    }
    setBytes(state);
}

} // namespace

BENCHMARK(BM_SaveToMemory)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadFromMemory)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainWrite)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveToFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveFileSafely)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RecoveryCopy)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadFromFile)->Unit(benchmark::kMillisecond)->UseRealTime();
