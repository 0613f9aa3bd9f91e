// The result log read as the main window's creation, a save and a deletion read it.
#include "fuzzcheck.h"

#include "core/resultlog.h"
#include "core/sharedstate.h"
#include "core/textfile.h"

namespace
{

// A stand-in for the folder: which entries name a file there.
bool presentByName(const QString &name)
{
    return name.size() % 3 != 0;
}

bool isSubsequence(const QStringList &part, const QStringList &whole)
{
    qsizetype at = 0;
    for (const QString &name : part) {
        while (at < whole.size() && whole.at(at) != name)
            ++at;
        if (at == whole.size())
            return false;
        ++at;
    }
    return true;
}

void checkWrittenAgain(const QStringList &log)
{
    for (const QString &name : log) {
        if (!fitsCp932(name) || (!name.isEmpty() && !fieldReadsBack(name)))
            return;
    }
    const QString folder = fuzz::scratchFolder();
    FUZZ_CHECK(writeResultLog(folder, log).isEmpty());
    if (fuzz::readsAsUtf8(fuzz::fileBytes(resultLogPath(folder))))
        return;
    const FieldsRead again = readResultLog(folder);
    FUZZ_CHECK(again.ok);
    QStringList expected;
    for (const QString &name : log)
        expected.append(toCp932Forms(name));
    FUZZ_CHECK(again.fields == expected);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const FieldsRead log = fieldsFromBytes(bytes);
    if (!log.ok)
        return 0;

    // The main window's creation: one item per listed entry, a bounded number.
    const QStringList listed = pastLogEntries(log.fields);
    FUZZ_CHECK(listed.size() <= ResultLogCapacity);
    FUZZ_CHECK(listed == log.fields.mid(log.fields.size() - listed.size()));
    FUZZ_CHECK(listed.size() == qMin<qsizetype>(log.fields.size(), ResultLogCapacity));

    // A save: the new name last, at most 15 kept, the newest ones.
    SharedState s;
    s.ResultLogList = appendToResultLog(log.fields, QStringLiteral("新しい結果.rlt"));
    FUZZ_CHECK(s.ResultLogList.size() == qMin<qsizetype>(log.fields.size() + 1, ResultLogCapacity));
    FUZZ_CHECK(s.ResultLogList.constLast() == QStringLiteral("新しい結果.rlt"));
    FUZZ_CHECK(s.ResultLogList.mid(0, s.ResultLogList.size() - 1) ==
               log.fields.mid(log.fields.size() - (s.ResultLogList.size() - 1)));
    checkWrittenAgain(s.ResultLogList);

    // A deletion's cleaning: the entries present, in their order, no empty one.
    const QStringList kept = cleanResultLog(log.fields, presentByName);
    FUZZ_CHECK(isSubsequence(kept, log.fields));
    for (const QString &name : kept)
        FUZZ_CHECK(!name.isEmpty() && presentByName(name));
    qsizetype present = 0;
    for (const QString &name : log.fields)
        present += !name.isEmpty() && presentByName(name);
    FUZZ_CHECK(kept.size() == present);
    return 0;
}
