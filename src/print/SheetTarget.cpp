// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/SheetTarget.h"

#include "platform/Dc.h"

#include <QPageLayout>
#include <QPagedPaintDevice>

#include <cmath>

namespace print {

void setImageResolution(QImage& image, int pixelsPerInch)
{
    if (pixelsPerInch <= 0)
        return;
    const int dpm = int(std::lround(pixelsPerInch / 0.0254));
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
}

// ---------------------------------------------------------------- paged devices

PagedSheetTarget::PagedSheetTarget(QPagedPaintDevice* device) : device_(device) {}

PagedSheetTarget::~PagedSheetTarget() = default;

int PagedSheetTarget::pixelsPerInch() const
{
    return device_ ? device_->logicalDpiX() : 0;
}

bool PagedSheetTarget::beginDocument()
{
    if (!device_)
        return false;
    dc_ = std::make_unique<platform::Dc>(static_cast<QPaintDevice*>(device_));
    if (!dc_->isValid()) {
        dc_.reset();
        return false;
    }
    return true;
}

platform::Dc* PagedSheetTarget::beginSheet(int index)
{
    if (!dc_)
        return nullptr;
    // The first page comes with the document.
    if (index > 0 && !device_->newPage())
        return nullptr;
    return dc_.get();
}

void PagedSheetTarget::endDocument()
{
    dc_.reset(); // ends the painter, which finishes the document
}

void PagedSheetTarget::abortDocument()
{
    dc_.reset();
}

QRect PagedSheetTarget::sheetArea() const
{
    if (!device_)
        return {};
    const int ppi = pixelsPerInch();
    const QPageLayout layout = device_->pageLayout();
    const QRect paper = layout.fullRectPixels(ppi);
    const QPoint corner = dc_ ? dc_->physicalOffset() : layout.paintRectPixels(ppi).topLeft();
    return paper.translated(-corner);
}

// ---------------------------------------------------------------- images

ImageSheetTarget::ImageSheetTarget(QSize size, int pixelsPerInch, QPoint physicalOffset)
    : size_(size), ppi_(pixelsPerInch), physicalOffset_(physicalOffset)
{
}

ImageSheetTarget::~ImageSheetTarget() = default;

bool ImageSheetTarget::beginDocument()
{
    sheets_.clear();
    aborted_ = handlerFailed_ = false;
    return !size_.isEmpty() && ppi_ > 0;
}

platform::Dc* ImageSheetTarget::beginSheet(int index)
{
    dc_.reset();
    index_ = index;
    if (handlerFailed_)
        return nullptr;
    current_ = QImage(size_, QImage::Format_RGB32);
    if (current_.isNull())
        return nullptr;
    current_.fill(Qt::white);
    setImageResolution(current_, ppi_);
    dc_ = std::make_unique<platform::Dc>(&current_);
    dc_->setPhysicalOffset(physicalOffset_);
    return dc_.get();
}

void ImageSheetTarget::endSheet()
{
    dc_.reset();
    if (!current_.isNull()) {
        if (sheetDone)
            handlerFailed_ = !sheetDone(index_, current_);
        else
            sheets_.push_back(std::move(current_));
    }
    current_ = QImage();
}

void ImageSheetTarget::endDocument()
{
    dc_.reset();
}

void ImageSheetTarget::abortDocument()
{
    dc_.reset();
    current_ = QImage();
    aborted_ = true;
}

} // namespace print
