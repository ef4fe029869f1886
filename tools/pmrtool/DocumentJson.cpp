// SPDX-License-Identifier: GPL-3.0-or-later
#include "DocumentJson.h"
#include "QrJson.h"

#include "model/ItemField.h"
#include "model/ObjItemBitmap.h"
#include "model/ObjItemLine.h"
#include "model/ObjItemRect.h"
#include "model/ObjItemText.h"
#include "model/PmrData.h"
#include "model/QrPicture.h"
#include "platform/Codec.h"

#include <QJsonArray>
#include <QJsonValue>

#include <cmath>
#include <limits>
#include <utility>
#include <variant>

namespace pmrtool {

namespace {

QJsonValue dibToJson(const platform::Dib& dib)
{
    if (dib.isEmpty())
        return QJsonValue::Null;
    return QString::fromLatin1(dib.bytes().toBase64());
}

// Text whole; when stored CP932 bytes do not survive the trip, the bytes too.
void textToJson(const CardText& t, const char* name, QJsonObject& out)
{
    const QString text = t.toString();
    out[QLatin1String(name)] = text;
    if (!t.isWide() && platform::toCp932(text) != t.cp932())
        out[QLatin1String(name) + QLatin1String("Raw")] = QString::fromLatin1(t.cp932().toHex());
}

QJsonObject fontToJson(const platform::LogFont& f)
{
    QJsonObject o;
    o[QStringLiteral("height")] = f.height;
    o[QStringLiteral("width")] = f.width;
    o[QStringLiteral("escapement")] = f.escapement;
    o[QStringLiteral("orientation")] = f.orientation;
    o[QStringLiteral("weight")] = f.weight;
    o[QStringLiteral("italic")] = f.italic;
    o[QStringLiteral("underline")] = f.underline;
    o[QStringLiteral("strikeOut")] = f.strikeOut;
    o[QStringLiteral("charSet")] = f.charSet;
    o[QStringLiteral("outPrecision")] = f.outPrecision;
    o[QStringLiteral("clipPrecision")] = f.clipPrecision;
    o[QStringLiteral("quality")] = f.quality;
    o[QStringLiteral("pitchAndFamily")] = f.pitchAndFamily;
    o[QStringLiteral("faceName")] = f.faceNameUnicode();
    o[QStringLiteral("raw")] = QString::fromLatin1(f.toByteArray().toHex());
    return o;
}

template <class... F>
struct Overloaded : F... {
    using F::operator()...;
};
// clang before 17 deduces no template arguments of an aggregate by itself.
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

void fieldToJson(const char* name, const FieldValue& value, QJsonObject& out)
{
    const QLatin1String key(name);
    std::visit(Overloaded{
                   [&](int v) { out[key] = v; },
                   [&](std::uint32_t v) { out[key] = qint64(v); },
                   [&](const CardText& v) { textToJson(v, name, out); },
                   [&](const platform::LogFont& v) { out[key] = fontToJson(v); },
                   [&](const platform::Dib& v) { out[key] = dibToJson(v); },
               },
               value);
}

QJsonObject itemToJson(const ObjItem& item)
{
    QJsonObject o;
    o[QStringLiteral("class")] = QString::fromLatin1(item.className());
    if (!item.storedClass.isEmpty())
        o[QStringLiteral("storedClass")] = QString::fromLatin1(item.storedClass);
    for (const ItemField& field : item.fields())
        fieldToJson(field.name, field.get(item), o);
    if (const auto* code = dynamic_cast<const ObjItemBitmap*>(&item); code && code->qr)
        o[QStringLiteral("qr")] = qrToJson(*code->qr);
    return o;
}

// The classes build makes, each as the editor's default item.
template <class T>
std::unique_ptr<ObjItem> make()
{
    return std::make_unique<T>();
}

std::unique_ptr<ObjItem> makeItem(const QString& cls)
{
    static const std::pair<const char*, std::unique_ptr<ObjItem> (*)()> classes[] = {
        {"ObjItem", &make<ObjItem>},         {"ObjItemText", &make<ObjItemText>},
        {"ObjItemLine", &make<ObjItemLine>}, {"ObjItemRect", &make<ObjItemRect>},
        {"ObjItemBitmap", &make<ObjItemBitmap>},
    };
    for (const auto& [name, maker] : classes)
        if (cls == QLatin1String(name))
            return maker();
    return nullptr;
}

// Reading: each field is checked for its type and range.
class Reader {
public:
    explicit Reader(QString* error) : error_(error) {}

    bool ok() const { return ok_; }

    void fail(const QString& message)
    {
        if (ok_ && error_)
            *error_ = message;
        ok_ = false;
    }

    // Each reader tells whether the JSON gives the field.
    template <class T>
    bool number(const QJsonObject& o, const char* key, T& out, double lo, double hi)
    {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined())
            return false;
        const double d = v.toDouble(std::numeric_limits<double>::quiet_NaN());
        if (!v.isDouble() || std::isnan(d) || d != std::floor(d) || d < lo || d > hi) {
            fail(QStringLiteral("\"%1\" must be a whole number from %2 to %3").arg(QLatin1String(key)).arg(lo, 0, 'f', 0).arg(hi, 0, 'f', 0));
            return true;
        }
        out = static_cast<T>(d);
        return true;
    }
    bool int32(const QJsonObject& o, const char* key, int& out)
    {
        return number(o, key, out, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    }
    bool uint32(const QJsonObject& o, const char* key, std::uint32_t& out)
    {
        return number(o, key, out, 0, std::numeric_limits<std::uint32_t>::max());
    }
    void byte(const QJsonObject& o, const char* key, std::uint8_t& out) { number(o, key, out, 0, 255); }

    // Base64 picture bytes; null leaves the picture empty.
    bool dib(const QJsonObject& o, const char* key, platform::Dib& out)
    {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined())
            return false;
        if (v.isNull())
            return true;
        const auto decoded = QByteArray::fromBase64Encoding(v.toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (!v.isString() || !decoded)
            fail(QStringLiteral("\"%1\" must be base64 or null").arg(QLatin1String(key)));
        else
            out = platform::Dib(*decoded);
        return true;
    }
    // Hex bytes of an exact length (0 = any).
    bool hex(const QJsonObject& o, const char* key, QByteArray& out, int length = 0)
    {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined())
            return false;
        const QByteArray text = v.toString().toLatin1();
        const QByteArray bytes = QByteArray::fromHex(text);
        if (!v.isString() || bytes.toHex() != text.toLower() || (length && bytes.size() != length)) {
            fail(QStringLiteral("\"%1\" must be %2hex bytes").arg(QLatin1String(key), length ? QStringLiteral("%1 ").arg(length) : QString()));
            return false;
        }
        out = bytes;
        return true;
    }
    // Text stored as CP932 when CP932 holds it, whole otherwise; the raw CP932
    // bytes (key + "Raw") win when given. No longer than a text item holds.
    bool text(const QJsonObject& o, const char* key, CardText& out)
    {
        const QByteArray rawKey = QByteArray(key) + "Raw";
        const QJsonValue v = o.value(QLatin1String(key));
        const QJsonValue rawValue = o.value(QLatin1String(rawKey));
        // Every UTF-16 unit and every pair of hex digits is a byte or more: so
        // many that they are too long for sure are refused unconverted.
        constexpr qsizetype kMax = ObjItemText::kMaxTextBytes;
        QByteArray raw;
        if (v.toString().size() > kMax || rawValue.toString().size() > 2 * kMax) {
            tooLong(key);
            return false;
        }
        if (hex(o, rawKey.constData(), raw))
            out = CardText(raw);
        else if (v.isUndefined())
            return false;
        else if (!v.isString())
            fail(QStringLiteral("\"%1\" must be text").arg(QLatin1String(key)));
        else
            out = CardText::fromUnicode(v.toString());
        if (out.storedSize() > kMax)
            tooLong(key);
        return ok_;
    }
    void tooLong(const char* key)
    {
        fail(QStringLiteral("\"%1\" is longer than a text item holds (%2 bytes)")
                 .arg(QLatin1String(key))
                 .arg(ObjItemText::kMaxTextBytes));
    }

    // Fields left out keep the font's present values.
    bool font(const QJsonObject& json, const char* key, platform::LogFont& f)
    {
        const QJsonValue v = json.value(QLatin1String(key));
        if (v.isUndefined())
            return false;
        if (!v.isObject())
            fail(QStringLiteral("\"%1\" must be an object").arg(QLatin1String(key)));
        const QJsonObject o = v.toObject();
        QByteArray raw;
        if (hex(o, "raw", raw, platform::LogFont::kSize)) {
            f = platform::LogFont::fromBytes(raw.constData());
            return true;
        }
        int32(o, "height", f.height);
        int32(o, "width", f.width);
        int32(o, "escapement", f.escapement);
        int32(o, "orientation", f.orientation);
        int32(o, "weight", f.weight);
        byte(o, "italic", f.italic);
        byte(o, "underline", f.underline);
        byte(o, "strikeOut", f.strikeOut);
        byte(o, "charSet", f.charSet);
        byte(o, "outPrecision", f.outPrecision);
        byte(o, "clipPrecision", f.clipPrecision);
        byte(o, "quality", f.quality);
        byte(o, "pitchAndFamily", f.pitchAndFamily);
        const QJsonValue face = o.value(QStringLiteral("faceName"));
        if (face.isString())
            f.setFaceName(face.toString());
        else if (!face.isUndefined())
            fail(QStringLiteral("\"faceName\" must be text"));
        return true;
    }

    // Loads the field's stored value when the JSON gives it; whether it did.
    bool field(const QJsonObject& o, const ItemField& field, ObjItem& item)
    {
        FieldValue value = field.get(item);
        const bool given = std::visit(Overloaded{
                                          [&](int& v) { return int32(o, field.name, v); },
                                          [&](std::uint32_t& v) { return uint32(o, field.name, v); },
                                          [&](CardText& v) { return text(o, field.name, v); },
                                          [&](platform::LogFont& v) { return font(o, field.name, v); },
                                          [&](platform::Dib& v) { return dib(o, field.name, v); },
                                      },
                                      value);
        if (!given || !ok_)
            return false;
        field.load(item, value);
        return true;
    }

    std::unique_ptr<ObjItem> item(const QJsonObject& o)
    {
        const QString cls = o.value(QStringLiteral("class")).toString();
        std::unique_ptr<ObjItem> item = makeItem(cls);
        if (!item) {
            fail(QStringLiteral("unknown item class \"%1\"").arg(cls));
            return nullptr;
        }
        // A changed text or font is measured as the editor would; a size given
        // in the JSON, read after it, wins.
        bool measure = false;
        for (const ItemField& f : item->fields())
            if (f.measured && field(o, f, *item))
                measure = true;
        if (measure)
            item->RecalcSize();
        for (const ItemField& f : item->fields())
            if (!f.measured)
                field(o, f, *item);
        if (o.contains(QStringLiteral("qr")))
            code(o, *item);
        return item;
    }

    // A QR code: its content, and its picture made from it unless "dib" gives one.
    void code(const QJsonObject& o, ObjItem& item)
    {
        auto* picture = dynamic_cast<ObjItemBitmap*>(&item);
        if (!picture)
            return fail(QStringLiteral("only an ObjItemBitmap can be a QR code"));
        QString message;
        picture->qr = qrFromJson(o.value(QStringLiteral("qr")), &message);
        if (!picture->qr)
            return fail(message);
        if (!o.contains(QStringLiteral("dib")))
            picture->takePicture(qr::picture(*picture->qr, picture->color));
    }

private:
    QString* error_;
    bool ok_ = true;
};

} // namespace

QJsonObject documentToJson(const PmrData& page)
{
    QJsonObject o;
    o[QStringLiteral("cardWidth")] = page.cardWidth;
    o[QStringLiteral("cardHeight")] = page.cardHeight;
    o[QStringLiteral("backColor")] = qint64(page.backColor);
    o[QStringLiteral("patternScale")] = page.patternScale;
    if (page.pattern.isEmpty()) {
        o[QStringLiteral("pattern")] = QJsonValue::Null;
    } else {
        QJsonObject p;
        p[QStringLiteral("width")] = page.pattern.width();
        p[QStringLiteral("height")] = page.pattern.height();
        p[QStringLiteral("bytes")] = qint64(page.pattern.size());
        p[QStringLiteral("dib")] = dibToJson(page.pattern);
        o[QStringLiteral("pattern")] = p;
    }
    QJsonArray items;
    for (const auto& item : page.items())
        items.append(itemToJson(*item));
    o[QStringLiteral("items")] = items;
    if (!page.keptRecords.empty())
        o[QStringLiteral("extras")] = keptRecordsToJson(page.keptRecords);
    return o;
}

bool documentFromJson(const QJsonObject& json, PmrData& page, QString* error)
{
    Reader r(error);
    PmrData fresh;
    r.int32(json, "cardWidth", fresh.cardWidth);
    r.int32(json, "cardHeight", fresh.cardHeight);
    r.uint32(json, "backColor", fresh.backColor);
    r.int32(json, "patternScale", fresh.patternScale);
    const QJsonValue pattern = json.value(QStringLiteral("pattern"));
    if (pattern.isObject())
        r.dib(pattern.toObject(), "dib", fresh.pattern);
    else if (!pattern.isUndefined() && !pattern.isNull())
        r.fail(QStringLiteral("\"pattern\" must be an object or null"));
    const QJsonValue items = json.value(QStringLiteral("items"));
    if (!items.isUndefined() && !items.isArray())
        r.fail(QStringLiteral("\"items\" must be an array"));
    for (const QJsonValue& v : items.toArray()) {
        if (!v.isObject()) {
            r.fail(QStringLiteral("every item must be an object"));
            break;
        }
        std::unique_ptr<ObjItem> item = r.item(v.toObject());
        if (!r.ok())
            break;
        fresh.append(std::move(item));
    }
    QString message;
    if (r.ok() && !keptRecordsFromJson(json.value(QStringLiteral("extras")), fresh.keptRecords, &message))
        r.fail(message);
    if (!r.ok())
        return false;
    page.swap(fresh);
    return true;
}

} // namespace pmrtool
