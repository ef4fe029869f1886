// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ChoiceDialogs.h"

#include "platform/Fonts.h"

#include <QColorDialog>
#include <QFontDialog>

#include <cmath>
#include <cstdlib>

namespace ui {

namespace {

ColorDialogProvider& colorSlot()
{
    static ColorDialogProvider provider;
    return provider;
}

FontDialogProvider& fontSlot()
{
    static FontDialogProvider provider;
    return provider;
}

QColor fromRef(std::uint32_t ref)
{
    return QColor(int(ref & 0xFF), int((ref >> 8) & 0xFF), int((ref >> 16) & 0xFF));
}

std::uint32_t toRef(const QColor& c)
{
    return std::uint32_t(c.red()) | (std::uint32_t(c.green()) << 8) | (std::uint32_t(c.blue()) << 16);
}

std::optional<std::uint32_t> realColorDialog(std::uint32_t initial, QWidget* parent)
{
    // Qt's custom colours are shared with every Qt program; ours start white each run.
    std::array<std::uint32_t, 16>& custom = customColors();
    for (int i = 0; i < QColorDialog::customCount() && i < int(custom.size()); ++i)
        QColorDialog::setCustomColor(i, fromRef(custom[i]));
    QColorDialog dialog(fromRef(initial), parent);
    const bool ok = dialog.exec() == QDialog::Accepted;
    for (int i = 0; i < QColorDialog::customCount() && i < int(custom.size()); ++i)
        custom[i] = toRef(QColorDialog::customColor(i));
    if (!ok || !dialog.selectedColor().isValid())
        return std::nullopt;
    return toRef(dialog.selectedColor());
}

std::optional<platform::LogFont> realFontDialog(const FontRequest& request, QWidget* parent)
{
    QFontDialog dialog(fontForDialog(request.font), parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return logFontFromDialog(dialog.selectedFont(), request.font);
}

} // namespace

std::array<std::uint32_t, 16>& customColors()
{
    static std::array<std::uint32_t, 16> colors = [] {
        std::array<std::uint32_t, 16> white;
        white.fill(0xFFFFFF);
        return white;
    }();
    return colors;
}

std::optional<std::uint32_t> chooseColor(std::uint32_t initial, QWidget* parent)
{
    return colorSlot() ? colorSlot()(initial, parent) : realColorDialog(initial, parent);
}

ColorDialogProvider setColorDialogProvider(ColorDialogProvider provider)
{
    return std::exchange(colorSlot(), std::move(provider));
}

std::optional<platform::LogFont> chooseFont(const FontRequest& request, QWidget* parent)
{
    return fontSlot() ? fontSlot()(request, parent) : realFontDialog(request, parent);
}

FontDialogProvider setFontDialogProvider(FontDialogProvider provider)
{
    return std::exchange(fontSlot(), std::move(provider));
}

// The dialog lists installed families, so a document's face ("ＭＳ Ｐゴシック")
// shows as the family it is drawn with, and comes back as itself when kept.
QFont fontForDialog(const platform::LogFont& lf)
{
    QFont f;
    const QString face = lf.faceNameUnicode();
    if (!face.isEmpty())
        f.setFamily(platform::resolvedFamily(face));
    const long long points = std::llabs(static_cast<long long>(lf.height));
    f.setPointSize(points > 0 && points <= 1000 ? int(points) : 12);
    f.setWeight(QFont::Weight(lf.weight > 0 ? std::min(lf.weight, 1000) : 400));
    f.setItalic(lf.italic != 0);
    f.setUnderline(lf.underline != 0);
    f.setStrikeOut(lf.strikeOut != 0);
    return f;
}

platform::LogFont logFontFromDialog(const QFont& font, const platform::LogFont& base)
{
    platform::LogFont lf = base;
    const QString face = base.faceNameUnicode();
    if (face.isEmpty() || font.family() != platform::resolvedFamily(face))
        lf.setFaceName(font.family());
    const double points = font.pointSizeF() > 0 ? font.pointSizeF() : 12.0;
    lf.height = -int(std::lround(std::min(points, 100000.0)));
    lf.weight = font.weight();
    lf.italic = font.italic() ? 1 : 0;
    lf.underline = font.underline() ? 1 : 0;
    lf.strikeOut = font.strikeOut() ? 1 : 0;
    return lf;
}

} // namespace ui
