#pragma once

#include "model/PmrData.h"
#include "platform/DialogTemplate.h"

#include <QPointer>
#include <QRect>

#include <cstdint>

#include "app/HelpViewer.h"

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
    const QRect& cardRect() const { return cardRect_; }
    std::uint32_t currentColor() const { return currentColor_; }

    // System menu commands: the about box (16) and help (57670).
    void systemCommand(int command);
    HelpViewer* helpViewer() const { return help_; }

protected:
    void onCommand(int id, platform::Notify code) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    void initialise();
    void installSystemMenu();
    void installToolTips();

    void onHelpCommand();

    static const platform::CommandEntry<CardEditorDlg> commandTable[];

    PmrData page_;
    QString documentPath_;
    QString startDocument_;
    int modified_ = 0;
    QRect cardRect_;
    std::uint32_t currentColor_ = 0xFFFFFF;
    QPointer<HelpViewer> help_;
};
