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

namespace print {

// ---------------------------------------------------------------- one card

QImage renderCardPicture(const PmrData& page, QSize size, int pixelsPerInch, std::int64_t maxBytes)
{
    const int w = size.width();
    const int h = size.height();
    if (w <= 0 || h <= 0 || productSat(productSat(w, h), 4) > maxBytes)
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
        if (!drawnPerCard(*item))
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

SheetRenderer::SheetRenderer(const PmrData& page, Job job)
    : page_(page), job_(std::move(job))
{
    job_.sheets = SheetPlan(job_).sheets();
    total_ = SheetPlan(job_).totalCards();
    resetTexts();
}

void SheetRenderer::resetTexts()
{
    pageTexts_ = CardTexts(page_);
    filler_.reset();
    rowTexts_ = CardTexts();
    textsRow_ = -1;
    if (job_.list) {
        filler_.emplace(page_, job_.list->columns());
        if (!filler_->hasFields())
            filler_.reset();
    }
}

CardTexts SheetRenderer::textsAt(int sheet, std::int64_t position)
{
    const std::int64_t card = SheetPlan(job_).cardAt(sheet, position);
    return card < 0 ? CardTexts() : textsFor(card);
}

const CardTexts& SheetRenderer::textsFor(std::int64_t card)
{
    if (!filler_)
        return pageTexts_;
    const std::int64_t row = SheetPlan(job_).rowOfCard(card);
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
    resetTexts();

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
    const SheetPlan plan(job_);
    const std::int64_t onSheet = plan.cardsOnSheet(sheet);
    const std::int64_t before = plan.cardsBefore(sheet);
    // Only cards that meet the paper are drawn; the others still count.
    const SheetPlan::Span span = plan.drawnOn(layout, area, sheet);
    const bool drawsCards = !span.isEmpty();

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
    for (int i = span.row0; i < span.row1; ++i) {
        for (int j = span.column0; j < span.column1; ++j) {
            const std::int64_t card = plan.cardAt(sheet, std::int64_t(i) * layout.columns + j);
            if (card < 0)
                continue;
            p.card = card - before + 1;
            p.printed = card;
            if (!notifyBefore(p))
                return SheetEnd::Cancelled;
            const QRect place(int(layout.x(j)), int(layout.y(i)), layout.cardWidth, layout.cardHeight);
            drawCard(dc, textsFor(card), picture, place);
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
