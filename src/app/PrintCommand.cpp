// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PrintCommand.h"

#include "model/PmrData.h"
#include "platform/AppSettings.h"
#include "platform/GdiMath.h"
#include "ui/MessageBox.h"
#include "printui/AdjustPrintDlg.h"
#include "print/CalibrationSheet.h"
#include "print/CardFormatCatalog.h"
#include "print/PaperFit.h"
#include "print/PrintJob.h"
#include "printui/PrintListBox.h"
#include "printui/PrintProgressDlg.h"
#include "printui/PrinterSheetTarget.h"
#include "print/SheetRenderer.h"
#include "print/SheetTarget.h"
#include "resources/Strings.h"

#include <QFileInfo>
#include <QPageSize>
#include <QPrinter>

void printCard(const PmrData& page, const QString& documentPath, QWidget* parent)
{
    using platform::MbButtons;
    using platform::MbIcon;
    const auto stop = [parent](const char* text) {
        ui::appMessageBox(QString::fromUtf8(text), MbButtons::Ok, MbIcon::Stop, parent);
    };

    const CardFormatCatalog& catalog = CardFormatCatalog::instance();
    print::PrintOptions options;
    if (print::makePrintJob(page, catalog, options).sizeMismatch
        && ui::appMessageBox(resources::loadString(resources::ids::PrintSizeMismatch), MbButtons::OkCancel,
                                   MbIcon::Exclamation, parent)
               != platform::IdOk)
        return;

    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(print::jobTitle(documentPath));
    printer.setFullPage(true);
    // The dialog starts with the format's paper, upright; the user may change both.
    const CardFormat format = catalog.currentFormat();
    if (format.paperWidth > 0 && format.paperHeight > 0)
        printer.setPageSize(QPageSize(QSizeF(format.paperWidth, format.paperHeight), QPageSize::Millimeter,
                                      QString(), QPageSize::FuzzyMatch));
    printer.setPageOrientation(QPageLayout::Portrait);
    print::AdjustPrintDlg dialog(&printer, parent);
    dialog.setPreviewJob(&page, print::makePrintJob(page, catalog, options).job);
    // Lists usually lie beside the card.
    if (dialog.listBox() && !documentPath.isEmpty())
        dialog.listBox()->setStartFolder(QFileInfo(documentPath).absolutePath());
    const int chosen = dialog.run();
    if (chosen == QDialog::Rejected)
        return;
    parent->repaint(); // the area the dialog covered, before the job holds the window

    if (!printer.isValid() || printer.resolution() <= 0) {
        stop(resources::texts::PrintAttachFailed);
        return;
    }
    // Millimetre 0 of the layout is the paper's edge.
    printer.setFullPage(true);
    const QPageLayout paper = printer.pageLayout();
    if (!print::formatFitsPaper(format, paper.pageSize().size(QPageSize::Millimeter), paper.orientation())
        && ui::appMessageBox(resources::loadString(resources::ids::PrintPaperTooSmall), MbButtons::YesNo,
                             MbIcon::Exclamation, parent)
               != platform::IdYes)
        return;

    if (chosen == print::AdjustPrintDlg::Calibrate) {
        // The current format's calibration sheet instead of the card, without the offsets.
        print::PrinterSheetTarget target(&printer);
        if (!print::CalibrationSheet(catalog.format(catalog.current())).print(target))
            stop(resources::texts::PrintCannotStart);
        return;
    }

    options.adjustX = platform::appSettings().adjustX();
    options.adjustY = platform::appSettings().adjustY();
    options.onlyOne = dialog.onlyOne();
    options.start = dialog.startPosition();
    options.list = dialog.list();
    // The job prints every copy as a sheet of its own, so the driver makes none.
    options.copies = printer.copyCount();
    printer.setCopyCount(1);
    const print::PrintJob made = print::makePrintJob(page, catalog, options);
    if (made.startOutside) {
        ui::appMessageBox(resources::formatString(resources::ids::PrintStartOutside, QString::number(made.positions)),
                          MbButtons::Ok, MbIcon::Exclamation, parent);
        return;
    }
    if (!made.listProblem.isEmpty()) {
        ui::appMessageBox(made.listProblem, MbButtons::Ok, MbIcon::Exclamation, parent);
        return;
    }
    const print::SheetRenderer::Job& job = made.job;

    print::PrintProgressDlg progress(parent);
    progress.setStatus(QString::fromUtf8(resources::texts::PrintStarting));
    progress.setTotal(platform::saturate(print::SheetRenderer::totalCards(job)));
    progress.showProgress(0);
    progress.showNow();

    print::SheetRenderer renderer(page, job);
    renderer.beforeCard = [&progress](const print::SheetRenderer::Progress& p) {
        progress.setStatus(print::PrintProgressDlg::cardStatus(p.sheet, p.sheets, p.card, p.cardsPerSheet));
        return true;
    };
    renderer.afterCard = [&progress](const print::SheetRenderer::Progress& p) {
        progress.showProgress(platform::saturate(p.printed));
    };
    renderer.pictureFailed = [&stop](int) { stop(resources::texts::PictureFailed); };

    print::PrinterSheetTarget target(&printer);
    switch (renderer.run(target)) {
    case print::SheetRenderer::Result::DocumentFailed:
        stop(resources::texts::PrintCannotStart);
        return; // the progress window closes with its object
    case print::SheetRenderer::Result::SheetFailed:
        stop(resources::texts::PrintCannotStart);
        break;
    case print::SheetRenderer::Result::Done:
    case print::SheetRenderer::Result::Cancelled:
        break;
    }
    progress.setStatus(QString::fromUtf8(resources::texts::PrintFinished));
}
