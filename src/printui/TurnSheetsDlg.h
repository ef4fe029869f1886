// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "print/SheetLayout.h"

#include <QDialog>
#include <QSize>

#include <functional>

class QLabel;
class QPushButton;

namespace print {

// A picture of the turn between the fronts and the backs printed by hand: the
// printed sheet with a red mark in its top left corner, and the same sheet
// turned over as the backs are laid out (mirrorFor(Flip::Manual, paper)), the
// mark seen through it, the top edge to feed first marked.
class TurnPicture : public QWidget {
    Q_OBJECT
public:
    explicit TurnPicture(QSize paperMm, QWidget* parent = nullptr);
    Mirror mirror() const { return mirror_; }
    // Where the front and the turned sheet lie in the widget.
    QRectF sheetRect(bool turned) const;
    QSize sizeHint() const override { return {320, 170}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSizeF paper_;
    Mirror mirror_;
};

// The message between the fronts and the backs of a job turned by hand: take
// the printed sheets, turn them over and put them back in the tray, with a
// picture. "いんさつする" goes on to the backs, "やめる" prints none.
class TurnSheetsDlg : public QDialog {
    Q_OBJECT
public:
    explicit TurnSheetsDlg(QSize paperMm, QWidget* parent = nullptr);

    // Shows the dialog modally through the provider; QDialog::Accepted or Rejected.
    int run();

    TurnPicture* picture() const { return picture_; }
    QLabel* message() const { return message_; }
    QPushButton* printButton() const { return print_; }
    QPushButton* cancelButton() const { return cancel_; }

    // Replaces the modal run (tests answer the dialog this way); returns the
    // previous provider. An empty provider restores exec().
    using Provider = std::function<int(TurnSheetsDlg&)>;
    static Provider setProvider(Provider provider);

private:
    TurnPicture* picture_ = nullptr;
    QLabel* message_ = nullptr;
    QPushButton* print_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

} // namespace print
