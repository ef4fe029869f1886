// SPDX-License-Identifier: GPL-3.0-or-later
#include "QrJson.h"

#include "model/QrPicture.h"

#include <cmath>

namespace pmrtool {

QJsonObject qrToJson(const QrContent& qr)
{
    QJsonObject o;
    o[QStringLiteral("kind")] = QLatin1String(QrContent::kindName(qr.kind));
    o[QStringLiteral("level")] = QString(QrContent::levelName(qr.level));
    o[QStringLiteral("text")] = qr.payload();
    if (qr.kind == QrContent::Contact) {
        QJsonObject contact;
        for (int i = 0; i < QrContent::ContactFieldCount; ++i)
            contact[QLatin1String(QrContent::contactFieldKey(i))] = qr.field(i);
        o[QStringLiteral("contact")] = contact;
    }
    return o;
}

std::optional<QrContent> qrFromJson(const QJsonValue& json, QString* error)
{
    const auto fail = [error](const QString& message) {
        if (error)
            *error = message;
        return std::nullopt;
    };
    if (!json.isObject())
        return fail(QStringLiteral("\"qr\" must be an object"));
    const QJsonObject o = json.toObject();
    const QJsonValue kindValue = o.value(QStringLiteral("kind"));
    const auto kind = kindValue.isUndefined() ? std::optional(QrContent::Text) : QrContent::kindFromName(kindValue.toString());
    if (!kind)
        return fail(QStringLiteral("\"qr\" \"kind\" must be url, contact or text"));
    const QJsonValue levelValue = o.value(QStringLiteral("level"));
    const auto level = levelValue.isUndefined() ? std::optional(QrContent::M) : QrContent::levelFromName(levelValue.toString());
    if (!level)
        return fail(QStringLiteral("\"qr\" \"level\" must be L, M, Q or H"));
    QrContent qr;
    if (*kind == QrContent::Contact) {
        const QJsonValue contact = o.value(QStringLiteral("contact"));
        if (!contact.isObject())
            return fail(QStringLiteral("a contact's \"qr\" needs a \"contact\" object"));
        QStringList fields;
        for (int i = 0; i < QrContent::ContactFieldCount; ++i) {
            const QJsonValue v = contact.toObject().value(QLatin1String(QrContent::contactFieldKey(i)));
            if (!v.isUndefined() && !v.isString())
                return fail(QStringLiteral("\"%1\" must be text").arg(QLatin1String(QrContent::contactFieldKey(i))));
            fields << v.toString();
        }
        qr = QrContent::contact(fields, *level);
    } else {
        const QJsonValue text = o.value(QStringLiteral("text"));
        if (!text.isString())
            return fail(QStringLiteral("\"qr\" needs \"text\""));
        qr = *kind == QrContent::Url ? QrContent::url(text.toString(), *level) : QrContent::text(text.toString(), *level);
    }
    if (!qr::encode(qr.payload(), qr.level))
        return fail(QStringLiteral("\"qr\" holds more than a QR code can carry at level %1").arg(QrContent::levelName(qr.level)));
    return qr;
}

QJsonArray keptRecordsToJson(const std::vector<extras::Record>& records)
{
    QJsonArray out;
    for (const extras::Record& r : records)
        out.append(QJsonObject{{QStringLiteral("type"), r.type}, {QStringLiteral("bytes"), QString::fromLatin1(r.bytes.toHex())}});
    return out;
}

bool keptRecordsFromJson(const QJsonValue& json, std::vector<extras::Record>& out, QString* error)
{
    out.clear();
    if (json.isUndefined())
        return true;
    for (const QJsonValue& v : json.toArray()) {
        const QJsonObject o = v.toObject();
        const double type = o.value(QStringLiteral("type")).toDouble(-1);
        const QByteArray hex = o.value(QStringLiteral("bytes")).toString().toLatin1();
        const QByteArray bytes = QByteArray::fromHex(hex);
        if (!json.isArray() || type < 0 || type > 0xFFFF || type != std::floor(type) || type == extras::QrRecord
            || bytes.toHex() != hex.toLower()) {
            if (error)
                *error = QStringLiteral("\"extras\" must be [{\"type\": 0 to 65535 but 1, \"bytes\": \"hex\"}]");
            return false;
        }
        out.push_back({std::uint16_t(type), bytes});
    }
    return true;
}

} // namespace pmrtool
