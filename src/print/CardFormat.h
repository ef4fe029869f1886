// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// How business cards sit on one sheet of card stock. All lengths in whole millimetres.
struct CardFormat {
    // Longest name the record holds, in CP932 bytes (a 32-byte buffer with its terminator).
    static constexpr int kMaxNameBytes = 31;

    QByteArray name; // CP932 bytes, at most kMaxNameBytes
    int paperWidth = 0;
    int paperHeight = 0;
    int cardWidth = 0;
    int cardHeight = 0;
    int columns = 0;
    int rows = 0;
    int leftMargin = 0; // sheet's left edge to the first column
    int topMargin = 0;  // sheet's top edge to the first row
    int gapX = 0;       // between neighbouring columns
    int gapY = 0;       // between neighbouring rows

    // The layout test of the format dialog: the cards, the left (top) margin and the
    // gaps between them must not be wider (taller) than the sheet. No right or bottom
    // margin is required; a single column (row) ignores its gap.
    bool fitsPaper() const;

    friend bool operator==(const CardFormat&, const CardFormat&) = default;
};
