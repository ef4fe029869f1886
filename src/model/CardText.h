// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <utility>

// The text of a card item: the CP932 bytes it is stored as, kept byte for byte,
// or, for a text CP932 cannot hold, its Unicode, which the archive writes as a
// wide string.
class CardText {
public:
    CardText() = default;
    // CP932 bytes are a text as they are.
    CardText(QByteArray cp932) : bytes_(std::move(cp932)) {}
    // CP932 bytes when the text goes there and back unchanged, Unicode otherwise.
    static CardText fromUnicode(const QString& text);

    // Held as Unicode; never empty then.
    bool isWide() const { return !wide_.isEmpty(); }
    // The CP932 bytes; empty for a wide text.
    const QByteArray& cp932() const { return bytes_; }
    // The text as Unicode, either way.
    QString toString() const;
    // The bytes it takes in a document: its CP932 bytes, or two a UTF-16 unit.
    qsizetype storedSize() const { return isWide() ? 2 * wide_.size() : bytes_.size(); }

    bool operator==(const CardText&) const = default;

private:
    QByteArray bytes_;
    QString wide_;
};
