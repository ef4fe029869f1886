#include "panel/PictureImport.h"

#include "TestSupport.h"
#include "platform/AppSettings.h"
#include "resources/Strings.h"

#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

using platform::Dib;

namespace {

// A 3 × 1 four-bit picture with a 12-byte core header: red, green, blue.
const QByteArray kCoreBmp = QByteArray::fromHex(
    "424d" "4e000000" "00000000" "4a000000"   // file header, rows at 14 + 12 + 48
    "0c000000" "0300" "0100" "0100" "0400"    // core header: 3 × 1, 4 bits
    "0000ff" "00ff00" "ff0000" "000000" "000000" "000000" "000000" "000000"
    "000000" "000000" "000000" "000000" "000000" "000000" "000000" "000000"
    "01200000");                              // indices 0 1 2, padded

class PictureImport : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        savedFolder = platform::appSettings().pictureFolder();
        platform::appSettings().setPictureFolder(QDir::tempPath());
    }
    void TearDown() override { platform::appSettings().setPictureFolder(savedFolder); }

    QString write(const QString& name, const QByteArray& bytes)
    {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }

    std::optional<Dib> choose(const QString& path, QSize cardMm = {}, QWidget* editor = nullptr)
    {
        testsupport::FileDialogScript dialog({path});
        return panel::choosePicture(editor, cardMm);
    }

    QTemporaryDir dir;
    QString savedFolder;
};

QByteArray png(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "png").write(image);
    return bytes;
}

} // namespace

TEST_F(PictureImport, TheDialogStartsInThePictureFolderAndCancelChangesNothing)
{
    testsupport::MessageBoxScript boxes;
    testsupport::FileDialogScript dialog({std::nullopt});
    EXPECT_FALSE(panel::choosePicture(nullptr));
    ASSERT_EQ(dialog.shown().size(), 1u);
    const platform::FileDialogRequest& r = dialog.shown()[0];
    EXPECT_EQ(r.mode, platform::FileDialogRequest::Open);
    EXPECT_EQ(r.initialDir, QDir::tempPath());
    EXPECT_EQ(r.defaultExt, "bmp");
    EXPECT_EQ(platform::qtFilterFromPairs(r.filter),
              "Image Files (*.bmp *.jpg *.jpeg *.png *.gif *.tif *.tiff *.webp);;BMP Files (*.BMP);;"
              "JPEG Files (*.JPG *.JPEG);;All Files (*.*)");
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(platform::appSettings().pictureFolder(), QDir::tempPath());
}

TEST_F(PictureImport, OnlyTheExtensionBmpInCapitalsIsTakenAsStored)
{
    testsupport::MessageBoxScript boxes;
    const QImage expected = Dib(kCoreBmp.mid(14)).toImage();
    ASSERT_EQ(expected.pixel(0, 0), qRgb(255, 0, 0));
    // As stored: the file without its header, padded to the file's length.
    const auto stored = choose(write("core.BMP", kCoreBmp));
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->bytes(), kCoreBmp.mid(14) + QByteArray(14, '\0'));
    // Converted: the same pixels as a 40-byte header and 24 bits.
    for (const char* name : {"core.bmp", "core.Bmp", "core.bMP", "core", "core.BMP.x"}) {
        const auto converted = choose(write(name, kCoreBmp));
        ASSERT_TRUE(converted) << name;
        EXPECT_EQ(converted->headerSize(), 40u) << name;
        EXPECT_EQ(converted->bitCount(), 24) << name;
        EXPECT_EQ(converted->toImage(), expected) << name;
    }
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(PictureImport, UnreadableFilesShowMessage115AndTheFolderIsStillRemembered)
{
    const QByteArray jpeg = QByteArray::fromHex("ffd8ffe000104a464946000101");
    const struct { const char* name; QByteArray bytes; } cases[] = {
        {"jpeg.BMP", jpeg},                      // fails the "BM" test
        {"short.BMP", kCoreBmp.left(70)},       // rows cut short
        {"jpeg.jpg", jpeg},                      // the converter cannot read it
        {"empty.png", QByteArray()},
        {"text.gif", QByteArray("GIF89a but nothing more")},
    };
    for (const auto& c : cases) {
        platform::appSettings().setPictureFolder(QDir::tempPath());
        testsupport::MessageBoxScript boxes;
        EXPECT_FALSE(choose(write(c.name, c.bytes))) << c.name;
        ASSERT_EQ(boxes.shown().size(), 1u) << c.name;
        EXPECT_EQ(boxes.shown()[0].text, resources::loadString(115));
        EXPECT_EQ(boxes.shown()[0].caption, platform::applicationName());
        EXPECT_EQ(boxes.shown()[0].icon, platform::MbIcon::Stop);
        EXPECT_EQ(platform::appSettings().pictureFolder(), dir.path()) << c.name;
    }
    for (const char* missing : {"gone.BMP", "gone.png"}) {
        testsupport::MessageBoxScript boxes;
        EXPECT_FALSE(choose(dir.filePath(missing)));
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0].text, resources::loadString(115));
    }
}

TEST_F(PictureImport, ConvertingShowsTheWaitCursorAndLeavesNoFileBehind)
{
    struct Editor : QWidget {
        int waitPaints = 0;
        void paintEvent(QPaintEvent*) override
        {
            const QCursor* c = QGuiApplication::overrideCursor();
            waitPaints += c && c->shape() == Qt::WaitCursor;
        }
    } editor;
    editor.resize(50, 50);
    editor.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));

    QImage picture(6, 4, QImage::Format_RGB32);
    picture.fill(qRgb(10, 20, 30));
    const QString path = write("pic.png", png(picture));
    const QString appDir = QDir(platform::appSettings().appDir()).absolutePath();
    auto listing = [&] {
        const auto all = QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot;
        return QDir(dir.path()).entryList(all) + QDir::current().entryList(all) + QDir(appDir).entryList(all);
    };
    const QStringList before = listing();
    const auto dib = choose(path, {}, &editor);
    ASSERT_TRUE(dib);
    EXPECT_EQ(dib->toImage(), picture);
    EXPECT_EQ(listing(), before);
    EXPECT_EQ(editor.waitPaints, 1);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    // The message box comes with the ordinary pointer.
    bool waitWithBox = true;
    const auto previous = platform::setMessageBoxHandler([&](const platform::MessageBoxRequest&) {
        waitWithBox = QGuiApplication::overrideCursor() != nullptr;
        return int(platform::IdOk);
    });
    EXPECT_FALSE(choose(write("bad.png", "nothing")));
    platform::setMessageBoxHandler(previous);
    EXPECT_FALSE(waitWithBox);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(PictureImport, OnlyConvertedPicturesAreReducedForTheCard)
{
    QImage picture(1000, 600, QImage::Format_RGB32);
    picture.fill(qRgb(200, 100, 50));
    auto width = [&](const char* name, const QByteArray& bytes, QSize cardMm) {
        const auto dib = choose(write(name, bytes), cardMm);
        return dib ? dib->width() : -1;
    };
    // 20 × 10 mm at 1200 ppi needs 945 × 473 pixels.
    EXPECT_EQ(width("big.png", png(picture), {20, 10}), 945);
    EXPECT_EQ(width("big.png", png(picture), {}), 1000);
    EXPECT_EQ(width("big.BMP", Dib::fromImage(picture).toBmpFile(), {20, 10}), 1000);
}
