// SPDX-License-Identifier: GPL-3.0-or-later
#include "EditorTest.h"
#include "app/CardCommand.h"
#include "model/PmrDocument.h"

namespace {

using Side = CardDocument::Side;

class CardSidesTest : public EditorTest {
protected:
    QByteArray bytes() const { return writeDocument(dlg->document().card()); }
    Side side() const { return dlg->document().side(); }
    bool shown(int id) const { return dlg->itemAs<QAbstractButton>(id)->isChecked(); }
};

// Looking at the back of a new card makes nothing to store; what is put there
// goes on the back alone, and the file keeps it.
TEST_F(CardSidesTest, TheBackIsMadeOnlyWhenShownAndEditsThereStayOnIt)
{
    press(ctl::AddText);
    const QByteArray frontOnly = bytes();
    ASSERT_EQ(dlg->document().card().back(), nullptr);

    canvasKey(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(std::tuple(side(), shown(ctl::BackSide), shown(ctl::FrontSide), dlg->item(ctl::TurnBack)->isEnabled()),
              std::tuple(Side::Back, true, false, true));
    EXPECT_EQ(dlg->selectedItem(), nullptr);
    EXPECT_TRUE(items().empty());
    EXPECT_EQ(bytes(), frontOnly);
    EXPECT_EQ(dlg->document().history().size(), 1u);

    press(ctl::AddRect);
    const QString path = this->path("two.pmr");
    ASSERT_TRUE(dlg->saveDocument(path));
    canvasKey(Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(std::pair(side(), items().size()), std::pair(Side::Front, std::size_t(1)));

    // Opened while the back is shown, a card shows its front.
    press(ctl::BackSide);
    ASSERT_TRUE(dlg->loadDocument(path));
    EXPECT_EQ(std::tuple(side(), items().size(), shown(ctl::FrontSide)), std::tuple(Side::Front, std::size_t(1), true));
    const PmrData* back = dlg->document().card().back();
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(std::pair(back->items().size(), back->items().front()->kind), std::pair(std::size_t(1), int(ObjItem::KindRect)));
}

// One history: taking back a step of the other side shows that side first, and
// its item is selected there again.
TEST_F(CardSidesTest, UndoAndRedoShowTheSideTheirStepWasMadeOn)
{
    press(ctl::AddText);
    press(ctl::FrontSide); // already shown: stays
    EXPECT_TRUE(shown(ctl::FrontSide));
    press(ctl::BackSide);
    press(ctl::AddLine);
    press(ctl::FrontSide);

    dlg->undo(); // the line
    EXPECT_EQ(std::tuple(side(), items().size(), shown(ctl::BackSide)), std::tuple(Side::Back, std::size_t(0), true));
    dlg->undo(); // the text
    EXPECT_EQ(std::pair(side(), items().size()), std::pair(Side::Front, std::size_t(0)));
    dlg->redo();
    dlg->redo();
    EXPECT_EQ(std::pair(side(), items().size()), std::pair(Side::Back, std::size_t(1)));
    EXPECT_EQ(dlg->selectedItem(), items().front());
}

// Copied on the front, an item pastes onto the back where it was, not where a
// duplicate goes.
TEST_F(CardSidesTest, AnItemCopiedOnTheFrontPastesInItsPlaceOnTheBack)
{
    press(ctl::AddRect);
    const platform::Rect bounds = dlg->selectedItem()->GetBounds();
    dlg->copy();
    press(ctl::BackSide);
    dlg->paste();
    ASSERT_NE(dlg->selectedItem(), nullptr);
    EXPECT_EQ(dlg->selectedItem()->GetBounds(), bounds);
    dlg->copy(); // from the back, onto the back: where a duplicate goes
    dlg->paste();
    EXPECT_NE(dlg->selectedItem()->GetBounds(), bounds);
}

// The back turns across the front; a new paper size keeps it turned, and both
// are taken back. A back made after a size change follows the front back.
TEST_F(CardSidesTest, ATurnedBackStaysTurnedWhenTheCardSizeChanges)
{
    press(ctl::TurnBack); // the front is shown: nothing to turn
    EXPECT_EQ(dlg->document().history().size(), 0u);
    const PmrData& front = dlg->document().card();
    const QSize size(front.cardWidth, front.cardHeight);
    auto sizes = [&] {
        const PmrData& back = *front.back();
        return std::pair(QSize(front.cardWidth, front.cardHeight), QSize(back.cardWidth, back.cardHeight));
    };
    dlg->document().apply(std::make_unique<SetCardSizeCommand>(86, 54));
    press(ctl::BackSide);
    dlg->undo();
    EXPECT_EQ(sizes(), std::pair(size, size));

    press(ctl::BackSide);
    press(ctl::TurnBack);
    EXPECT_EQ(sizes().second, size.transposed());
    const platform::Rect shownCard = dlg->cardRect();
    EXPECT_GT(shownCard.height(), shownCard.width());
    dlg->document().apply(std::make_unique<SetCardSizeCommand>(86, 54));
    EXPECT_EQ(sizes(), std::pair(QSize(86, 54), QSize(54, 86)));
    dlg->undo();
    dlg->undo();
    EXPECT_EQ(sizes(), std::pair(size, size));
}

} // namespace
