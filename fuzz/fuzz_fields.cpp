// The free-format field reader with its CP932/UTF-8 decoding, on any bytes.
#include "fuzzcheck.h"

#include "core/textfile.h"

namespace
{

bool isLineEnd(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

// The reading rules once more, as a character-by-character machine, to hold the
// reader against.
QStringList fieldsByRule(const QString &text)
{
    enum class At { FieldStart, Plain, Quoted, AfterQuote };
    At at = At::FieldStart;
    bool fieldBegun = false; // a comma or a blank began a field that is still empty
    QStringList fields;
    QString field;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool comma = c == QLatin1Char(',');
        const bool lineEnd = isLineEnd(c);
        if (lineEnd && c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n') &&
            at != At::Quoted)
            ++i;
        switch (at) {
        case At::FieldStart:
            if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
                fieldBegun = true;
            } else if (c == QLatin1Char('"')) {
                field.clear();
                at = At::Quoted;
            } else if (comma || lineEnd) {
                fields.append(QString());
                fieldBegun = comma;
            } else {
                field = c;
                at = At::Plain;
            }
            break;
        case At::Plain:
            if (comma || lineEnd) {
                fields.append(field);
                at = At::FieldStart;
                fieldBegun = comma;
            } else {
                field += c;
            }
            break;
        case At::Quoted:
            if (c == QLatin1Char('"')) {
                fields.append(field);
                at = At::AfterQuote;
            } else {
                field += c;
            }
            break;
        case At::AfterQuote:
            if (comma || lineEnd) {
                at = At::FieldStart;
                fieldBegun = comma;
            }
            break;
        }
    }
    if (at == At::Plain || at == At::Quoted || (at == At::FieldStart && fieldBegun))
        fields.append(at == At::FieldStart ? QString() : field);
    return fields;
}

void checkDecoding(const QByteArray &bytes, const QString &text)
{
    bool ascii = true;
    for (const char b : bytes)
        ascii = ascii && uchar(b) < 0x80;
    if (ascii)
        FUZZ_CHECK(text == QString::fromLatin1(bytes));
    // Text is taken whole in one of the two encodings, never patched up.
    if (!bytes.contains("\xEF\xBF\xBD"))
        FUZZ_CHECK(!text.contains(QChar::ReplacementCharacter));
    const bool bom = bytes.startsWith("\xEF\xBB\xBF");
    if (text.toUtf8() == (bom ? bytes.mid(3) : bytes))
        return;
    // Read as CP932: every character goes back to as many bytes as it came from.
    FUZZ_CHECK(!bom);
    const std::optional<QByteArray> again = encodeCp932(text);
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(again->size() == bytes.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const std::optional<QString> text = decodeText(bytes);
    const FieldsRead read = fieldsFromBytes(bytes);
    FUZZ_CHECK(read.ok == text.has_value());
    FUZZ_CHECK(read.ok == read.error.isEmpty());
    if (!text)
        return 0;
    checkDecoding(bytes, *text);

    const QStringList fields = splitFields(*text);
    FUZZ_CHECK(read.fields == fields);
    FUZZ_CHECK(fields == fieldsByRule(*text));
    // Fewer fields than delimiters plus one, and never more text than there was.
    qsizetype delimiters = 0, quotes = 0, chars = 0;
    for (const QChar c : *text) {
        delimiters += c == QLatin1Char(',') || isLineEnd(c);
        quotes += c == QLatin1Char('"');
    }
    FUZZ_CHECK(fields.size() <= delimiters + 1);
    qsizetype fieldsWithDelimiter = 0;
    for (const QString &f : fields) {
        chars += f.size();
        FUZZ_CHECK(!f.startsWith(QLatin1Char(' ')) || quotes > 0);
        // Only a quoted field holds a line end or a comma; each took an opening quote.
        if (f.contains(QLatin1Char(',')) || f.contains(QLatin1Char('\r')) || f.contains(QLatin1Char('\n')))
            ++fieldsWithDelimiter;
    }
    FUZZ_CHECK(fieldsWithDelimiter <= quotes);
    FUZZ_CHECK(chars <= text->size());
    // A limit gives the first fields, no more.
    for (const qsizetype limit : {0, 1, 2, 15, 29}) {
        const QStringList limited = splitFields(*text, limit);
        FUZZ_CHECK(limited == fields.mid(0, limit));
        FUZZ_CHECK(fieldsFromBytes(bytes, limit).fields == limited);
    }
    return 0;
}
