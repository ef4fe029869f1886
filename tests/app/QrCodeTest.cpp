// SPDX-License-Identifier: GPL-3.0-or-later
#include "EditorTest.h"
#include "QrRead.h"
#include "app/CardCommand.h"
#include "app/QrCodeDlg.h"
#include "model/ObjItemBitmap.h"
#include "model/QrPicture.h"
#include "resources/QrTexts.h"
#include "ui/ChoiceDialogs.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

using namespace Qt::StringLiterals;
using testsupport::MessageBoxScript;
using testsupport::Override;
namespace texts = resources::texts::qr;

namespace {

const QStringList kContact{u"山田 太郎"_s, u"やまだ たろう"_s, u"ペルモラ商会"_s, u"店長"_s, u"03-1234"_s,
                           u"090-1111"_s, {}, u"taro@example.jp"_s, u"https://example.jp"_s, u"東京都"_s};
const QrContent kUrl = QrContent::url(u"https://example.jp/a"_s);

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
    ObjItemBitmap* addCode(std::function<void(QrCodeDlg&)> act = [](QrCodeDlg& d) { d.setContent(kUrl); })
    {
        const auto dialog = answering(std::move(act));
        press(ctl::AddQr);
        return dynamic_cast<ObjItemBitmap*>(dlg->selection().item());
    }
    QString warning() const { return dlg->itemAs<QLabel>(ctl::QrWarning)->text(); }
};

// A contact typed by its kind button at level Q, then changed by "なかみ..." to a
// text: each makes a code that reads as typed, each in one step to undo.
TEST_F(QrCodeTest, TheDialogAddsACentredCodeAndEditsItInOneStepEach)
{
    ObjItemBitmap* code = addCode([](QrCodeDlg& d) {
        d.itemAs<QRadioButton>(ctl::qr::KindContact)->click();
        for (int i = 0; i < QrContent::ContactFieldCount; ++i)
            d.itemAs<QLineEdit>(ctl::qr::Contact + i)->setText(kContact[i]);
        d.itemAs<QComboBox>(ctl::qr::Level)->setCurrentIndex(QrContent::Q);
    });
    ASSERT_TRUE(code && code->qr);
    const auto shown = [&] { return std::pair(*code->qr, read(code->dib)); };
    const auto typed = [](const QrContent& c) { return std::pair(c, QStringList{c.payload()}); };
    const QrContent contact = QrContent::contact(kContact, QrContent::Q);
    EXPECT_EQ(shown(), typed(contact));
    const platform::Rect card = dlg->cardUnits();
    // 20 mm square, its centre within a unit of the card's.
    EXPECT_EQ(std::tuple(code->cx, code->cy, std::abs(code->x * 2 + code->cx - card.right) <= 1,
                         std::abs(code->y * 2 + code->cy - card.bottom) <= 1),
              std::tuple(567, 567, true, true));
    const QrContent text = QrContent::text(u"こんにちは\nまた あおうね"_s, QrContent::L);
    {
        const auto dialog = answering([&](QrCodeDlg& d) { d.setContent(text); });
        press(ctl::QrContents);
    }
    EXPECT_EQ(shown(), typed(text));
    dlg->undo();
    EXPECT_EQ(shown(), typed(contact));
    dlg->undo();
    EXPECT_TRUE(items().empty());
}

// An item drawn over the quiet zone warns, one sent behind does not; so do modules
// under 0.25 mm. A colour too light to read is refused and changes nothing.
TEST_F(QrCodeTest, WarningsForACoveredQuietZoneSmallModulesAndALightColour)
{
    ObjItemBitmap* code = addCode();
    const ItemGeometry box = ItemGeometry::of(*code);
    const int side = code->dibWidth, quiet = code->cx * qr::kQuietZone / side;
    auto& doc = dlg->document();
    const auto codePos = *dlg->selection().position();
    auto cover = std::make_unique<ObjItemRect>();
    ItemGeometry{box.x - 20, box.y - 20, quiet, quiet}.applyTo(*cover);
    doc.apply(std::make_unique<AddItemCommand>(std::move(cover), doc.tail()));
    const auto coverPos = *dlg->selection().position();
    for (bool behind : {false, true}) {
        if (behind)
            doc.apply(std::make_unique<SendToBackCommand>(coverPos));
        dlg->selection().select(codePos);
        dlg->refreshPanel();
        EXPECT_EQ(warning(), behind ? QString() : QString::fromUtf8(texts::QuietZoneCovered));
    }
    const int small = 25 * 720 * side / 2540; // just under 0.25 mm a module
    for (int size : {small, small + 30}) {
        const ItemGeometry to{box.x, box.y, size, size};
        doc.apply(std::make_unique<MoveItemCommand>(codePos, ItemGeometry::of(*code), to));
        EXPECT_EQ(warning(), size == small ? QString::fromUtf8(texts::SmallModules) : QString()) << size;
    }

    std::deque<std::optional<std::uint32_t>> colors{0x00FFFF, 0x0000C0}; // yellow, then dark red
    const Override colorDialog(ui::setColorDialogProvider, [&](auto...) { return testsupport::next(colors); });
    const QByteArray black = code->dib.bytes();
    MessageBoxScript boxes;
    press(ctl::OtherColor);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(std::tuple(boxes.shown()[0].text, code->color, code->dib.bytes() == black, dlg->currentColor()),
              std::tuple(QString::fromUtf8(texts::TooLight), 0u, true, 0u));
    press(ctl::OtherColor);
    EXPECT_EQ(std::pair(code->color, code->dib.toImage().pixel(4, 4)), std::pair(0x0000C0u, 0xFFC00000u));
}

// A file whose QR records were cut short: the card opens with a message, and
// writing over that file asks first; No leaves it as it was.
TEST_F(QrCodeTest, DamagedRecordsAreToldOfAndOverwritingAsks)
{
    addCode();
    const QString damaged = path("damaged.pmr");
    ASSERT_TRUE(dlg->saveDocument(damaged));
    const QByteArray bytes = testsupport::readFile(damaged).chopped(3);
    ASSERT_TRUE(testsupport::writeFile(damaged, bytes));
    MessageBoxScript boxes({platform::IdOk, platform::IdNo, platform::IdYes});
    testsupport::FileDialogScript chooser({damaged, damaged});
    ASSERT_TRUE(dlg->loadDocument(damaged));
    press(ctl::Save);
    EXPECT_EQ(testsupport::readFile(damaged), bytes);
    press(ctl::Save);
    EXPECT_NE(testsupport::readFile(damaged), bytes);
    ASSERT_EQ(boxes.shown().size(), 3u);
    EXPECT_EQ(std::tuple(boxes.shown()[0].text, boxes.shown()[2].text, boxes.shown()[2].buttons),
              std::tuple(QString::fromUtf8(texts::ExtrasDamaged), QString::fromUtf8(texts::ExtrasDamagedSave),
                         platform::MbButtons::YesNo));
}

} // namespace
