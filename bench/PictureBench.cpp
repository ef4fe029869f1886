// SPDX-License-Identifier: GPL-3.0-or-later
#include "BenchSupport.h"
#include "app/CardEditorDlg.h"
#include "model/ObjItemBitmap.h"
#include "model/ViewScale.h"
#include "platform/Dc.h"

#include <QPainter>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

// A photograph-like picture: smooth light, a few soft blobs and grain.
platform::Dib photo(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    std::uint32_t seed = 12345;
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int grain = int(seed >> 28) - 8;
            const double fx = double(x) / w, fy = double(y) / h;
            const double blob = std::exp(-((fx - 0.4) * (fx - 0.4) + (fy - 0.5) * (fy - 0.5)) * 12);
            const int r = int(90 + 120 * fx + 40 * blob) + grain;
            const int g = int(140 - 60 * fy + 80 * blob * std::sin(fx * 9)) + grain;
            const int b = int(200 - 130 * fy * fx) + grain;
            line[x] = qRgb(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255));
        }
    }
    return platform::Dib::fromImage(image);
}

const platform::Dib& largePhoto()
{
    static const platform::Dib dib = photo(1600, 1200);
    return dib;
}

const char* edgeName(int edge)
{
    return edge == 0 ? "blurred" : edge == 1 ? "shadowed" : "plain";
}

// One card redraw with a single 1600 × 1200 photograph fitted to the card:
// args are the zoom steps above 100 %, the edge mode and whether the view is
// scrolled to the card's top-left corner, where the picture's edge shows.
void BM_RedrawPictureCard(benchmark::State& state)
{
    CardEditorDlg dlg;
    auto item = std::make_unique<ObjItemBitmap>(dlg.cardUnits(), largePhoto());
    item->edgeMode = int(state.range(1));
    dlg.page().append(std::move(item));
    bench::zoomTo(dlg, int(state.range(0)));
    const QRect canvas = dlg.view().canvasRect();
    if (state.range(2) != 0) {
        dlg.view().scroll(Qt::Horizontal, SbThumbPosition, -canvas.left() - 20);
        dlg.view().scroll(Qt::Vertical, SbThumbPosition, -canvas.top() - 20);
    }
    QImage window = bench::windowImage(dlg);
    for (auto _ : state) {
        QPainter painter(&window);
        platform::Dc dc(&painter);
        dlg.view().redrawCard(dc, nullptr);
    }
    const ViewScale& s = dlg.view().scale();
    state.SetLabel(QStringLiteral("%1 % r = %8 %2%3, card %4 × %5 in %6 × %7")
                       .arg(s.current * 100 / s.fit)
                       .arg(edgeName(int(state.range(1))))
                       .arg(state.range(2) != 0 ? ", corner" : "")
                       .arg(dlg.cardRect().width())
                       .arg(dlg.cardRect().height())
                       .arg(canvas.width())
                       .arg(canvas.height())
                       .arg(dlg.devicePixelRatio())
                       .toStdString());
}
BENCHMARK(BM_RedrawPictureCard)
    ->ArgsProduct({{0}, {2, 0, 1}, {0}})
    ->ArgsProduct({{5}, {2, 0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0);

// One pointer step of a drag moving the blurred 1600 × 1200 photograph: the
// item moves and the shown window repaints the card. Arg: zoom steps above 100 %.
void BM_DragBlurredPicture(benchmark::State& state)
{
    CardEditorDlg dlg;
    auto item = std::make_unique<ObjItemBitmap>(dlg.cardUnits(), largePhoto());
    item->edgeMode = ObjItemBitmap::EdgeBlur;
    dlg.page().append(std::move(item));
    bench::zoomTo(dlg, int(state.range(0)));
    bench::showExposed(dlg);
    const QPoint at = dlg.view().canvasRect().center();
    bench::timeDragSteps(state, dlg, at);
}
BENCHMARK(BM_DragBlurredPicture)->Arg(0)->Arg(5)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// A picture of one card at 600 ppi (2150 × 1299) printed with a blurred edge,
// timed against a memcpy of the same bytes run just before it in every
// iteration, so both meet the same machine. Time is the blurred drawing's.
void BM_PrintBlurredCardPicture(benchmark::State& state)
{
    using Clock = std::chrono::steady_clock;
    constexpr int kPpi = 600;
    const QSize size(2150, 1299);
    QImage card(size, QImage::Format_RGB32);
    card.fill(qRgb(250, 240, 220));
    platform::Dc dc(&card);
    dc.setScale(kPpi);
    dc.setPrinting(true);
    ObjItemBitmap item(platform::Rect{0, 0, 100000, 100000}, photo(size.width(), size.height()));
    item.x = item.y = 0;
    item.cx = ViewScale::at(kPpi).toUnits(size.width());
    item.cy = ViewScale::at(kPpi).toUnits(size.height());
    item.edgeMode = ObjItemBitmap::EdgeBlur;
    std::vector<char> from(size_t(size.width()) * size.height() * 4, 1), to(from.size());
    double copying = 0, drawing = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::ClobberMemory();
        const auto t1 = Clock::now();
        item.Draw(dc);
        const auto t2 = Clock::now();
        copying += std::chrono::duration<double>(t1 - t0).count();
        drawing += std::chrono::duration<double>(t2 - t1).count();
        state.SetIterationTime(std::chrono::duration<double>(t2 - t1).count());
    }
    state.counters["memcpy_ms"] = benchmark::Counter(copying * 1000, benchmark::Counter::kAvgIterations);
    state.counters["x_memcpy"] = copying > 0 ? drawing / copying : 0;
}
BENCHMARK(BM_PrintBlurredCardPicture)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);

} // namespace
