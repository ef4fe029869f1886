// Document commands of the editor window: save, open, new card and samples.
#include "app/CardEditorDlg.h"

#include "app/CardCommand.h"
#include "files/DocumentFiles.h"
#include "files/NewCardDlg.h"
#include "platform/AppSettings.h"
#include "platform/MessageBox.h"
#include "resources/ControlIds.h"
#include "resources/Strings.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The folder a dialog ended in becomes the document folder.
void rememberFolder(const QString& path)
{
    platform::appSettings().setDocumentFolder(QFileInfo(path).absolutePath());
}

} // namespace

void CardEditorDlg::onSave()
{
    save();
}

bool CardEditorDlg::save()
{
    const std::optional<QString> path =
        files::chooseToSave(platform::appSettings().documentFolder(), doc_.path(), this);
    if (!path)
        return false;
    rememberFolder(*path);
    repaint();
    return saveDocument(*path);
}

bool CardEditorDlg::saveDocument(const QString& path)
{
    if (!files::saveFrom(doc_.page(), path, this))
        return false;
    doc_.setPath(QFileInfo(path).absoluteFilePath());
    doc_.setModified(0);
    return true;
}

void CardEditorDlg::onOpen()
{
    const std::optional<QString> path = files::chooseToOpen(platform::appSettings().documentFolder(), this);
    if (!path)
        return;
    rememberFolder(*path);
    repaint();
    if (askToSave())
        loadDocument(*path);
}

bool CardEditorDlg::loadDocument(const QString& path)
{
    const int oldWidth = page().cardWidth;
    const int oldHeight = page().cardHeight;
    // A file that could not be read leaves the card as it was, selection included.
    auto contents = std::make_unique<PmrData>();
    if (!files::loadInto(*contents, path, this))
        return false;
    doc_.apply(std::make_unique<ReplaceContentsCommand>(std::move(contents), true));
    doc_.setPath(QFileInfo(path).absoluteFilePath());
    if (page().cardWidth != oldWidth || page().cardHeight != oldHeight)
        onCommand(ctl::PaperSelect, platform::Notify::Clicked);
    return true;
}

void CardEditorDlg::onNewCard()
{
    NewCardDlg dialog(this);
    switch (dialog.exec()) {
    case NewCardDlg::LoadSample: onSample(); break;
    case NewCardDlg::FromScratch: startFromScratch(); break;
    default: break;
    }
}

void CardEditorDlg::onSample()
{
    const QString folder = files::sampleFolder(platform::appSettings().appDir());
    if (!QFileInfo(folder).isDir()) {
        platform::appMessageBox(resources::loadString(resources::ids::SampleDirMissing), platform::MbButtons::Ok,
                                platform::MbIcon::Stop, this);
        return;
    }
    const std::optional<QString> path = files::chooseToOpen(folder, this);
    if (!path)
        return;
    repaint();
    if (!askToSave())
        return;
    // A sample opens untitled, so saving never overwrites it.
    if (loadDocument(*path))
        doc_.setPath(QString());
}

void CardEditorDlg::startFromScratch()
{
    if (!askToSave())
        return;
    // An empty card of the same size; the view stays as it is.
    auto contents = std::make_unique<PmrData>();
    contents->cardWidth = page().cardWidth;
    contents->cardHeight = page().cardHeight;
    doc_.apply(std::make_unique<ReplaceContentsCommand>(std::move(contents), false));
}
