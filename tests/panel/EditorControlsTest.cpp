#include "panel/CheckImageButton.h"
#include "panel/EditorControls.h"
#include "panel/RadioImageButton.h"
#include "panel/ShadowLabel.h"
#include "panel/ShadowedText.h"
#include "panel/TextureButton.h"
#include "panel/ToolButton.h"
#include "platform/Fonts.h"
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
    b->resize(60, 20);
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

bool hasColor(const QImage& image, const QRect& area, QRgb color)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) == (color | 0xFF000000))
                return true;
    return false;
}

bool hasColorOtherThan(const QImage& image, const QRect& area, QRgb color)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) != (color | 0xFF000000))
                return true;
    return false;
}

} // namespace

TEST(EditorControls, glyphButtonsShowTheSheetFrameOfTheirEnabledAndPressedState)
{
    const QImage sheet = resources::bitmap(img::RadioSheet);
    const int f = img::SheetFrameSize;
    struct Case {
        bool enabled;
        int pressed;
        int frame;
    };
    for (const Case c : {Case{true, 0, 0}, Case{true, 1, 1}, Case{false, 0, 2}, Case{false, 1, 3}}) {
        SCOPED_TRACE(testing::Message() << "frame " << c.frame);
        auto b = makeButton(ImageButton::Radio);
        b->resize(60, 16);
        b->setEnabled(c.enabled);
        b->setPressed(c.pressed);
        const QImage shown = renderOnGround(*b);
        const int top = (16 - f) / 2;
        int wrong = 0;
        // The left half of the frame: the caption starts after it.
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < f / 2; ++x) {
                const int sx = c.frame * f + x, sy = y - top;
                const bool opaque = sheet.pixel(sx, f + sy) != 0xFFFFFFFF;
                wrong += shown.pixel(x, y) != (opaque ? sheet.pixel(sx, sy) : kGround);
            }
        }
        EXPECT_EQ(wrong, 0);
    }
}

TEST(EditorControls, toolGlyphsInvertWhenHighlightedAndGetWhiteDotsWhenDisabled)
{
    const QImage glyph = resources::bitmap(img::GlyphZoomIn);
    const QImage mask = resources::bitmap(img::ToolMask);
    for (const bool enabled : {true, false}) {
        for (const bool down : {false, true}) {
            SCOPED_TRACE(testing::Message() << "enabled " << enabled << " down " << down);
            panel::ToolButton b(QStringLiteral("ズームイン"));
            b.setGlyph(img::GlyphZoomIn, img::ToolMask);
            b.resize(44, 44);
            b.setEnabled(enabled);
            b.setPressed(down);
            const QImage shown = renderOnGround(b);
            int wrong = 0;
            for (int y = 0; y < 40; ++y) {
                for (int x = 0; x < 40; ++x) {
                    QRgb want = kGround;
                    if (mask.pixel(x, y) == 0xFF000000) {
                        want = down ? glyph.pixel(x, y) ^ 0xFFFFFF : glyph.pixel(x, y);
                        if (!enabled && x % 2 == 1 && y % 2 == 1)
                            want = 0xFFFFFFFF;
                    }
                    wrong += shown.pixel(x, y + 2) != want;
                }
            }
            EXPECT_EQ(wrong, 0);
            // No caption: nothing is drawn beside the glyph.
            EXPECT_FALSE(hasColorOtherThan(shown, QRect(40, 0, 4, 44), kGround));
        }
    }
}

TEST(EditorControls, checkCaptionsAreBlackWhenEnabledAndLightGreyWhenDisabled)
{
    for (const bool enabled : {true, false}) {
        auto b = makeButton(ImageButton::Toggle, QStringLiteral("ふちをぼかす"));
        b->resize(100, 16);
        b->setEnabled(enabled);
        const QImage shown = renderOnGround(*b);
        const QRect caption(img::SheetFrameSize / 2, 0, 90, 16);
        EXPECT_EQ(hasColor(shown, caption, 0x000000), enabled);
        EXPECT_EQ(hasColor(shown, caption, 0xC0C0C0), !enabled);
        EXPECT_TRUE(hasColor(shown, caption, 0x808080)); // the shadow
    }
}

namespace {

class EightBitTextureButton : public panel::TextureButton {
public:
    using TextureButton::TextureButton;

protected:
    int displayDepth() const override { return 8; }
};

} // namespace

TEST(EditorControls, texturedButtonsAreDarkRedOnEightBitDisplaysWithTheSameFrame)
{
    for (const bool down : {false, true}) {
        EightBitTextureButton b(QStringLiteral("とじる"));
        b.resize(100, 28);
        b.setDown(down);
        const QImage shown = renderOnGround(b);
        EXPECT_EQ(shown.pixel(4, 4), 0xFF800000);
        EXPECT_EQ(shown.pixel(99, 10), down ? 0xFF800000 : 0xFF808080);
        EXPECT_EQ(shown.pixel(10, 27), down ? 0xFF800000 : 0xFF808080);
        EXPECT_EQ(shown.pixel(10, 0), down ? 0xFFFFFFFF : 0xFF800000);
        EXPECT_TRUE(hasColor(shown, QRect(30, 4, 40, 20), 0xFFFFFF)); // the caption
    }
}

TEST(EditorControls, theClothOfATexturedButtonMovesOnePixelDownAndRightWhenPressed)
{
    panel::TextureButton b(QStringLiteral("とじる"));
    b.resize(100, 28);
    const QImage released = renderOnGround(b);
    b.setDown(true);
    const QImage pressed = renderOnGround(b);
    EXPECT_EQ(pressed.copy(5, 5, 20, 15), released.copy(4, 4, 20, 15));
}

TEST(EditorControls, everyCaptionOfTheEditorFitsItsBox)
{
    platform::installFontSubstitutions();
    ui::TemplateDialog dlg(resources::dialogTemplate(resources::dlg::Editor), nullptr,
                           {{}, &panel::createEditorControl});
    int checked = 0;
    for (const int id : dlg.itemIds()) {
        QWidget* w = dlg.item(id);
        QRect box = w->rect();
        QString text;
        if (auto* t = qobject_cast<panel::TextureButton*>(w)) {
            box.adjust(2, 2, -2, -2);
            text = t->text();
        } else if (auto* l = qobject_cast<panel::ShadowLabel*>(w)) {
            text = l->text();
        } else if (auto* g = qobject_cast<ImageButton*>(w); g && g->glyphSheet()) {
            box.setLeft(img::SheetFrameSize / 2);
            text = g->text();
        } else {
            continue;
        }
        SCOPED_TRACE(text.toStdString());
        const QFontMetrics fm(panel::boldCopy(w->font()));
        EXPECT_LE(fm.horizontalAdvance(text), box.width());
        EXPECT_LE(fm.ascent() + fm.descent(), box.height());
        ++checked;
    }
    EXPECT_EQ(checked, 12 + 6 + 8);
}
