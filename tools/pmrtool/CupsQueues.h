// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Printers come from CUPS's own command-line tools rather than Qt's printer
// classes: Qt6::PrintSupport links Qt Widgets, and pmrtool stays headless.

#include <QString>

#include <vector>

class QTextStream;

namespace pmrtool {

struct Printer {
    QString name;
    bool isDefault = false;
};

// The queues of the CUPS scheduler; none without lpstat or a scheduler.
std::vector<Printer> listPrinters();

// Hands a PDF file to a CUPS queue; false with lp's complaint on err.
bool sendToQueue(QTextStream& err, const QString& queue, const QString& title, const QString& file);

} // namespace pmrtool
