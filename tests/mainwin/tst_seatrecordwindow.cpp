// The seat record window over the class's charts, and what it says instead when there is nothing to show.
#include "mainwin/seatrecordwindow.h"
#include "support/mainfixtures.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QTableWidget>
#include <QtTest>

namespace
{

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

class TestSeatRecordWindow : public QObject
{
    Q_OBJECT

private slots:
    void openOverTheLog();
    void keptChartsSortedRemovedPrintedSaved();
};

// Over the folder's log, another class's chart in it not counted; without a roster the main
// window says why.
void TestSeatRecordWindow::openOverTheLog()
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
void TestSeatRecordWindow::keptChartsSortedRemovedPrintedSaved()
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

QTEST_MAIN(TestSeatRecordWindow)
#include "tst_seatrecordwindow.moc"
