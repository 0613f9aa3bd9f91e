// What keyboard users reach in every window: F10 opens the first menu.
#include "roster/rostereditor.h"
#include "seating/conditioneditor.h"
#include "seating/resultwindow.h"
#include "support/mainfixtures.h"
#include "widgets/mainwindowstate.h"

#include <QApplication>
#include <QMenu>
#include <QtTest>

namespace
{

// The window a row names, created with a roster of three in the shared state.
QWidget *openWindow(const QString &window)
{
    SharedState &s = state();
    const QStringList roster{QStringLiteral("生徒1"), QStringLiteral("生徒2"), QStringLiteral("生徒3")};
    for (int i = 0; i < roster.size(); ++i)
        s.PupilNames[size_t(i + 1)] = roster.at(i);
    s.PupilCount = quint8(roster.size());
    if (window == QLatin1String("main window"))
        return shownMain();
    if (window == QLatin1String("main window, conditions")) {
        MainWindow *main = shownMain();
        mainWindowState().enterConditionsState();
        return main;
    }
    if (window == QLatin1String("roster editor"))
        return form<RosterEditor>();
    if (window == QLatin1String("condition editor"))
        return form<ConditionEditor>();
    if (window == QLatin1String("result window")) {
        ResultWindow *result = form<ResultWindow>();
        result->setSeatTexts(padded(
            {QStringLiteral("生徒2"), QString(), QString(), QString(), QStringLiteral("生徒3"), QStringLiteral(" ")}));
        return result;
    }
    return nullptr;
}

} // namespace

class TestAccess : public QObject
{
    Q_OBJECT

private slots:
    void f10OpensTheFirstMenu_data();
    void f10OpensTheFirstMenu();
};

void TestAccess::f10OpensTheFirstMenu_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("item"); // the item highlighted in the first menu
    QTest::newRow("main window") << "main window"
                                 << "mnuFileCreate";
    // The roster commands are off: the first that can be chosen.
    QTest::newRow("main window, conditions") << "main window, conditions"
                                             << "mnuFileNarabin";
    QTest::newRow("roster editor") << "roster editor"
                                   << "mnuNewFile";
    QTest::newRow("condition editor") << "condition editor"
                                      << "mnuCond";
    // Its file menu has no access key: F10 is the way in without Alt.
    QTest::newRow("result window") << "result window"
                                   << "mnuResultSave";
}

void TestAccess::f10OpensTheFirstMenu()
{
    QFETCH(QString, window);
    QFETCH(QString, item);
    TestEnv env;
    QWidget *w = openWindow(window);
    w->show();
    w->activateWindow();
    QTRY_VERIFY(w->isActiveWindow());
    QTest::keyClick(w, Qt::Key_F10);
    QTRY_VERIFY(QApplication::activePopupWidget());
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QCOMPARE(menu->objectName(), QStringLiteral("mnuFile"));
    QVERIFY(menu->activeAction());
    QCOMPARE(menu->activeAction()->objectName(), item);
    QTest::keyClick(menu, Qt::Key_Escape);
    QTRY_VERIFY(!QApplication::activePopupWidget());
}

QTEST_MAIN(TestAccess)
#include "tst_access.moc"
