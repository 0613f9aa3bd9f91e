#pragma once

#include <QByteArray>
#include <QFileDevice>
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

struct FieldsRead {
    bool ok = false;
    QStringList fields;
    QString error; // the reason, for the user, when !ok
};

// Reads a whole file as free-format fields. Files larger than this are refused.
inline constexpr qint64 MaxTextFileBytes = 32 * 1024 * 1024;
FieldsRead readFieldsFile(const QString &path, qsizetype maxFields = -1);
// The same for bytes already read.
FieldsRead fieldsFromBytes(const QByteArray &bytes, qsizetype maxFields = -1);

// Maps the characters that Japanese input methods on Unix produce for the CP932
// forms (WAVE DASH for FULLWIDTH TILDE and the like) to those forms.
QString toCp932Forms(const QString &text);
// The CP932 bytes of a text, none when a character cannot be held.
std::optional<QByteArray> encodeCp932(const QString &text);
// Whether CP932 can hold every character of the text.
bool fitsCp932(const QString &text);
// Index of the first line CP932 cannot hold, -1 when all fit.
qsizetype firstLineNotFittingCp932(const QStringList &lines);

// Writes lines as CP932 with CR LF after each, atomically: the old file stays intact
// until the new one is complete. Returns the empty string on success, otherwise the
// reason for the user (which names neither the file nor the command).
QString writeLinesFile(const QString &path, const QStringList &lines);
// Writes bytes atomically, as above.
QString writeBytesFile(const QString &path, const QByteArray &bytes);

// Why a file operation failed, for the user: a reason to act on, then the system's
// own words in brackets.
QString fileErrorReason(QFileDevice::FileError error, const QString &systemText);
QString fileErrorReason(const QFileDevice &file);

// Path of the entry of `dir` named `name` with letter case ignored, as Windows matches
// file names; an exact match wins. Empty when there is none.
QString findFileNoCase(const QString &dir, const QString &name);

// Makes writes to paths ending in `pathSuffix` fail after `bytes` bytes, as a full
// disk does; an empty suffix switches it off. Only tests set this.
void setWriteFaultForTests(const QString &pathSuffix, qint64 bytes);
