// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ObjItem.h"
#include "model/PictureEffects.h"
#include "model/QrContent.h"
#include "platform/Dib.h"

#include <QImage>

// A picture, held as a packed DIB the item owns.
class ObjItemBitmap : public ObjItem {
public:
    enum EdgeMode { EdgeBlur = 0, EdgeShadow = 1, EdgePlain = 2 };
    using enum pictureeffects::Shape;

    ObjItemBitmap();
    // The picture at one point per pixel, shrunk to fit the card when larger, centred.
    ObjItemBitmap(const platform::Rect& card, platform::Dib picture);

    const char* className() const override { return "ObjItemBitmap"; }
    const ClassInfo& runtimeClass() const override;
    void Serialize(Archive& ar) override;
    std::unique_ptr<ObjItem> Clone() const override;
    // The picture scaled to its rectangle, with its white-out, shape and edge.
    void Draw(platform::Dc& dc) const override;
    int GetHandleCount() const override { return 4; }
    bool GetHandle(int index, QPoint& out) const override;
    // Resizes keeping the picture's aspect ratio; the opposite corner stays.
    void MoveHandle(int index, int dx, int dy) override;
    std::span<const ItemField> fields() const override;

    // Takes a new picture at the largest size that fits the old box, centred on it.
    void ReplacePicture(platform::Dib picture);
    // Takes a new picture and its size from its header; the box stays.
    void takePicture(platform::Dib picture);

    // A picture held apart from the item (by an undo step) with its decoded
    // pixels when it has been drawn, so going back and forth decodes nothing.
    struct HeldPicture {
        platform::Dib dib;
        QImage decoded;
        QByteArray decodedBytes;
        std::size_t bytes() const { return std::size_t(dib.bytes().size()) + std::size_t(decoded.sizeInBytes()); }
    };
    // As takePicture, giving the item's own picture back in held.
    void exchangePicture(HeldPicture& held);
    // As ReplacePicture, giving the item's own picture back in held.
    void exchangePictureFitted(HeldPicture& held);

    const platform::Dib& picture() const { return dib; }
    // The size of the picture cached for the screen; (-1, -1) without one.
    QSize cacheSize() const { return cache_.isNull() ? QSize(-1, -1) : cache_.size(); }

    platform::Dib dib;
    int dibWidth = 0;
    int dibHeight = 0;
    int whiteOut = 0;
    int edgeMode = EdgePlain;
    int shape = ShapeRect;
    // Set when the picture is a QR code: what it says. The picture is then drawn
    // plain, module by module, whatever its shape, edge and white-out say, and
    // printed from this content.
    std::optional<QrContent> qr;

protected:
    ObjItemBitmap(const ObjItemBitmap& other);

private:
    // The DIB's pixels, decoded again only when its bytes change.
    const QImage& decoded() const;
    // Keeps the cache when within 2 pixels of r's size, else remakes it unless
    // the picture is enlarged.
    void refreshCache(const platform::Rect& r, const QImage& source) const;

    // The picture scaled to its last on-screen size; never copied.
    mutable QImage cache_;
    mutable QImage decoded_;
    mutable QByteArray decodedBytes_;
};
