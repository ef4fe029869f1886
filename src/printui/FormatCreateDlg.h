// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "print/CardFormat.h"
#include "resources/ControlIds.h"
#include "printui/FormatDiagram.h"
#include "platform/MessageKinds.h"
#include "ui/DialogTemplate.h"

#include <QString>

#include <functional>
#include <optional>

class QComboBox;
class QKeyEvent;
class QLineEdit;

namespace print {

// "フォーマットデータをつくる" (template 165): edits one card format on its own copy,
// with paper-size presets and a diagram of the dimension being typed. OK refuses
// an empty name and a layout that does not fit on the sheet.
class FormatCreateDlg : public ui::TemplateDialog {
    Q_OBJECT
public:
    enum Id {
        kName = ctl::paper::Name, kPreset = ctl::paper::Preset,
        kPaperWidth = ctl::paper::PaperWidth, kPaperHeight = ctl::paper::PaperHeight,
        kColumns = ctl::paper::Columns, kRows = ctl::paper::Rows,
        kCardWidth = ctl::paper::CardWidth, kCardHeight = ctl::paper::CardHeight,
        kLeftMargin = ctl::paper::LeftMargin, kTopMargin = ctl::paper::TopMargin,
        kGapX = ctl::paper::GapX, kGapY = ctl::paper::GapY, kDiagram = ctl::paper::Diagram,
    };
    static constexpr int kMaxNameBytes = 30;

    // A new format: the first built-in format without its name.
    explicit FormatCreateDlg(QWidget* parent = nullptr);
    // An edit of f.
    explicit FormatCreateDlg(const CardFormat& f, QWidget* parent = nullptr);

    // Shows the dialog modally through the provider; QDialog::Accepted or Rejected.
    int run();
    // The format entered; valid after OK.
    const CardFormat& format() const { return format_; }

    QLineEdit* field(int id) const;
    QComboBox* presetBox() const;
    FormatDiagram* diagram() const;

    // Replaces the modal run (tests drive the dialog this way); returns the previous
    // provider. An empty provider restores exec().
    using Provider = std::function<int(FormatCreateDlg&)>;
    static Provider setProvider(Provider provider);

    static CardFormat newFormat();

protected:
    void onCommand(int id, ui::Notify code) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void load(const CardFormat& f);
    void onOk();
    void onPresetChosen();
    void onPaperWidthChanged() { dropPresetIfChanged(kPaperWidth); }
    void onPaperHeightChanged() { dropPresetIfChanged(kPaperHeight); }
    // The preset goes once the box no longer holds its width (height).
    void dropPresetIfChanged(int id);
    void writePreset(int row);
    // The numbers as typed, 0 for a box without an integer, for the diagram.
    void updateDiagram();
    // The box's integer, or nothing when it holds none.
    std::optional<int> number(int id) const;
    // Shows a refusal; focusId, unless 0, takes the focus with its text selected.
    void refuse(const QString& text, int focusId, platform::MbIcon icon);

    static const ui::CommandEntry<FormatCreateDlg> commandTable[];

    CardFormat format_;
};

} // namespace print
