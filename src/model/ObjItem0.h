// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/CardText.h"
#include "model/ObjItem.h"
#include "model/Serializable.h"
#include "platform/Dib.h"
#include "platform/LogFont.h"

#include <cstdint>
#include <memory>

// The older item family still found in documents. Their stored bodies are those
// of the current class of the same kind; they cannot be drawn or edited and live
// only until Convert replaces them with current items.
class ObjItem0 : public Serializable {
public:
    ObjItem0() = default;

    const ClassInfo& runtimeClass() const override;
    void Serialize(Archive& ar) override;
    // The equivalent current item, or none when it cannot be made. The legacy
    // object is left as it is.
    virtual std::unique_ptr<ObjItem> Convert() const;

    int x = 0;
    int y = 0;
    std::uint32_t color = 0;
    int cx = 0;
    int cy = 0;

protected:
    // Copies the five common fields into a new item.
    std::unique_ptr<ObjItem> convertInto(std::unique_ptr<ObjItem> item) const;
};

class ObjItem0Text : public ObjItem0 {
public:
    // "Text", the text item's default font with lfHeight -12.
    ObjItem0Text();

    const ClassInfo& runtimeClass() const override;
    void Serialize(Archive& ar) override;
    // Text, all 60 font bytes, reserved and align; the stored size is kept.
    std::unique_ptr<ObjItem> Convert() const override;

    CardText text;
    platform::LogFont font;
    int reserved = 0;
    int align = 0;
};

class ObjItem0Line : public ObjItem0 {
public:
    // 30 item units long, horizontal.
    ObjItem0Line();

    const ClassInfo& runtimeClass() const override;
    void Serialize(Archive& ar) override;
    std::unique_ptr<ObjItem> Convert() const override;

    int width = 0;
};

class ObjItem0Rect : public ObjItem0 {
public:
    // 30 × 30 item units.
    ObjItem0Rect();

    const ClassInfo& runtimeClass() const override;
    std::unique_ptr<ObjItem> Convert() const override;
};

class ObjItem0Bitmap : public ObjItem0 {
public:
    ObjItem0Bitmap() = default;

    const ClassInfo& runtimeClass() const override;
    void Serialize(Archive& ar) override;
    // The new item gets its own copy of the picture; its cache starts empty.
    std::unique_ptr<ObjItem> Convert() const override;

    platform::Dib dib;
    int dibWidth = 0;
    int dibHeight = 0;
    int whiteOut = 0;
    int edgeMode = 2;
    int shape = 0;
};

// An object read from a document as an item of the current family: current
// items are returned as they are, older ones converted and marked with the
// class they were stored as. None when the object is not an item or the
// conversion failed.
std::unique_ptr<ObjItem> toCurrentItem(std::unique_ptr<Serializable> object);
