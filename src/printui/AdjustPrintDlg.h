// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "resources/ControlIds.h"
#include "print/SheetRenderer.h"

#include <QPrintDialog>
#include <QString>

#include <memory>

class QLineEdit;
class QCheckBox;
class QPushButton;
class PmrData;

namespace ui {
class TemplateDialog;
}

namespace print {

class CardList;
class PrintListBox;
class SheetPreview;
class SidesPanel;

// The print dialog with the fine-adjustment panel of template 150 on its right:
// X and Y offsets in whole millimetres (the settings' print adjustments) and
// "一つだけ", print one card a sheet, and "はじめのいち", the position of the
// first card on the first sheet. The sides printed, the turn of the sheets and
// the backs' own offsets are a SidesPanel. Beside them a preview shows the
// first sheet as the boxes stand, and below it the list of people to print for.
class AdjustPrintDlg : public QPrintDialog {
    Q_OBJECT
public:
    static constexpr int kOffsetXId = ctl::printing::OffsetX;
    static constexpr int kOffsetYId = ctl::printing::OffsetY;
    static constexpr int kOnlyOneId = ctl::printing::OnlyOne;
    static constexpr int kStartId = ctl::printing::Start;
    static constexpr int kCalibrateId = ctl::printing::Calibrate;
    static constexpr int kBackOffsetXId = ctl::printing::BackOffsetX;
    static constexpr int kBackOffsetYId = ctl::printing::BackOffsetY;
    // run()'s result when "ちょうせいシート" closed the dialog: print the
    // calibration sheet on the chosen printer instead of the card.
    static constexpr int Calibrate = 2;

    // For printing: no selection, no page numbers, no current page. "一つだけ"
    // starts unchecked, the offsets show the settings' values.
    explicit AdjustPrintDlg(QPrinter* printer, QWidget* parent = nullptr);
    ~AdjustPrintDlg() override;

    // Shows the dialog modally (through ui::runPrintDialog and its provider) and
    // returns QDialog::Accepted, Rejected or Calibrate. However it closes, the offsets typed,
    // the fronts' and the backs', are stored in the settings under the printer and
    // "一つだけ" and the start are read; OK also writes the offsets to the
    // settings store at once.
    int run();

    bool onlyOne() const { return onlyOne_; }
    // The sides chosen (always the front for a card without a back), the turn
    // and the backs' offsets as the boxes stand.
    Sides sides() const;
    Flip flip() const;
    QPoint backOffset() const;
    SidesPanel* sidesPanel() const { return sides_; }
    // 1 when the box is empty; the dialog remembers it while it lives.
    int startPosition() const { return start_; }
    // The panel beside the standard dialog; null when it could not be made.
    QWidget* panel() const { return panel_; }
    // The panel's width: what the dialog gained.
    int panelWidth() const { return panelSize_.width(); }
    QLineEdit* offsetXEdit() const;
    QLineEdit* offsetYEdit() const;
    QCheckBox* onlyOneBox() const;
    QLineEdit* startEdit() const;
    QPushButton* calibrateButton() const;
    SheetPreview* preview() const { return preview_; }
    PrintListBox* listBox() const { return listBox_; }
    // The list chosen in the panel; null: none.
    std::shared_ptr<const CardList> list() const;

    // The card and the job the preview shows; the panel's offsets, start and
    // "一つだけ" replace the job's as they are typed, so do the sides. Without a
    // call it shows the catalogue's current format, empty, and only the front
    // can be chosen; with it, the sides when the page has a back to print. The
    // page must outlive the dialog.
    void setPreviewJob(const PmrData* page, const SheetRenderer::Job& job);

    // A box's text as a signed whole number: blanks around it and one sign are
    // allowed; anything else, or a value beyond 32 bits, gives 0.
    static int readOffset(const QString& text);

    // The printer whose offsets the boxes show; choosing another one in the
    // dialog shows its remembered offsets, of the fronts and the backs.
    const QString& printerName() const { return printerName_; }
    void showPrinter(const QString& name);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildPanel();
    void fillPanel();
    void readPanel();
    void placePanel();
    void watchPrinterChoice();
    void buildPreview();
    void widenPreview();
    void updatePreview();

    // The emptied template dialog; its controls live in panel_.
    std::unique_ptr<ui::TemplateDialog> template_;
    QWidget* panel_ = nullptr;
    SheetPreview* preview_ = nullptr;
    PrintListBox* listBox_ = nullptr;
    SidesPanel* sides_ = nullptr;
    SheetRenderer::Job previewJob_;
    QSize panelSize_;
    bool onlyOne_ = false;
    int start_ = 1;
    bool calibrate_ = false;
    QString printerName_;
};

} // namespace print
