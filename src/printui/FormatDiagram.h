// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "print/CardFormat.h"

#include <QWidget>

namespace print {

// The picture beside the format fields: the sheet at scale with its cards,
// margins and gaps, drawn from the numbers as they are typed, with the
// dimension being edited marked in red.
class FormatDiagram : public QWidget {
    Q_OBJECT
public:
    enum class Mark { None, PaperWidth, PaperHeight, CardWidth, CardHeight, Counts,
                      LeftMargin, TopMargin, GapX, GapY };

    static constexpr int kWidth = 160;
    static constexpr int kHeight = 205;

    explicit FormatDiagram(QWidget* parent = nullptr);

    void setFormat(const CardFormat& f);
    const CardFormat& format() const { return format_; }
    void setMark(Mark mark);
    Mark mark() const { return mark_; }

    QSize sizeHint() const override { return {kWidth, kHeight}; }

    // Where the sheet lies in the widget, in pixels; empty when the sheet has no area.
    QRectF sheetRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CardFormat format_;
    Mark mark_ = Mark::None;
};

} // namespace print
