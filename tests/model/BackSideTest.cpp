// SPDX-License-Identifier: GPL-3.0-or-later
// The card's back as record 2 of the extras block.
#include "DocumentBytes.h"
#include "model/ObjItemBitmap.h"
#include "model/ObjItemRect.h"
#include "model/PmrData.h"
#include "model/PmrDocument.h"
#include "model/QrPicture.h"

#include <gtest/gtest.h>

namespace {

QByteArray le16(unsigned v) { return QByteArray(1, char(v & 0xFF)) + QByteArray(1, char((v >> 8) & 0xFF)); }
QByteArray le32(std::uint32_t v) { return le16(v & 0xFFFF) + le16(v >> 16); }
QByteArray record(unsigned type, const QByteArray& body) { return le16(type) + le32(std::uint32_t(body.size())) + body; }
const QByteArray kBlock("PMRX\x01\x00", 6);

QrContent site() { return QrContent::url(QStringLiteral("https://example.com/{{n}}")); }

// A turned back: 55 × 91 mm behind a 91 × 55 mm front, blue, half-scale
// pattern, a rectangle and a QR code.
void makeBack(PmrData& back)
{
    back.cardWidth = 55;
    back.cardHeight = 91;
    back.setPattern(testPicture(3, 2));
    back.setPatternScale(50);
    auto r = std::make_unique<ObjItemRect>();
    place(*r, 10, 20, 300, 400);
    back.append(std::move(r));
    auto code = std::make_unique<ObjItemBitmap>();
    code->takePicture(qr::picture(site(), 0));
    code->qr = site();
    back.append(std::move(code));
}

// The front's items, whether a back came with them and how many items it has,
// and whether the block was damaged.
std::tuple<std::size_t, bool, std::size_t, bool> open(const QByteArray& bytes)
{
    PmrData page;
    readDocument(bytes, page);
    return {page.items().size(), page.back() != nullptr, page.back() ? page.back()->items().size() : 0,
            page.extrasDamaged};
}

class BackSide : public ::testing::Test {
protected:
    void SetUp() override
    {
        front.append(std::make_unique<ObjItemRect>());
        plain = writeDocument(front);
        makeBack(front.ensureBack());
        withBack = writeDocument(front);
        backAlone = writeDocument(*front.back());
    }
    PmrData front;
    QByteArray plain, withBack, backAlone;
};

} // namespace

TEST_F(BackSide, IsRecordTwoHoldingTheBackAsADocumentsPageUnlessItIsBlank)
{
    EXPECT_EQ(withBack, plain + kBlock + record(2, backAlone));
    // The back's own code travels in its own block.
    EXPECT_TRUE(backAlone.contains(kBlock + le16(1)));

    PmrData blank;
    blank.append(std::make_unique<ObjItemRect>());
    blank.ensureBack().cardWidth = 55;
    blank.back()->setPatternScale(100);
    EXPECT_EQ(writeDocument(blank), plain);
    blank.back()->setBackColor(0xFF0000);
    EXPECT_EQ(writeDocument(blank), plain + kBlock + record(2, writeDocument(*blank.back())));
    // A new card has no back.
    blank.clear();
    EXPECT_EQ(blank.back(), nullptr);
}

TEST_F(BackSide, SurvivesARoundTripWithItsSizePatternAndCode)
{
    PmrData page;
    readDocument(withBack, page);
    ASSERT_NE(page.back(), nullptr);
    const PmrData& back = *page.back();
    const auto* code = dynamic_cast<const ObjItemBitmap*>(std::next(back.items().begin())->get());
    ASSERT_TRUE(code && code->qr);
    EXPECT_EQ(std::tuple(back.cardWidth, back.cardHeight, back.patternScale, back.pattern.bytes(), *code->qr),
              std::tuple(55, 91, 50, testPicture(3, 2).bytes(), site()));
    EXPECT_EQ(std::tuple(page.items().size(), page.cardWidth, page.extrasDamaged), std::tuple(std::size_t(1), 91, false));
    EXPECT_EQ(writeDocument(page), withBack);
}

TEST_F(BackSide, DamageOrACutNeverCostsTheFront)
{
    // The back's own block, holding a back after its code.
    const QByteArray backWithBack = backAlone + record(2, backAlone);
    const struct {
        const char* what;
        QByteArray bytes;
        std::tuple<std::size_t, bool, std::size_t, bool> expected;
    } cases[] = {
        {"cut off before the block: the front as it always was", withBack.left(plain.size()), {1, false, 0, false}},
        {"cut inside the back", withBack.left(withBack.size() - 3), {1, false, 0, true}},
        {"the back's own block cut", plain + kBlock + record(2, backAlone.left(backAlone.size() - 3)), {1, true, 2, true}},
        {"a back inside the back", plain + kBlock + record(2, backWithBack), {1, true, 2, true}},
        {"a second back", withBack + record(2, backAlone), {1, true, 2, true}},
        {"an unknown record after the back", withBack + record(9, "abc"), {1, true, 2, false}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(open(c.bytes), c.expected) << c.what;
}
