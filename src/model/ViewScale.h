#pragma once

#include "platform/Rect.h"

#include <QPoint>

#include <array>

// The process-wide view scale: device pixels per inch now (`current`), item units
// per inch (720) and the pixels per inch at which the card fits the canvas (`fit`,
// the 100 % reference of the zoom steps).
struct ViewScale {
    static constexpr int kUnitsPerInch = 720;
    // Zoom levels in tenths of `fit`, ascending.
    static constexpr std::array<int, 8> kZoomSteps{5, 8, 10, 12, 15, 20, 40, 80};

    int current = 72;
    int fit = 72;
};

ViewScale& viewScale();

// 1 while a print job runs; screen-only caches are skipped then.
int& printingFlag();

// Item units to device pixels and back at the current scale; untouched while the
// scale is 720.
int toDevice(int units);
QPoint toDevice(QPoint units);
platform::Rect toDevice(const platform::Rect& units);
int toUnits(int pixels);
QPoint toUnits(QPoint pixels);
platform::Rect toUnits(const platform::Rect& pixels);

// Whole millimetres and tenths of a millimetre to device pixels.
int mmToDevice(int mm);
int tenthMmToDevice(int tenths);

// Puts the scale back when a scope ends (print jobs, renderers).
class ViewScaleGuard {
public:
    ViewScaleGuard() : saved_(viewScale()), savedPrinting_(printingFlag()) {}
    ~ViewScaleGuard()
    {
        viewScale() = saved_;
        printingFlag() = savedPrinting_;
    }
    ViewScaleGuard(const ViewScaleGuard&) = delete;
    ViewScaleGuard& operator=(const ViewScaleGuard&) = delete;

private:
    ViewScale saved_;
    int savedPrinting_;
};
