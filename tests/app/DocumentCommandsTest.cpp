// SPDX-License-Identifier: GPL-3.0-or-later
#include "EditorTest.h"
#include "model/ObjItemText.h"

#include <QFile>
#include <QTimer>

#include <functional>

using testsupport::FileDialogScript;
using testsupport::MessageBoxScript;

namespace {

class DocumentCommandsTest : public EditorTest {
protected:
    // A saved card with one rectangle and one text.
    QString savedCard(const char* name, int cardWidth = 91)
    {
        CardEditorDlg other;
        other.page().cardWidth = cardWidth;
        other.page().append(std::make_unique<ObjItemRect>());
        other.page().append(std::make_unique<ObjItemText>());
        EXPECT_TRUE(other.saveDocument(path(name)));
        return path(name);
    }
    // The new-card dialog, once it shows, ends with result.
    static void answerNewCard(int result)
    {
        QTimer::singleShot(0, [result] {
            if (auto* w = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                w->done(result);
        });
    }
};

// Opening right after a save asks nothing; a modified card asks once the file is
// chosen: Cancel, No, then Yes, which saves before the file opens.
TEST_F(DocumentCommandsTest, SaveThenOpenGivesTheSameCardAndOpenWhileModifiedAsksAfterTheFileIsChosen)
{
    const QString other = savedCard("other.pmr");
    FileDialogScript chooser({path("card.pmr"), path("card.pmr"), other, other, other, path("saved.pmr")});
    MessageBoxScript boxes({platform::IdCancel, platform::IdNo, platform::IdYes});
    for (int id : {ctl::AddRect, ctl::AddText, ctl::Save})
        press(id);
    const ui::FileDialogRequest& saving = chooser.shown()[0];
    EXPECT_EQ(std::tuple(saving.mode, saving.initialDir, saving.defaultExt, dlg->isModified()),
              std::tuple(ui::FileDialogRequest::Save, dir.path(), QStringLiteral("pmr"), false));
    press(ctl::Open);
    ASSERT_EQ(std::pair(items().size(), boxes.shown().size()), std::pair(std::size_t(2), std::size_t(0)));
    EXPECT_EQ(std::pair(items().back()->kind, dlg->documentPath()), std::pair(int(ObjItem::KindText), path("card.pmr")));

    press(ctl::AddLine);
    press(ctl::Open);
    EXPECT_EQ(std::pair(chooser.shown().size(), boxes.shown().size()), std::pair(std::size_t(3), std::size_t(1)));
    EXPECT_EQ(std::pair(items().size(), dlg->isModified()), std::pair(std::size_t(3), true));
    press(ctl::Open);
    EXPECT_EQ(std::tuple(items().size(), dlg->isModified(), dlg->selectedItem()), (std::tuple<std::size_t, bool, const ObjItem*>(2, false, nullptr)));

    press(ctl::AddLine);
    press(ctl::Open);
    ASSERT_EQ(chooser.shown().size(), 6u);
    EXPECT_EQ(std::tuple(chooser.shown()[5].mode, items().size(), dlg->documentPath(), QFile::exists(path("saved.pmr"))),
              std::tuple(ui::FileDialogRequest::Save, std::size_t(2), other, true));
    press(ctl::Close);
    EXPECT_EQ(boxes.shown().size(), 3u);
}

TEST_F(DocumentCommandsTest, CancelOrYesWithoutASavedCardStopsEveryCommandThatWouldDropIt)
{
    const QString other = savedCard("other.pmr");
    const QString sample = file(QStringLiteral("sample/s.pmr"), testsupport::readFile(other));
    press(ctl::AddRect);
    const ObjItem* rect = dlg->selectedItem();
    // chosen: the file chosen before the prompt.
    const struct { const char* name; std::function<void()> run; std::optional<QString> chosen; } commands[] = {
        {"close", [&] { press(ctl::Close); }, {}},
        {"close box", [&] { dlg->close(); }, {}},
        {"open", [&] { press(ctl::Open); }, other},
        {"sample", [&] { answerNewCard(10); press(ctl::NewCard); }, sample},
        {"from scratch", [&] { answerNewCard(20); press(ctl::NewCard); }, {}},
    };
    // Cancel; Yes, then the save dialog is cancelled or the file cannot be written.
    const std::optional<QString> cancelled, unwritable = path("no/such/folder/c.pmr");
    for (const auto& [answer, saveAs] : {std::pair(platform::IdCancel, cancelled), std::pair(platform::IdYes, cancelled),
                                         std::pair(platform::IdYes, unwritable)}) {
        for (const auto& c : commands) {
            SCOPED_TRACE(c.name);
            MessageBoxScript boxes({answer});
            std::deque<std::optional<QString>> answers;
            if (c.chosen)
                answers.push_back(c.chosen);
            if (answer == platform::IdYes)
                answers.push_back(saveAs);
            FileDialogScript chooser(answers);
            c.run();
            ASSERT_EQ(chooser.shown().size(), answers.size());
            EXPECT_EQ(answer == platform::IdYes, !answers.empty() && chooser.shown().back().mode == ui::FileDialogRequest::Save);
            ASSERT_FALSE(boxes.shown().empty()); // and a stop box for the file not written
            const ui::MessageBoxRequest& box = boxes.shown()[0];
            EXPECT_EQ(std::tuple(box.caption, box.buttons, box.icon), std::tuple(QString(), platform::MbButtons::YesNoCancel, platform::MbIcon::None));
            EXPECT_EQ(std::tuple(dlg->isVisible(), items().size(), dlg->selectedItem(), dlg->isModified()),
                      std::tuple(true, std::size_t(1), rect, true));
        }
    }
    MessageBoxScript no({platform::IdNo});
    EXPECT_TRUE(dlg->close() && !dlg->isVisible());
}

TEST_F(DocumentCommandsTest, FailedReadsAndSavesKeepEverything)
{
    const QString good = savedCard("good.pmr");
    ASSERT_TRUE(dlg->loadDocument(good));
    press(ctl::AddRect);
    const ObjItem* selected = dlg->selectedItem();
    ASSERT_TRUE(testsupport::writeFile(path("bad.pmr"), QByteArray::fromHex("01000000020000")));
    const QString locked = savedCard("locked.pmr");
    const QByteArray lockedBytes = testsupport::readFile(locked);
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ReadGroup);

    // One stop box each; the card, its path and its mark stay.
    const struct { bool save; QString file; QString text; } cases[] = {
        {false, path("bad.pmr"), QDir::toNativeSeparators(path("bad.pmr")) + QStringLiteral(" の末尾以降にｱｸｾｽしようとしました。")},
        {false, path("missing.pmr"), QStringLiteral("ファイルが開けません")},
        {true, locked, QStringLiteral("読み取り専用ファイルです")},
        {true, path("no/such/folder/card.pmr"), QStringLiteral("ファイルが開けません")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        MessageBoxScript boxes;
        EXPECT_FALSE(c.save ? dlg->saveDocument(c.file) : dlg->loadDocument(c.file));
        ASSERT_EQ(boxes.shown().size(), 1u);
        const ui::MessageBoxRequest& box = boxes.shown()[0];
        EXPECT_EQ(std::tuple(box.text, box.icon, box.caption), std::tuple(c.text, platform::MbIcon::Stop, ui::applicationName()));
        EXPECT_EQ(std::tuple(items().size(), dlg->documentPath(), dlg->isModified(), dlg->selectedItem(), dlg->panelKind()),
                  std::tuple(std::size_t(3), good, true, selected, int(ObjItem::KindRect)));
    }
    EXPECT_EQ(testsupport::readFile(locked), lockedBytes);
}

TEST_F(DocumentCommandsTest, SamplesOpenUntitledAndScratchKeepsSizeAndPath)
{
    const QString sample = file(QStringLiteral("sample/s.pmr"), testsupport::readFile(savedCard("s.pmr", 80)));
    // The chosen paper has cards of that size, so opening keeps it.
    CardFormatCatalog& catalog = CardFormatCatalog::instance();
    catalog.append(CardFormat{"80", 210, 297, 80, 55, 2, 5, 14, 11, 0, 0});
    catalog.setCurrent(catalog.count() - 1);
    {
        FileDialogScript chooser({sample, std::nullopt});
        answerNewCard(10);
        press(ctl::NewCard);
        ASSERT_GE(chooser.shown().size(), 1u);
        EXPECT_EQ(chooser.shown()[0].initialDir, dir.filePath(QStringLiteral("sample")));
    }
    EXPECT_EQ(std::tuple(items().size(), dlg->page().cardWidth, dlg->documentPath(), platform::appSettings().documentFolder()),
              std::tuple(std::size_t(2), 80, QString(), dir.path())); // the folder untouched by samples

    ASSERT_TRUE(dlg->loadDocument(savedCard("named.pmr", 80)));
    press(ctl::AddText);
    {
        MessageBoxScript boxes({platform::IdNo});
        answerNewCard(20);
        press(ctl::NewCard);
        EXPECT_EQ(boxes.shown().size(), 1u);
    }
    EXPECT_EQ(std::tuple(items().size(), dlg->page().cardWidth, dlg->documentPath(), dlg->isModified()),
              std::tuple(std::size_t(0), 80, path("named.pmr"), false));

    QDir(dir.filePath(QStringLiteral("sample"))).removeRecursively();
    MessageBoxScript boxes;
    answerNewCard(10);
    press(ctl::NewCard);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, QStringLiteral(" サンプルのディレクトリが見つかりませんでした"));
}

TEST_F(DocumentCommandsTest, BundledSamplesOpenFromTheCommandLineUnmodified)
{
    const QDir samples(QStringLiteral(PELMORA_SOURCE_DIR "/data/sample"));
    const QStringList names = samples.entryList({QStringLiteral("*.pmr")}, QDir::Files);
    ASSERT_GE(names.size(), 8);
    for (const QString& name : names) {
        MessageBoxScript boxes;
        CardEditorDlg started(samples.filePath(name));
        EXPECT_EQ(std::tuple(boxes.shown().size(), started.isModified(), started.documentPath(), started.page().items().empty()),
                  std::tuple(std::size_t(0), false, samples.filePath(name), false)) << name.toStdString();
    }
}

} // namespace
