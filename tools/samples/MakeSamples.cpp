// Builds the sample cards shipped in data/sample.
#include "model/ObjItemLine.h"
#include "model/ObjItemRect.h"
#include "model/ObjItemText.h"
#include "model/PmrData.h"
#include "model/PmrDocument.h"
#include "platform/Codec.h"
#include "platform/Fonts.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

namespace {

// Card of 91 x 55 mm in item units.
constexpr int kW = 2580;
constexpr int kH = 1559;

std::uint32_t rgb(int r, int g, int b)
{
    return std::uint32_t(r) | std::uint32_t(g) << 8 | std::uint32_t(b) << 16;
}

void text(PmrData& page, int x, int y, const QString& s, int points, std::uint32_t color = 0,
          int align = ObjItemText::AlignLeft, const char* face = "ＭＳ Ｐゴシック", int weight = 400)
{
    auto item = std::make_unique<ObjItemText>();
    platform::LogFont f = ObjItemText::defaultFont();
    f.setFaceName(QString::fromUtf8(face));
    f.weight = weight;
    f.height = points;
    item->SetText(platform::toCp932(s));
    item->SetFont(f);
    item->color = color;
    item->x = x;
    item->y = y;
    item->align = align;
    page.append(std::move(item));
}

void rect(PmrData& page, int x, int y, int cx, int cy, std::uint32_t color)
{
    auto item = std::make_unique<ObjItemRect>();
    item->x = x;
    item->y = y;
    item->cx = cx;
    item->cy = cy;
    item->color = color;
    page.append(std::move(item));
}

void line(PmrData& page, int x, int y, int cx, int cy, int width, std::uint32_t color)
{
    auto item = std::make_unique<ObjItemLine>();
    item->x = x;
    item->y = y;
    item->cx = cx;
    item->cy = cy;
    item->width = width;
    item->color = color;
    page.append(std::move(item));
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
        {"めいし-こじん.pmr", personal}, {"めいし-おまつり.pmr", event},
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
