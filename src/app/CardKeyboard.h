// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

class CardEditorDlg;
class QKeyEvent;

// The editor's keys. Undo and redo, the file commands and zoom work anywhere in
// the window; the keys of the selected item (delete, arrows, Tab, Escape,
// duplicate and the clipboard) only while neither the text nor the width field
// has the focus, which keep their own editing keys. Each key runs exactly what
// its button runs.
class CardKeyboard : public QObject {
    Q_OBJECT
public:
    // Watches the window and every control it holds now.
    explicit CardKeyboard(CardEditorDlg& editor);

    // The key of a button's command for its tool tip, or empty.
    static QString shortcutFor(int command);

    // What a key does; false when it is not the editor's key there.
    bool handle(const QKeyEvent& key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool fieldHasFocus() const;
    bool handleItemKey(int key, Qt::KeyboardModifiers mods);

    CardEditorDlg& editor_;
};
