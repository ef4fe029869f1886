// SPDX-License-Identifier: GPL-3.0-or-later
#include "EditorTest.h"
#include "QrRead.h"
#include "app/CardCommand.h"
#include "app/QrCodeDlg.h"
#include "app/QrCommand.h"
#include "model/ObjItemBitmap.h"
#include "model/ObjItemRect.h"
#include "model/ObjItemText.h"
#include "model/QrPicture.h"
#include "resources/QrTexts.h"
#include "ui/ChoiceDialogs.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

using namespace Qt::StringLiterals;
using testsupport::FileDialogScript;
using testsupport::MessageBoxScript;
using testsupport::Override;
namespace ids = ctl::qr;
namespace texts = resources::texts::qr;

namespace {

const QStringList kContact{u"山田 太郎"_s, u"やまだ たろう"_s, u"ペルモラ商会"_s, u"店長"_s, u"03-1234-5678"_s,
                           u"090-1111-2222"_s, {}, u"taro@example.jp"_s, u"https://example.jp"_s, u"東京都千代田区1-1"_s};

// The code's picture as ZXing reads it, four pixels a module.
QStringList read(const platform::Dib& picture)
{
    const QImage image = picture.toImage();
    return qrread::zxing(image.scaled(image.size() * 4, Qt::IgnoreAspectRatio, Qt::FastTransformation));
}

class QrCodeTest : public EditorTest {
protected:
    // The dialog, whenever it opens within the scope, runs act and clicks OK.
    static Override<QrCodeDlg::Provider> answering(std::function<void(QrCodeDlg&)> act)
    {
        return {QrCodeDlg::setProvider, testsupport::clicking<QrCodeDlg>(std::move(act))};
    }
    ObjItemBitmap* addCode(const QrContent& content)
    {
        const auto dialog = answering([&](QrCodeDlg& d) { d.setContent(content); });
        press(ctl::AddQr);
        return dynamic_cast<ObjItemBitmap*>(dlg->selection().item());
    }
    QString warning() const { return dlg->itemAs<QLabel>(ctl::QrWarning)->text(); }
};

// Typed as a user types: first nothing, then more than any code holds (a message
// each, and the dialog stays), then a contact by its kind button at level Q.
TEST_F(QrCodeTest, TheDialogAddsACentredCodeThatReadsAsTheTypedContactInOneStep)
{
    MessageBoxScript boxes;
    const Override<QrCodeDlg::Provider> dialog(QrCodeDlg::setProvider, [&](QrCodeDlg& d) {
        QTest::mouseClick(d.itemAs<QPushButton>(1), Qt::LeftButton);
        d.setContent(QrContent::text(QString(3000, u'あ'), QrContent::H));
        QTest::mouseClick(d.itemAs<QPushButton>(1), Qt::LeftButton);
        EXPECT_EQ(std::pair(d.result(), d.preview().isNull()), std::pair(0, true));
        d.itemAs<QRadioButton>(ids::KindContact)->click();
        for (int i = 0; i < QrContent::ContactFieldCount; ++i)
            d.itemAs<QLineEdit>(ids::Contact + i)->setText(kContact[i]);
        d.itemAs<QComboBox>(ids::Level)->setCurrentIndex(QrContent::Q);
        QTest::mouseClick(d.itemAs<QPushButton>(1), Qt::LeftButton);
        return d.result();
    });
    press(ctl::AddQr);
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(std::pair(boxes.shown()[0].text, boxes.shown()[1].text), std::pair(QString::fromUtf8(texts::Empty), QString::fromUtf8(texts::TooLong)));
    const auto* code = dynamic_cast<const ObjItemBitmap*>(dlg->selectedItem());
    ASSERT_TRUE(code && code->qr);
    EXPECT_EQ(*code->qr, QrContent::contact(kContact, QrContent::Q));
    EXPECT_EQ(read(code->dib), QStringList{code->qr->payload()});
    const platform::Rect card = dlg->cardUnits();
    // 20 mm square, its centre within a unit of the card's.
    EXPECT_EQ(std::tuple(code->cx, code->cy, code->color, std::abs(code->x * 2 + code->cx - card.right) <= 1,
                         std::abs(code->y * 2 + code->cy - card.bottom) <= 1),
              std::tuple(567, 567, 0u, true, true));
    dlg->undo();
    EXPECT_TRUE(items().empty());
}

// "なかみ..." opens on what the code says; OK replaces content and picture as one step.
TEST_F(QrCodeTest, EditingTheContentsIsOneStepToUndo)
{
    const QrContent before = QrContent::url(u"https://example.jp/a"_s);
    ObjItemBitmap* code = addCode(before);
    ASSERT_TRUE(code);
    const QrContent after = QrContent::text(u"こんにちは\nまた あおうね"_s, QrContent::L);
    std::optional<QrContent> opened;
    {
        const auto dialog = answering([&](QrCodeDlg& d) {
            opened = d.content();
            d.setContent(after);
        });
        press(ctl::QrContents);
    }
    EXPECT_EQ(std::pair(opened, code->qr), std::pair(std::optional(before), std::optional(after)));
    EXPECT_EQ(std::pair(read(code->dib), code->dibWidth), std::pair(QStringList{after.payload()}, code->dib.width()));
    dlg->undo();
    EXPECT_EQ(std::pair(code->qr, read(code->dib)), std::pair(std::optional(before), QStringList{before.payload()}));
    dlg->redo();
    EXPECT_EQ(code->qr, std::optional(after));
}

TEST_F(QrCodeTest, ACodeShowsItsOwnControlsInThePictureGroup)
{
    auto picture = std::make_unique<ObjItemBitmap>(dlg->cardUnits(), qr::picture(QrContent::url(u"x"_s), 0));
    dlg->document().apply(std::make_unique<AddItemCommand>(std::move(picture), dlg->document().tail()));
    addCode(QrContent::url(u"https://example.jp"_s));
    const std::vector<int> pictureOnly = {ctl::ShapeCaption, ctl::ShapeRect, ctl::ShapeWhiteOut, ctl::ShapeCircle,
                                          ctl::ShapeHeart, ctl::BlurEdges, ctl::ReplacePicture};
    const std::vector<int> codeOnly = {ctl::QrContents, ctl::QrWarning, ctl::Swatch, ctl::OtherColor};
    // The code, the plain picture, the code again, the background.
    for (int step : {1, 0, 1, -1}) {
        SCOPED_TRACE(step);
        dlg->selection().clear();
        if (step >= 0)
            dlg->selection().select(std::next(dlg->page().items().begin(), step));
        dlg->refreshPanel();
        EXPECT_EQ(dlg->itemAs<QLabel>(ctl::PanelTitle)->text(), QString::fromUtf8(step == 1 ? "QRコード" : step == 0 ? "ビットマップ" : "はいけい"));
        for (int id : pictureOnly)
            EXPECT_EQ(dlg->item(id)->isVisible(), step == 0) << id;
        for (int id : codeOnly)
            EXPECT_EQ(dlg->item(id)->isVisible(), step == 1 || (step == -1 && (id == ctl::Swatch || id == ctl::OtherColor))) << id;
    }
}

// Readable colours make the picture again in one step; light ones change nothing.
TEST_F(QrCodeTest, ColourRemakesTheCodeUnlessTooLightToRead)
{
    // Red and mid grey pass; yellow, orange and light grey do not.
    for (const auto& [color, readable] : {std::pair(0x0000FFu, true), std::pair(0x808080u, true), std::pair(0x00FFFFu, false),
                                          std::pair(0x00A5FFu, false), std::pair(0x969696u, false)})
        EXPECT_EQ(qrColorReadable(color), readable) << std::hex << color;

    ObjItemBitmap* code = addCode(QrContent::url(u"https://example.jp"_s));
    std::deque<std::optional<std::uint32_t>> colors{0x00FFFF, 0x0000C0};
    const Override colorDialog(ui::setColorDialogProvider, [&](std::uint32_t, QWidget*) { return testsupport::next(colors); });
    const QByteArray black = code->dib.bytes();
    {
        MessageBoxScript boxes;
        press(ctl::OtherColor);
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(std::tuple(boxes.shown()[0].text, code->color, code->dib.bytes() == black, dlg->currentColor()),
                  std::tuple(QString::fromUtf8(texts::TooLight), 0u, true, 0u));
    }
    press(ctl::OtherColor);
    EXPECT_EQ(std::tuple(code->color, code->dib.toImage().pixel(4, 4), dlg->currentColor()), std::tuple(0x0000C0u, 0xFFC00000u, 0x0000C0u));
    EXPECT_EQ(read(code->dib), QStringList{code->qr->payload()});
    dlg->undo();
    EXPECT_EQ(std::pair(code->color, code->dib.bytes() == black), std::pair(0u, true));
}

// Modules under 0.25 mm, and items drawn above over the quiet zone, each show a
// line; items below the code, or within its modules, do not.
TEST_F(QrCodeTest, WarningsFollowSizeAndItemsOverTheQuietZone)
{
    ObjItemBitmap* code = addCode(QrContent::url(u"https://example.jp"_s));
    const int side = code->dibWidth, quiet = code->cx * qr::kQuietZone / side;
    const ItemGeometry box = ItemGeometry::of(*code);
    const int small = 25 * 720 * side / 2540; // just under 0.25 mm a module
    auto& doc = dlg->document();
    const auto codePos = *dlg->selection().position();
    for (const auto& [size, warns] : {std::pair(box.cx, false), std::pair(small, true), std::pair(small + 30, false)}) {
        doc.apply(std::make_unique<MoveItemCommand>(codePos, ItemGeometry::of(*code), ItemGeometry{box.x, box.y, size, size}));
        EXPECT_EQ(warning(), warns ? QString::fromUtf8(texts::SmallModules) : QString()) << size;
    }
    doc.apply(std::make_unique<MoveItemCommand>(codePos, ItemGeometry::of(*code), box));
    const struct {
        const char* name;
        bool text;
        ItemGeometry at;
        bool sendBack;
        bool covered;
    } cases[] = {
        {"corner of the ring", false, {box.x - 20, box.y - 20, quiet, quiet}, false, true},
        {"sent behind", false, {box.x - 20, box.y - 20, quiet, quiet}, true, false},
        {"within the modules", false, {box.x + quiet + 5, box.y + quiet + 5, 40, 40}, false, false},
        {"beside it", false, {box.x + box.cx + 1, box.y, 50, 50}, false, false},
        {"text listed first is still above", true, {box.x + box.cx - quiet / 2, box.y + 100, 200, 60}, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<ObjItem> item = c.text ? std::unique_ptr<ObjItem>(std::make_unique<ObjItemText>()) : std::make_unique<ObjItemRect>();
        c.at.applyTo(*item);
        doc.apply(std::make_unique<AddItemCommand>(std::move(item), doc.tail()));
        const auto other = *dlg->selection().position();
        if (c.sendBack)
            doc.apply(std::make_unique<SendToBackCommand>(other));
        dlg->selection().select(codePos);
        dlg->refreshPanel();
        EXPECT_EQ(warning(), c.covered ? QString::fromUtf8(texts::QuietZoneCovered) : QString());
        doc.apply(std::make_unique<DeleteItemCommand>(other));
    }
}

// A file whose QR records were cut short: the card opens with a message, and
// writing over that file asks first; No leaves it as it was.
TEST_F(QrCodeTest, DamagedRecordsAreToldOfAndOverwritingAsks)
{
    addCode(QrContent::url(u"https://example.jp"_s));
    const QString damaged = path("damaged.pmr"), other = path("other.pmr");
    ASSERT_TRUE(dlg->saveDocument(damaged));
    QByteArray bytes = testsupport::readFile(damaged);
    bytes.chop(3);
    ASSERT_TRUE(testsupport::writeFile(damaged, bytes));
    {
        MessageBoxScript boxes;
        ASSERT_TRUE(dlg->loadDocument(damaged));
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0].text, QString::fromUtf8(texts::ExtrasDamaged));
        ASSERT_EQ(items().size(), 1u);
        EXPECT_FALSE(dynamic_cast<const ObjItemBitmap*>(items()[0])->qr);
    }
    // No, then another file (no question), then Yes, then no more questions.
    MessageBoxScript boxes({platform::IdNo, platform::IdYes});
    FileDialogScript chooser({damaged, other, damaged, damaged});
    press(ctl::Save);
    EXPECT_EQ(testsupport::readFile(damaged), bytes);
    for (int i = 0; i < 3; ++i)
        press(ctl::Save);
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(std::pair(boxes.shown()[0].text, boxes.shown()[0].buttons), std::pair(QString::fromUtf8(texts::ExtrasDamagedSave), platform::MbButtons::YesNo));
    EXPECT_TRUE(QFile::exists(other));
    EXPECT_NE(testsupport::readFile(damaged), bytes);

    // An undamaged file says nothing.
    MessageBoxScript quiet;
    ASSERT_TRUE(dlg->loadDocument(other));
    EXPECT_TRUE(quiet.shown().empty());
}

} // namespace
