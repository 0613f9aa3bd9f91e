#include "core/conditions.h"

#include <QMimeData>

#include <algorithm>

namespace
{

using Kind = DeskCondition::Kind;

// Desk by desk until the first name that is not one registrant; that desk and the
// ones after it keep what they held.
bool checkRegistrants(ClassModel &c, const SeatEntries &entries, const ShowConditionMessage &show)
{
    for (int k = 0; k < c.deskCount(); ++k) {
        const QString &text = entries.texts.at(k);
        if (text.isEmpty()) {
            c.conditions[k] = DeskCondition::free();
            continue;
        }
        const qsizetype times = c.pupils.count(text);
        if (times == 1) {
            c.conditions[k] = DeskCondition::pinned(text);
            continue;
        }
        // A name the roster holds twice would leave both pupils without a seat.
        show(times == 0 ? ConditionMessage::NotRegistrant : ConditionMessage::AmbiguousRegistrant, text);
        return false;
    }
    return true;
}

// The first pair only, the one with the lowest desks.
bool checkDuplicates(const DeskConditions &conditions, const ShowConditionMessage &show)
{
    for (qsizetype i = 0; i < conditions.size(); ++i) {
        if (conditions[i].kind != Kind::Pinned)
            continue;
        for (qsizetype j = i + 1; j < conditions.size(); ++j) {
            if (conditions[j] == conditions[i]) {
                show(ConditionMessage::SameNameTwice, conditions[i].pupil);
                return false;
            }
        }
    }
    return true;
}

struct EmptySeats {
    int count = 0;
    bool conflict = false; // a desk both named and ticked
};

EmptySeats collectEmptySeats(DeskConditions &conditions, const SeatEntries &entries)
{
    EmptySeats seats;
    for (qsizetype k = 0; k < conditions.size(); ++k) {
        if (!entries.ticked.at(k))
            continue;
        // A mark left by an earlier failed apply is no name.
        if (conditions[k].kind == Kind::Pinned) {
            seats.conflict = true;
            continue;
        }
        conditions[k] = DeskCondition::empty();
        ++seats.count;
    }
    return seats;
}

// The standard room, as the editor has always been drawn.
ConditionLayout standardLayout()
{
    ConditionLayout l;
    l.client = QSize(9525, 6555);
    l.registrantFrame = QRect(60, 390, 2565, 5775);
    l.registrantTitle = QRect(630, 360, 1335, 285);
    constexpr int Tops[14]{780, 1110, 1470, 1800, 2160, 2490, 2850, 3180, 3540, 3870, 4230, 4560, 4920, 5250};
    for (int i = 0; i < SeatCount; ++i)
        l.registrants.append(QRect(i < 14 ? 90 : 1320, Tops[i % 14], 1155, 255));
    l.classroomFrame = QRect(2610, 390, 6825, 5775);
    // Rows from the front; within a row the desk numbers grow from right to left.
    constexpr int RowTops[7]{4620, 3960, 3300, 2640, 1980, 1320, 690};
    for (int i = 0; i < SeatCount; ++i) {
        const int shift = 1650 * (i % 4), top = RowTops[i / 4];
        l.desks.append({QRect((i < 9 ? 5790 : 5730) - shift, top - 240, 600, 255), QRect(5370 - shift, top, 1275, 285),
                        QRect(5130 - shift, top - 120, 255, 495)});
    }
    l.teachersDesk = QRect(3030, 5100, 975, 285);
    return l;
}

// Registrant labels of any other room: columns of at most this many, this far apart.
constexpr int MaxListRows = 27;
constexpr int LabelStep = 300;
constexpr int ListColumnStep = 1230;
// The largest client area: a 1366 × 768 screen less the window's frame, title and menu bar.
constexpr QSize MaxClient{20250, 9900};
// Clear space round the classroom drawing inside its frame; ChartLayout keeps its own
// margins for the bars of the result window, which lie outside here.
constexpr int PlanPad = 150;
constexpr int ChartMarginX = ChartLayout::MarginX, ChartMarginY = ChartLayout::MarginY;
constexpr int TickWidth = 255, TickGap = 15;

QRect bounds(const ChartLayout &chart)
{
    QRect all = chart.teachersDesk();
    for (int desk = 1; desk <= chart.deskCount(); ++desk)
        all |= chart.box(desk) | chart.caption(desk);
    for (const ChartGroup &group : chart.groups()) {
        for (const QRect &part : group.frame)
            all |= part;
    }
    return all;
}

} // namespace

ConditionLayout conditionLayout(const Room &room)
{
    if (room.isStandard())
        return standardLayout();
    const ConditionLayout standard = standardLayout();
    ConditionLayout l;
    const int desks = room.deskCount();
    const int columns = std::max(2, (desks + MaxListRows - 1) / MaxListRows);
    const int perColumn = std::max(1, (desks + columns - 1) / columns);
    const int listWidth = 2 * 90 + columns * ListColumnStep - 75;
    const int listHeight = 780 + (perColumn - 1) * LabelStep + 255 + 270;

    // The room at full size decides how much of the screen the window takes.
    const QSize natural = bounds(ChartLayout(room, false, QSize(60000, 60000))).size();
    const int top = standard.classroomFrame.top();
    const int frameLeft = 60 + listWidth - 15;
    const int rightPad = standard.client.width() - standard.classroomFrame.right() - 1;
    const int frameHeight = std::clamp(std::max(natural.height() + 2 * PlanPad, listHeight),
                                       standard.classroomFrame.height(), MaxClient.height() - 2 * top);
    const int frameWidth = std::clamp(natural.width() + 2 * PlanPad, standard.classroomFrame.width(),
                                      MaxClient.width() - rightPad - frameLeft);
    l.client = QSize(std::max(standard.client.width(), frameLeft + frameWidth + rightPad),
                     std::max(standard.client.height(), frameHeight + 2 * top));
    l.registrantFrame = QRect(60, top, listWidth, frameHeight);
    l.registrantTitle = QRect((listWidth - 1335) / 2, 360, 1335, 285);
    for (int i = 0; i < desks; ++i)
        l.registrants.append(QRect(90 + i / perColumn * ListColumnStep, 780 + i % perColumn * LabelStep, 1155, 255));
    l.classroomFrame = QRect(frameLeft, top, frameWidth, frameHeight);

    const ChartLayout chart(
        room, false, QSize(frameWidth + 2 * (ChartMarginX - PlanPad), frameHeight + 2 * (ChartMarginY - PlanPad)));
    // Centred in the frame, whatever room the layout took.
    const QPoint shift(-(chart.size().width() - frameWidth) / 2, -(chart.size().height() - frameHeight) / 2);
    for (int desk = 1; desk <= desks; ++desk) {
        const QRect box = chart.box(desk).translated(shift), caption = chart.caption(desk).translated(shift);
        l.desks.append({QRect(caption.left(), caption.top(), box.right() - caption.left() + 1, caption.height()),
                        box.adjusted(TickWidth + TickGap, 0, 0, 0),
                        QRect(box.topLeft(), QSize(TickWidth, box.height()))});
    }
    l.teachersDesk = chart.teachersDesk().translated(shift);
    for (const QRect &aisle : chart.aisles())
        l.aisles.append(aisle.translated(shift));
    for (ChartGroup group : chart.groups()) {
        for (QRect &part : group.frame)
            part.translate(shift);
        group.label.translate(shift);
        l.groups.append(group);
    }
    return l;
}

SeatEntries takeConditionsForEditing(DeskConditions &conditions)
{
    SeatEntries entries(int(conditions.size()));
    for (qsizetype k = 0; k < conditions.size(); ++k) {
        if (conditions[k].kind == Kind::Empty) {
            entries.ticked[k] = true;
            conditions[k] = DeskCondition::free();
        } else {
            entries.texts[k] = conditions[k].text();
        }
    }
    return entries;
}

bool conditionsBeingEdited(const SeatEntries &entries)
{
    for (qsizetype i = 0; i < entries.texts.size(); ++i) {
        if (!entries.texts.at(i).isEmpty() || entries.ticked.at(i))
            return true;
    }
    return false;
}

MessageText conditionMessage(ConditionMessage message, const QString &name)
{
    switch (message) {
    case ConditionMessage::NotRegistrant:
        return {QStringLiteral("登録者以外の氏名を条件として設定しようとしました。"), QStringLiteral("設定者確認"),
                MsgStyle::Critical};
    case ConditionMessage::SameNameTwice:
        return {QStringLiteral("同じ氏名を条件として設定しようとしました。"), QStringLiteral("設定者重複"),
                MsgStyle::Critical};
    case ConditionMessage::SeatsDoNotAddUp:
        return {QStringLiteral("登録者数と空座席数の関係に矛盾があるか、\r指定座席に空座席を設定しようとしました。"),
                QStringLiteral("設定確認"), MsgStyle::Critical};
    case ConditionMessage::Applied:
        return {QStringLiteral("条件を設定しました。"), QStringLiteral("設定確認"), MsgStyle::Information};
    case ConditionMessage::DiscardQuestion:
        return {QStringLiteral("設定中の条件があります。それらを破棄しますか？"), QStringLiteral("条件破棄確認"),
                MsgStyle::OkCancel | MsgStyle::Question};
    case ConditionMessage::AmbiguousRegistrant:
        return {QStringLiteral("「%1」は名簿に同じ氏名が複数あるため、座席を指定できません。").arg(name),
                QStringLiteral("設定者確認"), MsgStyle::Critical};
    }
    return {};
}

bool applyConditions(SharedState &s, const SeatEntries &entries, const ShowConditionMessage &show)
{
    ClassModel &c = s.openClass;
    s.MatchFound = false;
    if (!checkRegistrants(c, entries, show))
        s.MatchFound = true;
    if (!s.MatchFound && !checkDuplicates(c.conditions, show))
        s.MatchFound = true;
    // Collected and checked whatever the checks before found.
    const EmptySeats empty = collectEmptySeats(c.conditions, entries);
    if (empty.conflict || empty.count > c.deskCount() - int(c.pupils.size())) {
        s.MatchFound = true;
        show(ConditionMessage::SeatsDoNotAddUp, {});
    }
    return !s.MatchFound;
}

void discardConditions(DeskConditions &conditions)
{
    conditions.fill(DeskCondition::free());
}

namespace
{
const QString RegistrantFormat = QStringLiteral("application/x-narabin-registrant");
const QString RegistrantLabelFormat = QStringLiteral("application/x-narabin-registrant-label");
} // namespace

QMimeData *registrantMimeData(const QString &tag, int label)
{
    auto *data = new QMimeData;
    data->setData(RegistrantFormat, tag.toUtf8());
    data->setData(RegistrantLabelFormat, QByteArray::number(label));
    return data;
}

bool registrantTag(const QMimeData *data, QString *tag)
{
    if (!data || !data->hasFormat(RegistrantFormat))
        return false;
    if (tag)
        *tag = QString::fromUtf8(data->data(RegistrantFormat));
    return true;
}

int registrantLabel(const QMimeData *data)
{
    bool ok = false;
    const int label = data && data->hasFormat(RegistrantFormat) ? data->data(RegistrantLabelFormat).toInt(&ok) : -1;
    return ok ? label : -1;
}
