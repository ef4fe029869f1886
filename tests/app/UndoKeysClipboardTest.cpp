// SPDX-License-Identifier: GPL-3.0-or-later
#include "EditorTest.h"
#include "app/CardClipboard.h"
#include "app/CardCommand.h"
#include "model/ObjItemBitmap.h"
#include "model/ObjItemText.h"
#include "model/PmrDocument.h"
#include "ui/ChoiceDialogs.h"

#include <QClipboard>
#include <QMimeData>
#include <QPlainTextEdit>

#include <functional>

namespace {

class UndoKeysClipboardTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        QImage(40, 20, QImage::Format_RGB32).save(png);
    }
    QByteArray bytes() const { return writeDocument(dlg->page()); }

    const QString png = path("p.png");
};

// Each change, taken back, gives the stored bytes of before; made again, those of after.
// One button of each kind of step: the other buttons of the panel make the same steps.
TEST_F(UndoKeysClipboardTest, EveryKindOfChangeIsUndoneAndRedoneExactly)
{
    for (int id : {ctl::AddRect, ctl::AddText, ctl::AddLine})
        press(id);
    {
        testsupport::FileDialogScript chosen({png});
        press(ctl::AddPicture);
    }
    ObjItem* picture = dlg->selection().item();
    ObjItem* text = std::next(dlg->page().items().begin())->get();
    const auto selectText = [&] { QTest::mouseClick(dlg.get(), Qt::LeftButton, {}, at({text->x, text->y}) + QPoint(2, 2)); };
    const auto selectNothing = [&] { QTest::mouseClick(dlg.get(), Qt::LeftButton, {}, QPoint(dlg->cardRect().left + 1, dlg->cardRect().top + 1)); };
    const struct { const char* what; std::function<void()> prepare; std::function<void()> change; } cases[] = {
        {"shape", [] {}, [&] { click(ctl::ShapeHeart); }},
        {"replaced picture", [] {}, [&] {
             const QString other = path("q.png");
             QImage(10, 30, QImage::Format_RGB32).save(other);
             testsupport::FileDialogScript chosen({other});
             press(ctl::ReplacePicture);
         }},
        {"a drag of many steps", [] {}, [&] {
             const QPoint from = at({picture->x, picture->y}) + QPoint(3, 3);
             drag(from, {from + QPoint(4, 3), from + QPoint(8, 6), from + QPoint(12, 9), from + QPoint(16, 12), from + QPoint(20, 15)});
         }},
        {"send back", [] {}, [&] { press(ctl::SendBack); }},
        {"duplicate", [] {}, [&] { press(ctl::Duplicate); }},
        {"delete", [] {}, [&] { press(ctl::Delete); }},
        {"font", [&] {
             selectText();
             platform::LogFont bold = static_cast<ObjItemText*>(text)->GetFont();
             bold.weight = 700;
             bold.height = -20;
             ui::setFontDialogProvider([bold](const ui::FontRequest&, QWidget*) { return std::optional(bold); });
         }, [&] { press(ctl::Font); }},
        {"vertical", selectText, [&] { click(ctl::Vertical); }},
        {"pattern", selectNothing, [&] {
             testsupport::FileDialogScript chosen({png});
             press(ctl::Pattern);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.prepare();
        const QByteArray before = bytes();
        c.change();
        const QByteArray after = bytes();
        ASSERT_TRUE(after != before && dlg->isModified());
        key(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(bytes(), before);
        key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(bytes(), after);
        key(Qt::Key_Z, Qt::ControlModifier);
        key(Qt::Key_Y, Qt::ControlModifier);
        EXPECT_EQ(bytes(), after);
    }
    // The selection after an undo is what the step touched.
    selectNothing();
    key(Qt::Key_Z, Qt::ControlModifier); // pattern
    key(Qt::Key_Z, Qt::ControlModifier); // font
    EXPECT_EQ(std::pair(dlg->selectedItem(), dlg->panelKind()), (std::pair<const ObjItem*, int>(text, ObjItem::KindText)));
}

TEST_F(UndoKeysClipboardTest, TypingIsOneStepPerVisitAndCtrlZInTheFieldUndoesTheCard)
{
    press(ctl::AddText);
    auto* text = static_cast<ObjItemText*>(dlg->selection().item());
    const QByteArray before = bytes();
    auto* field = dlg->itemAs<QPlainTextEdit>(ctl::TextEdit);
    ASSERT_TRUE(field->hasFocus());
    QTest::keyClicks(field, QStringLiteral("Sato"));
    QTest::keyClick(field, Qt::Key_Delete); // the field's own key
    QTest::keyClick(field, Qt::Key_Backspace);
    ASSERT_EQ(std::pair(text->textString(), items().size()), std::pair(QStringLiteral("Sat"), std::size_t(1)));
    QTest::keyClick(field, Qt::Key_Escape); // not the window's
    EXPECT_TRUE(dlg->isVisible());
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(std::pair(bytes(), field->toPlainText()), std::pair(before, QStringLiteral("Text")));
    // Typing after the undo is a step of its own.
    QTest::keyClicks(field, QStringLiteral("Ito"));
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(bytes(), before);
}

TEST_F(UndoKeysClipboardTest, CanvasKeysRunTheButtonsCommandsAndMoveTheSelection)
{
    for (int id : {ctl::AddText, ctl::AddRect, ctl::AddLine})
        press(id);
    const std::vector<const ObjItem*> made = items();
    // From the line just added, in drawing order, which puts texts last.
    const std::pair<int, const ObjItem*> steps[] = {{Qt::Key_Tab, made[0]}, {Qt::Key_Tab, made[1]}, {Qt::Key_Tab, made[2]},
                                                    {Qt::Key_Tab, made[0]}, {Qt::Key_Backtab, made[2]}, {Qt::Key_Backtab, made[1]}};
    for (const auto& [k, expected] : steps) {
        canvasKey(k);
        ASSERT_EQ(dlg->selectedItem(), expected) << k;
    }

    ObjItem* rect = const_cast<ObjItem*>(made[1]);
    const QPoint start(rect->x, rect->y);
    canvasKey(Qt::Key_Right);
    key(Qt::Key_Right);
    key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(QPoint(rect->x, rect->y), start + QPoint(20, 28));
    key(Qt::Key_Z, Qt::ControlModifier); // the presses in a row are one step
    EXPECT_EQ(QPoint(rect->x, rect->y), start);

    canvasKey(Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(items().size(), 4u);
    canvasKey(Qt::Key_Delete);
    EXPECT_EQ(items().size(), 3u);
    key(Qt::Key_Tab);
    // Escape only deselects; neither it nor Enter closes the window.
    canvasKey(Qt::Key_Escape);
    EXPECT_EQ(dlg->selectedItem(), nullptr);
    key(Qt::Key_Return);
    key(Qt::Key_Enter);
    EXPECT_EQ(std::pair(dlg->isVisible(), dlg->result()), std::pair(true, 0));

    const int zoom = dlg->view().scale().current;
    key(Qt::Key_Plus, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_GT(dlg->view().scale().current, zoom);
    key(Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(std::pair(dlg->view().scale().current, dlg->item(ctl::Duplicate)->toolTip().contains(u"Ctrl+D")), std::pair(zoom, true));
}

TEST_F(UndoKeysClipboardTest, TheClipboardCarriesItemsBetweenCardsAndPicturesFromOutside)
{
    press(ctl::AddRect);
    ObjItem* rect = dlg->selection().item();
    rect->Offset(dlg->cardUnits().right - rect->GetBounds().right - 5, 0); // by the right edge
    dlg->copy();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_TRUE(data && data->hasFormat(QString::fromLatin1(CardClipboard::kMimeType)) && data->hasImage());

    dlg->paste(); // into its own card: where a duplicate goes
    ASSERT_NE(dlg->selectedItem(), rect);
    const platform::Rect pasted = dlg->selectedItem()->GetBounds();
    dlg->undo();
    ASSERT_EQ(dlg->selectedItem(), rect);
    dlg->runCommand(ctl::Duplicate);
    EXPECT_EQ(dlg->selectedItem()->GetBounds(), pasted);

    // Another editor with a narrower card keeps the place, moved onto its card.
    CardEditorDlg other;
    other.page().cardWidth = 40;
    other.LayoutCard(true);
    other.paste();
    ASSERT_NE(other.selectedItem(), nullptr);
    const ObjItem* copied = other.selectedItem();
    EXPECT_EQ(std::tuple(copied->color, copied->GetBounds().right, copied->GetBounds().top),
              std::tuple(rect->color, other.cardUnits().right, rect->GetBounds().top));

    // Cut takes the item away; a picture of another program becomes a picture item.
    const std::size_t count = items().size();
    const ObjItem* duplicate = dlg->selectedItem();
    dlg->cut();
    const std::vector<const ObjItem*> left = items();
    EXPECT_EQ(std::pair(left.size(), std::count(left.begin(), left.end(), duplicate)), std::pair(count - 1, std::ptrdiff_t(0)));
    QImage outside(30, 10, QImage::Format_RGB32);
    outside.fill(Qt::red);
    QApplication::clipboard()->setImage(outside);
    dlg->paste();
    auto* picture = dynamic_cast<const ObjItemBitmap*>(dlg->selectedItem());
    EXPECT_EQ(picture ? picture->dibWidth : 0, 30);

    auto broken = std::make_unique<QMimeData>();
    broken->setData(QString::fromLatin1(CardClipboard::kMimeType), QByteArray("\\x01\\x02garbage"));
    EXPECT_EQ(CardClipboard::itemFrom(*broken), nullptr);
}

// Resident memory in kB, from the kernel.
long residentKb()
{
    const QByteArray text = testsupport::readFile(QStringLiteral("/proc/self/status"));
    return text.mid(text.indexOf("VmRSS:") + 6).trimmed().split(' ').value(0).toLong();
}

TEST_F(UndoKeysClipboardTest, AThousandChangesToALargePictureKeepNoCopiesOfIt)
{
    // 4000 x 3000 pixels: 36 MB of picture.
    auto item = std::make_unique<ObjItemBitmap>(dlg->cardUnits(), platform::Dib::fromImage(QImage(4000, 3000, QImage::Format_RGB32), 24));
    dlg->document().apply(std::make_unique<AddItemCommand>(std::move(item), std::nullopt));
    const PmrData::Position pos = dlg->page().items().begin();
    const char* pixels = static_cast<ObjItemBitmap&>(**pos).dib.bytes().constData();
    const long before = residentKb();
    for (int i = 0; i < 1000; ++i) {
        if (i % 2)
            dlg->document().apply(std::make_unique<MoveItemCommand>(pos, ItemGeometry::of(**pos), ItemGeometry{i, i, 100, 100}));
        else
            dlg->document().apply(std::make_unique<EditItemCommand>(pos, [i](ObjItem& p) { static_cast<ObjItemBitmap&>(p).shape = i % 3; }));
    }
    EXPECT_EQ(std::tuple(dlg->document().history().size(), dlg->document().history().heldBytes(), static_cast<ObjItemBitmap&>(**pos).dib.bytes().constData()),
              std::tuple(UndoHistory::kMaxSteps, std::size_t(0), pixels));
#if defined(__SANITIZE_ADDRESS__)
    (void)before; // the sanitizer keeps freed memory in quarantine
#else
    EXPECT_LT(residentKb() - before, 8 * 1024);
#endif
}

} // namespace
