#pragma once

#include "core/chartlayout.h"

#include <QColor>
#include <QPen>
#include <QString>
#include <QTransform>

class QPainter;

// What a seating chart draws besides its boxes: the 班 frames and the aisles, as the chart
// layout places them. `toDevice` maps the layout's twips to the painter's coordinates; lines
// keep `penWidth` device pixels at any scale.
void drawGroupFrames(QPainter &painter, const ChartLayout &layout, const QTransform &toDevice, const QColor &ink,
                     qreal penWidth, const QList<int> &leftOut = {});
void drawAisles(QPainter &painter, const ChartLayout &layout, const QTransform &toDevice, const QColor &ink,
                qreal penWidth);

// The same for windows that set each of the layout's rectangles on whole pixels (twRect): the
// 班 frames and the aisles, as lines down their middles, drawn with `pen`.
void drawPixelGroupFrames(QPainter &painter, const QList<ChartGroup> &groups, const QPen &pen);
void drawPixelAisles(QPainter &painter, const QList<QRect> &aisles, const QPen &pen);

// A 班's number as the chart shows it.
QString groupLabelText(int number);
