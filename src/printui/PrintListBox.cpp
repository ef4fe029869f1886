// SPDX-License-Identifier: GPL-3.0-or-later
#include "printui/PrintListBox.h"

#include "print/CardList.h"
#include "resources/Strings.h"
#include "ui/FileDialogs.h"
#include "ui/MessageBox.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace print {

PrintListBox::PrintListBox(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("printList"));
    choose_ = new QPushButton(QString::fromUtf8(resources::texts::ListChoose), this);
    choose_->setObjectName(QStringLiteral("listChoose"));
    choose_->setAutoDefault(false);
    clear_ = new QToolButton(this);
    clear_->setObjectName(QStringLiteral("listClear"));
    clear_->setText(QString::fromUtf8(resources::texts::ListClear));
    clear_->setToolTip(QString::fromUtf8(resources::texts::ListClearTip));
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("listStatus"));
    status_->setWordWrap(true);
    status_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(2);
    grid->addWidget(choose_, 0, 0);
    grid->addWidget(clear_, 0, 1);
    grid->addWidget(status_, 1, 0, 1, 2);
    grid->setRowStretch(2, 1);

    connect(choose_, &QPushButton::clicked, this, &PrintListBox::askForFile);
    connect(clear_, &QToolButton::clicked, this, &PrintListBox::clear);
    showState();
}

void PrintListBox::askForFile()
{
    ui::FileDialogRequest request;
    request.mode = ui::FileDialogRequest::Open;
    request.filter = QString::fromUtf8(resources::texts::ListFilter);
    request.defaultExt = QStringLiteral("csv");
    request.initialDir = fileName_.isEmpty() ? startFolder_ : QFileInfo(fileName_).absolutePath();
    if (const std::optional<QString> path = ui::runFileDialog(request, window()))
        chooseFile(*path);
}

bool PrintListBox::chooseFile(const QString& path)
{
    auto read = std::make_shared<CardList>(CardList::read(path));
    const QString problem = page_ ? read->problemFor(*page_) : read->error();
    if (!problem.isEmpty()) {
        ui::appMessageBox(problem, platform::MbButtons::Ok, platform::MbIcon::Exclamation, window());
        return false;
    }
    list_ = std::move(read);
    fileName_ = path;
    showState();
    Q_EMIT listChanged();
    return true;
}

void PrintListBox::clear()
{
    if (!list_)
        return;
    list_.reset();
    fileName_.clear();
    counts_.clear();
    showState();
    Q_EMIT listChanged();
}

void PrintListBox::showCounts(qint64 cards, int sheets)
{
    counts_ = QString::fromUtf8(resources::texts::ListCounts).arg(cards).arg(sheets);
    showState();
}

void PrintListBox::showState()
{
    clear_->setEnabled(bool(list_));
    if (!list_) {
        status_->clear();
        status_->setToolTip(QString());
        return;
    }
    const QString name = QFileInfo(fileName_).fileName();
    const QString elided = status_->fontMetrics().elidedText(name, Qt::ElideMiddle, std::max(40, width()));
    status_->setText(counts_.isEmpty() ? elided : elided + QLatin1Char('\n') + counts_);
    status_->setToolTip(fileName_);
}

} // namespace print
