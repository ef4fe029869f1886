// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the icons of the menu entry and of .pmr documents, drawn with the
// program's own window icon:
//   makeicons DIR SIZE...
// gives DIR/pelmora-SIZE.png and DIR/application-x-pelmora-card-SIZE.png.

#include "resources/Images.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// A sheet with a folded corner and the card lying on it. The sheet's edges sit
// on whole pixels so that they stay sharp at every size.
QImage documentIcon(int size)
{
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const auto at = [size](double units) { return double(std::lround(size * units / 32.0)); };
    const int pen = std::max(1, size / 64);
    const double half = pen / 2.0;
    const double left = at(5) + half, right = at(27) - half, top = at(1) + half, bottom = at(31) - half;
    const double fold = at(6);
    QPainterPath sheet;
    sheet.moveTo(left, top);
    sheet.lineTo(right - fold, top);
    sheet.lineTo(right, top + fold);
    sheet.lineTo(right, bottom);
    sheet.lineTo(left, bottom);
    sheet.closeSubpath();
    p.setPen(QPen(QColor(0x8E, 0x8E, 0x9C), pen));
    p.setBrush(Qt::white);
    p.drawPath(sheet);
    QPainterPath corner;
    corner.moveTo(right - fold, top);
    corner.lineTo(right - fold, top + fold);
    corner.lineTo(right, top + fold);
    corner.closeSubpath();
    p.setBrush(QColor(0xD4, 0xD4, 0xDE));
    p.drawPath(corner);
    const int card = int(std::lround(size * 0.78));
    p.drawPixmap((size - card) / 2, int(std::lround(size * 0.56)) - card / 2,
                 resources::iconPixmap(resources::img::AppIcon, card));
    return img;
}

} // namespace

int main(int argc, char** argv)
{
    // Qt's start-up notes (such as a missing runtime folder) are not ours to show.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", qPrintable(message));
    });
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: makeicons DIR SIZE...\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        const QString n = QString::number(size);
        const QImage window = resources::iconPixmap(resources::img::AppIcon, size).toImage();
        if (window.isNull() || !window.save(dir.filePath(QStringLiteral("pelmora-%1.png").arg(n)))
            || !documentIcon(size).save(dir.filePath(QStringLiteral("application-x-pelmora-card-%1.png").arg(n)))) {
            std::fprintf(stderr, "makeicons: cannot write the %d-pixel icons to %s\n", size, argv[1]);
            return 1;
        }
    }
    return 0;
}
