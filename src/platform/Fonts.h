// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace platform {

// Maps the Japanese Windows font names documents and templates use to the
// metric-compatible IPA fonts. Call once after the application object exists.
void installFontSubstitutions();

// The installed family a face name resolves to (for tests and diagnostics).
QString resolvedFamily(const QString& face);

} // namespace platform
