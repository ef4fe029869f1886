// SPDX-License-Identifier: GPL-3.0-or-later
// The print panel's sheet preview, redrawn as a box is typed: the 10-up A4
// format, a card holding a 24-megapixel picture, texts and rectangles.
#include "model/ObjItemBitmap.h"
#include "model/ObjItemRect.h"
#include "model/ObjItemText.h"
#include "model/PmrData.h"
#include "platform/Codec.h"
#include "platform/Dib.h"
#include "print/CardFormatCatalog.h"
#include "printui/SheetPreview.h"

#include <QImage>

#include <benchmark/benchmark.h>

namespace {

void BM_SheetPreviewRedraw(benchmark::State& state)
{
    PmrData page;
    page.setBackColor(0x00F8F0E8);
    QImage photo(6000, 4000, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(photo.scanLine(y));
        for (int x = 0; x < photo.width(); ++x)
            line[x] = qRgb(x % 256, y % 256, (x + y) % 256);
    }
    page.append(std::make_unique<ObjItemBitmap>(platform::Rect{0, 0, page.cardWidth * 7200 / 254, page.cardHeight * 7200 / 254},
                                                platform::Dib::fromImage(photo)));
    for (int i = 0; i < 6; ++i) {
        auto text = std::make_unique<ObjItemText>();
        text->SetText(platform::toCp932(QStringLiteral("山田 太郎 %1").arg(i)));
        text->SetFontSize(10 + i * 2);
        text->x = 1300;
        text->y = 100 + i * 200;
        page.append(std::move(text));
    }
    print::SheetPreview preview;
    preview.resize(state.range(0) * 3 / 4, state.range(0));
    preview.setPage(&page);
    print::SheetRenderer::Job job;
    job.format = CardFormatCatalog().format(0);
    int start = 1;
    for (auto _ : state) {
        job.start = start;
        start = start % 10 + 1;
        preview.setJob(job);
        benchmark::DoNotOptimize(preview.sheet().constBits());
    }
}

} // namespace

// The preview's height in pixels: as in the dialog, and at 200 %.
BENCHMARK(BM_SheetPreviewRedraw)->Arg(240)->Arg(480)->Unit(benchmark::kMillisecond);
