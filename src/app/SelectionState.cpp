// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SelectionState.h"

#include "model/ViewScale.h"

std::optional<PmrData::Position> SelectionState::hitTest(QPoint units, const ViewScale& scale) const
{
    PmrData::ItemList& items = page_->items();
    for (const bool text : {true, false}) {
        for (auto it = items.end(); it != items.begin();) {
            --it;
            if ((*it)->isText() == text && (*it)->HitTest(units.x(), units.y(), scale))
                return it;
        }
    }
    return std::nullopt;
}

std::optional<int> SelectionState::handleAt(QPoint pixels, const ViewScale& scale) const
{
    if (!item_)
        return std::nullopt;
    for (int i = 0; i < item_->GetHandleCount(); ++i) {
        QPoint h;
        if (!item_->GetHandle(i, h))
            continue;
        const QPoint d = scale.toDevice(h);
        const platform::Rect square{d.x() - 3, d.y() - 3, d.x() + 4, d.y() + 4};
        if (square.contains(pixels.x(), pixels.y()))
            return i;
    }
    return std::nullopt;
}
