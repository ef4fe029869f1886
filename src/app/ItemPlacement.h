// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Rect.h"

class ObjItem;
struct ViewScale;

// Where copies of items go on the card. card: the card rectangle in window pixels.
namespace placement {

// A duplicate goes 2 pixels below its original, or to the centre of the card
// when it would reach the bottom.
void offsetAsDuplicate(ObjItem& copy, const ViewScale& scale, const platform::Rect& card);

// Moves the item the least needed to lie on the card (its top-left corner when it
// is larger than the card); cardUnits is the card in item units from (0, 0).
void keepOnCard(ObjItem& item, const platform::Rect& cardUnits);

} // namespace placement
