// SPDX-License-Identifier: GPL-3.0-or-later
#include "printui/SidesPanel.h"

#include "printui/AdjustPrintDlg.h"
#include "resources/ControlIds.h"
#include "ui/DialogTemplate.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>

namespace print {

namespace {

constexpr Sides kSides[] = {Sides::Front, Sides::Back, Sides::Both};

// The ways to turn the sheets, in the order of the list.
constexpr std::pair<Flip, const char*> kFlips[] = {
    {Flip::LongEdge, "ながいへんで めくる"},
    {Flip::ShortEdge, "みじかいへんで めくる"},
    {Flip::Manual, "てで うらがえす"},
};

} // namespace

SidesPanel::SidesPanel(const ui::TemplateDialog& controls, QObject* parent) : QObject(parent)
{
    const int ids[] = {ctl::printing::SideFront, ctl::printing::SideBack, ctl::printing::SideBoth};
    for (int i = 0; i < 3; ++i) {
        buttons_[i] = controls.itemAs<QRadioButton>(ids[i]);
        if (!buttons_[i])
            continue;
        // The template leaves the groups to their owner.
        connect(buttons_[i], &QRadioButton::clicked, this, [this, i] { choose(kSides[i]); });
    }
    flip_ = controls.itemAs<QComboBox>(ctl::printing::Flip);
    if (flip_) {
        for (const auto& [flip, text] : kFlips)
            flip_->addItem(QString::fromUtf8(text), int(flip));
        connect(flip_, &QComboBox::currentIndexChanged, this, &SidesPanel::changed);
    }
    backX_ = controls.itemAs<QLineEdit>(ctl::printing::BackOffsetX);
    backY_ = controls.itemAs<QLineEdit>(ctl::printing::BackOffsetY);
    const QRegularExpression millimetres(QStringLiteral("-?[0-9]{0,4}"));
    for (QLineEdit* box : {backX_, backY_}) {
        if (!box)
            continue;
        box->setValidator(new QRegularExpressionValidator(millimetres, box));
        connect(box, &QLineEdit::textChanged, this, &SidesPanel::changed);
    }
    choose(Sides::Front);
}

Sides SidesPanel::sides() const
{
    return sides_;
}

Flip SidesPanel::flip() const
{
    return flip_ && flip_->currentIndex() >= 0 ? Flip(flip_->currentData().toInt()) : Flip::LongEdge;
}

QPoint SidesPanel::backOffset() const
{
    return {backX_ ? AdjustPrintDlg::readOffset(backX_->text()) : 0,
            backY_ ? AdjustPrintDlg::readOffset(backY_->text()) : 0};
}

bool SidesPanel::hasBackBoxes() const
{
    return backX_ || backY_;
}

void SidesPanel::showBackOffset(QPoint mm)
{
    if (backX_)
        backX_->setText(QString::number(mm.x()));
    if (backY_)
        backY_->setText(QString::number(mm.y()));
}

void SidesPanel::setHasBack(bool hasBack)
{
    hasBack_ = hasBack;
    choose(hasBack ? sides_ : Sides::Front);
}

QRadioButton* SidesPanel::sideButton(Sides side) const
{
    return buttons_[int(side)];
}

void SidesPanel::choose(Sides side)
{
    sides_ = hasBack_ ? side : Sides::Front;
    for (int i = 0; i < 3; ++i)
        if (buttons_[i])
            buttons_[i]->setChecked(kSides[i] == sides_);
    enableChoices();
    Q_EMIT changed();
}

void SidesPanel::enableChoices()
{
    // Without a back nothing but the front can print; the turn and the backs'
    // offsets only matter when backs print.
    for (QRadioButton* b : buttons_)
        if (b)
            b->setEnabled(hasBack_);
    const bool backs = sides_ != Sides::Front;
    for (QWidget* w : std::initializer_list<QWidget*>{flip_, backX_, backY_})
        if (w)
            w->setEnabled(backs);
}

} // namespace print
