#pragma once

// The card page: the card size in whole millimetres.
class PmrData {
public:
    int cardWidth = 91;
    int cardHeight = 55;
};
