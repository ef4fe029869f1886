// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "print/SheetPlan.h"

#include <functional>

class PmrData;
class QString;
class QWidget;

// The print command: asks when the card does not fit the current format, shows
// the print dialog and prints the card N-up on sheets, with a progress window.
// The job is named after documentPath's file.
void printCard(const PmrData& page, const QString& documentPath, QWidget* parent);

// Told of every job the print command hands to the renderer, just before it
// runs; hands back the watcher it replaces. None by default.
using PrintJobWatcher = std::function<void(const print::SheetJob&)>;
PrintJobWatcher setPrintJobWatcher(PrintJobWatcher watcher);
