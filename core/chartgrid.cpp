#include "core/chartgrid.h"

#include "core/chartlayout.h"

namespace
{

const ChartLayout &standardLayout(bool teacherView)
{
    static const ChartLayout pupils(Room::standard(), false);
    static const ChartLayout teacher(Room::standard(), true);
    return teacherView ? teacher : pupils;
}

} // namespace

ChartCell chartCell(const Room &room, int desk, bool teacherView)
{
    const RoomCell cell = room.cellOfDesk(desk).value_or(RoomCell{});
    if (teacherView)
        return {room.columns() - 1 - cell.column, cell.row};
    return {cell.column, room.rows() - 1 - cell.row};
}

QRect seatBoxTwips(int seat, bool teacherView)
{
    return standardLayout(teacherView).box(seat);
}

QRect seatCaptionTwips(int seat, bool teacherView)
{
    return standardLayout(teacherView).caption(seat);
}

QRect deskTwips(bool teacherView)
{
    return standardLayout(teacherView).teachersDesk();
}
