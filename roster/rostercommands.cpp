#include "roster/rostercommands.h"

#include "core/classfile.h"
#include "core/rosterfile.h"
#include "platform/platform.h"
#include "roster/rostereditor.h"

#include <QLineEdit>

void fileCreateCommand()
{
    SharedState &s = state();
    s.RosterFileName.clear();
    s.RosterEmpty = false;
    s.RosterLoaded = false;
    // A roster not yet saved has no class file: the standard room.
    s.openClass = ClassModel{};
    RosterEditor *editor = form<RosterEditor>();
    for (QLineEdit *box : editor->seatBoxes)
        box->clear();
    editor->rosterSpellings.clear();
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
} // namespace

void fileOpenCommand(CommonDialog &dialog, QWidget *owner)
{
    SharedState &s = state();
    dialog.showOpen(owner);
    s.RosterFileName = dialog.fileName;
    if (s.RosterFileName.isEmpty())
        return;
    s.openClass = ClassModel{};
    const ClassRead classRead = readClassFile(s.RosterFileName);
    s.openClass.setRoom(classRead.data.room);

    const RosterRead read = readRosterFile(s.RosterFileName);
    takeRosterRead(s, read);
    if (!read.ok() || read.names.size() > s.openClass.deskCount()) {
        // An editor left open from before would now show names the shared roster no
        // longer holds.
        unload<RosterEditor>();
        reportMissingRoster(owner);
        return;
    }
    RosterEditor *editor = form<RosterEditor>();
    editor->rosterSpellings = read.spellings;
    for (int i = 0; i < int(editor->seatBoxes.size()); ++i)
        editor->seatBoxes[size_t(i)]->setText(i < read.names.size() ? read.names.at(i) : QString());
    editor->show();
    editor->raise();
    editor->activateWindow();
}
