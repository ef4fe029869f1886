// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Archive.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

class PmrData;
class QIODevice;

// Reading and writing whole documents. Every failure is an ArchiveError; show it
// with archiveErrorMessage(error, path) and archiveErrorIcon(error).

// The document's bytes.
QByteArray writeDocument(const PmrData& page);
// Writes the document to an open device through a 4096-byte buffer.
void writeDocument(const PmrData& page, QIODevice& device);

// Replaces the page's contents with the document in bytes. On a failure the page
// holds the current items read before it and the fields read so far.
void readDocument(const QByteArray& bytes, PmrData& page);

// The largest file read as a document.
inline constexpr qint64 kMaxDocumentFileBytes = qint64(1) << 30;

// Reads the whole file, then the document. A file that cannot be opened, is not
// a regular file or is larger than kMaxDocumentFileBytes gives string 120.
void readDocumentFile(const QString& path, PmrData& page);

// Writes a new file beside path and puts it in place only when every byte is
// written, so a failed save leaves the old file as it was. A read-only file gives
// string 119, a file that cannot be created string 120, a failed write the
// file-access message for its cause.
void writeDocumentFile(const PmrData& page, const QString& path);

// Runs a document read or write; the error it failed with, lack of memory
// included, or nothing when it succeeded.
std::optional<ArchiveError> tryDocument(const std::function<void()>& operation);
