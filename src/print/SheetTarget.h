// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <functional>
#include <memory>
#include <vector>

class QPagedPaintDevice;

namespace platform {
class Dc;
}

namespace print {

// Records pixelsPerInch in image (as dots per metre); nothing when it is not positive.
void setImageResolution(QImage& image, int pixelsPerInch);

// Where the sheets of a print job go: a document of one page per sheet.
class SheetTarget {
public:
    virtual ~SheetTarget() = default;

    // Device pixels per inch of the sheets.
    virtual int pixelsPerInch() const = 0;
    // Starts the document; false when it cannot be started.
    virtual bool beginDocument() = 0;
    // Starts sheet `index` (0, 1, …) and returns its drawing context, or null when
    // the sheet cannot be started. The context's physical offset is the corner of
    // the printable area on the paper.
    virtual platform::Dc* beginSheet(int index) = 0;
    virtual void endSheet() = 0;
    virtual void endDocument() = 0;
    // Ends a document that failed or was cancelled.
    virtual void abortDocument() = 0;
    // What of the current sheet can show, in its context's device coordinates.
    virtual QRect sheetArea() const = 0;
};

// A printer or PDF writer: one page per sheet. With the full-page layout the
// device's origin is the paper's corner; otherwise it is the printable area's,
// and its physical offset says where that lies.
class PagedSheetTarget : public SheetTarget {
public:
    explicit PagedSheetTarget(QPagedPaintDevice* device);
    ~PagedSheetTarget() override;

    int pixelsPerInch() const override;
    bool beginDocument() override;
    platform::Dc* beginSheet(int index) override;
    void endSheet() override {}
    void endDocument() override;
    void abortDocument() override;
    QRect sheetArea() const override;

private:
    QPagedPaintDevice* device_;
    std::unique_ptr<platform::Dc> dc_;
};

// Sheets as images, white, of one size and resolution; for previews and tests.
// physicalOffset pretends the image is a printable area lying at that offset
// on the paper.
class ImageSheetTarget : public SheetTarget {
public:
    ImageSheetTarget(QSize size, int pixelsPerInch, QPoint physicalOffset = {});
    ~ImageSheetTarget() override;

    int pixelsPerInch() const override { return ppi_; }
    bool beginDocument() override;
    platform::Dc* beginSheet(int index) override;
    void endSheet() override;
    void endDocument() override;
    void abortDocument() override;
    QRect sheetArea() const override { return QRect(QPoint(0, 0), size_); }

    // The finished sheets, in order; kept here unless a sheet handler takes them.
    const std::vector<QImage>& sheets() const { return sheets_; }
    // Receives each finished sheet (0-based index) instead of keeping it, so long
    // jobs hold one sheet at a time. Returning false fails the next sheet.
    std::function<bool(int index, const QImage& sheet)> sheetDone;
    bool documentAborted() const { return aborted_; }

private:
    QSize size_;
    int ppi_;
    QPoint physicalOffset_;
    QImage current_;
    std::unique_ptr<platform::Dc> dc_;
    std::vector<QImage> sheets_;
    int index_ = 0;
    bool handlerFailed_ = false;
    bool aborted_ = false;
};

} // namespace print
