// SPDX-License-Identifier: GPL-3.0-or-later
#include "printui/PaperSelectDlg.h"

#include "platform/Codec.h"
#include "print/CardFormatCatalog.h"
#include "printui/FormatCreateDlg.h"
#include "printui/FormatListBox.h"
#include "resources/Templates.h"

namespace print {

using ui::Notify;

const ui::CommandEntry<PaperSelectDlg> PaperSelectDlg::commandTable[] = {
    {1, Notify::Clicked, &PaperSelectDlg::onOk},
    {kList, Notify::DoubleClick, &PaperSelectDlg::onOk},
    {kOther, Notify::Clicked, &PaperSelectDlg::onOther},
    {FormatListBox::kEdit, Notify::Clicked, &PaperSelectDlg::onEdit},
    {FormatListBox::kDelete, Notify::Clicked, &PaperSelectDlg::onDelete},
};

namespace {

PaperSelectDlg::Provider& providerSlot()
{
    static PaperSelectDlg::Provider provider;
    return provider;
}

ui::TemplateDialog::Options dialogOptions()
{
    ui::TemplateDialog::Options options;
    options.factory = [](const platform::ControlSpec& c, QWidget* parent) -> QWidget* {
        return c.id == PaperSelectDlg::kList ? new FormatListBox(parent) : nullptr;
    };
    return options;
}

} // namespace

PaperSelectDlg::PaperSelectDlg(CardFormatCatalog& catalog, QWidget* parent)
    : TemplateDialog(resources::dialogTemplate(resources::dlg::PaperSelect), parent, dialogOptions()),
      catalog_(catalog)
{
    FormatListBox* rows = list();
    rows->setFirstEditable(catalog_.fixedCount());
    for (int i = 0; i < catalog_.count(); ++i)
        rows->addFormat(platform::fromCp932(catalog_.format(i).name), i);
    rows->setCurrentRow(catalog_.current());
    connect(rows, &FormatListBox::commandChosen, this, [this](int id) { onCommand(id, Notify::Clicked); });
}

FormatListBox* PaperSelectDlg::list() const { return itemAs<FormatListBox>(kList); }

int PaperSelectDlg::run()
{
    if (const Provider& p = providerSlot())
        return p(*this);
    return exec();
}

PaperSelectDlg::Provider PaperSelectDlg::setProvider(Provider provider)
{
    Provider previous = std::move(providerSlot());
    providerSlot() = std::move(provider);
    return previous;
}

// A long list opens scrolled to the chosen format.
void PaperSelectDlg::showEvent(QShowEvent* event)
{
    TemplateDialog::showEvent(event);
    if (QListWidgetItem* chosen = list()->currentItem())
        list()->scrollToItem(chosen);
}

void PaperSelectDlg::onCommand(int id, Notify code)
{
    if (!ui::dispatchCommand(this, commandTable, id, code))
        TemplateDialog::onCommand(id, code);
}

int PaperSelectDlg::selectedRow() const
{
    const FormatListBox* rows = list();
    const QListWidgetItem* current = rows->currentItem();
    return current && current->isSelected() ? rows->currentRow() : -1;
}

void PaperSelectDlg::onOk()
{
    const int row = selectedRow();
    if (row >= 0)
        catalog_.setCurrent(list()->formatIndex(row));
    accept();
}

// The new format becomes current at once, so it stays chosen even if this
// dialog is cancelled.
void PaperSelectDlg::onOther()
{
    FormatCreateDlg create(this);
    if (create.run() != QDialog::Accepted)
        return;
    const int index = catalog_.count();
    catalog_.append(create.format());
    FormatListBox* rows = list();
    rows->addFormat(platform::fromCp932(catalog_.format(index).name), index);
    rows->setCurrentRow(rows->count() - 1);
    catalog_.setCurrent(index);
}

void PaperSelectDlg::onEdit()
{
    FormatListBox* rows = list();
    const int row = selectedRow();
    const int index = rows->formatIndex(row);
    if (row < 0 || index < catalog_.fixedCount())
        return;
    FormatCreateDlg edit(catalog_.format(index), this);
    if (edit.run() != QDialog::Accepted)
        return;
    const QByteArray oldName = catalog_.format(index).name;
    catalog_.replace(index, edit.format());
    const QByteArray newName = catalog_.format(index).name;
    if (newName != oldName)
        rows->item(row)->setText(platform::fromCp932(newName));
}

// Later rows move up and their indexes down by one, so each row keeps
// designating its own format.
void PaperSelectDlg::onDelete()
{
    FormatListBox* rows = list();
    const int row = selectedRow();
    const int index = rows->formatIndex(row);
    if (row < 0 || index < catalog_.fixedCount() || !catalog_.remove(index))
        return;
    delete rows->takeItem(row);
    for (int later = row; later < rows->count(); ++later)
        rows->setFormatIndex(later, rows->formatIndex(later) - 1);
    rows->setCurrentRow(0);
}

} // namespace print
