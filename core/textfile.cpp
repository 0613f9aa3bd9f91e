#include "core/textfile.h"

#include "core/cp932.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <functional>
#include <utility>

namespace
{

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool isDelimiter(QChar c)
{
    return c == QLatin1Char(',') || c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

std::optional<QString> decodeStrict(QStringDecoder &decoder, const QByteArray &bytes)
{
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

} // namespace

std::optional<QString> decodeText(const QByteArray &bytes)
{
    // ASCII reads the same either way (the control bytes too, as Windows reads them).
    if (std::all_of(bytes.cbegin(), bytes.cend(), [](char c) { return uchar(c) < 0x80; }))
        return QString::fromLatin1(bytes);
    // Stateless, as for CP932.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return decodeStrict(utf8, bytes);
    std::optional<QString> asUtf8 = decodeStrict(utf8, bytes);
    std::optional<QString> asCp932 = decodeCp932(bytes);
    // Japanese UTF-8 text nearly always decodes as some CP932 text too, while CP932
    // Japanese text is almost never valid UTF-8; so valid UTF-8 wins unless it holds
    // characters no CP932 file could (such as Latin letters made of half-width kana pairs).
    if (asUtf8 && (!asCp932 || fitsCp932(*asUtf8)))
        return asUtf8;
    return asCp932;
}

void visitFields(QStringView text, const std::function<bool(QStringView field)> &visit)
{
    const qsizetype n = text.size();
    qsizetype pos = 0;
    while (pos < n) {
        while (pos < n && isBlank(text.at(pos)))
            ++pos;
        QStringView field;
        if (pos < n && text.at(pos) == QLatin1Char('"')) {
            const qsizetype close = text.indexOf(QLatin1Char('"'), pos + 1);
            field = text.mid(pos + 1, (close < 0 ? n : close) - pos - 1);
            pos = close < 0 ? n : close + 1;
            while (pos < n && !isDelimiter(text.at(pos)))
                ++pos;
        } else {
            const qsizetype start = pos;
            while (pos < n && !isDelimiter(text.at(pos)))
                ++pos;
            field = text.mid(start, pos - start);
        }
        if (!visit(field) || pos >= n)
            return;
        if (text.at(pos) == QLatin1Char(',')) {
            ++pos;
            if (pos == n) // a comma at the very end: one more, empty field
                visit(QStringView());
            continue;
        }
        if (text.at(pos) == QLatin1Char('\r') && pos + 1 < n && text.at(pos + 1) == QLatin1Char('\n'))
            ++pos;
        ++pos;
    }
}

QStringList splitFields(const QString &text, qsizetype maxFields)
{
    QStringList fields;
    if (maxFields == 0)
        return fields;
    visitFields(text, [&](QStringView field) {
        fields.append(field.toString());
        return fields.size() != maxFields;
    });
    return fields;
}

FieldsRead readFieldsFile(const QString &path, qsizetype maxFields)
{
    const BytesRead read = readFileBytes(path);
    if (!read.ok)
        return FieldsRead{false, {}, read.error};
    return fieldsFromBytes(read.bytes, maxFields);
}

bool hasControlCharacter(QStringView text)
{
    return std::any_of(text.cbegin(), text.cend(),
                       [](QChar c) { return (c.unicode() < 0x20 && c != QLatin1Char('\t')) || c.unicode() == 0x7F; });
}

FieldsRead fieldsFromBytes(const QByteArray &bytes, qsizetype maxFields)
{
    FieldsRead result;
    const std::optional<QString> text = decodeText(bytes);
    if (!text) {
        result.error = QStringLiteral("文字コードが正しくありません（Shift_JIS でも UTF-8 でもありません）。");
        return result;
    }
    result.fields = splitFields(*text, maxFields);
    result.ok = true;
    return result;
}

QString toCp932Forms(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        switch (c.unicode()) {
        case 0x301C: c = QChar(0xFF5E); break; // WAVE DASH -> FULLWIDTH TILDE
        case 0x2016: c = QChar(0x2225); break; // DOUBLE VERTICAL LINE -> PARALLEL TO
        case 0x2212: c = QChar(0xFF0D); break; // MINUS SIGN -> FULLWIDTH HYPHEN-MINUS
        case 0x00A2: c = QChar(0xFFE0); break; // CENT SIGN
        case 0x00A3: c = QChar(0xFFE1); break; // POUND SIGN
        case 0x00AC: c = QChar(0xFFE2); break; // NOT SIGN
        case 0x2014: c = QChar(0x2015); break; // EM DASH -> HORIZONTAL BAR
        default: break;
        }
    }
    return out;
}

std::optional<QByteArray> encodeCp932(const QString &text)
{
    return encodeCp932Exactly(toCp932Forms(text));
}

bool fitsCp932(const QString &text)
{
    return encodeCp932(text).has_value();
}

qsizetype firstLineNotFittingCp932(const QStringList &lines)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!fitsCp932(lines.at(i)))
            return i;
    }
    return -1;
}

std::optional<QString> asField(const QString &value, bool quoteBlanks)
{
    if (value.contains(QLatin1Char('\r')) || value.contains(QLatin1Char('\n')))
        return std::nullopt;
    qsizetype start = 0;
    while (start < value.size() && isBlank(value.at(start)))
        ++start;
    if (value.isEmpty() || (start == value.size() && !quoteBlanks))
        return value;
    if (start == value.size())
        return QLatin1Char('"') + value + QLatin1Char('"');
    if (value.at(start) == QLatin1Char('"'))
        return std::nullopt;
    if (start == 0 && !value.contains(QLatin1Char(',')))
        return value;
    if (value.contains(QLatin1Char('"')))
        return std::nullopt;
    return QLatin1Char('"') + value + QLatin1Char('"');
}

bool fieldReadsBack(const QString &value, bool quoteBlanks)
{
    const bool blanksOnly = std::all_of(value.cbegin(), value.cend(), isBlank);
    return asField(value, quoteBlanks).has_value() && (value.isEmpty() || quoteBlanks || !blanksOnly);
}

EncodedLines encodeLines(const QStringList &lines, const LineOptions &options)
{
    const QHash<QString, QByteArray> &spellings = options.spellings;
    EncodedLines out;
    for (const QString &line : lines) {
        const std::optional<QString> field = asField(line, options.quoteBlanks);
        if (!field) {
            out.error = QStringLiteral("「") + line +
                        QStringLiteral("」はファイルに正しく書けません（改行や、先頭の \" が含まれています）。");
            out.bytes.clear();
            return out;
        }
        const auto spelled = spellings.constFind(line);
        const std::optional<QByteArray> encoded = spelled != spellings.cend() ? *spelled : encodeCp932(line);
        if (!encoded) {
            out.error =
                QStringLiteral("「") + line + QStringLiteral("」には Shift_JIS で保存できない文字が含まれています。");
            out.bytes.clear();
            return out;
        }
        const bool quoted = field->size() != line.size();
        if (quoted)
            out.bytes += '"';
        out.bytes += *encoded;
        if (quoted)
            out.bytes += '"';
        out.bytes += "\r\n";
    }
    out.ok = true;
    return out;
}

QString writeLinesFile(const QString &path, const QStringList &lines, const LineOptions &options)
{
    const EncodedLines encoded = encodeLines(lines, options);
    if (!encoded.ok)
        return encoded.error;
    return writeFileAtomically(path, encoded.bytes);
}

QString findFileNoCase(const QString &dir, const QString &name)
{
    const QDir folder(dir);
    if (QFileInfo(folder.filePath(name)).isFile())
        return folder.absoluteFilePath(name);
    const QStringList entries = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return folder.absoluteFilePath(entry);
    }
    return {};
}
