#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

// The per-user settings store: text values addressed by (application, section, key).
// A missing key reads as the empty string. Key names are compared without regard
// to letter case on every platform, so "OptBcolor" and "OptBColor" are one key.
//
// On Windows the store is the registry. Elsewhere it is an INI file that the program
// writes itself, through the same checked atomic write as every other file: a store
// that cannot be written keeps its old file whole.
QString settingValue(const QString &appName, const QString &section, const QString &key);
// The empty string when the value was stored, otherwise the reason for the user.
QString saveSettingValue(const QString &appName, const QString &section, const QString &key, const QString &value);

// Every value of a section at once, by key in lower case (the store's first spelling of
// a key wins, as settingValue() finds it).
QHash<QString, QString> settingValues(const QString &appName, const QString &section);

// The same through the shared state's application name and section.
QString readSetting(const QString &key);
QString writeSetting(const QString &key, const QString &value);

// Where the store of an application lives: the INI file, or the registry key.
QString settingsLocation(const QString &appName);

// The organisation folder the store lives under.
inline constexpr char SettingsOrganization[] = "Narabin";

// The INI file after storing `value` under `key` in `section`, read as QSettings reads
// it: every line of the key (any letter case, in every block of the section) gets the
// value; a new key goes into the section's first block, or a new block. Every other byte
// stays as it is.
QByteArray iniWithValue(const QByteArray &ini, const QString &section, const QString &key, const QString &value);
