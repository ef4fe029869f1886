// Item and close commands of the editor window.
#include "app/CardEditorDlg.h"

#include "model/ObjItemLine.h"
#include "model/ObjItemRect.h"
#include "model/ObjItemText.h"
#include "model/ViewScale.h"
#include "platform/MessageBox.h"
#include "resources/ControlIds.h"
#include "resources/Strings.h"

#include <QCloseEvent>

platform::Rect CardEditorDlg::cardUnits() const
{
    const platform::Rect& card = view_.cardRect();
    return {0, 0, view_.scale().toUnits(platform::saturate(card.width())), view_.scale().toUnits(platform::saturate(card.height()))};
}

void CardEditorDlg::addItem(std::unique_ptr<ObjItem> item)
{
    if (!item)
        return;
    selection_->select(page_.append(std::move(item)));
    RedrawCard();
    refreshPanel();
    modified_ = 1;
}

void CardEditorDlg::onAddText()
{
    addItem(std::make_unique<ObjItemText>(cardUnits()));
}

void CardEditorDlg::onAddLine()
{
    addItem(std::make_unique<ObjItemLine>(cardUnits(), view_.scale()));
}

void CardEditorDlg::onAddRect()
{
    addItem(std::make_unique<ObjItemRect>(cardUnits(), view_.scale()));
}

void CardEditorDlg::onDelete()
{
    SelectionState& sel = *selection_;
    if (!sel.position() || !sel.item())
        return;
    const PmrData::Position pos = *sel.position();
    sel.clear();
    page_.remove(pos);
    RedrawCard();
    refreshPanel();
    modified_ = 1;
}

void CardEditorDlg::onSendBack()
{
    SelectionState& sel = *selection_;
    if (!sel.position() || !sel.item() || *sel.position() == page_.items().begin())
        return;
    sel.select(page_.moveToHead(*sel.position()));
    RedrawCard();
    refreshPanel();
    modified_ = 1;
}

void CardEditorDlg::onDuplicate()
{
    SelectionState& sel = *selection_;
    if (!sel.position() || !sel.item())
        return;
    std::unique_ptr<ObjItem> copy = sel.item()->Clone();
    if (!copy)
        return;
    const platform::Rect b = view_.scale().toDevice(copy->GetBounds());
    const std::int64_t h = b.height();
    const std::int64_t cardW = view_.cardRect().width();
    const std::int64_t cardH = view_.cardRect().height();
    if (b.bottom + h + 2 < cardH) {
        copy->Offset(0, view_.scale().toUnits(platform::saturate(h + 2)));
    } else {
        const std::int64_t left = (cardW - b.width()) / 2;
        const std::int64_t top = (cardH - h) / 2;
        copy->Offset(view_.scale().toUnits(platform::saturate(left - b.left)), view_.scale().toUnits(platform::saturate(top - b.top)));
    }
    sel.select(page_.insertAfter(*sel.position(), std::move(copy)));
    RedrawCard();
    refreshPanel();
    modified_ = 1;
}

bool CardEditorDlg::askToSave()
{
    if (modified_ != 1)
        return true;
    const int answer = platform::messageBox(resources::loadString(resources::ids::SavePrompt), QString(),
                                            platform::MbButtons::YesNoCancel, platform::MbIcon::None, this);
    // Yes goes on only once the card is saved: a cancelled or failed save keeps it.
    return answer == platform::IdNo || (answer == platform::IdYes && save());
}

void CardEditorDlg::onClose()
{
    if (askToSave())
        done(1);
}

void CardEditorDlg::closeEvent(QCloseEvent* event)
{
    if (!askToSave()) {
        event->ignore();
        return;
    }
    TemplateDialog::closeEvent(event);
}
