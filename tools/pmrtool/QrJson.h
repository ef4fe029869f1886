// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/DocumentExtras.h"
#include "model/QrContent.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <optional>
#include <vector>

namespace pmrtool {

// A code as JSON: "kind" (url, contact or text), "level" (L, M, Q or H), "text"
// (what it encodes) and, for a contact, "contact" with its typed fields.
QJsonObject qrToJson(const QrContent& qr);
// The code a "qr" object gives: a contact from "contact", else "text" of the
// kind given (text when none), at the level given (M when none). None, with
// *error set, when it is not one.
std::optional<QrContent> qrFromJson(const QJsonValue& json, QString* error);

// Records of the document's extras this version keeps without knowing them:
// [{"type": n, "bytes": "hex"}].
QJsonArray keptRecordsToJson(const std::vector<extras::Record>& records);
bool keptRecordsFromJson(const QJsonValue& json, std::vector<extras::Record>& out, QString* error);

} // namespace pmrtool
