// SPDX-License-Identifier: GPL-3.0-or-later
#include "OutputFile.h"

#include "platform/GdiMath.h"
#include "print/SheetTarget.h"
#include "resources/Strings.h"

#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QPageLayout>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextStream>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace pmrtool {

namespace {

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

// A temporary file beside the output that keeps the cause of its first failed
// write. Qt takes a write cut short by a full disk or the file size limit for
// a success, and QPdfWriter does not look at what its writes return.
class OutputDevice : public QSaveFile {
public:
    using QSaveFile::QSaveFile;

    // The system's error number of the first failure; -1 for a failure of no
    // known cause, 0 for none.
    int failure() const { return failure_; }

    // Sends the buffered bytes, then everything to the disk, which may refuse
    // the last of them only now.
    bool flushAll()
    {
        errno = 0;
        if (!flush())
            fail();
#ifdef Q_OS_UNIX
        else if (::fsync(handle()) != 0 && errno != EINVAL && errno != EROFS)
            fail();
#endif
        return failure_ == 0;
    }

protected:
    qint64 writeData(const char* data, qint64 length) override
    {
        errno = 0;
        const qint64 written = QSaveFile::writeData(data, length);
        if (written != length)
            fail();
        return written;
    }

private:
    void fail()
    {
        if (failure_ == 0)
            failure_ = errno != 0 ? errno : -1;
    }

    int failure_ = 0;
};

bool isDiskFull(int error)
{
#ifdef EDQUOT
    if (error == EDQUOT)
        return true;
#endif
    return error == ENOSPC;
}

// Why writing the file failed, naming it: from the system's error number, or
// Qt's text for a failure of no known number.
QString writeFailure(int error, const QString& qtText, const QString& path)
{
    const QString name = shown(path);
    if (isDiskFull(error))
        return resources::formatString(resources::ids::FileErrorDiskFull, name);
    if (error == EFBIG)
        return QStringLiteral("%1: the file is too large: it reached the largest file size allowed here").arg(name);
    const QString cause = error > 0 ? qt_error_string(error) : qtText;
    const QString message = name + QStringLiteral(": ") + resources::loadString(resources::ids::PictureWriteError);
    return cause.isEmpty() ? message : QStringLiteral("%1 (%2)").arg(message, cause);
}

// A PDF of upright pages of that paper with no margins.
void setUpPdf(QPdfWriter& writer, int dpi, QSizeF paperMm)
{
    writer.setResolution(dpi);
    writer.setCreator(QStringLiteral("Pelmora"));
    writer.setPageLayout(QPageLayout(QPageSize(paperMm, QPageSize::Millimeter), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter, QMarginsF(0, 0, 0, 0)));
}

// The pixel size of one sheet as a PNG, or nothing (said on err) when too large.
std::optional<QSize> pngSheetSize(QTextStream& err, QSizeF paperMm, int dpi)
{
    const QSize size(platform::mmToPixels(int(paperMm.width()), dpi),
                     platform::mmToPixels(int(paperMm.height()), dpi));
    if (!fitsImage(size.width(), size.height())) {
        err << "pmrtool: a sheet of " << paperMm.width() << " x " << paperMm.height() << " mm is too large for PNG at "
            << dpi << " pixels per inch\n";
        return std::nullopt;
    }
    return size;
}

bool isPdf(const QString& path)
{
    return QFileInfo(path).suffix().toLower() == QLatin1String("pdf");
}

QString sheetFile(const SheetOutput& o, int sheet)
{
    if (o.sheets == 1)
        return o.path;
    const QFileInfo info(o.path);
    return info.dir().filePath(QStringLiteral("%1-%2.%3").arg(info.completeBaseName()).arg(sheet + 1).arg(info.suffix()));
}

} // namespace

bool fitsImage(std::int64_t w, std::int64_t h)
{
    return w > 0 && h > 0 && w <= kMaxImageBytes / 4 / h;
}

std::optional<QString> inputAsOutput(const QStringList& outputs, const QStringList& inputs)
{
    for (const QString& out : outputs) {
        const QString target = QFileInfo(out).canonicalFilePath();
        if (target.isEmpty())
            continue; // nothing there yet
        for (const QString& in : inputs)
            if (QFileInfo(in).canonicalFilePath() == target)
                return QStringLiteral("the output %1 is also an input").arg(QDir::toNativeSeparators(out));
    }
    return std::nullopt;
}

bool writeOutputFile(QTextStream& err, const QString& path, const std::function<bool(QIODevice&)>& write)
{
    const QFileInfo info(path);
    if (info.isFile() && !info.isWritable()) {
        err << shown(path) << ": " << resources::loadString(resources::ids::FileReadOnly) << "\n";
        return false;
    }
    OutputDevice file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        err << shown(path) << ": " << resources::loadString(resources::ids::FileCannotOpen) << "\n";
        return false;
    }
    // Not committed, the temporary file goes with file and the old one stays.
    const bool written = write(file) && file.failure() == 0 && file.flushAll();
    if (!written || !file.commit()) {
        err << writeFailure(file.failure(), file.error() != QFileDevice::NoError ? file.errorString() : QString(), path)
            << "\n";
        return false;
    }
    return true;
}

bool savePng(QTextStream& err, const QImage& image, const QString& path)
{
    return writeOutputFile(err, path, [&](QIODevice& device) { return QImageWriter(&device, "png").write(image); });
}

QStringList sheetFilesThere(const SheetOutput& o)
{
    if (o.sheets == 1 || isPdf(o.path))
        return {o.path};
    const QFileInfo info(o.path);
    const QString prefix = info.completeBaseName() + QLatin1Char('-');
    const QString end = QLatin1Char('.') + info.suffix();
    QStringList there;
    for (const QString& name : info.dir().entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!name.startsWith(prefix) || !name.endsWith(end))
            continue;
        bool ok = false;
        const int n = name.mid(prefix.size(), name.size() - prefix.size() - end.size()).toInt(&ok);
        if (ok && n >= 1 && n <= o.sheets && QFileInfo(sheetFile(o, n - 1)).fileName() == name)
            there.append(info.dir().filePath(name));
    }
    return there;
}

bool printSheets(QTextStream& err, const SheetOutput& o, const std::function<bool(print::SheetTarget&)>& print)
{
    if (isPdf(o.path)) {
        return writeOutputFile(err, o.path, [&](QIODevice& device) {
            QPdfWriter writer(&device);
            setUpPdf(writer, o.dpi, o.paperMm);
            writer.setTitle(o.title);
            print::PagedSheetTarget target(&writer);
            return print(target);
        });
    }
    const std::optional<QSize> size = pngSheetSize(err, o.paperMm, o.dpi);
    if (!size)
        return false;
    print::ImageSheetTarget target(*size, o.dpi);
    bool saved = true;
    target.sheetDone = [&](int sheet, const QImage& image) { return saved = savePng(err, image, sheetFile(o, sheet)); };
    const bool done = print(target);
    // With every file written, a sheet's image could not be made.
    if (!done && saved)
        err << "pmrtool: " << QString::fromUtf8(resources::texts::OutOfMemory) << "\n";
    return done && saved;
}

} // namespace pmrtool
