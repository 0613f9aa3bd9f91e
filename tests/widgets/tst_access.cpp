// What keyboard and screen reader users reach in every window: F10 (or Alt with its key) opens
// the first menu, and the controls carry names and descriptions a listener understands.
#include "mainwin/filedialogs.h"
#include "seating/countdown.h"
#include "seating/noprintlinedialog.h"
#include "support/fixtures.h"
#include "support/largewindows.h"
#include "widgets/mainwindowstate.h"

#include <QAccessible>
#include <QApplication>
#include <QMenu>
#include <QtTest>

namespace
{

// The window a row names, created and shown with a roster of three in the shared state.
QWidget *openWindow(const QString &window)
{
    putRoster(state(), pupils(3));
    if (window == QLatin1String("countdown, a second on")) {
        CountdownWindow *countdown = form<CountdownWindow>();
        countdown->tick();
        return countdown;
    }
    if (window == QLatin1String("copy dialog"))
        return form<FileCopyDialog>();
    if (window == QLatin1String("rename dialog"))
        return form<RenameDialog>();
    if (window == QLatin1String("non-printed rows"))
        return form<NonPrintedRowsDialog>();
    FormWindow *w = shownLargeWindow(window.section(u',', 0, 0));
    if (window.endsWith(QLatin1String("conditions")))
        mainWindowState().enterConditionsState();
    if (auto *result = qobject_cast<ResultWindow *>(w))
        result->setSeatTexts(padded({"生徒2", {}, {}, {}, "生徒3", " "}));
    return w;
}

} // namespace

class TestAccess : public QObject
{
    Q_OBJECT

private slots:
    void keyOpensTheFirstMenu_data();
    void keyOpensTheFirstMenu();
    void accessibleTexts_data();
    void accessibleTexts();
};

void TestAccess::keyOpensTheFirstMenu_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QKeySequence>("key");
    QTest::addColumn<QString>("item"); // the item highlighted in the first menu
    const QKeySequence f10(Qt::Key_F10), altF(Qt::ALT | Qt::Key_F);
    // The roster commands are off: the first item that can be chosen.
    QTest::newRow("main window, conditions") << "main window, conditions" << f10 << QStringLiteral("mnuFileNarabin");
    QTest::newRow("result window") << "result window" << f10 << QStringLiteral("mnuResultSave");
    // "ﾌｧｲﾙ(F)" marks no access key in its text; its key works all the same.
    QTest::newRow("result window, Alt+F") << "result window" << altF << QStringLiteral("mnuResultSave");
}

void TestAccess::keyOpensTheFirstMenu()
{
    QFETCH(QString, window);
    QFETCH(QKeySequence, key);
    QFETCH(QString, item);
    TestEnv env;
    QWidget *w = openWindow(window);
    w->show();
    w->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), w);
    QTest::keySequence(w, key);
    QTRY_VERIFY(QApplication::activePopupWidget());
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    QVERIFY(menu && menu->activeAction());
    QCOMPARE(menu->objectName() + u'>' + menu->activeAction()->objectName(), "mnuFile>" + item);
    QTest::keyClick(menu, Qt::Key_Escape);
    QTRY_VERIFY(!QApplication::activePopupWidget());
}

void TestAccess::accessibleTexts_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("widget"); // objectName; the window's own for the window
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description"); // null: Qt's own (a tooltip) is left to it
    const auto row = [](const char *tag, const char *window, const char *widget, const char *name,
                        const char *description) {
        QTest::newRow(tag) << QString::fromUtf8(window) << QString::fromUtf8(widget) << QString::fromUtf8(name)
                           << (description ? QString::fromUtf8(description) : QString());
    };
    row("roster: seat 28", "roster editor", "Text1_27", "No.28", "前から7列目");
    row("roster: button with trailing blanks", "roster editor", "Toolbar1_button_3", "取消・了解", nullptr);
    row("conditions: seat 5", "condition editor", "Text1_4", "No.5", "前から2列目");
    row("conditions: seat 8 empty", "condition editor", "Check1_7", "No.8 空席", "前から2列目");
    row("conditions: registrant", "condition editor", "Label4_2", "生徒3", "Enter キーで座席を選択");
    row("conditions: slot beyond the roster", "condition editor", "Label4_3", "", "");
    row("result: seated", "result window", "Label3_4", "No.5 生徒3", "前から2列目");
    row("result: blank seat", "result window", "Label3_5", "No.6", "前から2列目");
    row("countdown: window", "countdown, a second on", "WAIT", "カウントダウン", "");
    row("countdown: number", "countdown, a second on", "Label2", "あと9秒", "");
    row("countdown: face", "countdown, a second on", "Label6", "顔文字", "");
    row("countdown: bar", "countdown, a second on", "ProgressBar1", "結果が出るまでの進み具合", "");
    row("copy: name box", "copy dialog", "Text1", "コピー先", "");
    row("copy: source", "copy dialog", "Label3", "", "コピー元");
    row("rename: name box", "rename dialog", "Text1", "新しい名前", "");
    row("rename: source", "rename dialog", "Label2", "", "元の名前");
    row("non-printed rows: row 2", "non-printed rows", "Check1_0", "No. 8  ～ No. 5", "前から2列目");
}

void TestAccess::accessibleTexts()
{
    QFETCH(QString, window);
    QFETCH(QString, widget);
    QFETCH(QString, name);
    QFETCH(QString, description);
    TestEnv env;
    QWidget *w = openWindow(window);
    QWidget *target = w->objectName() == widget ? w : w->findChild<QWidget *>(widget);
    QVERIFY(target);
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(target);
    QVERIFY(accessible);
    QCOMPARE(accessible->text(QAccessible::Name), name);
    if (!description.isNull())
        QCOMPARE(accessible->text(QAccessible::Description), description);
}

QTEST_MAIN(TestAccess)
#include "tst_access.moc"
