#include "core/conditions.h"

#include <QMimeData>

namespace
{

const QString EmptySeatMark = QStringLiteral("-");

// How often a name stands among the registrants.
int timesRegistered(const SharedState &s, const QString &name)
{
    int count = 0;
    for (int r = 1; r <= qMin(int(s.PupilCount), SeatCount); ++r)
        count += s.PupilNames[size_t(r)] == name ? 1 : 0;
    return count;
}

// Seat by seat until the first name that is not one registrant; that seat and the
// ones after it keep what they held.
bool checkRegistrants(SharedState &s, const SeatEntries &entries, const ShowConditionMessage &show)
{
    for (int k = 1; k <= SeatCount; ++k) {
        const QString &text = entries.texts.at(k - 1);
        if (text.isEmpty()) {
            s.SeatConditions[size_t(k)].clear();
            continue;
        }
        const int times = timesRegistered(s, text);
        if (times == 1) {
            s.SeatConditions[size_t(k)] = text;
            continue;
        }
        // A name the roster holds twice would leave both pupils without a seat.
        show(times == 0 ? ConditionMessage::NotRegistrant : ConditionMessage::AmbiguousRegistrant, text);
        return false;
    }
    return true;
}

// The first pair only, the one with the lowest seats.
bool checkDuplicates(const Slots &conditions, const ShowConditionMessage &show)
{
    for (int i = 1; i < SeatCount; ++i) {
        const QString &name = conditions[size_t(i)];
        if (name.isEmpty())
            continue;
        for (int j = i + 1; j <= SeatCount; ++j) {
            if (conditions[size_t(j)] == name) {
                show(ConditionMessage::SameNameTwice, name);
                return false;
            }
        }
    }
    return true;
}

struct EmptySeats {
    int count = 0;
    bool conflict = false; // a seat both named and ticked
};

EmptySeats collectEmptySeats(Slots &conditions, const SeatEntries &entries)
{
    EmptySeats seats;
    for (int k = 1; k <= SeatCount; ++k) {
        if (!entries.ticked.at(k - 1))
            continue;
        QString &condition = conditions[size_t(k)];
        // A mark left by an earlier failed apply is no name.
        if (!condition.isEmpty() && condition != EmptySeatMark) {
            seats.conflict = true;
            continue;
        }
        condition = EmptySeatMark;
        ++seats.count;
    }
    return seats;
}

} // namespace

SeatEntries takeConditionsForEditing(Slots &conditions)
{
    SeatEntries entries;
    for (int k = 1; k <= SeatCount; ++k) {
        QString &condition = conditions[size_t(k)];
        if (condition == EmptySeatMark) {
            entries.ticked[k - 1] = true;
            condition.clear();
        } else {
            entries.texts[k - 1] = condition;
        }
    }
    return entries;
}

bool conditionsBeingEdited(const SeatEntries &entries)
{
    for (int i = 0; i < SeatCount; ++i) {
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
    s.MatchFound = false;
    if (!checkRegistrants(s, entries, show))
        s.MatchFound = true;
    if (!s.MatchFound && !checkDuplicates(s.SeatConditions, show))
        s.MatchFound = true;
    // Collected and checked whatever the checks before found.
    const EmptySeats empty = collectEmptySeats(s.SeatConditions, entries);
    if (empty.conflict || empty.count > SeatCount - int(s.PupilCount)) {
        s.MatchFound = true;
        show(ConditionMessage::SeatsDoNotAddUp, {});
    }
    return !s.MatchFound;
}

void discardConditions(Slots &conditions)
{
    for (int k = 1; k <= SeatCount; ++k)
        conditions[size_t(k)].clear();
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
