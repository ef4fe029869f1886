// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// pmrtool run in this process, or as its own program where the exit code, the
// environment or the real standard streams matter; and the files it reads.

#include "ToolCommands.h"

#include "TestSupport.h"

#include <QTextStream>

namespace toolrun {

inline const QString kSample = QStringLiteral(PELMORA_SOURCE_DIR "/data/sample/めいし-きっさてん.pmr");
inline const QString kTeam = QStringLiteral(PELMORA_SOURCE_DIR "/data/sample/めいし-チーム.pmr");

using Result = testsupport::ProcessResult;
using testsupport::readFile;
using testsupport::writeFile;

inline Result run(const QStringList& args)
{
    QString out, err;
    QTextStream o(&out), e(&err);
    const int code = pmrtool::run(args, o, e);
    o.flush();
    e.flush();
    return {code, out, err};
}

// `program` (pmrtool unless named) as a process; given up after two minutes.
inline Result spawn(const QStringList& args, const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(),
                    const QString& program = QStringLiteral(PMRTOOL_PATH))
{
    return testsupport::runProgram(program, args, env);
}

} // namespace toolrun
