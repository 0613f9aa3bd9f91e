#include "widgets/storesetting.h"

#include "core/settings.h"
#include "core/sharedstate.h"
#include "platform/platform.h"

#include <QAction>

QString settingNotStoredMessage(const QString &reason)
{
    // The place, so the user can look for what blocks it.
    return QStringLiteral("設定を保存できませんでした。\r%1\r保存先: %2\r設定は変更されていません。")
        .arg(reason, settingsLocation(state().SettingsAppName));
}

bool storeSetting(QWidget *owner, const QString &key, const QString &value)
{
    const QString reason = writeSetting(key, value);
    if (reason.isEmpty())
        return true;
    showMessage(owner, settingNotStoredMessage(reason), MsgStyle::Critical, QStringLiteral("設定の保存エラー"));
    return false;
}

bool storeCheck(QWidget *owner, QAction *item, const QString &key, bool on, bool &value)
{
    const bool stored = storeSetting(owner, key, on ? QStringLiteral("1") : QStringLiteral("0"));
    if (stored)
        value = on;
    item->setChecked(stored ? on : !on);
    return stored;
}
