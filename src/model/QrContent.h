// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// What a QR code on the card says, kept so that it can be edited again: its
// kind, the typed fields and the error-correction level.
struct QrContent {
    enum Kind : std::uint8_t { Url = 0, Contact = 1, Text = 2 };
    enum Level : std::uint8_t { L = 0, M = 1, Q = 2, H = 3 };
    // A contact's fields, in this order.
    enum ContactField { Name, Reading, Company, Title, Phone, Mobile, Fax, Email, Web, Address, ContactFieldCount };

    Kind kind = Url;
    Level level = M;
    // One string for a web address or a free text; ContactFieldCount for a contact.
    QStringList fields;

    static QrContent url(const QString& address, Level level = M) { return {Url, level, {address}}; }
    static QrContent text(const QString& text, Level level = M) { return {Text, level, {text}}; }
    static QrContent contact(QStringList fields, Level level = M);

    // The field, or an empty string where there is none.
    QString field(int index) const { return index >= 0 && index < fields.size() ? fields[index] : QString(); }
    // What the code encodes: the address, the text, or the contact as a vCard 3.0.
    QString payload() const;
    // A copy with every field passed through fill (printing from a list).
    QrContent filled(const std::function<QString(const QString&)>& fill) const;

    static const char* kindName(Kind kind);
    static std::optional<Kind> kindFromName(const QString& name);
    static QChar levelName(Level level) { return QChar("LMQH"[level & 3]); }
    static std::optional<Level> levelFromName(const QString& name);
    // The keys of a contact's fields, as pmrtool's JSON names them.
    static const char* contactFieldKey(int index);

    friend bool operator==(const QrContent&, const QrContent&) = default;
};

// A contact as a vCard 3.0 in UTF-8 with CR LF line ends, empty fields left out.
QString contactVCard(const QStringList& fields);

namespace qr {

// The modules of an encoded code, dark = true, row by row, without the quiet zone.
struct Modules {
    int size = 0;
    std::vector<bool> dark;
    bool at(int x, int y) const { return dark[std::size_t(y) * std::size_t(size) + std::size_t(x)]; }
};

// The quiet zone every picture of a code keeps on each side, in modules.
constexpr int kQuietZone = 4;

// The payload as UTF-8 bytes in byte mode at exactly this level; none when it
// does not fit the largest code.
std::optional<Modules> encode(const QString& payload, QrContent::Level level);

} // namespace qr
