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
    // The instruction keeps its table width.
    QTest::newRow("condition editor") << "condition editor" << QList<int>{390, 47, 47, 73, 73};
}

// Each panel as wide as its table says (or as its texts need), all of them inside the bar.
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
             qPrintable(face + QStringLiteral(": fonts-ipafont-gothic missing")));
    const int count = int(widths.size());
    for (int i = 1; i <= count; ++i) {
        const QLabel *panel = w->statusPanels->panel(i);
        QVERIFY2(i == 1 ? panel->width() == widths.at(0) || widths.at(0) == 0 : panel->width() >= widths.at(i - 1),
                 qPrintable(QStringLiteral("panel %1: %2").arg(i).arg(panel->width())));
        QVERIFY(panel->geometry().right() < w->statusPanels->width());
    }
    QCOMPARE(w->statusPanels->panel(count + 1), nullptr);
}

QTEST_MAIN(TestChrome)
#include "tst_chrome.moc"
