// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/PmrDocument.h"

#include "model/ItemField.h"
#include "model/PmrData.h"
#include "resources/Strings.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <new>
#include <variant>

namespace ids = resources::ids;

namespace {

// Roughly the bytes the page takes, so the output grows once.
qint64 estimatedSize(const PmrData& page)
{
    qint64 n = 64 + page.pattern.size();
    for (const auto& item : page.items()) {
        n += 96;
        for (const ItemField& field : item->fields()) {
            const FieldValue value = field.get(*item);
            if (const auto* text = std::get_if<CardText>(&value))
                n += text->isWide() ? 2 * text->toString().size() : text->cp932().size();
            else if (const auto* picture = std::get_if<platform::Dib>(&value))
                n += picture->size();
        }
    }
    return n;
}

// A file nobody may write to counts as read-only even for a user allowed to
// replace it anyway, as the read-only attribute does.
bool isReadOnlyFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        return false;
    const auto writable = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return !info.isWritable() || !(info.permissions() & writable);
}

template <class F>
void withMemory(F&& f)
{
    try {
        f();
    } catch (const std::bad_alloc&) {
        throw ArchiveError::outOfMemory();
    }
}

} // namespace

QByteArray writeDocument(const PmrData& page)
{
    QByteArray out;
    withMemory([&] {
        out.reserve(static_cast<qsizetype>(estimatedSize(page)));
        Archive ar = Archive::storing(out);
        page.store(ar);
    });
    return out;
}

void writeDocument(const PmrData& page, QIODevice& device)
{
    withMemory([&] {
        Archive ar = Archive::storing(device);
        page.store(ar);
        ar.flush();
    });
}

void readDocument(const QByteArray& bytes, PmrData& page)
{
    withMemory([&] {
        Archive ar = Archive::loading(bytes);
        page.load(ar);
    });
}

void readDocumentFile(const QString& path, PmrData& page)
{
    // Looked at before opening: opening a FIFO blocks, and a device may never end.
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kMaxDocumentFileBytes)
        throw ArchiveError(ids::FileCannotOpen);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ArchiveError(ids::FileCannotOpen);
    QByteArray bytes;
    withMemory([&] { bytes = file.readAll(); });
    if (file.error() != QFileDevice::NoError)
        throw ArchiveError(deviceErrorStringId(file));
    readDocument(bytes, page);
}

void writeDocumentFile(const PmrData& page, const QString& path)
{
    if (isReadOnlyFile(path))
        throw ArchiveError(ids::FileReadOnly);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw ArchiveError(ids::FileCannotOpen);
    try {
        writeDocument(page, file);
    } catch (...) {
        file.cancelWriting();
        throw;
    }
    if (!file.commit())
        throw ArchiveError(deviceErrorStringId(file));
}

std::optional<ArchiveError> tryDocument(const std::function<void()>& operation)
{
    try {
        operation();
    } catch (const ArchiveError& error) {
        return error;
    } catch (const std::bad_alloc&) {
        return ArchiveError::outOfMemory();
    }
    return std::nullopt;
}
