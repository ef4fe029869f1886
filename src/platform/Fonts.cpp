// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Fonts.h"

#include <QFont>
#include <QFontInfo>

namespace platform {

void installFontSubstitutions()
{
    struct Map { const char* face; const char* target; };
    static const Map maps[] = {
        {"ＭＳ Ｐゴシック", "IPAPGothic"},
        {"ＭＳ ゴシック", "IPAGothic"},
        {"ＭＳ Ｐ明朝", "IPAPMincho"},
        {"ＭＳ 明朝", "IPAMincho"},
        {"ＭＳ ＵＩ Ｇｏｔｈｉｃ", "IPAPGothic"},
        {"MS PGothic", "IPAPGothic"},
        {"MS Gothic", "IPAGothic"},
        {"MS PMincho", "IPAPMincho"},
        {"MS Mincho", "IPAMincho"},
        {"MS UI Gothic", "IPAPGothic"},
        {"MS Shell Dlg", "IPAPGothic"},
        {"MS Sans Serif", "IPAPGothic"},
        {"System", "IPAPGothic"},
    };
    for (const Map& m : maps)
        QFont::insertSubstitution(QString::fromUtf8(m.face), QString::fromUtf8(m.target));
}

QString resolvedFamily(const QString& face)
{
    return QFontInfo(QFont(face)).family();
}

} // namespace platform
