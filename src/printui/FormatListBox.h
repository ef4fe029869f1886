// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "resources/ControlIds.h"

#include <QListWidget>

#include <functional>

class QMenu;

namespace print {

// The list of card formats: each row shows a name and carries its catalogue index.
// A right-button press on a row selects it and offers menu 178 (edit, delete),
// greyed for rows below the first editable index; a chosen item comes out as
// commandChosen.
class FormatListBox : public QListWidget {
    Q_OBJECT
public:
    static constexpr int kEdit = ctl::paper::Edit;
    static constexpr int kDelete = ctl::paper::Delete;

    explicit FormatListBox(QWidget* parent = nullptr);

    void addFormat(const QString& name, int index);
    // The catalogue index a row carries; -1 for no such row.
    int formatIndex(int row) const;
    void setFormatIndex(int row, int index);

    // Rows whose index is below this show the menu greyed.
    void setFirstEditable(int index) { firstEditable_ = index; }

    // Shows the menu at a screen point and returns the chosen action (or null).
    // Tests replace it to see the menu and choose from it.
    using MenuRunner = std::function<QAction*(QMenu& menu, const QPoint& globalPos)>;
    void setMenuRunner(MenuRunner runner) { runMenu_ = std::move(runner); }

Q_SIGNALS:
    void commandChosen(int id);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void popUp(int row, const QPoint& globalPos);

    int firstEditable_ = 0;
    MenuRunner runMenu_;
};

} // namespace print
