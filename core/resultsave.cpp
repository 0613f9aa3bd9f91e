#include "core/resultsave.h"

#include "core/filelock.h"
#include "core/resultfile.h"
#include "core/resultlog.h"
#include "core/textfile.h"

#include <QDir>

#include <algorithm>

ResultSaveOutcome saveResult(const QString &folder, const QString &name, const Room &room, const QStringList &texts)
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
    // Blank texts past the last desk are the padding of a shorter chart; a name there would be lost.
    const auto beyond = std::find_if(texts.cbegin() + std::min<qsizetype>(room.deskCount(), texts.size()), texts.cend(),
                                     [](const QString &text) { return !text.trimmed().isEmpty(); });
    const Chart chart = chartFromTexts(texts, beyond == texts.cend() ? room.deskCount() : int(texts.size()));
    // Held from before the result is written, so that a log another copy keeps busy
    // leaves nothing written at all.
    const FileLock lock(resultLogLockTarget(folder));
    if (!lock.held()) {
        out.kind = Kind::ResultNotWritten;
        out.reason = lock.error();
        return out;
    }
    out.reason = writeResultFile(out.resultPath, room, chart);
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
