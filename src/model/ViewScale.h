// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Rect.h"

#include <QPoint>

#include <array>

namespace platform {
class Dc;
}

// A drawing's scale: device pixels per inch (`current`) against item units (720
// per inch), and the pixels per inch at which the card fits the editor's canvas
// (`fit`, the 100 % reference of the zoom steps). The editor's view owns one; a
// drawing carries its `current` in its Dc.
struct ViewScale {
    static constexpr int kUnitsPerInch = 720;
    // Zoom levels in tenths of `fit`, ascending.
    static constexpr std::array<int, 8> kZoomSteps{5, 8, 10, 12, 15, 20, 40, 80};

    int current = 72;
    int fit = 72;

    // The scale a Dc draws at.
    static ViewScale of(const platform::Dc& dc);
    static ViewScale at(int pixelsPerInch) { return {pixelsPerInch, pixelsPerInch}; }

    // Item units to device pixels and back; untouched while the scale is 720.
    int toDevice(int units) const;
    QPoint toDevice(QPoint units) const;
    platform::Rect toDevice(const platform::Rect& units) const;
    int toUnits(int pixels) const;
    QPoint toUnits(QPoint pixels) const;
    platform::Rect toUnits(const platform::Rect& pixels) const;

    // Whole millimetres and tenths of a millimetre to device pixels.
    int mmToDevice(int mm) const;
    int tenthMmToDevice(int tenths) const;
};
