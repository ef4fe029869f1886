// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "print/SheetRenderer.h"

#include <QImage>
#include <QWidget>

class PmrData;

namespace print {

// A small picture of the first sheet a job prints: the paper, every position of
// the format outlined where it lies without the offsets, and the cards the job
// puts down, drawn by the job itself at the preview's resolution with its
// offsets, start position and "一つだけ". A job that prints backs shows the
// first sheet's back beside it, as it lies once the sheet is turned (the first
// back page the job prints), the two labelled "おもて" and "うら".
class SheetPreview : public QWidget {
    Q_OBJECT
public:
    explicit SheetPreview(QWidget* parent = nullptr);

    // The card to show; null shows the positions only. The page must outlive the
    // preview or the next call.
    void setPage(const PmrData* page);
    // Copies, a list and the like only matter as far as the first sheet shows them.
    void setJob(const SheetRenderer::Job& job);
    const SheetRenderer::Job& job() const { return job_; }

    // The sheet as last drawn, in device pixels, and its resolution; made on demand.
    const QImage& sheet() const;
    int pixelsPerInch() const;
    // Where the paper lies in the widget (logical pixels).
    QRectF paperRect() const;
    // Whether the back shows; its picture, null when it does not, and its place.
    bool showsBack() const { return job_.sides != Sides::Front; }
    const QImage& backSheet() const;
    QRectF backPaperRect() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void render() const;
    // The room of one sheet: the whole widget, or a half above its label.
    QRectF slot(bool back) const;
    QRectF placeIn(const QRectF& room, const QImage& image) const;

    const PmrData* page_ = nullptr;
    SheetRenderer::Job job_;
    mutable QImage sheet_;
    mutable QImage back_;
    mutable int ppi_ = 0;
    mutable bool dirty_ = true;
};

} // namespace print
