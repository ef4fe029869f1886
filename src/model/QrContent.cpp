// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/QrContent.h"

#include <qrcodegen/qrcodegen.hpp>

#include <QRegularExpression>

#include <algorithm>

#include <array>

namespace {

constexpr std::array<const char*, QrContent::ContactFieldCount> kContactKeys{
    "name", "reading", "company", "title", "phone", "mobile", "fax", "email", "web", "address"};

// A vCard 3.0 text value: backslash, comma, semicolon and line breaks escaped.
QString escaped(QString value)
{
    value.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    value.replace(QLatin1Char(','), QLatin1String("\\,"));
    value.replace(QLatin1Char(';'), QLatin1String("\\;"));
    value.replace(QLatin1String("\r\n"), QLatin1String("\\n"));
    value.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    value.replace(QLatin1Char('\r'), QLatin1String("\\n"));
    return value;
}

// "山田 太郎" or "山田　太郎": family name, given name; one word is a family name.
std::pair<QString, QString> splitName(const QString& name)
{
    const QString simple = name.trimmed();
    const qsizetype space = simple.indexOf(QRegularExpression(QStringLiteral("[ \u3000]")));
    if (space < 0)
        return {simple, {}};
    return {simple.left(space).trimmed(), simple.mid(space + 1).trimmed()};
}

} // namespace

QrContent QrContent::contact(QStringList fields, Level level)
{
    while (fields.size() < ContactFieldCount)
        fields.append(QString());
    fields = fields.mid(0, ContactFieldCount);
    return {Contact, level, std::move(fields)};
}

QString QrContent::payload() const
{
    return kind == Contact ? contactVCard(fields) : field(0);
}

QrContent QrContent::filled(const std::function<QString(const QString&)>& fill) const
{
    QrContent out = *this;
    for (QString& f : out.fields)
        f = fill(f);
    return out;
}

const char* QrContent::kindName(Kind kind)
{
    switch (kind) {
    case Url: return "url";
    case Contact: return "contact";
    case Text: return "text";
    }
    return "text";
}

std::optional<QrContent::Kind> QrContent::kindFromName(const QString& name)
{
    for (const Kind k : {Url, Contact, Text})
        if (name == QLatin1String(kindName(k)))
            return k;
    return std::nullopt;
}

std::optional<QrContent::Level> QrContent::levelFromName(const QString& name)
{
    const qsizetype i = name.size() == 1 ? QStringLiteral("LMQH").indexOf(name.at(0).toUpper()) : -1;
    return i < 0 ? std::nullopt : std::optional(Level(i));
}

const char* QrContent::contactFieldKey(int index)
{
    return index >= 0 && index < ContactFieldCount ? kContactKeys[std::size_t(index)] : "";
}

QString contactVCard(const QStringList& fields)
{
    const auto f = [&fields](int i) { return i < fields.size() ? fields[i].trimmed() : QString(); };
    QStringList lines{QStringLiteral("BEGIN:VCARD"), QStringLiteral("VERSION:3.0")};
    const auto add = [&lines](const char* property, const QString& value) {
        if (!value.isEmpty())
            lines << QLatin1String(property) + QLatin1Char(':') + value;
    };
    const auto [family, given] = splitName(f(QrContent::Name));
    const auto [familyReading, givenReading] = splitName(f(QrContent::Reading));
    lines << QStringLiteral("N:%1;%2;;;").arg(escaped(family), escaped(given));
    lines << QStringLiteral("FN:") + escaped(f(QrContent::Name));
    // The phones' contact books take a name's reading from these.
    add("X-PHONETIC-LAST-NAME", escaped(familyReading));
    add("X-PHONETIC-FIRST-NAME", escaped(givenReading));
    add("ORG", escaped(f(QrContent::Company)));
    add("TITLE", escaped(f(QrContent::Title)));
    add("TEL;TYPE=WORK,VOICE", escaped(f(QrContent::Phone)));
    add("TEL;TYPE=CELL", escaped(f(QrContent::Mobile)));
    add("TEL;TYPE=WORK,FAX", escaped(f(QrContent::Fax)));
    add("EMAIL;TYPE=INTERNET", escaped(f(QrContent::Email)));
    add("URL", escaped(f(QrContent::Web)));
    if (!f(QrContent::Address).isEmpty())
        lines << QStringLiteral("ADR;TYPE=WORK:;;%1;;;;").arg(escaped(f(QrContent::Address)));
    lines << QStringLiteral("END:VCARD");
    return lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n");
}

namespace qr {

std::optional<Modules> encode(const QString& payload, QrContent::Level level)
{
    using qrcodegen::QrCode;
    using qrcodegen::QrSegment;
    static constexpr QrCode::Ecc kEcc[] = {QrCode::Ecc::LOW, QrCode::Ecc::MEDIUM, QrCode::Ecc::QUARTILE, QrCode::Ecc::HIGH};
    const QByteArray utf8 = payload.toUtf8();
    std::vector<QrSegment> segments;
    // Plain ASCII goes as it is; anything else says it is UTF-8 (ECI 26), so
    // that no reader takes Japanese for Shift_JIS.
    const bool ascii = std::all_of(utf8.begin(), utf8.end(), [](char c) { return (unsigned char)c < 0x80; });
    if (!ascii)
        segments.push_back(QrSegment::makeEci(26));
    segments.push_back(QrSegment::makeBytes(std::vector<std::uint8_t>(utf8.begin(), utf8.end())));
    try {
        const QrCode code = QrCode::encodeSegments(segments, kEcc[level & 3], 1, 40, -1, false);
        Modules m;
        m.size = code.getSize();
        m.dark.resize(std::size_t(m.size) * std::size_t(m.size));
        for (int y = 0; y < m.size; ++y)
            for (int x = 0; x < m.size; ++x)
                m.dark[std::size_t(y) * std::size_t(m.size) + std::size_t(x)] = code.getModule(x, y);
        return m;
    } catch (const qrcodegen::data_too_long&) {
        return std::nullopt;
    }
}

} // namespace qr
