// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CardClipboard.h"

#include "app/CardCommand.h"
#include "app/CardDocument.h"
#include "app/CardView.h"
#include "app/ItemPlacement.h"
#include "model/Archive.h"
#include "model/ObjItemBitmap.h"
#include "model/PmrDocument.h"
#include "model/ViewScale.h"
#include "panel/PictureImport.h"
#include "platform/Dc.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QWidget>

#include <algorithm>

namespace {

// The picture of an item for other programs: at 300 pixels per inch, less for a
// large item, on white.
QImage itemPicture(const ObjItem& item)
{
    const platform::Rect b = item.GetBounds();
    constexpr std::int64_t kMaxSide = 4000;
    const std::int64_t side = std::max<std::int64_t>({b.width(), b.height(), 1});
    const int ppi = int(std::clamp<std::int64_t>(kMaxSide * ViewScale::kUnitsPerInch / side, 1, 300));
    const ViewScale scale = ViewScale::at(ppi);
    const platform::Rect d = scale.toDevice(b);
    platform::Dc dc(QSize(std::max(1, int(d.width()) + 1), std::max(1, int(d.height()) + 1)));
    if (!dc.isValid())
        return {};
    dc.fillRect(QRect(QPoint(0, 0), dc.image()->size()), Qt::white);
    dc.setScale(ppi);
    dc.setViewportOrigin(QPoint(-d.left, -d.top));
    item.Draw(dc);
    return *dc.image();
}

} // namespace

CardClipboard::CardClipboard(CardDocument& doc, CardView& view, QWidget* window) : doc_(doc), view_(view), window_(window) {}

std::unique_ptr<QMimeData> CardClipboard::mimeFor(const ObjItem& item, const QByteArray& cardId, int cardWidth, int cardHeight)
{
    PmrData card;
    card.cardWidth = cardWidth;
    card.cardHeight = cardHeight;
    card.append(item.Clone());
    auto data = std::make_unique<QMimeData>();
    data->setData(QString::fromLatin1(kMimeType), writeDocument(card));
    data->setData(QString::fromLatin1(kSourceType), cardId);
    const QImage picture = itemPicture(item);
    if (!picture.isNull())
        data->setImageData(picture);
    return data;
}

std::unique_ptr<ObjItem> CardClipboard::itemFrom(const QMimeData& data)
{
    const QString type = QString::fromLatin1(kMimeType);
    if (!data.hasFormat(type))
        return nullptr;
    PmrData card;
    try {
        readDocument(data.data(type), card);
    } catch (const ArchiveError&) {
        return nullptr;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    if (card.items().empty())
        return nullptr;
    return std::move(card.items().front());
}

void CardClipboard::copy()
{
    const ObjItem* item = doc_.selection().item();
    if (!item)
        return;
    const PmrData& page = doc_.page();
    QGuiApplication::clipboard()->setMimeData(mimeFor(*item, doc_.sideId(), page.cardWidth, page.cardHeight).release());
}

void CardClipboard::cut()
{
    if (!doc_.selection().item())
        return;
    copy();
    doc_.apply(std::make_unique<DeleteItemCommand>(*doc_.selection().position()));
}

// From this card, the copy is offset as a duplicate is; from another card it keeps
// its place, moved onto this card where it would lie off it.
void CardClipboard::paste()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return;
    const platform::Rect cardUnits = view_.cardUnits();
    std::unique_ptr<ObjItem> item = itemFrom(*data);
    if (item) {
        if (data->data(QString::fromLatin1(kSourceType)) == doc_.sideId())
            placement::offsetAsDuplicate(*item, view_.scale(), view_.cardRect());
        else
            placement::keepOnCard(*item, cardUnits);
    } else if (data->hasImage()) {
        const QImage image = qvariant_cast<QImage>(data->imageData());
        QByteArray png;
        QBuffer buffer(&png);
        if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
            return;
        buffer.close();
        buffer.open(QIODevice::ReadOnly);
        const PmrData& page = doc_.page();
        std::optional<platform::Dib> picture = panel::convertPicture(buffer, window_, QSize(page.cardWidth, page.cardHeight));
        if (!picture)
            return;
        item = std::make_unique<ObjItemBitmap>(cardUnits, std::move(*picture));
    } else {
        return;
    }
    doc_.apply(std::make_unique<AddItemCommand>(std::move(item), doc_.tail()));
}
