#pragma once

#include <QString>

class QAction;
class QWidget;

// Writes one setting; when the store cannot be written the user is told why over
// `owner` and false is returned (the caller then changes nothing).
bool storeSetting(QWidget *owner, const QString &key, const QString &value);
// Stores a "0"/"1" setting whose check item is to show `on`. Stored, the item shows it
// and `value` holds it; otherwise the item shows what is still stored.
bool storeCheck(QWidget *owner, QAction *item, const QString &key, bool on, bool &value);
// The message shown when the settings store could not be written, for `reason`.
QString settingNotStoredMessage(const QString &reason);
