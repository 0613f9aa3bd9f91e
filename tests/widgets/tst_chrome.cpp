// The chrome every large window gets from its table: the status bar's panels.
#include "support/largewindows.h"

#include <QFontInfo>
#include <QLabel>
#include <QLayout>
#include <QtTest>

class TestChrome : public QObject
{
    Q_OBJECT

private slots:
    void statusBarsFit_data();
    void statusBarsFit();
};

void TestChrome::statusBarsFit_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QList<int>>("widths"); // the panels' widths in pixels; 0: the room left
    QTest::newRow("main window") << "main window" << QList<int>{0, 90, 90};
    QTest::newRow("roster editor") << "roster editor" << QList<int>{0, 50, 50, 90, 90};
    // The instruction keeps its table width; the date and clock fit beside it.
    QTest::newRow("condition editor") << "condition editor" << QList<int>{390, 47, 47, 73, 73};
    QTest::newRow("result window") << "result window" << QList<int>{0, 90, 90};
}

// Each panel as wide as its table says (or as its texts need), all of them inside the
// bar, and the date and clock whole whatever the hour.
void TestChrome::statusBarsFit()
{
    QFETCH(QString, window);
    QFETCH(QList<int>, widths);
    TestEnv env;
    FormWindow *w = shownLargeWindow(window);
    w->statusPanels->layout()->activate();
    // The texts' widths are those of the IPA faces: a wider face would need wider panels than the bar has.
    const QString face = QFontInfo(w->statusPanels->panel(1)->font()).family();
    QVERIFY2(face.startsWith(QLatin1String("IPA")),
             qPrintable(face + QStringLiteral(": the panels are measured with the IPA faces (fonts-ipafont-gothic, "
                                              "which scripts/bootstrap installs)")));
    const int count = int(widths.size());
    for (int i = 1; i <= count; ++i) {
        const QLabel *panel = w->statusPanels->panel(i);
        if (widths.at(i - 1) > 0)
            QVERIFY2(panel->width() >= widths.at(i - 1),
                     qPrintable(QStringLiteral("panel %1: %2").arg(i).arg(panel->width())));
        if (i == 1 && widths.at(0) > 0)
            QCOMPARE(panel->width(), widths.at(0));
        QVERIFY(panel->geometry().right() < w->statusPanels->width());
    }
    QCOMPARE(w->statusPanels->panel(count + 1), nullptr);
    for (const QString &shown :
         {QStringLiteral("2026/12/31"), QStringLiteral("午前 12:00"), QStringLiteral("午後 11:59")}) {
        for (const int clock : {count - 1, count}) {
            const QLabel *panel = w->statusPanels->panel(clock);
            QVERIFY(panel->fontMetrics().horizontalAdvance(shown) <= panel->contentsRect().width());
        }
    }
}

QTEST_MAIN(TestChrome)
#include "tst_chrome.moc"
