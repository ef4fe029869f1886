// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ObjItem.h"

// A filled rectangle.
class ObjItemRect : public ObjItem {
public:
    // 30 × 30 device pixels at the current scale, black.
    ObjItemRect();
    // The default rectangle centred on the card.
    // Centred on the card, 30 device pixels square at the scale.
    ObjItemRect(const platform::Rect& card, const ViewScale& scale);

    const char* className() const override { return "ObjItemRect"; }
    const ClassInfo& runtimeClass() const override;
    std::unique_ptr<ObjItem> Clone() const override;
    void Draw(platform::Dc& dc) const override;
    int GetHandleCount() const override { return 4; }
    bool GetHandle(int index, QPoint& out) const override;
    void MoveHandle(int index, int dx, int dy) override;

    // Handles 0..3: bottom-right, top-left, bottom-left, top-right.
    static bool cornerHandle(const platform::Rect& r, int index, QPoint& out);
};
