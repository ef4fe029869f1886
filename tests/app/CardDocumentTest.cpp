#include "../model/DocumentBytes.h"
#include "app/CardCommand.h"
#include "model/ObjItemRect.h"

#include <gtest/gtest.h>

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
    // The items by their x.
    std::vector<int> list() const
    {
        std::vector<int> xs;
        for (const auto& item : doc.page().items())
            xs.push_back(item->x);
        return xs;
    }

    CardDocument doc;
    std::vector<C::Changes> changes;
};

TEST_F(CardDocumentTest, RevertedCommandsBringBackTheSameNodesAndSelection)
{
    const PmrData::Position middle = at(1);
    doc.selection().select(middle);
    auto move = doc.apply(std::make_unique<MoveItemCommand>(middle, ItemGeometry::of(**middle), ItemGeometry{150, 10, 60, 60}));
    auto del = doc.apply(std::make_unique<DeleteItemCommand>(middle));
    ASSERT_TRUE(move && del);
    EXPECT_EQ(list(), (std::vector{0, 200}));
    EXPECT_EQ(doc.selection().item(), nullptr);
    // Latest first: the move finds its item in the node the delete put back.
    doc.revert(*del);
    EXPECT_EQ(doc.selection().position(), middle);
    doc.revert(*move);
    EXPECT_EQ(list(), (std::vector{0, 100, 200}));
    ASSERT_TRUE(doc.apply(std::move(move)) && doc.apply(std::move(del)));
    EXPECT_EQ(list(), (std::vector{0, 200}));

    const PmrData::Position last = at(1);
    doc.selection().select(last);
    auto back = doc.apply(std::make_unique<SendToBackCommand>(last));
    EXPECT_EQ(list(), (std::vector{200, 0}));
    EXPECT_EQ(doc.apply(std::make_unique<SendToBackCommand>(last)), nullptr); // already the head
    doc.revert(*back);
    EXPECT_EQ(list(), (std::vector{0, 200}));
    EXPECT_EQ(doc.selection().position(), last);
    ASSERT_TRUE(doc.apply(std::move(back)));
    EXPECT_EQ(list(), (std::vector{200, 0}));

    // An item added after the head, as a duplicate is, and taken back.
    auto added = doc.apply(std::make_unique<AddItemCommand>(rect(50), at(0)));
    EXPECT_EQ(list(), (std::vector{200, 50, 0}));
    EXPECT_EQ(doc.selection().item()->x, 50);
    doc.revert(*added);
    EXPECT_EQ(list(), (std::vector{200, 0}));
    EXPECT_EQ(doc.selection().position(), last);
}

TEST_F(CardDocumentTest, TheWindowHearsWhatToRedoBeforeTheModifiedFlagChanges)
{
    doc.apply(std::make_unique<DeleteItemCommand>(at(0)));
    EXPECT_EQ(changes, (std::vector<C::Changes>{C::RedrawCard | C::RefillPanel, C::ModifiedChanged}));
    EXPECT_EQ(doc.modified(), 1);

    // A colour drops the pattern; its revert brings back pattern, scale and colour.
    changes.clear();
    EXPECT_EQ(doc.apply(SetBackgroundCommand::color(doc.page(), doc.page().backColor)), nullptr);
    doc.page().pattern = testPicture(2, 2);
    doc.page().patternScale = 40;
    auto color = doc.apply(SetBackgroundCommand::color(doc.page(), 0x123456));
    EXPECT_TRUE(doc.page().pattern.isEmpty());
    EXPECT_EQ(changes, (std::vector<C::Changes>{C::RedrawCard}));
    doc.revert(*color);
    EXPECT_EQ(CardBackground::of(doc.page()), (CardBackground{testPicture(2, 2), 0xFFFFFF, 40}));

    // New contents: nothing selected, unmodified; the revert brings the old items back selected.
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

    // Another card size refits the view; the revert brings the old size back.
    changes.clear();
    EXPECT_EQ(doc.apply(std::make_unique<SetCardSizeCommand>(91, 55)), nullptr);
    auto size = doc.apply(std::make_unique<SetCardSizeCommand>(60, 40));
    EXPECT_EQ(changes, (std::vector<C::Changes>{C::RedrawCard | C::Relayout}));
    doc.revert(*size);
    EXPECT_EQ(std::pair(doc.page().cardWidth, doc.page().cardHeight), std::pair(91, 55));
}

} // namespace
