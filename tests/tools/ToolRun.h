#pragma once

// pmrtool run in this process, or as its own program where the exit code, the
// environment or the real standard streams matter; and the files it reads.

#include "ToolCommands.h"

#include <QFile>
#include <QProcess>
#include <QTextStream>

namespace toolrun {

inline const QString kSample = QStringLiteral(PELMORA_SOURCE_DIR "/data/sample/めいし-きっさてん.pmr");

struct Result {
    int code;
    QString out;
    QString err;
};

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
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        return {-1, {}, QStringLiteral("still running after 120 s")};
    }
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

inline bool write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

inline QByteArray read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace toolrun
