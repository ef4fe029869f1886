// SPDX-License-Identifier: GPL-3.0-or-later
// The document commands' notes on QR records that could not all be read.
#include "app/DocumentCommands.h"

#include "model/PmrData.h"
#include "resources/QrTexts.h"
#include "ui/MessageBox.h"

#include <QFileInfo>

namespace texts = resources::texts::qr;

// The card is shown whole either way; the codes whose records were lost are
// plain pictures in it.
void DocumentCommands::noteDamagedExtras(const PmrData& contents, const QString& path)
{
    damagedPath_ = contents.extrasDamaged ? QFileInfo(path).absoluteFilePath() : QString();
    if (contents.extrasDamaged)
        ui::appMessageBox(QString::fromUtf8(texts::ExtrasDamaged), platform::MbButtons::Ok,
                          platform::MbIcon::Exclamation, window_);
}

// Writing over the file drops what was left of its records for good; another
// file is written without asking, and once written over the file asks no more.
bool DocumentCommands::mayOverwrite(const QString& path)
{
    if (damagedPath_.isEmpty() || QFileInfo(path).absoluteFilePath() != damagedPath_)
        return true;
    return ui::appMessageBox(QString::fromUtf8(texts::ExtrasDamagedSave), platform::MbButtons::YesNo,
                             platform::MbIcon::Exclamation, window_) == platform::IdYes;
}
