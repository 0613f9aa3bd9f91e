#include "core/chartgrid.h"

#include <array>

namespace
{

constexpr int Columns = 4;
constexpr int Lines = 7;

// Box left edge by column, and box top edge by line seen from the pupils' side.
constexpr std::array<int, Columns> BoxLeft{735, 2895, 5055, 7215};
constexpr std::array<int, Lines> BoxTop{810, 1530, 2250, 3000, 3690, 4410, 5130};
constexpr int BoxWidth = 1575;
constexpr int BoxHeight = 345;
constexpr int CaptionWidth = 735;
constexpr int CaptionHeight = 255;
constexpr int CaptionAbove = 240;
constexpr QRect Desk(4215, 5670, 1095, 315);
// The client area the chart is turned within.
constexpr int AreaHeight = 6555;

// From the desk a seat (caption and box together) and the desk take the place that turning the
// area half round gives them; the chart is centred across, so only the heights change.
int turnedTop(int top, int above, int height)
{
    return AreaHeight - (top - above + height) + above;
}

} // namespace

ChartCell seatCell(int seat, bool teacherView)
{
    const int row = (seat - 1) / Columns;   // 0: the front row
    const int place = (seat - 1) % Columns; // 0: the first seat of its row
    if (teacherView)
        return {place, row};
    return {Columns - 1 - place, Lines - 1 - row};
}

int deskLine(bool teacherView)
{
    return teacherView ? -1 : Lines;
}

QRect seatBoxTwips(int seat, bool teacherView)
{
    const ChartCell cell = seatCell(seat, teacherView);
    const int top = teacherView
                        ? turnedTop(BoxTop[size_t(Lines - 1 - cell.line)], CaptionAbove, CaptionAbove + BoxHeight)
                        : BoxTop[size_t(cell.line)];
    return QRect(BoxLeft[size_t(cell.column)], top, BoxWidth, BoxHeight);
}

QRect seatCaptionTwips(int seat, bool teacherView)
{
    const QRect box = seatBoxTwips(seat, teacherView);
    return QRect(box.left() + (BoxWidth - CaptionWidth) / 2, box.top() - CaptionAbove, CaptionWidth, CaptionHeight);
}

QRect deskTwips(bool teacherView)
{
    return teacherView ? QRect(Desk.left(), turnedTop(Desk.top(), 0, Desk.height()), Desk.width(), Desk.height())
                       : Desk;
}
