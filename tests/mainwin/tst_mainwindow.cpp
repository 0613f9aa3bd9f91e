// The main window: captions, enabling, the past-log list, the clock, quitting.
#include "app/clock.h"
#include "app/colors.h"
#include "app/startup.h"
#include "app/ui.h"
#include "support/mainfixtures.h"

#include <QLabel>
#include <QToolButton>
#include <QtTest>

namespace {
QList<int> logIndices(const NARABIN *w)
{
    QList<int> out;
    for (const auto &[index, action] : w->mnuFileArray) {
        if (index > 0)
            out.append(index);
    }
    return out;
}
} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void enablingAfterLoad_data();
    void enablingAfterLoad();
    void pastLogList_data();
    void pastLogList();
    void quitConfirmation_data();
    void quitConfirmation();
    void statusBarDateAndClock();
    void statusPanelsShowKeyStatesOverAnyColour();
};

void TestMainWindow::enablingAfterLoad_data()
{
    QTest::addColumn<int>("resultShown");
    QTest::addColumn<QStringList>("disabled"); // every other item and toolbar position is enabled
    QTest::newRow("fresh program") << 0 << QStringList{"mnuCondition", "mnuFileNarabin", "mnuResult", "toolbar 7", "toolbar 8"};
    QTest::newRow("a result was shown") << 1 << QStringList{"mnuCondition", "mnuFileNarabin", "toolbar 7", "toolbar 8"};
}

void TestMainWindow::enablingAfterLoad()
{
    QFETCH(int, resultShown);
    QFETCH(QStringList, disabled);
    TestEnv env;
    NARABIN *w = startedMain([&] { state().ResultShown = quint8(resultShown); });
    QStringList off, keys;
    for (QAction *a : w->findChildren<QAction *>()) {
        if (!a->isEnabled() && !a->isSeparator() && a->objectName().startsWith(QLatin1String("mnu")))
            off.append(a->objectName());
        if (!a->shortcut().isEmpty())
            keys.append(a->objectName() + u'=' + a->shortcut().toString());
    }
    off.sort();
    keys.sort();
    QCOMPARE(keys, (QStringList{"mnuCondition=Ctrl+C", "mnuFileCreate=Ctrl+N", "mnuFileNarabin=Ctrl+G", "mnuFileOpen=Ctrl+O",
                                "mnuHelpContext_KeyWord_0=F1", "mnuResult=Ctrl+R"}));
    for (int pos = 1; pos <= 12; ++pos) {
        if (w->Toolbar1->button(pos) && !w->Toolbar1->isButtonEnabled(pos))
            off.append(QStringLiteral("toolbar %1").arg(pos));
    }
    QCOMPARE(off, disabled);
}

void TestMainWindow::pastLogList_data()
{
    QTest::addColumn<QString>("logName");
    QTest::addColumn<QByteArray>("log");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("three entries") << QStringLiteral("ならびん.ini") << cp932Lines({"一学期.rlt", "二学期.rlt", "三学期.rlt"})
                                   << QStringList{"一学期.rlt", "二学期.rlt", "三学期.rlt"};
    QTest::newRow("comma entry gives two items, log name in capitals")
        << QStringLiteral("ならびん.INI") << cp932Lines({"a,b.rlt"}) << QStringList{"a", "b.rlt"};
    QTest::newRow("missing log") << QString() << QByteArray() << QStringList();
}

void TestMainWindow::pastLogList()
{
    QFETCH(QString, logName);
    QFETCH(QByteArray, log);
    QFETCH(QStringList, items);
    TestEnv env;
    env.writeFile(QStringLiteral("ナラビン.INI"), cp932Lines({"another file altogether"}));
    if (!logName.isEmpty())
        env.writeFile(logName, log);
    NARABIN *w = startedMain([] { state().RosterFileName = QStringLiteral("/some/roster.mem"); });
    QCOMPARE(pastLogItems(w), items);
    QCOMPARE(w->mnuFileArray[0]->isVisible(), !items.isEmpty()); // the separator
    QVERIFY(state().RosterFileName.isEmpty());
    // A main window created again in the same run numbers its items on (never from 1 again).
    QList<int> indices;
    for (int i = 1; i <= 2 * int(items.size()); ++i)
        indices.append(i);
    QCOMPARE(logIndices(w), indices.mid(0, items.size()));
    unload<NARABIN>();
    NARABIN *again = form<NARABIN>();
    QCOMPARE(pastLogItems(again), items);
    QCOMPARE(logIndices(again), indices.mid(items.size()));
}

void TestMainWindow::quitConfirmation_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("answer");
    for (const char *how : {"mnuEnd", "toolbar 9", "close button"}) {
        QTest::addRow("%s, OK", how) << QString::fromLatin1(how) << IDOK;
        QTest::addRow("%s, Cancel", how) << QString::fromLatin1(how) << IDCANCEL;
    }
    // The background, the lettering and the bars ask on a double click.
    for (const char *target : {"Label1", "Label10", "client", "Toolbar1", "StatusBar1"})
        QTest::addRow("double click on %s, Cancel", target) << QString::fromLatin1(target) << IDCANCEL;
    QTest::newRow("double click on the background, OK") << "client" << IDOK;
    QTest::newRow("closed by the program: no question") << "unload" << 0;
}

void TestMainWindow::quitConfirmation()
{
    QFETCH(QString, how);
    QFETCH(int, answer);
    TestEnv env;
    NARABIN *w = startedMain();
    env.platform.answers.enqueue(answer);
    if (how == QLatin1String("mnuEnd"))
        w->mnuEnd->trigger();
    else if (how == QLatin1String("toolbar 9"))
        w->Toolbar1->button(9)->click();
    else if (how == QLatin1String("close button"))
        w->close();
    else if (how == QLatin1String("unload"))
        unload<NARABIN>();
    else
        QTest::mouseDClick(how == QLatin1String("client") ? w->client() : w->findChild<QWidget *>(how), Qt::LeftButton, {}, QPoint(2, 2));
    QCOMPARE(env.platform.messageLog(), QStringList(answer ? 1 : 0, QStringLiteral("終了確認|「ならびん君 for Windows」 を 終了しますか？|33")));
    QCOMPARE(env.platform.quitCount, answer == IDOK ? 1 : 0);
    if (answer == IDCANCEL)
        QVERIFY(isLoaded<NARABIN>() && w->isVisible());
}

void TestMainWindow::statusBarDateAndClock()
{
    TestEnv env;
    RefreshDateTime(); // as start-up does
    NARABIN *w = startedMain();
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(w, &activate);
    QCOMPARE(w->StatusBar1->panelText(2) + w->StatusBar1->panelText(3), QStringLiteral("2026/12/05午後 03:07"));
    QVERIFY(w->Timer1->isActive());
    env.setNow(QDateTime(QDate(2027, 3, 9), QTime(0, 5)));
    w->Timer1_Timer();
    QCOMPARE(w->StatusBar1->panelText(2) + w->StatusBar1->panelText(3), QStringLiteral("2027/03/09午前 12:05"));
}

void TestMainWindow::statusPanelsShowKeyStatesOverAnyColour()
{
    TestEnv env;
    QWidget client;
    StatusPanels bar(&client, {{StatusPanels::Kind::Text, QStringLiteral("x"), 0},
                               {StatusPanels::Kind::Caps, {}, 700},
                               {StatusPanels::Kind::Ins, {}, 700}});
    setBackgroundColor(&client, rgb(0, 128, 0));
    setTextColor(&client, Qt::white);
    QCOMPARE(bar.panelText(2) + bar.panelText(3), QStringLiteral("CAPSINS"));
    env.platform.caps = true;
    bar.refreshKeyStates();
    QVERIFY(bar.panel(2)->isEnabled());
    QVERIFY(!bar.panel(3)->isEnabled());
    // The classroom's colours stay off the bar, so off panels are drawn greyed.
    QCOMPARE(bar.panel(3)->palette(), QApplication::palette());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
