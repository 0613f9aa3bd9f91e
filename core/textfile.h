#pragma once

#include "core/fileio.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Text as the program's files hold it: CP932 (Windows Japanese), one value per line,
// CR LF line ends. Reading also takes a file that is wholly valid UTF-8, since
// rosters typed in a Linux editor come that way.

// Decodes file bytes: UTF-8 when they start with a UTF-8 byte order mark or are valid
// UTF-8 whose text CP932 can hold, otherwise CP932. Bytes that are neither valid
// CP932 nor valid UTF-8 give no text.
std::optional<QString> decodeText(const QByteArray &bytes);

// Splits text into free-format fields: a field ends at a comma or a line end (CR LF,
// CR or LF); blanks before a field are skipped; a field that begins with a double
// quote runs to the next double quote (across line ends) and is taken without the
// quotes, anything after the closing quote up to the next delimiter is dropped.
// An empty line is one empty field; the final line end starts no field.
// Reading stops once maxFields fields were taken (negative: no limit).
QStringList splitFields(const QString &text, qsizetype maxFields = -1);
// The same fields one after the other, without keeping them; `visit` returns false to stop.
void visitFields(QStringView text, const std::function<bool(QStringView field)> &visit);

struct FieldsRead {
    bool ok = false;
    QStringList fields;
    QString error; // the reason, for the user, when !ok
};

// Reads a whole file as free-format fields; files larger than MaxTextFileBytes are refused.
FieldsRead readFieldsFile(const QString &path, qsizetype maxFields = -1);
// The same for bytes already read.
FieldsRead fieldsFromBytes(const QByteArray &bytes, qsizetype maxFields = -1);

// Whether a text holds a control character other than TAB: the mark of a binary file
// (or of an unclosed quote that swallowed line ends), never of a name.
bool hasControlCharacter(QStringView text);

// Maps the characters that Japanese input methods on Unix produce for the CP932
// forms (WAVE DASH for FULLWIDTH TILDE and the like) to those forms.
QString toCp932Forms(const QString &text);
// The CP932 bytes of a text, none when a character cannot be held.
std::optional<QByteArray> encodeCp932(const QString &text);
// Whether CP932 can hold every character of the text.
bool fitsCp932(const QString &text);
// Index of the first line CP932 cannot hold, -1 when all fit.
qsizetype firstLineNotFittingCp932(const QStringList &lines);

// How a value is written as a line so that the field reader gives it back: as it is,
// or in double quotes when it holds a comma or starts with a blank. A value of blanks
// only is quoted when `quoteBlanks`, else it stays as it is and reads back as an empty
// field (as the blank of an empty seat should). None when no line can give it back: a
// line end in it, a double quote where the reader would take it for an opening one, or
// one inside a value that needs quotes.
std::optional<QString> asField(const QString &value, bool quoteBlanks = false);
// Whether the field reader gives the value back exactly once it is written so.
bool fieldReadsBack(const QString &value, bool quoteBlanks = false);

// The bytes of lines as the program's files hold them: each value written as asField()
// says, in CP932, with CR LF after it. `spellings` keeps the bytes a file spelled a
// value with where CP932 has two codes for it. On failure `error` says, for the user,
// which value cannot be written.
struct EncodedLines {
    bool ok = false;
    QByteArray bytes;
    QString error;
};
struct LineOptions {
    QHash<QString, QByteArray> spellings = {};
    bool quoteBlanks = false;
};
EncodedLines encodeLines(const QStringList &lines, const LineOptions &options = {});

// Writes lines so, atomically: the old file stays intact until the new one is complete.
// Returns the empty string on success, otherwise the reason for the user (which names
// neither the file nor the command).
QString writeLinesFile(const QString &path, const QStringList &lines, const LineOptions &options = {});

// Path of the entry of `dir` named `name` with letter case ignored, as Windows matches
// file names; an exact match wins. Empty when there is none.
QString findFileNoCase(const QString &dir, const QString &name);
