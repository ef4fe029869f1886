// SPDX-License-Identifier: GPL-3.0-or-later
#include "Pixels.h"
#include "panel/PictureImport.h"

#include "TestSupport.h"
#include "platform/AppSettings.h"
#include "resources/Strings.h"

#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QStandardPaths>

using platform::Dib;

namespace {

// A 3 × 1 four-bit picture with a 12-byte core header: red, green, blue.
const QByteArray kCoreBmp = QByteArray::fromHex(
    "424d4e000000000000004a000000" "0c0000000300010001000400"
    "0000ff00ff00ff0000") + QByteArray(39, '\0') + QByteArray::fromHex("01200000");

bool run(const QString& program, const QStringList& args) { return testsupport::runProgram(program, args).code == 0; }

// Qt's reading of a file, upright, with transparency dropped or laid on white.
QImage qtReading(const QString& path, bool onWhite)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QImage read = reader.read().convertToFormat(QImage::Format_ARGB32);
    if (!onWhite)
        return read.convertToFormat(QImage::Format_RGB32); // the alpha dropped
    QImage out(read.size(), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter(&out).drawImage(0, 0, read);
    return out;
}

class PictureImport : public testsupport::TempDirTest {
protected:
    void SetUp() override
    {
        savedFolder = platform::appSettings().pictureFolder();
        platform::appSettings().setPictureFolder(QDir::tempPath());
    }
    void TearDown() override { platform::appSettings().setPictureFolder(savedFolder); }

    std::optional<Dib> choose(const QString& path, QSize cardMm = {}, QWidget* editor = nullptr)
    {
        testsupport::FileDialogScript dialog({path});
        return panel::choosePicture(editor, cardMm);
    }

    // Reads a BMP made by another tool as stored (under "BMP") and compares it with
    // Qt's reading. Qt widens channels of fewer than 8 bits by shifting (31 → 248),
    // we to the full range (31 → 255): `widening` allows that. Converting a BMP is
    // Qt's reading laid on white, as for every other format.
    void checkStored(const QString& name, int headerSize, int bitCount, int compression, int widening = 0)
    {
        SCOPED_TRACE(name.toStdString());
        const QString made = dir.filePath(name + ".bmp");
        const QString stored = dir.filePath(name + ".BMP");
        ASSERT_TRUE(QFile::copy(made, stored));
        const auto direct = choose(stored);
        ASSERT_TRUE(direct);
        EXPECT_EQ(std::tuple(int(direct->headerSize()), int(direct->bitCount()), int(direct->compression()), direct->bytes()),
                  std::tuple(headerSize, bitCount, compression, testsupport::readFile(made).mid(14) + QByteArray(14, '\0')));
        EXPECT_LE(pixels::maxDifference(direct->toImage(), qtReading(made, false)), widening);
    }

    QString savedFolder;
};

} // namespace

TEST_F(PictureImport, TheDialogStartsInThePictureFolderAndCancelChangesNothing)
{
    testsupport::MessageBoxScript boxes;
    testsupport::FileDialogScript dialog({std::nullopt});
    EXPECT_FALSE(panel::choosePicture(nullptr));
    ASSERT_EQ(dialog.shown().size(), 1u);
    EXPECT_EQ(std::tuple(dialog.shown()[0].initialDir, boxes.shown().size(), platform::appSettings().pictureFolder()),
              std::tuple(QDir::tempPath(), std::size_t(0), QDir::tempPath()));
}

TEST_F(PictureImport, OnlyTheExtensionBmpInCapitalsIsTakenAsStored)
{
    const auto stored = choose(file("core.BMP", kCoreBmp));
    ASSERT_TRUE(stored);
    EXPECT_EQ(std::pair(stored->bytes(), stored->toImage().pixel(0, 0)), std::pair(kCoreBmp.mid(14) + QByteArray(14, '\0'), qRgb(255, 0, 0)));
    for (const char* name : {"core.bmp", "core.Bmp", "core", "core.BMP.x"}) {
        const auto converted = choose(file(name, kCoreBmp));
        ASSERT_TRUE(converted) << name;
        EXPECT_EQ(std::pair(converted->headerSize(), converted->toImage()), std::pair(40u, stored->toImage())) << name;
    }
}

TEST_F(PictureImport, UnreadableFilesShowMessage115AndTheFolderIsStillRemembered)
{
    const QByteArray jpeg = QByteArray::fromHex("ffd8ffe000104a464946000101");
    for (const auto& c : {"jpeg.BMP", "jpeg.jpg"}) {
        platform::appSettings().setPictureFolder(QDir::tempPath());
        testsupport::MessageBoxScript boxes;
        EXPECT_FALSE(choose(file(c, jpeg))) << c;
        ASSERT_EQ(boxes.shown().size(), 1u) << c;
        const ui::MessageBoxRequest& box = boxes.shown()[0];
        EXPECT_EQ(std::tuple(box.text, box.caption, box.icon, platform::appSettings().pictureFolder()),
                  std::tuple(resources::loadString(115), ui::applicationName(), platform::MbIcon::Stop, dir.path())) << c;
    }
    for (const char* missing : {"gone.BMP", "gone.png"}) {
        testsupport::MessageBoxScript boxes;
        EXPECT_FALSE(choose(dir.filePath(missing)));
        EXPECT_EQ(boxes.shown().size(), 1u);
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
    editor.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));

    const QString path = file("core.png", kCoreBmp); // a BMP by its bytes
    const auto all = QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot;
    auto listing = [&] {
        return QDir(dir.path()).entryList(all) + QDir::current().entryList(all)
               + QDir(platform::appSettings().appDir()).entryList(all);
    };
    const QStringList before = listing();
    EXPECT_TRUE(choose(path, {}, &editor));
    EXPECT_EQ(std::tuple(listing(), editor.waitPaints, QGuiApplication::overrideCursor()), std::tuple(before, 1, static_cast<QCursor*>(nullptr)));

    // The message box comes with the ordinary pointer.
    bool waitWithBox = true;
    const testsupport::Override<ui::MessageBoxHandler> box(ui::setMessageBoxHandler, [&](const ui::MessageBoxRequest&) {
        waitWithBox = QGuiApplication::overrideCursor() != nullptr;
        return int(platform::IdOk);
    });
    EXPECT_FALSE(choose(file("bad.png", "nothing")));
    EXPECT_FALSE(waitWithBox);
}

// Pictures made at test time by ImageMagick and Pillow, 37 × 23 (rows pad),
// red to blue from top to bottom with a green block at the top left.
TEST_F(PictureImport, BmpsOfEveryKindWrittenByImageMagickAndPillowReadAsStored)
{
    const QString convert = QStandardPaths::findExecutable("convert");
    QString python; // the first Python with PIL: on the path, else the system's
    for (const QString& p : {QStandardPaths::findExecutable("python3"), QStringLiteral("/usr/bin/python3")})
        if (python.isEmpty() && QFile::exists(p) && run(p, {"-c", "import PIL"}))
            python = p;
    if (convert.isEmpty() || python.isEmpty())
        GTEST_SKIP() << "needs ImageMagick and Python's PIL (scripts/install-deps.sh test installs them)";
    const QString src = dir.filePath("src.png");
    ASSERT_TRUE(run(convert, {"-size", "37x23", "gradient:red-blue", "-fill", "lime", "-draw", "rectangle 0,0 4,3",
                              "-depth", "8", src}));
    const struct { const char* name; const char* args; int header, bits, compression, widening; } magick[] = {
        {"bmp3-1", "-monochrome BMP3:", 40, 1, 0, 0},
        {"bmp3-4", "-colors 16 -type Palette -compress None BMP3:", 40, 4, 0, 0},
        {"bmp3-8", "-type Palette -compress None BMP3:", 40, 8, 0, 0},
        {"bmp3-rle8", "-type Palette -compress RLE BMP3:", 40, 8, 1, 0},
        {"bmp3-24", "-type TrueColor BMP3:", 40, 24, 0, 0},
        {"core-1", "-monochrome BMP2:", 12, 1, 0, 0},
        {"core-24", "-type TrueColor BMP2:", 12, 24, 0, 0},
        {"v5-24", "-type TrueColor -define bmp:format=bmp4 BMP:", 124, 24, 0, 0},
        {"v5-565", "-type TrueColor -define bmp:subtype=RGB565 BMP:", 124, 16, 3, 7},
        {"v5-4444", "-type TrueColorAlpha -define bmp:subtype=ARGB4444 BMP:", 124, 16, 3, 15},
        {"v5-32", "-alpha set -channel A -evaluate set 50% +channel -define bmp:format=bmp4 BMP:", 124, 32, 3, 0},
    };
    for (const auto& m : magick) {
        QStringList args = QString::fromLatin1(m.args).split(' ');
        args.last() += dir.filePath(QString::fromLatin1(m.name) + ".bmp");
        ASSERT_TRUE(run(convert, QStringList{src} + args)) << m.name;
        checkStored(m.name, m.header, m.bits, m.compression, m.widening); // Qt's reading pins the orientation
    }
    ASSERT_TRUE(run(python, {"-c",
                             "import sys\nfrom PIL import Image\nim = Image.open(sys.argv[1] + '/src.png').convert('RGB')\n"
                             "im.convert('RGBA').save(sys.argv[1] + '/pil-RGBA.bmp')\n"
                             "im.convert('P', palette=Image.ADAPTIVE, colors=7).save(sys.argv[1] + '/pil-P.bmp')",
                             dir.path()}));
    const std::pair<const char*, int> pil[] = {{"pil-P", 8}, {"pil-RGBA", 32}}; // a short table, 32 bits unmasked
    for (const auto& [name, bits] : pil)
        checkStored(name, 40, bits, 0);

    // Other formats are converted upright, as Qt reads them, on white, and reduced as they stand.
    const QString jpeg = dir.filePath("turned.jpg"); // EXIF orientation 6: turn right to stand
    ASSERT_TRUE(run(python, {"-c", "import sys\nfrom PIL import Image\ne = Image.Exif(); e[0x0112] = 6\n"
                                   "Image.open(sys.argv[1]).convert('RGB').resize((400, 230)).save(sys.argv[2], exif=e)",
                             src, jpeg}));
    const QString gif = dir.filePath("plain.gif");
    ASSERT_TRUE(run(convert, {src, gif}));
    for (const QString& path : {jpeg, gif})
        EXPECT_LE(pixels::maxDifference(choose(path)->toImage(), qtReading(path, true)), 1) << path.toStdString();
    // For a 3 × 5 mm card (142 × 237 pixels) the turned 230 × 400 becomes 142 × 247;
    // reduced as stored, 400 × 230, it would have been kept.
    const QImage reduced = choose(jpeg, {3, 5})->toImage();
    EXPECT_TRUE(reduced.size() == QSize(142, 247) && qGreen(reduced.pixel(138, 3)) > 160);
}
