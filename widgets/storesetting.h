#pragma once

#include <QString>

class QWidget;

// Writes one setting; when the store cannot be written the user is told why over
// `owner` and false is returned (the caller then changes nothing).
bool storeSetting(QWidget *owner, const QString &key, const QString &value);
// The message shown when the settings store could not be written, for `reason`.
QString settingNotStoredMessage(const QString &reason);
