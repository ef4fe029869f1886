// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PropertyPanel.h"

#include "app/CardCommand.h"
#include "app/CardDocument.h"
#include "model/ObjItemBitmap.h"
#include "model/ObjItemLine.h"
#include "model/ObjItemText.h"
#include "panel/ColorSwatch.h"
#include "panel/ImageButton.h"
#include "panel/PictureImport.h"
#include "platform/VerticalText.h"
#include "platform/Rect.h"
#include "resources/ControlIds.h"
#include "resources/Strings.h"
#include "resources/Templates.h"
#include "ui/ChoiceDialogs.h"
#include "ui/MessageBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <array>
#include <span>
#include <vector>

namespace {

constexpr std::array kTextGroup = {ctl::TextEdit,    ctl::Font,   ctl::AlignCaption, ctl::AlignLeft, ctl::AlignRight,
                                   ctl::AlignCenter, ctl::Bigger, ctl::Smaller,      ctl::Vertical};
constexpr std::array kLineGroup = {ctl::LineWidth, ctl::WidthCaption, ctl::WidthUnit};
constexpr std::array kPictureGroup = {ctl::BlurEdges,   ctl::ShapeCaption, ctl::ShapeWhiteOut, ctl::ShapeRect,
                                      ctl::ShapeCircle, ctl::ShapeHeart,   ctl::ReplacePicture};
constexpr std::array kBackgroundGroup = {ctl::Pattern, ctl::Bigger, ctl::Smaller};

int titleOf(int kind)
{
    switch (kind) {
    case ObjItem::KindText: return resources::ids::ToolText;
    case ObjItem::KindLine: return resources::ids::ToolLine;
    case ObjItem::KindPicture: return resources::ids::ToolPicture;
    case ObjItem::KindRect: return resources::ids::ToolRect;
    default: return resources::ids::PanelBackground;
    }
}

// The edit field shows lines apart by "\n"; the item keeps CR LF.
QString toFieldText(const QString& stored)
{
    QString s = stored;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return s;
}

QString fromFieldText(const QString& typed)
{
    QString s = typed;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QChar('\n'), QStringLiteral("\r\n"));
    return s;
}

// Every unit takes at least a byte: a text of more units than the limit is not
// converted to be measured.
bool fitsTextItem(const QString& typed)
{
    constexpr qsizetype kMax = ObjItemText::kMaxTextBytes;
    return typed.size() <= kMax && CardText::fromUnicode(fromFieldText(typed)).storedSize() <= kMax;
}

// The longest start of the typed text, in whole characters, that a text item
// holds. A start grows in stored bytes as it grows in characters.
QString longestFittingStart(const QString& typed)
{
    const QString head = typed.left(ObjItemText::kMaxTextBytes + 1);
    std::vector<qsizetype> ends;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, head);
    for (qsizetype at = finder.toNextBoundary(); at > 0; at = finder.toNextBoundary())
        ends.push_back(at);
    qsizetype lo = 0, hi = qsizetype(ends.size()); // ends[0, lo) fit, ends[hi, …) do not
    while (lo < hi) {
        const qsizetype mid = (lo + hi) / 2;
        if (fitsTextItem(head.left(ends[std::size_t(mid)])))
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo == 0 ? QString() : head.left(ends[std::size_t(lo - 1)]);
}

} // namespace

PropertyPanel::PropertyPanel(ui::TemplateDialog& window, CardDocument& doc) : window_(window), doc_(doc), qr_(window, doc)
{
}

void PropertyPanel::refresh()
{
    ++visit_;
    ObjItem* item = doc_.selection().item();
    const int kind = item ? item->kind : kBackground;
    if (kind != kind_)
        showGroup(kind_, false, nullptr);
    showGroup(kind, true, item);
    if (QWidget* title = window_.item(ctl::PanelTitle)) {
        if (auto* label = qobject_cast<QLabel*>(title))
            label->setText(resources::loadString(QrPanel::code(item) ? resources::ids::ToolQr : titleOf(kind)));
    }
    kind_ = kind;
}

// Filling a picture's group comes before showing it; every other group is shown
// first. Only the picture group hides the swatch and its button.
void PropertyPanel::showGroup(int kind, bool show, ObjItem* item)
{
    std::span<const int> group;
    switch (kind) {
    case ObjItem::KindText: group = kTextGroup; break;
    case ObjItem::KindLine: group = kLineGroup; break;
    case ObjItem::KindPicture: group = kPictureGroup; break;
    case kBackground: group = kBackgroundGroup; break;
    case ObjItem::KindRect: break;
    default: return; // an item of no known kind shows no group
    }
    // A QR code shows its own controls and the colour instead of the picture's.
    const ObjItemBitmap* code = kind == ObjItem::KindPicture && show ? QrPanel::code(item) : nullptr;
    if (kind == ObjItem::KindPicture)
        if (const auto* picture = dynamic_cast<const ObjItemBitmap*>(item); picture && !code)
            fillPicture(*picture);
    for (int id : group)
        showControl(id, show && !code);
    qr_.show(code);
    if (!show)
        return;
    showControl(ctl::Swatch, kind != ObjItem::KindPicture || code);
    showControl(ctl::OtherColor, kind != ObjItem::KindPicture || code);
    if (kind == ObjItem::KindText || kind == kBackground) {
        const bool sizes = kind == ObjItem::KindText || !doc_.page().pattern.isEmpty();
        enable(ctl::Bigger, sizes);
        enable(ctl::Smaller, sizes);
    }
    if (kind == kBackground)
        paintSwatch(true, doc_.page().backColor);
    else if (item && (kind != ObjItem::KindPicture || code))
        paintSwatch(true, item->color);
    if (auto* text = dynamic_cast<const ObjItemText*>(item); text && kind == ObjItem::KindText)
        fillText(*text);
    else if (auto* line = dynamic_cast<const ObjItemLine*>(item); line && kind == ObjItem::KindLine)
        fillLine(*line);
}

void PropertyPanel::showControl(int id, bool visible)
{
    if (QWidget* w = window_.item(id); w && w->isVisibleTo(&window_) != visible)
        w->setVisible(visible);
}

void PropertyPanel::paintSwatch(bool setColor, std::uint32_t color)
{
    if (setColor)
        currentColor_ = color & 0xFFFFFF;
    if (auto* swatch = window_.itemAs<panel::ColorSwatch>(ctl::Swatch); swatch && swatch->isVisibleTo(&window_))
        swatch->setColor(currentColor_);
}

namespace {

// Fills an edit field without its change notification, then focuses it with all
// of its text selected, so typing replaces it.
template <class Field, class Fill>
void refill(Field* field, Fill fill)
{
    if (!field)
        return;
    {
        const QSignalBlocker quiet(field);
        fill(*field);
    }
    field->setFocus();
    field->selectAll();
}

} // namespace

void PropertyPanel::fillText(const ObjItemText& text)
{
    refill(window_.itemAs<QPlainTextEdit>(ctl::TextEdit),
           [&](QPlainTextEdit& field) { field.setPlainText(toFieldText(text.textString())); });
    setPressed(ctl::Vertical, text.isVertical());
    nameAlignments(text.isVertical());
    showAlign(text.GetAlign());
}

// A vertical text's alignments place its columns: top, bottom and middle.
void PropertyPanel::nameAlignments(bool vertical)
{
    namespace texts = resources::texts;
    const std::array<std::pair<int, const char*>, 3> names = {
        {{ctl::AlignLeft, texts::AlignTop}, {ctl::AlignRight, texts::AlignBottom}, {ctl::AlignCenter, texts::AlignMiddle}}};
    for (const auto& [id, verticalName] : names) {
        const char* name = verticalName;
        for (const platform::ControlSpec& c : resources::dialogTemplate(resources::dlg::Editor).controls)
            name = c.id == id && !vertical ? c.text : name;
        if (auto* button = window_.itemAs<panel::ImageButton>(id))
            button->setText(QString::fromUtf8(name));
    }
}

// The field shows the width as it reads it. Filling counts as setting the width,
// as typing does, but with the stored width: selecting never changes the line.
void PropertyPanel::fillLine(const ObjItemLine& line)
{
    refill(window_.itemAs<QLineEdit>(ctl::LineWidth), [&](QLineEdit& field) {
        field.setText(QString::number(ObjItemLine::fieldWidth(static_cast<std::uint32_t>(line.width))));
    });
    editSelected({{"width", line.width}}, true);
}

void PropertyPanel::fillPicture(const ObjItemBitmap& picture)
{
    constexpr std::array kShapes = {ctl::ShapeRect, ctl::ShapeWhiteOut, ctl::ShapeCircle, ctl::ShapeHeart};
    if (picture.whiteOut == 1) {
        for (int id : kShapes)
            setPressed(id, id == ctl::ShapeWhiteOut);
        enable(ctl::BlurEdges, false);
        return;
    }
    enable(ctl::BlurEdges, true);
    setPressed(ctl::BlurEdges, picture.edgeMode == ObjItemBitmap::EdgeBlur);
    constexpr std::array kShapeButtons = {ctl::ShapeRect, ctl::ShapeCircle, ctl::ShapeHeart};
    if (picture.shape >= 0 && picture.shape < int(kShapeButtons.size()))
        for (int id : kShapes)
            setPressed(id, id == kShapeButtons[std::size_t(picture.shape)]);
}

bool PropertyPanel::onCommand(int id, ui::Notify code)
{
    if (code == ui::Notify::EditChange) {
        if (id == ctl::TextEdit)
            setText();
        else if (id == ctl::LineWidth)
            setLineWidth();
        else
            return false;
        return true;
    }
    switch (id) {
    case ctl::Font: chooseFont(); break;
    case ctl::Bigger: stepSize(1); break;
    case ctl::Smaller: stepSize(-1); break;
    case ctl::AlignLeft: setAlign(ObjItemText::AlignLeft); break;
    case ctl::AlignCenter: setAlign(ObjItemText::AlignCenter); break;
    case ctl::AlignRight: setAlign(ObjItemText::AlignRight); break;
    case ctl::Vertical: setVertical(); break;
    case ctl::BlurEdges: blurEdges(); break;
    case ctl::ShapeRect:
    case ctl::ShapeWhiteOut:
    case ctl::ShapeCircle:
    case ctl::ShapeHeart: setShape(id); break;
    case ctl::ReplacePicture: chooseReplacement(); break;
    case ctl::Pattern: choosePattern(); break;
    case ctl::OtherColor: otherColor(); break;
    case ctl::QrContents: qr_.editContents(); break;
    default: return false;
    }
    return true;
}

ObjItem* PropertyPanel::selected(int kind) const
{
    ObjItem* item = doc_.selection().item();
    return item && item->kind == kind ? item : nullptr;
}

const ObjItemText* PropertyPanel::selectedText() const
{
    return dynamic_cast<const ObjItemText*>(selected(ObjItem::KindText));
}

void PropertyPanel::commit(std::unique_ptr<CardCommand> command)
{
    if (!doc_.apply(std::move(command)))
        doc_.touch();
}

void PropertyPanel::editSelected(std::vector<FieldEdit> edits, bool merge)
{
    const std::optional<PmrData::Position>& pos = doc_.selection().position();
    if (!pos)
        return;
    auto command = EditItemCommand::setFields(*pos, std::move(edits));
    if (merge)
        command->setMergeKey(visit_);
    commit(std::move(command));
}

void PropertyPanel::setText()
{
    if (!selected(ObjItem::KindText))
        return;
    auto* field = window_.itemAs<QPlainTextEdit>(ctl::TextEdit);
    QString typed = field ? field->toPlainText() : QString();
    // What does not fit goes from the end, and the field shows what stays.
    const bool tooLong = !fitsTextItem(typed);
    if (tooLong) {
        typed = longestFittingStart(typed);
        const QSignalBlocker quiet(field);
        field->setPlainText(typed);
        field->moveCursor(QTextCursor::End);
    }
    editSelected({{"text", CardText::fromUnicode(fromFieldText(typed))}}, true);
    if (tooLong)
        ui::appMessageBox(QString::fromUtf8(resources::texts::TextTooLong), platform::MbButtons::Ok,
                          platform::MbIcon::Exclamation, &window_);
}

void PropertyPanel::chooseFont()
{
    const ObjItemText* text = selectedText();
    if (!text)
        return;
    // The dialog shows the face without its "@": the switch keeps that.
    namespace vertical = platform::vertical;
    const std::optional<platform::LogFont> font =
        ui::chooseFont({vertical::withVertical(text->GetFont(), false), text->color}, &window_);
    if (!font)
        return;
    editSelected({{"font", vertical::withVertical(*font, text->isVertical())}});
}

void PropertyPanel::setVertical()
{
    const ObjItemText* text = selectedText();
    const bool on = isPressed(ctl::Vertical);
    if (!text || text->isVertical() == on)
        return;
    editSelected({{"font", platform::vertical::withVertical(text->GetFont(), on)}});
    nameAlignments(on);
}

// A step from an extreme stored size or scale stops at the int limit; the text
// and the page then clamp it.
void PropertyPanel::stepSize(int direction)
{
    if (doc_.selection().item()) {
        if (const ObjItemText* text = selectedText()) {
            platform::LogFont font = text->GetFont();
            font.height = platform::addSat(text->GetFontSize(), direction);
            editSelected({{"font", font}});
        }
        return;
    }
    const PmrData& page = doc_.page();
    commit(SetBackgroundCommand::scale(page, platform::addSat(page.patternScale, 20 * direction)));
}

void PropertyPanel::setAlign(int align)
{
    if (!selectedText())
        return;
    editSelected({{"align", align}});
    showAlign(selectedText()->GetAlign());
}

void PropertyPanel::showAlign(int align)
{
    setPressed(ctl::AlignLeft, align == ObjItemText::AlignLeft);
    setPressed(ctl::AlignCenter, align == ObjItemText::AlignCenter);
    setPressed(ctl::AlignRight, align == ObjItemText::AlignRight);
}

// Digits only reach the field; an empty field is 0. A number that gives another
// width (past 500 or 64 bits, or negative as a signed 32-bit one) is replaced in
// the field by that width.
void PropertyPanel::setLineWidth()
{
    if (!selected(ObjItem::KindLine))
        return;
    auto* field = window_.itemAs<QLineEdit>(ctl::LineWidth);
    if (!field)
        return;
    bool ok = true;
    const QString typed = field->text().trimmed();
    const qulonglong value = typed.isEmpty() ? 0 : typed.toULongLong(&ok);
    const int width = ok ? ObjItemLine::fieldWidth(value) : ObjItemLine::kMaxWidth;
    if (!ok || value != qulonglong(width)) {
        {
            const QSignalBlocker quiet(field);
            field->setText(QString::number(width));
        }
        field->selectAll();
    }
    editSelected({{"width", width}}, true);
}

void PropertyPanel::blurEdges()
{
    if (!selected(ObjItem::KindPicture))
        return;
    editSelected({{"edgeMode", int(isPressed(ctl::BlurEdges) ? ObjItemBitmap::EdgeBlur : ObjItemBitmap::EdgePlain)}});
}

void PropertyPanel::setShape(int button)
{
    struct ShapeButton {
        int id;
        int shape;
        int whiteOut;
    };
    constexpr std::array<ShapeButton, 4> kButtons = {{
        {ctl::ShapeRect, ObjItemBitmap::ShapeRect, 0},
        {ctl::ShapeWhiteOut, ObjItemBitmap::ShapeRect, 1},
        {ctl::ShapeCircle, ObjItemBitmap::ShapeEllipse, 0},
        {ctl::ShapeHeart, ObjItemBitmap::ShapeHeart, 0},
    }};
    const auto chosen = std::find_if(kButtons.begin(), kButtons.end(), [button](const ShapeButton& b) { return b.id == button; });
    if (chosen == kButtons.end())
        return;
    if (isPressed(button)) {
        for (const ShapeButton& b : kButtons)
            if (b.id != button)
                setPressed(b.id, false);
        enable(ctl::BlurEdges, chosen->whiteOut == 0);
    }
    auto* picture = dynamic_cast<ObjItemBitmap*>(selected(ObjItem::KindPicture));
    if (!picture)
        return;
    const bool already = chosen->whiteOut ? picture->whiteOut == 1
                                          : picture->shape == chosen->shape && picture->whiteOut == 0;
    if (already)
        return;
    editSelected({{"shape", chosen->shape}, {"whiteOut", chosen->whiteOut}});
}

void PropertyPanel::chooseReplacement()
{
    if (!selected(ObjItem::KindPicture))
        return;
    const PmrData& card = doc_.page();
    if (std::optional<platform::Dib> picture = panel::choosePicture(&window_, QSize(card.cardWidth, card.cardHeight)))
        commit(std::make_unique<ReplacePictureCommand>(*doc_.selection().position(), std::move(*picture)));
}

// A pattern keeps every pixel: its size sets the size of the tiles.
void PropertyPanel::choosePattern()
{
    std::optional<platform::Dib> picture = panel::choosePicture(&window_);
    if (!picture)
        return;
    commit(SetBackgroundCommand::pattern(doc_.page(), std::move(*picture)));
    enable(ctl::Bigger, true);
    enable(ctl::Smaller, true);
}

void PropertyPanel::otherColor()
{
    const std::optional<std::uint32_t> color = ui::chooseColor(currentColor_, &window_);
    if (!color || (QrPanel::code(doc_.selection().item()) && !qr_.setColor(*color)))
        return;
    currentColor_ = *color & 0xFFFFFF;
    if (QrPanel::code(doc_.selection().item()))
        return paintSwatch(false, 0);
    if (doc_.selection().item()) {
        editSelected({{"color", currentColor_}});
    } else {
        commit(SetBackgroundCommand::color(doc_.page(), currentColor_));
        enable(ctl::Bigger, false);
        enable(ctl::Smaller, false);
    }
    paintSwatch(false, 0);
}

void PropertyPanel::setPressed(int id, bool pressed)
{
    if (auto* b = window_.itemAs<panel::ImageButton>(id))
        b->setPressed(pressed ? 1 : 0);
}

bool PropertyPanel::isPressed(int id) const
{
    const auto* b = window_.itemAs<panel::ImageButton>(id);
    return b && b->isPressed();
}

void PropertyPanel::enable(int id, bool enabled)
{
    if (QWidget* w = window_.item(id))
        w->setEnabled(enabled);
}
