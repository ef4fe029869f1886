// SPDX-License-Identifier: GPL-3.0-or-later
// Item, paper selection and close commands of the editor window.
#include "app/CardEditorDlg.h"

#include "app/CardCommand.h"
#include "app/ItemPlacement.h"
#include "app/QrCodeDlg.h"
#include "app/QrCommand.h"
#include "model/ObjItemBitmap.h"
#include "model/ObjItemLine.h"
#include "model/ObjItemRect.h"
#include "model/ObjItemText.h"
#include "model/ViewScale.h"
#include "panel/PictureImport.h"
#include "platform/GdiMath.h"
#include "print/CardFormatCatalog.h"
#include "printui/PaperSelectDlg.h"
#include "resources/Strings.h"
#include "ui/MessageBox.h"

#include <QAbstractButton>
#include <QCloseEvent>

#include <algorithm>
#include <vector>

void CardEditorDlg::addItem(std::unique_ptr<ObjItem> item, std::optional<PmrData::Position> after)
{
    if (item)
        doc_.apply(std::make_unique<AddItemCommand>(std::move(item), after));
}

void CardEditorDlg::onAddText()
{
    addItem(std::make_unique<ObjItemText>(cardUnits()), doc_.tail());
}

void CardEditorDlg::onAddLine()
{
    addItem(std::make_unique<ObjItemLine>(cardUnits(), view_.scale()), doc_.tail());
}

void CardEditorDlg::onAddRect()
{
    addItem(std::make_unique<ObjItemRect>(cardUnits(), view_.scale()), doc_.tail());
}

// The chooser gets the card's size, so a huge photograph is reduced to what
// printing the card at 1200 pixels per inch needs.
void CardEditorDlg::onAddPicture()
{
    const PmrData& card = page();
    if (std::optional<platform::Dib> picture = panel::choosePicture(this, QSize(card.cardWidth, card.cardHeight)))
        addItem(std::make_unique<ObjItemBitmap>(cardUnits(), std::move(*picture)), doc_.tail());
}

// A new code starts as a web address at level M, black, 20 mm square in the
// middle of the card.
void CardEditorDlg::onAddQr()
{
    QrCodeDlg dialog(QrContent::url(QString()), 0x000000, this);
    if (dialog.run() != QDialog::Accepted)
        return;
    constexpr int kSideUnits = (20 * ViewScale::kUnitsPerInch * 10 + 127) / 254; // 20 mm
    addItem(makeQrItem(dialog.content(), 0x000000, cardUnits(), kSideUnits), doc_.tail());
}

void CardEditorDlg::onDelete()
{
    if (selectedItem())
        doc_.apply(std::make_unique<DeleteItemCommand>(*selection().position()));
}

void CardEditorDlg::onSendBack()
{
    if (selectedItem())
        doc_.apply(std::make_unique<SendToBackCommand>(*selection().position()));
}

// The copy lies just above the item in the list.
void CardEditorDlg::onDuplicate()
{
    const ObjItem* original = selectedItem();
    std::unique_ptr<ObjItem> copy = original ? original->Clone() : nullptr;
    if (!copy)
        return;
    placement::offsetAsDuplicate(*copy, view_.scale(), view_.cardRect());
    addItem(std::move(copy), selection().position());
}

// Arrow keys: one step per press, and the presses on one item in a row are one
// step to take back.
void CardEditorDlg::moveSelected(int dx, int dy)
{
    const std::optional<PmrData::Position>& pos = selection().position();
    if (!pos)
        return;
    const ItemGeometry before = ItemGeometry::of(***pos);
    ItemGeometry after = before;
    after.x = platform::addSat(after.x, dx);
    after.y = platform::addSat(after.y, dy);
    auto move = std::make_unique<MoveItemCommand>(*pos, before, after);
    move->setMergeKey(panel_.visit());
    doc_.apply(std::move(move));
}

// Tab walks the items in drawing order, from the first after the last.
void CardEditorDlg::selectNext(bool forward)
{
    std::vector<PmrData::Position> order;
    PmrData::ItemList& items = page().items();
    for (bool texts : {false, true})
        for (auto it = items.begin(); it != items.end(); ++it)
            if ((*it)->isText() == texts)
                order.push_back(it);
    if (order.empty())
        return;
    canvas_.loseCapture(); // a drag under way ends with the item it moved
    const std::optional<PmrData::Position>& current = selection().position();
    const auto at = current ? std::find(order.begin(), order.end(), *current) : order.end();
    std::size_t next = 0;
    if (at == order.end())
        next = forward ? 0 : order.size() - 1;
    else
        next = (std::size_t(at - order.begin()) + (forward ? 1 : order.size() - 1)) % order.size();
    selection().select(order[next]);
    doc_.notify(CardDocument::SelectionChanged);
}

void CardEditorDlg::clearSelection()
{
    if (!selectedItem())
        return;
    canvas_.loseCapture();
    selection().clear();
    doc_.notify(CardDocument::SelectionChanged);
}

// However the dialog ends, the card takes the card size of the current format.
void CardEditorDlg::onPaperSelect()
{
    CardFormatCatalog& catalog = CardFormatCatalog::instance();
    print::PaperSelectDlg dialog(catalog, this);
    if (dialog.run() == QDialog::Accepted)
        repaint();
    const CardFormat format = catalog.currentFormat();
    if (format.cardWidth == doc_.card().cardWidth && format.cardHeight == doc_.card().cardHeight)
        return;
    ui::messageBox(QString::fromUtf8(resources::texts::CardSizeChanged),
                   QString::fromUtf8(resources::texts::PaperSettingCaption), platform::MbButtons::Ok,
                   platform::MbIcon::None, this);
    doc_.apply(std::make_unique<SetCardSizeCommand>(format.cardWidth, format.cardHeight));
}

// A drag under way ends with what it moved, on the side it moved it.
void CardEditorDlg::showSide(CardDocument::Side side)
{
    canvas_.loseCapture();
    if (!doc_.showSide(side))
        showSideControls(); // a click on the side shown keeps its mark
}

void CardEditorDlg::onTurnBack()
{
    if (doc_.side() == CardDocument::Side::Back)
        doc_.apply(std::make_unique<TurnBackCommand>());
}

void CardEditorDlg::showSideControls()
{
    const bool back = doc_.side() == CardDocument::Side::Back;
    itemAs<QAbstractButton>(ctl::FrontSide)->setChecked(!back);
    itemAs<QAbstractButton>(ctl::BackSide)->setChecked(back);
    item(ctl::TurnBack)->setEnabled(back);
}

void CardEditorDlg::onClose()
{
    if (files_.askToSave())
        done(1);
}

void CardEditorDlg::closeEvent(QCloseEvent* event)
{
    if (!files_.askToSave()) {
        event->ignore();
        return;
    }
    TemplateDialog::closeEvent(event);
}
