// SPDX-License-Identifier: GPL-3.0-or-later
#include "../model/DocumentBytes.h"
#include "app/CardCommand.h"
#include "model/ObjItemRect.h"

#include <QImage>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using C = CardDocument;

class CardDocumentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int x : {0, 100, 200})
            doc.page().append(rect(x));
        QObject::connect(&doc, &C::changed, [this](C::Changes what) { changes.push_back(what); });
    }
    static std::unique_ptr<ObjItem> rect(int x)
    {
        auto r = std::make_unique<ObjItemRect>();
        place(*r, x, 0, 50, 50);
        return r;
    }
    PmrData::Position at(int i) { return std::next(doc.page().items().begin(), i); }
    bool move(int i, int x) { return doc.apply(std::make_unique<MoveItemCommand>(at(i), ItemGeometry::of(**at(i)), ItemGeometry{x, 0, 50, 50})); }
    // The items by their x.
    std::vector<int> list() const
    {
        std::vector<int> xs;
        for (const auto& item : doc.page().items())
            xs.push_back(item->x);
        return xs;
    }
    // What the document told since the last call.
    std::vector<C::Changes> heard() { return std::exchange(changes, {}); }

    CardDocument doc;
    std::vector<C::Changes> changes;
};

TEST_F(CardDocumentTest, UndoneStepsBringBackTheSameNodesAndSelection)
{
    const PmrData::Position middle = at(1);
    doc.selection().select(middle);
    ASSERT_TRUE(move(1, 150));
    ASSERT_TRUE(doc.apply(std::make_unique<DeleteItemCommand>(middle)));
    EXPECT_EQ(std::tuple(list(), doc.selection().item()), std::tuple(std::vector{0, 200}, nullptr));
    // Latest first: the move finds its item in the node the delete put back.
    ASSERT_TRUE(doc.undo());
    EXPECT_EQ(doc.selection().position(), middle);
    ASSERT_TRUE(doc.undo());
    EXPECT_EQ(list(), (std::vector{0, 100, 200}));
    EXPECT_FALSE(doc.undo());
    ASSERT_TRUE(doc.redo() && doc.redo());
    EXPECT_EQ(list(), (std::vector{0, 200}));
    EXPECT_FALSE(doc.redo());

    const PmrData::Position last = at(1);
    doc.selection().select(last);
    ASSERT_TRUE(doc.apply(std::make_unique<SendToBackCommand>(last)));
    EXPECT_EQ(list(), (std::vector{200, 0}));
    doc.undo();
    EXPECT_EQ(std::tuple(list(), doc.selection().position()), std::tuple(std::vector{0, 200}, last));
    // A new step drops the one taken back.
    ASSERT_TRUE(doc.apply(std::make_unique<AddItemCommand>(rect(50), at(0))));
    EXPECT_EQ(std::pair(list(), doc.selection().item()->x), std::pair(std::vector{0, 50, 200}, 50));
    EXPECT_FALSE(doc.redo());
    doc.undo();
    EXPECT_EQ(std::tuple(list(), doc.selection().position()), std::tuple(std::vector{0, 200}, last));
}

TEST_F(CardDocumentTest, ModifiedMeansAwayFromTheSavedPlaceOrTouchedSince)
{
    const auto undo = [&] { doc.undo(); };
    const auto redo = [&] { doc.redo(); };
    const std::pair<std::function<void()>, bool> steps[] = {
        {[&] { move(0, 1); doc.markSaved(); move(0, 2); }, true},
        {undo, false},
        {undo, true},
        {redo, false},
        {[&] { doc.touch(); }, true}, // a touch marks the card without a step
        {[&] { redo(); undo(); }, false}, // the history's place decides again
        {[&] { undo(); move(0, 3); undo(); }, true}, // the steps after the save replaced
        {[&] { doc.markSaved(); doc.markUnsaved(); }, true}, // recovered: saved at no place
        {[&] { move(0, 4); undo(); }, true},
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        steps[i].first();
        EXPECT_EQ(doc.isModified(), steps[i].second) << i;
    }

    // Typing merges into one step, but never into the step that was saved.
    const PmrData::Position pos = at(0);
    const auto edit = [&](int x) {
        auto e = std::make_unique<EditItemCommand>(pos, [x](ObjItem& item) { item.x = x; });
        e->setMergeKey(7);
        doc.apply(std::move(e));
    };
    edit(10);
    doc.markSaved();
    edit(20);
    edit(30);
    doc.undo();
    EXPECT_EQ(std::pair((*pos)->x, doc.isModified()), std::pair(10, false));
}

TEST_F(CardDocumentTest, HistoryKeepsItsNewestStepsWithinBounds)
{
    UndoHistory history;
    // Replaced pictures of 40 MB each: the budget lets only the newest hundred stay.
    for (int i = 0; i < 150; ++i) {
        platform::Dib big = platform::Dib::fromImage(QImage(10, 10, QImage::Format_RGB32), 24);
        struct Heavy : ReplacePictureCommand {
            using ReplacePictureCommand::ReplacePictureCommand;
            std::size_t heldBytes() const override { return std::size_t(40) << 20; }
        };
        history.push(std::make_unique<Heavy>(at(0), big));
    }
    EXPECT_EQ(history.size(), UndoHistory::kMinSteps);
}

TEST_F(CardDocumentTest, TheWindowHearsWhatChangedBeforeTheModifiedState)
{
    doc.apply(std::make_unique<DeleteItemCommand>(at(0)));
    EXPECT_EQ(heard(), (std::vector<C::Changes>{C::ItemRemoved, C::ModifiedChanged}));
    doc.undo();
    EXPECT_EQ(heard(), (std::vector<C::Changes>{C::ItemAdded | C::SelectionChanged, C::ModifiedChanged}));
    doc.touch();
    EXPECT_EQ(heard(), (std::vector<C::Changes>{C::Touched, C::ModifiedChanged}));

    // A colour drops the pattern; undone, pattern, scale and colour come back.
    EXPECT_FALSE(doc.apply(SetBackgroundCommand::color(doc.page(), doc.page().backColor)));
    doc.page().pattern = testPicture(2, 2);
    doc.page().patternScale = 40;
    doc.apply(SetBackgroundCommand::color(doc.page(), 0x123456));
    EXPECT_EQ(std::pair(doc.page().pattern.isEmpty(), heard()), std::pair(true, std::vector<C::Changes>{C::BackgroundChanged}));
    doc.undo();
    EXPECT_EQ(CardBackground::of(doc.page()), (CardBackground{testPicture(2, 2), 0xFFFFFF, 40}));

    heard();
    EXPECT_FALSE(doc.apply(std::make_unique<SetCardSizeCommand>(91, 55)));
    doc.apply(std::make_unique<SetCardSizeCommand>(60, 40));
    EXPECT_EQ(heard().front(), C::CardSizeChanged);
    doc.undo();
    EXPECT_EQ(std::pair(doc.page().cardWidth, doc.page().cardHeight), std::pair(91, 55));

    // Open: nothing selected, unmodified, a history of its own and the file's size.
    doc.selection().select(at(1));
    doc.touch();
    heard();
    doc.replaceContents(std::make_unique<PmrData>(), true);
    EXPECT_EQ(heard(), (std::vector<C::Changes>{C::ContentsReplaced | C::CardSizeChanged, C::ModifiedChanged}));
    EXPECT_EQ(std::tuple(list().size(), doc.selection().item()), std::tuple(std::size_t(0), nullptr));
    EXPECT_FALSE(doc.isModified() || doc.undo());
    doc.replaceContents(std::make_unique<PmrData>(), false); // new: the size stays
    EXPECT_EQ(heard(), (std::vector<C::Changes>{C::ContentsReplaced}));
}

} // namespace
