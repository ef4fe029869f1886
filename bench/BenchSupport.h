// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/CardEditorDlg.h"

#include <QCoreApplication>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <string>

// Steps shared by the editor's benchmarks.
namespace bench {

// From the fitting scale, steps zoom steps up, the card laid out again.
inline void zoomTo(CardEditorDlg& dlg, int steps)
{
    ViewScale scale = dlg.view().scale();
    scale.current = scale.fit;
    dlg.view().setScale(scale);
    for (int i = 0; i < steps; ++i)
        dlg.view().zoomStep(true);
    dlg.LayoutCard(false);
}

// An image to paint the window on, at the screen's device pixel ratio
// (QT_SCALE_FACTOR=2 for a 200 % screen).
inline QImage windowImage(const CardEditorDlg& dlg)
{
    const qreal r = dlg.devicePixelRatio();
    QImage image((QSizeF(dlg.size()) * r).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(r);
    return image;
}

// The zoom and the device pixel ratio, as a run's label.
inline std::string zoomLabel(CardEditorDlg& dlg)
{
    const ViewScale& s = dlg.view().scale();
    return QStringLiteral("%1 %, r = %2").arg(s.current * 100 / s.fit).arg(dlg.devicePixelRatio()).toStdString();
}

// Shows the window and waits until it can be painted.
inline void showExposed(CardEditorDlg& dlg)
{
    dlg.show();
    for (int i = 0; i < 100 && !(dlg.windowHandle() && dlg.windowHandle()->isExposed()); ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// Presses at `at` and times pointer steps of one pixel back and forth; each
// step moves the item and repaints the window. Labels the run with the zoom.
inline void timeDragSteps(benchmark::State& state, CardEditorDlg& dlg, QPoint at)
{
    dlg.canvas().onLButtonDown(at);
    if (!dlg.canvas().hasCapture() || !dlg.selectedItem()) {
        state.SkipWithError("the press grabbed nothing");
        return;
    }
    int dx = 1;
    for (auto _ : state) {
        at.rx() += dx;
        dx = -dx;
        dlg.canvas().onMouseMove(at);
    }
    dlg.canvas().onLButtonUp();
    state.SetLabel(zoomLabel(dlg));
}

} // namespace bench
