// Pictures written by ImageMagick and Pillow, made at test time, read through the
// picture import and compared with what Qt reads from the same files.
#include "panel/PictureImport.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

using platform::Dib;

namespace {

bool run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

QString imageMagick()
{
    return QStandardPaths::findExecutable(QStringLiteral("convert"));
}

// A Python that has PIL: the first on the path, else the system's own.
QString pythonWithPil()
{
    for (const QString& name : {QStringLiteral("python3"), QStringLiteral("/usr/bin/python3")}) {
        const QString exe = name.startsWith('/') ? name : QStandardPaths::findExecutable(name);
        if (!exe.isEmpty() && QFile::exists(exe) && run(exe, {"-c", "import PIL"}))
            return exe;
    }
    return {};
}

struct Header {
    quint32 size = 0;
    int bitCount = 0;
    quint32 compression = 0;
    // Qt widens a channel of fewer than 8 bits by shifting (5 bits: 31 → 248); we
    // scale it to the full range (31 → 255). Allowed difference of the stored path.
    int widening = 0;
};

Header headerOf(const QByteArray& file)
{
    const auto* p = reinterpret_cast<const uchar*>(file.constData()) + 14;
    const quint32 size = qFromLittleEndian<quint32>(p);
    if (size == 12)
        return {size, qFromLittleEndian<quint16>(p + 10), 0};
    return {size, qFromLittleEndian<quint16>(p + 14), qFromLittleEndian<quint32>(p + 16)};
}

// Qt's reading of a file, upright, with any transparency dropped or laid on white.
QImage qtReading(const QString& path, bool onWhite)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QImage read = reader.read().convertToFormat(QImage::Format_ARGB32);
    QImage out(read.size(), QImage::Format_RGB32);
    out.fill(Qt::white);
    if (onWhite) {
        QPainter(&out).drawImage(0, 0, read);
        return out;
    }
    for (int y = 0; y < read.height(); ++y)
        for (int x = 0; x < read.width(); ++x)
            out.setPixel(x, y, read.pixel(x, y) | 0xFF000000u);
    return out;
}

// The largest difference of any channel of any pixel; -1 when the sizes differ.
int maxDifference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return -1;
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    return worst;
}

class ToolMadePictures : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    std::optional<Dib> import(const QString& path, QSize cardMm = {})
    {
        testsupport::FileDialogScript dialog({path});
        return panel::choosePicture(nullptr, cardMm);
    }

    // A 37 × 23 gradient from red to blue with a green block at the top left: odd
    // rows pad, and the corners tell up from down and left from right.
    QString source(const QString& convert)
    {
        const QString src = dir.filePath("src.png");
        if (!QFile::exists(src)) {
            EXPECT_TRUE(run(convert, {"-size", "37x23", "gradient:red-blue", "-fill", "lime", "-draw",
                                      "rectangle 0,0 4,3", "-depth", "8", src}));
        }
        return src;
    }

    // Reads a BMP both ways: as stored under "BMP", converted under "bmp".
    void checkBmp(const QString& name, Header expected)
    {
        SCOPED_TRACE(name.toStdString());
        QFile made(dir.filePath(name + ".bmp"));
        ASSERT_TRUE(made.open(QIODevice::ReadOnly));
        const QByteArray file = made.readAll();
        const Header h = headerOf(file);
        EXPECT_EQ(h.size, expected.size);
        EXPECT_EQ(h.bitCount, expected.bitCount);
        EXPECT_EQ(h.compression, expected.compression);

        const QString stored = dir.filePath(name + ".BMP");
        ASSERT_TRUE(QFile::copy(made.fileName(), stored));
        const auto direct = import(stored);
        ASSERT_TRUE(direct);
        EXPECT_EQ(direct->bytes(), file.mid(14) + QByteArray(14, '\0'));
        const int difference = maxDifference(direct->toImage(), qtReading(made.fileName(), false));
        EXPECT_TRUE(difference >= 0 && difference <= expected.widening) << difference;

        const auto converted = import(made.fileName());
        ASSERT_TRUE(converted);
        EXPECT_EQ(converted->headerSize(), 40u);
        EXPECT_EQ(converted->bitCount(), 24);
        EXPECT_LE(maxDifference(converted->toImage(), qtReading(made.fileName(), true)), 1);

        // Green at the top left, blue at the bottom right, unless made black and white.
        const QImage img = direct->toImage();
        const QRgb tl = img.pixel(1, 1), br = img.pixel(36, 22);
        if (expected.bitCount > 1) {
            EXPECT_TRUE(qGreen(tl) > 160 && qRed(tl) < 90 && qBlue(tl) < 90) << std::hex << tl;
            EXPECT_TRUE(qBlue(br) > 160 && qRed(br) < 90 && qGreen(br) < 90) << std::hex << br;
        }
    }

    QTemporaryDir dir;
    testsupport::MessageBoxScript boxes;
};

} // namespace

TEST_F(ToolMadePictures, ImageMagickBmpsOfEveryDepthHeaderAndCompression)
{
    const QString convert = imageMagick();
    if (convert.isEmpty())
        GTEST_SKIP() << "ImageMagick's convert is not installed (scripts/install-deps.sh test installs it)";
    const QString src = source(convert);
    const struct { const char* name; QStringList args; Header header; } cases[] = {
        {"bmp3-1", {"-monochrome", "BMP3:"}, {40, 1, 0}},
        {"bmp3-4", {"-colors", "16", "-type", "Palette", "-compress", "None", "BMP3:"}, {40, 4, 0}},
        {"bmp3-8", {"-type", "Palette", "-compress", "None", "BMP3:"}, {40, 8, 0}},
        {"bmp3-rle8", {"-type", "Palette", "-compress", "RLE", "BMP3:"}, {40, 8, 1}},
        {"bmp3-24", {"-type", "TrueColor", "BMP3:"}, {40, 24, 0}},
        {"core-1", {"-monochrome", "BMP2:"}, {12, 1, 0}},
        {"core-4", {"-colors", "16", "-type", "Palette", "BMP2:"}, {12, 4, 0}},
        {"core-8", {"-type", "Palette", "BMP2:"}, {12, 8, 0}},
        {"core-24", {"-type", "TrueColor", "BMP2:"}, {12, 24, 0}},
        {"v5-24", {"-type", "TrueColor", "-define", "bmp:format=bmp4", "BMP:"}, {124, 24, 0}},
        {"v5-565", {"-type", "TrueColor", "-define", "bmp:subtype=RGB565", "BMP:"}, {124, 16, 3, 7}},
        {"v5-555", {"-type", "TrueColor", "-define", "bmp:subtype=RGB555", "BMP:"}, {124, 16, 3, 7}},
        {"v5-4444", {"-type", "TrueColorAlpha", "-define", "bmp:subtype=ARGB4444", "BMP:"}, {124, 16, 3, 15}},
        {"v5-32-alpha", {"-alpha", "set", "-channel", "A", "-evaluate", "set", "50%", "+channel", "-define",
                         "bmp:format=bmp4", "BMP:"}, {124, 32, 3}},
    };
    for (const auto& c : cases) {
        QStringList args{src};
        args += c.args.mid(0, c.args.size() - 1);
        args << c.args.last() + dir.filePath(QString::fromLatin1(c.name) + ".bmp");
        ASSERT_TRUE(run(convert, args)) << c.name;
        checkBmp(QString::fromLatin1(c.name), c.header);
    }
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(ToolMadePictures, PillowBmpsOfEveryMode)
{
    const QString python = pythonWithPil();
    if (python.isEmpty())
        GTEST_SKIP() << "no Python with PIL (scripts/install-deps.sh test installs python3-pil)";
    const QString script = QStringLiteral(
        "import sys\n"
        "from PIL import Image, ImageDraw\n"
        "im = Image.linear_gradient('L').resize((37, 23)).convert('RGB')\n"
        "im = Image.merge('RGB', (im.split()[0].point(lambda v: 255 - v), Image.new('L', (37, 23)), im.split()[0]))\n"
        "ImageDraw.Draw(im).rectangle((0, 0, 4, 3), fill=(0, 255, 0))\n"
        "d = sys.argv[1]\n"
        "im.convert('1').save(d + '/pil-1.bmp', 'BMP')\n"
        "im.convert('L').save(d + '/pil-l.bmp', 'BMP')\n"
        "im.convert('P', palette=Image.ADAPTIVE, colors=7).save(d + '/pil-p.bmp', 'BMP')\n"
        "im.save(d + '/pil-rgb.bmp', 'BMP')\n"
        "a = im.convert('RGBA'); a.putalpha(128); a.save(d + '/pil-rgba.bmp', 'BMP')\n");
    ASSERT_TRUE(run(python, {"-c", script, dir.path()}));
    checkBmp("pil-1", {40, 1, 0});
    checkBmp("pil-p", {40, 8, 0});
    checkBmp("pil-rgb", {40, 24, 0});
    checkBmp("pil-rgba", {40, 32, 0});
    // Grey has no green corner to check; compare it with Qt's reading only.
    const auto grey = import(dir.filePath("pil-l.bmp"));
    ASSERT_TRUE(grey);
    EXPECT_EQ(maxDifference(grey->toImage(), qtReading(dir.filePath("pil-l.bmp"), true)), 0);
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(ToolMadePictures, OtherFormatsComeUprightAndOnWhite)
{
    const QString convert = imageMagick();
    const QString python = pythonWithPil();
    if (convert.isEmpty() || python.isEmpty())
        GTEST_SKIP() << "needs ImageMagick and a Python with PIL (scripts/install-deps.sh test)";
    const QString src = source(convert);
    auto make = [&](const char* name, QStringList args) {
        args.prepend(src);
        args << dir.filePath(name);
        EXPECT_TRUE(run(convert, args)) << name;
        return dir.filePath(name);
    };
    const QString alpha = make("alpha.png", {"-alpha", "set", "-channel", "A", "-fx", "i/w", "+channel"});
    const QString tiff = make("turned.tif", {"-orient", "RightTop"});
    const QString gif = make("plain.gif", {});
    const QString webp = make("plain.webp", {"-quality", "100"});
    // Pillow writes the EXIF orientation 6: turn right to stand upright.
    const QString jpeg = dir.filePath("turned.jpg");
    ASSERT_TRUE(run(python, {"-c",
                             "import sys\nfrom PIL import Image\ne = Image.Exif(); e[0x0112] = 6\n"
                             "Image.open(sys.argv[1]).convert('RGB').resize((400, 230)).save(sys.argv[2], "
                             "quality=95, exif=e)",
                             src, jpeg}));

    for (const QString& path : {alpha, tiff, gif, webp, jpeg}) {
        SCOPED_TRACE(path.toStdString());
        const auto dib = import(path);
        ASSERT_TRUE(dib);
        EXPECT_EQ(dib->bitCount(), 24);
        EXPECT_LE(maxDifference(dib->toImage(), qtReading(path, true)), 1);
    }
    // Turned: the green block of the stored top left is now at the top right.
    const QImage upright = import(tiff)->toImage();
    ASSERT_EQ(upright.size(), QSize(23, 37));
    EXPECT_GT(qGreen(upright.pixel(21, 1)), 200);
    // Transparent at the left edge, opaque at the right.
    const QImage flat = import(alpha)->toImage();
    EXPECT_EQ(flat.pixel(0, 12), qRgb(255, 255, 255));
    EXPECT_LT(qRed(flat.pixel(36, 22)), 60);

    // Reduced for a 3 × 5 mm card (142 × 237 pixels) as it stands, 230 × 400:
    // to 142 × 247. Reduced as stored, 400 × 230, it would have been kept.
    const auto reduced = import(jpeg, {3, 5});
    ASSERT_TRUE(reduced);
    EXPECT_EQ(reduced->toImage().size(), QSize(142, 247));
    EXPECT_GT(qGreen(reduced->toImage().pixel(138, 3)), 160);
    EXPECT_TRUE(boxes.shown().empty());
}
