// The main window: enabling, the past-log list and its charts, quitting, options, the logo.
#include "about/splash.h"
#include "about/versioninfo.h"
#include "core/logocache.h"
#include "core/resultfile.h"
#include "seating/resultwindow.h"
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
    void pastResults_data();
    void pastResults();
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
    QTest::addColumn<bool>("resultShown");
    QTest::addColumn<QStringList>("disabled"); // every other item and toolbar position is enabled
    QTest::newRow("fresh program") << false
                                   << QStringList{"mnuCondition", "mnuFileNarabin", "mnuResult", "toolbar 7",
                                                  "toolbar 8"};
    QTest::newRow("a result was shown") << true
                                        << QStringList{"mnuCondition", "mnuFileNarabin", "toolbar 7", "toolbar 8"};
}

void TestMainWindow::enablingAfterLoad()
{
    QFETCH(bool, resultShown);
    QFETCH(QStringList, disabled);
    TestEnv env;
    MainWindow *w = startedMain([&] { state().ResultShown = resultShown; });
    QStringList off;
    for (QAction *a : w->findChildren<QAction *>()) {
        if (!a->isEnabled() && !a->isSeparator() && a->objectName().startsWith("mnu"))
            off.append(a->objectName());
    }
    off.sort();
    for (int pos = 1; pos <= 12; ++pos) {
        if (w->toolbar->button(pos) && !w->toolbar->isButtonEnabled(pos))
            off.append(QStringLiteral("toolbar %1").arg(pos));
    }
    QCOMPARE(off, disabled);
}

void TestMainWindow::pastResults_data()
{
    QTest::addColumn<QByteArray>("log"); // empty: no log
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QByteArray>("file");   // the first item's; empty: none
    QTest::addColumn<QStringList>("seats"); // shown when it is chosen; empty: the not-found message
    const QStringList terms{"一学期.rlt", "二学期.rlt", "三学期.rlt"};
    QTest::newRow("28 lines") << crlfLines(terms) << terms << crlfLines(numberedNames(1, 28)) << numberedNames(1, 28);
    QTest::newRow("comma entry gives two items")
        << crlfLines({"a,b.rlt"}) << QStringList{"a", "b.rlt"} << QByteArray() << QStringList();
    QTest::newRow("missing log") << QByteArray() << QStringList() << QByteArray() << QStringList();
    // A log edited by hand to 17 names lists the newest 15.
    QTest::newRow("17 entries") << crlfLines(numberedNames(1, 17)) << numberedNames(3, 17) << QByteArray()
                                << QStringList();
    const QByteArray one = crlfLines({"1組.rlt"});
    const QStringList item{"1組.rlt"};
    QTest::newRow("fewer lines") << one << item << crlfLines(numberedNames(1, 3)) << padded(numberedNames(1, 3));
    QStringList shifted = numberedNames(1, 28);
    shifted[0] = "山田,花子";
    QTest::newRow("comma inside a name: 29 fields") << one << item << crlfLines(shifted) << QStringList();
    const QStringList withTab{"伊藤\t翔太", "佐藤"};
    QTest::newRow("a TAB inside a name is text") << one << item << crlfLines(withTab) << padded(withTab);
    // In the file's room, not the class's standard one.
    QString error;
    QTest::newRow("a chart of another room")
        << one << item << resultFileBytes(Room::grid(7, 5), chartFromTexts(numberedNames(1, 35), 35), &error)
        << numberedNames(1, 35);
    // As a save logs such a name: listed once, and it opens.
    QTest::newRow("file name with a comma") << sjis("\"山田,花子.rlt\"\r\n") << QStringList{"山田,花子.rlt"}
                                            << crlfLines(numberedNames(1, 3)) << padded(numberedNames(1, 3));
}

void TestMainWindow::pastResults()
{
    QFETCH(QByteArray, log);
    QFETCH(QStringList, items);
    QFETCH(QByteArray, file);
    QFETCH(QStringList, seats);
    TestEnv env;
    if (!log.isEmpty())
        env.writeFile("ならびん.ini", log);
    if (!file.isEmpty())
        env.writeFile(items.constFirst(), file);
    MainWindow *w = startedMain();
    QCOMPARE(pastLogItems(w), items);
    QCOMPARE(w->pastResultItems[0]->isVisible(), !items.isEmpty()); // the separator
    // A main window created again in the same run numbers its items on (never from 1 again).
    QList<int> indices;
    for (int i = 1; i <= 2 * int(items.size()); ++i)
        indices.append(i);
    QCOMPARE(logIndices(w), indices.mid(0, items.size()));
    if (!items.isEmpty()) {
        TRIGGER(w, "mnuFileArray_1");
        QVERIFY(isLoaded<MainWindow>() && w->isVisible()); // the main window stays open behind
        QCOMPARE(env.platform.messageLog(),
                 seats.isEmpty() ? QStringList{"ﾌｧｲﾙの存在確認|指定したﾌｧｲﾙがありません。存在を確認して下さい。|16"}
                                 : QStringList());
        ResultWindow *r = loadedForm<ResultWindow>();
        QCOMPARE(r ? r->seatTexts() : QStringList(), seats);
    }
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
    QCOMPARE(env.platform.messageLog(), QStringList{"終了確認|「ならびん君 for Windows」 を 終了しますか？|33"});
    QCOMPARE(env.platform.quitCount, answer == IDOK ? 1 : 0);
    if (answer == IDCANCEL)
        QVERIFY(isLoaded<MainWindow>() && w->isVisible());
}

void TestMainWindow::runOptionItems_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("stored"); // -1: never stored
    QTest::addColumn<QString>("key");
    QTest::newRow("seat, never stored") << "mnuNoSameSeat" << -1 << "OptNoSameSeat";
    QTest::newRow("seat, off") << "mnuNoSameSeat" << 0 << "OptNoSameSeat";
    QTest::newRow("neighbour, on") << "mnuNoSameNeighbour" << 1 << "OptNoSameNeighbour";
    QTest::newRow("logo, on") << "mnuLogoMark" << 1 << "OptLogo";
    QTest::newRow("logo, off") << "mnuLogoMark" << 0 << "OptLogo";
}

void TestMainWindow::runOptionItems()
{
    QFETCH(QString, item);
    QFETCH(int, stored);
    QFETCH(QString, key);
    TestEnv env;
    if (stored >= 0)
        storeBefore(key, QString::number(stored));
    MainWindow *w = startedMain();
    const bool on = stored == 1;
    QCOMPARE(findAction(w, item)->isChecked(), on);
    findAction(w, item)->trigger();
    const SharedState &s = state();
    const QMap<QString, bool> held{
        {"OptNoSameSeat", s.OptNoSameSeat}, {"OptNoSameNeighbour", s.OptNoSameNeighbour}, {"OptLogo", s.OptLogo}};
    QCOMPARE(readSetting(key), QString::number(on ? 0 : 1));
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
