#pragma once

#include "core/chartlayout.h"
#include "core/message.h"
#include "core/sharedstate.h"

#include <QList>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>

class QMimeData;

// Where the condition editor puts its controls for a room, in twips: the frames in the client
// area, the registrant labels and their title in the left frame, everything of the classroom in
// the right one. The standard room keeps the places it always had; any other room is drawn as
// the chart draws it (班 frames, aisles and pairs included), each desk's tick cut from the left
// of its box, and the window grows, up to a 1366 × 768 screen, to hold the room and one label
// per desk in columns.
struct ConditionDeskPlace {
    QRect caption, box, tick;
};
struct ConditionLayout {
    QSize client;
    QRect registrantFrame, registrantTitle;
    QList<QRect> registrants; // one per desk
    QRect classroomFrame;
    QList<ConditionDeskPlace> desks; // desk 1 first
    QRect teachersDesk;
    QList<QRect> aisles;
    QList<ChartGroup> groups;
};
ConditionLayout conditionLayout(const Room &room);

// What the condition editor shows for each desk (desk 1 first): the name in its box and
// whether it is ticked as empty.
struct SeatEntries {
    explicit SeatEntries(int desks = SeatCount) : texts(desks), ticked(desks, false) {}
    QStringList texts;
    QList<bool> ticked;
};

// The stored conditions as the editor shows them when it opens: names in the boxes,
// "-" marks as ticks. The marks leave the stored conditions; the next apply writes
// them back.
SeatEntries takeConditionsForEditing(DeskConditions &conditions);

// Whether anything is entered: a name in a box or a ticked seat.
bool conditionsBeingEdited(const SeatEntries &entries);

// The editor's messages, numbered as the apply and cancel commands use them.
enum class ConditionMessage {
    NotRegistrant = 1,   // a name that is not in the roster
    SameNameTwice = 2,   // one name on two seats
    SeatsDoNotAddUp = 3, // too many empty seats, or a seat both named and empty
    Applied = 4,
    DiscardQuestion = 5,
    AmbiguousRegistrant = 6, // the name stands more than once in the roster
};
// `name` fills in the message that names the registrant.
MessageText conditionMessage(ConditionMessage message, const QString &name = {});

// Called with each message of an apply as it arises, and the name it is about.
using ShowConditionMessage = std::function<void(ConditionMessage, const QString &name)>;

// Apply: the registrant check (stops at the first seat whose name is not a registrant),
// the duplicate check (only when the registrant check passed), the empty-seat collection
// and the capacity check, in this order, writing the conditions and MatchFound as they
// go, one entry per desk of the open class. A failed apply keeps what it wrote. True when the conditions were stored
// whole.
bool applyConditions(SharedState &s, const SeatEntries &entries, const ShowConditionMessage &show);

// Cancel after the user agreed: every seat free again.
void discardConditions(DeskConditions &conditions);

// What a drag of a registrant's name carries: the label's tag and which label it is.
QMimeData *registrantMimeData(const QString &tag, int label);
// The tag a drag carries; false when the drag is not a registrant's name.
bool registrantTag(const QMimeData *data, QString *tag);
// The registrant label a drag came from; -1 when it is not a registrant's name.
int registrantLabel(const QMimeData *data);
