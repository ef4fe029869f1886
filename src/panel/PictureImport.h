// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Dib.h"

#include <QSize>

#include <optional>

class QIODevice;
class QWidget;

namespace panel {

// The filter of the picture dialog.
inline constexpr const char* kPictureFilter =
    "Image Files (*.bmp;*.jpg;*.jpeg;*.png;*.gif;*.tif;*.tiff;*.webp)"
    "|*.bmp; *.jpg; *.jpeg; *.png; *.gif; *.tif; *.tiff; *.webp"
    "|BMP Files (*.BMP)|*.BMP|JPEG Files (*.JPG;*.JPEG)|*.JPG; *.JPEG|All Files (*.*)|*.*||";

// Lets the user pick a picture file, starting in the picture folder, and returns
// it as a packed DIB, or nothing when cancelled or when the file cannot be read
// (its message has then been shown). The picture folder becomes the chosen file's
// folder either way. A file whose extension is "BMP" in capitals is taken as it
// is stored; every other file is converted to a 24-bit picture.
//
// cardMm: the card a picture item goes on, in millimetres; a converted picture
// with more pixels than 1200 per inch over the whole card is reduced to that.
// Leave it empty for a pattern, whose pixels set its size.
std::optional<platform::Dib> choosePicture(QWidget* editor, QSize cardMm = {});

// A picture in any format read from device as choosePicture converts a file;
// when it cannot be read, the message has been shown.
std::optional<platform::Dib> convertPicture(QIODevice& device, QWidget* editor, QSize cardMm = {});

} // namespace panel
