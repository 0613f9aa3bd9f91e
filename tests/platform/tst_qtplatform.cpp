// The production platform: Qt's message boxes as the program uses them.
#include "platform/qtplatform.h"
#include "support/testenv.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QtTest>

class TestQtPlatform : public QObject {
    Q_OBJECT

private slots:
    void messageBoxButtonsAndAnswers_data();
    void messageBoxButtonsAndAnswers();
};

void TestQtPlatform::messageBoxButtonsAndAnswers_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QStringList>("buttons"); // the captions shown; the first one is pressed
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("answer");
    QTest::newRow("question, OK") << 33 << QStringList{"OK", "キャンセル"} << int(QMessageBox::Question) << IDOK;
    QTest::newRow("question, Cancel") << 33 << QStringList{"キャンセル", "OK"} << int(QMessageBox::Question) << IDCANCEL;
    QTest::newRow("stop") << 16 << QStringList{"OK"} << int(QMessageBox::Critical) << IDOK;
    QTest::newRow("information") << 64 << QStringList{"OK"} << int(QMessageBox::Information) << IDOK;
    QTest::newRow("exclamation") << 48 << QStringList{"OK"} << int(QMessageBox::Warning) << IDOK;
}

void TestQtPlatform::messageBoxButtonsAndAnswers()
{
    QFETCH(int, style);
    QFETCH(QStringList, buttons);
    QFETCH(int, icon);
    QFETCH(int, answer);
    TestEnv env;
    QtPlatform qt;
    QString seen;
    whenModal([&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        QStringList captions;
        for (QAbstractButton *b : box->buttons())
            captions.append(b->text());
        seen = box->windowTitle() + u'|' + box->text() + u'|' + QString::number(box->icon()) + u'|' + QString::number(captions.size());
        // Pressed even when a caption is missing, so that the box never blocks the run.
        box->buttons().value(int(captions.indexOf(buttons.constFirst())), box->buttons().constFirst())->click();
        QCOMPARE(QSet<QString>(captions.cbegin(), captions.cend()), QSet<QString>(buttons.cbegin(), buttons.cend()));
    });
    QCOMPARE(qt.messageBox(nullptr, QStringLiteral("一行目\r二行目"), QStringLiteral("設定確認"), style), answer);
    QCOMPARE(seen, QStringLiteral("設定確認|一行目\n二行目|%1|%2").arg(icon).arg(buttons.size()));
}

QTEST_MAIN(TestQtPlatform)
#include "tst_qtplatform.moc"
