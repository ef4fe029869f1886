// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <memory>

class PmrData;
class QLabel;
class QPushButton;
class QToolButton;

namespace print {

class CardList;

// The print panel's list of people: "リストからいんさつ..." chooses a CSV file,
// "×" drops it, and a line below says which file is in use and how many cards
// and sheets the job will print. A list the card cannot print from is refused
// with a message saying why, and the list in use stays.
class PrintListBox : public QWidget {
    Q_OBJECT
public:
    explicit PrintListBox(QWidget* parent = nullptr);

    // The card the list must fill; without one every list that reads is taken.
    // The page must outlive the box.
    void setPage(const PmrData* page) { page_ = page; }
    // Where the file dialog opens until a list has been chosen.
    void setStartFolder(const QString& folder) { startFolder_ = folder; }

    // Reads the file and takes it as the list, or shows why it cannot; true when taken.
    bool chooseFile(const QString& path);
    void clear();

    const std::shared_ptr<const CardList>& list() const { return list_; }
    // The job's counts, shown while a list is in use.
    void showCounts(qint64 cards, int sheets);

    QPushButton* chooseButton() const { return choose_; }
    QToolButton* clearButton() const { return clear_; }
    QLabel* statusLabel() const { return status_; }

Q_SIGNALS:
    void listChanged();

private:
    void askForFile();
    void showState();

    const PmrData* page_ = nullptr;
    std::shared_ptr<const CardList> list_;
    QString fileName_;
    QString startFolder_;
    QString counts_;
    QPushButton* choose_ = nullptr;
    QToolButton* clear_ = nullptr;
    QLabel* status_ = nullptr;
};

} // namespace print
