// SPDX-License-Identifier: GPL-3.0-or-later
#include "BenchSupport.h"
#include "app/CardCommand.h"
#include "app/CardEditorDlg.h"
#include "model/ObjItemBitmap.h"

#include <QImage>

#include <benchmark/benchmark.h>

namespace {

// A 24-megapixel picture (6000 × 4000) with some structure to scale.
const platform::Dib& hugePicture()
{
    static const platform::Dib dib = [] {
        QImage image(6000, 4000, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                line[x] = qRgb(x % 256, y % 256, (x + y) % 256);
        }
        return platform::Dib::fromImage(image);
    }();
    return dib;
}

const char* stepName(int step)
{
    switch (step) {
    case 0: return "move";
    case 1: return "shape";
    case 2: return "colour of another item";
    default: return "replaced picture";
    }
}

// One undo or redo, alternately, of one step on a card holding a 24-megapixel
// picture, with the window's redraw of the card.
void BM_UndoRedoStep(benchmark::State& state)
{
    const int step = int(state.range(0));
    CardEditorDlg dlg;
    bench::showExposed(dlg);
    CardDocument& doc = dlg.document();
    doc.apply(std::make_unique<AddItemCommand>(std::make_unique<ObjItemBitmap>(dlg.cardUnits(), hugePicture()), std::nullopt));
    const PmrData::Position picture = dlg.page().items().begin();
    dlg.runCommand(1024); // a rectangle too
    const PmrData::Position rect = std::next(picture);
    switch (step) {
    case 0: doc.apply(std::make_unique<MoveItemCommand>(picture, ItemGeometry::of(**picture), ItemGeometry{100, 100, 2000, 1400})); break;
    case 1: doc.apply(EditItemCommand::setField(picture, "shape", ObjItemBitmap::ShapeHeart)); break;
    case 2: doc.apply(EditItemCommand::setField(rect, "color", std::uint32_t(0x336699))); break;
    default: doc.apply(std::make_unique<ReplacePictureCommand>(picture, platform::Dib::fromImage(QImage(4000, 6000, QImage::Format_RGB32)))); break;
    }
    bool back = true;
    for (auto _ : state) {
        if (!(back ? dlg.document().undo() : dlg.document().redo())) {
            state.SkipWithError("nothing to undo or redo");
            break;
        }
        back = !back;
    }
    state.SetLabel(stepName(step));
}
BENCHMARK(BM_UndoRedoStep)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

} // namespace
