// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

class QTextStream;

namespace pmrtool {

enum ExitCode { ExitOk = 0, ExitFileError = 1, ExitUsage = 2 };

// Runs one command line (without the program name): structured output goes to
// out as JSON, messages to err.
int run(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace pmrtool
