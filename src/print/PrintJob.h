// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "print/SheetRenderer.h"

#include <QString>

#include <memory>

class CardFormatCatalog;
class PmrData;

namespace print {

// What the person printing chose.
struct PrintOptions {
    int formatIndex = -1;   // -1: the catalogue's current format
    int adjustX = 0;        // whole millimetres, positive to the right
    int adjustY = 0;        // whole millimetres, positive downwards
    bool onlyOne = false;   // one card a sheet, at the first position it may use
    int start = 1;          // 1-based position of the first card on the first sheet
    int copies = 1;         // every copy is a sheet of the job; with a list, a card of each row
    int pixelsPerInch = 0;  // 0: the target's
    // The people to print for, one row (and `copies` cards) each; null: none.
    std::shared_ptr<const CardList> list;
    // The sides printed and how the sheet is turned between them (SheetJob).
    Sides sides = Sides::Front;
    Flip flip = Flip::LongEdge;
    int backAdjustX = 0;    // the backs' own fine adjustment
    int backAdjustY = 0;
};

struct PrintJob {
    SheetRenderer::Job job;
    // The card's size differs from the format's card size; the card is then cut
    // to the format's.
    bool sizeMismatch = false;
    // The start position lies before 1 or beyond the format's last position:
    // the job must not run.
    bool startOutside = false;
    std::int64_t positions = 0; // rows × columns of the format
    // The pages of the output: the sheets, twice over with both sides.
    int pages = 0;
    // The job prints a back the card does not have (or has empty): it must
    // not run.
    bool noBack = false;
    // The back, turned as it prints (backTurn), differs from the format's card
    // size; it is then cut like the front.
    bool backSizeMismatch = false;
    // Why the list cannot print the card (CardList::problemFor), either side
    // printed: the job must not run. Empty without a list.
    QString listProblem;
};

// The job that prints page with options on a format of catalog; the editor and
// pmrtool both print through it.
PrintJob makePrintJob(const PmrData& page, const CardFormatCatalog& catalog, const PrintOptions& options);

// The job's name in the print queue and a PDF's title: the document's file name,
// resources::texts::PrintUntitled for a card not yet saved.
QString jobTitle(const QString& documentPath);

} // namespace print
