// The main window: enabling, the past-log list, quitting.
#include "about/splash.h"
#include "about/versioninfo.h"
#include "core/logocache.h"
#include "core/settings.h"
#include "core/startup.h"
#include "support/mainfixtures.h"

#include <QLabel>
#include <QToolButton>
#include <QtTest>

namespace
{
QList<int> logIndices(const MainWindow *w)
{
    QList<int> out;
    for (const auto &[index, action] : w->pastResultItems) {
        if (index > 0)
            out.append(index);
    }
    return out;
}
using LookChange = void (*)(LogoLook &);
} // namespace
Q_DECLARE_METATYPE(LookChange)

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void enablingAfterLoad_data();
    void enablingAfterLoad();
    void pastLogList_data();
    void pastLogList();
    void quitConfirmation_data();
    void quitConfirmation();
    void runOptionItems_data();
    void runOptionItems();
    void logoLetteringFits();
    void logoCacheHit_data();
    void logoCacheHit();
    void logoFromCache();
};

void TestMainWindow::enablingAfterLoad_data()
{
    QTest::addColumn<int>("resultShown");
    QTest::addColumn<QStringList>("disabled"); // every other item and toolbar position is enabled
    QTest::newRow("fresh program") << 0
                                   << QStringList{"mnuCondition", "mnuFileNarabin", "mnuResult", "toolbar 7",
                                                  "toolbar 8"};
    QTest::newRow("a result was shown") << 1 << QStringList{"mnuCondition", "mnuFileNarabin", "toolbar 7", "toolbar 8"};
}

void TestMainWindow::enablingAfterLoad()
{
    QFETCH(int, resultShown);
    QFETCH(QStringList, disabled);
    TestEnv env;
    MainWindow *w = startedMain([&] { state().ResultShown = resultShown != 0; });
    QStringList off;
    for (QAction *a : w->findChildren<QAction *>()) {
        if (!a->isEnabled() && !a->isSeparator() && a->objectName().startsWith(QLatin1String("mnu")))
            off.append(a->objectName());
    }
    off.sort();
    for (int pos = 1; pos <= 12; ++pos) {
        if (w->toolbar->button(pos) && !w->toolbar->isButtonEnabled(pos))
            off.append(QStringLiteral("toolbar %1").arg(pos));
    }
    QCOMPARE(off, disabled);
}

void TestMainWindow::pastLogList_data()
{
    QTest::addColumn<QByteArray>("log"); // empty: no log
    QTest::addColumn<QStringList>("items");
    QTest::newRow("three entries") << crlfLines({"一学期.rlt", "二学期.rlt", "三学期.rlt"})
                                   << QStringList{"一学期.rlt", "二学期.rlt", "三学期.rlt"};
    QTest::newRow("comma entry gives two items") << crlfLines({"a,b.rlt"}) << QStringList{"a", "b.rlt"};
    QTest::newRow("missing log") << QByteArray() << QStringList();
    // A log edited by hand to 17 names lists the newest 15.
    QTest::newRow("17 entries") << crlfLines(numberedNames(1, 17)) << numberedNames(3, 17);
}

void TestMainWindow::pastLogList()
{
    QFETCH(QByteArray, log);
    QFETCH(QStringList, items);
    TestEnv env;
    if (!log.isEmpty())
        env.writeFile(QStringLiteral("ならびん.ini"), log);
    MainWindow *w = startedMain();
    QCOMPARE(pastLogItems(w), items);
    QCOMPARE(w->pastResultItems[0]->isVisible(), !items.isEmpty()); // the separator
    // A main window created again in the same run numbers its items on (never from 1 again).
    QList<int> indices;
    for (int i = 1; i <= 2 * int(items.size()); ++i)
        indices.append(i);
    QCOMPARE(logIndices(w), indices.mid(0, items.size()));
    unload<MainWindow>();
    MainWindow *again = form<MainWindow>();
    QCOMPARE(pastLogItems(again), items);
    QCOMPARE(logIndices(again), indices.mid(items.size()));
}

void TestMainWindow::quitConfirmation_data()
{
    QTest::addColumn<bool>("closeButton"); // else File>End
    QTest::addColumn<int>("answer");
    QTest::newRow("File>End, OK") << false << IDOK;
    QTest::newRow("close button, Cancel") << true << IDCANCEL;
}

void TestMainWindow::quitConfirmation()
{
    QFETCH(bool, closeButton);
    QFETCH(int, answer);
    TestEnv env;
    MainWindow *w = startedMain();
    env.platform.answers.enqueue(answer);
    if (closeButton)
        w->close();
    else
        w->quitAction->trigger();
    QCOMPARE(env.platform.messageLog(),
             QStringList{QStringLiteral("終了確認|「ならびん君 for Windows」 を 終了しますか？|33")});
    QCOMPARE(env.platform.quitCount, answer == IDOK ? 1 : 0);
    if (answer == IDCANCEL)
        QVERIFY(isLoaded<MainWindow>() && w->isVisible());
}

void TestMainWindow::runOptionItems_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("stored"); // empty: never stored
    QTest::newRow("seat, never stored") << "mnuNoSameSeat"
                                        << "OptNoSameSeat"
                                        << "";
    QTest::newRow("seat, off") << "mnuNoSameSeat"
                               << "OptNoSameSeat"
                               << "0";
    QTest::newRow("neighbour, on") << "mnuNoSameNeighbour"
                                   << "OptNoSameNeighbour"
                                   << "1";
    QTest::newRow("logo, on") << "mnuLogoMark"
                              << "OptLogo"
                              << "1";
    QTest::newRow("logo, off") << "mnuLogoMark"
                               << "OptLogo"
                               << "0";
}

void TestMainWindow::runOptionItems()
{
    QFETCH(QString, item);
    QFETCH(QString, key);
    QFETCH(QString, stored);
    TestEnv env;
    if (!stored.isEmpty())
        QCOMPARE(saveSettingValue(QString::fromLatin1(ProgramTitle), QStringLiteral("Config"), key, stored), QString());
    MainWindow *w = startedMain();
    const bool on = stored == QLatin1String("1");
    QCOMPARE(findAction(w, item)->isChecked(), on);
    findAction(w, item)->trigger();
    const QString now = on ? QStringLiteral("0") : QStringLiteral("1");
    const SharedState &s = state();
    const QMap<QString, bool> held{
        {"OptNoSameSeat", s.OptNoSameSeat}, {"OptNoSameNeighbour", s.OptNoSameNeighbour}, {"OptLogo", s.OptLogo}};
    QCOMPARE(readSetting(key), now);
    QCOMPARE(held.value(key), !on);
    // A main window created again shows the choice in force.
    unload<MainWindow>();
    QCOMPARE(findAction(form<MainWindow>(), item)->isChecked(), !on);
    QVERIFY(env.platform.messageLog().isEmpty());
}

// Every line of lettering whole in its place (the logos of the main window, the splash and the
// version window), also where the Latin face is missing (a second run hides it) and its
// stand-in runs wider.
void TestMainWindow::logoLetteringFits()
{
    TestEnv env;
    MainWindow *w = startedMain();
    QStringList cut;
    for (QWidget *window : std::initializer_list<QWidget *>{w, form<SplashScreen>(), form<VersionWindow>()}) {
        for (const QLabel *label : window->findChildren<QLabel *>()) {
            if (QFontMetrics(label->font()).horizontalAdvance(label->text()) > label->width())
                cut.append(window->objectName() + u' ' + label->objectName());
        }
    }
    QCOMPARE(cut, QStringList());
    const QFont platformLine = w->logoLetters[2]->font();
    const QStringList latinSerif{"Liberation Serif", "Times New Roman"};
    QCOMPARE(platformLine.pointSizeF() < 18, !latinSerif.contains(QFontInfo(platformLine).family()));
}

void TestMainWindow::logoCacheHit_data()
{
    QTest::addColumn<LookChange>("change");
    QTest::addColumn<int>("cut"); // bytes cut off the cache file's end
    QTest::addColumn<bool>("hit");
    QTest::newRow("same") << LookChange([](LogoLook &) {}) << 0 << true;
    QTest::newRow("cut short") << LookChange([](LogoLook &) {}) << 1 << false;
    QTest::newRow("text") << LookChange([](LogoLook &l) { l.texts[1] = "君 2"; }) << 0 << false;
    QTest::newRow("face") << LookChange([](LogoLook &l) { l.faces[0] = "IPAPMincho 71"; }) << 0 << false;
    QTest::newRow("lettering") << LookChange([](LogoLook &l) { l.colours[0] = 1; }) << 0 << false;
    QTest::newRow("shadow") << LookChange([](LogoLook &l) { l.colours[1] = 1; }) << 0 << false;
    QTest::newRow("background") << LookChange([](LogoLook &l) { l.colours[2] = 1; }) << 0 << false;
    QTest::newRow("size") << LookChange([](LogoLook &l) { l.size.rwidth()++; }) << 0 << false;
    QTest::newRow("pixel ratio") << LookChange([](LogoLook &l) { l.pixelRatio = 2; }) << 0 << false;
    QTest::newRow("dpi") << LookChange([](LogoLook &l) { l.dotsPerInch = 120; }) << 0 << false;
    QTest::newRow("depth") << LookChange([](LogoLook &l) { l.depth = 16; }) << 0 << false;
    QTest::newRow("fonts") << LookChange([](LogoLook &l) { l.fonts += "/usr/share/fonts/new.ttf 1 2\n"; }) << 0
                           << false;
    QTest::newRow("renderer") << LookChange([](LogoLook &l) { l.renderer = "wayland"; }) << 0 << false;
    QTest::newRow("version") << LookChange([](LogoLook &l) { l.version = "1.0.1"; }) << 0 << false;
}

void TestMainWindow::logoCacheHit()
{
    QFETCH(LookChange, change);
    QFETCH(int, cut);
    QFETCH(bool, hit);
    TestEnv env;
    LogoLook look;
    look.texts = QStringList{"ならびん", "君"};
    look.faces = QStringList{"IPAPMincho 72", "IPAPMincho 20.25"};
    look.colours = {0x808000, 0x4000, 0};
    look.size = QSize(400, 170);
    look.fonts = "/usr/share/fonts/a.ttf 1 2\n";
    look.renderer = "xcb";
    const QByteArray image("\x00\x01\x02\xff", 4);
    QVERIFY(writeLogoCache(logoCacheKey(look), image));
    QFile file(logoCacheFile());
    QVERIFY(file.resize(file.size() - cut));
    change(look);
    QCOMPARE(readLogoCache(logoCacheKey(look)), hit ? std::optional<QByteArray>(image) : std::nullopt);
}

// The next start shows the logo from the cache, pixel for pixel as its labels drew it; its
// image gives way to the labels when the colours change.
void TestMainWindow::logoFromCache()
{
    TestEnv env;
    MainWindow *w = startedMain();
    QTRY_VERIFY(QFile::exists(logoCacheFile()));
    const QImage drawn = w->client()->grab().toImage();
    unload<MainWindow>();
    QCOMPARE(shownMain()->client()->grab().toImage(), drawn);
    // The cached pixels are the ones shown.
    QFile file(logoCacheFile());
    QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(file.size() - 2) && file.write("\x01") == 1);
    file.close();
    unload<MainWindow>();
    w = shownMain();
    QVERIFY(w->client()->grab().toImage() != drawn);
    const ColorValue lettering = state().LogoColor;
    state().LogoColor = lettering ^ 1;
    w->colourLogo();
    state().LogoColor = lettering;
    w->colourLogo();
    QCOMPARE(w->client()->grab().toImage(), drawn);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
