// SPDX-License-Identifier: GPL-3.0-or-later
#include "Pixels.h"
#include "panel/CheckImageButton.h"
#include "panel/EditorControls.h"
#include "panel/RadioImageButton.h"
#include "panel/ShadowLabel.h"
#include "panel/ShadowedText.h"
#include "panel/TextureButton.h"
#include "panel/ToolButton.h"
#include "resources/Images.h"
#include "resources/Templates.h"
#include "ui/DialogTemplate.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

using panel::ImageButton;
namespace img = resources::img;

namespace {

constexpr QRgb kGround = 0xFF336699;

std::unique_ptr<ImageButton> makeButton(int mode, const QString& text = QStringLiteral("ひだり"))
{
    std::unique_ptr<ImageButton> b;
    if (mode == ImageButton::Toggle)
        b = std::make_unique<panel::CheckImageButton>(text);
    else if (mode == ImageButton::Radio)
        b = std::make_unique<panel::RadioImageButton>(text);
    else
        b = std::make_unique<panel::ToolButton>(text);
    b->resize(60, 16);
    return b;
}

// The widget alone over a plain ground.
QImage renderOnGround(QWidget& w)
{
    QImage out(w.size(), QImage::Format_RGB32);
    out.fill(kGround);
    w.render(&out, QPoint(), QRegion(), QWidget::RenderFlags());
    return out;
}

bool hasColor(const QImage& shown, const QRect& area, QRgb color)
{
    return pixels::count(shown, area, [&](QRgb c) { return c == (color | 0xFF000000); }) > 0;
}

struct EightBitTextureButton : panel::TextureButton {
    using TextureButton::TextureButton;
    int displayDepth() const override { return 8; }
};

} // namespace

TEST(EditorControls, aClickChangesThePressedStateBeforeItsQueuedCommandRuns)
{
    const struct { const char* what; int mode, startPressed; bool releaseInside; int endPressed; bool sendsCommand; } clicks[] = {
        {"momentary released inside", ImageButton::Momentary, 0, true, 0, true},
        {"momentary released outside", ImageButton::Momentary, 0, false, 0, false},
        {"toggle released inside", ImageButton::Toggle, 0, true, 1, true},
        {"pressed toggle released inside", ImageButton::Toggle, 1, true, 0, true},
        {"pressed toggle released outside", ImageButton::Toggle, 1, false, 1, false},
        {"radio released inside", ImageButton::Radio, 0, true, 1, true},
        {"pressed radio released inside", ImageButton::Radio, 1, true, 1, true},
        {"radio released outside", ImageButton::Radio, 0, false, 0, false},
    };
    for (const auto& c : clicks) {
        SCOPED_TRACE(c.what);
        auto b = makeButton(c.mode);
        b->setPressed(c.startPressed);
        std::vector<int> seen;
        QObject::connect(b.get(), &QAbstractButton::clicked, [&] { seen.push_back(b->isPressed()); });
        QTest::mousePress(b.get(), Qt::LeftButton, {}, QPoint(5, 5));
        if (c.mode == ImageButton::Momentary) {
            EXPECT_TRUE(b->isPressed() && b->isDown()); // highlighted while held
        }
        QTest::mouseRelease(b.get(), Qt::LeftButton, {}, c.releaseInside ? QPoint(6, 6) : QPoint(80, 6));
        EXPECT_TRUE(seen.empty()); // queued, not sent
        QCoreApplication::processEvents();
        EXPECT_EQ(std::tuple(b->isPressed(), b->isDown(), seen),
                  std::tuple(c.endPressed, c.endPressed != 0, c.sendsCommand ? std::vector<int>{c.endPressed} : std::vector<int>{}));
    }
}

TEST(EditorControls, standardButtonProcessingLeavesThePressedStateAndItsHighlight)
{
    for (const int mode : {ImageButton::Momentary, ImageButton::Toggle, ImageButton::Radio}) {
        for (const int pressed : {0, 1}) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << " pressed " << pressed);
            auto b = makeButton(mode);
            b->setPressed(pressed);
            int commands = 0;
            QObject::connect(b.get(), &QAbstractButton::clicked, [&] { ++commands; });
            QTest::keyClick(b.get(), Qt::Key_Space); // sends the command
            b->setEnabled(false);
            b->setEnabled(true);
            QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
            QCoreApplication::sendEvent(b.get(), &focusOut);
            QCoreApplication::processEvents();
            EXPECT_EQ(std::tuple(commands, b->isPressed(), b->isDown()), std::tuple(1, pressed, pressed != 0));
        }
    }
}

// Enabled released, pressed; disabled released, pressed.
TEST(EditorControls, glyphsShowTheirFrameOrInvertWhenHighlightedAndGetWhiteDotsWhenDisabled)
{
    const QImage sheet = resources::bitmap(img::RadioSheet);
    const QImage glyph = resources::bitmap(img::GlyphZoomIn);
    const QImage mask = resources::bitmap(img::ToolMask);
    const int f = img::SheetFrameSize;
    for (const int frame : {0, 1, 2, 3}) {
        const bool enabled = frame < 2, down = frame % 2;
        auto b = makeButton(ImageButton::Radio);
        b->setEnabled(enabled);
        b->setPressed(down);
        const int top = (b->height() - f) / 2;
        // The left half of the sheet's frame: the caption starts after it.
        EXPECT_EQ(pixels::count(renderOnGround(*b), QRect(0, 0, f / 2, b->height()), [&](int x, int y, QRgb c) {
                      const int sx = frame * f + x, sy = y - top;
                      return c != (sheet.pixel(sx, f + sy) == 0xFF000000 ? sheet.pixel(sx, sy) : kGround);
                  }), 0) << "frame " << frame;

        panel::ToolButton tool(QStringLiteral("ズームイン"));
        tool.setGlyph(img::GlyphZoomIn, img::ToolMask);
        tool.resize(44, 44); // the glyph lies at (0, 2)
        tool.setEnabled(enabled);
        tool.setPressed(down);
        EXPECT_EQ(pixels::count(renderOnGround(tool), QRect(0, 2, 40, 40), [&](int x, int y, QRgb c) {
                      const QRgb want = mask.pixel(x, y) != 0xFF000000            ? kGround
                                        : !enabled && x % 2 == 1 && y % 2 == 1 ? 0xFFFFFFFF
                                        : down                                 ? glyph.pixel(x, y) ^ 0xFFFFFF
                                                                               : glyph.pixel(x, y);
                      return c != want;
                  }), 0) << "tool, frame " << frame;
    }
}

TEST(EditorControls, captionsAreGreyWhenDisabledAndTheClothMovesWhenPressedAndIsDarkRedOnEightBits)
{
    for (const bool enabled : {true, false}) {
        auto b = makeButton(ImageButton::Toggle, QStringLiteral("ふちをぼかす"));
        b->resize(100, 16);
        b->setEnabled(enabled);
        const QImage shown = renderOnGround(*b);
        const QRect caption(img::SheetFrameSize / 2, 0, 90, 16);
        EXPECT_EQ(std::tuple(hasColor(shown, caption, 0x000000), hasColor(shown, caption, 0xC0C0C0), hasColor(shown, caption, 0x808080)),
                  std::tuple(enabled, !enabled, true)); // black or grey, and always the shadow
    }

    panel::TextureButton cloth(QStringLiteral("とじる"));
    cloth.resize(100, 28);
    const QImage released = renderOnGround(cloth);
    cloth.setDown(true);
    EXPECT_EQ(renderOnGround(cloth).copy(5, 5, 20, 15), released.copy(4, 4, 20, 15));
    for (const bool down : {false, true}) {
        EightBitTextureButton b(QStringLiteral("とじる"));
        b.resize(100, 28);
        b.setDown(down);
        const QImage shown = renderOnGround(b);
        const QRgb shade = down ? 0xFF800000 : 0xFF808080; // right and bottom frame
        EXPECT_EQ(std::tuple(shown.pixel(4, 4), shown.pixel(99, 10), shown.pixel(10, 27)), std::tuple(0xFF800000u, shade, shade));
        EXPECT_EQ(shown.pixel(10, 0), down ? 0xFFFFFFFF : 0xFF800000); // top frame
        EXPECT_TRUE(hasColor(shown, QRect(30, 4, 40, 20), 0xFFFFFF)); // the caption
    }
}

TEST(EditorControls, everyCaptionOfTheEditorFitsItsBox)
{
    ui::TemplateDialog dlg(resources::dialogTemplate(resources::dlg::Editor), nullptr, {{}, &panel::createEditorControl});
    for (const int id : dlg.itemIds()) {
        QWidget* w = dlg.item(id);
        QRect box = w->rect();
        auto* glyphButton = qobject_cast<ImageButton*>(w);
        if (qobject_cast<panel::TextureButton*>(w))
            box.adjust(2, 2, -2, -2);
        else if (glyphButton && glyphButton->glyphSheet())
            box.setLeft(img::SheetFrameSize / 2);
        else if (!qobject_cast<panel::ShadowLabel*>(w))
            continue;
        const QString text = w->property("text").toString();
        const QFontMetrics fm(panel::boldCopy(w->font()));
        EXPECT_LE(fm.horizontalAdvance(text), box.width()) << text.toStdString();
        EXPECT_LE(fm.ascent() + fm.descent(), box.height()) << text.toStdString();
    }
}
