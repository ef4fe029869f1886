// SPDX-License-Identifier: GPL-3.0-or-later
// Builds the sample cards shipped in data/sample.
#include "SampleItems.h"

#include "model/ObjItemBitmap.h"
#include "model/PmrDocument.h"
#include "platform/Fonts.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <cstdio>

namespace {

using namespace samples;

void office(PmrData& page)
{
    const std::uint32_t navy = rgb(24, 52, 110);
    rect(page, 0, 0, 150, kH, navy);
    rect(page, 150, 0, 30, kH, rgb(120, 170, 220));
    text(page, 330, 170, QStringLiteral("株式会社 ぺるもら"), 9, navy);
    text(page, 330, 300, QStringLiteral("営業部 企画課"), 8, rgb(80, 80, 80));
    text(page, 330, 560, QStringLiteral("山田 太郎"), 22, 0, ObjItemText::AlignLeft, "ＭＳ Ｐゴシック", 700);
    text(page, 340, 830, QStringLiteral("YAMADA Taro"), 8, rgb(90, 90, 90));
    line(page, 330, 1010, 2000, 0, 3, navy);
    text(page, 330, 1080,
         QStringLiteral("〒100-0001 東京都千代田区ぺるもら町1-2-3\r\nTEL 03-1234-5678  FAX 03-1234-5679\r\n"
                        "taro.yamada@example.jp"),
         7, rgb(40, 40, 40));
}

void cafe(PmrData& page)
{
    page.backColor = rgb(255, 246, 228);
    const std::uint32_t brown = rgb(110, 62, 30);
    rect(page, 0, 1290, kW, 269, brown);
    rect(page, 1190, 180, 200, 200, rgb(230, 160, 60));
    text(page, kW / 2, 420, QStringLiteral("喫茶 はなこ"), 24, brown, ObjItemText::AlignCenter, "ＭＳ Ｐ明朝", 700);
    text(page, kW / 2, 790, QStringLiteral("じかばいせん珈琲と てづくりケーキ"), 9, rgb(90, 60, 40),
         ObjItemText::AlignCenter);
    text(page, kW / 2, 1000, QStringLiteral("あさ 8:00 ～ よる 7:00  (すいようび おやすみ)"), 7,
         rgb(90, 60, 40), ObjItemText::AlignCenter);
    text(page, kW / 2, 1360, QStringLiteral("さくら市 はなみち 2-5  TEL 0120-00-8787"), 8, rgb(255, 240, 220),
         ObjItemText::AlignCenter);
}

void studio(PmrData& page)
{
    page.backColor = rgb(34, 34, 40);
    const std::uint32_t gold = rgb(214, 178, 90);
    line(page, 200, 200, 0, 1160, 2, gold);
    line(page, 2380, 200, 0, 1160, 2, gold);
    text(page, kW / 2, 330, QStringLiteral("STUDIO KAZE"), 20, gold, ObjItemText::AlignCenter, "ＭＳ Ｐ明朝", 700);
    text(page, kW / 2, 660, QStringLiteral("デザイン ・ しゃしん ・ いんさつ"), 9, rgb(230, 230, 230),
         ObjItemText::AlignCenter);
    text(page, kW / 2, 930, QStringLiteral("風間 みどり"), 14, rgb(250, 250, 250), ObjItemText::AlignCenter);
    text(page, kW / 2, 1180, QStringLiteral("kaze-studio.example.jp"), 7, gold, ObjItemText::AlignCenter);
}

void personal(PmrData& page)
{
    // A soft dotted pattern, 16 x 16 pixels, for the background.
    QImage tile(16, 16, QImage::Format_RGB32);
    tile.fill(QColor(236, 246, 238));
    QPainter p(&tile);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 228, 206));
    p.drawEllipse(QPointF(4, 4), 2.2, 2.2);
    p.drawEllipse(QPointF(12, 12), 2.2, 2.2);
    p.end();
    page.setPattern(platform::Dib::fromImage(tile));
    const std::uint32_t green = rgb(40, 110, 70);
    rect(page, 180, 180, kW - 360, kH - 360, rgb(255, 255, 255));
    text(page, kW - 260, 300, QStringLiteral("すずき はるか"), 18, green, ObjItemText::AlignRight, "ＭＳ Ｐゴシック",
         700);
    text(page, kW - 260, 640, QStringLiteral("えほん と おさんぽ が すき"), 8, rgb(90, 110, 95),
         ObjItemText::AlignRight);
    line(page, 300, 900, kW - 600, 0, 0, green);
    text(page, 300, 1000, QStringLiteral("haruka@example.jp\r\n090-0000-1234"), 8, rgb(60, 60, 60));
}

void event(PmrData& page)
{
    const std::uint32_t red = rgb(200, 40, 50);
    rect(page, 0, 0, kW, 420, red);
    for (int i = 0; i < 6; ++i)
        rect(page, 160 + i * 380, 1240, 220, 120, i % 2 ? rgb(250, 200, 60) : red);
    text(page, kW / 2, 110, QStringLiteral("なつまつり じっこういいんかい"), 12, rgb(255, 255, 255),
         ObjItemText::AlignCenter, "ＭＳ Ｐゴシック", 700);
    text(page, 200, 560, QStringLiteral("いいんちょう"), 8, rgb(120, 120, 120));
    text(page, 200, 720, QStringLiteral("田中 一郎"), 20, 0, ObjItemText::AlignLeft, "ＭＳ Ｐ明朝", 700);
    text(page, kW - 200, 800, QStringLiteral("TEL 0567-12-3456"), 8, 0, ObjItemText::AlignRight);
}

// One design for a whole team: the person's texts are fields, filled from a list
// when printed (めいし-チーム.csv beside it).
void team(PmrData& page)
{
    const std::uint32_t teal = rgb(20, 110, 120);
    const std::uint32_t grey = rgb(90, 90, 90);
    rect(page, 0, 0, kW, 110, teal);
    rect(page, 0, kH - 50, kW, 50, rgb(120, 190, 190));
    text(page, 200, 240, QStringLiteral("株式会社 ぺるもら"), 9, teal, ObjItemText::AlignLeft, "ＭＳ Ｐゴシック", 700);
    text(page, kW - 200, 250, QStringLiteral("{{やくしょく}}"), 8, grey, ObjItemText::AlignRight);
    text(page, 200, 560, QStringLiteral("{{なまえ}}"), 22, 0, ObjItemText::AlignLeft, "ＭＳ Ｐゴシック", 700);
    line(page, 200, 1000, kW - 400, 0, 3, teal);
    text(page, 200, 1090, QStringLiteral("〒100-0001\r\n千代田区ぺるもら町1-2-3"), 7, grey);
    text(page, kW - 200, 1090, QStringLiteral("TEL {{TEL}}\r\n{{メール}}"), 7, rgb(40, 40, 40), ObjItemText::AlignRight);
    // Each person's own contact, filled from the list.
    code(page, kW - 200 - 567, 340, 20,
         QrContent::contact({QStringLiteral("{{なまえ}}"), {}, QStringLiteral("株式会社 ぺるもら"), QStringLiteral("{{やくしょく}}"),
                             QStringLiteral("{{TEL}}"), {}, {}, QStringLiteral("{{メール}}"), {},
                             QStringLiteral("〒100-0001 東京都千代田区ぺるもら町1-2-3")}),
         rgb(20, 70, 80));
}

// The pictures below are drawn by this program; they may be used freely with
// Pelmora's samples. No outside picture is used.

// A blank picture at one pixel per point (72 ppi), so the DIB's header does not
// depend on the screen.
QImage canvas(int w, int h, QColor fill)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.setDotsPerMeterX(2835);
    image.setDotsPerMeterY(2835);
    image.fill(fill);
    return image;
}

// Fine grain of at most ±amount per channel, the same on every run.
void addGrain(QImage& image, int amount, std::uint32_t seed)
{
    std::uint32_t s = seed;
    const auto next = [&s] {
        s ^= s << 13;
        s ^= s >> 17;
        s ^= s << 5;
        return s;
    };
    const auto clamp = [](int v) { return v < 0 ? 0 : v > 255 ? 255 : v; };
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int n = int(next() % std::uint32_t(2 * amount + 1)) - amount;
            const QRgb c = row[x];
            row[x] = qRgb(clamp(qRed(c) + n), clamp(qGreen(c) + n), clamp(qBlue(c) + n));
        }
    }
}

// A soft glow of colour c fading to nothing at radii rx, ry.
void glow(QPainter& p, QPointF at, double rx, double ry, QColor c)
{
    QRadialGradient g(QPointF(0, 0), 1.0);
    g.setColorAt(0, c);
    QColor edge = c;
    edge.setAlpha(0);
    g.setColorAt(1, edge);
    p.save();
    p.translate(at);
    p.scale(rx, ry);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(QPointF(0, 0), 1.0, 1.0);
    p.restore();
}

// A sunset over the sea with islands, in the proportions of the heart (94 × 90).
QImage sunset()
{
    const int w = 282;
    const int h = 270;
    const double horizon = h * 0.66;
    QImage image = canvas(w, h, Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, horizon);
    sky.setColorAt(0.0, QColor(44, 52, 118));
    sky.setColorAt(0.35, QColor(126, 78, 148));
    sky.setColorAt(0.68, QColor(236, 124, 104));
    sky.setColorAt(1.0, QColor(255, 204, 128));
    p.fillRect(QRectF(0, 0, w, horizon), sky);

    // Clouds lit from below.
    const struct {
        double x, y, rx, ry;
    } clouds[] = {{60, 62, 70, 12}, {210, 48, 80, 10}, {150, 92, 60, 8}, {36, 118, 50, 7}, {250, 110, 44, 7}};
    for (const auto& c : clouds)
        glow(p, QPointF(c.x, c.y), c.rx, c.ry, QColor(255, 168, 150, 150));

    const QPointF sun(w * 0.5, horizon - 14);
    glow(p, sun, 150, 110, QColor(255, 214, 140, 170));
    glow(p, sun, 46, 46, QColor(255, 236, 190, 230));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 244, 214));
    p.drawEllipse(sun, 22, 22);

    QLinearGradient sea(0, horizon, 0, h);
    sea.setColorAt(0.0, QColor(214, 118, 104));
    sea.setColorAt(0.45, QColor(120, 70, 112));
    sea.setColorAt(1.0, QColor(36, 38, 86));
    p.fillRect(QRectF(0, horizon, w, h - horizon), sea);

    // The sun's path on the water: a soft column and thin ripples narrowing towards us.
    glow(p, QPointF(sun.x(), horizon + 26), 34, 40, QColor(255, 206, 150, 120));
    const double ripple[] = {0.9, 0.6, 1.0, 0.7, 0.85, 0.5, 0.75, 0.55, 0.65, 0.4, 0.5};
    for (int i = 0; i < 11; ++i) {
        const double y = horizon + 3 + i * (3.2 + i * 0.35);
        const double half = (34 - i * 2.2) * ripple[i];
        const double shift = (i % 3 - 1) * 3.0;
        p.setBrush(QColor(255, 226, 172, 190 - i * 14));
        p.drawRoundedRect(QRectF(sun.x() - half + shift, y, 2 * half, 1.4 + i * 0.08), 0.7, 0.7);
    }

    // Islands against the light.
    p.setBrush(QColor(72, 40, 78));
    QPainterPath left;
    left.moveTo(0, horizon + 2);
    left.lineTo(0, horizon - 46);
    left.cubicTo(22, horizon - 52, 44, horizon - 30, 70, horizon - 18);
    left.cubicTo(86, horizon - 10, 100, horizon - 4, 112, horizon + 2);
    left.closeSubpath();
    p.drawPath(left);
    QPainterPath right;
    right.moveTo(w, horizon + 2);
    right.lineTo(w, horizon - 30);
    right.cubicTo(250, horizon - 38, 226, horizon - 14, 196, horizon + 2);
    right.closeSubpath();
    p.drawPath(right);

    // Two birds.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(60, 40, 80), 1.6, Qt::SolidLine, Qt::RoundCap));
    for (const QPointF b : {QPointF(178, 74), QPointF(196, 84)}) {
        QPainterPath bird;
        bird.moveTo(b + QPointF(-7, -2));
        bird.quadTo(b + QPointF(-3, -5), b);
        bird.quadTo(b + QPointF(3, -5), b + QPointF(7, -2));
        p.drawPath(bird);
    }
    p.end();
    addGrain(image, 5, 20240601u);
    return image;
}

// A wheat ear in a ring on pure white, in few flat colours: the white is left
// out when drawn, so what lies beneath shows through.
QImage wheatLogo()
{
    const int size = 360;
    const QPointF c(size / 2.0, size / 2.0);
    QImage image = canvas(size, size, Qt::white);
    QPainter p(&image);
    const QColor gold(222, 176, 86);
    const QColor cream(250, 236, 204);
    p.setPen(Qt::NoPen);

    QPainterPath ring;
    ring.addEllipse(c, 172, 172);
    ring.addEllipse(c, 158, 158);
    p.fillPath(ring, gold);
    QPainterPath thin;
    thin.addEllipse(c, 148, 148);
    thin.addEllipse(c, 144, 144);
    p.fillPath(thin, cream);

    // Stem and two leaves.
    p.setPen(QPen(gold, 9, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(180, 300), QPointF(180, 96));
    p.setPen(Qt::NoPen);
    p.setBrush(gold);
    QPainterPath leafL;
    leafL.moveTo(178, 292);
    leafL.cubicTo(140, 280, 104, 250, 92, 206);
    leafL.cubicTo(126, 226, 160, 252, 178, 276);
    p.drawPath(leafL);
    QPainterPath leafR;
    leafR.moveTo(182, 292);
    leafR.cubicTo(220, 280, 256, 250, 268, 206);
    leafR.cubicTo(234, 226, 200, 252, 182, 276);
    p.drawPath(leafR);

    // Grains, alternating colours down the ear.
    for (int i = 0; i < 5; ++i) {
        const double y = 112 + i * 30;
        for (int side : {-1, 1}) {
            p.save();
            p.translate(180 + side * 19, y);
            p.rotate(side * 32);
            p.setBrush(i % 2 ? cream : gold);
            p.drawEllipse(QPointF(0, 0), 13, 24);
            p.restore();
        }
    }
    p.setBrush(cream);
    p.drawEllipse(QPointF(180, 84), 12, 24);
    p.end();
    return image;
}

// Blue wave scales that repeat seamlessly: 2r × r pixels.
QImage waveTile()
{
    const int r = 32;
    const QColor ink(46, 82, 148);
    const QColor paper(220, 232, 246);
    QImage image = canvas(2 * r, r, paper);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    // Rows half a radius apart, every other row shifted by r; later rows overlap.
    for (int row = -4; row <= 4; ++row) {
        const double y = row * r / 2.0;
        for (int col = -2; col <= 2; ++col) {
            const double x = col * 2.0 * r + (row % 2 != 0 ? r : 0);
            for (int k = 0; k < 4; ++k) {
                const double radius = r - k * r / 4.0;
                p.setBrush(ink);
                p.drawEllipse(QPointF(x, y + r), radius, radius);
                p.setBrush(paper);
                p.drawEllipse(QPointF(x, y + r), radius - 2.4, radius - 2.4);
            }
        }
    }
    p.end();
    return image;
}

void picture(PmrData& page, const QImage& image, int bitCount, int x, int y, int cx, int cy, int shape,
             int edgeMode, int whiteOut = 0)
{
    auto item = std::make_unique<ObjItemBitmap>();
    item->takePicture(platform::Dib::fromImage(image, bitCount));
    item->x = x;
    item->y = y;
    item->cx = cx;
    item->cy = cy;
    item->shape = shape;
    item->edgeMode = edgeMode;
    item->whiteOut = whiteOut;
    page.append(std::move(item));
}

void photo(PmrData& page)
{
    page.backColor = rgb(253, 242, 236);
    const std::uint32_t plum = rgb(112, 52, 84);
    // The heart keeps the picture's 94 : 90 proportions; its edge fades into the card.
    picture(page, sunset(), 24, 150, 250, 1128, 1080, ObjItemBitmap::ShapeHeart, ObjItemBitmap::EdgeBlur);
    text(page, kW - 200, 260, QStringLiteral("ゆうやけ しゃしんしつ"), 8, rgb(200, 110, 90), ObjItemText::AlignRight);
    text(page, kW - 200, 430, QStringLiteral("小林 あかり"), 18, plum, ObjItemText::AlignRight, "ＭＳ Ｐ明朝", 700);
    text(page, kW - 200, 690, QStringLiteral("フォトグラファー"), 8, rgb(120, 90, 100), ObjItemText::AlignRight);
    line(page, 1420, 900, kW - 200 - 1420, 0, 2, rgb(230, 150, 120));
    text(page, kW - 200, 980, QStringLiteral("akari@example.jp\r\n080-0000-5678"), 7, rgb(90, 70, 80),
         ObjItemText::AlignRight);
}

void bakery(PmrData& page)
{
    page.backColor = rgb(252, 247, 238);
    const std::uint32_t brown = rgb(96, 60, 36);
    rect(page, 0, 0, 980, kH, brown);
    // The logo's white is left out, so the brown shows inside the ring.
    picture(page, wheatLogo(), 8, 110, 230, 760, 760, ObjItemBitmap::ShapeRect, ObjItemBitmap::EdgePlain, 1);
    text(page, 490, 1130, QStringLiteral("KOMUGI BAKERY"), 8, rgb(240, 222, 186), ObjItemText::AlignCenter);
    text(page, 1180, 260, QStringLiteral("パン工房 こむぎ"), 16, brown, ObjItemText::AlignLeft, "ＭＳ Ｐ明朝", 700);
    text(page, 1190, 560, QStringLiteral("てやき パン と やきがし"), 8, rgb(150, 110, 70));
    line(page, 1180, 760, kW - 1180 - 180, 0, 2, rgb(222, 176, 86));
    text(page, 1190, 860, QStringLiteral("店長  小麦 なつみ"), 10, rgb(60, 44, 30));
    text(page, 1190, 1110, QStringLiteral("みなと市 こむぎ通り 3-1\r\nTEL 0120-00-3939"), 7, rgb(90, 70, 50));
}

void waves(PmrData& page)
{
    page.setPattern(platform::Dib::fromImage(waveTile()));
    page.setPatternScale(40);
    const std::uint32_t indigo = rgb(30, 56, 110);
    rect(page, 0, 330, kW, 900, rgb(255, 255, 255));
    line(page, 0, 330, kW, 0, 3, indigo);
    line(page, 0, 1229, kW, 0, 3, indigo);
    text(page, kW / 2, 420, QStringLiteral("和菓子 あおなみ"), 16, indigo, ObjItemText::AlignCenter, "ＭＳ Ｐ明朝", 700);
    text(page, kW / 2, 720, QStringLiteral("店主  青山 しずく"), 10, rgb(50, 50, 60), ObjItemText::AlignCenter);
    text(page, kW / 2, 960, QStringLiteral("うみべ町 なみじ 5-8  TEL 0120-00-7373"), 7, rgb(80, 90, 110),
         ObjItemText::AlignCenter);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    platform::installFontSubstitutions();
    if (argc != 2) {
        std::fprintf(stderr, "usage: makesamples DIR\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    struct Sample {
        const char* file;
        void (*build)(PmrData&);
    };
    const Sample samples[] = {
        {"めいし-かいしゃ.pmr", office}, {"めいし-きっさてん.pmr", cafe},   {"めいし-すたじお.pmr", studio},
        {"めいし-こじん.pmr", personal}, {"めいし-おまつり.pmr", event},     {"めいし-しゃしん.pmr", photo},
        {"めいし-ぱんや.pmr", bakery},   {"めいし-なみ.pmr", waves},       {"めいし-チーム.pmr", team},
        {"めいし-りょうめん.pmr", twoSided},
    };
    for (const Sample& s : samples) {
        PmrData page;
        s.build(page);
        const QString path = dir.filePath(QString::fromUtf8(s.file));
        try {
            writeDocumentFile(page, path);
        } catch (const ArchiveError& e) {
            std::fprintf(stderr, "%s\n", qPrintable(archiveErrorMessage(e, path)));
            return 1;
        }
        std::printf("%s\n", qPrintable(path));
    }
    return 0;
}
