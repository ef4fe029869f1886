// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/CardCanvas.h"
#include "app/CardClipboard.h"
#include "app/CardDocument.h"
#include "app/CardRecovery.h"
#include "app/CardView.h"
#include "app/DocumentCommands.h"
#include "app/HelpViewer.h"
#include "app/PrintCommand.h"
#include "app/PropertyPanel.h"
#include "ui/DialogTemplate.h"

#include <QPointer>

#include <cstdint>
#include <memory>

// The program's main window: the card canvas, the tool and file buttons and the
// property panel, built from template 102.
class CardEditorDlg : public ui::TemplateDialog {
    Q_OBJECT
public:
    // documentPath: a document to open when the window starts; empty opens nothing.
    explicit CardEditorDlg(const QString& documentPath = {}, QWidget* parent = nullptr);
    ~CardEditorDlg() override;

    CardDocument& document() { return doc_; }
    PmrData& page() { return doc_.page(); }
    const QString& documentPath() const { return doc_.path(); }
    bool isModified() const { return doc_.isModified(); }
    const platform::Rect& cardRect() const { return view_.cardRect(); }
    CardView& view() { return view_; }
    SelectionState& selection() { return doc_.selection(); }
    const ObjItem* selectedItem() const { return doc_.selection().item(); }
    // The panel kind last asked for: the selected item's kind, or 5 for the background.
    int panelKind() const { return panel_.kind(); }
    PropertyPanel& panel() { return panel_; }

    // Paints the canvas again at once.
    void repaintCanvas();
    void LayoutCard(bool fit) { view_.layoutCard(fit); }
    std::uint32_t currentColor() const { return panel_.currentColor(); }
    // The panel shows the selection's group, filled.
    void refreshPanel() { panel_.refresh(); }

    // System menu commands: the about box (16) and help (57670).
    void systemCommand(int command);
    HelpViewer* helpViewer() const { return help_; }

    // The canvas's mouse handling: the window passes its left-button events on.
    CardCanvas& canvas() { return canvas_; }

    // Documents: read or write a file; each shows its own message on failure.
    bool loadDocument(const QString& path) { return files_.loadDocument(path); }
    bool saveDocument(const QString& path) { return files_.saveDocument(path); }
    // The recovery copy of this card, and the copies other editors left.
    CardRecovery& recovery() { return recovery_; }

    // The card rectangle in item units: the card's pixel size at the present zoom.
    platform::Rect cardUnits() const { return view_.cardUnits(); }

    // What the keys do: a button's command, undo and redo, the selected item moved
    // by item units, the next or previous item in drawing order, no selection, and
    // the clipboard.
    void runCommand(int id) { onCommand(id, ui::Notify::Clicked); }
    void undo() { doc_.undo(); }
    void redo() { doc_.redo(); }
    void moveSelected(int dx, int dy);
    void selectNext(bool forward);
    void clearSelection();
    void copy() { clipboard_.copy(); }
    void cut() { clipboard_.cut(); }
    void paste() { clipboard_.paste(); }

protected:
    void onCommand(int id, ui::Notify code) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void initialise();
    void installSystemMenu();
    void installToolTips();

    // Item commands.
    void addItem(std::unique_ptr<ObjItem> item, std::optional<PmrData::Position> after);
    void onAddText();
    void onAddLine();
    void onAddRect();
    void onAddPicture();
    void onAddQr();
    void onDelete();
    void onSendBack();
    void onDuplicate();
    void onClose();
    void onSave() { files_.save(); }
    void onOpen() { files_.open(); }
    void onNewCard() { files_.newCard(); }
    void onPrint() { printCard(doc_.card(), doc_.path(), this); }
    void onPaperSelect();
    // The side switch: the front or the back shown and edited, and the back's turn.
    void onShowFront() { showSide(CardDocument::Side::Front); }
    void onShowBack() { showSide(CardDocument::Side::Back); }
    void showSide(CardDocument::Side side);
    void onTurnBack();
    // The switch shows the side the card shows.
    void showSideControls();

    // Lays out, redraws and refills what a change of the document needs.
    void onDocumentChanged(CardDocument::Changes what);
    void onHelpCommand();
    void onZoomIn();
    void onZoomOut();
    void onScrollAction(Qt::Orientation orientation, int action);

    static const ui::CommandEntry<CardEditorDlg> commandTable[];

    CardDocument doc_;
    QString startDocument_;
    CardView view_;
    CardCanvas canvas_;
    DocumentCommands files_;
    QPointer<HelpViewer> help_;
    PropertyPanel panel_;
    CardClipboard clipboard_;
    CardRecovery recovery_;
};
