// The main window: layout, menus, toolbar, enabling, past-log list, quitting.
#include "app/colors.h"
#include "app/startup.h"
#include "app/ui.h"
#include "mainwin/mainwindow.h"
#include "support/testenv.h"

#include <QLabel>
#include <QMenuBar>
#include <QToolButton>
#include <QtTest>

namespace {
// Start-up's settings, then `before`, then the main window created and shown.
NARABIN *freshMain(TestEnv &, const std::function<void()> &before = {})
{
    loadStartupSettings(QDir::currentPath());
    if (before)
        before();
    NARABIN *w = form<NARABIN>();
    w->show();
    return w;
}

// The visible items of the past-log list, by caption.
QStringList logItems(NARABIN *w)
{
    QStringList out;
    for (const auto &[index, action] : w->mnuFileArray) {
        if (index > 0 && action->isVisible())
            out.append(action->text());
    }
    return out;
}

QList<int> logIndices(NARABIN *w)
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
    void menuItems_data();
    void menuItems();
    void menuBarOrder();
    void toolbarPositions();
    void logoLabels_data();
    void logoLabels();
    void activateColoursLogoAndFillsStatusBar();
    void gradientIsPainted();
    void enablingAfterLoad_data();
    void enablingAfterLoad();
    void pastLogListBuiltOnEveryCreation();
    void pastLogCommaEntryGivesTwoItems();
    void missingLogGivesNoSeparator();
    void quitConfirmation_data();
    void quitConfirmation();
    void programCloseAsksNothing();
    void doubleClickAsksToQuit();
    void helpItemsCallTheHelpEngine();
    void timerRefreshesDateAndClock();
    void statusPanelsShowKeyStatesOverAnyColour();
};

void TestMainWindow::menuItems_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QKeySequence>("shortcut");
    const auto row = [](const char *name, const char *caption, QKeySequence key = {}) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromUtf8(caption) << key;
    };
    row("mnuFileCreate", "名簿の新規作成(&N)", QKeySequence(QStringLiteral("Ctrl+N")));
    row("mnuFileOpen", "名簿を開く(&O)...", QKeySequence(QStringLiteral("Ctrl+O")));
    row("mnuFileNarabin", "ならびん実行(&G)", QKeySequence(QStringLiteral("Ctrl+G")));
    row("mnuEnd", "ならびん君 の終了(&X)...");
    row("mnuFileCopy", "ｺﾋﾟｰ(&C)...");
    row("mnuFileRename", "名前の変更(&R)...");
    row("mnuBackup", "ﾊﾞｯｸｱｯﾌﾟ(&B)...");
    row("mnuFileDelete", "削除(&D)...");
    row("mnuResult", "先程の結果(&R)", QKeySequence(QStringLiteral("Ctrl+R")));
    row("mnuLogoMark", "ﾛｺﾞの表示(&L)");
    row("mnuMainColor", "ﾒｲﾝ画面の背景の選択(&S)...");
    row("mnuBack", "背景色(&B)...");
    row("mnuFore", "文字色(&F)...");
    row("mnuCondition", "条件設定の変更(&C)", QKeySequence(QStringLiteral("Ctrl+C")));
    row("mnuHelpContext_KeyWord_0", "ﾄﾋﾟｯｸの検索(&H)", QKeySequence(QStringLiteral("F1")));
    row("mnuHelpContext_KeyWord_1", "目次(&C)");
    row("mnuVersion", "ﾊﾞｰｼﾞｮﾝ情報(&A)...");
    row("mnuFile", "ﾌｧｲﾙ(&F)");
    row("mnuDataManage", "ﾃﾞｰﾀ管理(&M)");
    row("mnuLog", "過去ﾛｸﾞ(&L)");
    row("mnuOption", "ｵﾌﾟｼｮﾝ(&O)");
    row("mnuInitialEdit", "初期設定(&I)");
    row("mnuCountColor", "ｶｳﾝﾄﾀﾞｳﾝ画面の配色(&C)");
    row("mnuHelp", "ﾍﾙﾌﾟ(&H)");
}

void TestMainWindow::menuItems()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QKeySequence, shortcut);
    TestEnv env;
    NARABIN *w = freshMain(env);
    QAction *a = findAction(w, name);
    QVERIFY2(a, qPrintable(name));
    QCOMPARE(a->text(), caption);
    QCOMPARE(a->shortcut(), shortcut);
}

void TestMainWindow::menuBarOrder()
{
    TestEnv env;
    NARABIN *w = freshMain(env);
    QStringList top;
    for (QAction *a : w->menuBar()->actions())
        top.append(a->objectName());
    QCOMPARE(top, (QStringList{QStringLiteral("mnuFile"), QStringLiteral("mnuDataManage"), QStringLiteral("mnuLog"),
                               QStringLiteral("mnuOption"), QStringLiteral("mnuHelp")}));
    QStringList file;
    for (QAction *a : w->mnuFile->actions())
        file.append(a->objectName());
    QCOMPARE(file, (QStringList{QStringLiteral("mnuFileCreate"), QStringLiteral("mnuFileOpen"), QStringLiteral("mnuFileNarabin"),
                                QStringLiteral("mnuDummy7"), QStringLiteral("mnuEnd")}));
    QStringList options;
    for (QAction *a : w->mnuOption->actions())
        options.append(a->objectName());
    QCOMPARE(options, (QStringList{QStringLiteral("mnuInitialEdit"), QStringLiteral("mnuCondition")}));
    QVERIFY(w->mnuLogoMark->isCheckable());
}

void TestMainWindow::toolbarPositions()
{
    TestEnv env;
    NARABIN *w = freshMain(env);
    const QMap<int, QString> tips{{2, QStringLiteral(" 名簿の新規作成 ")}, {3, QStringLiteral(" 名簿を開く ")},
                                  {5, QStringLiteral(" ﾌｧｲﾙの削除 ")},   {7, QStringLiteral(" 設定条件の変更 ")},
                                  {8, QStringLiteral(" ならびん実行 ")}, {9, QStringLiteral(" 終了 ")},
                                  {11, QStringLiteral(" ﾊﾞｰｼﾞｮﾝ情報 ")}, {12, QStringLiteral(" ﾍﾙﾌﾟ ")}};
    for (int pos = 1; pos <= 12; ++pos) {
        QToolButton *b = w->Toolbar1->button(pos);
        if (tips.contains(pos)) {
            QVERIFY2(b, qPrintable(QString::number(pos)));
            QCOMPARE(b->toolTip(), tips[pos]);
            QVERIFY(!b->icon().isNull());
        } else {
            QVERIFY2(!b, "separator positions carry no button");
        }
    }
    QCOMPARE(w->Toolbar1->actions().size(), 12);
    QCOMPARE(w->Toolbar1->geometry(), QRect(0, 0, 635, 24));
    QCOMPARE(w->StatusBar1->geometry().bottom(), 436);
}

void TestMainWindow::logoLabels_data()
{
    QTest::addColumn<QString>("front");
    QTest::addColumn<QString>("shadow");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("frontPx");
    QTest::addColumn<QRect>("shadowPx");
    QTest::addColumn<QString>("family");
    QTest::addColumn<qreal>("points");
    QTest::addColumn<bool>("bold");
    QTest::newRow("ならびん") << "Label1" << "Label2_0" << "ならびん" << twRect(1830, 1965, 5415, 1335)
                          << twRect(1950, 2085, 5535, 1335) << "ＭＳ Ｐ明朝" << 72.0 << true;
    QTest::newRow("君") << "Label5" << "Label3" << "君" << twRect(7230, 2865, 495, 495) << twRect(7350, 2985, 495, 465)
                       << "ＭＳ Ｐ明朝" << 20.25 << true;
    QTest::newRow("platform") << "Label7" << "Label4" << "for Windows 98/Me/NT/2000/XP" << twRect(2250, 3555, 4905, 375)
                              << twRect(2370, 3675, 4905, 375) << "Times New Roman" << 18.0 << false;
    QTest::newRow("notice") << "Label6" << "Label8" << "Copyright (C) 2026" << twRect(2250, 4020, 3705, 405)
                            << twRect(2370, 4140, 3705, 405) << "Times New Roman" << 18.0 << false;
    QTest::newRow("name") << "Label9" << "Label10" << "有志" << twRect(6450, 4050, 735, 375)
                          << twRect(6570, 4170, 735, 375) << "ＭＳ Ｐ明朝" << 15.75 << true;
}

void TestMainWindow::logoLabels()
{
    QFETCH(QString, front);
    QFETCH(QString, shadow);
    QFETCH(QString, text);
    QFETCH(QRect, frontPx);
    QFETCH(QRect, shadowPx);
    QFETCH(QString, family);
    QFETCH(qreal, points);
    QFETCH(bool, bold);
    TestEnv env;
    NARABIN *w = freshMain(env);
    auto *f = w->findChild<QLabel *>(front);
    auto *s = w->findChild<QLabel *>(shadow);
    QVERIFY(f && s);
    QCOMPARE(f->text(), text);
    QCOMPARE(s->text(), text);
    QCOMPARE(f->geometry(), frontPx);
    QCOMPARE(s->geometry(), shadowPx);
    QCOMPARE(f->font().families().constFirst(), family);
    QCOMPARE(f->font().pointSizeF(), points);
    QCOMPARE(f->font().bold(), bold);
    QVERIFY(!f->autoFillBackground());
    // The front layer lies over its shadow.
    const QList<QObject *> order = w->client()->children();
    QVERIFY(order.indexOf(f) > order.indexOf(s));
}

void TestMainWindow::activateColoursLogoAndFillsStatusBar()
{
    TestEnv env;
    NARABIN *w = freshMain(env);
    state().LogoColor = rgbValue(255, 128, 0);
    state().LogoShadowColor = rgbValue(128, 0, 0);
    state().TodayText = QStringLiteral("2026/12/05");
    state().ClockText = QStringLiteral("午後 03:07");
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(w, &activate);
    for (QLabel *l : {w->Label1, w->Label5, w->Label6, w->Label7, w->Label9})
        QCOMPARE(l->palette().color(QPalette::WindowText), QColor(255, 128, 0));
    for (QLabel *l : {w->Label2_0, w->Label3, w->Label4, w->Label8, w->Label10})
        QCOMPARE(l->palette().color(QPalette::WindowText), QColor(128, 0, 0));
    QCOMPARE(w->StatusBar1->panelText(1), QStringLiteral("ﾌｧｲﾙ(F) から「名簿の新規作成(N)」又は「名簿を開く(O)...」を選択して下さい"));
    QCOMPARE(w->StatusBar1->panelText(2), QStringLiteral("2026/12/05"));
    QCOMPARE(w->StatusBar1->panelText(3), QStringLiteral("午後 03:07"));
}

void TestMainWindow::gradientIsPainted()
{
    TestEnv env;
    NARABIN *w = freshMain(env);
    const QImage image = w->client()->grab().toImage();
    // Below the toolbar at the top, above the status bar at the bottom, clear of the logo.
    QCOMPARE(image.pixelColor(600, 30), QColor(10, 50, 110 - (110 * 409) / 6555));
    QCOMPARE(image.pixelColor(600, 410), QColor(10, 50, 110 - (110 * 6135) / 6555));
}

void TestMainWindow::enablingAfterLoad_data()
{
    QTest::addColumn<int>("resultShown");
    QTest::newRow("fresh program") << 0;
    QTest::newRow("a result was shown") << 1;
}

void TestMainWindow::enablingAfterLoad()
{
    QFETCH(int, resultShown);
    TestEnv env;
    NARABIN *w = freshMain(env, [&] { state().ResultShown = quint8(resultShown); });
    QVERIFY(!w->mnuCondition->isEnabled());
    QVERIFY(!w->mnuFileNarabin->isEnabled());
    QVERIFY(!w->Toolbar1->isButtonEnabled(7));
    QVERIFY(!w->Toolbar1->isButtonEnabled(8));
    QCOMPARE(w->mnuResult->isEnabled(), resultShown == 1);
    for (QAction *a : {w->mnuFileCreate, w->mnuFileOpen, w->mnuEnd, w->mnuFileCopy, w->mnuFileRename, w->mnuBackup,
                       w->mnuFileDelete, w->mnuLogoMark, w->mnuMainColor, w->mnuBack, w->mnuFore, w->mnuVersion})
        QVERIFY2(a->isEnabled(), qPrintable(a->objectName()));
    for (int pos : {2, 3, 5, 9, 11, 12})
        QVERIFY(w->Toolbar1->isButtonEnabled(pos));
    QVERIFY(state().RosterFileName.isEmpty());
}

void TestMainWindow::pastLogListBuiltOnEveryCreation()
{
    TestEnv env;
    env.writeFile(QStringLiteral("ならびん.ini"), sjis(QStringLiteral("一学期.rlt\r\n二学期.rlt\r\n三学期.rlt\r\n")));
    NARABIN *w = freshMain(env, [] { state().RosterFileName = QStringLiteral("/some/roster.mem"); });
    QVERIFY(w->mnuFileArray[0]->isVisible());
    QCOMPARE(logItems(w), (QStringList{QStringLiteral("一学期.rlt"), QStringLiteral("二学期.rlt"), QStringLiteral("三学期.rlt")}));
    QCOMPARE(logIndices(w), (QList<int>{1, 2, 3}));
    QVERIFY(state().RosterFileName.isEmpty());
    unload<NARABIN>();
    QVERIFY(!isLoaded<NARABIN>());
    NARABIN *again = form<NARABIN>();
    QVERIFY(again != w);
    QCOMPARE(logItems(again).size(), 3);
    QCOMPARE(logIndices(again), (QList<int>{4, 5, 6}));
    QCOMPARE(findAction(again, QStringLiteral("mnuFileArray_6"))->text(), QStringLiteral("三学期.rlt"));
}

void TestMainWindow::pastLogCommaEntryGivesTwoItems()
{
    TestEnv env;
    env.writeFile(QStringLiteral("ナラビン.INI"), ""); // another file altogether
    env.writeFile(QStringLiteral("ならびん.INI"), sjis(QStringLiteral("a,b.rlt\r\n")));
    NARABIN *w = freshMain(env);
    QCOMPARE(logItems(w), (QStringList{QStringLiteral("a"), QStringLiteral("b.rlt")}));
}

void TestMainWindow::missingLogGivesNoSeparator()
{
    TestEnv env;
    NARABIN *w = freshMain(env);
    QVERIFY(!w->mnuFileArray[0]->isVisible());
    QVERIFY(logItems(w).isEmpty());
    QStringList visible;
    for (QAction *a : w->mnuLog->actions()) {
        if (a->isVisible())
            visible.append(a->objectName());
    }
    QCOMPARE(visible, QStringList{QStringLiteral("mnuResult")});
}

void TestMainWindow::quitConfirmation_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("answer");
    for (const char *how : {"mnuEnd", "toolbar 9", "close button"}) {
        QTest::addRow("%s, OK", how) << QString::fromLatin1(how) << IDOK;
        QTest::addRow("%s, Cancel", how) << QString::fromLatin1(how) << IDCANCEL;
    }
}

void TestMainWindow::quitConfirmation()
{
    QFETCH(QString, how);
    QFETCH(int, answer);
    TestEnv env;
    NARABIN *w = freshMain(env);
    env.platform.answers.enqueue(answer);
    if (how == QLatin1String("mnuEnd"))
        w->mnuEnd->trigger();
    else if (how == QLatin1String("toolbar 9"))
        w->Toolbar1->button(9)->click();
    else
        w->close();
    QCOMPARE(env.platform.messageLog(),
             QStringList{QStringLiteral("終了確認|「ならびん君 for Windows」 を 終了しますか？|33")});
    QCOMPARE(env.platform.quitCount, answer == IDOK ? 1 : 0);
    if (answer == IDCANCEL) {
        QVERIFY(w->isVisible());
        QVERIFY(isLoaded<NARABIN>());
    }
}

void TestMainWindow::programCloseAsksNothing()
{
    TestEnv env;
    freshMain(env);
    unload<NARABIN>();
    QVERIFY(env.platform.messageLog().isEmpty());
    QCOMPARE(env.platform.quitCount, 0);
    QVERIFY(!isLoaded<NARABIN>());
}

void TestMainWindow::doubleClickAsksToQuit()
{
    TestEnv env;
    NARABIN *w = freshMain(env);
    const QList<QWidget *> targets{w->Label1, w->Label10, w->client(), w->Toolbar1, w->StatusBar1};
    for (QWidget *target : targets) {
        env.platform.answers.enqueue(IDCANCEL);
        QTest::mouseDClick(target, Qt::LeftButton, {}, QPoint(2, 2));
    }
    QCOMPARE(env.platform.callsOf(QStringLiteral("message")).size(), targets.size());
    QCOMPARE(env.platform.quitCount, 0);
}

void TestMainWindow::helpItemsCallTheHelpEngine()
{
    TestEnv env;
    NARABIN *w = freshMain(env);
    TRIGGER(w, "mnuHelpContext_KeyWord_0");
    TRIGGER(w, "mnuHelpContext_KeyWord_1");
    w->Toolbar1->button(12)->click();
    const QList<PlatformCall> calls = env.platform.callsOf(QStringLiteral("help"));
    QCOMPARE(calls.size(), 3);
    QCOMPARE((QList<int>{calls[0].style, calls[0].data}), (QList<int>{HELP_PARTIALKEY, 0}));
    QCOMPARE((QList<int>{calls[1].style, calls[1].data}), (QList<int>{HELP_CONTENTS, 0}));
    QCOMPARE((QList<int>{calls[2].style, calls[2].data}), (QList<int>{HELP_CONTENTS, 0}));
    QCOMPARE(calls[0].owner.data(), w);
    QCOMPARE(calls[0].text, state().HelpFilePath);
}

void TestMainWindow::timerRefreshesDateAndClock()
{
    TestEnv env;
    NARABIN *w = freshMain(env);
    QCOMPARE(w->Timer1->interval(), 33000);
    QVERIFY(w->Timer1->isActive());
    env.setNow(QDateTime(QDate(2027, 3, 9), QTime(0, 5)));
    w->Timer1_Timer();
    QCOMPARE(w->StatusBar1->panelText(2), QStringLiteral("2027/03/09"));
    QCOMPARE(w->StatusBar1->panelText(3), QStringLiteral("午前 12:05"));
}

void TestMainWindow::statusPanelsShowKeyStatesOverAnyColour()
{
    TestEnv env;
    QWidget client;
    client.resize(635, 437);
    StatusPanels bar(&client, {{StatusPanels::Kind::Text, QStringLiteral("x"), 0},
                               {StatusPanels::Kind::Caps, {}, 700},
                               {StatusPanels::Kind::Ins, {}, 700}});
    setBackgroundColor(&client, rgb(0, 128, 0));
    setTextColor(&client, Qt::white);
    QCOMPARE(bar.panelText(2), QStringLiteral("CAPS"));
    QCOMPARE(bar.panelText(3), QStringLiteral("INS"));
    QVERIFY(!bar.panel(2)->isEnabled());
    env.platform.caps = true;
    bar.refreshKeyStates();
    QVERIFY(bar.panel(2)->isEnabled());
    QVERIFY(!bar.panel(3)->isEnabled());
    // The classroom's colours stay off the bar; off panels are drawn greyed.
    const QPalette p = bar.panel(3)->palette();
    QCOMPARE(p.color(QPalette::Active, QPalette::WindowText), QApplication::palette().color(QPalette::Active, QPalette::WindowText));
    QVERIFY(p.color(QPalette::Disabled, QPalette::WindowText) != p.color(QPalette::Active, QPalette::WindowText));
    QCOMPARE(bar.palette().color(QPalette::Window), QApplication::palette().color(QPalette::Window));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
