// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "resources/ControlIds.h"
#include "ui/DialogTemplate.h"

#include <functional>

class CardFormatCatalog;

namespace print {

class FormatListBox;

// "ようしえらび" (template 157): the list of every card format. OK (or a
// double-click) makes the selected one current; "その他..." adds a format, and the
// list's menu edits or deletes the user's own. Additions, edits and deletions go
// into the catalogue at once and stay even when the dialog is cancelled.
class PaperSelectDlg : public ui::TemplateDialog {
    Q_OBJECT
public:
    static constexpr int kList = ctl::paper::List;
    static constexpr int kOther = ctl::paper::Other;

    explicit PaperSelectDlg(CardFormatCatalog& catalog, QWidget* parent = nullptr);

    // Shows the dialog modally through the provider; QDialog::Accepted or Rejected.
    int run();

    FormatListBox* list() const;

    // Replaces the modal run (tests drive or answer the dialog this way); returns
    // the previous provider. An empty provider restores exec().
    using Provider = std::function<int(PaperSelectDlg&)>;
    static Provider setProvider(Provider provider);

protected:
    void onCommand(int id, ui::Notify code) override;
    void showEvent(QShowEvent* event) override;

private:
    // The selected row, or -1.
    int selectedRow() const;
    void onOk();
    void onOther();
    void onEdit();
    void onDelete();

    static const ui::CommandEntry<PaperSelectDlg> commandTable[];

    CardFormatCatalog& catalog_;
};

} // namespace print
