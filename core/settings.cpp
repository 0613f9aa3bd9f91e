#include "core/settings.h"

#include "core/fileio.h"
#include "core/filelock.h"
#include "core/folders.h"
#include "core/services.h"
#include "core/sharedstate.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>

namespace
{

bool usesIniFile()
{
#ifdef Q_OS_WIN
    return !coreServices().settingsFolder.isEmpty();
#else
    return true;
#endif
}

// Where QSettings keeps a user's INI store on Unix, so that an existing store is found.
QString iniPath(const QString &appName)
{
    QString folder = coreServices().settingsFolder;
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(folder).filePath(QString::fromLatin1(SettingsOrganization) + QLatin1Char('/') + appName +
                                 QStringLiteral(".conf"));
}

QSettings openStore(const QString &appName)
{
    if (usesIniFile())
        return QSettings(iniPath(appName), QSettings::IniFormat);
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QString::fromLatin1(SettingsOrganization), appName);
}

// The spelling under which the store already holds `key`, ignoring case; empty when absent.
QString storedSpelling(QSettings &store, const QString &key)
{
    const QStringList keys = store.childKeys();
    for (const QString &k : keys) {
        if (k.compare(key, Qt::CaseInsensitive) == 0)
            return k;
    }
    return {};
}

// Letters and signs that QSettings reads back as they stand.
bool isPlainValueCharacter(QChar c)
{
    if (c.unicode() >= 0x80)
        return false;
    return c.isLetterOrNumber() || QStringLiteral("&#.+-_").contains(c);
}

// A value as QSettings reads it back: plain when it is plain, else quoted with escapes.
QString iniValue(const QString &value)
{
    if (!value.isEmpty() && std::all_of(value.cbegin(), value.cend(), isPlainValueCharacter))
        return value;
    // QSettings reads a leading "@" as the mark of a typed value, and "@@" as one "@".
    QString quoted = value.startsWith(QLatin1Char('@')) ? QStringLiteral("\"@") : QStringLiteral("\"");
    bool afterHexEscape = false; // "\x" reads every hex digit that follows it
    for (const QChar c : value) {
        const bool hexDigit = c.isDigit() || QStringLiteral("abcdefABCDEF").contains(c);
        if (c == QLatin1Char('"') || c == QLatin1Char('\\')) {
            quoted += QLatin1Char('\\') + c;
            afterHexEscape = false;
        } else if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QLatin1Char('\t')) {
            quoted += QLatin1Char('\\');
            quoted += QLatin1Char(c == QLatin1Char('\n') ? 'n' : c == QLatin1Char('\r') ? 'r' : 't');
            afterHexEscape = false;
        } else if (c.unicode() < 0x20 || c.unicode() == 0x7F || (afterHexEscape && hexDigit)) {
            quoted += QStringLiteral("\\x%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            afterHexEscape = true;
        } else {
            quoted += c;
            afterHexEscape = false;
        }
    }
    return quoted + QLatin1Char('"');
}

// One line of an INI file as QSettings reads it: a line break inside quotes or after a
// backslash continues the line; ';' opens a comment, to the end of the line when it
// starts one, else ending the line outside quotes.
struct IniLine {
    qsizetype start = 0;   // after leading blanks
    qsizetype end = 0;     // before the line break or the comment
    qsizetype equals = -1; // the '=' between key and value
    bool unclosed = false; // ends the file inside quotes or an escape: what follows would join it
};

bool isIniBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

QList<IniLine> iniLines(const QByteArray &data)
{
    QList<IniLine> lines;
    const qsizetype n = data.size();
    qsizetype pos = data.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    for (;;) {
        IniLine line;
        line.start = pos;
        while (line.start < n && isIniBlank(data.at(line.start)))
            ++line.start;
        qsizetype i = line.start;
        bool inQuotes = false;
        bool danglingEscape = false;
        qsizetype escapeEnd = -1;
        while (i < n) {
            const char c = data.at(i++);
            if (c == '=') {
                if (!inQuotes && line.equals < 0)
                    line.equals = i - 1;
            } else if (c == '\n' || c == '\r') {
                if (i == line.start + 1) {
                    ++line.start;
                } else if (!inQuotes) {
                    --i;
                    break;
                }
            } else if (c == '\\') {
                if (i == n) {
                    danglingEscape = true;
                } else {
                    const char escaped = data.at(i++);
                    if (i < n && ((escaped == '\n' && data.at(i) == '\r') || (escaped == '\r' && data.at(i) == '\n')))
                        ++i;
                    escapeEnd = i;
                }
            } else if (c == '"') {
                inQuotes = !inQuotes;
            } else if (c == ';') {
                if (i == line.start + 1) {
                    while (i < n && data.at(i) != '\n' && data.at(i) != '\r')
                        ++i;
                    while (i < n && isIniBlank(data.at(i)))
                        ++i;
                    line.start = i;
                } else if (!inQuotes) {
                    --i;
                    break;
                }
            }
        }
        if (i <= line.start)
            return lines;
        line.end = i;
        line.unclosed = i == n && (inQuotes || danglingEscape || escapeEnd == n);
        lines.append(line);
        pos = i;
    }
}

// A key or section name as QSettings reads it: "%XX" and "%UXXXX" are characters, "\" is "/".
QString unescapedIniName(const QByteArray &raw)
{
    const QString text = QString::fromUtf8(raw);
    QString name;
    for (qsizetype i = 0; i < text.size();) {
        if (text.at(i) == QLatin1Char('\\')) {
            name += QLatin1Char('/');
            ++i;
            continue;
        }
        if (text.at(i) == QLatin1Char('%') && i + 1 < text.size()) {
            const qsizetype digits = text.at(i + 1) == QLatin1Char('U') ? 4 : 2;
            const qsizetype first = i + 1 + (digits == 4 ? 1 : 0);
            bool ok = false;
            const ushort code = first + digits <= text.size() ? text.mid(first, digits).toUShort(&ok, 16) : 0;
            if (ok) {
                name += QChar(code);
                i = first + digits;
                continue;
            }
        }
        name += text.at(i++);
    }
    return name;
}

// The section a header line opens; empty for the general section.
QString iniSectionName(const QByteArray &data, const IniLine &line)
{
    const QByteArray inner = data.mid(line.start, line.end - line.start);
    const qsizetype close = inner.indexOf(']');
    const QByteArray name = inner.mid(1, close < 0 ? -1 : close - 1).trimmed();
    return name.compare("general", Qt::CaseInsensitive) == 0 ? QString() : unescapedIniName(name);
}

// Where text put after `line` starts a line of its own: after its line break (and its
// comment). `needsBreak` when the file ends on the line without one.
qsizetype positionAfter(const QByteArray &data, const IniLine &line, bool &needsBreak)
{
    qsizetype p = line.end;
    if (p < data.size() && data.at(p) == ';') {
        while (p < data.size() && data.at(p) != '\n' && data.at(p) != '\r')
            ++p;
    }
    needsBreak = p == data.size();
    if (p < data.size())
        p += data.mid(p, 2) == "\r\n" ? 2 : 1;
    return p;
}

QString saveToIniFile(const QString &appName, const QString &section, const QString &key, const QString &value)
{
    const QString path = iniPath(appName);
    if (const QString reason = makeFolder(QFileInfo(path).absolutePath()); !reason.isEmpty())
        return reason;
    // Another copy storing a setting at the same moment would otherwise lose its change or ours.
    const FileLock lock(path);
    if (!lock.held())
        return lock.error();
    const BytesRead old = readFileBytes(path);
    if (!old.ok && !old.missing)
        return old.error;
    return writeFileAtomically(path, iniWithValue(old.bytes, section, key, value));
}

} // namespace

QByteArray iniWithValue(const QByteArray &ini, const QString &section, const QString &key, const QString &value)
{
#ifdef Q_OS_WIN
    const QByteArray systemBreak = "\r\n";
#else
    const QByteArray systemBreak = "\n";
#endif
    const QByteArray lineBreak = ini.contains("\r\n") ? "\r\n" : ini.contains('\n') ? "\n" : systemBreak;
#ifdef Q_OS_WIN
    // QSettings on Windows reads "[config]" as the same section as "[Config]".
    const Qt::CaseSensitivity sectionCase = Qt::CaseInsensitive;
#else
    const Qt::CaseSensitivity sectionCase = Qt::CaseSensitive;
#endif
    const QByteArray encoded = iniValue(value).toUtf8();
    const QList<IniLine> lines = iniLines(ini);
    // Every line of the key in every block of the section gets the value, so that whichever
    // one QSettings takes holds it; the other bytes stay as they are.
    QList<IniLine> keyLines;
    qsizetype insertAfter = -1; // the line a new key follows, in the first block that can take one
    qsizetype candidate = -1;   // the same in the block being read
    bool inSection = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const IniLine &line = lines.at(i);
        if (ini.at(line.start) == '[') {
            if (insertAfter < 0)
                insertAfter = candidate;
            inSection = iniSectionName(ini, line).compare(section, sectionCase) == 0;
            candidate = inSection && !line.unclosed ? i : -1;
            continue;
        }
        if (!inSection || line.equals < 0)
            continue;
        const QString lineKey = unescapedIniName(ini.mid(line.start, line.equals - line.start).trimmed());
        if (lineKey.compare(key, Qt::CaseInsensitive) == 0)
            keyLines.append(line);
        else if (candidate >= 0 && !line.unclosed && lineKey < key)
            candidate = i; // keys stay in the order QSettings writes them
    }
    if (insertAfter < 0)
        insertAfter = candidate;
    QByteArray out = ini;
    if (!keyLines.isEmpty()) {
        for (auto it = keyLines.crbegin(); it != keyLines.crend(); ++it) {
            const QByteArray spelling = ini.mid(it->start, it->equals - it->start).trimmed();
            out.replace(it->start, it->end - it->start, spelling + '=' + encoded);
        }
        return out;
    }
    const QByteArray entry = key.toUtf8() + '=' + encoded + lineBreak;
    bool needsBreak = false;
    if (insertAfter >= 0) {
        const qsizetype at = positionAfter(ini, lines.at(insertAfter), needsBreak);
        return out.insert(at, (needsBreak ? lineBreak : QByteArray()) + entry);
    }
    // A new block: at the end, unless the last line swallows what follows it; then before
    // the first section, or else first with the general section reopened after it.
    const QByteArray block = '[' + section.toUtf8() + ']' + lineBreak + entry;
    if (lines.isEmpty() || !lines.constLast().unclosed) {
        needsBreak = !ini.isEmpty() && !ini.endsWith('\n') && !ini.endsWith('\r');
        return out.append((needsBreak ? lineBreak : QByteArray()) + block);
    }
    for (const IniLine &line : lines) {
        if (ini.at(line.start) != '[')
            continue;
        qsizetype at = line.start; // the start of its line, so that its indent stays its own
        while (at > 0 && (ini.at(at - 1) == ' ' || ini.at(at - 1) == '\t'))
            --at;
        return out.insert(at, block);
    }
    return out.insert(ini.startsWith("\xEF\xBB\xBF") ? 3 : 0, block + "[General]" + lineBreak);
}

QString settingValue(const QString &appName, const QString &section, const QString &key)
{
    QSettings store = openStore(appName);
    store.beginGroup(section);
    const QString spelling = storedSpelling(store, key);
    return spelling.isEmpty() ? QString() : store.value(spelling).toString();
}

QHash<QString, QString> settingValues(const QString &appName, const QString &section)
{
    QSettings store = openStore(appName);
    store.beginGroup(section);
    QHash<QString, QString> values;
    for (const QString &key : store.childKeys()) {
        const QString lower = key.toLower();
        if (!values.contains(lower))
            values.insert(lower, store.value(key).toString());
    }
    return values;
}

QString saveSettingValue(const QString &appName, const QString &section, const QString &key, const QString &value)
{
    if (usesIniFile())
        return saveToIniFile(appName, section, key, value);
    QSettings store = openStore(appName);
    store.beginGroup(section);
    const QString spelling = storedSpelling(store, key);
    store.setValue(spelling.isEmpty() ? key : spelling, value);
    store.endGroup();
    store.sync();
    if (store.status() != QSettings::NoError)
        return problemText(FileProblem::NoPermission);
    return {};
}

QString readSetting(const QString &key)
{
    return settingValue(state().SettingsAppName, state().SettingsSection, key);
}

QString writeSetting(const QString &key, const QString &value)
{
    return saveSettingValue(state().SettingsAppName, state().SettingsSection, key, value);
}

QString settingsLocation(const QString &appName)
{
    if (usesIniFile())
        return QDir::toNativeSeparators(iniPath(appName));
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QString::fromLatin1(SettingsOrganization), appName)
        .fileName();
}
