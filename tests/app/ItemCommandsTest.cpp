#include "EditorTest.h"
#include "../model/DocumentBytes.h"
#include "app/CardCommand.h"
#include "model/ObjItemBitmap.h"
#include "model/ObjItemRect.h"
#include "model/ViewScale.h"

#include <QImage>

namespace {

using ItemCommandsTest = EditorTest;

TEST_F(ItemCommandsTest, PicturesComeThroughTheChooserAndAReplacementKeepsBoxAndLook)
{
    const QString wide = path("wide.png"), tall = path("tall.png");
    QImage(200, 100, QImage::Format_RGB32).save(wide);
    QImage(50, 100, QImage::Format_RGB32).save(tall);
    {
        testsupport::FileDialogScript cancelled({std::nullopt});
        press(ctl::AddPicture);
        EXPECT_TRUE(items().empty());
        EXPECT_EQ(dlg->modified(), 0);
    }
    testsupport::FileDialogScript chosen({wide, tall, wide});
    press(ctl::AddPicture);
    ASSERT_EQ(items().size(), 1u);
    auto* picture = dynamic_cast<ObjItemBitmap*>(dlg->page().items().front().get());
    ASSERT_TRUE(picture);
    EXPECT_EQ(dlg->selectedItem(), picture);
    EXPECT_EQ(dlg->modified(), 1);
    // One point per pixel, centred on the card.
    const platform::Rect card = dlg->cardUnits();
    EXPECT_EQ(picture->GetBounds(), (platform::Rect{(card.right - 2000) / 2, (card.bottom - 1000) / 2,
                                                    (card.right - 2000) / 2 + 2000, (card.bottom - 1000) / 2 + 1000}));

    picture->shape = ObjItemBitmap::ShapeHeart;
    picture->whiteOut = 1;
    picture->edgeMode = ObjItemBitmap::EdgeBlur;
    const platform::Rect box = picture->GetBounds();
    dlg->setModified(0);
    press(ctl::ReplacePicture);
    EXPECT_EQ(picture->dibWidth, 50);
    EXPECT_EQ(picture->GetBounds(), (platform::Rect{box.left + 750, box.top, box.left + 1250, box.bottom}));
    EXPECT_EQ(std::tuple(picture->shape, picture->whiteOut, picture->edgeMode), std::tuple(2, 1, 0));
    EXPECT_EQ(dlg->modified(), 1);

    // Taken back, the picture before returns with its box.
    const platform::Dib tallPicture = picture->dib;
    const platform::Rect tallBox = picture->GetBounds();
    ASSERT_TRUE(dlg->document().apply(
        std::make_unique<ReplacePictureCommand>(dlg->page().items().begin(), platform::Dib::fromImage(QImage(wide)))));
    EXPECT_EQ(picture->dibWidth, 200);
    dlg->undo();
    EXPECT_EQ(picture->dib, tallPicture);
    EXPECT_EQ(picture->GetBounds(), tallBox);

    // The pattern: the third answer, at 100 %, whatever the scale was.
    dlg->page().patternScale = 40;
    press(ctl::Pattern);
    EXPECT_EQ(dlg->page().pattern.width(), 200);
    EXPECT_EQ(dlg->page().patternScale, 100);
    EXPECT_EQ(chosen.shown().size(), 3u);
}

TEST_F(ItemCommandsTest, DuplicatesGoBelowUntilTheBottomThenToTheCentre)
{
    auto r = std::make_unique<ObjItemRect>();
    place(*r, 100, 0, 400, dlg->view().scale().toUnits(20));
    dlg->selection().select(dlg->page().append(std::move(r)));
    const int cardW = int(dlg->cardRect().width());
    const int cardH = int(dlg->cardRect().height());

    bool centred = false;
    for (int copies = 0; copies < 20 && !centred; ++copies) {
        const ObjItem* before = dlg->selectedItem();
        const platform::Rect b = dlg->view().scale().toDevice(before->GetBounds());
        press(ctl::Duplicate);
        const platform::Rect c = dlg->view().scale().toDevice(dlg->selectedItem()->GetBounds());
        ASSERT_NE(dlg->selectedItem(), before);
        if (b.bottom + b.height() + 2 < cardH) {
            // A 2-pixel gap below the original, converted to units once.
            EXPECT_EQ(dlg->selectedItem()->y, before->y + dlg->view().scale().toUnits(b.height() + 2)) << copies;
            EXPECT_EQ(c.left, b.left);
        } else {
            EXPECT_NEAR(c.top, (cardH - b.height()) / 2, 1);
            EXPECT_NEAR(c.left, (cardW - b.width()) / 2, 1);
            EXPECT_GT(copies, 5);
            centred = true;
        }
        // The copy lies directly above the copied item in the list.
        const auto list = items();
        const auto pos = std::find(list.begin(), list.end(), before);
        ASSERT_NE(pos + 1, list.end());
        EXPECT_EQ(*(pos + 1), dlg->selectedItem());
    }
    EXPECT_TRUE(centred);
}

TEST_F(ItemCommandsTest, AddSendBackDeleteAndTheirNoOps)
{
    // Added items go last, selected, with their panel, and mark the card.
    press(ctl::AddRect);
    press(ctl::AddText);
    EXPECT_EQ(dlg->modified(), 1);
    press(ctl::AddText);
    EXPECT_EQ(items().size(), 3u);
    EXPECT_EQ(items().back(), dlg->selectedItem());
    EXPECT_EQ(dlg->panelKind(), ObjItem::KindText);
    const ObjItem* lastText = dlg->selectedItem();
    press(ctl::SendBack);
    EXPECT_EQ(items().front(), lastText);
    EXPECT_EQ(dlg->selectedItem(), lastText);
    dlg->setModified(0);
    press(ctl::SendBack); // already the head
    EXPECT_EQ(dlg->modified(), 0);

    press(ctl::Delete);
    EXPECT_EQ(items().size(), 2u);
    EXPECT_EQ(dlg->selectedItem(), nullptr);
    EXPECT_EQ(dlg->panelKind(), 5);
    EXPECT_EQ(dlg->modified(), 1);
    dlg->setModified(0);
    press(ctl::Delete);
    press(ctl::Duplicate);
    press(ctl::SendBack);
    EXPECT_EQ(items().size(), 2u);
    EXPECT_EQ(dlg->modified(), 0);
}

// Closing unmodified asks nothing: pinned with the document commands.
TEST_F(ItemCommandsTest, CloseOfAModifiedCardAsksAndTakesTheAnswer)
{
    dlg->setModified(1);
    testsupport::MessageBoxScript script({platform::IdCancel, platform::IdCancel, platform::IdNo});
    press(ctl::Close);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_FALSE(dlg->close()); // the close box
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_TRUE(dlg->close());
    EXPECT_FALSE(dlg->isVisible());
    ASSERT_EQ(script.shown().size(), 3u);
    EXPECT_EQ(script.shown()[0].caption, QString());
    EXPECT_EQ(script.shown()[0].buttons, platform::MbButtons::YesNoCancel);
    EXPECT_EQ(script.shown()[0].icon, platform::MbIcon::None);
}

} // namespace
