#include "widgets/chartdrawing.h"

#include <QPainter>
#include <QPainterPath>

void drawGroupFrames(QPainter &painter, const ChartLayout &layout, const QTransform &toDevice, const QColor &ink,
                     qreal penWidth, const QList<int> &leftOut)
{
    painter.save();
    painter.setTransform(toDevice, true);
    QPen pen(ink, penWidth);
    pen.setCosmetic(true);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    for (const ChartGroup &group : layout.groups()) {
        if (leftOut.contains(group.number))
            continue;
        // The parts overlap and touch; their union's outline is the one line drawn.
        QPainterPath path;
        path.setFillRule(Qt::WindingFill);
        for (const QRect &part : group.frame)
            path.addRect(QRectF(part));
        painter.drawPath(path.simplified());
    }
    painter.restore();
}

void drawAisles(QPainter &painter, const ChartLayout &layout, const QTransform &toDevice, const QColor &ink,
                qreal penWidth)
{
    painter.save();
    QPen pen(ink, penWidth, Qt::DashLine);
    pen.setCosmetic(true);
    painter.setPen(pen);
    for (const QRect &aisle : layout.aisles()) {
        const QRectF r = toDevice.mapRect(QRectF(aisle));
        painter.drawLine(QPointF(r.center().x(), r.top()), QPointF(r.center().x(), r.bottom()));
    }
    painter.restore();
}

QString groupLabelText(int number)
{
    return QStringLiteral("%1班").arg(number);
}
