// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// Document and catalogue text is kept as CP932 (Shift-JIS) bytes; these convert
// it at the edges where Qt needs Unicode.
namespace platform {

QString fromCp932(const QByteArray& bytes);
QByteArray toCp932(const QString& text);
// True when the text goes to CP932 and back unchanged.
bool fitsCp932(const QString& text);

// True for the first byte of a two-byte CP932 character.
bool isCp932LeadByte(unsigned char c);

// The longest prefix of at most maxBytes bytes that does not split a character.
QByteArray truncateCp932(const QByteArray& bytes, int maxBytes);

} // namespace platform
