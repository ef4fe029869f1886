// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ObjItemBitmap.h"
#include "model/ObjItemRect.h"
#include "model/PmrData.h"
#include "model/PmrDocument.h"
#include "model/QrPicture.h"

#include <gtest/gtest.h>

namespace {

QrContent yamada()
{
    return QrContent::contact({QStringLiteral("山田 太郎"), QStringLiteral("やまだ たろう"), QStringLiteral("株式会社ぺるもら"),
                               QStringLiteral("営業部長"), QStringLiteral("03-1234-5678"), QStringLiteral("090-1234-5678"), {},
                               QStringLiteral("taro@example.jp"), QStringLiteral("https://example.jp/"),
                               QStringLiteral("東京都千代田区丸の内1-1-1")});
}

TEST(QrCode, TheExtrasBlockComesOnlyWithACodeAndNeverCostsThePage)
{
    PmrData page;
    page.append(std::make_unique<ObjItemRect>());
    auto code = std::make_unique<ObjItemBitmap>();
    code->takePicture(qr::picture(yamada(), 0));
    code->qr = yamada();
    auto& item = static_cast<ObjItemBitmap&>(**page.append(std::move(code)));
    const QByteArray withCode = writeDocument(page);
    item.qr.reset();
    const QByteArray plain = writeDocument(page);
    // The same bytes as before codes, then the block.
    ASSERT_TRUE(withCode.startsWith(plain));
    EXPECT_TRUE(withCode.mid(plain.size()).startsWith(QByteArray("PMRX\x01\x00", 6)));

    const auto read = [](const QByteArray& bytes) {
        PmrData out;
        readDocument(bytes, out);
        const auto* picture = dynamic_cast<const ObjItemBitmap*>(std::next(out.items().begin())->get());
        return std::tuple(out.items().size(), picture ? picture->dib.bytes() : QByteArray(), picture && picture->qr ? *picture->qr : QrContent(),
                          out.extrasDamaged, writeDocument(out));
    };
    const QByteArray dib = item.dib.bytes();
    EXPECT_EQ(read(withCode), std::tuple(std::size_t(2), dib, yamada(), false, withCode));
    // Cut off, the code is a plain picture.
    EXPECT_EQ(read(plain), std::tuple(std::size_t(2), dib, QrContent(), false, plain));
    // A record of a later version comes back as it was.
    const QByteArray later = withCode + QByteArray("\x09\x00\x03\x00\x00\x00" "abc", 9);
    EXPECT_EQ(std::get<4>(read(later)), later);

    // Damage: the page opens, says so, and keeps the codes read before it.
    const QByteArray block = QByteArray("PMRX\x01\x00", 6), record = withCode.mid(plain.size() + 6);
    const QByteArray damaged[] = {
        withCode.left(withCode.size() - 1),                                     // cut inside the record
        plain + block + record + QByteArray("\x01\x00\x02\x00\x00\x00\x00\x00", 8), // a record too short
        plain + block + QByteArray("\x01\x00", 2) + record.mid(2, 4) + QByteArray(4, '\0') + record.mid(10), // at the rectangle
    };
    for (const QByteArray& bytes : damaged) {
        const auto [count, picture, qr, isDamaged, again] = read(bytes);
        EXPECT_EQ(std::tuple(count, picture, isDamaged), std::tuple(std::size_t(2), dib, true));
    }
    EXPECT_EQ(std::get<2>(read(damaged[1])), yamada());
}

} // namespace
