#include "roster/rostercommands.h"

#include "core/classfile.h"
#include "core/rosterfile.h"
#include "core/rostersession.h"
#include "platform/platform.h"
#include "roster/roomeditor.h"
#include "roster/rostereditor.h"

#include <QDir>
#include <QLineEdit>

void fileCreateCommand()
{
    SharedState &s = state();
    s.RosterFileName.clear();
    s.ClassRosterPath.clear();
    s.RosterEmpty = false;
    s.RosterLoaded = false;
    // A roster not yet saved has no class file: the standard room.
    s.openClass = ClassModel{};
    RosterEditor *editor = form<RosterEditor>();
    for (QLineEdit *box : editor->seatBoxes)
        box->clear();
    editor->showRoom(s.openClass.room);
    editor->rosterSpellings.clear();
    editor->namesOpened.clear();
    // An editor already open without blocking becomes modal only when shown anew.
    if (editor->isVisible())
        editor->hide();
    editor->showModal();
}

namespace
{
void reportMissingRoster(QWidget *owner)
{
    showMessage(owner, QStringLiteral("指定した名簿がありません。存在を確認して下さい。"), MsgStyle::Critical,
                QStringLiteral("名簿の存在確認"));
}

// The class the roster at `path` opens as: its class file's, the standard one when that cannot be
// read (reported, the file left as it is), or one with a room set now for more names than its
// room holds. Nothing when the roster does not open.
std::optional<ClassData> classToOpenAs(const QString &path, qsizetype names, QWidget *owner)
{
    ClassRead classRead = readClassFile(path);
    const QString problem =
        classRead.status == ClassRead::Status::Unreadable ? classRead.error : classRead.data.room.problem();
    if (!problem.isEmpty()) {
        showMessage(owner, classFileUnreadableMessage(path, problem, names));
        return names <= Room::standard().deskCount() ? std::optional(ClassData{}) : std::nullopt;
    }
    ClassData &data = classRead.data;
    if (names <= data.room.deskCount())
        return data;
    if (showMessage(owner, roomTooSmallQuestion(names, data.room.deskCount())) != IDOK)
        return std::nullopt;
    // The room editor refuses a room that still holds too few.
    const std::optional<Room> room = editRoomModally(path, int(names), {});
    if (!room)
        return std::nullopt;
    data.room = *room;
    return data;
}
} // namespace

void fileOpenCommand(CommonDialog &dialog, QWidget *owner)
{
    SharedState &s = state();
    dialog.showOpen(owner);
    s.RosterFileName = dialog.fileName;
    if (s.RosterFileName.isEmpty())
        return;
    s.ClassRosterPath = s.RosterFileName;
    s.openClass = ClassModel{};
    const RosterRead read = readRosterFile(s.RosterFileName);
    takeRosterRead(s, read);
    // An editor left open from before would show names the shared roster no longer holds.
    if (!read.ok()) {
        unload<RosterEditor>();
        if (read.outcome == RosterRead::Outcome::TooMany)
            showMessage(owner, rosterTooLongMessage());
        else
            reportMissingRoster(owner);
        return;
    }
    const std::optional<ClassData> data = classToOpenAs(s.RosterFileName, read.names.size(), owner);
    if (!data) {
        unload<RosterEditor>();
        return;
    }
    s.openClass.setRoom(data->room);
    s.openClass.info = data->pupils;
    s.openClass.rules = data->rules;
    s.openClass.year = data->charts ? *data->charts : classChartsInLog(QDir::currentPath(), read.names);

    RosterEditor *editor = form<RosterEditor>();
    editor->showRoom(data->room);
    editor->rosterSpellings = read.spellings;
    editor->namesOpened = read.names;
    for (int i = 0; i < editor->seatBoxes.size(); ++i)
        editor->seatBoxes.at(i)->setText(read.names.value(i));
    editor->show();
    editor->raise();
    editor->activateWindow();
}

void roomSettingsCommand(QWidget *owner)
{
    SharedState &s = state();
    if (RosterEditor *editor = loadedForm<RosterEditor>(); editor && editor->isVisible()) {
        editor->editRoom();
        return;
    }
    if (s.RosterFileName.isEmpty()) {
        showMessage(owner,
                    QStringLiteral("教室の設定は、名簿を開いてから行えます。\r\n"
                                   "先に「名簿を開く」か「名簿の新規作成」で名簿を用意して下さい。"),
                    MsgStyle::Information, QStringLiteral("教室の設定"));
        return;
    }
    const std::optional<Room> room =
        editRoomModally(s.RosterFileName, int(s.openClass.pupils.size()), pinnedDesks(s.openClass.conditions));
    if (room)
        moveClassToRoom(s.openClass, *room);
}
