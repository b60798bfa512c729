#include "app/Icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QSvgRenderer>

namespace qex {

namespace {

// A wavy proxy curve across a w x h box.
QPainterPath Curve(double w, double h)
{
    QPainterPath path;
    path.moveTo(0.5, h * 0.70);
    path.cubicTo(w * 0.20, h * 0.05, w * 0.35, h * 0.95, w * 0.55, h * 0.45);
    path.cubicTo(w * 0.70, h * 0.10, w * 0.85, h * 0.90, w - 0.5, h * 0.30);
    return path;
}

QPixmap Canvas(int w, int h)
{
    QPixmap pixmap(w, h);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

} // namespace

QIcon SimulationIcon()
{
    QPixmap pixmap = Canvas(16, 15);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // Exposure (green) and burial (blue) stretches along the bottom.
    p.fillRect(QRectF(0, 12, 5, 3), QColor(60, 160, 60));
    p.fillRect(QRectF(5, 12, 5, 3), QColor(70, 110, 200));
    p.fillRect(QRectF(10, 12, 6, 3), QColor(60, 160, 60));
    p.setPen(QPen(QColor(200, 40, 40), 1.4));
    p.drawPath(Curve(16, 11));
    return QIcon(pixmap);
}

QIcon CutResultsIcon()
{
    QPixmap pixmap = Canvas(16, 15);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 40, 40), 1.0, Qt::DashLine));
    p.drawLine(QPointF(0, 7.5), QPointF(16, 7.5));
    p.setPen(QPen(QColor(200, 40, 40), 1.4));
    p.drawPath(Curve(16, 15));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 20, 160));
    for (double x : {2.6, 6.2, 10.4, 13.6})
        p.drawEllipse(QPointF(x, 7.5), 1.3, 1.3);
    return QIcon(pixmap);
}

QIcon AboutIcon()
{
    QPixmap pixmap = Canvas(16, 15);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(30, 70, 160), 1.2));
    p.setBrush(QColor(225, 235, 255));
    p.drawEllipse(QRectF(1, 0.5, 14, 14));
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(11);
    p.setFont(font);
    p.drawText(QRectF(1, 0.5, 14, 14), Qt::AlignCenter, "?");
    return QIcon(pixmap);
}

QIcon ApplicationIcon()
{
    // The same drawing the desktop's launchers show (installed as the
    // application's icon in the hicolor theme).
    QSvgRenderer drawing(QStringLiteral(":/qex/qex.svg"));
    QIcon icon;
    for (int size : {16, 32, 48}) {
        QPixmap pixmap = Canvas(size, size);
        QPainter p(&pixmap);
        drawing.render(&p);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace qex
