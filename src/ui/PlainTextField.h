// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPlainTextEdit>

namespace ui {

// The program's multi-line text field. Qt 6.4's QPlainTextEdit crashes when it
// pastes or takes a drop with no text in it (an empty clipboard or primary
// selection on X11), so such a paste does nothing here; every paste path (keys,
// context menu, middle click, drop) ends in insertFromMimeData.
class PlainTextField : public QPlainTextEdit {
    Q_OBJECT
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
};

} // namespace ui
