#include "core/resultsave.h"

#include "core/filelock.h"
#include "core/resultfile.h"
#include "core/resultlog.h"
#include "core/textfile.h"

#include <QDir>

#include <functional>

namespace
{
ResultSaveOutcome saveWith(const QString &folder, const QString &name,
                           const std::function<QString(const QString &path)> &writeResult)
{
    using Kind = ResultSaveOutcome::Kind;
    ResultSaveOutcome out;
    out.name = name;
    out.resultPath = QDir(folder).absoluteFilePath(name);
    out.logPath = resultLogPath(folder);
    if (name.compare(resultLogName(), Qt::CaseInsensitive) == 0)
        out.kind = Kind::LogFileName;
    // The log reads a name in double quotes as one field; a quote inside it could not be read back.
    else if (name.contains(QLatin1Char('"')))
        out.kind = Kind::NameWithQuote;
    else if (!fitsCp932(name))
        out.kind = Kind::NameNotCp932;
    if (out.kind != Kind::Saved)
        return out;
    // Held from before the result is written, so that a log another copy keeps busy
    // leaves nothing written at all.
    const FileLock lock(resultLogLockTarget(folder));
    if (!lock.held()) {
        out.kind = Kind::ResultNotWritten;
        out.reason = lock.error();
        return out;
    }
    out.reason = writeResult(out.resultPath);
    if (!out.reason.isEmpty()) {
        out.kind = Kind::ResultNotWritten;
        return out;
    }
    const FieldsRead log = readResultLog(folder);
    if (!log.ok) {
        out.kind = Kind::LogNotRead;
        out.reason = log.error;
        return out;
    }
    out.log = appendToResultLog(log.fields, name);
    out.reason = writeResultLog(folder, out.log);
    if (!out.reason.isEmpty())
        out.kind = Kind::LogNotWritten;
    return out;
}
} // namespace

ResultSaveOutcome saveResult(const QString &folder, const QString &name, const QStringList &seats)
{
    return saveWith(folder, name, [&](const QString &path) { return writeResultFile(path, seats); });
}

ResultSaveOutcome saveResult(const QString &folder, const QString &name, const Room &room, const QStringList &desks)
{
    if (room.isStandard())
        return saveResult(folder, name, desks);
    return saveWith(folder, name, [&](const QString &path) {
        return writeResultFile(path, room, chartFromTexts(desks, room.deskCount()));
    });
}

MessageText resultSaveMessage(const ResultSaveOutcome &outcome)
{
    using Kind = ResultSaveOutcome::Kind;
    const QString result = QDir::toNativeSeparators(outcome.resultPath);
    QString text;
    switch (outcome.kind) {
    case Kind::Saved:
        return {QStringLiteral("ならびん結果を保存しました。"), QStringLiteral("保存確認"), MsgStyle::Information};
    case Kind::LogFileName:
        text = QStringLiteral("「%1」は過去ﾛｸﾞのﾌｧｲﾙです。結果は別の名前で保存して下さい。").arg(outcome.name);
        break;
    case Kind::NameWithQuote:
        text = QStringLiteral(
                   "ﾌｧｲﾙ名「%1」には過去ﾛｸﾞに記録できない文字（\"）が含まれています。別の名前で保存して下さい。")
                   .arg(outcome.name);
        break;
    case Kind::NameNotCp932:
        text = QStringLiteral("ﾌｧｲﾙ名「%1」には過去ﾛｸﾞに記録できない文字が含まれています。別の名前で保存して下さい。")
                   .arg(outcome.name);
        break;
    case Kind::ResultNotWritten:
        text = QStringLiteral("結果ﾌｧｲﾙ「%1」を保存できませんでした。\n%2").arg(result, outcome.reason);
        break;
    case Kind::LogNotRead:
    case Kind::LogNotWritten:
        text = QStringLiteral("結果ﾌｧｲﾙ「%1」は保存しましたが、過去ﾛｸﾞ「%2」に記録できませんでした。\n%3")
                   .arg(result, QDir::toNativeSeparators(outcome.logPath), outcome.reason);
        break;
    }
    return {text, QStringLiteral("保存エラー"), MsgStyle::Critical};
}
