#pragma once

#include "core/sharedstate.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

#include <array>
#include <optional>

class QLabel;
class QPushButton;
class QWidget;

// Layout tables are in twips: 15 twips to a logical pixel.
constexpr int tw(int twips)
{
    return (twips >= 0 ? twips + 7 : twips - 7) / 15;
}
inline QRect twRect(int left, int top, int width, int height)
{
    return QRect(tw(left), tw(top), tw(width), tw(height));
}
inline QRect twRect(const QRect &twips)
{
    return twRect(twips.x(), twips.y(), twips.width(), twips.height());
}

// A colour value (0x00BBGGRR) as a QColor.
QColor qcolor(ColorValue value);
inline QColor rgb(int r, int g, int b)
{
    return QColor(r, g, b);
}

// The Japanese faces the windows are drawn in; each falls back to the nearest face
// the system has (IPA fonts on Linux).
enum class Face { PGothic, PMincho, UIGothic, Gothic, TimesNewRoman };
QFont makeFont(Face face, qreal pointSize, bool bold = false);

// Colours of a widget (palette roles, so children that draw text pick them up).
void setTextColor(QWidget *w, const QColor &color);
void setBackgroundColor(QWidget *w, const QColor &color); // also makes it opaque

// One row of a layout table: a label with its place, face, colours and frame.
struct LabelDef {
    QString objectName = {};
    QString text = {};
    QRect twips = {}; // left, top, width, height in twips
    Face face = Face::PGothic;
    qreal pointSize = 9;
    bool bold = false;
    QColor textColor = Qt::black;
    std::optional<QColor> background = std::nullopt; // none: transparent
    bool border = false;                             // single line
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
};
QLabel *makeLabel(QWidget *parent, const LabelDef &def);
// Sets up a label made elsewhere (of a class of its own) as makeLabel sets up its own.
void setUpLabel(QLabel *label, const LabelDef &def);

// The button row "OK", "キャンセル", "ヘルプ" that the small dialogs share, with the
// objectNames "Command1_0" .. "Command1_2", no default button, tooltips with a blank on each side.
std::array<QPushButton *, 3> makeCommandButtons(QWidget *parent);

// The point size, at most `font`'s, at which every text fits into `room` pixels. Where
// the system lacks a table's face the stand-in may run wider; nothing may be cut off.
qreal fittingPointSize(QFont font, const QStringList &texts, int room);
// Shrinks a label's lettering until its whole text fits its width.
void shrinkToFit(QLabel *label);

// Moves a top-level window to the centre of the screen it is on.
void centreOnScreen(QWidget *window);

// Lettering in two layers: a shadow `offsetTwips` right and down, the front over it.
struct TwoLayerLabel {
    QLabel *front;
    QLabel *shadow;
};
TwoLayerLabel makeTwoLayerLabel(QWidget *parent, const LabelDef &front, const QString &shadowName,
                                const QColor &shadowColor, int offsetTwips);
