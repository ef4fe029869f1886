// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ObjItem.h"

#include <cstdint>

// A straight line from (x, y) to (x + cx, y + cy).
class ObjItemLine : public ObjItem {
public:
    // Horizontal, 30 device pixels long at the current scale, black, thinnest pen.
    ObjItemLine();
    // Centred on the card, 30 device pixels long at the scale.
    ObjItemLine(const platform::Rect& card, const ViewScale& scale);

    const char* className() const override { return "ObjItemLine"; }
    const ClassInfo& runtimeClass() const override;
    void Serialize(Archive& ar) override;
    std::unique_ptr<ObjItem> Clone() const override;
    void Draw(platform::Dc& dc) const override;
    bool HitTest(int px, int py, const ViewScale& scale) const override;
    int GetHandleCount() const override { return 2; }
    bool GetHandle(int index, QPoint& out) const override;
    void MoveHandle(int index, int dx, int dy) override;
    std::span<const ItemField> fields() const override;

    void SetWidth(int w) { width = w; }
    // A width as the editor's field reads it, 0..kMaxWidth: a number past the
    // maximum is the maximum, and one negative as a signed 32-bit number
    // (4294967295 is -1) is 0.
    static int fieldWidth(std::uint64_t value);

    // Whether p lies within tolerance t of the segment a..b, by halving.
    static bool HitSegment(QPoint p, QPoint a, QPoint b, int t);

    // Pen width in tenths of a millimetre; 0 is one device pixel.
    int width = 0;
    static constexpr int kMaxWidth = 500; // 50.0 mm
};
