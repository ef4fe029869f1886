// SPDX-License-Identifier: GPL-3.0-or-later
// The card on a screen of more device pixels than window pixels; run with
// QT_SCALE_FACTOR above 1.
#include "EditorTest.h"
#include "../Pixels.h"
#include "app/CardView.h"
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
        if ((ratio = dlg->devicePixelRatio()) == 1)
            GTEST_SKIP() << "runs with QT_SCALE_FACTOR above 1";
    }
    QImage window() const { return dlg->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    qreal ratio = 1;
};

TEST_F(HiDpiTest, TheCardIsDrawnAtDevicePixelsAsPrintingDrawsItWithNoSeamAtItsEdge)
{
    static_cast<ObjItemText*>(add<ObjItemText>(300, 300))->SetText(platform::toCp932(QStringLiteral("山田 太郎 Ag")));
    dlg->page().backColor = 0xF0E0D0;
    const CardView::DeviceLayout layout = dlg->view().deviceLayout(ratio);
    const platform::Rect& card = layout.card;
    const QImage all = window(), shown = all.copy(card.toQRect());

    // The print path: the same items on a surface of the card's device size.
    platform::Dc dc(card.toQRect().size());
    dc.setScale(layout.scale);
    dc.setPrinting(true);
    dlg->page().drawBackground(dc, platform::Rect{0, 0, int(card.width()), int(card.height())});
    dlg->page().forEachInDrawingOrder([&dc](const ObjItem& item) { item.Draw(dc); });
    EXPECT_EQ(pixels::maxDifference(shown, *dc.image()), 0);
    // Not the window-pixel card made bigger.
    if (ratio == std::floor(ratio)) {
        EXPECT_GT(pixels::maxDifference(dlg->view().composeCard(nullptr, nullptr, 1), shown, int(ratio)), 60);
    }

    // The shadow meets the card's right and bottom edges: no canvas between.
    const int shadow = qRound(10 * ratio);
    for (int i = shadow; i < std::min(card.width(), card.height()); ++i) {
        const QPoint right(card.right, card.top + i), below(card.left + i, card.bottom);
        ASSERT_EQ(std::tuple(all.pixel(right - QPoint(1, 0)), all.pixel(right), all.pixel(below - QPoint(0, 1)), all.pixel(below)),
                  std::tuple(0xFFD0E0F0u, 0xFF808080u, 0xFFD0E0F0u, 0xFF808080u)) << i;
    }
}

TEST_F(HiDpiTest, AHandleIsDrawnAtItsWindowSizeAndHitWhereItIsDrawn)
{
    const ObjItem* item = add(400, 300, 1600, 900);
    QRect plainAt;
    const QImage plain = dlg->view().composeCard(nullptr, &plainAt, ratio);
    dlg->selection().select(std::prev(dlg->page().items().end()));
    const QImage marked = window();

    // The handle farthest from the card's corner, where rounding differs most.
    const CardView::DeviceLayout layout = dlg->view().deviceLayout(ratio);
    QPoint handle;
    ASSERT_TRUE(item->GetHandle(2, handle));
    const QPoint at = ViewScale::at(layout.scale).toDevice(handle) + QPoint(layout.card.left, layout.card.top);
    QRect drawn;
    for (int y = at.y() - 20; y <= at.y() + 20; ++y)
        for (int x = at.x() - 20; x <= at.x() + 20; ++x)
            if (marked.pixel(x, y) != plain.pixel(x - plainAt.left(), y - plainAt.top()))
                drawn |= QRect(x, y, 1, 1);
    EXPECT_EQ(drawn.size(), QSize(qRound(7 * ratio), qRound(7 * ratio))); // seven window pixels, as at 100 %
    ASSERT_TRUE(dlg->canvas().onLButtonDown((QPointF(drawn.center()) / ratio).toPoint()));
    EXPECT_EQ(std::pair(dlg->canvas().dragMode(), dlg->canvas().handleIndex()), std::pair(int(CardCanvas::Handle), 2));
    dlg->canvas().onLButtonUp();
}

} // namespace
