// SPDX-License-Identifier: GPL-3.0-or-later
#include "printui/AdjustPrintDlg.h"

#include "model/PmrData.h"
#include "platform/AppSettings.h"
#include "print/CardFormatCatalog.h"
#include "printui/PrintListBox.h"
#include "printui/SheetPreview.h"
#include "printui/SidesPanel.h"
#include "ui/DialogTemplate.h"
#include "ui/PrintDialogs.h"
#include "resources/Templates.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QPrinter>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QSpinBox>

#include <algorithm>
#include <limits>

namespace print {

namespace {

// Right-aligned edits.
ui::TemplateDialog::Options panelOptions()
{
    ui::TemplateDialog::Options options;
    options.factory = [](const platform::ControlSpec& c, QWidget* parent) -> QWidget* {
        if (c.kind != platform::CtrlKind::Edit || !(c.flags & platform::RightText))
            return nullptr;
        auto* edit = new QLineEdit(parent);
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return edit;
    };
    return options;
}

} // namespace

AdjustPrintDlg::AdjustPrintDlg(QPrinter* printer, QWidget* parent) : QPrintDialog(printer, parent)
{
    setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    setPrintRange(QAbstractPrintDialog::AllPages);
    printerName_ = printer->printerName();
    buildPanel();
    fillPanel();
    watchPrinterChoice();
}

AdjustPrintDlg::~AdjustPrintDlg() = default;

void AdjustPrintDlg::buildPanel()
{
    const platform::DialogSpec& panelTemplate = resources::dialogTemplate(resources::dlg::PrintAdjust);
    if (panelTemplate.controls.empty())
        return; // no panel: the plain print dialog
    template_ = std::make_unique<ui::TemplateDialog>(panelTemplate, nullptr, panelOptions());
    panelSize_ = template_->size();

    // The template's controls move into a panel on the right of this dialog,
    // keeping their places and their stacking order.
    panel_ = new QWidget(this);
    panel_->setObjectName(QStringLiteral("adjustPanel"));
    panel_->resize(panelSize_);
    const QObjectList children = template_->children();
    for (QObject* child : children) {
        auto* w = qobject_cast<QWidget*>(child);
        if (!w || w->isWindow())
            continue;
        const QRect place = w->geometry();
        const bool shown = !w->isHidden();
        w->setParent(panel_);
        w->setGeometry(place);
        w->setVisible(shown);
    }
    sides_ = new SidesPanel(*template_, this);
    buildPreview();

    // The standard part keeps its width; the panel takes the extra width on the right.
    if (QLayout* l = layout()) {
        QMargins m = l->contentsMargins();
        m.setRight(m.right() + panelSize_.width());
        l->setContentsMargins(m);
        l->activate();
        const int shortfall = panelSize_.height() - l->totalMinimumSize().height();
        if (shortfall > 0) {
            m.setBottom(m.bottom() + shortfall);
            l->setContentsMargins(m);
        }
    } else {
        resize(width() + panelSize_.width(), std::max(height(), panelSize_.height()));
    }
    placePanel();
}

void AdjustPrintDlg::buildPreview()
{
    // A column right of the controls, from the top of the first one down to the
    // panel's bottom: the preview, about as wide as a portrait sheet of its
    // height, and below it the list of people.
    int top = panelSize_.height();
    for (QWidget* w : panel_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        top = std::min(top, w->geometry().top());
    const int gap = std::max(4, panelSize_.width() / 12);
    listBox_ = new PrintListBox(panel_);
    const int listHeight = listBox_->chooseButton()->sizeHint().height() + 4 + 2 * fontMetrics().lineSpacing();
    const int height = std::max(0, panelSize_.height() - top - gap - listHeight);
    const int width = std::max(height * 3 / 4, listBox_->minimumSizeHint().width());
    const int left = panelSize_.width() + gap;
    preview_ = new SheetPreview(panel_);
    preview_->setGeometry(left, top, width, height);
    listBox_->setGeometry(left, top + height + gap, width, listHeight);
    panelSize_.setWidth(left + width + gap);
    panel_->resize(panelSize_);
    previewJob_.format = CardFormatCatalog::instance().currentFormat();
    preview_->setJob(previewJob_);
    connect(listBox_, &PrintListBox::listChanged, this, &AdjustPrintDlg::updatePreview);
}

Sides AdjustPrintDlg::sides() const
{
    return sides_ ? sides_->sides() : Sides::Front;
}

Flip AdjustPrintDlg::flip() const
{
    return sides_ ? sides_->flip() : Flip::LongEdge;
}

QPoint AdjustPrintDlg::backOffset() const
{
    return sides_ ? sides_->backOffset() : QPoint();
}

std::shared_ptr<const CardList> AdjustPrintDlg::list() const
{
    return listBox_ ? listBox_->list() : nullptr;
}

void AdjustPrintDlg::setPreviewJob(const PmrData* page, const SheetRenderer::Job& job)
{
    previewJob_ = job;
    const bool hasBack = page && page->storedBack();
    if (sides_)
        sides_->setHasBack(hasBack);
    if (!preview_)
        return;
    if (hasBack)
        widenPreview();
    preview_->setPage(page);
    listBox_->setPage(page);
    updatePreview();
}

void AdjustPrintDlg::widenPreview()
{
    // Room for the back beside the front, each as wide as a portrait sheet of
    // the preview's height less its label.
    const int wanted = 2 * (preview_->height() - fontMetrics().height() - 6) * 3 / 4 + 12;
    const int extra = wanted - preview_->width();
    if (extra <= 0)
        return;
    preview_->resize(wanted, preview_->height());
    listBox_->resize(wanted, listBox_->height());
    panelSize_.setWidth(panelSize_.width() + extra);
    panel_->resize(panelSize_);
    if (QLayout* l = layout()) {
        QMargins m = l->contentsMargins();
        m.setRight(m.right() + extra);
        l->setContentsMargins(m);
        l->activate();
    } else {
        resize(width() + extra, height());
    }
    placePanel();
}

void AdjustPrintDlg::updatePreview()
{
    if (!preview_)
        return;
    SheetRenderer::Job job = previewJob_;
    if (QLineEdit* x = offsetXEdit())
        job.adjustX = readOffset(x->text());
    if (QLineEdit* y = offsetYEdit())
        job.adjustY = readOffset(y->text());
    if (QCheckBox* one = onlyOneBox())
        job.onlyOne = one->isChecked();
    if (QLineEdit* start = startEdit())
        job.start = start->text().trimmed().isEmpty() ? 1 : readOffset(start->text());
    // With a list the copies are cards per person, side by side, so they change
    // the first sheet and the count.
    if (auto* copies = findChild<QSpinBox*>(QStringLiteral("copies")))
        job.copies = copies->value();
    job.sides = sides();
    job.flip = flip();
    job.backAdjustX = backOffset().x();
    job.backAdjustY = backOffset().y();
    job.list = listBox_->list();
    if (job.list) {
        job.sheets = SheetPlan(job).sheets();
        listBox_->showCounts(SheetPlan(job).totalCards(), job.sheets);
    }
    preview_->setJob(job);
}

void AdjustPrintDlg::placePanel()
{
    if (panel_)
        panel_->setGeometry(width() - panelSize_.width(), 0, panelSize_.width(), panelSize_.height());
}

void AdjustPrintDlg::resizeEvent(QResizeEvent* event)
{
    QPrintDialog::resizeEvent(event);
    placePanel();
}

QLineEdit* AdjustPrintDlg::offsetXEdit() const
{
    return template_ ? template_->itemAs<QLineEdit>(kOffsetXId) : nullptr;
}

QLineEdit* AdjustPrintDlg::offsetYEdit() const
{
    return template_ ? template_->itemAs<QLineEdit>(kOffsetYId) : nullptr;
}

QCheckBox* AdjustPrintDlg::onlyOneBox() const
{
    return template_ ? template_->itemAs<QCheckBox>(kOnlyOneId) : nullptr;
}

QLineEdit* AdjustPrintDlg::startEdit() const
{
    return template_ ? template_->itemAs<QLineEdit>(kStartId) : nullptr;
}

QPushButton* AdjustPrintDlg::calibrateButton() const
{
    return template_ ? template_->itemAs<QPushButton>(kCalibrateId) : nullptr;
}

void AdjustPrintDlg::fillPanel()
{
    // Whole millimetres, as they are stored.
    const QRegularExpression millimetres(QStringLiteral("-?[0-9]{0,4}"));
    if (QLineEdit* x = offsetXEdit())
        x->setValidator(new QRegularExpressionValidator(millimetres, x));
    if (QLineEdit* y = offsetYEdit())
        y->setValidator(new QRegularExpressionValidator(millimetres, y));
    showPrinter(printerName_);
    if (QCheckBox* one = onlyOneBox())
        one->setChecked(onlyOne_);
    if (QLineEdit* start = startEdit()) {
        start->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), start));
        start->setText(QString::number(start_));
    }
    // The preview follows every box as it is typed.
    for (QLineEdit* box : {offsetXEdit(), offsetYEdit(), startEdit()})
        if (box)
            connect(box, &QLineEdit::textChanged, this, &AdjustPrintDlg::updatePreview);
    if (QCheckBox* one = onlyOneBox())
        connect(one, &QCheckBox::toggled, this, &AdjustPrintDlg::updatePreview);
    if (auto* copies = findChild<QSpinBox*>(QStringLiteral("copies")))
        connect(copies, &QSpinBox::valueChanged, this, &AdjustPrintDlg::updatePreview);
    if (sides_)
        connect(sides_, &SidesPanel::changed, this, &AdjustPrintDlg::updatePreview);
    updatePreview();
    // The live printer is only set up when the dialog is accepted, so the button
    // accepts it and run() tells the caller to print the calibration sheet.
    if (QPushButton* calibrate = calibrateButton()) {
        calibrate->setAutoDefault(false);
        connect(calibrate, &QPushButton::clicked, this, [this] {
            accept();
            // accept() may refuse, leaving the dialog open.
            calibrate_ = result() == QDialog::Accepted;
        });
    }
}

void AdjustPrintDlg::watchPrinterChoice()
{
    // QPrintDialog tells nobody when another printer is chosen; its printer list
    // is the combo box "printers" of the Unix dialog, and its text is the queue's
    // name. Where there is none (other platforms, other Qt versions) run() files
    // the offsets under the printer's name when the dialog closes with OK.
    if (auto* printers = findChild<QComboBox*>(QStringLiteral("printers")))
        connect(printers, &QComboBox::currentTextChanged, this, &AdjustPrintDlg::showPrinter);
}

void AdjustPrintDlg::showPrinter(const QString& name)
{
    printerName_ = name;
    const QPoint mm = platform::appSettings().printerAdjustment(name);
    if (QLineEdit* x = offsetXEdit())
        x->setText(QString::number(mm.x()));
    if (QLineEdit* y = offsetYEdit())
        y->setText(QString::number(mm.y()));
    if (sides_)
        sides_->showBackOffset(platform::appSettings().printerBackAdjustment(name));
}

void AdjustPrintDlg::readPanel()
{
    platform::AppSettings& settings = platform::appSettings();
    if (QLineEdit* x = offsetXEdit())
        settings.setAdjustX(readOffset(x->text()));
    if (QLineEdit* y = offsetYEdit())
        settings.setAdjustY(readOffset(y->text()));
    if (offsetXEdit() || offsetYEdit())
        settings.setPrinterAdjustment(printerName_, {settings.adjustX(), settings.adjustY()});
    if (sides_ && sides_->hasBackBoxes()) {
        settings.setBackAdjustment(sides_->backOffset());
        settings.setPrinterBackAdjustment(printerName_, settings.backAdjustment());
    }
    if (QCheckBox* one = onlyOneBox())
        onlyOne_ = one->isChecked();
    if (QLineEdit* start = startEdit()) {
        const int n = readOffset(start->text());
        start_ = start->text().trimmed().isEmpty() ? 1 : n;
    }
}

int AdjustPrintDlg::run()
{
    calibrate_ = false;
    const int result = ui::runPrintDialog(*this);
    // Without the printer list, OK leaves the choice in the printer; a file has
    // no printer's offsets.
    if (result == QDialog::Accepted && !findChild<QComboBox*>(QStringLiteral("printers")))
        printerName_ = printer()->outputFormat() == QPrinter::NativeFormat ? printer()->printerName() : QString();
    readPanel();
    if (result != QDialog::Accepted)
        return QDialog::Rejected;
    platform::appSettings().storeAdjustments();
    return calibrate_ ? Calibrate : QDialog::Accepted;
}

int AdjustPrintDlg::readOffset(const QString& text)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) {
        negative = t[i] == u'-';
        ++i;
    }
    if (i == t.size())
        return 0;
    std::int64_t value = 0;
    for (; i < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        if (c < u'0' || c > u'9')
            return 0;
        value = value * 10 + (c - u'0');
        if (value > std::int64_t(std::numeric_limits<int>::max()) + 1)
            return 0;
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<int>::max())
        return 0;
    return int(value);
}

} // namespace print
