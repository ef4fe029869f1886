// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/SheetPlan.h"

#include "print/CardList.h"
#include "print/SheetLayout.h"

#include <algorithm>
#include <limits>

namespace print {

namespace {

constexpr std::int64_t kInt64Max = std::numeric_limits<std::int64_t>::max();

} // namespace

std::int64_t productSat(std::int64_t a, std::int64_t b)
{
    if (a <= 0 || b <= 0)
        return 0;
    return a > kInt64Max / b ? kInt64Max : a * b;
}

std::int64_t SheetPlan::capacity(int sheet) const
{
    const std::int64_t left = productSat(job_.format.rows, job_.format.columns) - skippedOnSheet(sheet);
    return job_.onlyOne ? std::min<std::int64_t>(left, 1) : left;
}

std::int64_t SheetPlan::listCards() const
{
    return productSat(job_.list ? job_.list->rowCount() : 0, std::max(job_.copies, 1));
}

int SheetPlan::sheets() const
{
    if (!job_.list)
        return job_.sheets;
    const std::int64_t cards = listCards();
    const std::int64_t first = capacity(0);
    const std::int64_t later = capacity(1);
    if (cards <= 0 || later <= 0)
        return 0;
    if (cards <= first)
        return 1;
    const std::int64_t sheets = 1 + (cards - first + later - 1) / later;
    return int(std::min<std::int64_t>(sheets, std::numeric_limits<int>::max()));
}

std::int64_t SheetPlan::skippedOnSheet(int sheet) const
{
    const std::int64_t perSheet = productSat(job_.format.rows, job_.format.columns);
    return sheet == 0 ? std::clamp<std::int64_t>(std::int64_t(job_.start) - 1, 0, perSheet) : 0;
}

std::int64_t SheetPlan::cardsBefore(int sheet) const
{
    if (sheet <= 0)
        return 0;
    const std::int64_t first = capacity(0);
    return std::min(kInt64Max - first, productSat(sheet - 1, capacity(1))) + first;
}

std::int64_t SheetPlan::cardsOnSheet(int sheet) const
{
    if (!job_.list)
        return capacity(sheet);
    return std::clamp<std::int64_t>(listCards() - cardsBefore(sheet), 0, capacity(sheet));
}

std::int64_t SheetPlan::totalCards() const
{
    const std::int64_t all = cardsBefore(sheets());
    return job_.list ? std::min(all, listCards()) : all;
}

std::int64_t SheetPlan::cardAt(int sheet, std::int64_t position) const
{
    if (sheet < 0 || sheet >= sheets())
        return -1;
    const std::int64_t first = skippedOnSheet(sheet);
    if (position < first || position - first >= cardsOnSheet(sheet))
        return -1;
    return cardsBefore(sheet) + (position - first);
}

std::int64_t SheetPlan::rowOfCard(std::int64_t card) const
{
    return job_.list && card >= 0 ? card / std::max(job_.copies, 1) : -1;
}

int SheetPlan::pages() const
{
    const int n = std::max(sheets(), 0);
    return job_.sides != Sides::Both ? n : int(std::min<std::int64_t>(std::int64_t(n) * 2, std::numeric_limits<int>::max()));
}

Face SheetPlan::faceAt(int page) const
{
    switch (job_.sides) {
    case Sides::Front:
        return {page, false};
    case Sides::Back:
        return {page, true};
    case Sides::Both:
        break;
    }
    if (job_.flip == Flip::Manual) {
        const int n = sheets();
        return page < n ? Face{page, false} : Face{page - n, true};
    }
    return {page / 2, page % 2 == 1};
}

std::int64_t SheetPlan::cardsBeforePage(int page) const
{
    if (job_.sides != Sides::Both)
        return cardsBefore(page);
    const Face face = faceAt(page);
    const std::int64_t before = cardsBefore(face.sheet);
    if (job_.flip == Flip::Manual)
        return face.back ? std::min(kInt64Max - before, totalCards()) + before : before;
    return std::min(kInt64Max / 2, before) * 2 + (face.back ? cardsOnSheet(face.sheet) : 0);
}

std::int64_t SheetPlan::totalPrinted() const
{
    const std::int64_t cards = totalCards();
    return job_.sides == Sides::Both ? std::min(kInt64Max / 2, cards) * 2 : cards;
}

SheetPlan::Span SheetPlan::drawnOn(const SheetLayout& layout, const QRect& area, int sheet) const
{
    const std::int64_t onSheet = cardsOnSheet(sheet);
    if (onSheet <= 0)
        return {};
    // Only cards that meet the area, among the positions printed: [first, end).
    const std::int64_t columns = layout.columns;
    const std::int64_t first = skippedOnSheet(sheet);
    const std::int64_t end = first + onSheet;
    auto [c0, c1] = layout.columnsWithin(area.left(), std::int64_t(area.left()) + area.width());
    auto [r0, r1] = layout.rowsWithin(area.top(), std::int64_t(area.top()) + area.height());
    r0 = int(std::max<std::int64_t>(r0, first / columns));
    r1 = int(std::min<std::int64_t>(r1, (end - 1) / columns + 1));
    if (job_.onlyOne) {
        const int column = int(first % columns);
        c0 = std::max(c0, column);
        c1 = std::min(c1, column + 1);
    }
    return {r0, r1, c0, c1};
}

} // namespace print
