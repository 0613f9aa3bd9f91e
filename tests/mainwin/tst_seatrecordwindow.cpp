// The seat record window over the log, and what it says instead when there is nothing to show.
#include "mainwin/seatrecordwindow.h"
#include "support/mainfixtures.h"

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

namespace
{

// A table row as its cells read, the bar by its tooltip.
QString rowText(const QTableWidget *table, int row)
{
    QStringList cells;
    for (int c = 0; c < table->columnCount(); ++c) {
        const QTableWidgetItem *item = table->item(row, c);
        cells.append(c == SeatRecordWindow::ShareColumn ? item->toolTip() : item->text());
    }
    return cells.join(u'|');
}

QStringList rowsOf(const QTableWidget *table)
{
    QStringList rows;
    for (int r = 0; r < table->rowCount(); ++r)
        rows.append(rowText(table, r));
    return rows;
}

} // namespace

class TestSeatRecordWindow : public QObject
{
    Q_OBJECT

private slots:
    void openOverTheLog_data();
    void openOverTheLog();
};

void TestSeatRecordWindow::openOverTheLog_data()
{
    QTest::addColumn<QStringList>("roster");
    QTest::addColumn<QStringList>("saved"); // "file=name:seat,..."
    QTest::addColumn<QString>("message");   // empty: the window opens
    const QStringList charts{"一学期.rlt=伊藤 翔太:1,佐藤 花子:28,鈴木:12",
                             "二学期.rlt=伊藤 翔太:5,佐藤 花子:2,鈴木:24", "三学期.rlt=伊藤 翔太:26,鈴木:13",
                             "他の組.rlt=山田:1"};
    QTest::newRow("three terms") << QStringList{"伊藤 翔太", "佐藤 花子", "鈴木"} << charts << "";
    QTest::newRow("no roster") << QStringList{} << charts
                               << "名簿がありません。\r名簿を開くか新規作成してから、もう一度選んで下さい。";
    QTest::newRow("no results") << QStringList{"伊藤 翔太"} << QStringList{}
                                << "過去ﾛｸﾞに読める結果がありません。\r結果を保存すると、ここに数えられます。";
}

void TestSeatRecordWindow::openOverTheLog()
{
    QFETCH(QStringList, roster);
    QFETCH(QStringList, saved);
    QFETCH(QString, message);
    TestEnv env;
    QVERIFY(saveCharts(QDir::currentPath(), saved));
    MainWindow *main = startedMain([&] { putRoster(state(), roster); });
    // The record comes last in its menu, after the past results.
    QStringList menu;
    for (const QAction *a : main->pastResultsMenu->actions())
        menu.append(a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(menu.constLast(), QStringLiteral("席の記録(&H)..."));
    QCOMPARE(menu.size(), saved.isEmpty() ? 4 : 8);
    TRIGGER(main, "mnuSeatRecord");

    if (!message.isEmpty()) {
        QCOMPARE(env.platform.messageLog(), QStringList{QStringLiteral("席の記録|") + message + QStringLiteral("|64")});
        QCOMPARE(env.platform.calls.constLast().owner.data(), main);
        QVERIFY(!isLoaded<SeatRecordWindow>());
        return;
    }
    SeatRecordWindow *w = loadedForm<SeatRecordWindow>();
    QVERIFY(w && w->isVisible());
    QVERIFY(env.platform.messageLog().isEmpty());
    QCOMPARE(w->windowTitle(), QStringLiteral("席の記録"));
    QVERIFY(w->summary->text().startsWith(QStringLiteral("過去ﾛｸﾞの結果 4 件から数えました。")));
    const QStringList rows = rowsOf(w->table);
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows.mid(0, 2), (QStringList{"伊藤 翔太|3|2|1|前 67%・後 33%|No.1、No.5、No.26",
                                          "佐藤 花子|2|1|1|前 50%・後 50%|No.2、No.28"}));
    QVERIFY(w->table->editTriggers() == QAbstractItemView::NoEditTriggers);

    // Sorted by the bar: who sat in front most comes first, who sat at the back most last.
    w->table->sortByColumn(SeatRecordWindow::ShareColumn, Qt::DescendingOrder);
    QCOMPARE(w->table->item(0, SeatRecordWindow::NameColumn)->text(), QStringLiteral("伊藤 翔太"));
    QCOMPARE(w->table->item(2, SeatRecordWindow::NameColumn)->text(), QStringLiteral("鈴木"));

    // The menu again shows the record as it is now; Escape closes.
    TRIGGER(main, "mnuSeatRecord");
    QCOMPARE(loadedForm<SeatRecordWindow>(), w);
    QTest::keyClick(w->table, Qt::Key_Escape);
    QTRY_VERIFY(!isLoaded<SeatRecordWindow>());
    TRIGGER(main, "mnuSeatRecord");
    QVERIFY(loadedForm<SeatRecordWindow>() && loadedForm<SeatRecordWindow>() != w);
    QTest::mouseClick(loadedForm<SeatRecordWindow>()->closeButton, Qt::LeftButton);
    QTRY_VERIFY(!isLoaded<SeatRecordWindow>());
}

QTEST_MAIN(TestSeatRecordWindow)
#include "tst_seatrecordwindow.moc"
