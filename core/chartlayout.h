#pragma once

#include "core/room.h"

#include <QList>
#include <QRect>
#include <QSize>

// Where the seating chart of a room puts each desk's name box and caption, the teacher's desk,
// the aisles and the 班 frames, in twips of the area it is drawn in.
//
// Seen from the pupils' side the room is drawn as its own plan: the front row lowest, just
// above the teacher's desk. Seen from the teacher's desk the whole drawing is turned half round
// in its area (desk 1 then lies top left), except that each caption stays upright above its box.
//
// Size rule. At full size a box is 1575 × 345 twips with its caption 240 above it; columns are
// 585 apart, rows 720 apart, an aisle adds another 585, the desk sits 195 below the front row.
// The drawing keeps 735 clear at the sides and 570 at the top and bottom (the tool bar and the
// status bar lie there) and is centred in what is left. A room too wide or too deep for that
// is shrunk, across and down separately (so a wide room keeps its lettering height), but never
// below boxes of MinBoxWidth × MinBoxHeight; a room that cannot fit even then is drawn at that
// size and size() grows beyond the area, for the window to grow or scroll. Rounding only ever
// shrinks, so a fitting room never pokes out of its area.
//
// Desks joined in a pair move toward each other (195 apart at full size, against at least 585
// between any other two neighbours). A 班 may take any shape (an L, two blocks, a ring round
// another 班), so its frame follows its desks rather than their bounding rectangle: it is the
// outline of the union of rectangles, which cover each desk's box and caption padded by half
// the narrowest gaps, and the gaps between its desks. No part reaches a desk or a frame of
// another 班. A window draws it as one outline: each part added to a QPainterPath with the
// winding fill rule, and the path's simplified() stroked. The 班's number goes beside the
// caption of its desk nearest the top left corner as drawn.

struct ChartGroup {
    int number = 0;
    QList<QRect> frame; // the parts whose union the frame goes round
    QRect label;        // where the 班's number goes
};

class ChartLayout
{
public:
    // The result window's client area.
    static constexpr QSize StandardArea{9525, 6555};
    static constexpr int MinBoxWidth = 945;
    static constexpr int MinBoxHeight = 255;
    // Clear space kept at the sides and at the top and bottom (the tool bar and the status bar).
    static constexpr int MarginX = 735;
    static constexpr int MarginY = 570;

    ChartLayout(const Room &room, bool teacherView, QSize area = StandardArea);

    // The area the drawing takes: the one given, or more when the room cannot be drawn in it at
    // the smallest legible size.
    QSize size() const { return m_size; }
    int deskCount() const { return int(m_boxes.size()); }
    // Desk 1..deskCount().
    QRect box(int desk) const { return m_boxes.value(desk - 1); }
    QRect caption(int desk) const { return m_captions.value(desk - 1); }
    QRect teachersDesk() const { return m_desk; }
    // The gap of each aisle, between the boxes on its two sides, as deep as the rows.
    const QList<QRect> &aisles() const { return m_aisles; }
    // In order of their numbers.
    const QList<ChartGroup> &groups() const { return m_groups; }

private:
    QSize m_size;
    QList<QRect> m_boxes;
    QList<QRect> m_captions;
    QRect m_desk;
    QList<QRect> m_aisles;
    QList<ChartGroup> m_groups;
};
