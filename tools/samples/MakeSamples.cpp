// SPDX-License-Identifier: GPL-3.0-or-later
// Builds the sample cards shipped in data/sample.
#include "SampleItems.h"

#include "model/ObjItemBitmap.h"
#include "model/PmrDocument.h"
#include "platform/Fonts.h"
#include "platform/VerticalText.h"
#include "SamplePictures.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstdio>

namespace {

using namespace samples;

// A vertical text hanging from its top-right corner.
void columns(PmrData& page, int x, int y, const QString& s, int points, std::uint32_t color, int weight = 400)
{
    text(page, x, y, s, points, color, ObjItemText::AlignLeft, "ＭＳ 明朝", weight);
    auto& item = static_cast<ObjItemText&>(*page.items().back());
    item.SetFont(platform::vertical::withVertical(item.GetFont(), true));
    item.x = x;
}


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

void picture(PmrData& page, const QImage& image, int bitCount, int x, int y, int cx, int cy, int shape,
             int edgeMode, int whiteOut = 0)
{
    auto& item = placed<ObjItemBitmap>(page, x, y, 0, 0, 0);
    item.takePicture(platform::Dib::fromImage(image, bitCount));
    item.cx = cx;
    item.cy = cy;
    item.shape = shape;
    item.edgeMode = edgeMode;
    item.whiteOut = whiteOut;
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

// Set in columns, right to left, as a card in the old style.
void vertical(PmrData& page)
{
    page.backColor = rgb(252, 249, 240);
    const std::uint32_t ink = rgb(34, 34, 44);
    rect(page, kW - 110, 0, 110, kH, rgb(170, 40, 44));
    columns(page, kW - 260, 170, QStringLiteral("株式会社 ぺるもら"), 9, ink);
    columns(page, kW - 470, 170, QStringLiteral("営業部 部長"), 8, rgb(100, 100, 100));
    columns(page, kW / 2 + 330, 250, QStringLiteral("山田 太郎"), 26, ink, 700);
    columns(page, 700, 170, QStringLiteral("〒100-0001\r\n東京都千代田区\r\nぺるもら町1-2-3\r\nTEL 03-1234-5678"), 7, ink);
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
        {"めいし-たてがき.pmr", vertical},
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
