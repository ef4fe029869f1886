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
class SheetRenderer {
public:
    using Job = SheetJob;

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
    // The card picture of a sheet could not be made (0-based sheet); that sheet
    // carries the text only.
    std::function<void(int sheet)> pictureFailed;

    // Prints every sheet, drawing at the target's resolution (or the job's).
    Result run(SheetTarget& target);

    // The texts a position of a sheet prints (both 0-based, see SheetPlan): the
    // page's own, with a list its row's; no items for a position left empty.
    // Draw them with drawCard.
    CardTexts textsAt(int sheet, std::int64_t position);

    const Job& job() const { return job_; }

private:
    enum class SheetEnd { Done, Cancelled };
    SheetEnd drawSheet(platform::Dc& dc, const QRect& area, int sheet, int ppi);
    // The texts of a card (0-based in printing order).
    const CardTexts& textsFor(std::int64_t card);
    void resetTexts();
    bool notifyBefore(const Progress& p);
    void notifyAfter(const Progress& p);
    void notifyPictureFailed(int sheet);

    const PmrData& page_;
    Job job_;
    std::int64_t total_ = 0;
    CardTexts pageTexts_;
    std::optional<CardFiller> filler_; // a list and a card with its fields
    CardTexts rowTexts_;
    std::int64_t textsRow_ = -1; // the row rowTexts_ holds
    QImage picture_;
    QSize pictureSize_;
    bool pictureMade_ = false;
};

} // namespace print
