// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/PrintJob.h"

#include "model/PmrData.h"
#include "print/CardFormatCatalog.h"
#include "print/CardList.h"
#include "resources/Strings.h"

#include <QFileInfo>

namespace print {

PrintJob makePrintJob(const PmrData& page, const CardFormatCatalog& catalog, const PrintOptions& options)
{
    PrintJob result;
    const int index = options.formatIndex >= 0 && options.formatIndex < catalog.count() ? options.formatIndex
                                                                                        : catalog.current();
    SheetRenderer::Job& job = result.job;
    job.format = catalog.format(index);
    job.pixelsPerInch = options.pixelsPerInch;
    job.adjustX = options.adjustX;
    job.adjustY = options.adjustY;
    job.onlyOne = options.onlyOne;
    job.start = options.start;
    job.sheets = options.copies;
    job.copies = options.copies;
    job.list = options.list;
    job.sides = options.sides;
    job.flip = options.flip;
    job.backAdjustX = options.backAdjustX;
    job.backAdjustY = options.backAdjustY;
    const bool front = options.sides != Sides::Back;
    const PmrData* back = options.sides != Sides::Front ? page.storedBack() : nullptr;
    result.noBack = options.sides != Sides::Front && !back;
    if (job.list) {
        job.sheets = SheetPlan(job).sheets();
        result.listProblem = front ? job.list->problemFor(page) : QString();
        if (result.listProblem.isEmpty() && back)
            result.listProblem = job.list->problemFor(*back);
    }
    result.pages = SheetPlan(job).pages();
    const CardFormat& f = job.format;
    result.positions = f.columns > 0 && f.rows > 0 ? std::int64_t(f.columns) * f.rows : 0;
    result.startOutside = options.start < 1 || (result.positions > 0 && options.start > result.positions);
    result.sizeMismatch = page.cardWidth != job.format.cardWidth || page.cardHeight != job.format.cardHeight;
    if (back) {
        const QSize size(back->cardWidth, back->cardHeight);
        const bool turned = backTurn(QSize(page.cardWidth, page.cardHeight), size, Mirror::LeftRight) != Turn::None;
        result.backSizeMismatch = (turned ? size.transposed() : size) != QSize(f.cardWidth, f.cardHeight);
    }
    return result;
}

QString jobTitle(const QString& documentPath)
{
    const QString name = QFileInfo(documentPath).fileName();
    return name.isEmpty() ? QString::fromUtf8(resources::texts::PrintUntitled) : name;
}

} // namespace print
