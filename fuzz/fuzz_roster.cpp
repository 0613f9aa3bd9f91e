// A roster file read into the shared state as File>Open does, and saved again.
#include "fuzzcheck.h"

#include "core/rosterfile.h"
#include "core/sharedstate.h"
#include "core/textfile.h"

#include <QDir>

namespace
{

using Outcome = RosterRead::Outcome;

void checkState(const SharedState &s, const RosterRead &read)
{
    FUZZ_CHECK(s.openClass.pupils == read.names);
    FUZZ_CHECK(s.RosterFromFile && s.RosterLoaded);
}

// A roster that opened is saved as the register command would, and must open again
// with the same names; saving that gives the same bytes.
void checkSavedAgain(const RosterRead &read)
{
    for (const QString &name : read.names) {
        if (!fitsCp932(name) || !fieldReadsBack(name, true))
            return;
    }
    const QString path = QDir(fuzz::scratchFolder()).filePath(QStringLiteral("roster.mem"));
    FUZZ_CHECK(writeRosterFile(path, read.names, read.spellings).isEmpty());
    const QByteArray saved = fuzz::fileBytes(path);
    if (fuzz::readsAsUtf8(saved))
        return;
    const RosterRead again = readRosterFile(path);
    FUZZ_CHECK(again.ok());
    QStringList expected;
    for (const QString &name : read.names)
        expected.append(read.spellings.contains(name) ? name : toCp932Forms(name));
    FUZZ_CHECK(again.names == expected);
    FUZZ_CHECK(writeRosterFile(path, again.names, again.spellings).isEmpty());
    FUZZ_CHECK(fuzz::fileBytes(path) == saved);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const RosterRead read = rosterFromBytes(bytes);
    switch (read.outcome) {
    case Outcome::Read: FUZZ_CHECK(read.names.size() <= MaxRosterNames); break;
    case Outcome::TooMany: FUZZ_CHECK(read.names.size() == MaxRosterNames + 1); break;
    case Outcome::NotText: FUZZ_CHECK(read.names.isEmpty()); break;
    case Outcome::NotOpened: FUZZ_CHECK(false); // bytes were read
    }
    for (const QString &name : read.names) {
        FUZZ_CHECK(!name.isEmpty());
        for (const QChar c : name) // TAB is a character of a name, no control
            FUZZ_CHECK((c.unicode() >= 0x20 || c == QLatin1Char('\t')) && c.unicode() != 0x7F);
    }

    SharedState s;
    s.openClass.pupils = QStringList(7, QStringLiteral("前"));
    takeRosterRead(s, read);
    checkState(s, read);

    if (read.ok())
        checkSavedAgain(read);
    return 0;
}
