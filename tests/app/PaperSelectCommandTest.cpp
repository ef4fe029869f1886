#include "EditorTest.h"
#include "app/CardApp.h"
#include "model/ObjItemRect.h"
#include "platform/Codec.h"
#include "platform/SettingsStore.h"
#include "printui/FormatCreateDlg.h"
#include "printui/FormatListBox.h"
#include "printui/PaperSelectDlg.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>

using print::FormatCreateDlg;
using print::PaperSelectDlg;
using testsupport::MessageBoxScript;

namespace {

// The paper dialog, whenever it shows, runs `act` and is then closed with OK
// or Cancel through its buttons; calls counts the times it showed.
class PaperScript {
public:
    PaperScript(std::function<void(PaperSelectDlg&)> act, bool ok)
    {
        previous_ = PaperSelectDlg::setProvider([this, act, ok](PaperSelectDlg& d) {
            ++calls;
            act(d);
            QTest::mouseClick(d.itemAs<QPushButton>(ok ? 1 : 2), Qt::LeftButton);
            return d.result();
        });
    }
    ~PaperScript() { PaperSelectDlg::setProvider(std::move(previous_)); }
    int calls = 0;

private:
    PaperSelectDlg::Provider previous_;
};

// "その他..." with a format of the given name and card size.
void addFormat(PaperSelectDlg& d, const QString& name, int cardWidth, int cardHeight)
{
    auto previous = FormatCreateDlg::setProvider([&](FormatCreateDlg& f) {
        f.field(FormatCreateDlg::kName)->setText(name);
        f.field(FormatCreateDlg::kCardWidth)->setText(QString::number(cardWidth));
        f.field(FormatCreateDlg::kCardHeight)->setText(QString::number(cardHeight));
        QTest::mouseClick(f.itemAs<QPushButton>(1), Qt::LeftButton);
        return f.result();
    });
    QTest::mouseClick(d.itemAs<QPushButton>(PaperSelectDlg::kOther), Qt::LeftButton);
    FormatCreateDlg::setProvider(std::move(previous));
}

class PaperSelectCommandTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        rect = dlg->page().append(std::make_unique<ObjItemRect>())->get();
        rect->x = 700;
        rect->y = 300;
    }
    QSize cardSize() const { return {dlg->page().cardWidth, dlg->page().cardHeight}; }

    ObjItem* rect = nullptr;
};

} // namespace

TEST_F(PaperSelectCommandTest, ACardOfTheChosenSizeStaysAsItIs)
{
    MessageBoxScript boxes;
    for (const bool ok : {false, true}) {
        PaperScript paper([](PaperSelectDlg& d) { d.list()->setCurrentRow(1); }, ok); // the same card size
        press(ctl::PaperSelect);
        EXPECT_EQ(paper.calls, 1);
    }
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(dlg->modified(), 0);
    EXPECT_EQ(CardFormatCatalog::instance().current(), 1);
}

TEST_F(PaperSelectCommandTest, AnotherCardSizeResizesTheCardWithANoticeAndKeepsItems)
{
    const platform::Rect before = dlg->cardRect();
    MessageBoxScript boxes;
    {
        // Added, then the paper dialog cancelled: the new format still counts.
        PaperScript paper([](PaperSelectDlg& d) { addFormat(d, QStringLiteral("ちいさい"), 60, 40); }, false);
        press(ctl::PaperSelect);
    }
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, QStringLiteral("めいしサイズが かわりました"));
    EXPECT_EQ(boxes.shown()[0].caption, QStringLiteral("ようしせってい"));
    EXPECT_EQ(boxes.shown()[0].buttons, platform::MbButtons::Ok);
    EXPECT_EQ(cardSize(), QSize(60, 40));
    EXPECT_EQ(dlg->modified(), 1);
    EXPECT_EQ(QPoint(rect->x, rect->y), QPoint(700, 300));
    EXPECT_NE(dlg->cardRect().width(), before.width()); // refitted
}

TEST_F(PaperSelectCommandTest, OpeningACardOfAnotherSizeRunsTheSameCommand)
{
    CardEditorDlg other;
    other.page().cardWidth = 80;
    ASSERT_TRUE(other.saveDocument(path("small.pmr")));

    MessageBoxScript boxes;
    {
        PaperScript paper([](PaperSelectDlg&) {}, false);
        ASSERT_TRUE(dlg->loadDocument(path("small.pmr")));
        EXPECT_EQ(paper.calls, 1);
    }
    // Cancelled: the card takes the current format's size again.
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(cardSize(), QSize(91, 55));
    EXPECT_EQ(dlg->modified(), 1);
}

TEST_F(PaperSelectCommandTest, AFormatAddedIsWrittenAtExitAsTheCurrentOne)
{
    qputenv("NURELPAD_APPDIR", QFile::encodeName(dir.path()));
    QTemporaryDir settings;
    {
        CardApp app(platform::SettingsStore::fromFile(settings.filePath(QStringLiteral("s.ini"))));
        app.prepare();
        auto editor = app.createEditor(QString());
        PaperScript paper([](PaperSelectDlg& d) { addFormat(d, QStringLiteral("わたし,の"), 85, 50); }, true);
        editor->itemAs<QPushButton>(ctl::PaperSelect)->click();
        app.shutdown();
    }
    qunsetenv("NURELPAD_APPDIR");
    QFile ini(dir.filePath(QStringLiteral("cardform.ini")));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    const QByteArray name = platform::toCp932(QStringLiteral("わたし，の"));
    EXPECT_EQ(ini.readAll(), "current=2\r\n" + name + ",210,297,85,50,2,5,14,11,0,0,\r\n");
}
