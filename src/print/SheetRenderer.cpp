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
#include <QTransform>

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
    total_ = SheetPlan(job_).totalPrinted();
    resetTexts();
}

void SheetRenderer::resetTexts()
{
    const PmrData* pages[2] = {&page_, page_.back()};
    const Mirror mirror = mirrorFor(job_.flip, paperOf(job_.format));
    for (int i = 0; i < 2; ++i) {
        Side& side = sides_[i];
        side = Side();
        side.page = pages[i];
        if (!side.page)
            continue;
        side.pageTexts = CardTexts(*side.page);
        if (job_.list) {
            side.filler.emplace(*side.page, job_.list->columns());
            if (!side.filler->hasFields())
                side.filler.reset();
        }
    }
    if (const PmrData* back = page_.back())
        sides_[1].turn = backTurn(QSize(page_.cardWidth, page_.cardHeight), QSize(back->cardWidth, back->cardHeight),
                                  mirror);
}

CardTexts SheetRenderer::textsAt(int sheet, std::int64_t position, bool back)
{
    const std::int64_t card = SheetPlan(job_).cardAt(sheet, position);
    return card < 0 || !sides_[back].page ? CardTexts() : textsFor(sides_[back], card);
}

const CardTexts& SheetRenderer::textsFor(Side& side, std::int64_t card)
{
    if (!side.filler)
        return side.pageTexts;
    const std::int64_t row = SheetPlan(job_).rowOfCard(card);
    if (row != side.textsRow) {
        side.rowTexts = side.filler->fill(job_.list->row(row));
        side.textsRow = row;
    }
    return side.rowTexts;
}

const QImage& SheetRenderer::turnedCard(Side& side, std::int64_t card, int ppi)
{
    const std::int64_t row = side.filler ? SheetPlan(job_).rowOfCard(card) : -1;
    if (row == side.turnedRow)
        return side.turned;
    side.turnedRow = row;
    side.turned = QImage();
    if (side.picture.isNull())
        return side.turned;
    QImage whole = side.picture.copy();
    {
        platform::Dc dc(&whole);
        dc.setScale(ppi);
        dc.setPrinting(true);
        drawCard(dc, textsFor(side, card), QImage(), whole.rect());
    }
    side.turned = whole.transformed(QTransform().rotate(side.turn == Turn::Clockwise ? 90 : -90));
    setImageResolution(side.turned, ppi);
    return side.turned;
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

void SheetRenderer::notifyPictureFailed(int page)
{
    if (pictureFailed)
        pictureFailed(page);
}

SheetRenderer::Result SheetRenderer::run(SheetTarget& target)
{
    const int ppi = job_.pixelsPerInch > 0 ? job_.pixelsPerInch : target.pixelsPerInch();
    if (ppi <= 0)
        return Result::DocumentFailed;
    resetTexts();

    // No sheets, no document: a printer would feed an empty page.
    const int pages = SheetPlan(job_).pages();
    if (pages <= 0)
        return Result::Done;
    if (!target.beginDocument())
        return Result::DocumentFailed;
    for (int s = 0; s < pages; ++s) {
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

SheetRenderer::SheetEnd SheetRenderer::drawSheet(platform::Dc& dc, const QRect& area, int page, int ppi)
{
    const SheetPlan plan(job_);
    const Face face = plan.faceAt(page);
    const int sheet = face.sheet;
    Side& side = sides_[face.back];
    const SheetLayout layout =
        face.back ? SheetLayout::makeBack(job_.format, ppi,
                                          SheetLayout::offsetPixels(job_.backAdjustX, job_.backAdjustY, ppi,
                                                                    dc.physicalOffset()),
                                          mirrorFor(job_.flip, paperOf(job_.format)))
                  : SheetLayout::make(job_.format, ppi,
                                      SheetLayout::offsetPixels(job_.adjustX, job_.adjustY, ppi, dc.physicalOffset()));
    const std::int64_t onSheet = plan.cardsOnSheet(sheet);
    const std::int64_t before = plan.cardsBeforePage(page);
    // Only cards that meet the paper are drawn; the others still count.
    const SheetPlan::Span span = side.page ? plan.drawnOn(layout, area, sheet) : SheetPlan::Span();
    const bool drawsCards = !span.isEmpty();

    // Made once for the whole job: every sheet then shows the very same image,
    // which a PDF stores once. A turned side's picture is made upright.
    const bool turned = side.turn != Turn::None;
    const QSize cardSize = turned ? QSize(layout.cardHeight, layout.cardWidth) : QSize(layout.cardWidth, layout.cardHeight);
    if (drawsCards && (!side.pictureMade || side.pictureSize != cardSize)) {
        side.picture = renderCardPicture(*side.page, cardSize, ppi, job_.maxPictureBytes);
        side.pictureMade = true;
        side.pictureSize = cardSize;
        side.turnedRow = -2;
    }
    const QImage picture = drawsCards ? side.picture : QImage();
    if (drawsCards && picture.isNull())
        notifyPictureFailed(page);

    Progress p;
    p.sheet = page + 1;
    p.sheets = plan.pages();
    p.cardsPerSheet = onSheet;
    p.total = total_;
    p.printed = before;
    for (int i = span.row0; i < span.row1; ++i) {
        for (int j = span.column0; j < span.column1; ++j) {
            const std::int64_t card = plan.cardAt(sheet, std::int64_t(i) * layout.columns + j);
            if (card < 0)
                continue;
            const std::int64_t onPage = card - plan.cardsBefore(sheet);
            p.card = onPage + 1;
            p.printed = before + onPage;
            if (!notifyBefore(p))
                return SheetEnd::Cancelled;
            const QRect place(int(layout.x(j)), int(layout.y(i)), layout.cardWidth, layout.cardHeight);
            if (turned && !picture.isNull())
                drawCard(dc, CardTexts(), turnedCard(side, card, ppi), place);
            else
                drawCard(dc, textsFor(side, card), picture, place);
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
