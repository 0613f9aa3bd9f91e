#include "app/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <array>
#include <utility>

namespace {

constexpr char Cp932Name[] = "windows-31j";

struct WriteFault {
    QString pathSuffix;
    qint64 bytes = 0;
};

WriteFault &writeFault()
{
    static WriteFault fault;
    return fault;
}

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

// ICU's windows-31j reads the bytes 1A, 1C and 7F as U+001C, U+007F and U+001A, as IBM's
// code pages do; Windows reads them as ASCII, and so must we, or a name holding one
// would change on its way through a file. Pairs of (ASCII, ICU's character).
constexpr std::array<std::pair<char16_t, char16_t>, 3> IcuControls{{{0x1A, 0x1C}, {0x1C, 0x7F}, {0x7F, 0x1A}}};

QString swapIcuControls(QString text, bool toIcu)
{
    for (QChar &c : text) {
        for (const auto &[ascii, icu] : IcuControls) {
            if (c.unicode() == (toIcu ? ascii : icu)) {
                c = QChar(toIcu ? icu : ascii);
                break;
            }
        }
    }
    return text;
}

// CP932 bytes to text, none when they are no CP932.
std::optional<QString> decodeCp932(const QByteArray &bytes)
{
    // Stateless: a character cut off at the end of the bytes is an error, where a
    // decoder waiting for more bytes would drop it without one.
    QStringDecoder cp932(Cp932Name, QStringConverter::Flag::Stateless);
    std::optional<QString> text = decodeStrict(cp932, bytes);
    if (text)
        *text = swapIcuControls(*text, false);
    return text;
}

} // namespace

QString fileErrorReason(QFileDevice::FileError error, const QString &systemText)
{
    QString reason;
    switch (error) {
    case QFileDevice::PermissionsError:
        reason = QStringLiteral("書き込みが許可されていません。");
        break;
    case QFileDevice::ResourceError:
        reason = QStringLiteral("ディスクの空き容量が足りないか、書き込めない状態です。");
        break;
    case QFileDevice::OpenError:
        reason = QStringLiteral("ファイルを作成できません。フォルダーがあるか、名前が正しいか確認して下さい。");
        break;
    default:
        reason = QStringLiteral("ファイルに書き込めませんでした。");
        break;
    }
    return systemText.isEmpty() ? reason : reason + QStringLiteral("（") + systemText + QStringLiteral("）");
}

QString fileErrorReason(const QFileDevice &file)
{
    return fileErrorReason(file.error(), file.errorString());
}

std::optional<QString> decodeText(const QByteArray &bytes)
{
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

QStringList splitFields(const QString &text, qsizetype maxFields)
{
    QStringList fields;
    const qsizetype n = text.size();
    if (n == 0 || maxFields == 0)
        return fields;
    qsizetype pos = 0;
    for (;;) {
        while (pos < n && isBlank(text.at(pos)))
            ++pos;
        if (pos < n && text.at(pos) == QLatin1Char('"')) {
            const qsizetype close = text.indexOf(QLatin1Char('"'), pos + 1);
            if (close < 0) {
                fields.append(text.mid(pos + 1));
                pos = n;
            } else {
                fields.append(text.mid(pos + 1, close - pos - 1));
                pos = close + 1;
            }
            while (pos < n && !isDelimiter(text.at(pos)))
                ++pos;
        } else {
            const qsizetype start = pos;
            while (pos < n && !isDelimiter(text.at(pos)))
                ++pos;
            fields.append(text.mid(start, pos - start));
        }
        if (pos >= n || fields.size() == maxFields)
            break;
        if (text.at(pos) == QLatin1Char(',')) {
            ++pos; // a field follows, empty when the text ends here
            continue;
        }
        if (text.at(pos) == QLatin1Char('\r') && pos + 1 < n && text.at(pos + 1) == QLatin1Char('\n'))
            ++pos;
        ++pos;
        if (pos >= n)
            break;
    }
    return fields;
}

FieldsRead readFieldsFile(const QString &path, qsizetype maxFields)
{
    FieldsRead result;
    QFile file(path);
    if (!QFileInfo(path).isFile()) {
        result.error = QStringLiteral("ファイルが見つかりません。");
        return result;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = QStringLiteral("ファイルを読めません。（") + file.errorString() + QStringLiteral("）");
        return result;
    }
    if (file.size() > MaxTextFileBytes) {
        result.error = QStringLiteral("ファイルが大きすぎます。");
        return result;
    }
    // As much as the file holds: a read of the largest size allowed would take that
    // much memory for every small file.
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError || bytes.size() > MaxTextFileBytes) {
        result.error = QStringLiteral("ファイルを読めません。（") + file.errorString() + QStringLiteral("）");
        return result;
    }
    return fieldsFromBytes(bytes, maxFields);
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
    const QString forms = toCp932Forms(text);
    QStringEncoder encoder(Cp932Name);
    QByteArray bytes = encoder.encode(swapIcuControls(forms, true));
    if (encoder.hasError())
        return std::nullopt;
    // The encoder falls back to a look-alike for a few characters; those it cannot hold.
    if (decodeCp932(bytes) != forms)
        return std::nullopt;
    return bytes;
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

QString writeLinesFile(const QString &path, const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines) {
        const std::optional<QByteArray> encoded = encodeCp932(line);
        if (!encoded)
            return QStringLiteral("「") + line + QStringLiteral("」には Shift_JIS で保存できない文字が含まれています。");
        bytes += *encoded;
        bytes += "\r\n";
    }
    return writeBytesFile(path, bytes);
}

QString writeBytesFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fileErrorReason(file.error(), file.errorString());
    const WriteFault &fault = writeFault();
    if (!fault.pathSuffix.isEmpty() && path.endsWith(fault.pathSuffix)) {
        file.write(bytes.left(fault.bytes));
        file.cancelWriting();
        return fileErrorReason(QFileDevice::ResourceError, QStringLiteral("No space left on device"));
    }
    if (file.write(bytes) != bytes.size()) {
        const QString reason = fileErrorReason(file.error(), file.errorString());
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return fileErrorReason(file.error(), file.errorString());
    return {};
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

void setWriteFaultForTests(const QString &pathSuffix, qint64 bytes)
{
    writeFault() = WriteFault{pathSuffix, bytes};
}
