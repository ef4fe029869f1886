// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Rect.h"

#include <QSize>

#include <cstdint>

// Moves rect so that it is centred in outer, keeping its size.
platform::Rect centreIn(const platform::Rect& rect, const platform::Rect& outer);

// Scales size to fit box, keeping the aspect ratio.
QSize fitInBox(QSize size, QSize box);

// fore over back with alpha 0..255, per channel, truncated; COLORREF values.
std::uint32_t blendColor(std::uint32_t fore, std::uint32_t back, int alpha);
