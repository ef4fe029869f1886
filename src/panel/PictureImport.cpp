// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/PictureImport.h"

#include "platform/AppSettings.h"
#include "platform/ImageConverter.h"
#include "resources/Strings.h"
#include "ui/FileDialogs.h"
#include "ui/MessageBox.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QWidget>

namespace panel {

namespace {

class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { end(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    void end()
    {
        if (active_)
            QGuiApplication::restoreOverrideCursor();
        active_ = false;
    }

private:
    bool active_ = true;
};

void showError(int stringId, QWidget* editor)
{
    ui::appMessageBox(resources::loadString(stringId), platform::MbButtons::Ok, platform::MbIcon::Stop, editor);
}

} // namespace

std::optional<platform::Dib> choosePicture(QWidget* editor, QSize cardMm)
{
    ui::FileDialogRequest request;
    request.mode = ui::FileDialogRequest::Open;
    request.initialDir = platform::appSettings().pictureFolder();
    request.filter = QString::fromUtf8(kPictureFilter);
    request.defaultExt = QStringLiteral("bmp");
    request.overwritePrompt = true;
    const std::optional<QString> chosen = ui::runFileDialog(request, editor);
    if (!chosen)
        return std::nullopt;

    const QFileInfo info(*chosen);
    platform::appSettings().setPictureFolder(info.absolutePath());
    WaitCursor wait;
    if (editor)
        editor->repaint();

    std::optional<platform::Dib> dib;
    int error = 0;
    // Only "BMP" exactly is read as it is; "bmp" and "Bmp" are converted.
    QFile file(info.absoluteFilePath());
    if (info.suffix() == QLatin1String("BMP")) {
        if (file.open(QIODevice::ReadOnly))
            dib = platform::readBmpFile(file);
        if (!dib)
            error = resources::ids::PictureReadError;
    } else if (!file.open(QIODevice::ReadOnly)) {
        error = resources::ids::PictureReadError;
    } else {
        wait.end();
        return convertPicture(file, editor, cardMm);
    }

    // The message box shows the ordinary pointer.
    wait.end();
    if (error)
        showError(error, editor);
    return dib;
}

std::optional<platform::Dib> convertPicture(QIODevice& device, QWidget* editor, QSize cardMm)
{
    WaitCursor wait;
    platform::ImageConverter::Result converted = platform::ImageConverter(cardMm).convert(device);
    wait.end();
    switch (converted.status) {
    case platform::ImageConverter::Status::Ok: return std::move(converted.dib);
    case platform::ImageConverter::Status::ReadFailed: showError(resources::ids::PictureReadError, editor); break;
    case platform::ImageConverter::Status::WriteFailed: showError(resources::ids::PictureWriteError, editor); break;
    }
    return std::nullopt;
}

} // namespace panel
