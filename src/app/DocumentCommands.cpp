// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DocumentCommands.h"

#include "app/CardCommand.h"
#include "files/DocumentFiles.h"
#include "files/NewCardDlg.h"
#include "platform/AppSettings.h"
#include "ui/MessageBox.h"
#include "resources/Strings.h"

#include <QFileInfo>
#include <QWidget>

namespace {

// The folder a dialog ended in becomes the document folder.
void rememberFolder(const QString& path)
{
    platform::appSettings().setDocumentFolder(QFileInfo(path).absolutePath());
}

} // namespace

DocumentCommands::DocumentCommands(CardDocument& doc, QWidget* window) : doc_(doc), window_(window) {}

bool DocumentCommands::askToSave()
{
    doc_.endItemEdit(); // a drag under way is a change too
    if (!doc_.isModified())
        return true;
    const int answer = ui::messageBox(resources::loadString(resources::ids::SavePrompt), QString(),
                                            platform::MbButtons::YesNoCancel, platform::MbIcon::None, window_);
    // Yes goes on only once the card is saved: a cancelled or failed save keeps it.
    return answer == platform::IdNo || (answer == platform::IdYes && save());
}

bool DocumentCommands::save()
{
    const std::optional<QString> path =
        files::chooseToSave(platform::appSettings().documentFolder(), doc_.path(), window_);
    if (!path)
        return false;
    rememberFolder(*path);
    window_->repaint();
    return saveDocument(*path);
}

bool DocumentCommands::saveDocument(const QString& path)
{
    if (!mayOverwrite(path) || !files::saveFrom(doc_.card(), path, window_))
        return false;
    doc_.setPath(QFileInfo(path).absoluteFilePath());
    if (doc_.path() == damagedPath_)
        damagedPath_.clear();
    doc_.markSaved();
    return true;
}

void DocumentCommands::open()
{
    const std::optional<QString> path = files::chooseToOpen(platform::appSettings().documentFolder(), window_);
    if (!path)
        return;
    rememberFolder(*path);
    window_->repaint();
    if (askToSave())
        loadDocument(*path);
}

bool DocumentCommands::loadDocument(const QString& path)
{
    // A file that could not be read leaves the card as it was, selection included.
    auto contents = std::make_unique<PmrData>();
    if (!files::loadInto(*contents, path, window_))
        return false;
    noteDamagedExtras(*contents, path);
    if (replaceContents(std::move(contents), QFileInfo(path).absoluteFilePath()))
        Q_EMIT cardSizeChanged();
    return true;
}

void DocumentCommands::recover(std::unique_ptr<PmrData> contents, const QString& path)
{
    const bool sizeChanged = replaceContents(std::move(contents), path);
    doc_.markUnsaved();
    if (sizeChanged)
        Q_EMIT cardSizeChanged();
}

bool DocumentCommands::replaceContents(std::unique_ptr<PmrData> contents, const QString& path)
{
    const int oldWidth = doc_.card().cardWidth;
    const int oldHeight = doc_.card().cardHeight;
    doc_.replaceContents(std::move(contents), true);
    doc_.setPath(path);
    return doc_.card().cardWidth != oldWidth || doc_.card().cardHeight != oldHeight;
}

void DocumentCommands::newCard()
{
    NewCardDlg dialog(window_);
    switch (dialog.exec()) {
    case NewCardDlg::LoadSample: openSample(); break;
    case NewCardDlg::FromScratch: startFromScratch(); break;
    default: break;
    }
}

void DocumentCommands::openSample()
{
    const QString folder = files::sampleFolder(platform::appSettings().appDir());
    if (!QFileInfo(folder).isDir()) {
        ui::appMessageBox(resources::loadString(resources::ids::SampleDirMissing), platform::MbButtons::Ok,
                                platform::MbIcon::Stop, window_);
        return;
    }
    const std::optional<QString> path = files::chooseToOpen(folder, window_);
    if (!path)
        return;
    window_->repaint();
    if (!askToSave())
        return;
    // A sample opens untitled, so saving never overwrites it.
    if (loadDocument(*path))
        doc_.setPath(QString());
}

void DocumentCommands::startFromScratch()
{
    if (!askToSave())
        return;
    // An empty card of the same size; the view stays as it is.
    auto contents = std::make_unique<PmrData>();
    contents->cardWidth = doc_.card().cardWidth;
    contents->cardHeight = doc_.card().cardHeight;
    doc_.replaceContents(std::move(contents), false);
}
