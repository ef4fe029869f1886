// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/LogFont.h"

#include <QFont>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

class QWidget;

namespace ui {

// The colour dialog, preset to a COLORREF; returns the chosen colour, or nothing
// when cancelled. Its sixteen custom colours last as long as the program runs.
using ColorDialogProvider = std::function<std::optional<std::uint32_t>(std::uint32_t initial, QWidget* parent)>;
std::optional<std::uint32_t> chooseColor(std::uint32_t initial, QWidget* parent = nullptr);
ColorDialogProvider setColorDialogProvider(ColorDialogProvider provider);
std::array<std::uint32_t, 16>& customColors();

// The font dialog, started on a text's font; the colour is only shown. Returns the
// chosen font with its point size as a character height (negative), or nothing.
struct FontRequest {
    platform::LogFont font;
    std::uint32_t color = 0;
};
using FontDialogProvider = std::function<std::optional<platform::LogFont>(const FontRequest&, QWidget* parent)>;
std::optional<platform::LogFont> chooseFont(const FontRequest& request, QWidget* parent = nullptr);
FontDialogProvider setFontDialogProvider(FontDialogProvider provider);

// Between a LOGFONT whose height holds points and the font dialog's QFont.
QFont fontForDialog(const platform::LogFont& font);
// base keeps what the dialog does not show (width, escapement, charset, ...).
platform::LogFont logFontFromDialog(const QFont& font, const platform::LogFont& base);

} // namespace ui
