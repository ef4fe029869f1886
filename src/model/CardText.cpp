// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/CardText.h"

#include "platform/Codec.h"

CardText CardText::fromUnicode(const QString& text)
{
    if (platform::fitsCp932(text))
        return CardText(platform::toCp932(text));
    CardText t;
    t.wide_ = text;
    return t;
}

QString CardText::toString() const
{
    return isWide() ? wide_ : platform::fromCp932(bytes_);
}
