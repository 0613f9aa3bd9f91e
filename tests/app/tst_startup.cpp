// Start-up: settings with their defaults, presets, the splash and the main window.
#include "about/splash.h"
#include "app/colors.h"
#include "app/settings.h"
#include "app/startup.h"
#include "app/startupwindows.h"
#include "mainwin/mainwindow.h"
#include "support/testenv.h"

#include <QDir>
#include <QSettings>
#include <QtTest>

namespace {
// The store as a flat map, read straight from its file.
QMap<QString, QString> storedSettings(const TestEnv &env)
{
    QSettings file(env.settingsFile(), QSettings::IniFormat);
    file.beginGroup(QStringLiteral("Config"));
    QMap<QString, QString> out;
    for (const QString &key : file.childKeys())
        out[key] = file.value(key).toString();
    return out;
}

void store(const TestEnv &env, const QString &key, const QString &value)
{
    QSettings(env.settingsFile(), QSettings::IniFormat).setValue(QStringLiteral("Config/") + key, value);
}
} // namespace

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void settingsAndPresets_data();
    void settingsAndPresets();
    void keysAreOneWhateverTheirCase();
    void splashOnlyWithLogo_data();
    void splashOnlyWithLogo();
};

void TestStartup::settingsAndPresets_data()
{
    QTest::addColumn<QString>("stored"); // OptMColor; empty: a first run with an empty store
    QTest::addColumn<QList<int>>("gradient");
    QTest::addColumn<ColorValue>("logo");
    QTest::addColumn<ColorValue>("shadow");
    QTest::newRow("first run: deep sea") << "" << QList<int>{10, 50, 110} << rgbValue(0, 128, 128) << rgbValue(0, 64, 0);
    QTest::newRow("sunset") << "2" << QList<int>{200, 100, 150} << rgbValue(255, 128, 0) << rgbValue(128, 0, 0);
    QTest::newRow("blue sky") << "3" << QList<int>{50, 80, 130} << rgbValue(0, 128, 128) << rgbValue(0, 64, 0);
    QTest::newRow("unknown value") << "7" << QList<int>{0, 0, 0} << ColorValue(0) << ColorValue(0);
}

void TestStartup::settingsAndPresets()
{
    QFETCH(QString, stored);
    QFETCH(QList<int>, gradient);
    QFETCH(ColorValue, logo);
    QFETCH(ColorValue, shadow);
    TestEnv env;
    if (!stored.isEmpty())
        store(env, QStringLiteral("OptMColor"), stored);
    loadStartupSettings(env.root());
    const SharedState &s = state();
    QCOMPARE((QList<int>{s.GradientRed, s.GradientGreen, s.GradientBlue}), gradient);
    QCOMPARE(s.LogoColor, logo);
    QCOMPARE(s.LogoShadowColor, shadow);
    QMap<QString, QString> expected{{"OptLogo", "1"},   {"OptPsbar", "1"},      {"OptLine_2", "0"},       {"OptLine_3", "0"},
                                    {"OptLine_4", "0"}, {"OptLine_5", "0"},     {"OptLine_6", "0"},       {"OptLine_7", "0"},
                                    {"OptBColor", "&HFF"}, {"OptFColor", "&HFFFFFF"}, {"OptMColor", stored.isEmpty() ? QStringLiteral("1") : stored}};
    QCOMPARE(storedSettings(env), expected);
    QCOMPARE((QStringList{s.SettingsSection, s.OptLogo, s.OptPsbar, s.OptLine_2, s.OptLine_7, s.CountdownBackColor, s.CountdownForeColor}),
             (QStringList{"Config", "1", "1", "0", "0", "&HFF", "&HFFFFFF"}));
    QCOMPARE(QDir::cleanPath(s.HelpFilePath), QDir(env.root()).filePath(QStringLiteral("NARABIN.HLP")));
}

void TestStartup::keysAreOneWhateverTheirCase()
{
    TestEnv env;
    store(env, QStringLiteral("OptBcolor"), QStringLiteral("65280"));
    loadStartupSettings(env.root());
    QCOMPARE(state().CountdownBackColor, QStringLiteral("65280"));
    QVERIFY(writeSetting(QStringLiteral("OPTBCOLOR"), QStringLiteral("255")));
    const QMap<QString, QString> stored = storedSettings(env);
    QCOMPARE(stored.value(QStringLiteral("OptBcolor")), QStringLiteral("255"));
    QVERIFY(!stored.contains(QStringLiteral("OptBColor")) && !stored.contains(QStringLiteral("OPTBCOLOR")));
    QCOMPARE(readSetting(QStringLiteral("optbcolor")), QStringLiteral("255"));
}

void TestStartup::splashOnlyWithLogo_data()
{
    QTest::addColumn<QString>("optLogo");
    QTest::newRow("first run: splash") << QString();
    QTest::newRow("OptLogo 0: none") << QStringLiteral("0");
}

void TestStartup::splashOnlyWithLogo()
{
    QFETCH(QString, optLogo);
    TestEnv env;
    if (!optLogo.isEmpty())
        store(env, QStringLiteral("OptLogo"), optLogo);
    bool splashSeen = false;
    whenModal([&] {
        INITDISP *splash = loadedForm<INITDISP>();
        if (!splash)
            return;
        splashSeen = splash->isVisible() && splash->isModal() && !isLoaded<NARABIN>();
        splash->close(); // a close request does not end it
        QVERIFY(splash->isVisible());
        splash->Timer1_Timer();
    });
    runStartup(env.root());
    QCOMPARE(splashSeen, optLogo.isEmpty());
    QVERIFY(!isLoaded<INITDISP>());
    NARABIN *main = loadedForm<NARABIN>();
    QVERIFY(main && main->isVisible());
    QCOMPARE(main->mnuLogoMark->isChecked(), optLogo.isEmpty());
    QCOMPARE(state().TodayText + state().ClockText, QStringLiteral("2026/12/05午後 03:07"));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
