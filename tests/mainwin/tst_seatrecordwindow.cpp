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
    QTest::addColumn<QStringList>("shown"); // the summary, the first row and the last
    const QString summary =
        QStringLiteral("過去ﾛｸﾞの結果 %1 件から数えました。<span style=\"color:#4682b4\">■</span> 前 = "
                       "%2（教卓側の2行）、<span style=\"color:#e68c28\">■</span> 後 = %3（後ろの2行）。");
    const QStringList charts{"一学期.rlt=伊藤 翔太:1,佐藤 花子:28,鈴木:12",
                             "二学期.rlt=伊藤 翔太:5,佐藤 花子:2,鈴木:24", "三学期.rlt=伊藤 翔太:26,鈴木:13",
                             "他の組.rlt=山田:1"};
    QTest::newRow("three terms") << QStringList{"伊藤 翔太", "佐藤 花子", "鈴木"} << charts << ""
                                 << QStringList{summary.arg(4).arg("No.1～No.8", "No.21～No.28"),
                                                "伊藤 翔太|3|2|1|前 67%・後 33%|No.1、No.5、No.26",
                                                "鈴木|3|0|1|前 0%・後 33%|No.12、No.13、No.24"};
    // 40 pupils in 8 × 5 in 班 of 5: the back is the last two rows of that room.
    QTest::newRow("40 pupils") << pupils(40)
                               << QStringList{"preset 4@a.rlt=生徒1:1,生徒40:33", "preset 4@b.rlt=生徒1:17,生徒40:40"}
                               << ""
                               << QStringList{summary.arg(2).arg("No.1～No.16", "No.25～No.40"),
                                              "生徒1|2|1|0|前 50%・後 0%|No.1、No.17",
                                              "生徒40|2|0|2|前 0%・後 100%|No.33、No.40"};
    QTest::newRow("no roster") << QStringList{} << charts
                               << "名簿がありません。\r名簿を開くか新規作成してから、もう一度選んで下さい。"
                               << QStringList{};
    QTest::newRow("no results") << QStringList{"伊藤 翔太"} << QStringList{}
                                << "過去ﾛｸﾞに読める結果がありません。\r結果を保存すると、ここに数えられます。"
                                << QStringList{};
}

void TestSeatRecordWindow::openOverTheLog()
{
    QFETCH(QStringList, roster);
    QFETCH(QStringList, saved);
    QFETCH(QString, message);
    QFETCH(QStringList, shown);
    TestEnv env;
    QVERIFY(saveCharts(QDir::currentPath(), saved));
    MainWindow *main = startedMain([&] { putRoster(state(), roster); });
    // The record comes last in its menu, after the past results.
    QStringList menu;
    for (const QAction *a : main->pastResultsMenu->actions())
        menu.append(a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(menu.constLast(), QStringLiteral("席の記録(&H)..."));
    QCOMPARE(menu.size(), saved.isEmpty() ? 4 : saved.size() + 4);
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
    const QStringList rows = rowsOf(w->table);
    QCOMPARE(rows.size(), roster.size());
    QCOMPARE((QStringList{w->summary->text(), rows.constFirst(), rows.constLast()}), shown);
    QVERIFY(w->table->editTriggers() == QAbstractItemView::NoEditTriggers);

    // Sorted by the bar: who sat in front most comes first, who sat at the back most last.
    w->table->sortByColumn(SeatRecordWindow::ShareColumn, Qt::DescendingOrder);
    QCOMPARE(w->table->item(0, SeatRecordWindow::NameColumn)->text(), roster.constFirst());
    QCOMPARE(w->table->item(roster.size() - 1, SeatRecordWindow::NameColumn)->text(), roster.constLast());

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
