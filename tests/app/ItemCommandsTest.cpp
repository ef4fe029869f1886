// SPDX-License-Identifier: GPL-3.0-or-later
#include "EditorTest.h"
#include "app/CardCommand.h"
#include "model/ObjItemBitmap.h"
#include "model/ObjItemLine.h"
#include "model/ObjItemText.h"
#include "panel/ColorSwatch.h"
#include "panel/ImageButton.h"
#include "model/ViewScale.h"
#include "ui/ChoiceDialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <climits>
#include <deque>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

using ItemCommandsTest = EditorTest;

class PropertyPanelTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        QObject::connect(&dlg->document(), &CardDocument::changed, [this](CardDocument::Changes what) {
            if (what != CardDocument::ModifiedChanged)
                ++heard;
        });
    }
    QWidget* w(int id) { return dlg->item(id); }
    bool pressed(int id) { return dlg->itemAs<panel::ImageButton>(id)->isPressed(); }
    // Selects the item, or nothing, and fills the panel as a click does.
    void select(ObjItem* item)
    {
        auto& items = dlg->page().items();
        dlg->selection().clear();
        for (auto it = items.begin(); it != items.end(); ++it)
            if (it->get() == item)
                dlg->selection().select(it);
        dlg->refreshPanel();
    }
    template <class Item>
    Item* add(int tool)
    {
        press(tool);
        return dynamic_cast<Item*>(dlg->selection().item());
    }
    ObjItemBitmap* addPicture()
    {
        auto picture = std::make_unique<ObjItemBitmap>(dlg->cardUnits(), testPicture(8, 4));
        auto* raw = picture.get();
        dlg->document().apply(std::make_unique<AddItemCommand>(std::move(picture), dlg->document().tail()));
        return raw;
    }
    QString title() { return dlg->itemAs<QLabel>(ctl::PanelTitle)->text(); }
    void clean()
    {
        dlg->document().markSaved();
        heard = 0;
    }
    // Whether the card is modified and how many changes the window heard since clean().
    void expectCounted(bool modified, int changes) { EXPECT_EQ(std::pair(dlg->isModified(), heard), std::pair(modified, changes)); }

    int heard = 0;
};

TEST_F(PropertyPanelTest, EachKindShowsItsGroupAndTitleAndOnlyPicturesHideTheSwatch)
{
    EXPECT_EQ(title(), QStringLiteral("はいけい"));
    auto* rect = add<ObjItem>(ctl::AddRect);
    rect->color = 0x0000FF;
    auto* text = add<ObjItemText>(ctl::AddText);
    auto* line = add<ObjItemLine>(ctl::AddLine);
    ObjItemBitmap* picture = addPicture();
    ObjItemBitmap* code = addPicture(); // a QR code shows its own controls and the colour instead
    code->qr = QrContent::url(u"https://example.jp/a"_s);
    const struct { ObjItem* item; const char* title; std::vector<int> visible; std::vector<int> hidden; } cases[] = {
        {text, "もじ", {ctl::TextEdit, ctl::Font, ctl::AlignLeft, ctl::Bigger, ctl::Swatch}, {ctl::Pattern, ctl::LineWidth}},
        {line, "せん", {ctl::LineWidth, ctl::WidthCaption, ctl::WidthUnit, ctl::OtherColor}, {ctl::TextEdit, ctl::Bigger}},
        {picture, "ビットマップ", {ctl::BlurEdges, ctl::ShapeHeart, ctl::ReplacePicture}, {ctl::Swatch, ctl::OtherColor, ctl::QrContents}},
        {code, "QRコード", {ctl::QrContents, ctl::Swatch, ctl::OtherColor}, {ctl::ShapeRect, ctl::ShapeWhiteOut, ctl::ShapeCircle, ctl::BlurEdges}},
        {rect, "しかく", {ctl::Swatch, ctl::OtherColor}, {ctl::BlurEdges, ctl::ReplacePicture, ctl::LineWidth}},
        {nullptr, "はいけい", {ctl::Pattern, ctl::Bigger, ctl::Swatch, ctl::OtherColor}, {ctl::TextEdit, ctl::ShapeRect}},
    };
    // Filling the width field counts as setting the width: only a line marks the card.
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        clean();
        select(c.item);
        expectCounted(c.item == line, c.item == line ? 1 : 0);
        EXPECT_EQ(title(), QString::fromUtf8(c.title));
        for (int id : c.visible)
            EXPECT_TRUE(w(id)->isVisible()) << id;
        for (int id : c.hidden)
            EXPECT_FALSE(w(id)->isVisible()) << id;
    }
    // The rectangle after the picture shows its own colour again.
    select(picture);
    select(rect);
    EXPECT_EQ(std::pair(dlg->currentColor(), dlg->itemAs<panel::ColorSwatch>(ctl::Swatch)->color()), std::pair(0x0000FFu, 0x0000FFu));
}

// Each edit sets its field by the item's rules. A step from an extreme stored size
// or scale stops at the int limit, then at the clamp; a press that changes nothing
// still redraws and marks the card, where the editor says so, but not a shape
// button already pressed.
TEST_F(PropertyPanelTest, EditsSetTheirFieldAndEveryPressCounts)
{
    auto* text = add<ObjItemText>(ctl::AddText);
    auto* rect = add<ObjItem>(ctl::AddRect);
    ObjItemBitmap* picture = addPicture();
    platform::LogFont bold = text->GetFont();
    bold.weight = 700;
    std::deque<std::optional<platform::LogFont>> fonts{std::nullopt, bold};
    testsupport::Override fontDialog(ui::setFontDialogProvider, [&](const ui::FontRequest&, QWidget*) { return testsupport::next(fonts); });
    int& size = text->font.height;
    int& scale = dlg->page().patternScale;
    // heard: the changes heard, and modified; none: unmodified.
    const struct { ObjItem* item; int* value; int stored, button, after, heard; } cases[] = {
        {text, &size, -72, ctl::Bigger, -72, 1},   {text, &size, -8, ctl::Bigger, -9, 1},
        {text, &size, INT_MIN, ctl::Bigger, -72, 1},
        {text, &size, -9, ctl::Font, -9, 0},       {text, &text->font.weight, 400, ctl::Font, 700, 1},
        {text, &text->align, 0, ctl::AlignRight, ObjItemText::AlignRight, 1},
        {rect, &rect->x, 7, ctl::Bigger, 7, 0},
        {picture, &picture->edgeMode, ObjItemBitmap::EdgeBlur, ctl::BlurEdges, ObjItemBitmap::EdgePlain, 1},
        {picture, &picture->edgeMode, ObjItemBitmap::EdgePlain, ctl::BlurEdges, ObjItemBitmap::EdgeBlur, 1},
        {picture, &picture->shape, ObjItemBitmap::ShapeEllipse, ctl::ShapeCircle, ObjItemBitmap::ShapeEllipse, 0},
        {picture, &picture->whiteOut, 1, ctl::ShapeWhiteOut, 1, 0},
        {nullptr, &scale, 100, ctl::Bigger, 100, 1},  {nullptr, &scale, 40, ctl::Smaller, 20, 1},
        {nullptr, &scale, INT_MAX, ctl::Bigger, 100, 1},
    };
    dlg->page().setPattern(testPicture(4, 4));
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.button << " from " << c.stored);
        *c.value = c.stored;
        select(c.item);
        clean();
        dlg->itemAs<panel::ImageButton>(c.button) ? click(c.button) : press(c.button);
        EXPECT_EQ(*c.value, c.after);
        expectCounted(c.heard > 0, c.heard);
    }
}

TEST_F(PropertyPanelTest, WhiteOutDisablesTheBlurAndAnotherShapeEndsIt)
{
    ObjItemBitmap* picture = addPicture();
    picture->shape = ObjItemBitmap::ShapeEllipse;
    picture->edgeMode = ObjItemBitmap::EdgeBlur;
    select(picture);
    EXPECT_TRUE(pressed(ctl::ShapeCircle) && pressed(ctl::BlurEdges));
    clean();
    click(ctl::ShapeWhiteOut);
    EXPECT_EQ(std::tuple(picture->whiteOut, picture->shape, picture->edgeMode), std::tuple(1, ObjItemBitmap::ShapeRect, ObjItemBitmap::EdgeBlur));
    EXPECT_FALSE(pressed(ctl::ShapeCircle) || w(ctl::BlurEdges)->isEnabled());
    expectCounted(true, 1);
    click(ctl::ShapeHeart);
    EXPECT_EQ(std::tuple(picture->shape, picture->whiteOut, w(ctl::BlurEdges)->isEnabled(), pressed(ctl::ShapeWhiteOut)),
              std::tuple(int(ObjItemBitmap::ShapeHeart), 0, true, false));
}

TEST_F(PropertyPanelTest, AColourAfterAPatternDropsItAndTheSwatchRunsTheDialog)
{
    std::deque<std::optional<std::uint32_t>> colors{std::nullopt, 0x123456};
    std::vector<std::uint32_t> asked;
    testsupport::Override colorDialog(ui::setColorDialogProvider, [&](std::uint32_t initial, QWidget*) {
        asked.push_back(initial);
        return testsupport::next(colors);
    });
    const QString pattern = path("pattern.png");
    QImage(16, 16, QImage::Format_RGB32).save(pattern);
    dlg->page().patternScale = 40;
    {
        testsupport::FileDialogScript chosen({pattern});
        press(ctl::Pattern);
    }
    // At 100 %, whatever the scale was.
    EXPECT_EQ(std::tuple(dlg->page().pattern.width(), dlg->page().patternScale, w(ctl::Bigger)->isEnabled()), std::tuple(16, 100, true));

    clean();
    press(ctl::OtherColor); // cancelled
    EXPECT_FALSE(dlg->page().pattern.isEmpty());
    expectCounted(false, 0);
    const QPoint swatch = w(ctl::Swatch)->mapTo(dlg.get(), w(ctl::Swatch)->rect().center());
    QTest::mouseClick(dlg.get(), Qt::LeftButton, {}, swatch);
    EXPECT_EQ(asked, (std::vector<std::uint32_t>{0xFFFFFF, 0xFFFFFF}));
    EXPECT_EQ(std::tuple(dlg->page().pattern.isEmpty(), dlg->page().backColor, dlg->itemAs<panel::ColorSwatch>(ctl::Swatch)->color(), dlg->isModified()),
              std::tuple(true, 0x123456u, 0x123456u, true));
    EXPECT_FALSE(w(ctl::Bigger)->isEnabled() || w(ctl::Smaller)->isEnabled());

    // Any selected item takes the colour, and the next dialog starts from it.
    auto* rect = add<ObjItem>(ctl::AddRect);
    const std::uint32_t before = rect->color;
    colors = {0x00FF00};
    press(ctl::OtherColor);
    EXPECT_EQ(std::pair(rect->color, asked.back()), std::pair(0x00FF00u, before));
}

TEST_F(PropertyPanelTest, TheFontDialogStartsFromTheTextClampsItsChoiceAndNeverSeesTheVerticalMark)
{
    auto* text = add<ObjItemText>(ctl::AddText);
    text->color = 0x0000FF;
    platform::LogFont huge = text->GetFont();
    huge.height = -100;
    std::vector<ui::FontRequest> asked;
    std::function<platform::LogFont(platform::LogFont)> answer = [&](platform::LogFont) { return huge; };
    testsupport::Override fontDialog(ui::setFontDialogProvider, [&](const ui::FontRequest& r, QWidget*) {
        asked.push_back(r);
        return std::optional(answer(r.font));
    });
    press(ctl::Font);
    EXPECT_EQ(std::tuple(text->font.height, asked.front().color, text->color), std::tuple(-72, 0x0000FFu, 0x0000FFu));

    // The dialog's own point size is what comes back, as a character height.
    QFont chosen(QStringLiteral("IPAPGothic"));
    chosen.setPointSize(14);
    EXPECT_EQ(std::pair(ui::logFontFromDialog(chosen, text->GetFont()).height, ui::fontForDialog(huge).pointSize()), std::pair(-14, 100));
    // The document's face shows as the family it is drawn with and is kept when
    // that family is kept; another family replaces it.
    const QFont family = ui::fontForDialog(text->GetFont());
    const platform::LogFont kept = ui::logFontFromDialog(family, text->GetFont());
    EXPECT_EQ(std::tuple(family.family(), kept.faceNameBytes(),
                         ui::logFontFromDialog(QFont(u"IPAMincho"_s), text->GetFont()).faceNameUnicode()),
              std::tuple(platform::resolvedFamily(text->GetFont().faceNameUnicode()), text->GetFont().faceNameBytes(), u"IPAMincho"_s));

    // The vertical switch owns the face's "@": the font dialog never sees it and
    // keeps it; while it is on the alignments read top, bottom and middle.
    const auto shown = [&] {
        const auto name = [&](int id) { return dlg->itemAs<QAbstractButton>(id)->text(); };
        return std::tuple(pressed(ctl::Vertical), name(ctl::AlignLeft), name(ctl::AlignRight), name(ctl::AlignCenter));
    };
    const auto across = std::tuple(false, u"ひだり"_s, u"みぎ"_s, u"まんなか"_s), down = std::tuple(true, u"うえ"_s, u"した"_s, u"まんなか"_s);
    EXPECT_EQ(std::pair(w(ctl::Vertical)->isVisible(), shown()), std::pair(true, across));
    const QString face = text->GetFont().faceNameUnicode();
    click(ctl::Vertical);
    EXPECT_EQ(std::tuple(text->GetFont().faceNameUnicode(), text->font.escapement, shown()), std::tuple(u"@"_s + face, 2700, down));
    answer = [](platform::LogFont f) {
        f.setFaceName(u"IPAMincho"_s);
        return f;
    };
    press(ctl::Font);
    EXPECT_EQ(std::pair(asked.back().font.faceNameUnicode(), text->GetFont().faceNameUnicode()), std::pair(face, u"@IPAMincho"_s));
    add<ObjItemText>(ctl::AddText);
    select(text); // filled from the text again
    click(ctl::Vertical);
    EXPECT_EQ(std::tuple(text->GetFont().faceNameUnicode(), text->font.escapement, shown()), std::tuple(u"IPAMincho"_s, 0, across));
}

TEST_F(PropertyPanelTest, TheTextAndWidthFieldsTakeTheFocusAndKeepWhatAnItemCanHold)
{
    auto* text = add<ObjItemText>(ctl::AddText);
    auto* field = dlg->itemAs<QPlainTextEdit>(ctl::TextEdit);
    EXPECT_EQ(std::pair(field->hasFocus(), field->textCursor().selectedText()), std::pair(true, field->toPlainText()));
    clean();
    field->insertPlainText(QStringLiteral("𠮷野")); // as an input method commits it
    QTest::keyClick(field, Qt::Key_Return);
    QTest::keyClicks(field, QStringLiteral("Tel"));
    EXPECT_EQ(std::pair(text->textString(), dlg->isModified()), std::pair(QStringLiteral("𠮷野\r\nTel"), true)); // kept whole, though CP932 has no 𠮷

    // Filling the field again is not an edit.
    auto* other = add<ObjItemText>(ctl::AddText);
    clean();
    select(text);
    EXPECT_EQ(std::pair(field->toPlainText(), other->GetText() == text->GetText()), std::pair(u"𠮷野\nTel"_s, false));
    expectCounted(false, 0);

    click(ctl::AlignRight);
    EXPECT_EQ(std::pair(pressed(ctl::AlignRight), pressed(ctl::AlignLeft)), std::pair(true, false));

    // Text beyond what an item holds is cut to whole characters, and said once.
    const qsizetype max = ObjItemText::kMaxTextBytes;
    const QString kana = u"あ"_s.repeated(max / 2), pair = u"𠮷"_s;
    const struct { const char* name; QString pasted; QString kept; } cases[] = {
        {"two-byte characters and one more", kana + u'x', kana},
        {"a line break is two bytes", QString(max - 1, u'x') + u"\ny"_s, QString(max - 1, u'x')},
        {"a wide text keeps no half pair", u'a' + pair.repeated(max / 4), u'a' + pair.repeated(max / 4 - 1)},
        {"megabytes at once", QString(4 << 20, u'x'), QString(max, u'x')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::MessageBoxScript boxes;
        field->selectAll();
        field->insertPlainText(c.pasted);
        EXPECT_EQ(std::pair(field->toPlainText(), text->textString()), std::pair(c.kept, c.kept));
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0].text, u"もじが ながすぎるよ。はいりきらない ぶんは けしたよ"_s);
    }

    // The width field takes the focus too, clamps to 500, reads empty as 0 and
    // shows stored widths as it reads them.
    auto* line = add<ObjItemLine>(ctl::AddLine);
    auto* widthEdit = dlg->itemAs<QLineEdit>(ctl::LineWidth);
    EXPECT_EQ(std::pair(widthEdit->hasFocus(), widthEdit->selectedText()), std::pair(true, widthEdit->text()));
    widthEdit->selectAll();
    QTest::keyClicks(widthEdit, QStringLiteral("600"));
    EXPECT_EQ(std::tuple(widthEdit->text(), widthEdit->selectedText(), line->width), std::tuple(u"500"_s, u"500"_s, 500));
    QTest::keyClicks(widthEdit, QStringLiteral("37"));
    EXPECT_EQ(line->width, 37);
    // Empty, past 64 bits, negative as a signed 32-bit number.
    const std::tuple<QString, int, QString> typed[] = {{u""_s, 0, u""_s}, {u"99999999999999999999999"_s, 500, u"500"_s}, {u"2147483648"_s, 0, u"0"_s}};
    for (const auto& [keys, width, shownAfter] : typed) {
        widthEdit->setText(keys);
        EXPECT_EQ(std::pair(line->width, widthEdit->text()), std::pair(width, shownAfter));
    }
    // Selecting shows a stored width as the field reads it and keeps it as stored.
    const std::pair<int, const char*> stored[] = {{-1, "0"}, {INT_MIN, "0"}, {501, "500"}};
    for (const auto& [width, shownAfter] : stored) {
        line->width = width;
        select(line);
        EXPECT_EQ(std::pair(line->width, widthEdit->text()), std::pair(width, QString::fromUtf8(shownAfter)));
    }
}

TEST_F(ItemCommandsTest, DuplicatesGoBelowUntilTheBottomThenToTheCentre)
{
    const ViewScale& scale = dlg->view().scale();
    add(100, 0, 400, scale.toUnits(20));
    dlg->selection().select(std::prev(dlg->page().items().end()));
    const int cardW = int(dlg->cardRect().width());
    const int cardH = int(dlg->cardRect().height());

    bool centred = false;
    for (int copies = 0; copies < 20 && !centred; ++copies) {
        const ObjItem* before = dlg->selectedItem();
        const platform::Rect b = scale.toDevice(before->GetBounds());
        press(ctl::Duplicate);
        const platform::Rect c = scale.toDevice(dlg->selectedItem()->GetBounds());
        ASSERT_NE(dlg->selectedItem(), before);
        if (b.bottom + b.height() + 2 < cardH) {
            // A 2-pixel gap below the original, converted to units once.
            EXPECT_EQ(std::pair(dlg->selectedItem()->y, c.left), std::pair(before->y + scale.toUnits(b.height() + 2), b.left)) << copies;
        } else {
            EXPECT_NEAR(c.top, (cardH - b.height()) / 2, 1);
            EXPECT_NEAR(c.left, (cardW - b.width()) / 2, 1);
            EXPECT_GT(copies, 5);
            centred = true;
        }
        // The copy lies directly above the copied item, the last in the list.
        const auto list = items();
        EXPECT_EQ(std::vector(list.end() - 2, list.end()), (std::vector{before, dlg->selectedItem()}));
    }
    EXPECT_TRUE(centred);
}

TEST_F(ItemCommandsTest, AddSendBackDeleteAndReplaceMarkTheCardOnlyWhenTheyChangeIt)
{
    // Added items go last, selected, with their panel, and mark the card.
    press(ctl::AddRect);
    press(ctl::AddText);
    EXPECT_TRUE(dlg->isModified());
    press(ctl::AddText);
    const ObjItem* lastText = dlg->selectedItem();
    EXPECT_EQ(std::tuple(items().size(), items().back(), dlg->panelKind()), std::tuple(std::size_t(3), lastText, int(ObjItem::KindText)));
    press(ctl::SendBack);
    EXPECT_EQ(std::pair(items().front(), dlg->selectedItem()), std::pair(lastText, lastText));
    dlg->document().markSaved();
    press(ctl::SendBack); // already the head
    EXPECT_FALSE(dlg->isModified());

    press(ctl::Delete);
    EXPECT_EQ(std::tuple(items().size(), dlg->selectedItem(), dlg->panelKind(), dlg->isModified()),
              std::tuple(std::size_t(2), static_cast<const ObjItem*>(nullptr), PropertyPanel::kBackground, true));
    dlg->document().markSaved();
    for (int id : {ctl::Delete, ctl::Duplicate, ctl::SendBack})
        press(id);
    EXPECT_EQ(std::pair(items().size(), dlg->isModified()), std::pair(std::size_t(2), false));

    // Pictures come through the chooser; a replacement keeps the box and the look.
    const QString wide = path("wide.png"), tall = path("tall.png");
    QImage(200, 100, QImage::Format_RGB32).save(wide);
    QImage(50, 100, QImage::Format_RGB32).save(tall);
    testsupport::FileDialogScript chosen({std::nullopt, wide, tall});
    press(ctl::AddPicture); // cancelled
    EXPECT_EQ(std::pair(items().size(), dlg->isModified()), std::pair(std::size_t(2), false));
    press(ctl::AddPicture);
    ASSERT_EQ(items().size(), 3u);
    auto* picture = dynamic_cast<ObjItemBitmap*>(dlg->page().items().back().get());
    ASSERT_TRUE(picture);
    EXPECT_EQ(std::pair(dlg->selectedItem(), dlg->isModified()), (std::pair<const ObjItem*, bool>(picture, true)));

    picture->shape = ObjItemBitmap::ShapeHeart;
    picture->whiteOut = 1;
    picture->edgeMode = ObjItemBitmap::EdgeBlur;
    const platform::Rect box = picture->GetBounds();
    dlg->document().markSaved();
    press(ctl::ReplacePicture);
    EXPECT_EQ(std::tuple(picture->dibWidth, picture->GetBounds(), dlg->isModified(), chosen.shown().size(), picture->shape,
                         picture->whiteOut, picture->edgeMode),
              std::tuple(50, platform::Rect{box.left + 750, box.top, box.left + 1250, box.bottom}, true, std::size_t(3),
                         ObjItemBitmap::ShapeHeart, 1, ObjItemBitmap::EdgeBlur));
}

} // namespace
