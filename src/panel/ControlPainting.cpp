// Drawing of the editor's own controls (placeholders until the glyph drawing lands).
#include "panel/CheckImageButton.h"
#include "panel/RadioImageButton.h"
#include "panel/ShadowLabel.h"
#include "panel/TextureButton.h"
#include "panel/ToolButton.h"
#include "resources/Images.h"

namespace panel {

int RadioImageButton::glyphSheet() const { return resources::img::RadioSheet; }
int CheckImageButton::glyphSheet() const { return resources::img::CheckSheet; }

void ToolButton::paintEvent(QPaintEvent* event) { ImageButton::paintEvent(event); }

TextureButton::TextureButton(const QString& text, QWidget* parent) : QPushButton(text, parent)
{
    setAutoDefault(false);
}
void TextureButton::paintEvent(QPaintEvent* event) { QPushButton::paintEvent(event); }

ShadowLabel::ShadowLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setTextFormat(Qt::PlainText);
}
void ShadowLabel::paintEvent(QPaintEvent* event) { QLabel::paintEvent(event); }

} // namespace panel
