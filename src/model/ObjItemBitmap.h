#pragma once

#include "model/ObjItem.h"
#include "platform/Dib.h"

#include <QImage>

// A picture, held as a packed DIB the item owns.
class ObjItemBitmap : public ObjItem {
public:
    enum EdgeMode { EdgeBlur = 0, EdgeShadow = 1, EdgePlain = 2 };
    enum Shape { ShapeRect = 0, ShapeEllipse = 1, ShapeHeart = 2 };

    ObjItemBitmap();
    // The picture at one point per pixel, shrunk to fit the card when larger, centred.
    ObjItemBitmap(const platform::Rect& card, platform::Dib picture);

    const char* className() const override { return "ObjItemBitmap"; }
    const ClassInfo& runtimeClass() const override;
    void Serialize(Archive& ar) override;
    std::unique_ptr<ObjItem> Clone() const override;
    int GetHandleCount() const override { return 4; }
    bool GetHandle(int index, QPoint& out) const override;
    // Resizes keeping the picture's aspect ratio; the opposite corner stays.
    void MoveHandle(int index, int dx, int dy) override;
    std::span<const ItemField> fields() const override;

    // Takes a new picture at the largest size that fits the old box, centred on it.
    void ReplacePicture(platform::Dib picture);
    // Takes a new picture and its size from its header; the box stays.
    void takePicture(platform::Dib picture);

    const platform::Dib& picture() const { return dib; }

    platform::Dib dib;
    int dibWidth = 0;
    int dibHeight = 0;
    int whiteOut = 0;
    int edgeMode = EdgePlain;
    int shape = ShapeRect;

protected:
    ObjItemBitmap(const ObjItemBitmap& other);

private:
    // The picture scaled to its last on-screen size; never copied.
    mutable QImage cache_;
};
