#include "print/PrintJob.h"

#include "model/PmrData.h"
#include "print/CardFormatCatalog.h"

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
    job.sheets = options.copies;
    result.sizeMismatch = page.cardWidth != job.format.cardWidth || page.cardHeight != job.format.cardHeight;
    return result;
}

} // namespace print
