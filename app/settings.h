#pragma once

#include <QString>

// The per-user settings store: text values addressed by (application, section, key).
// A missing key reads as the empty string. Key names are compared without regard
// to letter case on every platform, so "OptBcolor" and "OptBColor" are one key.
QString GetSetting(const QString &appName, const QString &section, const QString &key);
// Returns false when the store could not be written.
bool SaveSetting(const QString &appName, const QString &section, const QString &key, const QString &value);

// The same through the shared state's application name and section.
QString readSetting(const QString &key);
bool writeSetting(const QString &key, const QString &value);

// The organisation folder the store lives under (QSettings user scope).
inline constexpr char SettingsOrganization[] = "Narabin";
