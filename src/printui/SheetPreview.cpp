// SPDX-License-Identifier: GPL-3.0-or-later
#include "printui/SheetPreview.h"

#include "platform/GdiMath.h"
#include "print/SheetLayout.h"
#include "print/SheetTarget.h"

#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace print {

namespace {

constexpr int kMargin = 4; // room for the paper's shadow

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

void SheetPreview::render() const
{
    dirty_ = false;
    sheet_ = QImage();
    ppi_ = 0;
    const CardFormat& format = job_.format;
    const qreal dpr = devicePixelRatioF();
    const qreal room = std::max(0, width() - 2 * kMargin) * dpr;
    const qreal roomHeight = std::max(0, height() - 2 * kMargin) * dpr;
    if (format.paperWidth <= 0 || format.paperHeight <= 0 || room < 1 || roomHeight < 1)
        return;
    // The largest whole resolution at which the paper fits.
    const qreal pixelsPerMm = std::min(room / format.paperWidth, roomHeight / format.paperHeight);
    ppi_ = std::max(1, int(std::floor(pixelsPerMm * 25.4)));
    const QSize size(std::max(1, platform::mmToPixels(format.paperWidth, ppi_)),
                     std::max(1, platform::mmToPixels(format.paperHeight, ppi_)));

    // The job itself draws the sheet, so the preview cannot show other positions
    // or other offsets than the print.
    if (page_) {
        SheetRenderer::Job first = job_;
        first.sheets = 1;
        first.pixelsPerInch = 0;
        ImageSheetTarget target(size, ppi_);
        SheetRenderer renderer(*page_, first);
        if (renderer.run(target) == SheetRenderer::Result::Done && !target.sheets().empty())
            sheet_ = target.sheets().front();
    }
    if (sheet_.isNull()) {
        sheet_ = QImage(size, QImage::Format_RGB32);
        sheet_.fill(Qt::white);
    }

    // Every position where it lies without the offsets.
    const SheetLayout layout = SheetLayout::make(format, ppi_, {});
    QPainter p(&sheet_);
    QPen pen(QColor(0, 0, 0, 110), 1, Qt::DotLine);
    pen.setCosmetic(true);
    p.setPen(pen);
    for (int row = 0; row < layout.rows; ++row)
        for (int column = 0; column < layout.columns; ++column)
            p.drawRect(QRectF(qreal(layout.x(column)) + 0.5, qreal(layout.y(row)) + 0.5,
                              std::max(0, layout.cardWidth - 1), std::max(0, layout.cardHeight - 1)));
    p.end();
    sheet_.setDevicePixelRatio(dpr);
}

QRectF SheetPreview::paperRect() const
{
    const QImage& image = sheet();
    if (image.isNull())
        return {};
    const QSizeF size = image.deviceIndependentSize();
    return QRectF(QPointF((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

void SheetPreview::paintEvent(QPaintEvent*)
{
    const QRectF paper = paperRect();
    if (paper.isEmpty())
        return;
    QPainter p(this);
    p.fillRect(paper.translated(2, 2), QColor(0, 0, 0, 70));
    p.drawImage(paper.topLeft(), sheet_);
    p.setPen(QPen(QColor(96, 96, 96), 1));
    p.drawRect(paper.adjusted(-0.5, -0.5, 0.5, 0.5));
}

} // namespace print
