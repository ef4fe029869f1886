// SPDX-License-Identifier: GPL-3.0-or-later
#include "CupsQueues.h"

#include <QProcess>
#include <QStringList>
#include <QTextStream>

#include <optional>

namespace pmrtool {

namespace {

// lpstat's standard output, or nothing when it is missing, fails or hangs.
std::optional<QString> runLpstat(const QString& option)
{
    QProcess p;
    p.start(QStringLiteral("lpstat"), {option});
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return std::nullopt;
    }
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return std::nullopt;
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

} // namespace

std::vector<Printer> listPrinters()
{
    std::vector<Printer> printers;
    const auto names = runLpstat(QStringLiteral("-e"));
    if (!names)
        return printers;
    // "system default destination: NAME", or "no system default destination".
    QString defaultName;
    if (const auto d = runLpstat(QStringLiteral("-d"))) {
        const qsizetype colon = d->indexOf(QLatin1Char(':'));
        if (colon >= 0)
            defaultName = d->mid(colon + 1).trimmed();
    }
    for (const QString& line : names->split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QString name = line.trimmed();
        if (!name.isEmpty())
            printers.push_back({name, name == defaultName});
    }
    return printers;
}

bool sendToQueue(QTextStream& err, const QString& queue, const QString& title, const QString& file)
{
    QProcess p;
    p.start(QStringLiteral("lp"), {QStringLiteral("-d"), queue, QStringLiteral("-t"), title, file});
    const bool finished = p.waitForFinished(120000);
    if (!finished)
        p.kill();
    p.waitForFinished();
    const QString complaint = QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
    if (finished && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
        return true;
    err << "pmrtool: the job could not be handed to \"" << queue << "\""
        << (complaint.isEmpty() ? (p.error() == QProcess::FailedToStart ? QStringLiteral(": lp is missing") : QString())
                                : QStringLiteral(": ") + complaint)
        << "\n";
    return false;
}

} // namespace pmrtool
