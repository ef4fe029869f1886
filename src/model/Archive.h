// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/CardText.h"
#include "platform/MessageKinds.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <exception>
#include <memory>
#include <utility>
#include <vector>

class QIODevice;
class Serializable;
struct ClassInfo;

// A failure while reading or writing a document, carrying the string id of its
// message ("%1" is the file's path), or kOutOfMemory.
class ArchiveError : public std::exception {
public:
    static constexpr int kOutOfMemory = 0;

    explicit ArchiveError(int stringId) noexcept : id_(stringId) {}
    static ArchiveError outOfMemory() noexcept { return ArchiveError(kOutOfMemory); }

    int stringId() const noexcept { return id_; }
    bool isOutOfMemory() const noexcept { return id_ == kOutOfMemory; }
    const char* what() const noexcept override;

private:
    int id_;
};

// The text shown for an error, with "%1" replaced by the full path.
QString archiveErrorMessage(const ArchiveError& error, const QString& path);
// Stop for every failure, exclamation for lack of memory.
platform::MbIcon archiveErrorIcon(const ArchiveError& error);

// The file-access message id for a device's last error (61856..61870).
int deviceErrorStringId(const QIODevice& device);

// The document stream: little-endian primitives, length-prefixed strings and
// tagged objects with one index counter shared by classes and objects.
//
// Loading parses bytes held in memory; every read is checked against what is
// left, so a length can never make it allocate more than the input holds.
// Storing appends to a byte array, or goes through a 4096-byte buffer to a
// device (blocks larger than the buffer are written straight through).
class Archive {
public:
    static constexpr int kBufferSize = 4096;
    // The last index the counter may give out.
    static constexpr std::uint32_t kMaxIndex = 0x3FFFFFFD;
    static constexpr std::uint16_t kNullTag = 0x0000;
    static constexpr std::uint16_t kNewClassTag = 0xFFFF;
    static constexpr std::uint16_t kClassTag = 0x8000;
    static constexpr std::uint16_t kBigObjectTag = 0x7FFF;
    static constexpr std::uint32_t kBigClassTag = 0x80000000;
    static constexpr int kMaxClassNameLength = 63;

    // Loads from bytes (shared, not copied).
    static Archive loading(const QByteArray& bytes) { return Archive(bytes); }
    // Stores by appending to out.
    static Archive storing(QByteArray& out) { return Archive(&out); }
    // Stores to an open device; flush() writes what is still buffered.
    static Archive storing(QIODevice& device) { return Archive(&device); }
    ~Archive();
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    bool isStoring() const { return storing_; }
    bool isLoading() const { return !storing_; }

    // Bytes written so far, or bytes consumed.
    qint64 position() const;
    // Bytes left to read.
    qint64 remaining() const { return size_ - pos_; }

    void writeByte(std::uint8_t v);
    void writeWord(std::uint16_t v);
    void writeInt32(std::int32_t v);
    void writeUInt32(std::uint32_t v);
    void writeBlock(const void* data, qint64 n);
    // Length prefix of 1, 3 or 7 bytes, then the CP932 bytes; no terminator. A
    // wide text: byte 0xFF, word 0xFFFE, the prefix of its length in UTF-16
    // units, then the units.
    void writeString(const CardText& text);
    // The class record or class reference, then the object's body.
    void writeObject(const Serializable& object);
    // Sends buffered bytes to the device (and a file's own buffer to the disk).
    void flush();

    std::uint8_t readByte();
    std::uint16_t readWord();
    std::int32_t readInt32();
    std::uint32_t readUInt32();
    // Exactly n bytes, or an end-of-file error with nothing consumed.
    void readBlock(void* data, qint64 n);
    // A block of n bytes, checked against what is left before it is allocated.
    QByteArray readBlock(qint64 n);
    // Multibyte text as its bytes; text stored as UTF-16 comes back as CP932
    // when CP932 holds it, whole otherwise. A text of more than maxBytes stored
    // bytes, when given, is a bad-format error.
    CardText readString(qint64 maxBytes = -1);
    // Reads one object record and makes the object. Only new objects of item
    // classes are accepted: "no object", object back-references and class
    // references that name an object are bad indices, and classes that cannot
    // stand in an item list are bad classes.
    std::unique_ptr<Serializable> readObject();

    // Sets the index the counter gives out next (it starts at 1). Tests set it near the
    // limit.
    void setNextIndex(std::uint32_t index) { nextIndex_ = index; }

private:
    explicit Archive(const QByteArray& bytes);
    explicit Archive(QByteArray* out);
    explicit Archive(QIODevice* device);

    const unsigned char* take(qint64 n);
    void put(const void* data, qint64 n);
    void sendToDevice(const char* data, qint64 n);
    void writeLength(qint64 n);
    std::uint32_t giveIndex();
    const ClassInfo& readClass();

    bool storing_;
    // Loading.
    QByteArray input_;
    const unsigned char* data_ = nullptr;
    qint64 size_ = 0;
    qint64 pos_ = 0;
    // The classes read so far with their indices, in increasing index order.
    // Objects need no entry: no reference to one is accepted.
    std::vector<std::pair<std::uint32_t, const ClassInfo*>> loadedClasses_;
    // Storing.
    QByteArray* out_ = nullptr;
    QIODevice* device_ = nullptr;
    qint64 outStart_ = 0;
    qint64 sent_ = 0;
    int buffered_ = 0;
    std::unique_ptr<char[]> buffer_;
    std::vector<std::pair<const ClassInfo*, std::uint32_t>> storedClasses_;

    std::uint32_t nextIndex_ = 1;
};
