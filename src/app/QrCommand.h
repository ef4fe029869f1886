// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/CardCommand.h"

// A QR code item takes other content or another colour: its picture is made
// again from them in one step. The box stays; revert gives back content,
// colour and picture as they were.
class SetQrCodeCommand : public CardCommand {
public:
    SetQrCodeCommand(PmrData::Position pos, QrContent content, std::uint32_t color)
        : pos_(pos), content_(std::move(content)), color_(color & 0xFFFFFF)
    {
    }
    // False for an item that is no code, content that fits none, or no change.
    bool apply(CardDocument& doc) override;
    void revert(CardDocument& doc) override;
    CardDocument::Changes changes() const override { return CardDocument::ItemChanged; }
    std::size_t heldBytes() const override { return held_.bytes(); }

private:
    void exchange(ObjItemBitmap& item);

    PmrData::Position pos_;
    std::optional<QrContent> content_;
    std::uint32_t color_;
    ObjItemBitmap::HeldPicture held_;
    QSize dibSize_;
};

// A new code item of content, side × side item units, centred on the card.
std::unique_ptr<ObjItemBitmap> makeQrItem(const QrContent& content, std::uint32_t color, const platform::Rect& cardUnits,
                                          int side);

// Whether dark modules of color stand out enough from the white around them for
// readers to find the code.
bool qrColorReadable(std::uint32_t color);
