#include "print/SheetRenderer.h"

#include "model/ObjItem.h"
#include "model/PmrData.h"
#include "model/ViewScale.h"
#include "platform/Dc.h"
#include "platform/Rect.h"
#include "print/SheetTarget.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
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

void setResolution(QImage& image, int pixelsPerInch)
{
    if (pixelsPerInch <= 0)
        return;
    const int dpm = int(std::lround(pixelsPerInch / 0.0254));
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
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
    setResolution(picture, pixelsPerInch);
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
    const int level = dc.save();
    dc.selectClip(card.translated(origin));
    dc.offsetViewportOrigin(card.left(), card.top());
    for (const auto& item : page.items())
        if (item->isText())
            item->Draw(dc);
    dc.restore(level);
}

QImage renderCard(const PmrData& page, int pixelsPerInch, QSize cardSizeMm)
{
    if (pixelsPerInch <= 0)
        return {};
    if (cardSizeMm.width() <= 0 || cardSizeMm.height() <= 0)
        cardSizeMm = QSize(page.cardWidth, page.cardHeight);
    const QSize size(SheetLayout::mmToPixels(cardSizeMm.width(), pixelsPerInch),
                     SheetLayout::mmToPixels(cardSizeMm.height(), pixelsPerInch));
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
    : page_(page), job_(std::move(job)), total_(totalCards(job_))
{
}

std::int64_t SheetRenderer::skippedOnSheet(const Job& job, int sheet)
{
    const std::int64_t perSheet = mulSat(job.format.rows, job.format.columns);
    return sheet == 0 ? std::clamp<std::int64_t>(std::int64_t(job.start) - 1, 0, perSheet) : 0;
}

std::int64_t SheetRenderer::cardsOnSheet(const Job& job, int sheet)
{
    const std::int64_t left = mulSat(job.format.rows, job.format.columns) - skippedOnSheet(job, sheet);
    return job.onlyOne ? std::min<std::int64_t>(left, 1) : left;
}

std::int64_t SheetRenderer::totalCards(const Job& job)
{
    if (job.sheets <= 0)
        return 0;
    const std::int64_t rest = mulSat(job.sheets - 1, cardsOnSheet(job, 1));
    return std::min(kInt64Max - cardsOnSheet(job, 0), rest) + cardsOnSheet(job, 0);
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
    const std::int64_t firstSheet = cardsOnSheet(job_, 0);
    const std::int64_t before = sheet == 0 ? 0 : std::min(kInt64Max - firstSheet, mulSat(sheet - 1, onSheet)) + firstSheet;

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
            drawCard(dc, page_, picture, card);
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
