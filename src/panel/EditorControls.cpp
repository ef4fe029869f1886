// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/EditorControls.h"

#include "panel/CheckImageButton.h"
#include "panel/ColorSwatch.h"
#include "panel/RadioImageButton.h"
#include "panel/ShadowLabel.h"
#include "panel/TextureButton.h"
#include "panel/ToolButton.h"
#include "resources/ControlIds.h"
#include "resources/Images.h"

#include <QString>

#include <algorithm>
#include <array>

namespace panel {

namespace {

struct ToolGlyph {
    int id;
    int glyph;
};
constexpr std::array<ToolGlyph, 11> kTools = {{
    {ctl::AddText, resources::img::GlyphText},
    {ctl::AddLine, resources::img::GlyphLine},
    {ctl::AddRect, resources::img::GlyphRect},
    {ctl::AddPicture, resources::img::GlyphPicture},
    {ctl::Delete, resources::img::GlyphDelete},
    {ctl::SendBack, resources::img::GlyphSendBack},
    {ctl::Duplicate, resources::img::GlyphDuplicate},
    {ctl::ZoomIn, resources::img::GlyphZoomIn},
    {ctl::ZoomOut, resources::img::GlyphZoomOut},
    {ctl::Help, resources::img::GlyphHelp},
    {ctl::AddQr, resources::img::GlyphQr},
}};

constexpr std::array kRadios = {ctl::AlignLeft, ctl::AlignCenter, ctl::AlignRight, ctl::ShapeRect,
                                ctl::ShapeWhiteOut, ctl::ShapeCircle, ctl::ShapeHeart};
constexpr std::array kTextureButtons = {ctl::NewCard, ctl::Open, ctl::Save, ctl::PaperSelect,
                                        ctl::Print, ctl::Close, ctl::Bigger, ctl::Smaller,
                                        ctl::OtherColor, ctl::Pattern, ctl::Font, ctl::ReplacePicture, ctl::QrContents};
constexpr std::array kShadowLabels = {ctl::PanelHeading, ctl::PanelTitle, ctl::AlignCaption,
                                      ctl::WidthUnit, ctl::WidthCaption, ctl::ShapeCaption};

template <class Array>
bool has(const Array& ids, int id)
{
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

} // namespace

QWidget* createEditorControl(const platform::ControlSpec& control, QWidget* parent)
{
    const QString text = QString::fromUtf8(control.text);
    const int id = control.id;
    for (const ToolGlyph& t : kTools) {
        if (t.id == id) {
            auto* b = new ToolButton(text, parent);
            b->setGlyph(t.glyph, resources::img::ToolMask);
            return b;
        }
    }
    if (has(kRadios, id))
        return new RadioImageButton(text, parent);
    if (id == ctl::BlurEdges || id == ctl::Vertical)
        return new CheckImageButton(text, parent);
    if (has(kTextureButtons, id))
        return new TextureButton(text, parent);
    if (id == ctl::Swatch)
        return new ColorSwatch(parent);
    if (has(kShadowLabels, id))
        return new ShadowLabel(text, parent);
    return nullptr;
}

} // namespace panel
