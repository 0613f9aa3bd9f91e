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
    QSettings file(env.settingsFile(), QSettings::IniFormat);
    file.setValue(QStringLiteral("Config/") + key, value);
}
} // namespace

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void firstRunWritesElevenDefaults();
    void storedPresetIsAppliedAndNotRewritten_data();
    void storedPresetIsAppliedAndNotRewritten();
    void keysAreOneWhateverTheirCase();
    void colourTextsInBothForms();
    void withoutLogoNoSplash();
    void withLogoTheSplashComesFirst();
    void workingFolderFallsBackToUserFolder();
    void dataFilesAreFoundBesideOrInstalled();
};

void TestStartup::firstRunWritesElevenDefaults()
{
    TestEnv env;
    loadStartupSettings(env.root());
    const QMap<QString, QString> expected{
        {QStringLiteral("OptLogo"), QStringLiteral("1")},      {QStringLiteral("OptPsbar"), QStringLiteral("1")},
        {QStringLiteral("OptLine_2"), QStringLiteral("0")},    {QStringLiteral("OptLine_3"), QStringLiteral("0")},
        {QStringLiteral("OptLine_4"), QStringLiteral("0")},    {QStringLiteral("OptLine_5"), QStringLiteral("0")},
        {QStringLiteral("OptLine_6"), QStringLiteral("0")},    {QStringLiteral("OptLine_7"), QStringLiteral("0")},
        {QStringLiteral("OptBColor"), QStringLiteral("&HFF")}, {QStringLiteral("OptFColor"), QStringLiteral("&HFFFFFF")},
        {QStringLiteral("OptMColor"), QStringLiteral("1")},
    };
    QCOMPARE(storedSettings(env), expected);
    const SharedState &s = state();
    QCOMPARE(s.SettingsSection, QStringLiteral("Config"));
    QCOMPARE(s.OptLogo, QStringLiteral("1"));
    QCOMPARE(s.OptLine_7, QStringLiteral("0"));
    QCOMPARE(colorFromText(s.CountdownBackColor), std::optional<ColorValue>(255));
    QCOMPARE(colorFromText(s.CountdownForeColor), std::optional<ColorValue>(16777215));
    QCOMPARE(s.LogoColor, rgbValue(0, 128, 128));
    QCOMPARE(s.LogoShadowColor, rgbValue(0, 64, 0));
    QCOMPARE((QList<int>{s.GradientRed, s.GradientGreen, s.GradientBlue}), (QList<int>{10, 50, 110}));
    QCOMPARE(QDir::cleanPath(s.HelpFilePath), QDir(env.root()).filePath(QStringLiteral("NARABIN.HLP")));
}

void TestStartup::storedPresetIsAppliedAndNotRewritten_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QList<int>>("gradient");
    QTest::addColumn<ColorValue>("logo");
    QTest::addColumn<ColorValue>("shadow");
    QTest::newRow("sunset") << QStringLiteral("2") << QList<int>{200, 100, 150} << rgbValue(255, 128, 0) << rgbValue(128, 0, 0);
    QTest::newRow("blue sky") << QStringLiteral("3") << QList<int>{50, 80, 130} << rgbValue(0, 128, 128) << rgbValue(0, 64, 0);
    QTest::newRow("unknown value") << QStringLiteral("7") << QList<int>{0, 0, 0} << ColorValue(0) << ColorValue(0);
}

void TestStartup::storedPresetIsAppliedAndNotRewritten()
{
    QFETCH(QString, stored);
    QFETCH(QList<int>, gradient);
    QFETCH(ColorValue, logo);
    QFETCH(ColorValue, shadow);
    TestEnv env;
    store(env, QStringLiteral("OptMColor"), stored);
    loadStartupSettings(env.root());
    const SharedState &s = state();
    QCOMPARE((QList<int>{s.GradientRed, s.GradientGreen, s.GradientBlue}), gradient);
    QCOMPARE(s.LogoColor, logo);
    QCOMPARE(s.LogoShadowColor, shadow);
    QCOMPARE(storedSettings(env).value(QStringLiteral("OptMColor")), stored);
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
    QVERIFY(!stored.contains(QStringLiteral("OptBColor")));
    QVERIFY(!stored.contains(QStringLiteral("OPTBCOLOR")));
    QCOMPARE(readSetting(QStringLiteral("optbcolor")), QStringLiteral("255"));
}

void TestStartup::colourTextsInBothForms()
{
    TestEnv env;
    store(env, QStringLiteral("OptBColor"), QStringLiteral("255"));
    store(env, QStringLiteral("OptFColor"), QStringLiteral("&HFF"));
    loadStartupSettings(env.root());
    QCOMPARE(colorFromText(state().CountdownBackColor), colorFromText(state().CountdownForeColor));
}

void TestStartup::withoutLogoNoSplash()
{
    TestEnv env;
    store(env, QStringLiteral("OptLogo"), QStringLiteral("0"));
    bool splashSeen = false;
    whenModal([&] { splashSeen = isLoaded<INITDISP>(); });
    runStartup(env.root());
    NARABIN *main = loadedForm<NARABIN>();
    QVERIFY(main);
    QVERIFY(main->isVisible());
    QVERIFY(!main->mnuLogoMark->isChecked());
    QVERIFY(!splashSeen);
    QCOMPARE(state().TodayText, QStringLiteral("2026/12/05"));
    QCOMPARE(state().ClockText, QStringLiteral("午後 03:07"));
}

void TestStartup::withLogoTheSplashComesFirst()
{
    TestEnv env;
    bool checked = false;
    whenModal([&] {
        INITDISP *splash = loadedForm<INITDISP>();
        QVERIFY(splash && splash->isVisible() && splash->isModal());
        QVERIFY(!isLoaded<NARABIN>());
        QCOMPARE(splash->Timer1->interval(), 6000);
        QVERIFY(splash->Timer1->isActive());
        QVERIFY(splash->windowTitle().isEmpty());
        splash->close(); // a close request does not end it
        QVERIFY(splash->isVisible());
        splash->Timer1_Timer();
        checked = true;
    });
    runStartup(env.root());
    QVERIFY(checked);
    QVERIFY(!isLoaded<INITDISP>());
    QVERIFY(loadedForm<NARABIN>()->isVisible());
    QVERIFY(loadedForm<NARABIN>()->mnuLogoMark->isChecked());
}

void TestStartup::workingFolderFallsBackToUserFolder()
{
    TestEnv env;
    QCOMPARE(chooseWorkingFolder(env.work()), env.work());
    const QString fallback = chooseWorkingFolder(env.path(QStringLiteral("no-such-folder")));
    QVERIFY(fallback != env.path(QStringLiteral("no-such-folder")));
    QVERIFY(QFileInfo(fallback).isDir());
    // An installed copy works in the user's folder even where it could write beside itself.
    env.writeFile(QStringLiteral("prefix/share/narabin/NARABIN.HLP"), "help");
    QDir().mkpath(env.path(QStringLiteral("prefix/bin")));
    QCOMPARE(chooseWorkingFolder(env.path(QStringLiteral("prefix/bin"))), fallback);
    // A portable copy keeps its help file beside it and works there.
    env.writeFile(QStringLiteral("prefix/bin/NARABIN.HLP"), "help");
    QCOMPARE(chooseWorkingFolder(env.path(QStringLiteral("prefix/bin"))), env.path(QStringLiteral("prefix/bin")));
}

void TestStartup::dataFilesAreFoundBesideOrInstalled()
{
    TestEnv env;
    env.writeFile(QStringLiteral("prefix/bin/narabin"), "");
    env.writeFile(QStringLiteral("prefix/share/narabin/NARABIN.HLP"), "help");
    const QString bin = env.path(QStringLiteral("prefix/bin"));
    QCOMPARE(findProgramDataFile(bin, QStringLiteral("NARABIN.HLP")), env.path(QStringLiteral("prefix/share/narabin/NARABIN.HLP")));
    env.writeFile(QStringLiteral("prefix/bin/NARABIN.HLP"), "portable");
    QCOMPARE(findProgramDataFile(bin, QStringLiteral("NARABIN.HLP")), env.path(QStringLiteral("prefix/bin/NARABIN.HLP")));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
