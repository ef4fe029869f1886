// SPDX-License-Identifier: GPL-3.0-or-later
#include "../QrRead.h"
#include "model/QrPicture.h"
#include "platform/Dc.h"

#include <gtest/gtest.h>

namespace {

// A code's picture drawn as the card draws it, at `modulePixels` pixels a module.
QImage drawn(const QrContent& content, std::uint32_t color, int modulePixels)
{
    const platform::Dib dib = qr::picture(content, color);
    const QImage modules = dib.toImage();
    QImage out(modules.size() * modulePixels, QImage::Format_RGB32);
    platform::Dc dc(&out);
    qr::draw(dc, modules, platform::Rect{0, 0, out.width(), out.height()});
    return out;
}

QrContent yamada()
{
    return QrContent::contact({QStringLiteral("山田 太郎"), QStringLiteral("やまだ たろう"), QStringLiteral("株式会社ぺるもら"),
                               QStringLiteral("営業部長"), QStringLiteral("03-1234-5678"), QStringLiteral("090-1234-5678"), {},
                               QStringLiteral("taro@example.jp"), QStringLiteral("https://example.jp/"),
                               QStringLiteral("東京都千代田区丸の内1-1-1")});
}

TEST(QrCode, EveryKindAtLowAndHighLevelsReadsBackExactlyWithBothDecoders)
{
    for (const QrContent::Level level : {QrContent::L, QrContent::H}) {
        for (QrContent content : {QrContent::url(QStringLiteral("https://example.jp/ぺるもら?a=1")), yamada(),
                                  QrContent::text(QStringLiteral("めいし Pelmora 2026"))}) {
            content.level = level;
            SCOPED_TRACE(content.payload().toStdString());
            const QImage image = drawn(content, 0x402000, 6);
            EXPECT_EQ(qrread::zxing(image), QStringList{content.payload()});
            EXPECT_EQ(qrread::zbar(image), QStringList{content.payload()});
        }
    }
}

} // namespace
