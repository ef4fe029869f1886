// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "print/SheetLayout.h"
#include "print/SheetPlan.h"

#include <QObject>
#include <QPoint>

class QComboBox;
class QLineEdit;
class QRadioButton;

namespace ui {
class TemplateDialog;
}

namespace print {

// The sides part of the print dialog's panel: "おもてだけ", "うらだけ" or
// "りょうめん", how the sheets are turned between the sides, and the offsets
// of the backs in whole millimetres. It drives controls of the panel's
// template; any of them may be missing.
class SidesPanel : public QObject {
    Q_OBJECT
public:
    explicit SidesPanel(const ui::TemplateDialog& controls, QObject* parent = nullptr);

    Sides sides() const;
    Flip flip() const;
    // The back offset boxes read like the front ones (AdjustPrintDlg::readOffset).
    QPoint backOffset() const;
    bool hasBackBoxes() const;
    void showBackOffset(QPoint mm);

    // Whether the card has a back to print. Without one only the front can be
    // chosen, and the choice goes back to it. None until told.
    void setHasBack(bool hasBack);
    bool hasBack() const { return hasBack_; }

    QRadioButton* sideButton(Sides side) const;
    QComboBox* flipBox() const { return flip_; }
    QLineEdit* backXEdit() const { return backX_; }
    QLineEdit* backYEdit() const { return backY_; }

Q_SIGNALS:
    // Any choice or box changed.
    void changed();

private:
    void choose(Sides side);
    void enableChoices();

    QRadioButton* buttons_[3] = {}; // front, back, both
    QComboBox* flip_ = nullptr;
    QLineEdit* backX_ = nullptr;
    QLineEdit* backY_ = nullptr;
    Sides sides_ = Sides::Front;
    bool hasBack_ = false;
};

} // namespace print
