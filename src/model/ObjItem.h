// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Serializable.h"
#include "model/ViewScale.h"
#include "platform/Rect.h"

#include <QByteArray>
#include <QPoint>

#include <cstdint>
#include <memory>
#include <span>

namespace platform {
class Dc;
}
struct ItemField;

// The base of every card item. Geometry is in item units (1/720 inch) relative
// to the card's top-left corner.
class ObjItem : public Serializable {
public:
    enum Kind { KindBase = 0, KindText = 1, KindLine = 2, KindPicture = 3, KindRect = 4 };

    ObjItem() = default;
    virtual ~ObjItem() = default;

    // The class name documents carry.
    virtual const char* className() const { return "ObjItem"; }
    const ClassInfo& runtimeClass() const override;
    // The common body: x, y, cx, cy, color.
    void Serialize(Archive& ar) override;

    // A copy of the same class; the caller owns it. Nothing when it cannot be made.
    virtual std::unique_ptr<ObjItem> Clone() const;
    // Draws into dc at dc's scale; the viewport origin is the card's corner.
    virtual void Draw(platform::Dc& dc) const;
    // Whether the point in item units touches the item drawn at the scale.
    virtual bool HitTest(int px, int py, const ViewScale& scale) const;
    virtual int GetHandleCount() const { return 0; }
    virtual bool GetHandle(int index, QPoint& out) const;
    virtual void Offset(int dx, int dy);
    virtual void MoveHandle(int index, int dx, int dy);
    virtual platform::Rect GetBounds() const;

    // The kind's stored fields (model/ItemField.cpp).
    virtual std::span<const ItemField> fields() const;
    // Measures cx, cy from the item's content; only a text has one.
    virtual void RecalcSize() {}

    bool isText() const { return kind == KindText; }

    int kind = KindBase;
    int x = 0;
    int y = 0;
    std::uint32_t color = 0;
    int cx = 0;
    int cy = 0;

    // The older class an item was read as ("ObjItem0Text" …); empty otherwise.
    QByteArray storedClass;

protected:
    // A copy is a new item: it keeps the stored fields, not the class it was read as.
    ObjItem(const ObjItem& other)
        : Serializable(other), kind(other.kind), x(other.x), y(other.y), color(other.color), cx(other.cx), cy(other.cy)
    {
    }
    ObjItem& operator=(const ObjItem&) = delete;
    // (x, y, x + cx, y + cy), not normalised.
    platform::Rect plainBounds() const;
    // The card rectangle's centre for a new item of the present size.
    void centreOnCard(const platform::Rect& card);
};
