// SPDX-License-Identifier: GPL-3.0-or-later
// めいし-りょうめん.pmr: a Japanese front and an English back.
#include "SampleItems.h"

namespace samples {

void twoSided(PmrData& page)
{
    const std::uint32_t indigo = rgb(40, 60, 120);
    const std::uint32_t grey = rgb(90, 90, 90);
    page.backColor = rgb(250, 248, 242);
    rect(page, 0, 0, 90, kH, indigo);
    text(page, 250, 200, QStringLiteral("株式会社 ぺるもら"), 9, indigo, ObjItemText::AlignLeft, "ＭＳ Ｐゴシック", 700);
    text(page, 250, 330, QStringLiteral("かいがい事業部 部長"), 8, grey);
    text(page, 250, 600, QStringLiteral("田中 さくら"), 22, 0, ObjItemText::AlignLeft, "ＭＳ Ｐゴシック", 700);
    text(page, 260, 880, QStringLiteral("たなか さくら"), 8, grey);
    line(page, 250, 1030, kW - 450, 0, 3, indigo);
    text(page, 250, 1100,
         QStringLiteral("〒100-0001 東京都千代田区ぺるもら町1-2-3\r\nTEL 03-1234-5678\r\nsakura.tanaka@example.jp"), 7,
         rgb(40, 40, 40));

    // The back, for guests from abroad: the same card in English.
    PmrData& back = page.ensureBack();
    back.backColor = indigo;
    const std::uint32_t light = rgb(220, 226, 240);
    text(back, 200, 200, QStringLiteral("Pelmora Co., Ltd."), 10, rgb(255, 255, 255), ObjItemText::AlignLeft,
         "ＭＳ Ｐゴシック", 700);
    text(back, 200, 540, QStringLiteral("Sakura Tanaka"), 18, rgb(255, 255, 255), ObjItemText::AlignLeft,
         "ＭＳ Ｐゴシック", 700);
    text(back, 200, 820, QStringLiteral("Director, Overseas Business"), 8, light);
    text(back, 200, 1060,
         QStringLiteral("1-2-3 Pelmora-cho, Chiyoda-ku, Tokyo 100-0001, Japan\r\nTel +81-3-1234-5678\r\n"
                        "sakura.tanaka@example.jp"),
         7, light);
    code(back, kW - 200 - 567, 200, 20, QrContent::url(QStringLiteral("https://example.jp/en/")), rgb(20, 30, 70));
}

} // namespace samples
