#include "core/rostersession.h"

#include <QDir>

RosterSession::RegisterStep RosterSession::beginRegister(const QStringList &boxTexts)
{
    boxTexts_ = boxTexts;
    names_ = collectNames(boxTexts);
    s_.openClass.pupils = names_;
    s_.RosterEmpty = names_.isEmpty();
    s_.MatchFound = hasDuplicateName(names_);
    if (s_.RosterEmpty)
        return RegisterStep::AskRegisterEmpty;
    if (s_.MatchFound)
        return RegisterStep::ReportSameName;
    // Refused before the file is chosen, so nothing is written.
    unsavable_ = firstUnsavableBox(boxTexts);
    if (unsavable_)
        return RegisterStep::ReportUnsavable;
    return RegisterStep::ChooseFileAndSave;
}

bool RosterSession::keepEditingEmpty(bool ok)
{
    if (ok)
        s_.RosterEmpty = false;
    return ok;
}

MessageText RosterSession::message(RegisterStep step) const
{
    switch (step) {
    case RegisterStep::AskRegisterEmpty:
        return {QStringLiteral("新規にメンバーが登録されていません。登録しますか？"), QStringLiteral("登録確認"),
                MsgStyle::OkCancel | MsgStyle::Question};
    case RegisterStep::ReportSameName:
        return {QStringLiteral("同じ氏名を登録しようとしました。"), QStringLiteral("登録者重複"), MsgStyle::Critical};
    case RegisterStep::ReportUnsavable: break;
    case RegisterStep::ChooseFileAndSave: return {};
    }
    const int index = unsavable_ ? unsavable_->index : 0;
    const QString reason =
        unsavable_ && unsavable_->problem == NameProblem::NotCp932
            ? QStringLiteral("No.%1 の氏名「%2」には名簿ファイルに保存できない文字が含まれています。\r\n"
                             "別の文字に置き換えて下さい。")
            : QStringLiteral("No.%1 の氏名「%2」は名簿ファイルに保存すると同じ氏名に戻りません。\r\n"
                             "制御文字や、「\"」で始まる氏名は使えません。");
    return {reason.arg(index + 1).arg(boxTexts_.value(index)), QStringLiteral("使用できない文字"), MsgStyle::Critical};
}

MessageText RosterSession::saved(const QString &path)
{
    s_.RosterFileName = s_.ClassRosterPath = path;
    if (!s_.RosterFromFile)
        return {QStringLiteral("新規にメンバーを登録しました。"), QStringLiteral("登録確認"), MsgStyle::Information};
    s_.RosterFromFile = false; // the report of a correction is made once
    return {QStringLiteral("メンバーを修正しました。"), QStringLiteral("修正確認"), MsgStyle::Information};
}

RosterSession::CloseStep RosterSession::beginClose(const QStringList &boxTexts)
{
    if (s_.RosterLoaded || s_.RosterEmpty) {
        s_.CountChanged = collectNames(boxTexts).size() != s_.openClass.pupils.size();
        if (!s_.RosterEdited && !s_.CountChanged)
            return CloseStep::Nothing;
        return CloseStep::AskSaveChanges;
    }
    if (!s_.RosterFileName.isEmpty())
        return CloseStep::Nothing;
    return CloseStep::AskDiscardNew;
}

MessageText RosterSession::message(CloseStep step)
{
    const int ask = MsgStyle::OkCancel | MsgStyle::Question;
    if (step == CloseStep::AskSaveChanges)
        return {QStringLiteral("名簿は変更されています。保存しますか？"), QStringLiteral("変更確認"), ask};
    if (step == CloseStep::AskDiscardNew)
        return {QStringLiteral("新規名簿を取消してよろしいですか？"), QStringLiteral("新規作成"), ask};
    return {};
}

MessageText rosterNotSavedMessage(const QString &path, const QString &reason)
{
    // The file in use stays the one before: nothing was saved under the new name.
    return {QStringLiteral("名簿ファイルを保存できませんでした。\r\n") + QDir::toNativeSeparators(path) +
                QStringLiteral("\r\n") + reason,
            QStringLiteral("保存エラー"), MsgStyle::Critical};
}

QList<PinnedDesk> pinnedDesks(const DeskConditions &conditions)
{
    QList<PinnedDesk> pins;
    for (int i = 0; i < conditions.size(); ++i) {
        if (conditions.at(i).kind == DeskCondition::Kind::Pinned)
            pins.append({i + 1, conditions.at(i).pupil});
    }
    return pins;
}

void moveClassToRoom(ClassModel &openClass, const Room &room)
{
    const Room before = openClass.room;
    const DeskConditions conditions = openClass.conditions;
    openClass.setRoom(room);
    for (int desk = 1; desk <= conditions.size(); ++desk) {
        if (const int moved = deskInChangedRoom(before, room, desk))
            openClass.conditions[moved - 1] = conditions.at(desk - 1);
    }
}

QString keepClassBeside(const QString &rosterPath, const ClassData &data)
{
    return changeClassFile(rosterPath, [&data](ClassData &there) {
        // The year's charts are the file's own: the roster editor never holds them.
        const std::optional<Ledger> charts = there.charts;
        there = data;
        there.charts = charts;
    });
}

namespace
{
const QString RoomTitle = QStringLiteral("教室の設定");
}

MessageText roomTooSmallQuestion(qsizetype names, int desks)
{
    return {QStringLiteral("この名簿には%1人の氏名がありますが、教室の机は%2台です。\r\n"
                           "教室の設定を開いて、机を増やしますか？")
                .arg(names)
                .arg(desks),
            RoomTitle, MsgStyle::OkCancel | MsgStyle::Question};
}

MessageText classFileUnreadableMessage(const QString &rosterPath, const QString &reason, qsizetype names)
{
    const int desks = Room::standard().deskCount();
    const QString outcome =
        names <= desks
            ? QStringLiteral("名簿は標準の教室（机%1台）で開きます。このファイルは書き換えません。").arg(desks)
            : QStringLiteral("名簿の%1人は標準の教室（机%2台）に入らないため、名簿を開けません。\r\n"
                             "このファイルを直すか取り除いてから、もう一度開いて下さい。")
                  .arg(names)
                  .arg(desks);
    return {QStringLiteral("クラスの設定ファイルを読めません。\r\n") +
                QDir::toNativeSeparators(classFilePath(rosterPath)) + QStringLiteral("\r\n") + reason +
                QStringLiteral("\r\n") + outcome,
            RoomTitle, names <= desks ? MsgStyle::Exclamation : MsgStyle::Critical};
}

MessageText rosterTooLongMessage()
{
    return {QStringLiteral("名簿の氏名が多すぎます。1つの名簿に入るのは%1人までです。").arg(MaxRosterNames),
            QStringLiteral("名簿の存在確認"), MsgStyle::Critical};
}

MessageText roomNotKeptMessage(const QString &rosterPath, const QString &reason)
{
    return {QStringLiteral("名簿は保存しましたが、教室の設定を保存できませんでした。\r\n") +
                QDir::toNativeSeparators(classFilePath(rosterPath)) + QStringLiteral("\r\n") + reason +
                QStringLiteral("\r\n次に開くときは、教室の設定をもう一度行って下さい。"),
            RoomTitle, MsgStyle::Exclamation};
}
