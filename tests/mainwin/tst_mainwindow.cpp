// The main window: enabling, the past-log list and its charts, quitting, options, the logo, its colours,
// the seat record window it opens.
#include "about/splash.h"
#include "about/versioninfo.h"
#include "core/colors.h"
#include "core/logocache.h"
#include "core/resultfile.h"
#include "mainwin/maincolordialog.h"
#include "mainwin/seatrecordwindow.h"
#include "seating/resultwindow.h"
#include "support/mainfixtures.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>

#include <tuple>

namespace
{
using LookChange = void (*)(LogoLook &);

// The table's rows as their cells read (the bar by the numbers read out with it).
QStringList rowsOf(const QTableWidget *table)
{
    QStringList rows;
    for (int r = 0; r < table->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < table->columnCount(); ++c)
            cells.append(table->item(r, c)->text());
        rows.append(cells.join(u'|'));
    }
    return rows;
}

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
    void openOverTheLog();
    void keptChartsSortedRemovedPrintedSaved();
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

// Over the folder's log, another class's chart in it not counted; without a roster the main
// window says why.
void TestMainWindow::openOverTheLog()
{
    TestEnv env;
    QVERIFY(saveCharts(QDir::currentPath(),
                       {"一学期.rlt=伊藤 翔太:1,佐藤 花子:28,鈴木:12", "二学期.rlt=伊藤 翔太:5,佐藤 花子:2,鈴木:24",
                        "三学期.rlt=伊藤 翔太:26,鈴木:25", "他の組.rlt=山田:1"}));
    MainWindow *main = startedMain();
    TRIGGER(main, "mnuSeatRecord");
    QCOMPARE(env.platform.messageLog(),
             QStringList{"席の記録|名簿がありません。\r名簿を開くか新規作成してから、もう一度選んで下さい。|64"});
    QCOMPARE(env.platform.calls.constLast().owner.data(), main);
    QVERIFY(!isLoaded<SeatRecordWindow>());
    putRoster(state(), {"伊藤 翔太", "佐藤 花子", "鈴木"});
    TRIGGER(main, "mnuSeatRecord");
    SeatRecordWindow *w = loadedForm<SeatRecordWindow>();
    QVERIFY(w && w->isVisible());
    QCOMPARE(env.platform.messageLog().size(), 1);
    QCOMPARE(w->windowTitle(), QStringLiteral("席の記録"));
    QCOMPARE(w->summary->text(),
             QStringLiteral("席替え 3 回分から数えました（%1～%1）。<span style=\"color:#4682b4\">■</span> 前 = "
                            "No.1～No.8（教卓側の2行）、<span style=\"color:#e1e1e1\">■</span> 中、<span "
                            "style=\"color:#e68c28\">■</span> 後 = No.21～No.28（後ろの2行）。")
                 .arg(QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd"))));
    QCOMPARE(rowsOf(w->table), (QStringList{"伊藤 翔太|3|前2・中0・後1|No.1、No.5、No.26|鈴木×1",
                                            "佐藤 花子|2|前1・中0・後1|No.2、No.28|―",
                                            "鈴木|3|前0・中1・後2|No.12、No.24、No.25|伊藤 翔太×1"}));
    QVERIFY(w->table->editTriggers() == QAbstractItemView::NoEditTriggers);
    QTest::keyClick(w->table, Qt::Key_Escape);
    QTRY_VERIFY(!isLoaded<SeatRecordWindow>());
}

// A class that keeps its charts (its log's taken in): sorted, the pairs' grid, a trial run
// removed, the page printed and the table saved as CSV as it is sorted.
void TestMainWindow::keptChartsSortedRemovedPrintedSaved()
{
    TestEnv env;
    const QString folder = QDir::currentPath(), rosterPath = env.path(QStringLiteral("1組.MEM"));
    const QStringList roster{"伊藤", "佐藤", "鈴木"};
    QVERIFY(saveCharts(folder, {"a.rlt=伊藤:1,佐藤:2,鈴木:3", "b.rlt=伊藤:2,佐藤:3,鈴木:8"}));
    const KeptChart trial{
        "r1", QDateTime(QDate(2024, 6, 3), QTime(10, 15)), Room::standard(), chartOf("伊藤:4,佐藤:28,鈴木:3"), {}};
    QCOMPARE(keepChartOfClass(rosterPath, trial, folder, roster), QString());
    // Opened before the main window started afresh (a chart accepted): still this class's record.
    MainWindow *main = startedMain([&] {
        putRoster(state(), roster);
        state().RosterFileName = state().ClassRosterPath = rosterPath;
    });
    TRIGGER(main, "mnuSeatRecord");
    SeatRecordWindow *w = loadedForm<SeatRecordWindow>();
    QVERIFY(w);
    QCOMPARE(rowsOf(w->table), (QStringList{"伊藤|3|前3・中0・後0|No.1、No.2、No.4|佐藤×2、鈴木×1",
                                            "佐藤|3|前2・中0・後1|No.2、No.3、No.28|伊藤×2、鈴木×1",
                                            "鈴木|3|前3・中0・後0|No.3×2、No.8|伊藤×1、佐藤×1"}));
    QCOMPARE(w->pairs->item(0, 1)->toolTip(), QStringLiteral("伊藤と佐藤: 2回"));
    QCOMPARE(w->pairs->item(2, 0)->data(Qt::AccessibleTextRole).toString(), QStringLiteral("鈴木と伊藤: 1回"));

    // Sorted from the keyboard: the back rows most first.
    w->sortBox->setFocus();
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(w->sortBox, Qt::Key_Down);
    QCOMPARE(w->sortBox->currentText(), QStringLiteral("後ろの多い順"));
    QCOMPARE(w->table->item(0, SeatRecordWindow::NameColumn)->text(), QStringLiteral("佐藤"));

    env.platform.prints.enqueue({true, 1, env.path("記録.pdf")});
    QTest::mouseClick(w->printButton, Qt::LeftButton);
    QVERIFY(env.readFile("記録.pdf").endsWith("%%EOF\n"));
    env.platform.saveFiles.enqueue(env.path("記録.csv"));
    QTest::mouseClick(w->csvButton, Qt::LeftButton);
    QCOMPARE(env.readFile("記録.csv"),
             QByteArray("\xEF\xBB\xBF") + QStringLiteral("氏名,回数,前,中,後,使った席,隣になった人\r\n"
                                                         "佐藤,3,2,0,1,No.2、No.3、No.28,伊藤×2、鈴木×1\r\n"
                                                         "伊藤,3,3,0,0,No.1、No.2、No.4,佐藤×2、鈴木×1\r\n"
                                                         "鈴木,3,3,0,0,No.3×2、No.8,伊藤×1、佐藤×1\r\n")
                                              .toUtf8());

    // The trial run removed after a question; the record counts again. A class file that
    // cannot be read is left as it was and said so.
    env.platform.answers.enqueue(IDOK);
    QTest::mouseClick(w->removeButton, Qt::LeftButton);
    QCOMPARE(rowsOf(w->table),
             (QStringList{"伊藤|2|前2・中0・後0|No.1、No.2|佐藤×2", "佐藤|2|前2・中0・後0|No.2、No.3|伊藤×2、鈴木×1",
                          "鈴木|2|前2・中0・後0|No.3、No.8|佐藤×1"}));
    QCOMPARE(w->table->horizontalHeader()->sortIndicatorSection(), int(SeatRecordWindow::PartsColumn));
    env.writeFile("1組.MEM.json", "{}");
    QTest::mouseClick(w->removeButton, Qt::LeftButton);
    QCOMPARE(w->chartList->count(), 2);
    const QString remove = "席の記録|%1 の席替えを、この組の記録から削除しますか？\r試しに行った席替えを数えないための"
                           "もので、結果ﾌｧｲﾙは消えません。|289";
    QCOMPARE(env.platform.messageLog(),
             (QStringList{"保存確認|席の記録をCSVﾌｧｲﾙに保存しました。|64", remove.arg("2024/06/03 10:15　（了解のみ）"),
                          remove.arg(w->chartList->item(1)->text()),
                          "席の記録|席替えを記録から削除できませんでした。\rクラスの設定ファイルではありません。\r上書"
                          "きせずに残しました。|16"}));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
