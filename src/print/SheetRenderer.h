// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "print/CardFields.h"
#include "print/CardFormat.h"
#include "print/SheetLayout.h"
#include "print/SheetPlan.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <cstdint>
#include <functional>
#include <optional>

class PmrData;

namespace platform {
class Dc;
}

namespace print {

class SheetTarget;

// The raster layer of one card at pixelsPerInch, as printed: white, then the
// background, then every item that is not text, in list order; `size` device
// pixels, at `pixelsPerInch` (recorded in the image). Null when it cannot be made.
QImage renderCardPicture(const PmrData& page, QSize size, int pixelsPerInch,
                         std::int64_t maxBytes = kMaxCardPictureBytes);

// One card at `card` (device coordinates of dc) as the print job puts it down:
// the picture (may be null) copied to the corner, then every text item in list
// order, drawn on dc at dc's scale and clipped to the card. A PDF or printer
// keeps the picture exact, never as JPEG.
void drawCard(platform::Dc& dc, const PmrData& page, const QImage& picture, const QRect& card);
// The same with the texts of one position (filled from a list) in place of the
// page's text items.
void drawCard(platform::Dc& dc, const CardTexts& texts, const QImage& picture, const QRect& card);

// One card as the print job draws it, on its own image at pixelsPerInch: white,
// the background, the non-text items, then the text items. The card is
// cardSizeMm large (the page's own size when empty). Null when the image cannot
// be made.
QImage renderCard(const PmrData& page, int pixelsPerInch, QSize cardSizeMm = {});

// The N-up print job: the card on every position of a card format, sheet after
// sheet, on any target. The background and the non-text items are rendered once
// per job into one card-sized picture and copied to every position of every
// sheet (the very same image, so a PDF holds it once); the text items are drawn at
// every position as the device's own text, so they always lie above the rest.
// With a list, the text items are filled from its rows, position by position in
// reading order. Millimetre 0 of the layout is the paper's edge.
// The card's back (PmrData::back) prints the same way on the backs of the
// sheets when the job asks for it (SheetJob::sides), each card's back behind its
// front; a back turned a quarter against the front is drawn whole (texts
// included) as one picture per row, then turned (SheetLayout.h, backTurn). A
// card without a back leaves the backs of the sheets white.
class SheetRenderer {
public:
    using Job = SheetJob;

    // With both sides, `sheet` counts pages of the output (fronts and backs)
    // and the cards of both sides count.
    struct Progress {
        int sheet = 0;                  // 1-based
        int sheets = 0;
        std::int64_t card = 0;          // 1-based among the cards printed on this sheet
        std::int64_t cardsPerSheet = 0; // the cards printed on this sheet
        std::int64_t printed = 0;       // cards done in the job, including this one when done
        std::int64_t total = 0;         // the cards the job prints
    };

    enum class Result {
        Done,
        Cancelled,      // a callback asked to stop; the document was aborted
        DocumentFailed, // the document could not be started; nothing was printed
        SheetFailed,    // a sheet could not be started; the document was aborted
    };

    SheetRenderer(const PmrData& page, Job job);

    // Called before a card is drawn; returning false cancels the job.
    std::function<bool(const Progress&)> beforeCard;
    // Called after each card, and once for cards that cannot show on the sheet.
    std::function<void(const Progress&)> afterCard;
    // The card picture of a page could not be made (0-based page of the output);
    // that page carries the text only.
    std::function<void(int sheet)> pictureFailed;

    // Prints every page (SheetPlan::pages), drawing at the target's resolution
    // (or the job's).
    Result run(SheetTarget& target);

    // The texts a position of a sheet prints (both 0-based, see SheetPlan): the
    // page's own, with a list its row's; no items for a position left empty.
    // With back, those of the card's back printed behind that position. Draw
    // them with drawCard.
    CardTexts textsAt(int sheet, std::int64_t position, bool back = false);

    const Job& job() const { return job_; }

private:
    // What a side of the card draws, made as the job needs it.
    struct Side {
        const PmrData* page = nullptr; // null: nothing to draw
        CardTexts pageTexts;
        std::optional<CardFiller> filler; // a list and a card with its fields
        CardTexts rowTexts;
        std::int64_t textsRow = -1; // the row rowTexts holds
        QImage picture;
        QSize pictureSize;
        bool pictureMade = false;
        Turn turn = Turn::None;
        QImage turned; // the whole card turned, for the row turnedRow
        std::int64_t turnedRow = -2;
    };
    enum class SheetEnd { Done, Cancelled };
    SheetEnd drawSheet(platform::Dc& dc, const QRect& area, int page, int ppi);
    // The texts of a card (0-based in printing order) on a side.
    const CardTexts& textsFor(Side& side, std::int64_t card);
    // A turned side's card, texts and all, for the card's row; null when its
    // picture could not be made.
    const QImage& turnedCard(Side& side, std::int64_t card, int ppi);
    void resetTexts();
    bool notifyBefore(const Progress& p);
    void notifyAfter(const Progress& p);
    void notifyPictureFailed(int page);

    const PmrData& page_;
    Job job_;
    std::int64_t total_ = 0;
    Side sides_[2]; // front, back
};

} // namespace print
