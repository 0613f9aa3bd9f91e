#pragma once

#include "core/classfile.h"
#include "core/message.h"
#include "core/roomedit.h"
#include "core/rosterfile.h"
#include "core/sharedstate.h"

#include <QStringList>

#include <optional>

// What the roster editor's register and close commands do, decided from the boxes'
// texts and the shared state. The editor asks the questions and shows the messages it
// is told to, writes the file, and moves on as told.
class RosterSession
{
public:
    explicit RosterSession(SharedState &s) : s_(s) {}

    enum class RegisterStep {
        AskRegisterEmpty, // no name in any box: register nobody?
        ReportSameName,   // a name stands twice
        ReportUnsavable,  // a box no roster file can hold; unsavable() says which
        ChooseFileAndSave,
    };
    // Takes the names into the shared state (names, count, the empty and duplicate
    // flags) and says what comes next.
    RegisterStep beginRegister(const QStringList &boxTexts);
    // The answer to the empty-roster question: true (OK) keeps the editor open, the
    // roster no longer empty; false closes it.
    bool keepEditingEmpty(bool ok);
    // The names the register command saves, seat order, empty boxes skipped.
    const QStringList &names() const { return names_; }
    std::optional<BoxProblem> unsavable() const { return unsavable_; }
    // The message of a step that reports or asks.
    MessageText message(RegisterStep step) const;
    // The roster was written to `path`: it is the roster now; the confirmation to show.
    MessageText saved(const QString &path);

    enum class CloseStep {
        Nothing,        // nothing to ask about: the caller decides
        AskSaveChanges, // OK registers, Cancel closes and goes on to the conditions
        AskDiscardNew,  // OK closes the editor
    };
    CloseStep beginClose(const QStringList &boxTexts);
    static MessageText message(CloseStep step);

private:
    SharedState &s_;
    QStringList boxTexts_;
    QStringList names_;
    std::optional<BoxProblem> unsavable_;
};

// The register command's message when the chosen file could not be written.
MessageText rosterNotSavedMessage(const QString &path, const QString &reason);

// The class's pinned desks, for the room editor's check.
QList<PinnedDesk> pinnedDesks(const DeskConditions &conditions);
// The class moves into `room`: a desk's condition goes along while its cell still holds a
// desk; the chart of the old room is dropped.
void moveClassToRoom(ClassModel &openClass, const Room &room);

// A roster saved at `rosterPath` keeps its class: the class file there is written when it holds
// another room, other pupils' details or other rules (a roster without one has the standard
// room and nothing else); the charts kept there stay. The reason on failure, else empty.
QString keepClassBeside(const QString &rosterPath, const ClassData &data);

// The roster was saved at `rosterPath` but its room could not be written beside it.
MessageText roomNotKeptMessage(const QString &rosterPath, const QString &reason);

// Opening a roster of `names` names whose room has `desks` desks, fewer: whether to set the
// room now (OK opens the room editor).
MessageText roomTooSmallQuestion(qsizetype names, int desks);
// Opening a roster whose class file could not be read: the reason, and whether the roster
// of `names` names opens in the standard room all the same.
MessageText classFileUnreadableMessage(const QString &rosterPath, const QString &reason, qsizetype names);
// A roster file of more names than any room holds.
MessageText rosterTooLongMessage();
