// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Archive.h"

#include "model/ClassRegistry.h"
#include "model/Serializable.h"
#include "resources/Strings.h"

#include <QFileDevice>
#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <new>

namespace ids = resources::ids;

namespace {

[[noreturn]] void fail(int id)
{
    throw ArchiveError(id);
}

} // namespace

const char* ArchiveError::what() const noexcept
{
    switch (id_) {
    case kOutOfMemory: return "out of memory";
    case ids::ArchiveErrorEndOfFile: return "archive: read past the end";
    case ids::ArchiveErrorBadIndex: return "archive: bad index";
    case ids::ArchiveErrorBadClass: return "archive: unexpected class";
    case ids::ArchiveErrorBadSchema: return "archive: bad schema";
    default: return "archive: file error";
    }
}

QString archiveErrorMessage(const ArchiveError& error, const QString& path)
{
    if (error.isOutOfMemory())
        return QString::fromUtf8(resources::texts::OutOfMemory);
    QString text = resources::formatString(error.stringId(), path);
    if (text.isEmpty())
        text = resources::formatString(ids::ArchiveErrorGeneric, path);
    return text;
}

platform::MbIcon archiveErrorIcon(const ArchiveError& error)
{
    return error.isOutOfMemory() ? platform::MbIcon::Exclamation : platform::MbIcon::Stop;
}

int deviceErrorStringId(const QIODevice& device)
{
    const auto* file = qobject_cast<const QFileDevice*>(&device);
    if (!file)
        return ids::FileErrorGeneric;
    switch (file->error()) {
    // Qt reports a full disk (ENOSPC) as a resource error.
    case QFileDevice::ResourceError: return ids::FileErrorDiskFull;
    case QFileDevice::PermissionsError: return ids::FileErrorAccessDenied;
    case QFileDevice::PositionError: return ids::FileErrorBadSeek;
    // Read and write errors of any other cause have no better message.
    default: return ids::FileErrorGeneric;
    }
}

Archive::Archive(const QByteArray& bytes)
    : storing_(false), input_(bytes), data_(reinterpret_cast<const unsigned char*>(input_.constData())),
      size_(input_.size())
{
}

Archive::Archive(QByteArray* out) : storing_(true), out_(out), outStart_(out->size()) {}

Archive::Archive(QIODevice* device)
    : storing_(true), device_(device), buffer_(std::make_unique<char[]>(kBufferSize))
{
}

Archive::~Archive() = default;

qint64 Archive::position() const
{
    if (!storing_)
        return pos_;
    if (out_)
        return out_->size() - outStart_;
    return sent_ + buffered_;
}

// ---- storing ----

void Archive::sendToDevice(const char* data, qint64 n)
{
    while (n > 0) {
        const qint64 written = device_->write(data, n);
        if (written <= 0)
            fail(deviceErrorStringId(*device_));
        data += written;
        n -= written;
        sent_ += written;
    }
}

void Archive::put(const void* data, qint64 n)
{
    const auto* p = static_cast<const char*>(data);
    if (out_) {
        out_->append(p, static_cast<qsizetype>(n));
        return;
    }
    if (n <= kBufferSize - buffered_) {
        std::memcpy(buffer_.get() + buffered_, p, static_cast<size_t>(n));
        buffered_ += static_cast<int>(n);
        return;
    }
    flush();
    if (n >= kBufferSize) {
        sendToDevice(p, n);
        return;
    }
    std::memcpy(buffer_.get(), p, static_cast<size_t>(n));
    buffered_ = static_cast<int>(n);
}

void Archive::flush()
{
    if (!device_)
        return;
    const int n = buffered_;
    buffered_ = 0;
    sendToDevice(buffer_.get(), n);
    // A file keeps a buffer of its own; its failures show only when it is emptied.
    if (auto* file = qobject_cast<QFileDevice*>(device_); file && !file->flush())
        fail(deviceErrorStringId(*file));
}

void Archive::writeByte(std::uint8_t v)
{
    put(&v, 1);
}

void Archive::writeWord(std::uint16_t v)
{
    unsigned char b[2];
    qToLittleEndian<quint16>(v, b);
    put(b, 2);
}

void Archive::writeInt32(std::int32_t v)
{
    writeUInt32(static_cast<std::uint32_t>(v));
}

void Archive::writeUInt32(std::uint32_t v)
{
    unsigned char b[4];
    qToLittleEndian<quint32>(v, b);
    put(b, 4);
}

void Archive::writeBlock(const void* data, qint64 n)
{
    if (n > 0)
        put(data, n);
}

void Archive::writeLength(qint64 n)
{
    if (n > qint64(UINT32_MAX))
        fail(ids::ArchiveErrorGeneric);
    if (n < 0xFF) {
        writeByte(static_cast<std::uint8_t>(n));
    } else {
        writeByte(0xFF);
        if (n < 0xFFFE) {
            writeWord(static_cast<std::uint16_t>(n));
        } else {
            writeWord(0xFFFF);
            writeUInt32(static_cast<std::uint32_t>(n));
        }
    }
}

void Archive::writeString(const CardText& text)
{
    if (!text.isWide()) {
        const QByteArray& bytes = text.cp932();
        writeLength(bytes.size());
        writeBlock(bytes.constData(), bytes.size());
        return;
    }
    const QString wide = text.toString();
    const qint64 n = wide.size();
    writeByte(0xFF);
    writeWord(0xFFFE);
    writeLength(n);
    QByteArray units(static_cast<qsizetype>(n * 2), Qt::Uninitialized);
    auto* p = reinterpret_cast<unsigned char*>(units.data());
    for (qint64 i = 0; i < n; ++i)
        qToLittleEndian<quint16>(wide[i].unicode(), p + 2 * i);
    writeBlock(units.constData(), units.size());
}

std::uint32_t Archive::giveIndex()
{
    if (nextIndex_ > kMaxIndex)
        fail(ids::ArchiveErrorBadIndex);
    return nextIndex_++;
}

void Archive::writeObject(const Serializable& object)
{
    const ClassInfo& info = object.runtimeClass();
    const auto known = std::find_if(storedClasses_.begin(), storedClasses_.end(),
                                    [&](const auto& entry) { return entry.first == &info; });
    if (known == storedClasses_.end()) {
        const auto length = static_cast<std::uint16_t>(std::strlen(info.name));
        writeWord(kNewClassTag);
        writeWord(info.schema);
        writeWord(length);
        writeBlock(info.name, length);
        storedClasses_.emplace_back(&info, giveIndex());
    } else if (known->second < kBigObjectTag) {
        writeWord(static_cast<std::uint16_t>(kClassTag | known->second));
    } else {
        writeWord(kBigObjectTag);
        writeUInt32(kBigClassTag | known->second);
    }
    giveIndex();
    // Storing only reads the object.
    const_cast<Serializable&>(object).Serialize(*this);
}

// ---- loading ----

const unsigned char* Archive::take(qint64 n)
{
    if (n < 0 || n > size_ - pos_)
        fail(ids::ArchiveErrorEndOfFile);
    const unsigned char* p = data_ + pos_;
    pos_ += n;
    return p;
}

std::uint8_t Archive::readByte()
{
    return *take(1);
}

std::uint16_t Archive::readWord()
{
    return qFromLittleEndian<quint16>(take(2));
}

std::int32_t Archive::readInt32()
{
    return qFromLittleEndian<qint32>(take(4));
}

std::uint32_t Archive::readUInt32()
{
    return qFromLittleEndian<quint32>(take(4));
}

void Archive::readBlock(void* data, qint64 n)
{
    if (n > 0)
        std::memcpy(data, take(n), static_cast<size_t>(n));
}

QByteArray Archive::readBlock(qint64 n)
{
    if (n <= 0)
        return {};
    const char* p = reinterpret_cast<const char*>(take(n)); // checked before allocating
    return QByteArray(p, static_cast<qsizetype>(n));
}

CardText Archive::readString(qint64 maxBytes)
{
    // A byte; 0xFF then a word; 0xFFFF then a uint32. The word 0xFFFE marks
    // UTF-16 text, whose length follows again (a second 0xFFFE is a length).
    bool wide = false;
    qint64 length = readByte();
    if (length == 0xFF) {
        std::uint16_t w = readWord();
        if (w == 0xFFFE) {
            wide = true;
            length = readByte();
            if (length == 0xFF)
                w = readWord();
        }
        if (length == 0xFF)
            length = w == 0xFFFF ? qint64(readUInt32()) : qint64(w);
    }
    // A text cut short is the end of the file before it is too long.
    const qint64 stored = wide ? 2 * length : length;
    const unsigned char* p = take(stored);
    if (maxBytes >= 0 && stored > maxBytes)
        fail(ids::ArchiveErrorBadIndex);
    if (!wide)
        return length == 0 ? QByteArray() : QByteArray(reinterpret_cast<const char*>(p), static_cast<qsizetype>(length));

    QString text(static_cast<qsizetype>(length), Qt::Uninitialized);
    auto* units = reinterpret_cast<char16_t*>(text.data());
    for (qint64 i = 0; i < length; ++i)
        units[i] = qFromLittleEndian<quint16>(p + 2 * i);
    return CardText::fromUnicode(text);
}

const ClassInfo& Archive::readClass()
{
    const std::uint16_t word = readWord();
    const std::uint32_t tag = word == kBigObjectTag
                                  ? readUInt32()
                                  : (std::uint32_t(word & kClassTag) << 16) | (word & ~kClassTag & 0xFFFF);
    // Object tags: no object, or a reference to one already read.
    if (!(tag & kBigClassTag))
        fail(ids::ArchiveErrorBadIndex);

    if (word == kNewClassTag) {
        const std::uint16_t schema = readWord();
        const std::uint16_t length = readWord();
        if (length > kMaxClassNameLength || length > remaining())
            fail(ids::ArchiveErrorBadClass);
        const auto* name = reinterpret_cast<const char*>(take(length));
        const ClassInfo* info = findClass(QByteArrayView(name, length));
        if (!info)
            fail(ids::ArchiveErrorBadClass);
        if (info->schema != schema)
            fail(ids::ArchiveErrorBadSchema);
        loadedClasses_.emplace_back(giveIndex(), info);
        return *info;
    }

    const std::uint32_t index = tag & ~kBigClassTag;
    const auto it = std::lower_bound(loadedClasses_.begin(), loadedClasses_.end(), index,
                                     [](const auto& entry, std::uint32_t i) { return entry.first < i; });
    // Index 0, one not given out, or one given to an object.
    if (index == 0 || it == loadedClasses_.end() || it->first != index)
        fail(ids::ArchiveErrorBadIndex);
    return *it->second;
}

std::unique_ptr<Serializable> Archive::readObject()
{
    const ClassInfo& info = readClass();
    if (!info.item || !info.create)
        fail(ids::ArchiveErrorBadClass);
    giveIndex();
    std::unique_ptr<Serializable> object;
    try {
        object = info.create();
    } catch (const std::bad_alloc&) {
        throw ArchiveError::outOfMemory();
    }
    if (!object)
        throw ArchiveError::outOfMemory();
    object->Serialize(*this);
    return object;
}
