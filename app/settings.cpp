#include "app/settings.h"

#include "app/sharedstate.h"

#include <QSettings>

namespace {

// Native store: the registry on Windows, an INI file under the user's config folder elsewhere.
QSettings openStore(const QString &appName)
{
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

} // namespace

QString GetSetting(const QString &appName, const QString &section, const QString &key)
{
    QSettings store = openStore(appName);
    store.beginGroup(section);
    const QString spelling = storedSpelling(store, key);
    return spelling.isEmpty() ? QString() : store.value(spelling).toString();
}

bool SaveSetting(const QString &appName, const QString &section, const QString &key, const QString &value)
{
    QSettings store = openStore(appName);
    store.beginGroup(section);
    const QString spelling = storedSpelling(store, key);
    store.setValue(spelling.isEmpty() ? key : spelling, value);
    store.endGroup();
    store.sync();
    return store.status() == QSettings::NoError;
}

QString readSetting(const QString &key)
{
    return GetSetting(state().SettingsAppName, state().SettingsSection, key);
}

bool writeSetting(const QString &key, const QString &value)
{
    return SaveSetting(state().SettingsAppName, state().SettingsSection, key, value);
}
