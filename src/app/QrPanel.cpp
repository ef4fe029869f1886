// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/QrPanel.h"

#include "app/QrCodeDlg.h"
#include "app/QrCommand.h"
#include "model/ObjItemBitmap.h"
#include "model/QrPicture.h"
#include "resources/ControlIds.h"
#include "resources/QrTexts.h"
#include "ui/MessageBox.h"

#include <QLabel>

#include <algorithm>

namespace {

namespace texts = resources::texts::qr;

// The smallest module most phone cameras still read on paper.
constexpr int kMinModuleHundredthsMm = 25;

// The picture controls a code has no use for.
constexpr int kPictureOnly[] = {ctl::BlurEdges, ctl::ShapeCaption, ctl::ShapeWhiteOut, ctl::ShapeRect,
                                ctl::ShapeCircle, ctl::ShapeHeart, ctl::ReplacePicture};

platform::Rect normalised(const platform::Rect& r)
{
    return {std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right), std::max(r.top, r.bottom)};
}

bool inside(const platform::Rect& r, const platform::Rect& outer)
{
    return r.left >= outer.left && r.top >= outer.top && r.right <= outer.right && r.bottom <= outer.bottom;
}

} // namespace

QrPanel::QrPanel(ui::TemplateDialog& window, CardDocument& doc) : window_(window), doc_(doc)
{
    connect(&doc_, &CardDocument::changed, this, [this] {
        if (shown_)
            updateWarnings();
    });
    if (auto* warning = window_.itemAs<QLabel>(ctl::QrWarning)) {
        QPalette pal = warning->palette();
        pal.setColor(QPalette::WindowText, QColor(0xC0, 0x20, 0x20));
        warning->setPalette(pal);
    }
}

const ObjItemBitmap* QrPanel::code(const ObjItem* item)
{
    const auto* picture = dynamic_cast<const ObjItemBitmap*>(item);
    return picture && picture->qr ? picture : nullptr;
}

void QrPanel::show(const ObjItemBitmap* code)
{
    shown_ = code != nullptr;
    if (shown_)
        for (int id : kPictureOnly)
            if (QWidget* w = window_.item(id))
                w->hide();
    for (int id : {ctl::QrContents, ctl::QrWarning})
        if (QWidget* w = window_.item(id))
            w->setVisible(shown_);
    if (shown_)
        updateWarnings();
}

void QrPanel::updateWarnings()
{
    const std::optional<PmrData::Position>& pos = doc_.selection().position();
    auto* label = window_.itemAs<QLabel>(ctl::QrWarning);
    if (label)
        label->setText(pos && code(pos->operator*().get()) ? warnings(doc_.page(), *pos).join(QLatin1Char('\n')) : QString());
}

QStringList QrPanel::warnings(const PmrData& page, PmrData::Position pos)
{
    const ObjItemBitmap* item = code(pos->get());
    if (!item)
        return {};
    QStringList out;
    const int side = std::max(1, item->dibWidth);
    if (qr::moduleHundredthsMm(side, std::abs(item->cx)) < kMinModuleHundredthsMm)
        out << QString::fromUtf8(texts::SmallModules);
    // The quiet zone: the ring between the code's box and its modules.
    const platform::Rect box = normalised({item->x, item->y, platform::addSat(item->x, item->cx), platform::addSat(item->y, item->cy)});
    const int qx = int(box.width() * qr::kQuietZone / side), qy = int(box.height() * qr::kQuietZone / side);
    const platform::Rect modules = box.inflated(-qx, -qy);
    bool above = false, covered = false;
    page.forEachInDrawingOrder([&](const ObjItem& other) {
        if (&other == item) {
            above = true;
            return;
        }
        const platform::Rect b = normalised(other.GetBounds());
        covered = covered || (above && !b.isEmpty() && !box.intersected(b).isEmpty() && !inside(b, modules));
    });
    if (covered)
        out << QString::fromUtf8(texts::QuietZoneCovered);
    return out;
}

void QrPanel::editContents()
{
    const std::optional<PmrData::Position> pos = doc_.selection().position();
    const ObjItemBitmap* item = pos ? code(pos->operator*().get()) : nullptr;
    if (!item)
        return;
    QrCodeDlg dialog(*item->qr, item->color, &window_);
    if (dialog.run() == QDialog::Accepted)
        doc_.apply(std::make_unique<SetQrCodeCommand>(*pos, dialog.content(), item->color));
}

bool QrPanel::setColor(std::uint32_t color)
{
    const std::optional<PmrData::Position> pos = doc_.selection().position();
    const ObjItemBitmap* item = pos ? code(pos->operator*().get()) : nullptr;
    if (!item)
        return false;
    if (!qrColorReadable(color)) {
        ui::appMessageBox(QString::fromUtf8(texts::TooLight), platform::MbButtons::Ok, platform::MbIcon::Exclamation, &window_);
        return false;
    }
    doc_.apply(std::make_unique<SetQrCodeCommand>(*pos, *item->qr, color));
    return true;
}
