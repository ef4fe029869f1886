#pragma once

#include "app/CardView.h"
#include "app/HelpViewer.h"
#include "model/PmrData.h"
#include "platform/DialogTemplate.h"

#include <QPointer>
#include <QRect>

#include <cstdint>

// The program's main window: the card canvas, the tool and file buttons and the
// property panel, built from template 102.
class CardEditorDlg : public platform::TemplateDialog {
    Q_OBJECT
public:
    // documentPath: a document to open when the window starts; empty opens nothing.
    explicit CardEditorDlg(const QString& documentPath = {}, QWidget* parent = nullptr);
    ~CardEditorDlg() override;

    PmrData& page() { return page_; }
    const QString& documentPath() const { return documentPath_; }
    int modified() const { return modified_; }
    void setModified(int flag) { modified_ = flag; }
    const platform::Rect& cardRect() const { return view_.cardRect(); }
    CardView& view() { return view_; }
    // The item whose selection marks are drawn, or none.
    const ObjItem* selectedItem() const { return selected_; }
    void setSelectedItem(const ObjItem* item) { selected_ = item; }

    // Redraws the card at once.
    void RedrawCard();
    void LayoutCard(bool fit);
    bool ZoomStep(bool up);
    std::uint32_t currentColor() const { return currentColor_; }

    // System menu commands: the about box (16) and help (57670).
    void systemCommand(int command);
    HelpViewer* helpViewer() const { return help_; }

protected:
    void onCommand(int id, platform::Notify code) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    void initialise();
    void installSystemMenu();
    void installToolTips();

    void onHelpCommand();
    void onZoomIn();
    void onZoomOut();
    void onScrollAction(Qt::Orientation orientation, int action);

    static const platform::CommandEntry<CardEditorDlg> commandTable[];

    PmrData page_;
    QString documentPath_;
    QString startDocument_;
    int modified_ = 0;
    CardView view_;
    const ObjItem* selected_ = nullptr;
    std::uint32_t currentColor_ = 0xFFFFFF;
    QPointer<HelpViewer> help_;
};
