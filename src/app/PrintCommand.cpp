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
#include "printui/TurnSheetsDlg.h"
#include "print/SheetRenderer.h"
#include "print/SheetTarget.h"
#include "resources/Strings.h"

#include <QDir>
#include <QFileInfo>
#include <QPageSize>
#include <QPrinter>

#include <optional>
#include <utility>

namespace {

using platform::MbButtons;
using platform::MbIcon;

PrintJobWatcher& jobWatcher()
{
    static PrintJobWatcher watcher;
    return watcher;
}

void stop(const char* text, QWidget* parent)
{
    ui::appMessageBox(QString::fromUtf8(text), MbButtons::Ok, MbIcon::Stop, parent);
}

// A card of another size than the format's is cut to it: whether to go on.
bool acceptCardSize(const PmrData& page, const CardFormatCatalog& catalog, QWidget* parent)
{
    return !print::makePrintJob(page, catalog, {}).sizeMismatch
           || ui::appMessageBox(resources::loadString(resources::ids::PrintSizeMismatch), MbButtons::OkCancel,
                                MbIcon::Exclamation, parent)
                  == platform::IdOk;
}

// The printer named after the document, on the format's paper, upright; the
// dialog lets the user change both.
void preparePrinter(QPrinter& printer, const CardFormat& format, const QString& documentPath)
{
    printer.setDocName(print::jobTitle(documentPath));
    printer.setFullPage(true);
    if (format.paperWidth > 0 && format.paperHeight > 0)
        printer.setPageSize(QPageSize(QSizeF(format.paperWidth, format.paperHeight), QPageSize::Millimeter,
                                      QString(), QPageSize::FuzzyMatch));
    printer.setPageOrientation(QPageLayout::Portrait);
}

// The dialog's answer: QDialog::Rejected, Accepted or AdjustPrintDlg::Calibrate.
int runDialog(print::AdjustPrintDlg& dialog, const PmrData& page, const CardFormatCatalog& catalog,
              const QString& documentPath)
{
    dialog.setPreviewJob(&page, print::makePrintJob(page, catalog, {}).job);
    // Lists usually lie beside the card.
    if (dialog.listBox() && !documentPath.isEmpty())
        dialog.listBox()->setStartFolder(QFileInfo(documentPath).absolutePath());
    return dialog.run();
}

// Whether the printer as the dialog left it is to print: it works, and its paper
// holds the cards or the user prints anyway.
bool checkPaper(QPrinter& printer, const CardFormat& format, QWidget* parent)
{
    if (!printer.isValid() || printer.resolution() <= 0) {
        stop(resources::texts::PrintAttachFailed, parent);
        return false;
    }
    // Millimetre 0 of the layout is the paper's edge.
    printer.setFullPage(true);
    const QPageLayout paper = printer.pageLayout();
    return print::formatFitsPaper(format, paper.pageSize().size(QPageSize::Millimeter), paper.orientation())
           || ui::appMessageBox(resources::loadString(resources::ids::PrintPaperTooSmall), MbButtons::YesNo,
                                MbIcon::Exclamation, parent)
                  == platform::IdYes;
}

print::PrintOptions chosenOptions(const print::AdjustPrintDlg& dialog, const QPrinter& printer)
{
    print::PrintOptions options;
    options.adjustX = platform::appSettings().adjustX();
    options.adjustY = platform::appSettings().adjustY();
    options.onlyOne = dialog.onlyOne();
    options.start = dialog.startPosition();
    options.list = dialog.list();
    options.copies = printer.copyCount();
    options.sides = dialog.sides();
    options.flip = dialog.flip();
    // The dialog filed the backs' offsets under the printer, and as the backs' own.
    options.backAdjustX = platform::appSettings().backAdjustment().x();
    options.backAdjustY = platform::appSettings().backAdjustment().y();
    return options;
}

// The job of the options; nothing, once the user is told, when they cannot print.
std::optional<print::SheetJob> jobToRun(const PmrData& page, const CardFormatCatalog& catalog,
                                        const print::PrintOptions& options, QWidget* parent)
{
    print::PrintJob made = print::makePrintJob(page, catalog, options);
    if (made.startOutside) {
        ui::appMessageBox(resources::formatString(resources::ids::PrintStartOutside, QString::number(made.positions)),
                          MbButtons::Ok, MbIcon::Exclamation, parent);
        return std::nullopt;
    }
    if (!made.listProblem.isEmpty()) {
        ui::appMessageBox(made.listProblem, MbButtons::Ok, MbIcon::Exclamation, parent);
        return std::nullopt;
    }
    if (made.noBack) {
        ui::appMessageBox(QString::fromUtf8(resources::texts::PrintNoBack), MbButtons::Ok, MbIcon::Exclamation, parent);
        return std::nullopt;
    }
    if (made.backSizeMismatch
        && ui::appMessageBox(QString::fromUtf8(resources::texts::PrintBackSizeMismatch), MbButtons::OkCancel,
                             MbIcon::Exclamation, parent)
               != platform::IdOk)
        return std::nullopt;
    return std::move(made.job);
}

// Prints the job on the printer while the progress window counts the cards;
// whether every sheet was printed.
bool runJob(const PmrData& page, const print::SheetJob& job, QPrinter& printer, QWidget* parent)
{
    // The job prints every copy as a sheet of its own, so the driver makes none.
    printer.setCopyCount(1);
    print::PrintProgressDlg progress(parent);
    progress.setStatus(QString::fromUtf8(resources::texts::PrintStarting));
    progress.setTotal(platform::saturate(print::SheetPlan(job).totalCards()));
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
    renderer.pictureFailed = [parent](int) { stop(resources::texts::PictureFailed, parent); };
    if (jobWatcher())
        jobWatcher()(job);

    print::PrinterSheetTarget target(&printer);
    const print::SheetRenderer::Result result = renderer.run(target);
    switch (result) {
    case print::SheetRenderer::Result::DocumentFailed:
        stop(resources::texts::PrintCannotStart, parent);
        return false; // the progress window closes with its object
    case print::SheetRenderer::Result::SheetFailed:
        stop(resources::texts::PrintCannotStart, parent);
        break;
    case print::SheetRenderer::Result::Done:
    case print::SheetRenderer::Result::Cancelled:
        break;
    }
    progress.setStatus(QString::fromUtf8(resources::texts::PrintFinished));
    return result == print::SheetRenderer::Result::Done;
}

// A file's name with the backs' suffix before its own: the backs printed by
// hand into a file do not overwrite the fronts.
QString backFileName(const QString& path)
{
    const QFileInfo file(path);
    const QString suffix = file.suffix().isEmpty() ? QString() : u'.' + file.suffix();
    return file.dir().filePath(file.completeBaseName() + QString::fromUtf8(resources::texts::PrintBackFileSuffix) + suffix);
}

// Between the fronts and the backs printed by hand: whether the user turned the
// sheets over and put them back. The backs are a job of their own name, and go
// to a file of their own when printed into one.
bool turnSheets(const CardFormat& format, QPrinter& printer, QWidget* parent)
{
    print::TurnSheetsDlg turn(print::paperOf(format), parent);
    if (turn.run() != QDialog::Accepted)
        return false;
    parent->repaint();
    if (!printer.outputFileName().isEmpty())
        printer.setOutputFileName(backFileName(printer.outputFileName()));
    // A queue that writes files names them after the job.
    printer.setDocName(printer.docName() + QString::fromUtf8(resources::texts::PrintBackFileSuffix));
    return true;
}

// Both sides turned by hand: every front, then, once the user has turned the
// sheets over and put them back, every back as a job of its own.
void runByHand(const PmrData& page, print::SheetJob job, QPrinter& printer, QWidget* parent)
{
    job.sides = print::Sides::Front;
    if (!runJob(page, job, printer, parent) || !turnSheets(job.format, printer, parent))
        return;
    job.sides = print::Sides::Back;
    runJob(page, job, printer, parent);
}

// The current format's calibration sheet instead of the card, without the
// offsets, on the sides chosen: the back's rulers measure the back's offsets.
void printCalibration(QPrinter& printer, const CardFormat& format, const print::AdjustPrintDlg& dialog, QWidget* parent)
{
    const print::CalibrationSheet sheet(format);
    const print::Flip flip = dialog.flip();
    print::PrinterSheetTarget target(&printer);
    bool started = true;
    switch (dialog.sides()) {
    case print::Sides::Front: started = sheet.print(target); break;
    case print::Sides::Back: started = sheet.printSide(target, true, flip); break;
    case print::Sides::Both:
        if (flip != print::Flip::Manual) {
            printer.setDuplex(flip == print::Flip::ShortEdge ? QPrinter::DuplexShortSide : QPrinter::DuplexLongSide);
            started = sheet.printBothSides(target, flip);
        } else if ((started = sheet.printSide(target, false, flip)) && turnSheets(format, printer, parent)) {
            print::PrinterSheetTarget backs(&printer);
            started = sheet.printSide(backs, true, flip);
        }
        break;
    }
    if (!started)
        stop(resources::texts::PrintCannotStart, parent);
}

// Prints the job: both sides over the printer's duplex unit, or by hand.
void printSides(const PmrData& page, const print::SheetJob& job, QPrinter& printer, QWidget* parent)
{
    if (job.sides == print::Sides::Both && job.flip == print::Flip::Manual) {
        printer.setDuplex(QPrinter::DuplexNone);
        runByHand(page, job, printer, parent);
        return;
    }
    // One side a sheet keeps what the dialog chose.
    if (job.sides == print::Sides::Both)
        printer.setDuplex(job.flip == print::Flip::ShortEdge ? QPrinter::DuplexShortSide : QPrinter::DuplexLongSide);
    runJob(page, job, printer, parent);
}

} // namespace

PrintJobWatcher setPrintJobWatcher(PrintJobWatcher watcher)
{
    return std::exchange(jobWatcher(), std::move(watcher));
}

void printCard(const PmrData& page, const QString& documentPath, QWidget* parent)
{
    const CardFormatCatalog& catalog = CardFormatCatalog::instance();
    if (!acceptCardSize(page, catalog, parent))
        return;
    const CardFormat format = catalog.currentFormat();
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer, format, documentPath);
    print::AdjustPrintDlg dialog(&printer, parent);
    const int chosen = runDialog(dialog, page, catalog, documentPath);
    if (chosen == QDialog::Rejected)
        return;
    parent->repaint(); // the area the dialog covered, before the job holds the window
    if (!checkPaper(printer, format, parent))
        return;
    if (chosen == print::AdjustPrintDlg::Calibrate) {
        printCalibration(printer, format, dialog, parent);
        return;
    }
    if (const std::optional<print::SheetJob> job = jobToRun(page, catalog, chosenOptions(dialog, printer), parent))
        printSides(page, *job, printer, parent);
}
