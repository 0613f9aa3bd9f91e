#pragma once

#include "core/message.h"
#include "core/room.h"

#include <QString>
#include <QStringList>

// Saving a chart: its result file `name` in `folder`, and the name appended to the log
// of that folder (at most 15 kept). The checks on the name come first, so that a name
// the log could not hold writes nothing.
struct ResultSaveOutcome {
    enum class Kind {
        Saved,
        LogFileName,      // the name is the log's own
        NameWithQuote,    // the log could not read the name back
        NameNotCp932,     // the log cannot hold a character of the name
        ResultNotWritten, // nothing written
        LogNotRead,       // the result written, the log left as it was
        LogNotWritten,    // the result written, the log left as it was
    };
    Kind kind = Kind::Saved;
    QString name;
    QString resultPath;
    QString logPath;
    QString reason;  // why writing or reading failed
    QStringList log; // the log's entries after the save (also when writing it failed)
};
ResultSaveOutcome saveResult(const QString &folder, const QString &name, const QStringList &seats);
// The same for the chart of any room: the texts of its desks, desk 1 first.
ResultSaveOutcome saveResult(const QString &folder, const QString &name, const Room &room, const QStringList &desks);

// What the user is told: the confirmation, or what failed and why.
MessageText resultSaveMessage(const ResultSaveOutcome &outcome);
