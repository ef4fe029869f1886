// SPDX-License-Identifier: GPL-3.0-or-later
#include "printui/SheetPreview.h"

#include "platform/GdiMath.h"
#include "print/SheetLayout.h"
#include "print/SheetTarget.h"
#include "resources/Strings.h"

#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace print {

namespace {

constexpr int kMargin = 4; // room for the paper's shadow

// A white sheet when none was drawn, then every position where it lies
// without the offsets, dotted.
void outline(QImage& sheet, QSize size, const SheetLayout& layout)
{
    if (sheet.isNull()) {
        sheet = QImage(size, QImage::Format_RGB32);
        sheet.fill(Qt::white);
    }
    QPainter p(&sheet);
    QPen pen(QColor(0, 0, 0, 110), 1, Qt::DotLine);
    pen.setCosmetic(true);
    p.setPen(pen);
    const QRect card(0, 0, layout.cardWidth, layout.cardHeight);
    for (int row = 0; row < layout.rows; ++row)
        for (int column = 0; column < layout.columns; ++column)
            p.drawRect(QRectF(qreal(layout.x(column)) + 0.5, qreal(layout.y(row)) + 0.5,
                              std::max(0, card.width() - 1), std::max(0, card.height() - 1)));
}

} // namespace

SheetPreview::SheetPreview(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("sheetPreview"));
}

void SheetPreview::setPage(const PmrData* page)
{
    page_ = page;
    dirty_ = true;
    update();
}

void SheetPreview::setJob(const SheetRenderer::Job& job)
{
    job_ = job;
    dirty_ = true;
    update();
}

QSize SheetPreview::sizeHint() const
{
    return {160, 226};
}

void SheetPreview::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    dirty_ = true;
}

const QImage& SheetPreview::sheet() const
{
    if (dirty_)
        render();
    return sheet_;
}

int SheetPreview::pixelsPerInch() const
{
    if (dirty_)
        render();
    return ppi_;
}

const QImage& SheetPreview::backSheet() const
{
    if (dirty_)
        render();
    return back_;
}

QRectF SheetPreview::slot(bool back) const
{
    const QRectF all(kMargin, kMargin, std::max(0, width() - 2 * kMargin), std::max(0, height() - 2 * kMargin));
    if (!showsBack())
        return all;
    const qreal half = std::max<qreal>(0, (all.width() - kMargin) / 2);
    const qreal label = fontMetrics().height() + 4;
    return QRectF(all.left() + (back ? half + kMargin : 0), all.top(), half, std::max<qreal>(0, all.height() - label));
}

void SheetPreview::render() const
{
    dirty_ = false;
    sheet_ = back_ = QImage();
    ppi_ = 0;
    const CardFormat& format = job_.format;
    const qreal dpr = devicePixelRatioF();
    const QRectF room = slot(false);
    if (format.paperWidth <= 0 || format.paperHeight <= 0 || room.width() * dpr < 1 || room.height() * dpr < 1)
        return;
    // The largest whole resolution at which the paper fits.
    const qreal pixelsPerMm = std::min(room.width() * dpr / format.paperWidth, room.height() * dpr / format.paperHeight);
    ppi_ = std::max(1, int(std::floor(pixelsPerMm * 25.4)));
    const QSize size(std::max(1, platform::mmToPixels(format.paperWidth, ppi_)),
                     std::max(1, platform::mmToPixels(format.paperHeight, ppi_)));

    // The job itself draws the sheets, so the preview cannot show other positions
    // or other offsets than the print. A back printed alone lies where it does
    // with both sides, so both are drawn in one go.
    if (page_) {
        SheetRenderer::Job first = job_;
        first.sheets = 1;
        first.pixelsPerInch = 0;
        if (showsBack())
            first.sides = Sides::Both;
        ImageSheetTarget target(size, ppi_);
        SheetRenderer renderer(*page_, first);
        target.sheetDone = [&](int index, const QImage& image) {
            const Face face = SheetPlan(renderer.job()).faceAt(index);
            if (face.sheet == 0)
                (face.back ? back_ : sheet_) = image;
            // The first sheet's sides are all it shows.
            return sheet_.isNull() || (showsBack() && back_.isNull());
        };
        renderer.run(target);
    }
    const SheetLayout fronts = SheetLayout::make(format, ppi_, {});
    outline(sheet_, size, fronts);
    if (showsBack())
        outline(back_, size, SheetLayout::makeBack(format, ppi_, {}, mirrorFor(job_.flip, paperOf(format))));
    sheet_.setDevicePixelRatio(dpr);
    back_.setDevicePixelRatio(dpr);
}

QRectF SheetPreview::placeIn(const QRectF& room, const QImage& image) const
{
    if (image.isNull())
        return {};
    const QSizeF size = image.deviceIndependentSize();
    return QRectF(QPointF(room.center().x() - size.width() / 2, room.center().y() - size.height() / 2), size);
}

QRectF SheetPreview::paperRect() const
{
    return placeIn(slot(false), sheet());
}

QRectF SheetPreview::backPaperRect() const
{
    return showsBack() ? placeIn(slot(true), backSheet()) : QRectF();
}

void SheetPreview::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const std::pair<QRectF, const QImage*> papers[] = {{paperRect(), &sheet_}, {backPaperRect(), &back_}};
    const char* const labels[] = {resources::texts::SideFront, resources::texts::SideBack};
    for (int i = 0; i < 2; ++i) {
        const auto& [paper, image] = papers[i];
        if (paper.isEmpty())
            continue;
        p.fillRect(paper.translated(2, 2), QColor(0, 0, 0, 70));
        p.drawImage(paper.topLeft(), *image);
        p.setPen(QPen(QColor(96, 96, 96), 1));
        p.drawRect(paper.adjusted(-0.5, -0.5, 0.5, 0.5));
        if (!showsBack())
            continue;
        p.setPen(palette().color(QPalette::WindowText));
        const QRectF room = slot(i == 1);
        p.drawText(QRectF(room.left(), paper.bottom() + 4, room.width(), fontMetrics().height()),
                   Qt::AlignHCenter | Qt::AlignTop, QString::fromUtf8(labels[i]));
    }
}

} // namespace print
