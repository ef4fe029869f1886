// Item, paper selection and close commands of the editor window.
#include "app/CardEditorDlg.h"

#include "app/CardCommand.h"
#include "model/ObjItemBitmap.h"
#include "model/ObjItemLine.h"
#include "model/ObjItemRect.h"
#include "model/ObjItemText.h"
#include "model/ViewScale.h"
#include "panel/PictureImport.h"
#include "print/CardFormatCatalog.h"
#include "printui/PaperSelectDlg.h"
#include "resources/Strings.h"
#include "ui/MessageBox.h"

#include <QCloseEvent>

platform::Rect CardEditorDlg::cardUnits() const
{
    const platform::Rect& card = view_.cardRect();
    return {0, 0, view_.scale().toUnits(platform::saturate(card.width())), view_.scale().toUnits(platform::saturate(card.height()))};
}

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

// The copy goes 2 pixels below the item, or to the centre of the card when it
// would reach the bottom; it lies just above the item in the list.
void CardEditorDlg::onDuplicate()
{
    const ObjItem* original = selectedItem();
    std::unique_ptr<ObjItem> copy = original ? original->Clone() : nullptr;
    if (!copy)
        return;
    const ViewScale& scale = view_.scale();
    const platform::Rect b = scale.toDevice(copy->GetBounds());
    const std::int64_t h = b.height();
    const std::int64_t cardW = view_.cardRect().width();
    const std::int64_t cardH = view_.cardRect().height();
    if (b.bottom + h + 2 < cardH) {
        copy->Offset(0, scale.toUnits(platform::saturate(h + 2)));
    } else {
        const std::int64_t left = (cardW - b.width()) / 2;
        const std::int64_t top = (cardH - h) / 2;
        copy->Offset(scale.toUnits(platform::saturate(left - b.left)), scale.toUnits(platform::saturate(top - b.top)));
    }
    addItem(std::move(copy), selection().position());
}

// However the dialog ends, the card takes the card size of the current format.
void CardEditorDlg::onPaperSelect()
{
    CardFormatCatalog& catalog = CardFormatCatalog::instance();
    print::PaperSelectDlg dialog(catalog, this);
    if (dialog.run() == QDialog::Accepted)
        repaint();
    const CardFormat format = catalog.currentFormat();
    if (format.cardWidth == page().cardWidth && format.cardHeight == page().cardHeight)
        return;
    ui::messageBox(QString::fromUtf8(resources::texts::CardSizeChanged),
                   QString::fromUtf8(resources::texts::PaperSettingCaption), platform::MbButtons::Ok,
                   platform::MbIcon::None, this);
    doc_.apply(std::make_unique<SetCardSizeCommand>(format.cardWidth, format.cardHeight));
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
