// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CardEditorDlg.h"

#include "app/AboutDlg.h"
#include "app/CardKeyboard.h"
#include "app/HelpViewer.h"
#include "platform/AppSettings.h"
#include "model/ViewScale.h"
#include "panel/EditorControls.h"
#include "print/CardFormatCatalog.h"
#include "resources/ControlIds.h"
#include "resources/Images.h"
#include "resources/Strings.h"
#include "resources/Templates.h"

#include "platform/Dc.h"

#include <QContextMenuEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

#include <algorithm>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

using ui::CommandEntry;
using ui::Notify;

const CommandEntry<CardEditorDlg> CardEditorDlg::commandTable[] = {
    {ctl::Help, Notify::Clicked, &CardEditorDlg::onHelpCommand},
    {ctl::ZoomIn, Notify::Clicked, &CardEditorDlg::onZoomIn},
    {ctl::ZoomOut, Notify::Clicked, &CardEditorDlg::onZoomOut},
    {ctl::AddText, Notify::Clicked, &CardEditorDlg::onAddText},
    {ctl::AddLine, Notify::Clicked, &CardEditorDlg::onAddLine},
    {ctl::AddRect, Notify::Clicked, &CardEditorDlg::onAddRect},
    {ctl::AddPicture, Notify::Clicked, &CardEditorDlg::onAddPicture},
    {ctl::AddQr, Notify::Clicked, &CardEditorDlg::onAddQr},
    {ctl::Delete, Notify::Clicked, &CardEditorDlg::onDelete},
    {ctl::SendBack, Notify::Clicked, &CardEditorDlg::onSendBack},
    {ctl::Duplicate, Notify::Clicked, &CardEditorDlg::onDuplicate},
    {ctl::Close, Notify::Clicked, &CardEditorDlg::onClose},
    {ctl::Save, Notify::Clicked, &CardEditorDlg::onSave},
    {ctl::Open, Notify::Clicked, &CardEditorDlg::onOpen},
    {ctl::NewCard, Notify::Clicked, &CardEditorDlg::onNewCard},
    {ctl::Print, Notify::Clicked, &CardEditorDlg::onPrint},
    {ctl::PaperSelect, Notify::Clicked, &CardEditorDlg::onPaperSelect},
    {ctl::FrontSide, Notify::Clicked, &CardEditorDlg::onShowFront},
    {ctl::BackSide, Notify::Clicked, &CardEditorDlg::onShowBack},
    {ctl::TurnBack, Notify::Clicked, &CardEditorDlg::onTurnBack},
};

namespace {

// The tool buttons and the string ids of their tool tips.
struct ToolTip {
    int id;
    int text;
};
constexpr ToolTip kToolTips[] = {
    {ctl::AddText, resources::ids::ToolText},       {ctl::AddLine, resources::ids::ToolLine},
    {ctl::AddRect, resources::ids::ToolRect},       {ctl::AddPicture, resources::ids::ToolPicture},
    {ctl::Delete, resources::ids::ToolDelete},      {ctl::SendBack, resources::ids::ToolSendBack},
    {ctl::Duplicate, resources::ids::ToolDuplicate}, {ctl::ZoomIn, resources::ids::ToolZoomIn},
    {ctl::ZoomOut, resources::ids::ToolZoomOut},    {ctl::Help, resources::ids::ToolHelp},
    {ctl::AddQr, resources::ids::ToolQr},           {ctl::TurnBack, resources::ids::ToolTurnBack},
};

} // namespace

CardEditorDlg::CardEditorDlg(const QString& documentPath, QWidget* parent)
    : TemplateDialog(resources::dialogTemplate(resources::dlg::Editor), parent, {{}, &panel::createEditorControl}),
      startDocument_(documentPath),
      view_(this, item(ctl::Canvas), itemAs<QScrollBar>(ctl::HScroll), itemAs<QScrollBar>(ctl::VScroll), doc_.page()),
      canvas_(doc_, view_, this, item(ctl::Swatch)),
      files_(doc_, this),
      panel_(*this, doc_),
      clipboard_(doc_, view_, this),
      recovery_(doc_, files_, this)
{
    // The canvas lets the mouse through to the window.
    item(ctl::Canvas)->setAttribute(Qt::WA_TransparentForMouseEvents);
    for (const auto orientation : {Qt::Horizontal, Qt::Vertical}) {
        QScrollBar* bar = itemAs<QScrollBar>(orientation == Qt::Horizontal ? ctl::HScroll : ctl::VScroll);
        connect(bar, &QAbstractSlider::actionTriggered, this,
                [this, orientation](int action) { onScrollAction(orientation, action); });
    }
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMinimizeButtonHint, true);
    setAttribute(Qt::WA_DeleteOnClose, false);
    connect(&doc_, &CardDocument::changed, this, &CardEditorDlg::onDocumentChanged);
    connect(&canvas_, &CardCanvas::swatchPressed, this, [this] { onCommand(ctl::OtherColor, Notify::Clicked); });
    connect(&files_, &DocumentCommands::cardSizeChanged, this, [this] { onCommand(ctl::PaperSelect, Notify::Clicked); });
    initialise();
}

CardEditorDlg::~CardEditorDlg()
{
    if (help_)
        help_->close();
}

void CardEditorDlg::initialise()
{
    installSystemMenu();
    setWindowIcon(resources::appIcon());

    item(ctl::HScroll)->show();
    item(ctl::VScroll)->show();

    const CardFormat format = CardFormatCatalog::instance().currentFormat();
    doc_.card().cardWidth = format.cardWidth;
    doc_.card().cardHeight = format.cardHeight;
    LayoutCard(true);
    showSideControls();

    installToolTips();
    new CardKeyboard(*this);
    refreshPanel();
    if (!startDocument_.isEmpty())
        loadDocument(startDocument_);

    doc_.markSaved();
}

// Tool tips name the tools and the keys of the buttons.
void CardEditorDlg::installToolTips()
{
    for (int id : itemIds()) {
        const auto tool = std::find_if(std::begin(kToolTips), std::end(kToolTips), [id](const ToolTip& t) { return t.id == id; });
        const QString name = tool != std::end(kToolTips) ? resources::loadString(tool->text) : QString();
        const QString key = CardKeyboard::shortcutFor(id);
        if (!key.isEmpty())
            item(id)->setToolTip(name.isEmpty() ? key : QStringLiteral("%1 (%2)").arg(name, key));
        else if (!name.isEmpty())
            item(id)->setToolTip(name);
    }
}

void CardEditorDlg::onCommand(int id, Notify code)
{
    if (!ui::dispatchCommand(this, commandTable, id, code))
        panel_.onCommand(id, code);
}

void CardEditorDlg::onHelpCommand()
{
    if (!help_) {
        help_ = new HelpViewer(platform::appSettings().appDir(), this);
        help_->setAttribute(Qt::WA_DeleteOnClose);
    }
    help_->show();
    help_->raise();
    help_->activateWindow();
}

// The panel shows the selection and the list; the fields it edits itself it
// does not fill again. A press that selects an item shows its marks only at the
// first step of the drag or at the release.
void CardEditorDlg::onDocumentChanged(CardDocument::Changes what)
{
    using C = CardDocument;
    if (what & C::SideChanged) {
        view_.setPage(doc_.page());
        showSideControls();
    }
    if (what & (C::CardSizeChanged | C::SideChanged))
        LayoutCard(true);
    const bool refill = what & (C::ItemAdded | C::ItemRemoved | C::ItemsReordered | C::SelectionChanged | C::ContentsReplaced
                                | C::SideChanged);
    const bool redraw = (what & ~C::Changes(C::SelectionChanged | C::ModifiedChanged))
                        || ((what & C::SelectionChanged) && !canvas_.hasCapture());
    // New contents show their panel before the card, other changes after it.
    const bool panelFirst = what & (C::ContentsReplaced | C::SideChanged);
    if (refill && panelFirst)
        refreshPanel();
    if (redraw)
        repaintCanvas();
    if (refill && !panelFirst)
        refreshPanel();
}

void CardEditorDlg::repaintCanvas()
{
    repaint(view_.canvasRect());
}

void CardEditorDlg::onZoomIn()
{
    if (view_.zoomStep(true))
        LayoutCard(false);
}

void CardEditorDlg::onZoomOut()
{
    if (view_.zoomStep(false))
        LayoutCard(false);
}

void CardEditorDlg::onScrollAction(Qt::Orientation orientation, int action)
{
    QScrollBar* bar = itemAs<QScrollBar>(orientation == Qt::Horizontal ? ctl::HScroll : ctl::VScroll);
    int code = -1;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: code = SbLineUp; break;
    case QAbstractSlider::SliderSingleStepAdd: code = SbLineDown; break;
    case QAbstractSlider::SliderPageStepSub: code = SbPageUp; break;
    case QAbstractSlider::SliderPageStepAdd: code = SbPageDown; break;
    case QAbstractSlider::SliderMove: code = SbThumbTrack; break;
    case QAbstractSlider::SliderToMinimum: code = SbTop; break;
    case QAbstractSlider::SliderToMaximum: code = SbBottom; break;
    default: return;
    }
    // The bar has already moved its slider; the card decides the position.
    const int requested = bar->sliderPosition();
    {
        const QSignalBlocker block(bar);
        bar->setSliderPosition(bar->value());
    }
    view_.scroll(orientation, code, requested);
    bar->setSliderPosition(bar->value());
}

void CardEditorDlg::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    platform::Dc dc(&painter);
    view_.paint(dc, event->rect(), selectedItem());
}

void CardEditorDlg::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !canvas_.onLButtonDown(event->position().toPoint()))
        TemplateDialog::mousePressEvent(event);
}

void CardEditorDlg::mouseMoveEvent(QMouseEvent* event)
{
    if (!canvas_.onMouseMove(event->position().toPoint()))
        TemplateDialog::mouseMoveEvent(event);
}

void CardEditorDlg::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !canvas_.onLButtonUp())
        TemplateDialog::mouseReleaseEvent(event);
}

void CardEditorDlg::systemCommand(int command)
{
    if ((command & 0xFFF0) == ctl::SysAbout) {
        AboutDlg about(this);
        about.exec();
    } else if (command == ctl::Help) {
        onHelpCommand();
    }
}

void CardEditorDlg::keyPressEvent(QKeyEvent* event)
{
    // Enter and Escape belong to the focused control; they never close the window
    // or press a default button.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept();
        return;
    default:
        TemplateDialog::keyPressEvent(event);
    }
}

// Where the window manager owns the system menu, its extra items live in a
// context menu on the window's background.
void CardEditorDlg::contextMenuEvent(QContextMenuEvent* event)
{
    const QString about = resources::loadString(resources::ids::AboutMenuItem);
    QMenu popup(this);
    popup.addAction(resources::loadString(resources::ids::ToolHelp), this, [this] { systemCommand(ctl::Help); });
    if (!about.isEmpty()) {
        popup.addSeparator();
        popup.addAction(about, this, [this] { systemCommand(ctl::SysAbout); });
    }
    popup.exec(event->globalPos());
}

void CardEditorDlg::installSystemMenu()
{
#ifdef Q_OS_WIN
    const QString about = resources::loadString(resources::ids::AboutMenuItem);
    HMENU systemMenu = GetSystemMenu(reinterpret_cast<HWND>(winId()), FALSE);
    if (systemMenu && !about.isEmpty()) {
        AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(systemMenu, MF_STRING, ctl::Help,
                    reinterpret_cast<LPCWSTR>(resources::loadString(resources::ids::ToolHelp).utf16()));
        AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(systemMenu, MF_STRING, ctl::SysAbout, reinterpret_cast<LPCWSTR>(about.utf16()));
    }
#endif
}

bool CardEditorDlg::nativeEvent(const QByteArray& eventType, void* message, qintptr* result)
{
#ifdef Q_OS_WIN
    if (eventType == "windows_generic_MSG") {
        const MSG* msg = static_cast<const MSG*>(message);
        if (msg->message == WM_SYSCOMMAND) {
            const int command = static_cast<int>(msg->wParam);
            if ((command & 0xFFF0) == ctl::SysAbout || command == ctl::Help) {
                systemCommand(command);
                *result = 0;
                return true;
            }
        }
    }
#endif
    return TemplateDialog::nativeEvent(eventType, message, result);
}
