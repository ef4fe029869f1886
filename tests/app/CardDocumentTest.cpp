#include "../model/DocumentBytes.h"
#include "app/CardCommand.h"
#include "model/ObjItemRect.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class CardDocumentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int i = 0; i < 3; ++i)
            add(i * 100);
        QObject::connect(&doc, &CardDocument::changed, [this](CardDocument::Changes what) { changes.push_back(what); });
    }
    PmrData::Position add(int x)
    {
        auto r = std::make_unique<ObjItemRect>();
        place(*r, x, 0, 50, 50);
        return doc.page().append(std::move(r));
    }
    PmrData::Position at(int i) { return std::next(doc.page().items().begin(), i); }
    // The items by their x.
    std::vector<int> list() const
    {
        std::vector<int> xs;
        for (const auto& item : doc.page().items())
            xs.push_back(item->x);
        return xs;
    }

    CardDocument doc;
    std::vector<CardDocument::Changes> changes;
};

TEST_F(CardDocumentTest, RevertedDeletesAndReordersBringBackTheSameNodesAndSelection)
{
    const PmrData::Position middle = at(1);
    doc.selection().select(middle);
    auto move = doc.apply(std::make_unique<MoveItemCommand>(middle, ItemGeometry::of(**middle), ItemGeometry{150, 10, 60, 60}));
    auto del = doc.apply(std::make_unique<DeleteItemCommand>(middle));
    ASSERT_TRUE(move && del);
    EXPECT_EQ(list(), (std::vector{0, 200}));
    EXPECT_EQ(doc.selection().item(), nullptr);

    // Undone latest first, the move finds its item in the node the delete put back.
    doc.revert(*del);
    EXPECT_EQ(list(), (std::vector{0, 150, 200}));
    EXPECT_EQ(doc.selection().position(), middle);
    doc.revert(*move);
    EXPECT_EQ(list(), (std::vector{0, 100, 200}));
    ASSERT_TRUE(doc.apply(std::move(move)));
    ASSERT_TRUE(doc.apply(std::move(del)));
    EXPECT_EQ(list(), (std::vector{0, 200}));

    const PmrData::Position last = at(1);
    doc.selection().select(last);
    auto back = doc.apply(std::make_unique<SendToBackCommand>(last));
    EXPECT_EQ(list(), (std::vector{200, 0}));
    EXPECT_EQ(doc.selection().position(), doc.page().items().begin());
    EXPECT_EQ(doc.apply(std::make_unique<SendToBackCommand>(last)), nullptr); // already the head
    doc.revert(*back);
    EXPECT_EQ(list(), (std::vector{0, 200}));
    EXPECT_EQ(doc.selection().position(), last);
    ASSERT_TRUE(doc.apply(std::move(back)));
    EXPECT_EQ(list(), (std::vector{200, 0}));
}

TEST_F(CardDocumentTest, AddedItemsGoWhereAskedAndLeaveTheOldSelectionOnRevert)
{
    doc.selection().select(at(2));
    auto r = std::make_unique<ObjItemRect>();
    place(*r, 50, 0, 50, 50);
    auto added = doc.apply(std::make_unique<AddItemCommand>(std::move(r), at(0)));
    EXPECT_EQ(list(), (std::vector{0, 50, 100, 200}));
    EXPECT_EQ(doc.selection().position(), at(1));
    doc.revert(*added);
    EXPECT_EQ(list(), (std::vector{0, 100, 200}));
    EXPECT_EQ(doc.selection().position(), at(2));
    ASSERT_TRUE(doc.apply(std::move(added)));
    EXPECT_EQ(list(), (std::vector{0, 50, 100, 200}));
    EXPECT_EQ(doc.selection().item()->x, 50);
}

TEST_F(CardDocumentTest, TheWindowHearsWhatToRedoBeforeTheModifiedFlagChanges)
{
    using C = CardDocument;
    doc.apply(std::make_unique<DeleteItemCommand>(at(0)));
    EXPECT_EQ(changes, (std::vector<C::Changes>{C::RedrawCard | C::RefillPanel, C::ModifiedChanged}));
    EXPECT_EQ(doc.modified(), 1);

    // A background command that changes nothing is dropped unheard.
    changes.clear();
    EXPECT_EQ(doc.apply(SetBackgroundCommand::color(doc.page(), doc.page().backColor)), nullptr);
    doc.page().pattern = testPicture(2, 2);
    doc.page().patternScale = 40;
    auto color = doc.apply(SetBackgroundCommand::color(doc.page(), 0x123456));
    EXPECT_TRUE(doc.page().pattern.isEmpty());
    EXPECT_EQ(changes, (std::vector<C::Changes>{C::RedrawCard}));
    doc.revert(*color);
    EXPECT_EQ(doc.page().pattern, testPicture(2, 2));
    EXPECT_EQ(doc.page().patternScale, 40);
    EXPECT_EQ(doc.page().backColor, 0xFFFFFFu);

    // New contents: nothing selected, unmodified; reverting brings the old items back selected.
    doc.selection().select(at(1));
    changes.clear();
    auto replace = doc.apply(std::make_unique<ReplaceContentsCommand>(std::make_unique<PmrData>(), true));
    EXPECT_EQ(changes, (std::vector<C::Changes>{C::RedrawCard | C::RefillPanel | C::Relayout | C::ContentsReplaced,
                                                C::ModifiedChanged}));
    EXPECT_TRUE(list().empty());
    EXPECT_EQ(doc.selection().item(), nullptr);
    EXPECT_EQ(doc.modified(), 0);
    doc.revert(*replace);
    EXPECT_EQ(list(), (std::vector{100, 200}));
    EXPECT_EQ(doc.selection().item()->x, 200);
}

TEST_F(CardDocumentTest, ALiveEditIsOneChangeAndOnlyWhenSomethingMoved)
{
    doc.selection().select(at(0));
    doc.beginItemEdit();
    EXPECT_EQ(doc.endItemEdit(), nullptr);
    EXPECT_EQ(doc.modified(), 0);

    doc.beginItemEdit();
    for (int i = 0; i < 3; ++i)
        doc.selection().item()->Offset(10, 0);
    auto drag = doc.endItemEdit();
    ASSERT_TRUE(drag);
    EXPECT_EQ(doc.modified(), 1);
    doc.revert(*drag);
    EXPECT_EQ(list(), (std::vector{0, 100, 200}));
}

} // namespace
