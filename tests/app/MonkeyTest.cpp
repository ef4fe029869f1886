// SPDX-License-Identifier: GPL-3.0-or-later
// Random use of the editor window from a seed: buttons, dialogs answered at random,
// clicks, drags, keys, typing and the clipboard. After every step the card reads
// back to the same bytes, an unmodified card is the one last opened, new or saved,
// and the panel shows the selection; now and then undo goes back to the card of the
// last open or new and redo comes back. PELMORA_MONKEY_STEPS and _SEED choose the run.
#include "EditorTest.h"
#include "app/QrCodeDlg.h"
#include "files/NewCardDlg.h"
#include "model/ObjItemLine.h"
#include "model/ObjItemText.h"
#include "model/PmrDocument.h"
#include "panel/ColorSwatch.h"
#include "printui/FormatCreateDlg.h"
#include "printui/FormatListBox.h"
#include "printui/PaperSelectDlg.h"
#include "ui/ChoiceDialogs.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTimer>

#include <functional>
#include <random>

using namespace ctl;
using platform::MbButtons;
using print::FormatCreateDlg;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr int kDefaultSteps = 800;
#else
constexpr int kDefaultSteps = 8000;
#endif
constexpr unsigned kDefaultSeed = 22;
constexpr int kCheckEvery = 40;

class MonkeyTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        for (const QFileInfo& f : QDir(QStringLiteral(PELMORA_SOURCE_DIR "/data/sample")).entryInfoList({"*.pmr"}, QDir::Files, QDir::Name))
            samples << file(QStringLiteral("sample/") + f.fileName(), testsupport::readFile(f.filePath()));
        QImage(37, 23, QImage::Format_ARGB32).save(path("a.png"));
        QImage(300, 5, QImage::Format_Mono).save(path("b.bmp"));
        QFile bad(path("bad.png"));
        ASSERT_TRUE(bad.open(QIODevice::WriteOnly) && bad.write("not a picture") > 0 && !samples.isEmpty());
        pictures = {path("a.png"), path("b.bmp"), path("bad.png"), samples[0]};
        documents = {path("a.pmr"), path("b.pmr"), path("gone/c.pmr"), path("bad.png")};
        installAnswers();
        QApplication::clipboard()->clear();
    }
    void TearDown() override
    {
        QApplication::clipboard()->clear();
        QrCodeDlg::setProvider({});
        EditorTest::TearDown();
    }

    // The same numbers from every standard library; each draw is a statement of its
    // own, so every compiler draws in the same order and a seed replays anywhere.
    int pick(int n) { return n > 1 ? int(rng() % unsigned(n)) : 0; }
    bool chance(int percent) { return pick(100) < percent; }
    template <class T>
    T oneOf(std::initializer_list<T> list) { return list.begin()[pick(int(list.size()))]; }
    QString any(const QStringList& list) { return list[pick(int(list.size()))]; }
    // A point within w by h, y drawn first.
    QPoint pickPoint(int w, int h)
    {
        const int y = pick(h);
        return {pick(w), y};
    }
    QByteArray bytes() const { return writeDocument(dlg->document().card()); }
    void fail(const QString& what)
    {
        ADD_FAILURE() << what.toStdString() << "\nReplay: PELMORA_MONKEY_SEED=" << seed << " PELMORA_MONKEY_STEPS=" << step;
        failed = true;
    }

    // Every dialog and message box answers at random, as a user might.
    void installAnswers()
    {
        ui::setMessageBoxHandler([this](const ui::MessageBoxRequest& r) {
            prompted = prompted || r.buttons == MbButtons::YesNoCancel;
            return r.buttons == MbButtons::YesNoCancel ? oneOf({platform::IdYes, platform::IdNo, platform::IdCancel})
                   : r.buttons == MbButtons::YesNo     ? oneOf({platform::IdYes, platform::IdNo})
                   : r.buttons == MbButtons::OkCancel  ? oneOf({platform::IdOk, platform::IdCancel})
                                                       : int(platform::IdOk);
        });
        ui::setPrintDialogProvider([](QPrintDialog&) { return int(QDialog::Rejected); }); // not reached
        ui::setColorDialogProvider([this](std::uint32_t, QWidget*) {
            return chance(80) ? std::optional(oneOf<std::uint32_t>({0x000000, 0xFFFFFF, 0x336699, 0x12ABEF})) : std::nullopt;
        });
        ui::setFontDialogProvider([this](const ui::FontRequest& r, QWidget*) -> std::optional<platform::LogFont> {
            platform::LogFont f = r.font;
            f.height = oneOf({-8, -12, -72, -100, 5, 40});
            f.weight = oneOf({0, 400, 700});
            f.setFaceName(any({"ＭＳ Ｐゴシック", "ＭＳ 明朝", "@ＭＳ ゴシック", "IPAPGothic"}));
            f.escapement = f.faceNameUnicode().startsWith('@') ? 2700 : 0;
            return chance(80) ? std::optional(f) : std::nullopt;
        });
        FormatCreateDlg::setProvider(testsupport::clicking<FormatCreateDlg>([this](FormatCreateDlg& f) {
            const int w = 20 + pick(130), h = 20 + pick(80);
            f.field(FormatCreateDlg::kName)->setText(QStringLiteral("m%1").arg(step));
            f.field(FormatCreateDlg::kCardWidth)->setText(QString::number(w));
            f.field(FormatCreateDlg::kCardHeight)->setText(QString::number(h));
        }));
        // A code's content: an address, a contact, a text at times too long for any code.
        QrCodeDlg::setProvider(testsupport::clicking<QrCodeDlg>([this](QrCodeDlg& d) {
            const QString text(chance(10) ? 3000 : 1 + pick(40), QChar(u'あ' + pick(80)));
            const QrContent::Level level = oneOf({QrContent::L, QrContent::M, QrContent::Q, QrContent::H});
            d.setContent(oneOf({QrContent::url(QStringLiteral("https://example.jp/") + QString::number(step), level),
                                QrContent::contact({text, text.left(3)}, level), QrContent::text(text, level)}));
        }, chance(80) ? 1 : 2));
        print::PaperSelectDlg::setProvider([this](print::PaperSelectDlg& d) {
            if (chance(20))
                QTest::mouseClick(d.itemAs<QPushButton>(print::PaperSelectDlg::kOther), Qt::LeftButton);
            d.list()->setCurrentRow(pick(d.list()->count()));
            QTest::mouseClick(d.itemAs<QPushButton>(chance(70) ? 1 : 2), Qt::LeftButton);
            return d.result();
        });
    }

    // A click on one of the controls the user can click now.
    void clickControl(std::initializer_list<int> ids)
    {
        std::vector<int> there;
        std::copy_if(ids.begin(), ids.end(), std::back_inserter(there), [&](int id) { return dlg->item(id)->isVisible() && dlg->item(id)->isEnabled(); });
        if (!there.empty()) {
            QWidget* w = dlg->item(there[std::size_t(pick(int(there.size())))]);
            QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
        }
    }
    // On an item, on a handle of the selection, on the canvas or anywhere in the window.
    QPoint somewhere()
    {
        const ViewScale& scale = dlg->view().scale();
        const QPoint card(dlg->cardRect().left, dlg->cardRect().top);
        const auto& items = dlg->page().items();
        const QRect canvas = dlg->view().canvasRect();
        QPoint p = pickPoint(dlg->width(), dlg->height());
        QPoint handle;
        if (const int how = pick(4); how == 0 && !items.empty()) {
            const platform::Rect b = scale.toDevice((*std::next(items.begin(), pick(int(items.size()))))->GetBounds());
            p = card + QPoint(b.left, b.top) + pickPoint(int(std::min<std::int64_t>(b.width(), 2000)), int(std::min<std::int64_t>(b.height(), 2000)));
        } else if (const ObjItem* sel = dlg->selectedItem(); how == 1 && sel && sel->GetHandle(pick(sel->GetHandleCount()), handle)) {
            p = card + scale.toDevice(handle) + pickPoint(9, 9) - QPoint(4, 4);
        } else if (how < 3) {
            p = canvas.topLeft() + pickPoint(canvas.width(), canvas.height());
        }
        return QPoint(std::clamp(p.x(), 0, dlg->width() - 1), std::clamp(p.y(), 0, dlg->height() - 1));
    }
    // Types into the panel's text or width field, whichever is shown.
    void type()
    {
        const bool text = dlg->item(TextEdit)->isVisible();
        QWidget* field = dlg->item(text ? TextEdit : LineWidth);
        if (!field->isVisible())
            return;
        const QString s = text ? any({"Sato", "やまだ はなこ", "𠮷", "\r", "\b", "\b", QString(300, 'W'), "\t"})
                               : any({"0", "5", "50", "600", "99999999999", "\b", "\b"});
        field->setFocus();
        QInputMethodEvent input; // kana come from the input method
        input.setCommitString(s);
        s.front() < QChar(128) ? QTest::keyClicks(field, s) : void(QApplication::sendEvent(field, &input));
    }
    // Moves the pressed mouse on in steps, and releases it unless held.
    void moveOn(QPoint p, int steps, bool hold)
    {
        while (steps-- > 0) {
            p += chance(20) ? pickPoint(801, 801) - QPoint(400, 400) : pickPoint(41, 41) - QPoint(20, 20);
            QTest::mouseMove(dlg.get(), lastPointer = p);
        }
        if (!hold)
            QTest::mouseRelease(dlg.get(), Qt::LeftButton, {}, p);
    }
    // The close button or the window's close; a closed window opens again.
    void close()
    {
        if (chance(50))
            clickControl({Close});
        else
            dlg->close();
        if (!dlg->isVisible()) {
            if (!prompted && lastBytes != cleanBytes)
                fail("the window closed without asking to save the changes");
            dlg->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
        }
        if (bytes() != lastBytes)
            fail("closing changed the card");
    }

    // Weights and actions.
    std::vector<std::pair<int, std::function<void()>>> actions()
    {
        return {
            {40, [this] {
                 clickControl({AddText, AddLine, AddRect, AddPicture, AddText, AddLine, AddRect, AddPicture,
                               Delete, SendBack, Duplicate, ZoomIn, ZoomOut, Open, Save, NewCard, PaperSelect,
                               Font, Bigger, Smaller, AlignRight, ShapeWhiteOut, ShapeCircle, ShapeHeart,
                               BlurEdges, ReplacePicture, Pattern, OtherColor, Swatch, AddQr, QrContents, FrontSide, BackSide, TurnBack});
             }},
            {2, [this] { close(); }},
            {30, [this] { // a drag held goes on, or a click, double click or drag
                 if (dlg->canvas().hasCapture() && chance(15)) {
                     const bool hold = chance(50);
                     return moveOn(lastPointer, 1 + pick(4), hold);
                 }
                 const QPoint from = somewhere();
                 if (chance(8)) {
                     QTest::mouseClick(dlg.get(), Qt::LeftButton, {}, from);
                     QTest::mouseDClick(dlg.get(), Qt::LeftButton, {}, from);
                     return QTest::mouseRelease(dlg.get(), Qt::LeftButton, {}, from);
                 }
                 QTest::mousePress(dlg.get(), Qt::LeftButton, {}, from);
                 const bool hold = chance(25);
                 moveOn(from, pick(7), hold);
             }},
            {14, [this] {
                 const Qt::Key k = oneOf({Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Tab, Qt::Key_Backtab,
                                          Qt::Key_Delete, Qt::Key_Backspace, Qt::Key_Escape, Qt::Key_Return, Qt::Key_D, Qt::Key_A,
                                          Qt::Key_Plus, Qt::Key_Minus, Qt::Key_N, Qt::Key_O, Qt::Key_S, Qt::Key_PageUp, Qt::Key_PageDown});
                 key(k, oneOf<Qt::KeyboardModifiers>({{}, {}, Qt::ShiftModifier, Qt::ControlModifier}));
             }},
            {8, [this] { // undo and redo
                 const Qt::Key k = oneOf({Qt::Key_Z, Qt::Key_Z, Qt::Key_Y});
                 key(k, Qt::ControlModifier | oneOf<Qt::KeyboardModifiers>({{}, Qt::ShiftModifier}));
             }},
            {5, [this] {
                 if (chance(15)) { // a picture from outside
                     auto* data = new QMimeData;
                     const QPoint size = pickPoint(60, 60) + QPoint(1, 1);
                     data->setImageData(QImage(size.x(), size.y(), QImage::Format_RGB32));
                     if (chance(50))
                         data->setData(QString::fromLatin1(CardClipboard::kMimeType), QByteArray("\x01\x00\x00\x00\x05", 5));
                     QApplication::clipboard()->setMimeData(data);
                 }
                 key(oneOf({Qt::Key_C, Qt::Key_X, Qt::Key_V, Qt::Key_V}), Qt::ControlModifier);
             }},
            {8, [this] { type(); }},
            {3, [this] { dlg->item(oneOf({Open, AddText, TextEdit, LineWidth}))->setFocus(); }},
        };
    }

    void checkStep()
    {
        const QByteArray now = bytes();
        PmrData fresh;
        if (tryDocument([&] { readDocument(now, fresh); }) || writeDocument(fresh) != now)
            return fail("the card does not read back to the same bytes");
        const SelectionState& sel = dlg->selection();
        const auto& items = dlg->page().items();
        if (sel.item() && (!sel.position() || (*sel.position())->get() != sel.item()
                           || std::none_of(items.begin(), items.end(), [&](const auto& i) { return i.get() == sel.item(); })))
            return fail("the selection is not an item of the card");
        const auto* text = dynamic_cast<const ObjItemText*>(sel.item());
        const auto* line = dynamic_cast<const ObjItemLine*>(sel.item());
        if (dlg->panelKind() != (sel.item() ? sel.item()->kind : PropertyPanel::kBackground)
            || (text && dlg->itemAs<QPlainTextEdit>(TextEdit)->toPlainText() != text->textString().replace("\r\n", "\n"))
            || (line && dlg->itemAs<QLineEdit>(LineWidth)->text().toInt() != line->width) // empty is 0
            || (dlg->panelKind() != ObjItem::KindPicture && dlg->itemAs<panel::ColorSwatch>(Swatch)->color() != ((sel.item() ? sel.item()->color : dlg->page().backColor) & 0xFFFFFF)))
            return fail("the panel does not show the selection");
        // The file saved in this step, unless a new card from scratch followed, which keeps its path.
        QFile saved(saving);
        if (!saving.isEmpty() && !replaced && !dlg->isModified() && dlg->documentPath() == QFileInfo(saving).absoluteFilePath())
            cleanBytes = saved.open(QIODevice::ReadOnly) ? saved.readAll() : QByteArray();
        lastBytes = now;
        if (!dlg->canvas().hasCapture() && !dlg->isModified() && now != cleanBytes)
            return fail("the card is not marked modified, yet it is not the card opened, new or saved");
        startKnown = startKnown && dlg->document().history().size() < UndoHistory::kMinSteps; // else the oldest may be gone
    }
    // The card of the last open or new, undone to; the last state, redone to.
    void checkHistory()
    {
        const QByteArray end = bytes();
        int n = 0;
        while (dlg->document().undo())
            ++n;
        if (startKnown && bytes() != startBytes)
            return fail(QStringLiteral("undo of %1 steps does not give the card of the last open or new").arg(n));
        while (n-- > 0)
            dlg->document().redo();
        if (bytes() != end)
            fail("redo does not come back to the last state");
    }
    // A new card or an opened file starts the history.
    void onChanged(CardDocument::Changes what)
    {
        if (!(what & CardDocument::ContentsReplaced))
            return;
        if (!prompted && lastBytes != cleanBytes)
            fail("an open or new card replaced changes without asking to save them");
        startBytes = cleanBytes = bytes();
        startKnown = replaced = true;
        QFile file(opening);
        if (documents.contains(opening) && file.open(QIODevice::ReadOnly) && file.readAll() != startBytes)
            fail("a saved file opens as another card");
    }

    void run(unsigned runSeed, int steps)
    {
        rng.seed(seed = runSeed);
        if (chance(50)) {
            dlg = std::make_unique<CardEditorDlg>(any(samples)); // a sample to start with
            dlg->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
        }
        startBytes = cleanBytes = lastBytes = bytes();
        QObject::connect(&dlg->document(), &CardDocument::changed, [this](CardDocument::Changes what) { onChanged(what); });
        QTimer modal; // the new-card dialog runs its own loop
        modal.setInterval(0);
        QObject::connect(&modal, &QTimer::timeout, [this] {
            if (auto* d = qobject_cast<NewCardDlg*>(QApplication::activeModalWidget()))
                d->done(oneOf({0, int(NewCardDlg::LoadSample), int(NewCardDlg::FromScratch)}));
        });
        const auto table = actions();
        int total = 0;
        for (const auto& a : table)
            total += a.first;
        for (step = 1; step <= steps && !failed && !HasFatalFailure(); ++step) {
            auto a = table.begin();
            for (int r = pick(total); r >= a->first; ++a)
                r -= a->first;
            saving.clear();
            opening.clear();
            replaced = prompted = false;
            modal.start();
            a->second();
            QApplication::processEvents();
            modal.stop();
            checkStep();
            if (!failed && !dlg->canvas().hasCapture() && step % kCheckEvery == 0)
                checkHistory();
        }
        QTest::mouseRelease(dlg.get(), Qt::LeftButton); // a drag held at the end
        if (!failed)
            checkHistory();
    }

    std::mt19937 rng;
    unsigned seed = 0;
    int step = 0;
    bool failed = false;
    QStringList samples, pictures, documents;
    QString saving, opening; // what the file dialogs gave in this step
    bool replaced = false;   // an open or new in this step
    bool prompted = false;   // the save prompt in this step
    QByteArray cleanBytes;   // the card last opened, new or saved
    QByteArray lastBytes;    // the card before this step
    QByteArray startBytes;   // the card of the last open or new
    bool startKnown = true;  // undo can still reach it
    QPoint lastPointer;
    const testsupport::Override<ui::FileDialogProvider> files{ui::setFileDialogProvider, [this](const ui::FileDialogRequest& r, QWidget*) {
        const bool open = r.mode == ui::FileDialogRequest::Open;
        const QString chosen = chance(15)                                               ? QString()
                               : !r.filter.contains(QStringLiteral("pmr"))              ? any(pictures)
                               : r.initialDir == path("sample") || (open && chance(30)) ? any(samples)
                                                                                        : any(documents);
        (open ? opening : saving) = chosen;
        return chosen.isEmpty() ? std::nullopt : std::optional(chosen);
    }};
};

TEST_F(MonkeyTest, RandomUseKeepsTheCardWholeAndItsHistoryExact)
{
    bool given = false;
    const int steps = qEnvironmentVariableIntValue("PELMORA_MONKEY_STEPS");
    const unsigned chosen = unsigned(qEnvironmentVariableIntValue("PELMORA_MONKEY_SEED", &given));
    run(given ? chosen : kDefaultSeed, steps > 0 ? steps : kDefaultSteps);
}

} // namespace
