// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/DocumentFiles.h"

#include "model/PmrData.h"
#include "model/PmrDocument.h"
#include "ui/FileDialogs.h"
#include "ui/MessageBox.h"

#include <QDir>
#include <QFileInfo>

namespace files {

namespace {

void report(const ArchiveError& error, const QString& path, QWidget* parent)
{
    ui::appMessageBox(archiveErrorMessage(error, QDir::toNativeSeparators(path)), platform::MbButtons::Ok,
                            archiveErrorIcon(error), parent);
}

std::optional<QString> chooseDocument(ui::FileDialogRequest::Mode mode, const QString& folder,
                                      const QString& fileName, QWidget* parent)
{
    ui::FileDialogRequest request;
    request.mode = mode;
    request.initialDir = folder;
    request.fileName = fileName;
    request.filter = QString::fromUtf8(kDocumentFilter);
    request.defaultExt = QStringLiteral("pmr");
    request.overwritePrompt = true;
    return ui::runFileDialog(request, parent);
}

} // namespace

bool loadInto(PmrData& page, const QString& path, QWidget* parent)
{
    const QString full = QFileInfo(path).absoluteFilePath();
    PmrData fresh;
    if (const auto error = tryDocument([&] { readDocumentFile(full, fresh); })) {
        report(*error, full, parent);
        return false;
    }
    page.swap(fresh);
    return true;
}

bool saveFrom(const PmrData& page, const QString& path, QWidget* parent)
{
    const QString full = QFileInfo(path).absoluteFilePath();
    if (const auto error = tryDocument([&] { writeDocumentFile(page, full); })) {
        report(*error, full, parent);
        return false;
    }
    return true;
}

std::optional<QString> chooseToOpen(const QString& folder, QWidget* parent)
{
    return chooseDocument(ui::FileDialogRequest::Open, folder, QString(), parent);
}

std::optional<QString> chooseToSave(const QString& folder, const QString& fileName, QWidget* parent)
{
    return chooseDocument(ui::FileDialogRequest::Save, folder, fileName, parent);
}

QString sampleFolder(const QString& appDir)
{
    return QDir(appDir).filePath(QStringLiteral("sample"));
}

} // namespace files
