#include "core/chartlayout.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace
{

// Full-size measures, in twips.
constexpr int BoxWidth = 1575;
constexpr int BoxHeight = 345;
constexpr int CaptionWidth = 735;
constexpr int CaptionHeight = 255;
constexpr int CaptionAbove = 240;
constexpr int ColumnGap = 585;
constexpr int AisleWidth = 585;
constexpr int PairShift = 195; // each desk of a pair, toward the other
constexpr int RowPitch = 720;
constexpr int DeskWidth = 1095;
constexpr int DeskHeight = 315;
constexpr int DeskGap = 195;
constexpr int MarginX = ChartLayout::MarginX;
constexpr int MarginY = ChartLayout::MarginY;
// In a room seven deep at full size the middle row sits this much lower, as the chart has
// always been drawn.
constexpr int MiddleRowDrop = 30;

int scaled(int twips, double scale)
{
    return int(std::floor(twips * scale + 1e-9));
}

// The scale that fits `natural` into `available`: at most full size, at least `smallest`.
double fitting(int available, int natural, double smallest)
{
    return std::max(smallest, std::min(1.0, double(available) / natural));
}

QRect turned(const QRect &r, QSize area)
{
    return QRect(area.width() - r.left() - r.width(), area.height() - r.top() - r.height(), r.width(), r.height());
}

} // namespace

ChartLayout::ChartLayout(const Room &room, bool teacherView, QSize area)
{
    const int rows = room.rows();
    const int columns = room.columns();
    int aisleCount = 0;
    for (int column = 0; column + 1 < columns; ++column)
        aisleCount += room.aisleAfter(column) ? 1 : 0;

    const int naturalWidth = columns * BoxWidth + (columns - 1) * ColumnGap + aisleCount * AisleWidth;
    const int naturalHeight = CaptionAbove + BoxHeight + (rows - 1) * RowPitch + DeskGap + DeskHeight;
    const double sx = fitting(area.width() - 2 * MarginX, naturalWidth, double(MinBoxWidth) / BoxWidth);
    const double sy = fitting(area.height() - 2 * MarginY, naturalHeight, double(MinBoxHeight) / BoxHeight);

    const int boxWidth = scaled(BoxWidth, sx), columnGap = scaled(ColumnGap, sx), aisleWidth = scaled(AisleWidth, sx);
    const int pairShift = scaled(PairShift, sx), captionWidth = scaled(CaptionWidth, sx);
    const int boxHeight = scaled(BoxHeight, sy), captionAbove = scaled(CaptionAbove, sy);
    const int captionHeight = scaled(CaptionHeight, sy), rowPitch = scaled(RowPitch, sy);
    const int width = columns * boxWidth + (columns - 1) * columnGap + aisleCount * aisleWidth;
    const int height = captionAbove + boxHeight + (rows - 1) * rowPitch + scaled(DeskGap, sy) + scaled(DeskHeight, sy);
    m_size = QSize(std::max(area.width(), width + 2 * MarginX), std::max(area.height(), height + 2 * MarginY));
    const int left = (m_size.width() - width) / 2;
    const int top = (m_size.height() - height) / 2;

    QList<int> columnLeft;
    for (int column = 0, x = left; column < columns; ++column) {
        columnLeft.append(x);
        x += boxWidth + columnGap + (room.aisleAfter(column) ? aisleWidth : 0);
    }
    const bool dropMiddle = rows == 7 && sy == 1.0;
    const int narrowestRowGap = rowPitch - captionAbove - boxHeight - (dropMiddle ? MiddleRowDrop : 0);
    const auto boxTop = [&](int row) {
        const int line = rows - 1 - row;
        return top + captionAbove + line * rowPitch + (dropMiddle && line == 3 ? MiddleRowDrop : 0);
    };

    // Everything is placed as seen from the pupils' side, then turned for the teacher's.
    const auto seen = [&](const QRect &r) { return teacherView ? turned(r, m_size) : r; };
    QList<QRect> units; // caption and box together, as seen from the pupils' side
    for (int desk = 1; desk <= room.deskCount(); ++desk) {
        const RoomCell cell = *room.cellOfDesk(desk);
        int x = columnLeft[cell.column];
        if (const int partner = room.partnerOf(desk))
            x += room.cellOfDesk(partner)->column > cell.column ? pairShift : -pairShift;
        units.append(QRect(x, boxTop(cell.row) - captionAbove, boxWidth, captionAbove + boxHeight));
        const QRect unit = seen(units.last());
        m_boxes.append(QRect(unit.left(), unit.top() + captionAbove, boxWidth, boxHeight));
        m_captions.append(QRect(unit.left() + (boxWidth - captionWidth) / 2, unit.top(), captionWidth, captionHeight));
    }
    m_desk = seen(QRect(left + (width - scaled(DeskWidth, sx)) / 2, boxTop(0) + boxHeight + scaled(DeskGap, sy),
                        scaled(DeskWidth, sx), scaled(DeskHeight, sy)));

    for (int column = 0; column + 1 < columns; ++column) {
        if (room.aisleAfter(column)) {
            const int from = columnLeft[column] + boxWidth;
            m_aisles.append(seen(QRect(from, top, columnLeft[column + 1] - from, boxTop(0) + boxHeight - top)));
        }
    }

    // A 班 of any shape: each desk padded by half the narrowest gaps (so that no two 班 meet and
    // none reaches another desk), and the whole gap filled between two desks of the 班 side by
    // side, one behind the other, and amid four of them.
    const int padX = (columnGap - 2 * pairShift) / 2;
    const int padY = narrowestRowGap / 2;
    const auto groupAt = [&](int row, int column) {
        const int desk = room.deskNumber({row, column});
        return desk != 0 ? room.groupOf(desk) : 0;
    };
    const auto unitAt = [&](int row, int column) { return units[room.deskNumber({row, column}) - 1]; };
    for (int number : room.groupNumbers()) {
        ChartGroup group{number, {}, {}};
        for (int desk = 1; desk <= room.deskCount(); ++desk) {
            if (room.groupOf(desk) != number)
                continue;
            const auto [row, column] = *room.cellOfDesk(desk);
            const QRect unit = units[desk - 1];
            group.frame.append(unit.adjusted(-padX, -padY, padX, padY));
            const bool right = groupAt(row, column + 1) == number, behind = groupAt(row + 1, column) == number;
            if (right) {
                group.frame.append(QRect(QPoint(unit.right() + 1, unit.top() - padY),
                                         QPoint(unitAt(row, column + 1).left() - 1, unit.bottom() + padY)));
            }
            if (behind) {
                const QRect back = unitAt(row + 1, column);
                group.frame.append(QRect(QPoint(std::min(unit.left(), back.left()) - padX, back.bottom() + 1),
                                         QPoint(std::max(unit.right(), back.right()) + padX, unit.top() - 1)));
            }
            if (right && behind && groupAt(row + 1, column + 1) == number) {
                const QRect back = unitAt(row + 1, column), side = unitAt(row, column + 1);
                group.frame.append(
                    QRect(QPoint(std::min(unit.right(), back.right()) + 1, back.bottom() + 1),
                          QPoint(std::max(side.left(), unitAt(row + 1, column + 1).left()) - 1, unit.top() - 1)));
            }
        }
        // The number beside the caption of the 班's desk nearest the top left corner as drawn.
        QRect corner;
        for (QRect &part : group.frame)
            part = seen(part);
        for (int desk = 1; desk <= room.deskCount(); ++desk) {
            const QRect unit = seen(units[desk - 1]);
            if (room.groupOf(desk) == number &&
                (corner.isNull() || std::pair(unit.top(), unit.left()) < std::pair(corner.top(), corner.left())))
                corner = unit;
        }
        group.label = QRect(corner.topLeft(), QSize((boxWidth - captionWidth) / 2, captionAbove));
        m_groups.append(group);
    }
}
