// SPDX-License-Identifier: GPL-3.0-or-later
// The card on a screen of more device pixels than window pixels; run with
// QT_SCALE_FACTOR above 1.
#include "EditorTest.h"
#include "../Pixels.h"
#include "../model/DocumentBytes.h"
#include "app/CardView.h"
#include "model/ObjItemRect.h"
#include "model/ObjItemText.h"
#include "platform/Codec.h"
#include "platform/Dc.h"

#include <cmath>

namespace {

class HiDpiTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        ratio = dlg->devicePixelRatio();
        if (ratio == 1)
            GTEST_SKIP() << "runs with QT_SCALE_FACTOR above 1";
        layout = dlg->view().deviceLayout(ratio);
    }
    QImage window() const { return dlg->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    qreal ratio = 1;
    CardView::DeviceLayout layout;
};

TEST_F(HiDpiTest, TheCardIsDrawnAtDevicePixelsAsPrintingDrawsItWithNoSeamAtItsEdge)
{
    auto text = std::make_unique<ObjItemText>();
    text->SetText(platform::toCp932(QStringLiteral("山田 太郎 Ag")));
    text->SetFontSize(14);
    text->Offset(300, 300);
    dlg->page().append(std::move(text));
    dlg->page().backColor = 0xF0E0D0;

    const platform::Rect& card = layout.card;
    ASSERT_EQ(card.intersected(layout.canvas), card) << "the fitted card shows whole";
    const QImage shown = window().copy(card.toQRect());

    // The print path: the same items on a surface of the card's device size.
    platform::Dc dc(card.toQRect().size());
    dc.setScale(layout.scale);
    dc.setPrinting(true);
    dlg->page().drawBackground(dc, platform::Rect{0, 0, int(card.width()), int(card.height())});
    dlg->page().forEachInDrawingOrder([&dc](const ObjItem& item) { item.Draw(dc); });
    EXPECT_EQ(pixels::maxDifference(shown, *dc.image()), 0);

    // Not the window-pixel card made bigger.
    if (ratio == std::floor(ratio)) {
        const QImage small = dlg->view().composeCard(nullptr, nullptr, 1);
        EXPECT_GT(pixels::maxDifference(small, shown, int(ratio)), 60);
    }

    // The shadow meets the card's right and bottom edges: no canvas between.
    const QImage all = window();
    const int shadow = qRound(10 * ratio);
    const QRgb back = all.pixel(card.left + 1, card.top + 1);
    for (int y = card.top + shadow; y < card.bottom; ++y)
        ASSERT_EQ(std::pair(all.pixel(card.right - 1, y), all.pixel(card.right, y)), std::pair(back, 0xFF808080u)) << y;
    for (int x = card.left + shadow; x < card.right; ++x)
        ASSERT_EQ(std::pair(all.pixel(x, card.bottom - 1), all.pixel(x, card.bottom)), std::pair(back, 0xFF808080u)) << x;
}

TEST_F(HiDpiTest, HandlesAreDrawnAtTheirWindowSizeAndHitWhereTheyAreDrawn)
{
    auto rect = std::make_unique<ObjItemRect>();
    place(*rect, 400, 300, 600, 400);
    rect->color = 0x206080;
    const ObjItem* item = dlg->page().append(std::move(rect))->get();
    dlg->selection().select(std::prev(dlg->page().items().end()));

    const QImage marked = window();
    QRect plainAt;
    const QImage plain = dlg->view().composeCard(nullptr, &plainAt, ratio);
    for (int i = 0; i < item->GetHandleCount(); ++i) {
        SCOPED_TRACE(i);
        QPoint handle;
        ASSERT_TRUE(item->GetHandle(i, handle));
        const QPoint at = ViewScale::at(layout.scale).toDevice(handle) + QPoint(layout.card.left, layout.card.top);
        QRect drawn;
        const QRect around(at - QPoint(20, 20), QSize(40, 40));
        for (int y = around.top(); y <= around.bottom(); ++y)
            for (int x = around.left(); x <= around.right(); ++x)
                if (marked.pixel(x, y) != plain.pixel(x - plainAt.left(), y - plainAt.top()))
                    drawn |= QRect(x, y, 1, 1);
        // Seven window pixels square, as at 100 %.
        EXPECT_EQ(drawn.size(), QSize(qRound(7 * ratio), qRound(7 * ratio)));

        // A press on the middle of what is drawn grabs that handle.
        const QPoint press = (QPointF(drawn.center()) / ratio).toPoint();
        ASSERT_TRUE(dlg->canvas().onLButtonDown(press));
        EXPECT_EQ(std::pair(dlg->canvas().dragMode(), dlg->canvas().handleIndex()), std::pair(int(CardCanvas::Handle), i));
        dlg->canvas().onLButtonUp();
    }
}

} // namespace
