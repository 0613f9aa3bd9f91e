// Start-up: settings with their defaults, presets, the splash and the main window.
#include "about/splash.h"
#include "core/colors.h"
#include "core/settings.h"
#include "core/startup.h"
#include "mainwin/mainwindow.h"
#include "shell/startupwindows.h"
#include "support/testenv.h"

#include <QRandomGenerator>
#include <QSettings>
#include <QtTest>

namespace
{
// The store as a flat map, read straight from its file.
QMap<QString, QString> storedSettings(const TestEnv &env)
{
    QSettings file(env.settingsFile(), QSettings::IniFormat);
    file.beginGroup("Config");
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

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void settingsPresetsAndSplash_data();
    void settingsPresetsAndSplash();
    void keysAreOneWhateverTheirCase();
    void storedValuesReadBack();
};

void TestStartup::settingsPresetsAndSplash_data()
{
    QTest::addColumn<QString>("stored"); // "key=value" pairs in the store before; empty: a first run
    QTest::addColumn<QList<int>>("gradient");
    QTest::addColumn<QList<ColorValue>>("logo"); // the lettering and its shadow
    QTest::addColumn<QString>("message");        // set: the store's folder is a file, and this is shown
    const QList<ColorValue> deepSea{rgbValue(0, 128, 128), rgbValue(0, 64, 0)};
    QTest::newRow("first run: deep sea") << "" << QList<int>{10, 50, 110} << deepSea << "";
    QTest::newRow("sunset") << "OptMColor=2" << QList<int>{200, 100, 150}
                            << QList<ColorValue>{rgbValue(255, 128, 0), rgbValue(128, 0, 0)} << "";
    QTest::newRow("unknown value, no splash")
        << "OptMColor=7 OptLogo=0" << QList<int>{0, 0, 0} << QList<ColorValue>{0, 0} << "";
    QTest::newRow("defaults not stored: said once")
        << "" << QList<int>{10, 50, 110} << deepSea
        << "設定の保存エラー|"
           "設定の初期値を保存できませんでした。\r同じ名前のファイルがあるため、フォルダーを作成できません。"
           "\r保存先: %1\r今回は初期値で起動します。|48";
}

void TestStartup::settingsPresetsAndSplash()
{
    QFETCH(QString, stored);
    QFETCH(QList<int>, gradient);
    QFETCH(QList<ColorValue>, logo);
    QFETCH(QString, message);
    TestEnv env;
    QMap<QString, QString> expected{{"OptLogo", "1"},          {"OptPsbar", "1"},  {"OptLine_2", "0"},
                                    {"OptLine_3", "0"},        {"OptLine_4", "0"}, {"OptLine_5", "0"},
                                    {"OptLine_6", "0"},        {"OptLine_7", "0"}, {"OptBColor", "&HFF"},
                                    {"OptFColor", "&HFFFFFF"}, {"OptMColor", "1"}, {"OptFitToPage", "0"}};
    for (const QString &pair : stored.split(u' ', Qt::SkipEmptyParts)) {
        store(env, pair.section(u'=', 0, 0), pair.section(u'=', 1));
        expected[pair.section(u'=', 0, 0)] = pair.section(u'=', 1);
    }
    if (!message.isEmpty()) {
        QVERIFY(QDir(env.root()).rmdir(QStringLiteral("config")));
        env.writeFile(QStringLiteral("../config"), "");
        expected.clear();
    }
    const bool splash = expected.value("OptLogo", "1") == "1";
    bool splashSeen = false;
    whenModal([&] {
        SplashScreen *w = loadedForm<SplashScreen>();
        if (!w)
            return;
        splashSeen = w->isVisible() && w->isModal() && !isLoaded<MainWindow>();
        w->timedOut();
    });
    runStartup(env.root());
    QCOMPARE(splashSeen, splash);
    QVERIFY(!isLoaded<SplashScreen>());
    MainWindow *main = loadedForm<MainWindow>();
    QVERIFY(main && main->isVisible());
    const SharedState &s = state();
    QCOMPARE((QList<int>{s.GradientRed, s.GradientGreen, s.GradientBlue}), gradient);
    QCOMPARE((QList<ColorValue>{s.LogoColor, s.LogoShadowColor}), logo);
    QCOMPARE(storedSettings(env), expected);
    QCOMPARE(env.platform.messageLog().join(u'\n'),
             message.replace(QStringLiteral("%1"), QDir::toNativeSeparators(env.settingsFile())));
}

void TestStartup::keysAreOneWhateverTheirCase()
{
    TestEnv env;
    store(env, "OptBcolor", "65280");
    loadStartupSettings(env.root());
    QCOMPARE(state().CountdownBackColor, QStringLiteral("65280"));
    QCOMPARE(writeSetting("OPTBCOLOR", "255"), QString());
    const QMap<QString, QString> stored = storedSettings(env);
    QCOMPARE(stored.value("OptBcolor"), QStringLiteral("255"));
    QVERIFY(!stored.contains("OptBColor") && !stored.contains("OPTBCOLOR"));
    QCOMPARE(readSetting("optbcolor"), QStringLiteral("255"));
}

// The settings file is written by the program and read by QSettings: whatever value and
// whatever file QSettings wrote before, every key reads back as last stored.
void TestStartup::storedValuesReadBack()
{
    const QStringList pieces{"1", "&HFF", " ",  "\"", "\\",       ",", ";", "=",
                             "#", "[x]",  "\t", "\n", "ならびん", "%", "é", QString(QChar(1)),
                             "a"};
    QRandomGenerator random(1207);
    for (int round = 0; round < 40; ++round) {
        TestEnv env;
        QMap<QString, QString> expected;
        // What an earlier version left: a file QSettings itself wrote, with a group of its own.
        store(env, QStringLiteral("OptLogo"), QStringLiteral("0"));
        expected.insert(QStringLiteral("OptLogo"), QStringLiteral("0"));
        QSettings(env.settingsFile(), QSettings::IniFormat)
            .setValue(QStringLiteral("Other/Key"), QStringLiteral("a, b"));
        for (int n = 0; n < 8; ++n) {
            const QString key = QStringList{"OptLogo", "OptBColor", "OptLine_3", "OptPsbar"}.at(random.bounded(4));
            QString value;
            for (int k = random.bounded(5); k > 0; --k)
                value += pieces.at(random.bounded(pieces.size()));
            QCOMPARE(saveSettingValue(QString::fromLatin1(ProgramTitle), QStringLiteral("Config"), key, value),
                     QString());
            expected.insert(key, value);
        }
        QCOMPARE(storedSettings(env), expected);
        QCOMPARE(QSettings(env.settingsFile(), QSettings::IniFormat).value(QStringLiteral("Other/Key")).toString(),
                 QStringLiteral("a, b"));
    }
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
