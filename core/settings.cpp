#include "core/settings.h"

#include "core/fileio.h"
#include "core/folders.h"
#include "core/services.h"
#include "core/sharedstate.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringDecoder>

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
    QString quoted = QStringLiteral("\"");
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

bool isSectionLine(const QString &line)
{
    return line.trimmed().startsWith(QLatin1Char('['));
}

QString keyOfLine(const QString &line)
{
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    return equals < 0 ? QString() : line.left(equals).trimmed();
}

QString saveToIniFile(const QString &appName, const QString &section, const QString &key, const QString &value)
{
    const QString path = iniPath(appName);
    const BytesRead old = readFileBytes(path);
    if (!old.ok && !old.missing)
        return old.error;
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(old.bytes);
    if (const QString reason = makeFolder(QFileInfo(path).absolutePath()); !reason.isEmpty())
        return reason;
    return writeFileAtomically(path, iniWithValue(text, section, key, value).toUtf8());
}

} // namespace

QString iniWithValue(const QString &ini, const QString &section, const QString &key, const QString &value)
{
#ifdef Q_OS_WIN
    const QString lineEnd = QStringLiteral("\r\n");
#else
    const QString lineEnd = QStringLiteral("\n");
#endif
    QStringList lines;
    for (const QString &line : ini.split(QLatin1Char('\n')))
        lines.append(line.endsWith(QLatin1Char('\r')) ? line.chopped(1) : line);
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    const QString header = QLatin1Char('[') + section + QLatin1Char(']');
    const QString entry = key + QLatin1Char('=') + iniValue(value);
    qsizetype insertAt = -1; // where a new key goes: keys stay in the order QSettings writes them
    bool inSection = false;
    bool stored = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        if (isSectionLine(line)) {
            if (inSection)
                break;
            inSection = line.trimmed() == header;
            if (inSection)
                insertAt = i + 1;
            continue;
        }
        const QString lineKey = keyOfLine(line);
        if (!inSection || lineKey.isEmpty())
            continue;
        if (lineKey.compare(key, Qt::CaseInsensitive) == 0) {
            lines[i] = lineKey + QLatin1Char('=') + iniValue(value);
            stored = true;
        } else if (!stored && insertAt >= 0 && lineKey < key) {
            insertAt = i + 1;
        }
    }
    if (!stored && insertAt >= 0) {
        lines.insert(insertAt, entry);
    } else if (!stored) {
        if (!lines.isEmpty() && !lines.constLast().trimmed().isEmpty())
            lines.append(QString());
        lines.append(header);
        lines.append(entry);
    }
    return lines.join(lineEnd) + lineEnd;
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
