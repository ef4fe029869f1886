// SPDX-License-Identifier: GPL-3.0-or-later
#include "EditorTest.h"
#include "model/PmrDocument.h"
#include "resources/Strings.h"

#include <QProcess>

// Editors that stop without closing leave their card behind; the next start offers it.
namespace {

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

class RecoveryTest : public EditorTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(state.isValid());
        EditorTest::SetUp();
        writeDocumentFile(PmrData(), docPath);
    }
    // Another editor process that opens doc (empty: a new card), adds a text and
    // runs until it is killed.
    std::unique_ptr<QProcess> startEditor(const QString& doc)
    {
        auto child = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PELMORA_CHILD_STATE"), state.path());
        env.insert(QStringLiteral("PELMORA_CHILD_DOC"), doc);
        env.insert(QStringLiteral("PELMORA_AUTOSAVE_MS"), QStringLiteral("50"));
        child->setProcessEnvironment(env);
        child->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child->setWorkingDirectory(state.path()); // an earlier test's folder may be gone
        child->start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--gtest_also_run_disabled_tests"), QStringLiteral("--gtest_filter=RecoveryChild.*")});
        return child;
    }
    int copies() const { return QDir(folder).entryList({QStringLiteral("*.pmr")}, QDir::Files).size(); }
    // A copy with no editor running, as a killed one leaves it.
    void leaveCopy(const QString& id, const QByteArray& bytes)
    {
        const QString base = QDir(folder).filePath(id);
        ASSERT_TRUE(testsupport::writeFile(base + QStringLiteral(".json"), R"({"pid": 1, "path": "", "time": "2026-12-01T09:30:00Z"})"));
        ASSERT_TRUE(testsupport::writeFile(base + QStringLiteral(".pmr"), bytes));
    }
    std::unique_ptr<CardEditorDlg> restart(std::deque<int> answers, std::vector<ui::MessageBoxRequest>* shown = nullptr)
    {
        testsupport::MessageBoxScript script(std::move(answers));
        auto editor = std::make_unique<CardEditorDlg>();
        editor->recovery().offerLeftCopies();
        if (shown)
            *shown = script.shown();
        return editor;
    }

    QTemporaryDir state;
    testsupport::ScopedEnv stateHome{"XDG_STATE_HOME", state.path()};
    const QString folder = QDir(state.path()).filePath(QStringLiteral("pelmora/recovery"));
    const QString docPath = path("card.pmr");
};

TEST_F(RecoveryTest, AKilledEditorsCardComesBackWithItsPathAndRunningEditorsKeepTheirOwn)
{
    const auto saved = startEditor(docPath);
    const auto untitled = startEditor(QString());
    ASSERT_TRUE(QTest::qWaitFor([&] { return copies() == 2; }, 60000)) << entries(folder).join(QLatin1Char(' ')).toStdString();
    std::vector<ui::MessageBoxRequest> shown;
    EXPECT_EQ(restart({}, &shown)->page().items().size(), 0u) << "both are running";
    EXPECT_TRUE(shown.empty());

    saved->kill(); // SIGKILL
    saved->waitForFinished();
    auto editor = restart({platform::IdYes}, &shown);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].text.contains(QStringLiteral("「card.pmr」"))) << shown[0].text.toStdString();
    ASSERT_EQ(editor->page().items().size(), 1u);
    EXPECT_EQ(std::tuple(editor->page().items().front()->isText(), editor->documentPath(), editor->isModified()),
              std::tuple(true, QFileInfo(docPath).absoluteFilePath(), true));
    // The taken card is in the new editor's own copy; the running editor's copy is untouched.
    EXPECT_EQ(std::pair(editor->recovery().store().hasCopy(), copies()), std::pair(true, 2));
    editor.reset();

    untitled->kill();
    untitled->waitForFinished();
    editor = restart({platform::IdYes}, &shown);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].text.contains(QString::fromUtf8(resources::texts::RecoveryUntitled)));
    EXPECT_EQ(std::tuple(editor->page().items().size(), editor->documentPath(), editor->isModified()), std::tuple(std::size_t(1), QString(), true));
    editor.reset();
    EXPECT_TRUE(QDir(folder).entryList({QStringLiteral("*.pmr"), QStringLiteral("*.json")}, QDir::Files).isEmpty());
}

TEST_F(RecoveryTest, ACopyGoesOnlyWhenTheUserSaysSoAndADamagedOneIsSetAside)
{
    // A save and a clean close leave nothing behind.
    press(ctl::AddText);
    ASSERT_TRUE(dlg->recovery().writeNow());
    EXPECT_EQ(entries(folder).size(), 3); // the copy, what is known of it, the lock
    ASSERT_TRUE(dlg->saveDocument(docPath));
    EXPECT_TRUE(entries(folder).isEmpty());
    press(ctl::AddRect);
    ASSERT_TRUE(dlg->recovery().writeNow());
    dlg.reset();
    EXPECT_TRUE(entries(folder).isEmpty());

    PmrData card;
    card.cardWidth = 55;
    card.cardHeight = 91;
    leaveCopy(QStringLiteral("1-old"), writeDocument(card));
    // Cancel, and No then No, keep it for the next start; No then Yes deletes it.
    for (const auto& answers : {std::deque<int>{platform::IdCancel}, std::deque<int>{platform::IdNo, platform::IdNo}})
        EXPECT_EQ(restart(answers)->page().cardWidth, 91);
    EXPECT_EQ(entries(folder).size(), 2);
    restart({platform::IdNo, platform::IdYes});
    EXPECT_TRUE(entries(folder).isEmpty());

    leaveCopy(QStringLiteral("2-broken"), QByteArray("not a card"));
    std::vector<ui::MessageBoxRequest> shown;
    auto editor = restart({}, &shown);
    ASSERT_EQ(shown.size(), 1u);
    const QString aside = QDir(folder).filePath(QStringLiteral("damaged/2-broken.pmr"));
    EXPECT_EQ(std::tuple(shown[0].text, QFile::exists(aside), entries(folder), editor->isEnabled()),
              std::tuple(QString::fromUtf8(resources::texts::RecoveryDamaged).arg(QDir::toNativeSeparators(aside)), true, QStringList(), true));
}

// The other editor of the tests above, run in a process of its own.
TEST(RecoveryChild, DISABLED_EditsACardUntilKilled)
{
    qputenv("XDG_STATE_HOME", qgetenv("PELMORA_CHILD_STATE"));
    QTemporaryDir appDir;
    platform::appSettings().setAppDir(appDir.path());
    CardEditorDlg editor(qEnvironmentVariable("PELMORA_CHILD_DOC"));
    editor.show();
    editor.runCommand(ctl::AddText);
    QTest::qWait(120000);
    FAIL() << "not killed";
}

} // namespace
