#include "gui/app/ProgramIcon.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace qrv::gui {

namespace {

// One image of the icon; the drawing is in the 64-unit square of the SVG.
QPixmap drawn(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    const QColor blue(0x2c, 0x4a, 0x6e);
    const QColor green(0x1f, 0x7a, 0x4d);
    p.setPen(QPen(blue, 2));
    p.setBrush(QColor(0xf4, 0xf6, 0xf8));
    p.drawRoundedRect(QRectF(4, 8, 36, 46), 3, 3);
    p.drawLine(QLineF(10, 18, 34, 18));
    p.drawLine(QLineF(10, 26, 34, 26));
    p.drawLine(QLineF(10, 34, 28, 34));
    QPainterPath arrow;
    arrow.moveTo(38, 30);
    arrow.lineTo(52, 30);
    arrow.lineTo(47, 24);
    arrow.moveTo(52, 30);
    arrow.lineTo(47, 36);
    p.setPen(QPen(green, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arrow);
    p.setPen(Qt::NoPen);
    p.setBrush(green);
    p.drawRoundedRect(QRectF(42, 38, 18, 20), 2, 2);
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(9);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(42, 38, 18, 20), Qt::AlignCenter, QStringLiteral("V5"));
    return pixmap;
}

}  // namespace

QIcon ProgramIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addPixmap(drawn(size));
    }
    return icon;
}

}  // namespace qrv::gui
