// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "print/CardFields.h"
#include "print/CardFormat.h"
#include "print/SheetLayout.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class PmrData;

namespace platform {
class Dc;
}

namespace print {

class CardList;
class SheetTarget;

// The largest card picture a job makes (bytes of 32-bit pixels); a larger card
// prints its text only.
inline constexpr std::int64_t kMaxCardPictureBytes = std::int64_t(1) << 30;

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
    struct Job {
        CardFormat format;       // a copy
        // 0: the target's. Another value only makes sense for surfaces whose
        // pixels have no physical size of their own.
        int pixelsPerInch = 0;
        int adjustX = 0;         // whole millimetres, positive to the right
        int adjustY = 0;         // whole millimetres, positive downwards
        bool onlyOne = false;    // only one card on every sheet, at the first position it may use
        // 1-based position of the first sheet's first card, counted row by row from
        // the top left; the positions before it stay empty. Later sheets start at 1.
        int start = 1;
        // Without a list, the sheets printed; with one, sheetCount() works them
        // out and the renderer sets them.
        int sheets = 1;
        std::int64_t maxPictureBytes = kMaxCardPictureBytes;
        // The people to print for, one row each (see CardList); null: the card as
        // it is on every position.
        std::shared_ptr<const CardList> list;
        // With a list, the cards of each row, side by side in reading order.
        int copies = 1;
    };

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

    // The sheets the job prints: `sheets` without a list; with one, as many as
    // its rows × copies take from the start position on (one card a sheet with
    // onlyOne), 0 when the format has no cards.
    static int sheetCount(const Job& job);
    // The cards the job prints: the positions of every sheet less the empty ones
    // of the first, or one a sheet with onlyOne; with a list, rows × copies. 0
    // when the format has no cards. Saturates.
    static std::int64_t totalCards(const Job& job);
    // The cards printed on a sheet (0-based).
    static std::int64_t cardsOnSheet(const Job& job, int sheet);
    // The positions a sheet leaves empty before its first card (0-based sheet).
    static std::int64_t skippedOnSheet(const Job& job, int sheet);
    // The card (0-based, in printing order) at a position of a sheet (both
    // 0-based, positions row by row from the top left), or -1 for a position the
    // job leaves empty.
    static std::int64_t cardAt(const Job& job, int sheet, std::int64_t position);
    // The row of the list a card prints, or -1 without a list.
    static std::int64_t rowOfCard(const Job& job, std::int64_t card);
    // The texts a position of a sheet prints: the page's own, with a list its
    // row's; no items for a position left empty. Draw them with drawCard.
    static CardTexts textsAt(const PmrData& page, const Job& job, int sheet, std::int64_t position);

    const Job& job() const { return job_; }

private:
    enum class SheetEnd { Done, Cancelled };
    SheetEnd drawSheet(platform::Dc& dc, const QRect& area, int sheet, int ppi);
    // The texts of a card (0-based in printing order).
    const CardTexts& textsFor(std::int64_t card);
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
