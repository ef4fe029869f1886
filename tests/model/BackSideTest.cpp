// SPDX-License-Identifier: GPL-3.0-or-later
// The card's back as record 2 of the extras block.
#include "DocumentBytes.h"
#include "model/ObjItemRect.h"
#include "model/PmrData.h"
#include "model/PmrDocument.h"

#include <gtest/gtest.h>

namespace {

QByteArray le16(unsigned v) { return QByteArray(1, char(v & 0xFF)) + QByteArray(1, char((v >> 8) & 0xFF)); }
QByteArray record(unsigned type, const QByteArray& body)
{
    return le16(type) + le16(unsigned(body.size()) & 0xFFFF) + le16(unsigned(body.size()) >> 16) + body;
}
const QByteArray kBlock("PMRX\x01\x00", 6);

// A one-item front, and the same with a blue, turned 55 × 91 mm back of one item.
class BackSide : public ::testing::Test {
protected:
    void SetUp() override
    {
        front.append(std::make_unique<ObjItemRect>());
        plain = writeDocument(front);
        PmrData& back = front.ensureBack();
        std::tie(back.cardWidth, back.cardHeight) = std::tuple(55, 91);
        back.setBackColor(0xFF0000);
        back.append(std::make_unique<ObjItemRect>());
        withBack = writeDocument(front);
        backAlone = writeDocument(back);
    }
    PmrData front;
    QByteArray plain, withBack, backAlone;
};

} // namespace

TEST_F(BackSide, IsRecordTwoUnlessBlankAndSurvivesARoundTrip)
{
    EXPECT_EQ(withBack, plain + kBlock + record(2, backAlone));
    PmrData page;
    readDocument(withBack, page);
    EXPECT_EQ(page.back() ? page.back()->cardHeight : 0, 91);
    EXPECT_EQ(writeDocument(page), withBack);

    // Turned but empty and white, the back is not written; a colour is enough to write it.
    front.back()->items().clear();
    front.back()->setBackColor(0xFFFFFF);
    EXPECT_EQ(writeDocument(front), plain);
    front.back()->setBackColor(0xFF0000);
    EXPECT_EQ(writeDocument(front), plain + kBlock + record(2, writeDocument(*front.back())));
}

TEST_F(BackSide, DamageOrACutNeverCostsTheFront)
{
    // The front's items, whether a back came with it, and whether the block was damaged.
    using Opened = std::tuple<std::size_t, bool, bool>;
    const std::tuple<const char*, QByteArray, Opened> cases[] = {
        {"cut off before the block: the front as ever", withBack.left(plain.size()), {1, false, false}},
        {"a back in the back", plain + kBlock + record(2, backAlone + kBlock + record(2, backAlone)), {1, true, true}},
        {"a second back", withBack + record(2, backAlone), {1, true, true}},
    };
    for (const auto& [what, bytes, expected] : cases) {
        PmrData page;
        readDocument(bytes, page);
        EXPECT_EQ(Opened(page.items().size(), page.back() != nullptr, page.extrasDamaged), expected) << what;
    }
}
