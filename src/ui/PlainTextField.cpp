// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PlainTextField.h"

#include <QMimeData>

namespace ui {

namespace {

bool holdsText(const QMimeData* source)
{
    return source && source->hasText() && !source->text().isEmpty();
}

} // namespace

bool PlainTextField::canInsertFromMimeData(const QMimeData* source) const
{
    return holdsText(source) && QPlainTextEdit::canInsertFromMimeData(source);
}

void PlainTextField::insertFromMimeData(const QMimeData* source)
{
    if (holdsText(source))
        QPlainTextEdit::insertFromMimeData(source);
}

} // namespace ui
