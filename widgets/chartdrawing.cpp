#include "widgets/chartdrawing.h"

#include "widgets/ui.h"

#include <QPainter>
#include <QPainterPath>

namespace
{

// The parts of a 班's frame overlap and touch; their union's outline is the one line drawn.
template <class ToDevice> QPainterPath groupOutline(const ChartGroup &group, ToDevice toDevice)
{
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (const QRect &part : group.frame)
        path.addRect(toDevice(part));
    return path.simplified();
}

QRectF asIs(const QRect &rect)
{
    return QRectF(rect);
}

QRect inPixels(const QRect &twips)
{
    return twRect(twips.left(), twips.top(), twips.width(), twips.height());
}

} // namespace

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
        painter.drawPath(groupOutline(group, asIs));
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

void drawPixelGroupFrames(QPainter &painter, const QList<ChartGroup> &groups, const QPen &pen)
{
    painter.save();
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    for (const ChartGroup &group : groups)
        painter.drawPath(groupOutline(group, inPixels));
    painter.restore();
}

void drawPixelAisles(QPainter &painter, const QList<QRect> &aisles, const QPen &pen)
{
    painter.save();
    painter.setPen(pen);
    for (const QRect &aisle : aisles) {
        const QRect r = inPixels(aisle);
        painter.drawLine(r.center().x(), r.top(), r.center().x(), r.bottom());
    }
    painter.restore();
}

QString groupLabelText(int number)
{
    return QStringLiteral("%1班").arg(number);
}
