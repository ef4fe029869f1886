#pragma once

#include "model/ObjItem.h"

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

    // Whether p lies within tolerance t of the segment a..b, by halving.
    static bool HitSegment(QPoint p, QPoint a, QPoint b, int t);

    // Pen width in tenths of a millimetre; 0 is one device pixel.
    int width = 0;
};
