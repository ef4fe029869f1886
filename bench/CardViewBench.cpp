// SPDX-License-Identifier: GPL-3.0-or-later
#include "BenchSupport.h"
#include "app/CardEditorDlg.h"
#include "model/ObjItemLine.h"
#include "model/ObjItemRect.h"
#include "model/ObjItemText.h"
#include "model/ViewScale.h"
#include "platform/Codec.h"
#include "platform/Dc.h"
#include "platform/VerticalText.h"

#include <QCoreApplication>
#include <QPainter>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

// A card with 20 texts, 20 lines and 20 rectangles spread over it.
void fillCard(CardEditorDlg& dlg)
{
    PmrData& page = dlg.page();
    const platform::Rect card = dlg.view().scale().toUnits(platform::Rect{0, 0, int(dlg.cardRect().width()), int(dlg.cardRect().height())});
    for (int i = 0; i < 20; ++i) {
        auto rect = std::make_unique<ObjItemRect>(card, dlg.view().scale());
        rect->Offset((i % 5 - 2) * 400, (i / 5 - 2) * 250);
        rect->color = 0x3060C0 + i * 0x10;
        page.append(std::move(rect));
        auto line = std::make_unique<ObjItemLine>(card, dlg.view().scale());
        line->Offset(-1200 + i * 120, -600 + i * 60);
        line->width = i % 6;
        page.append(std::move(line));
        auto text = std::make_unique<ObjItemText>(card);
        text->SetText(platform::toCp932(QStringLiteral("山田 太郎 %1\r\nTEL 03-1234-5678").arg(i)));
        text->SetFontSize(8 + i % 12);
        text->Offset((i % 4 - 2) * 500, (i / 4 - 2) * 280);
        page.append(std::move(text));
    }
}

// One card redraw: the off-screen composition and its copy to the window.
void BM_RedrawCard(benchmark::State& state)
{
    CardEditorDlg dlg;
    fillCard(dlg);
    bench::zoomTo(dlg, int(state.range(0)));
    dlg.selection().select(std::prev(dlg.page().items().end()));
    QImage window = bench::windowImage(dlg);
    for (auto _ : state) {
        QPainter painter(&window);
        platform::Dc dc(&painter);
        dlg.view().redrawCard(dc, dlg.selectedItem());
    }
    state.SetLabel(bench::zoomLabel(dlg));
}
BENCHMARK(BM_RedrawCard)->Arg(0)->Arg(5)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// One pointer step of a drag moving a selected rectangle: the item moves and the
// window repaints the card.
void BM_DragStep(benchmark::State& state)
{
    CardEditorDlg dlg;
    fillCard(dlg);
    bench::zoomTo(dlg, int(state.range(0)));
    bench::showExposed(dlg);
    const platform::Rect card = dlg.cardRect();
    const QRect canvas = dlg.view().canvasRect();
    // Press on the middle of a rectangle that lies under no text.
    auto rect = std::make_unique<ObjItemRect>(dlg.cardUnits(), dlg.view().scale());
    const QPoint centre = dlg.view().scale().toDevice(QPoint(rect->x + rect->cx / 2, rect->y + rect->cy / 2));
    dlg.page().append(std::move(rect));
    QPoint at = QPoint(card.left, card.top) + centre;
    at.setX(std::clamp(at.x(), canvas.left() + 5, canvas.right() - 5));
    at.setY(std::clamp(at.y(), canvas.top() + 5, canvas.bottom() - 5));
    bench::timeDragSteps(state, dlg, at);
}
BENCHMARK(BM_DragStep)->Arg(0)->Arg(5)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// One pointer step of a drag moving one of five texts at 800 %: set in columns
// (1) or in lines (0), the same words, the same sizes.
void BM_DragStepFiveTexts(benchmark::State& state)
{
    CardEditorDlg dlg;
    const platform::Rect card = dlg.cardUnits();
    const int cx = (card.left + card.right) / 2, cy = (card.top + card.bottom) / 2;
    for (int i = 0; i < 5; ++i) {
        auto text = std::make_unique<ObjItemText>();
        text->SetText(QStringLiteral("株式会社ぺるもら\r\n山田 太郎「12月」TEL 03-1234-5678"));
        text->SetFontSize(10 + 2 * i);
        if (state.range(0))
            text->SetFont(platform::vertical::withVertical(text->GetFont(), true));
        const platform::Rect box = text->GetBounds();
        // The last one, dragged, lies over the card's centre; the others around it.
        const int dx = i == 4 ? 0 : (i % 2 ? 1 : -1) * 600, dy = i == 4 ? 0 : (i / 2 ? 1 : -1) * 300;
        text->Offset(cx + dx - (box.left + box.right) / 2, cy + dy - (box.top + box.bottom) / 2);
        dlg.page().append(std::move(text));
    }
    bench::zoomTo(dlg, 5);
    bench::showExposed(dlg);
    const platform::Rect shown = dlg.cardRect();
    const QRect canvas = dlg.view().canvasRect();
    QPoint at = QPoint(shown.left, shown.top) + dlg.view().scale().toDevice(QPoint(cx, cy));
    at.setX(std::clamp(at.x(), canvas.left() + 5, canvas.right() - 5));
    at.setY(std::clamp(at.y(), canvas.top() + 5, canvas.bottom() - 5));
    bench::timeDragSteps(state, dlg, at);
    const ViewScale& s = dlg.view().scale();
    state.SetLabel(QStringLiteral("%1 % %2").arg(s.current * 100 / s.fit).arg(state.range(0) ? "columns" : "lines").toStdString());
}
BENCHMARK(BM_DragStepFiveTexts)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_RecalcSizeTenLines(benchmark::State& state)
{
    ObjItemText text;
    QByteArray lines;
    for (int i = 0; i < 10; ++i)
        lines += platform::toCp932(QStringLiteral("株式会社ぺるもら 営業部 %1\r\n").arg(i));
    text.text = lines;
    for (auto _ : state)
        text.RecalcSize();
}
BENCHMARK(BM_RecalcSizeTenLines)->Unit(benchmark::kMicrosecond);

} // namespace
