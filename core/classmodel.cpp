#include "core/classmodel.h"

void ClassModel::setRoom(const Room &newRoom)
{
    room = newRoom;
    conditions = DeskConditions(room.deskCount());
    chart = Chart(room.deskCount());
}
