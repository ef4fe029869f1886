// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <memory>

class CardDocument;
class PmrData;
class QWidget;

// The document file commands: save, open, new card with its sample and
// from-scratch branches, and the save prompt they share with closing the window.
class DocumentCommands : public QObject {
    Q_OBJECT
public:
    // window: the editor window, parent of the dialogs and repainted when one closes.
    DocumentCommands(CardDocument& doc, QWidget* window);

    // The save prompt for a modified card: true to go on, after No or after Yes
    // once the card is saved.
    bool askToSave();
    // The save command: true when the card was written.
    bool save();
    void open();
    void newCard();
    void openSample();
    void startFromScratch();

    // Read or write a file; each shows its own message on failure.
    bool loadDocument(const QString& path);
    bool saveDocument(const QString& path);
    // Puts a recovered card in place: modified, with the path it was saved at.
    void recover(std::unique_ptr<PmrData> contents, const QString& path);

Q_SIGNALS:
    // A document was opened whose card size differs from the card's before.
    void cardSizeChanged();

private:
    // True when the card size is not the one before.
    bool replaceContents(std::unique_ptr<PmrData> contents, const QString& path);
    // Tells of a document whose QR records were not all read, and asks before
    // the file it came from is written over (QrDocumentNotes.cpp).
    void noteDamagedExtras(const PmrData& contents, const QString& path);
    bool mayOverwrite(const QString& path);

    CardDocument& doc_;
    QWidget* window_;
    // The file read with damaged QR records, until it is written over.
    QString damagedPath_;
};
