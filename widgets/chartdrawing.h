#pragma once

#include "core/chartlayout.h"

#include <QColor>
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

// A 班's number as the chart shows it.
QString groupLabelText(int number);
