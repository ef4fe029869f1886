// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

namespace ui {

namespace {

FileDialogProvider& providerSlot()
{
    static FileDialogProvider provider;
    return provider;
}

std::optional<QString> realFileDialog(const FileDialogRequest& r, QWidget* parent)
{
    QFileDialog dialog(parent);
    setUpFileDialog(dialog, r);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath();
}

} // namespace

void setUpFileDialog(QFileDialog& dialog, const FileDialogRequest& r)
{
    dialog.setAcceptMode(r.mode == FileDialogRequest::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(r.mode == FileDialogRequest::Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDirectory(r.initialDir);
    // Each filter names its label and then the patterns it matches by; only the label shows.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(qtFilterFromPairs(r.filter).split(QStringLiteral(";;"), Qt::SkipEmptyParts));
    if (!r.defaultExt.isEmpty())
        dialog.setDefaultSuffix(r.defaultExt);
    if (!r.fileName.isEmpty())
        dialog.selectFile(r.fileName);
    if (!r.overwritePrompt)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
}

std::optional<QString> runFileDialog(const FileDialogRequest& request, QWidget* parent)
{
    if (const FileDialogProvider& p = providerSlot())
        return p(request, parent);
    return realFileDialog(request, parent);
}

FileDialogProvider setFileDialogProvider(FileDialogProvider provider)
{
    FileDialogProvider previous = std::move(providerSlot());
    providerSlot() = std::move(provider);
    return previous;
}

QString qtFilterFromPairs(const QString& pairs)
{
    const QStringList parts = pairs.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString desc = parts[i].trimmed();
        if (desc.isEmpty())
            break;
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : patterns)
            p = p.trimmed();
        // The label shows the given patterns in place of a "(...)" the description carries.
        QString label = desc;
        label.remove(QRegularExpression(QStringLiteral("\\s*\\([^)]*\\)\\s*$")));
        label = QStringLiteral("%1 (%2)").arg(label, patterns.join(QLatin1Char(' ')));
#ifndef Q_OS_WIN
        // Outside Windows "*.*" leaves out names without a dot.
        for (QString& p : patterns)
            if (p == QLatin1String("*.*"))
                p = QStringLiteral("*");
#endif
        filters << QStringLiteral("%1 (%2)").arg(label, patterns.join(QLatin1Char(' ')));
    }
    return filters.join(QStringLiteral(";;"));
}

} // namespace ui
