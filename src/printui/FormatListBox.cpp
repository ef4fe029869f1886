// SPDX-License-Identifier: GPL-3.0-or-later
#include "printui/FormatListBox.h"

#include "resources/Templates.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>

namespace print {

FormatListBox::FormatListBox(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
    setUniformItemSizes(true);
}

void FormatListBox::addFormat(const QString& name, int index)
{
    auto* row = new QListWidgetItem(name, this);
    row->setData(Qt::UserRole, index);
}

int FormatListBox::formatIndex(int row) const
{
    const QListWidgetItem* it = item(row);
    return it ? it->data(Qt::UserRole).toInt() : -1;
}

void FormatListBox::setFormatIndex(int row, int index)
{
    if (QListWidgetItem* it = item(row))
        it->setData(Qt::UserRole, index);
}

void FormatListBox::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::RightButton) {
        QListWidget::mousePressEvent(event);
        return;
    }
    event->accept();
    // Below the last row nothing happens.
    const QListWidgetItem* under = itemAt(event->position().toPoint());
    if (!under)
        return;
    const int row = this->row(under);
    setCurrentRow(row);
    popUp(row, event->globalPosition().toPoint());
}

// The press has shown the menu already.
void FormatListBox::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept();
}

void FormatListBox::popUp(int row, const QPoint& globalPos)
{
    QMenu popup(this);
    const bool editable = formatIndex(row) >= firstEditable_;
    for (const resources::MenuItemSpec& entry : resources::popupMenu(resources::menu::FormatRClick)) {
        if (entry.id == 0) {
            popup.addSeparator();
            continue;
        }
        QAction* action = popup.addAction(QString::fromUtf8(entry.text));
        action->setData(entry.id);
        action->setEnabled(editable);
    }
    QAction* chosen = runMenu_ ? runMenu_(popup, globalPos) : popup.exec(globalPos);
    if (chosen && chosen->isEnabled())
        Q_EMIT commandChosen(chosen->data().toInt());
}

} // namespace print
