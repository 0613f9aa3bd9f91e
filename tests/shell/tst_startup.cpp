// Start-up: settings with their defaults, presets, the splash and the main window.
#include "about/splash.h"
#include "core/colors.h"
#include "mainwin/mainwindow.h"
#include "shell/startupwindows.h"
#include "support/fixtures.h"

#include <QSettings>
#include <QtTest>

namespace
{
// A key's full name as QSettings tells one key from another: on Windows in any case.
QString keyName(const QString &key)
{
#ifdef Q_OS_WIN
    return key.toLower();
#else
    return key;
#endif
}

// Every key of an INI file by its full name, as QSettings reads it: from a copy under a
// name of its own, since QSettings takes a file of the same name, size and time as read.
QMap<QString, QVariant> everySetting(const TestEnv &env, const QByteArray &bytes)
{
    static int copies = 0;
    const QString path = QDir(env.root()).filePath(QStringLiteral("read%1.ini").arg(++copies));
    QFile copy(path);
    if (!copy.open(QIODevice::WriteOnly) || copy.write(bytes) != bytes.size())
        return {};
    copy.close();
    QSettings file(path, QSettings::IniFormat);
    QMap<QString, QVariant> out;
    for (const QString &key : file.allKeys())
        out.insert(keyName(key), file.value(key));
    return out;
}

// The file's non-empty lines (after a BOM) but those of the program's keys and the
// headers it may add.
QByteArrayList otherLines(QByteArray file)
{
    QByteArrayList out;
    for (const QByteArray &line : file.mid(file.startsWith("\xEF\xBB\xBF") ? 3 : 0).replace('\r', '\n').split('\n')) {
        if (!line.isEmpty() && !line.toLower().contains("opt") && !line.contains("[Config]") &&
            !line.contains("[General]"))
            out.append(line);
    }
    return out;
}

// A settings file as a hand edit may leave it: sections again or in another case, keys
// in any case, escaped or commented, lines of stray signs (a "\" or a lone quote runs on
// into the next line), bytes that are no UTF-8, any line breaks, a BOM.
QByteArray handEditedSettings(QRandomGenerator &random)
{
    static const QByteArrayList lines{
        "[Config]",      " [ Config ] ",         "[config]",    "[Other]",     "[x", "OptLogo=1",   "OPTLOGO = 2",
        "optlogo=\"3\"", "OptBColor=&HFF ;note", "Opt%4Cogo=4", "; a comment", "",   "Key=\"a, b\""};
    static const QByteArrayList stray{"x", "=", "\\", "\"", ";", " ", "\xFF", "\x82\xA0", "é", "[", "]", "%"};
    static const QByteArrayList breaks{"\n", "\r\n", "\r"};
    QByteArray file = random.bounded(8) == 0 ? "\xEF\xBB\xBF" : "";
    for (int n = random.bounded(12); n > 0; --n) {
        if (random.bounded(3) == 0) {
            for (int k = random.bounded(1, 6); k > 0; --k)
                file += stray.at(random.bounded(stray.size()));
        } else {
            file += lines.at(random.bounded(lines.size()));
        }
        if (n > 1 || random.bounded(2) == 0)
            file += breaks.at(random.bounded(breaks.size()));
    }
    return file;
}
} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void settingsPresetsAndSplash_data();
    void settingsPresetsAndSplash();
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
    // A key is one whatever its letter case: no default is added beside it.
    QTest::newRow("unknown value, no splash")
        << "OptMColor=7 optlogo=0" << QList<int>{0, 0, 0} << QList<ColorValue>{0, 0} << "";
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
        const QString key = pair.section(u'=', 0, 0);
        storeBefore(key, pair.section(u'=', 1));
        expected.remove(expected.keys().filter(key, Qt::CaseInsensitive).value(0));
        expected[key] = pair.section(u'=', 1);
    }
    if (!message.isEmpty()) {
        QVERIFY(QDir(env.root()).rmdir(QStringLiteral("config")));
        env.writeFile(QStringLiteral("../config"), "");
        expected.clear();
    }
    const bool splash = !stored.contains(QStringLiteral("logo=0"));
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
    QMap<QString, QVariant> inFile;
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        inFile.insert(keyName("Config/" + it.key()), it.value());
    QCOMPARE(everySetting(env, settingsBytes(env)), inFile);
    QCOMPARE(readSetting(QStringLiteral("OPTMCOLOR")), expected.value(QStringLiteral("OptMColor")));
    QCOMPARE(env.platform.messageLog().join(u'\n'),
             message.replace(QStringLiteral("%1"), QDir::toNativeSeparators(env.settingsFile())));
}

// The settings file is written by the program and read by QSettings: whatever value and
// whatever file an earlier version or a hand edit left before, every key reads back as last stored
// and every other line keeps its bytes.
void TestStartup::storedValuesReadBack()
{
    const QStringList pieces{"1", "&HFF", " ",  "\"", "\\",       ",", ";", "=",
                             "#", "[x]",  "\t", "\n", "ならびん", "%", "é", QString(QChar(1)),
                             "a", "@"};
    QRandomGenerator random(1207);
    TestEnv env;
    const QString path = env.settingsFile();
    const auto put = [&path](const QByteArray &bytes) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    QDir().mkpath(QFileInfo(path).absolutePath());
    for (int round = 0; round < 300; ++round) {
        QVERIFY(put(handEditedSettings(random)));
        QMap<QString, QVariant> expected = everySetting(env, settingsBytes(env));
        const QByteArrayList others = otherLines(settingsBytes(env));
        for (int n = 0; n < 4; ++n) {
            const QString key = QStringList{"OptLogo", "OptBColor", "OptLine_3", "OptPsbar"}.at(random.bounded(4));
            QString value;
            for (int k = random.bounded(5); k > 0; --k)
                value += pieces.at(random.bounded(pieces.size()));
            QVERIFY(put(iniWithValue(settingsBytes(env), QStringLiteral("Config"), key, value)));
            bool stored = false;
            for (auto it = expected.begin(); it != expected.end(); ++it) {
                if (it.key().startsWith(keyName(QStringLiteral("Config/"))) &&
                    it.key().mid(7).compare(key, Qt::CaseInsensitive) == 0) {
                    it.value() = value;
                    stored = true;
                }
            }
            if (!stored)
                expected.insert(keyName(QStringLiteral("Config/") + key), value);
            QCOMPARE(everySetting(env, settingsBytes(env)), expected);
            QCOMPARE(otherLines(settingsBytes(env)), others);
        }
    }
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
