#pragma once

class PmrData;
class QWidget;

// The print command: asks when the card does not fit the current format, shows
// the print dialog and prints the card N-up on sheets, with a progress window.
void printCard(const PmrData& page, QWidget* parent);
