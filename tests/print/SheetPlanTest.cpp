// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/CardFormatCatalog.h"
#include "print/CardList.h"
#include "print/SheetLayout.h"
#include "print/SheetPlan.h"

#include <gtest/gtest.h>

using print::SheetPlan;

TEST(SheetPlan, CardsFillThePositionsInReadingOrderFromTheStartWithCopiesSideBySide)
{
    const int _ = -1; // an empty position
    // No people: no list, `sheets` sheets; at: the card, or with a list its row, at every position.
    const struct { const char* name; int people, copies, start, sheets; bool onlyOne; std::vector<std::vector<int>> at; } cases[] = {
        {"position 10", 0, 1, 10, 1, false, {{_, _, _, _, _, _, _, _, _, 0}}},
        {"position 7, two sheets", 0, 1, 7, 2, false,
         {{_, _, _, _, _, _, 0, 1, 2, 3}, {4, 5, 6, 7, 8, 9, 10, 11, 12, 13}}},
        {"position 7, only one", 0, 1, 7, 2, true, {{_, _, _, _, _, _, 0, _, _, _}, {1, _, _, _, _, _, _, _, _, _}}},
        {"25 people", 25, 1, 1, 0, false,
         {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {10, 11, 12, 13, 14, 15, 16, 17, 18, 19}, {20, 21, 22, 23, 24, _, _, _, _, _}}},
        {"4 copies from position 7", 3, 4, 7, 0, false, {{_, _, _, _, _, _, 0, 0, 0, 0}, {1, 1, 1, 1, 2, 2, 2, 2, _, _}}},
        {"a sheet a person", 2, 10, 1, 0, false, {std::vector<int>(10, 0), std::vector<int>(10, 1)}},
        {"people, only one, from position 5", 3, 1, 5, 0, true,
         {{_, _, _, _, 0, _, _, _, _, _}, {1, _, _, _, _, _, _, _, _, _}, {2, _, _, _, _, _, _, _, _, _}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // 名刺10面 A4: 2 columns, 5 rows.
        print::SheetJob job{.format = CardFormatCatalog().format(0), .onlyOne = c.onlyOne, .start = c.start,
                            .sheets = c.sheets, .copies = c.copies};
        if (c.people > 0)
            job.list = std::make_shared<const print::CardList>(
                print::CardList::fromBytes("n\n" + QByteArray("x\n").repeated(c.people)));
        const SheetPlan plan(job);
        ASSERT_EQ(plan.sheets(), int(c.at.size()));
        std::int64_t cards = 0;
        for (int s = 0; s < plan.sheets(); ++s) {
            std::vector<int> at;
            for (int p = 0; p < 10; ++p) {
                const std::int64_t card = plan.cardAt(s, p);
                at.push_back(int(job.list ? plan.rowOfCard(card) : card));
            }
            EXPECT_EQ(at, c.at[s]) << "sheet " << s + 1;
            EXPECT_EQ(plan.cardsBefore(s), cards);
            cards += plan.cardsOnSheet(s);
        }
        EXPECT_EQ(plan.totalCards(), cards);
    }
}

TEST(SheetLayout, GapsAddUpAsConvertedPixels)
{
    // "名刺 8面 A4" at 72 ppi: cards 91 × 55 mm are 258 × 156 (257.95, 155.91), the
    // margins 15 and 25 mm 43 and 71 (42.52, 70.87), the gaps 8 and 9 mm 23 and 26
    // (22.68, 25.51). Summed millimetres would give 323, and 252, 434, 615.
    const print::SheetLayout l = print::SheetLayout::make(CardFormatCatalog().format(1), 72, {});
    EXPECT_EQ((std::vector<std::int64_t>{l.x(0), l.x(1), l.y(0), l.y(1), l.y(2), l.y(3), l.cardWidth, l.cardHeight}),
              (std::vector<std::int64_t>{43, 324, 71, 253, 435, 617, 258, 156}));
}
