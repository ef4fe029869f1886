// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/CardText.h"
#include "model/ObjItem.h"
#include "platform/LogFont.h"
#include "platform/VerticalText.h"

#include <QByteArray>
#include <QString>

// A block of text; lines separated by CR LF. `x` is the left edge, the centre or
// the right edge of the block by `align`; `y` is its top. `cx`, `cy` are the
// extent last measured by RecalcSize, in item units.
// A vertical text (its face begins with "@") sets each line as a column, right
// to left; `x` is then the block's right edge whatever the alignment, which
// puts short columns at the top, the middle or the bottom.
class ObjItemText : public ObjItem {
public:
    enum Align { AlignLeft = 0, AlignCenter = 1, AlignRight = 2 };
    static constexpr int kMinFontSize = 8;
    static constexpr int kMaxFontSize = 72;
    // The longest text, in the bytes it is stored as (CardText::storedSize).
    // A card holds a few hundred characters; 64 KiB is far beyond any card yet
    // keeps measuring and drawing a text quick, where a text of 200 MB took
    // minutes and gigabytes. The reader refuses a longer text as a bad format.
    static constexpr qsizetype kMaxTextBytes = qsizetype(64) * 1024;

    // "Text" in ＭＳ Ｐゴシック, lfHeight +12, measured.
    ObjItemText();
    // The same defaults without measuring, for the reader and conversions,
    // which keep a stored size.
    struct ForReading {};
    explicit ObjItemText(ForReading);
    explicit ObjItemText(const platform::Rect& card);

    const char* className() const override { return "ObjItemText"; }
    const ClassInfo& runtimeClass() const override;
    void Serialize(Archive& ar) override;
    std::unique_ptr<ObjItem> Clone() const override;
    void Draw(platform::Dc& dc) const override;
    platform::Rect GetBounds() const override;
    std::span<const ItemField> fields() const override;

    // Each measures the block again.
    void SetText(const CardText& t);
    void SetText(const QByteArray& cp932) { SetText(CardText(cp932)); }
    void SetText(const char* cp932) { SetText(CardText(QByteArray(cp932))); }
    // Kept as CP932 when it goes there and back unchanged, whole otherwise.
    void SetText(const QString& t) { SetText(CardText::fromUnicode(t)); }
    const CardText& GetText() const { return text; }
    // The text as Unicode; measured and drawn as this.
    QString textString() const { return text.toString(); }
    // |n| limited to 8..72, stored as a character height (negative).
    void SetFontSize(int n);
    int GetFontSize() const;
    void SetFont(const platform::LogFont& f);
    const platform::LogFont& GetFont() const { return font; }
    bool isVertical() const;
    int GetAlign() const { return align; }
    // Moves the anchor so the block stays where it is.
    void SetAlign(int a);

    // Measures the block at ten times the point size on a 1:1 surface, so the
    // pixels are item units.
    void RecalcSize() override;

    // The left edge of the block for the anchor, width and alignment given.
    static std::int64_t blockLeft(std::int64_t anchor, std::int64_t width, int align);
    static platform::LogFont defaultFont();

    CardText text;
    platform::LogFont font;
    int reserved = 0;
    int align = AlignLeft;

private:
    platform::VerticalLayout::Place columnPlace() const;
    void drawColumns(platform::Dc& dc, QPoint anchor) const;
};
