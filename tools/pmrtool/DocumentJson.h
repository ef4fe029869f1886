// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonObject>
#include <QString>

class PmrData;

// A card document as JSON and back: every stored field by its name.
namespace pmrtool {

QJsonObject documentToJson(const PmrData& page);

// Builds the page from JSON; fields left out take their class's defaults.
// Returns false with a message in *error for JSON that does not describe a card.
// A "back" holds the card's back with the same schema, and no back of its own.
bool documentFromJson(const QJsonObject& json, PmrData& page, QString* error);
// The same for one page; asBack refuses a "back" in it.
bool pageFromJson(const QJsonObject& json, PmrData& page, QString* error, bool asBack);

} // namespace pmrtool
