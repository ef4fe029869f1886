#include "DocumentJson.h"

#include "model/ObjItemBitmap.h"
#include "model/ObjItemLine.h"
#include "model/ObjItemRect.h"
#include "model/ObjItemText.h"
#include "model/PmrData.h"
#include "platform/Codec.h"

#include <QJsonArray>
#include <QJsonValue>

#include <cmath>
#include <cstdlib>
#include <limits>

namespace pmrtool {

namespace {

QJsonValue dibToJson(const platform::Dib& dib)
{
    if (dib.isEmpty())
        return QJsonValue::Null;
    return QString::fromLatin1(dib.bytes().toBase64());
}

// Text as UTF-8; when CP932 does not survive the trip, the stored bytes too.
void textToJson(const QByteArray& bytes, const char* name, const char* rawName, QJsonObject& out)
{
    const QString text = platform::fromCp932(bytes);
    out[QLatin1String(name)] = text;
    if (platform::toCp932(text) != bytes)
        out[QLatin1String(rawName)] = QString::fromLatin1(bytes.toHex());
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

QJsonObject itemToJson(const ObjItem& item)
{
    QJsonObject o;
    o[QStringLiteral("class")] = QString::fromLatin1(item.className());
    if (!item.storedClass.isEmpty())
        o[QStringLiteral("storedClass")] = QString::fromLatin1(item.storedClass);
    o[QStringLiteral("x")] = item.x;
    o[QStringLiteral("y")] = item.y;
    o[QStringLiteral("cx")] = item.cx;
    o[QStringLiteral("cy")] = item.cy;
    o[QStringLiteral("color")] = qint64(item.color);
    if (const auto* t = dynamic_cast<const ObjItemText*>(&item)) {
        o[QStringLiteral("align")] = t->align;
        o[QStringLiteral("reserved")] = t->reserved;
        textToJson(t->text, "text", "textRaw", o);
        o[QStringLiteral("font")] = fontToJson(t->font);
    } else if (const auto* l = dynamic_cast<const ObjItemLine*>(&item)) {
        o[QStringLiteral("width")] = l->width;
    } else if (const auto* b = dynamic_cast<const ObjItemBitmap*>(&item)) {
        o[QStringLiteral("dibWidth")] = b->dibWidth;
        o[QStringLiteral("dibHeight")] = b->dibHeight;
        o[QStringLiteral("whiteOut")] = b->whiteOut;
        o[QStringLiteral("edgeMode")] = b->edgeMode;
        o[QStringLiteral("shape")] = b->shape;
        o[QStringLiteral("dib")] = dibToJson(b->dib);
    }
    return o;
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

    template <class T>
    void number(const QJsonObject& o, const char* key, T& out, double lo, double hi)
    {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined())
            return;
        const double d = v.toDouble(std::numeric_limits<double>::quiet_NaN());
        if (!v.isDouble() || std::isnan(d) || d != std::floor(d) || d < lo || d > hi) {
            fail(QStringLiteral("\"%1\" must be a whole number from %2 to %3").arg(QLatin1String(key)).arg(lo, 0, 'f', 0).arg(hi, 0, 'f', 0));
            return;
        }
        out = static_cast<T>(d);
    }
    void int32(const QJsonObject& o, const char* key, int& out)
    {
        number(o, key, out, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    }
    void uint32(const QJsonObject& o, const char* key, std::uint32_t& out)
    {
        number(o, key, out, 0, std::numeric_limits<std::uint32_t>::max());
    }
    void byte(const QJsonObject& o, const char* key, std::uint8_t& out) { number(o, key, out, 0, 255); }

    // Base64 picture bytes; null or absent leaves the picture empty.
    void dib(const QJsonObject& o, const char* key, platform::Dib& out)
    {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined() || v.isNull())
            return;
        const auto decoded = QByteArray::fromBase64Encoding(v.toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (!v.isString() || !decoded)
            return fail(QStringLiteral("\"%1\" must be base64 or null").arg(QLatin1String(key)));
        out = platform::Dib(*decoded);
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
    // Text given as UTF-8, stored as CP932; the raw field wins when given.
    void text(const QJsonObject& o, const char* key, const char* rawKey, QByteArray& out)
    {
        QByteArray raw;
        if (hex(o, rawKey, raw)) {
            out = raw;
            return;
        }
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined())
            return;
        if (!v.isString())
            return fail(QStringLiteral("\"%1\" must be text").arg(QLatin1String(key)));
        out = platform::toCp932(v.toString());
    }

    void font(const QJsonObject& o, platform::LogFont& f)
    {
        QByteArray raw;
        if (hex(o, "raw", raw, platform::LogFont::kSize)) {
            f = platform::LogFont::fromBytes(raw.constData());
            return;
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
    }

    std::unique_ptr<ObjItem> item(const QJsonObject& o)
    {
        const QString cls = o.value(QStringLiteral("class")).toString();
        std::unique_ptr<ObjItem> item;
        if (cls == QLatin1String("ObjItemText")) {
            auto t = std::make_unique<ObjItemText>();
            text(o, "text", "textRaw", t->text);
            if (o.contains(QStringLiteral("font"))) {
                if (!o.value(QStringLiteral("font")).isObject())
                    fail(QStringLiteral("\"font\" must be an object"));
                font(o.value(QStringLiteral("font")).toObject(), t->font);
            }
            // A changed text or font is measured as the editor would.
            if (o.contains(QStringLiteral("text")) || o.contains(QStringLiteral("textRaw")) || o.contains(QStringLiteral("font")))
                t->RecalcSize();
            int32(o, "align", t->align);
            int32(o, "reserved", t->reserved);
            item = std::move(t);
        } else if (cls == QLatin1String("ObjItemLine")) {
            auto l = std::make_unique<ObjItemLine>();
            int32(o, "width", l->width);
            item = std::move(l);
        } else if (cls == QLatin1String("ObjItemRect")) {
            item = std::make_unique<ObjItemRect>();
        } else if (cls == QLatin1String("ObjItemBitmap")) {
            auto b = std::make_unique<ObjItemBitmap>();
            dib(o, "dib", b->dib);
            b->dibWidth = b->dib.width();
            b->dibHeight = std::abs(b->dib.height());
            int32(o, "dibWidth", b->dibWidth);
            int32(o, "dibHeight", b->dibHeight);
            int32(o, "whiteOut", b->whiteOut);
            int32(o, "edgeMode", b->edgeMode);
            int32(o, "shape", b->shape);
            item = std::move(b);
        } else if (cls == QLatin1String("ObjItem")) {
            item = std::make_unique<ObjItem>();
        } else {
            fail(QStringLiteral("unknown item class \"%1\"").arg(cls));
            return nullptr;
        }
        int32(o, "x", item->x);
        int32(o, "y", item->y);
        int32(o, "cx", item->cx);
        int32(o, "cy", item->cy);
        uint32(o, "color", item->color);
        return item;
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
    if (!r.ok())
        return false;
    page.swap(fresh);
    return true;
}

} // namespace pmrtool
