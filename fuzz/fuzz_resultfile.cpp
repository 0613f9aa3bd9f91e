// A result file read as a past-result item does, and a chart saved and read again.
#include "fuzzcheck.h"

#include "core/resultfile.h"
#include "core/sharedstate.h"
#include "core/textfile.h"

#include <QDir>

#include <algorithm>

namespace
{

// What a seat shows after its chart was saved and read back: the blank of an empty
// seat (blanks only) reads as nothing, every other text as itself.
QString readBack(const QString &seat)
{
    const bool blanksOnly = std::all_of(seat.cbegin(), seat.cend(),
                                        [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); });
    return blanksOnly ? QString() : toCp932Forms(seat);
}

// `size` is that of the file the seats were read from.
void checkSavedAgain(const QStringList &seats, qsizetype size)
{
    for (const QString &seat : seats) {
        if (!fitsCp932(seat) || (!readBack(seat).isEmpty() && !fieldReadsBack(seat)))
            return;
    }
    const QString path = QDir(fuzz::scratchFolder()).filePath(QStringLiteral("chart.rlt"));
    // Saved, a chart grows by two bytes a seat at most (CR LF for LF, a line for a
    // missing seat): only one read at the size limit may be too large to save.
    const QString reason = writeResultFile(path, seats);
    FUZZ_CHECK(reason.isEmpty() || size > MaxResultFileBytes - 2 * SeatCount);
    if (!reason.isEmpty())
        return;
    if (fuzz::readsAsUtf8(fuzz::fileBytes(path)))
        return;
    const ResultFileRead again = readResultFile(path);
    FUZZ_CHECK(again.ok);
    FUZZ_CHECK(again.seats.size() == SeatCount);
    for (int i = 0; i < SeatCount; ++i)
        FUZZ_CHECK(again.seats.at(i) == (i < seats.size() ? readBack(seats.at(i)) : QString()));
}

// A chart that carries its room is saved with it and reads back with the same room, each
// desk as a seat reads back (the standard room cannot tell an empty desk from a free one).
void checkRoomSavedAgain(const ResultFileRead &read)
{
    FUZZ_CHECK(read.chart.size() == read.room.deskCount());
    const QString path = QDir(fuzz::scratchFolder()).filePath(QStringLiteral("room.rlt"));
    if (!writeResultFile(path, read.room, read.chart).isEmpty() || fuzz::readsAsUtf8(fuzz::fileBytes(path)))
        return;
    Chart expected = read.chart;
    for (ChartDesk &desk : expected) {
        if (desk.kind == ChartDesk::Kind::Pupil)
            desk = ChartDesk::fromText(readBack(desk.pupil));
        else if (read.room.isStandard())
            desk = {};
    }
    const ResultFileRead again = readResultFile(path);
    FUZZ_CHECK(again.ok);
    FUZZ_CHECK(again.room == read.room);
    FUZZ_CHECK(again.chart == expected);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const ResultFileRead read = resultFromBytes(bytes);
    FUZZ_CHECK(read.ok == read.error.isEmpty());
    // A last line that may carry a room has its own rules: the chart and room must hold.
    if (bytes.contains(R"({"format":"narabin-result")")) {
        if (read.ok)
            checkRoomSavedAgain(read);
        return 0;
    }
    const FieldsRead fields = fieldsFromBytes(bytes);
    bool controls = false;
    for (const QString &field : fields.fields) {
        for (const QChar c : field) // TAB is a character of a name, no control
            controls = controls || (c.unicode() < 0x20 && c != QLatin1Char('\t')) || c.unicode() == 0x7F;
    }
    FUZZ_CHECK(read.ok ==
               (bytes.size() <= MaxResultFileBytes && fields.ok && fields.fields.size() <= SeatCount && !controls));
    if (!read.ok) {
        FUZZ_CHECK(read.seats.isEmpty());
        return 0;
    }
    FUZZ_CHECK(read.seats == fields.fields);
    checkSavedAgain(read.seats, bytes.size());
    return 0;
}
