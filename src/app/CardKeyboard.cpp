// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CardKeyboard.h"

#include "app/CardEditorDlg.h"
#include "resources/ControlIds.h"

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>

#include <span>

namespace {

// 1 point, and 1 mm rounded, in item units (1/720 inch).
constexpr int kPointStep = 10;
constexpr int kMillimetreStep = 28;

struct CommandKey {
    int key;
    Qt::KeyboardModifiers mods;
    int command;
};

// Keys that work anywhere in the window.
const CommandKey kWindowKeys[] = {
    {Qt::Key_N, Qt::ControlModifier, ctl::NewCard},
    {Qt::Key_O, Qt::ControlModifier, ctl::Open},
    {Qt::Key_S, Qt::ControlModifier, ctl::Save},
    {Qt::Key_P, Qt::ControlModifier, ctl::Print},
    {Qt::Key_Plus, Qt::ControlModifier, ctl::ZoomIn},
    {Qt::Key_Equal, Qt::ControlModifier, ctl::ZoomIn},
    {Qt::Key_Minus, Qt::ControlModifier, ctl::ZoomOut},
    {Qt::Key_PageUp, Qt::ControlModifier, ctl::FrontSide},
    {Qt::Key_PageDown, Qt::ControlModifier, ctl::BackSide},
};

// Buttons' keys that belong to the selected item.
const CommandKey kItemKeys[] = {
    {Qt::Key_Delete, Qt::NoModifier, ctl::Delete},
    {Qt::Key_Backspace, Qt::NoModifier, ctl::Delete},
    {Qt::Key_D, Qt::ControlModifier, ctl::Duplicate},
};

const CommandKey* find(std::span<const CommandKey> keys, int key, Qt::KeyboardModifiers mods)
{
    for (const CommandKey& k : keys)
        if (k.key == key && k.mods == mods)
            return &k;
    return nullptr;
}

} // namespace

CardKeyboard::CardKeyboard(CardEditorDlg& editor) : QObject(&editor), editor_(editor)
{
    editor.installEventFilter(this);
    for (int id : editor.itemIds())
        editor.item(id)->installEventFilter(this);
}

bool CardKeyboard::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    if (QApplication::activeModalWidget() && QApplication::activeModalWidget() != &editor_)
        return false;
    return handle(static_cast<const QKeyEvent&>(*event));
}

QString CardKeyboard::shortcutFor(int command)
{
    for (std::span<const CommandKey> keys : {std::span<const CommandKey>(kWindowKeys), std::span<const CommandKey>(kItemKeys)})
        for (const CommandKey& k : keys)
            if (k.command == command)
                return QKeySequence(k.key | k.mods).toString(QKeySequence::NativeText);
    return {};
}

bool CardKeyboard::fieldHasFocus() const
{
    const QWidget* focus = QApplication::focusWidget();
    return focus && (focus == editor_.item(ctl::TextEdit) || focus == editor_.item(ctl::LineWidth));
}

bool CardKeyboard::handle(const QKeyEvent& event)
{
    const int key = event.key();
    // The keypad's modifier does not change what a key means here.
    const Qt::KeyboardModifiers mods = event.modifiers() & ~Qt::KeypadModifier;
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    if (key == Qt::Key_Z && mods == ctrl)
        return editor_.undo(), true;
    if ((key == Qt::Key_Z && mods == (ctrl | Qt::ShiftModifier)) || (key == Qt::Key_Y && mods == ctrl))
        return editor_.redo(), true;
    // Ctrl+Shift+= is Ctrl++ on many layouts.
    const Qt::KeyboardModifiers plain = key == Qt::Key_Plus ? mods & ~Qt::ShiftModifier : mods;
    if (const CommandKey* k = find(kWindowKeys, key, plain)) {
        editor_.runCommand(k->command);
        return true;
    }
    return !fieldHasFocus() && handleItemKey(key, mods);
}

bool CardKeyboard::handleItemKey(int key, Qt::KeyboardModifiers mods)
{
    if (const CommandKey* k = find(kItemKeys, key, mods)) {
        editor_.runCommand(k->command);
        return true;
    }
    const bool shift = mods == Qt::ShiftModifier;
    if (mods == Qt::ControlModifier) {
        switch (key) {
        case Qt::Key_C: editor_.copy(); return true;
        case Qt::Key_X: editor_.cut(); return true;
        case Qt::Key_V: editor_.paste(); return true;
        default: return false;
        }
    }
    if (mods != Qt::NoModifier && !shift)
        return false;
    const int step = shift ? kMillimetreStep : kPointStep;
    switch (key) {
    case Qt::Key_Left: editor_.moveSelected(-step, 0); return true;
    case Qt::Key_Right: editor_.moveSelected(step, 0); return true;
    case Qt::Key_Up: editor_.moveSelected(0, -step); return true;
    case Qt::Key_Down: editor_.moveSelected(0, step); return true;
    case Qt::Key_Tab: editor_.selectNext(!shift); return true;
    case Qt::Key_Backtab: editor_.selectNext(false); return true;
    case Qt::Key_Escape:
        if (shift)
            return false;
        editor_.clearSelection();
        return true;
    default: return false;
    }
}
