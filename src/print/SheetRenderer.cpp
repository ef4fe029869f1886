// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/SheetRenderer.h"

#include "model/ObjItem.h"
#include "model/PmrData.h"
#include "model/ViewScale.h"
#include "platform/Dc.h"
#include "platform/GdiMath.h"
#include "platform/Rect.h"
#include "print/CardList.h"
#include "print/SheetTarget.h"

#include <QPainter>

#include <algorithm>
#include <limits>

namespace print {

namespace {

constexpr std::int64_t kInt64Max = std::numeric_limits<std::int64_t>::max();

// a × b for a, b >= 0, saturating.
std::int64_t mulSat(std::int64_t a, std::int64_t b)
{
    if (a <= 0 || b <= 0)
        return 0;
    return a > kInt64Max / b ? kInt64Max : a * b;
}

} // namespace

// ---------------------------------------------------------------- one card

QImage renderCardPicture(const PmrData& page, QSize size, int pixelsPerInch, std::int64_t maxBytes)
{
    const int w = size.width();
    const int h = size.height();
    if (w <= 0 || h <= 0 || mulSat(mulSat(w, h), 4) > maxBytes)
        return {};
    QImage picture(size, QImage::Format_RGB32);
    if (picture.isNull())
        return {};
    setImageResolution(picture, pixelsPerInch);
    platform::Dc dc(&picture);
    if (!dc.isValid())
        return {};
    dc.setScale(pixelsPerInch);
    dc.setPrinting(true);
    dc.patBlt(0, 0, w, h, platform::BltRop::Whiteness);
    page.drawBackground(dc, platform::Rect{0, 0, w, h});
    for (const auto& item : page.items())
        if (!item->isText())
            item->Draw(dc);
    return picture;
}

void drawCard(platform::Dc& dc, const PmrData& page, const QImage& picture, const QRect& card)
{
    drawCard(dc, CardTexts(page), picture, card);
}

void drawCard(platform::Dc& dc, const CardTexts& texts, const QImage& picture, const QRect& card)
{
    if (card.isEmpty() || !dc.isValid())
        return;
    const QPoint origin = dc.viewportOrigin();
    if (!picture.isNull()) {
        // Straight through the painter with the caller's very image: a PDF then
        // stores it once however many cards show it.
        QPainter* p = dc.painter();
        p->save();
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
        p->setRenderHint(QPainter::LosslessImageRendering);
        const QPoint at = card.topLeft() + origin;
        if (picture.width() <= card.width() && picture.height() <= card.height())
            p->drawImage(at, picture);
        else
            p->drawImage(at, picture, QRect(0, 0, std::min(picture.width(), card.width()),
                                            std::min(picture.height(), card.height())));
        p->restore();
    }
    const platform::DcSave saved(dc);
    dc.selectClip(card.translated(origin));
    dc.offsetViewportOrigin(card.left(), card.top());
    for (const ObjItem* item : texts.items())
        item->Draw(dc);
}

QImage renderCard(const PmrData& page, int pixelsPerInch, QSize cardSizeMm)
{
    if (pixelsPerInch <= 0)
        return {};
    if (cardSizeMm.width() <= 0 || cardSizeMm.height() <= 0)
        cardSizeMm = QSize(page.cardWidth, page.cardHeight);
    const QSize size(platform::mmToPixels(cardSizeMm.width(), pixelsPerInch),
                     platform::mmToPixels(cardSizeMm.height(), pixelsPerInch));
    QImage card = renderCardPicture(page, size, pixelsPerInch);
    if (card.isNull())
        return {};
    platform::Dc dc(&card);
    dc.setScale(pixelsPerInch);
    dc.setPrinting(true);
    // The picture is already in place: only the text goes on top.
    drawCard(dc, page, QImage(), QRect(QPoint(0, 0), size));
    return card;
}

// ---------------------------------------------------------------- the job

namespace {

// The cards a sheet can take (0-based sheet).
std::int64_t capacity(const SheetRenderer::Job& job, int sheet)
{
    const std::int64_t left = mulSat(job.format.rows, job.format.columns) - SheetRenderer::skippedOnSheet(job, sheet);
    return job.onlyOne ? std::min<std::int64_t>(left, 1) : left;
}

// The cards the sheets before `sheet` can take.
std::int64_t capacityBefore(const SheetRenderer::Job& job, int sheet)
{
    if (sheet <= 0)
        return 0;
    const std::int64_t first = capacity(job, 0);
    return std::min(kInt64Max - first, mulSat(sheet - 1, capacity(job, 1))) + first;
}

// The cards of a list job: rows × copies.
std::int64_t listCards(const SheetRenderer::Job& job)
{
    return mulSat(job.list ? job.list->rowCount() : 0, std::max(job.copies, 1));
}

} // namespace

SheetRenderer::SheetRenderer(const PmrData& page, Job job)
    : page_(page), job_(std::move(job))
{
    job_.sheets = sheetCount(job_);
    total_ = totalCards(job_);
}

int SheetRenderer::sheetCount(const Job& job)
{
    if (!job.list)
        return job.sheets;
    const std::int64_t cards = listCards(job);
    const std::int64_t first = capacity(job, 0);
    const std::int64_t later = capacity(job, 1);
    if (cards <= 0 || later <= 0)
        return 0;
    if (cards <= first)
        return 1;
    const std::int64_t sheets = 1 + (cards - first + later - 1) / later;
    return int(std::min<std::int64_t>(sheets, std::numeric_limits<int>::max()));
}

std::int64_t SheetRenderer::skippedOnSheet(const Job& job, int sheet)
{
    const std::int64_t perSheet = mulSat(job.format.rows, job.format.columns);
    return sheet == 0 ? std::clamp<std::int64_t>(std::int64_t(job.start) - 1, 0, perSheet) : 0;
}

std::int64_t SheetRenderer::cardsOnSheet(const Job& job, int sheet)
{
    if (!job.list)
        return capacity(job, sheet);
    return std::clamp<std::int64_t>(listCards(job) - capacityBefore(job, sheet), 0, capacity(job, sheet));
}

std::int64_t SheetRenderer::totalCards(const Job& job)
{
    const std::int64_t all = capacityBefore(job, sheetCount(job));
    return job.list ? std::min(all, listCards(job)) : all;
}

std::int64_t SheetRenderer::cardAt(const Job& job, int sheet, std::int64_t position)
{
    if (sheet < 0 || sheet >= sheetCount(job))
        return -1;
    const std::int64_t first = skippedOnSheet(job, sheet);
    if (position < first || position - first >= cardsOnSheet(job, sheet))
        return -1;
    return capacityBefore(job, sheet) + (position - first);
}

std::int64_t SheetRenderer::rowOfCard(const Job& job, std::int64_t card)
{
    return job.list && card >= 0 ? card / std::max(job.copies, 1) : -1;
}

CardTexts SheetRenderer::textsAt(const PmrData& page, const Job& job, int sheet, std::int64_t position)
{
    const std::int64_t card = cardAt(job, sheet, position);
    if (card < 0)
        return {};
    if (!job.list)
        return CardTexts(page);
    return CardFiller(page, job.list->columns()).fill(job.list->row(rowOfCard(job, card)));
}

const CardTexts& SheetRenderer::textsFor(std::int64_t card)
{
    if (!filler_)
        return pageTexts_;
    const std::int64_t row = rowOfCard(job_, card);
    if (row != textsRow_) {
        rowTexts_ = filler_->fill(job_.list->row(row));
        textsRow_ = row;
    }
    return rowTexts_;
}

bool SheetRenderer::notifyBefore(const Progress& p)
{
    return !beforeCard || beforeCard(p);
}

void SheetRenderer::notifyAfter(const Progress& p)
{
    if (afterCard)
        afterCard(p);
}

void SheetRenderer::notifyPictureFailed(int sheet)
{
    if (pictureFailed)
        pictureFailed(sheet);
}

SheetRenderer::Result SheetRenderer::run(SheetTarget& target)
{
    const int ppi = job_.pixelsPerInch > 0 ? job_.pixelsPerInch : target.pixelsPerInch();
    if (ppi <= 0)
        return Result::DocumentFailed;
    picture_ = QImage();
    pictureMade_ = false;
    pageTexts_ = CardTexts(page_);
    filler_.reset();
    rowTexts_ = CardTexts();
    textsRow_ = -1;
    if (job_.list) {
        filler_.emplace(page_, job_.list->columns());
        if (!filler_->hasFields())
            filler_.reset();
    }

    // No sheets, no document: a printer would feed an empty page.
    if (job_.sheets <= 0)
        return Result::Done;
    if (!target.beginDocument())
        return Result::DocumentFailed;
    for (int s = 0; s < job_.sheets; ++s) {
        platform::Dc* dc = target.beginSheet(s);
        if (!dc) {
            target.abortDocument();
            return Result::SheetFailed;
        }
        // Everything converts its own coordinates through the Dc's scale, so all
        // of it draws at the device's resolution.
        dc->setScale(ppi);
        dc->setPrinting(true);
        if (drawSheet(*dc, target.sheetArea(), s, ppi) == SheetEnd::Cancelled) {
            target.abortDocument();
            return Result::Cancelled;
        }
        target.endSheet();
    }
    target.endDocument();
    return Result::Done;
}

SheetRenderer::SheetEnd SheetRenderer::drawSheet(platform::Dc& dc, const QRect& area, int sheet, int ppi)
{
    const QPoint offset = SheetLayout::offsetPixels(job_.adjustX, job_.adjustY, ppi, dc.physicalOffset());
    const SheetLayout layout = SheetLayout::make(job_.format, ppi, offset);
    const std::int64_t columns = layout.columns;
    const std::int64_t skipped = skippedOnSheet(job_, sheet);
    const std::int64_t onSheet = cardsOnSheet(job_, sheet);
    const std::int64_t before = capacityBefore(job_, sheet);

    // Only cards that meet the paper are drawn; the others still count.
    const std::int64_t areaLeft = area.left();
    const std::int64_t areaTop = area.top();
    auto [c0, c1] = layout.columnsWithin(areaLeft, areaLeft + area.width());
    auto [r0, r1] = layout.rowsWithin(areaTop, areaTop + area.height());
    // The first position printed, and the last one (exclusive).
    const std::int64_t first = skipped;
    const std::int64_t end = first + onSheet;
    if (onSheet <= 0) {
        r1 = r0;
    } else {
        r0 = int(std::max<std::int64_t>(r0, first / columns));
        r1 = int(std::min<std::int64_t>(r1, (end - 1) / columns + 1));
        if (job_.onlyOne) {
            const int column = int(first % columns);
            c0 = std::max(c0, column);
            c1 = std::min(c1, column + 1);
        }
    }
    const bool drawsCards = c0 < c1 && r0 < r1;

    // Made once for the whole job: every sheet then shows the very same image,
    // which a PDF stores once.
    const QSize cardSize(layout.cardWidth, layout.cardHeight);
    if (drawsCards && (!pictureMade_ || pictureSize_ != cardSize)) {
        picture_ = renderCardPicture(page_, cardSize, ppi, job_.maxPictureBytes);
        pictureMade_ = true;
        pictureSize_ = cardSize;
    }
    const QImage picture = drawsCards ? picture_ : QImage();
    if (drawsCards && picture.isNull())
        notifyPictureFailed(sheet);

    Progress p;
    p.sheet = sheet + 1;
    p.sheets = job_.sheets;
    p.cardsPerSheet = onSheet;
    p.total = total_;
    p.printed = before;
    for (int i = r0; i < r1; ++i) {
        for (int j = c0; j < c1; ++j) {
            const std::int64_t position = std::int64_t(i) * columns + j;
            if (position < first || position >= end)
                continue;
            p.card = position - first + 1;
            p.printed = before + p.card - 1;
            if (!notifyBefore(p))
                return SheetEnd::Cancelled;
            const QRect card(int(layout.x(j)), int(layout.y(i)), layout.cardWidth, layout.cardHeight);
            drawCard(dc, textsFor(before + p.card - 1), picture, card);
            p.printed = before + p.card;
            notifyAfter(p);
        }
    }
    if (p.printed != before + onSheet) {
        p.card = onSheet;
        p.printed = before + onSheet;
        notifyAfter(p);
    }
    return SheetEnd::Done;
}

} // namespace print
