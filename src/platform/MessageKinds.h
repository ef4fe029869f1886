// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace platform {

// The buttons and icon of a message box, and its answers.
enum class MbButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MbIcon { None, Stop, Exclamation, Information, Question };

// Results keep the platform's numbering so callers can compare with the familiar ids.
enum MbResult { IdOk = 1, IdCancel = 2, IdYes = 6, IdNo = 7 };

} // namespace platform
