// The main window: enabling, the past-log list and its charts, quitting, options, the logo, its colours.
#include "about/splash.h"
#include "about/versioninfo.h"
#include "core/colors.h"
#include "core/logocache.h"
#include "core/resultfile.h"
#include "mainwin/maincolordialog.h"
#include "seating/resultwindow.h"
#include "support/mainfixtures.h"

#include <QLabel>
#include <QRadioButton>
#include <QToolButton>
#include <QtTest>

#include <tuple>

namespace
{
using LookChange = void (*)(LogoLook &);
} // namespace
Q_DECLARE_METATYPE(LookChange)

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void enablingAfterLoad();
    void pastResults_data();
    void pastResults();
    void quitConfirmation();
    void runOptionItems();
    void logoLetteringFits();
    void logoCacheHit_data();
    void logoCacheHit();
    void logoFromCache();
    void presetStoredAndShown();
    void countdownColours();
};

// What is off in a fresh program, and once a result was shown (the previous result then on).
void TestMainWindow::enablingAfterLoad()
{
    TestEnv env;
    const auto off = [](const MainWindow *w) {
        QStringList names;
        for (QAction *a : w->findChildren<QAction *>()) {
            if (!a->isEnabled() && !a->isSeparator() && a->objectName().startsWith("mnu"))
                names.append(a->objectName());
        }
        names.sort();
        for (int pos = 1; pos <= 12; ++pos) {
            if (w->toolbar->button(pos) && !w->toolbar->isButtonEnabled(pos))
                names.append(QStringLiteral("toolbar %1").arg(pos));
        }
        return names.join(u' ');
    };
    QCOMPARE(off(startedMain()), QStringLiteral("mnuCondition mnuFileNarabin mnuResult toolbar 7 toolbar 8"));
    unload<MainWindow>();
    QCOMPARE(off(startedMain([] { state().ResultShown = true; })),
             QStringLiteral("mnuCondition mnuFileNarabin toolbar 7 toolbar 8"));
}

void TestMainWindow::pastResults_data()
{
    QTest::addColumn<QByteArray>("log");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QByteArray>("file");   // the first item's; empty: none
    QTest::addColumn<QStringList>("seats"); // shown when it is chosen; empty: the not-found message
    const QStringList terms{"一学期.rlt", "二学期.rlt", "三学期.rlt"};
    QTest::newRow("28 lines") << crlfLines(terms) << terms << crlfLines(numberedNames(1, 28)) << numberedNames(1, 28);
    QTest::newRow("comma entry gives two items")
        << crlfLines({"a,b.rlt"}) << QStringList{"a", "b.rlt"} << QByteArray() << QStringList();
    const QByteArray one = crlfLines({"1組.rlt"});
    const QStringList item{"1組.rlt"};
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
    env.writeFile("ならびん.ini", log);
    if (!file.isEmpty())
        env.writeFile(items.constFirst(), file);
    MainWindow *w = startedMain();
    QCOMPARE(pastLogItems(w), items);
    TRIGGER(w, "mnuFileArray_1");
    QVERIFY(isLoaded<MainWindow>() && w->isVisible()); // the main window stays open behind
    QCOMPARE(env.platform.messageLog(),
             seats.isEmpty() ? QStringList{"ﾌｧｲﾙの存在確認|指定したﾌｧｲﾙがありません。存在を確認して下さい。|16"}
                             : QStringList());
    ResultWindow *r = loadedForm<ResultWindow>();
    QCOMPARE(r ? r->seatTexts() : QStringList(), seats);
}

// Asked by the close button (Cancel: the window stays) and by File>End (OK: the program ends).
void TestMainWindow::quitConfirmation()
{
    TestEnv env;
    MainWindow *w = startedMain();
    env.platform.answers.enqueue(IDCANCEL);
    w->close();
    QVERIFY(isLoaded<MainWindow>() && w->isVisible());
    QVERIFY(env.platform.callsOf("quit").isEmpty());
    env.platform.answers.enqueue(IDOK);
    w->quitAction->trigger();
    const QString asked = "終了確認|「ならびん君 for Windows」 を 終了しますか？|33";
    QCOMPARE(env.platform.messageLog(), (QStringList{asked, asked}));
    QCOMPARE(env.platform.callsOf("quit").size(), 1);
}

// Each option item shows what is stored (off unless stored, the splash on), stores its
// change, and a main window created again shows the choice in force.
void TestMainWindow::runOptionItems()
{
    TestEnv env;
    storeBefore("OptNoSameNeighbour", "1");
    storeBefore("OptLogo", "0");
    MainWindow *w = startedMain();
    const QStringList items{"mnuNoSameSeat", "mnuNoSameNeighbour", "mnuLogoMark"};
    const auto checks = [&items](MainWindow *main) {
        QString marks;
        for (const QString &item : items)
            marks += findAction(main, item)->isChecked() ? u'1' : u'0';
        return marks;
    };
    QCOMPARE(checks(w), QStringLiteral("010"));
    for (const QString &item : items)
        findAction(w, item)->trigger();
    QCOMPARE(readSetting("OptNoSameSeat") + readSetting("OptNoSameNeighbour") + readSetting("OptLogo"),
             QStringLiteral("101"));
    unload<MainWindow>();
    QCOMPARE(checks(form<MainWindow>()), QStringLiteral("101"));
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
    QTest::newRow("colour") << LookChange([](LogoLook &l) { l.colours[1] = 1; }) << 0 << false;
    QTest::newRow("size") << LookChange([](LogoLook &l) { l.size.rwidth()++; }) << 0 << false;
    QTest::newRow("pixel ratio") << LookChange([](LogoLook &l) { l.pixelRatio = 2; }) << 0 << false;
    QTest::newRow("dpi") << LookChange([](LogoLook &l) { l.dotsPerInch = 120; }) << 0 << false;
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

// The chooser stores the preset, and the main window takes its lettering at once, without
// waiting to be activated again. Presets 1 and 3 share their lettering, not their gradient.
void TestMainWindow::presetStoredAndShown()
{
    TestEnv env;
    storeBefore("OptMColor", "2");
    MainWindow *w = startedMain();
    for (const auto &[option, stored, gradient] :
         {std::tuple{0, "1", QList<int>{10, 50, 110}}, std::tuple{2, "3", QList<int>{50, 80, 130}}}) {
        TRIGGER(w, "mnuMainColor");
        MainColorDialog *c = loadedForm<MainColorDialog>();
        QVERIFY(c && c->isVisible());
        QTest::mouseClick(c->presetOptions[size_t(option)], Qt::LeftButton);
        c->buttons[0]->click();
        QVERIFY(!isLoaded<MainColorDialog>());
        QCOMPARE(storedLines(env, QStringLiteral("OptMColor")), QStringList{QStringLiteral("OptMColor=") + stored});
        const SharedState &s = state();
        QCOMPARE((QList<int>{s.GradientRed, s.GradientGreen, s.GradientBlue}), gradient);
        for (QLabel *l : w->logoLetters)
            QCOMPARE(l->palette().color(QPalette::WindowText), QColor(0, 128, 128));
        for (QLabel *l : w->logoShadows)
            QCOMPARE(l->palette().color(QPalette::WindowText), QColor(0, 64, 0));
    }
    QVERIFY(env.platform.messageLog().isEmpty());
}

// A text colour the same as the background is said and not stored; a background colour is.
void TestMainWindow::countdownColours()
{
    TestEnv env;
    storeBefore("OptBColor", "&HFF");
    storeBefore("OptFColor", "&HFFFFFF");
    MainWindow *w = startedMain();
    const QByteArray before = settingsBytes(env);
    env.platform.colors.enqueue(ColorValue(255));
    TRIGGER(w, "mnuFore");
    QCOMPARE(env.platform.messageLog(), QStringList{"設定確認|背景と文字に同じ色を設定しようとしました。|16"});
    QCOMPARE(settingsBytes(env), before);
    env.platform.colors.enqueue(ColorValue(0));
    TRIGGER(w, "mnuBack");
    QCOMPARE(state().CountdownBackColor + u'|' + state().CountdownForeColor, QStringLiteral("0|&HFFFFFF"));
    QCOMPARE(storedLines(env, QStringLiteral("OptBColor")), QStringList{"OptBColor=0"});
    QCOMPARE(env.platform.messageLog().size(), 1);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
