// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/RecoveryStore.h"

#include <QObject>
#include <QThreadPool>
#include <QTimer>

class CardDocument;
class DocumentCommands;
class QWidget;

// Keeps a recovery copy of a modified card, so a crash costs at most the last
// few seconds of work, and offers the copies of editors that stopped without
// closing. The copy goes when the card is saved or the editor closes.
class CardRecovery : public QObject {
    Q_OBJECT
public:
    // The longest a change waits before it is in the copy.
    static constexpr int kDelayMs = 10000;

    CardRecovery(CardDocument& doc, DocumentCommands& commands, QWidget* window,
                 const QString& folder = files::RecoveryStore::defaultFolder());
    ~CardRecovery() override;

    // Asks about each copy left behind, newest first, until one is taken back.
    void offerLeftCopies();
    // Writes the copy now; false when it could not be written.
    bool writeNow();
    // The card's bytes now, written by a thread of its own so the window does
    // not wait for the disk.
    void writeInBackground();
    const files::RecoveryStore& store() const { return store_; }

private:
    void onDocumentChanged();
    // True when the copy was taken back into the card.
    bool offer(const files::RecoveryCopy& copy);

    CardDocument& doc_;
    DocumentCommands& commands_;
    QWidget* window_;
    files::RecoveryStore store_;
    QTimer timer_;
    QThreadPool writer_; // one thread, so copies land in order
};
