#include "core/conditions.h"

#include <QMimeData>

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

} // namespace

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
