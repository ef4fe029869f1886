// SPDX-License-Identifier: GPL-3.0-or-later
#include "printui/FormatCreateDlg.h"

#include "platform/Codec.h"
#include "resources/Strings.h"
#include "resources/Templates.h"
#include "ui/MessageBox.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

#include <algorithm>

namespace print {

using ui::Notify;

const ui::CommandEntry<FormatCreateDlg> FormatCreateDlg::commandTable[] = {
    {1, Notify::Clicked, &FormatCreateDlg::onOk},
    {kPreset, Notify::SelChange, &FormatCreateDlg::onPresetChosen},
    {kPaperWidth, Notify::EditChange, &FormatCreateDlg::onPaperWidthChanged},
    {kPaperHeight, Notify::EditChange, &FormatCreateDlg::onPaperHeightChanged},
};

namespace {

// The numeric fields in the order OK reads them, with what they fill.
struct NumberField {
    int id;
    int CardFormat::*field;
    FormatDiagram::Mark mark;
};
constexpr NumberField kNumbers[] = {
    {FormatCreateDlg::kPaperWidth, &CardFormat::paperWidth, FormatDiagram::Mark::PaperWidth},
    {FormatCreateDlg::kPaperHeight, &CardFormat::paperHeight, FormatDiagram::Mark::PaperHeight},
    {FormatCreateDlg::kColumns, &CardFormat::columns, FormatDiagram::Mark::Counts},
    {FormatCreateDlg::kRows, &CardFormat::rows, FormatDiagram::Mark::Counts},
    {FormatCreateDlg::kCardWidth, &CardFormat::cardWidth, FormatDiagram::Mark::CardWidth},
    {FormatCreateDlg::kCardHeight, &CardFormat::cardHeight, FormatDiagram::Mark::CardHeight},
    {FormatCreateDlg::kLeftMargin, &CardFormat::leftMargin, FormatDiagram::Mark::LeftMargin},
    {FormatCreateDlg::kTopMargin, &CardFormat::topMargin, FormatDiagram::Mark::TopMargin},
    {FormatCreateDlg::kGapX, &CardFormat::gapX, FormatDiagram::Mark::GapX},
    {FormatCreateDlg::kGapY, &CardFormat::gapY, FormatDiagram::Mark::GapY},
};

// Holds a box to a number of CP932 bytes as an edit box's limit does: of what is
// typed or pasted, the whole characters that fit are kept, and an insertion of
// which none fits is refused, as is a character CP932 cannot hold (it would be
// stored as another one). Deleting is always allowed, also from a longer name
// read from a file.
class ByteLimitValidator : public QValidator {
public:
    ByteLimitValidator(int maxBytes, QLineEdit* box) : QValidator(box), maxBytes_(maxBytes), last_(box->text())
    {
        connect(box, &QLineEdit::textChanged, this, [this](const QString& text) { last_ = text; });
    }
    State validate(QString& input, int& pos) const override
    {
        // input is the last text with its middle replaced; the cursor ends what
        // was inserted.
        const qsizetype cursor = std::clamp<qsizetype>(pos, 0, input.size());
        qsizetype head = 0;
        while (head < cursor && head < last_.size() && input[head] == last_[head])
            ++head;
        qsizetype tail = 0;
        while (tail < input.size() - cursor && tail < last_.size() - head
               && input[input.size() - 1 - tail] == last_[last_.size() - 1 - tail])
            ++tail;
        const QString inserted = input.mid(head, input.size() - head - tail);
        if (inserted.isEmpty())
            return Acceptable;
        if (!platform::fitsCp932(inserted))
            return Invalid;
        const qsizetype room = maxBytes_ - platform::toCp932(input.left(head)).size()
                               - platform::toCp932(input.right(tail)).size();
        const QByteArray bytes = platform::toCp932(inserted);
        if (bytes.size() <= room)
            return Acceptable;
        const QString kept = platform::fromCp932(platform::truncateCp932(bytes, int(std::max<qsizetype>(room, 0))));
        if (kept.isEmpty())
            return Invalid;
        input = input.left(head) + kept + input.right(tail);
        pos = int(head + kept.size());
        return Acceptable;
    }

private:
    int maxBytes_;
    QString last_; // the box's text before the change
};

FormatCreateDlg::Provider& providerSlot()
{
    static FormatCreateDlg::Provider provider;
    return provider;
}

ui::TemplateDialog::Options dialogOptions()
{
    ui::TemplateDialog::Options options;
    options.factory = [](const platform::ControlSpec& c, QWidget* parent) -> QWidget* {
        return c.id == FormatCreateDlg::kDiagram ? new FormatDiagram(parent) : nullptr;
    };
    return options;
}

} // namespace

CardFormat FormatCreateDlg::newFormat()
{
    return CardFormat{{}, 210, 297, 91, 55, 2, 5, 14, 11, 0, 0};
}

FormatCreateDlg::FormatCreateDlg(QWidget* parent) : FormatCreateDlg(newFormat(), parent) {}

FormatCreateDlg::FormatCreateDlg(const CardFormat& f, QWidget* parent)
    : TemplateDialog(resources::dialogTemplate(resources::dlg::FormatCreate), parent, dialogOptions())
{
    for (const int id : itemIds()) {
        if (QWidget* w = item(id))
            w->installEventFilter(this);
    }
    load(f);
    // After the load, so that a longer name from a file is shown whole.
    if (QLineEdit* name = field(kName))
        name->setValidator(new ByteLimitValidator(kMaxNameBytes, name));
}

QLineEdit* FormatCreateDlg::field(int id) const { return itemAs<QLineEdit>(id); }
QComboBox* FormatCreateDlg::presetBox() const { return itemAs<QComboBox>(kPreset); }
FormatDiagram* FormatCreateDlg::diagram() const { return itemAs<FormatDiagram>(kDiagram); }

void FormatCreateDlg::load(const CardFormat& f)
{
    // A longer name read from a file is shown whole; OK refuses it.
    field(kName)->setText(platform::fromCp932(f.name));
    for (const NumberField& n : kNumbers)
        field(n.id)->setText(QString::number(f.*n.field));

    // Each preset carries its size packed as width + height × 65536.
    QComboBox* presets = presetBox();
    int match = -1;
    for (const resources::PaperPreset& p : resources::paperPresets()) {
        if (match < 0 && p.width == f.paperWidth && p.height == f.paperHeight)
            match = presets->count();
        presets->addItem(QString::fromUtf8(p.text), p.width + p.height * 65536);
    }
    presets->setCurrentIndex(match);
    if (match >= 0)
        writePreset(match);
    updateDiagram();
}

int FormatCreateDlg::run()
{
    if (const Provider& p = providerSlot())
        return p(*this);
    return exec();
}

FormatCreateDlg::Provider FormatCreateDlg::setProvider(Provider provider)
{
    Provider previous = std::move(providerSlot());
    providerSlot() = std::move(provider);
    return previous;
}

void FormatCreateDlg::onCommand(int id, Notify code)
{
    if (!ui::dispatchCommand(this, commandTable, id, code))
        TemplateDialog::onCommand(id, code);
    if (code == Notify::EditChange)
        updateDiagram();
}

bool FormatCreateDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        // Enter neither presses OK nor moves on; Escape still cancels.
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return true;
    } else if (event->type() == QEvent::FocusIn && qobject_cast<QLineEdit*>(watched)) {
        const int id = watched->property("ctrlId").toInt();
        FormatDiagram::Mark mark = FormatDiagram::Mark::None;
        for (const NumberField& n : kNumbers)
            if (n.id == id)
                mark = n.mark;
        diagram()->setMark(mark);
    }
    return TemplateDialog::eventFilter(watched, event);
}

void FormatCreateDlg::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        event->accept();
    else
        TemplateDialog::keyPressEvent(event);
}

void FormatCreateDlg::onPresetChosen()
{
    const int row = presetBox()->currentIndex();
    if (row >= 0)
        writePreset(row);
}

void FormatCreateDlg::writePreset(int row)
{
    const int packed = presetBox()->itemData(row).toInt();
    field(kPaperWidth)->setText(QString::number(packed % 65536));
    field(kPaperHeight)->setText(QString::number(packed / 65536));
}

void FormatCreateDlg::dropPresetIfChanged(int id)
{
    QComboBox* presets = presetBox();
    const int row = presets->currentIndex();
    if (row < 0)
        return;
    const int packed = presets->itemData(row).toInt();
    const int expected = id == kPaperWidth ? packed % 65536 : packed / 65536;
    if (number(id).value_or(0) != expected)
        presets->setCurrentIndex(-1);
}

std::optional<int> FormatCreateDlg::number(int id) const
{
    bool ok = false;
    const int value = field(id)->text().trimmed().toInt(&ok, 10);
    return ok ? std::optional<int>(value) : std::nullopt;
}

void FormatCreateDlg::updateDiagram()
{
    CardFormat f;
    for (const NumberField& n : kNumbers)
        f.*n.field = number(n.id).value_or(0);
    diagram()->setFormat(f);
}

void FormatCreateDlg::refuse(const QString& text, int focusId, platform::MbIcon icon)
{
    ui::appMessageBox(text, platform::MbButtons::Ok, icon, this);
    if (QLineEdit* box = focusId != 0 ? field(focusId) : nullptr) {
        box->setFocus();
        box->selectAll();
    }
}

void FormatCreateDlg::onOk()
{
    CardFormat f;
    for (const NumberField& n : kNumbers) {
        const std::optional<int> value = number(n.id);
        if (!value) {
            refuse(QString::fromUtf8(resources::texts::EnterInteger), n.id, platform::MbIcon::Exclamation);
            return;
        }
        f.*n.field = *value;
    }
    f.name = platform::toCp932(field(kName)->text());
    if (f.name.size() > kMaxNameBytes) {
        refuse(QString::fromUtf8(resources::texts::MaxChars).replace(QStringLiteral("%1"), QString::number(kMaxNameBytes)),
               kName, platform::MbIcon::Exclamation);
        return;
    }
    if (f.name.isEmpty()) {
        refuse(resources::loadString(resources::ids::FormatNeedsName), 0, platform::MbIcon::None);
        return;
    }
    if (!f.fitsPaper()) {
        refuse(resources::loadString(resources::ids::FormatDoesNotFit), 0, platform::MbIcon::None);
        return;
    }
    format_ = f;
    accept();
}

} // namespace print
