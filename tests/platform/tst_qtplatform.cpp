// The production platform: Qt's message boxes as the program uses them.
#include "platform/qtplatform.h"
#include "support/testenv.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QMessageBox>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

class TestQtPlatform : public QObject {
    Q_OBJECT

private slots:
    void messageBoxButtonsAndAnswers_data();
    void messageBoxButtonsAndAnswers();
    void fileDialogNeverReadsAFile();
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

// A FIFO shown in the file dialog: reading it to learn its type would block until
// someone writes to it. The dialog lists it, with a type, and closes.
void TestQtPlatform::fileDialogNeverReadsAFile()
{
    TestEnv env;
    QtPlatform qt;
    const QString fifo = env.path(QStringLiteral("pipe"));
    QCOMPARE(::mkfifo(qPrintable(fifo), 0600), 0);
    env.writeFile(QStringLiteral("1組.mem"), "x");
    QString types;
    whenModal([&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        auto *model = dialog->findChild<QFileSystemModel *>();
        QVERIFY(model);
        const auto typeOf = [&](const QString &path) { return model->type(model->index(path)); };
        QTRY_VERIFY_WITH_TIMEOUT(!typeOf(fifo).isEmpty() && !typeOf(env.path(QStringLiteral("1組.mem"))).isEmpty(), 5000);
        types = typeOf(fifo) + u'|' + typeOf(env.path(QStringLiteral("1組.mem")));
        dialog->reject();
    });
    QCOMPARE(qt.openFileName(nullptr, FileDialogRequest{QStringLiteral("名簿を開く"), QStringLiteral("すべてのﾌｧｲﾙ(*.*)|*.*"), {}}),
             QString());
    // Whatever Qt had started on the FIFO is let go, so that the test can end.
    const int unblock = ::open(qPrintable(fifo), O_WRONLY | O_NONBLOCK);
    if (unblock >= 0)
        ::close(unblock);
    QCOMPARE(types, QStringLiteral("ファイル|MEM ファイル"));
}

QTEST_MAIN(TestQtPlatform)
#include "tst_qtplatform.moc"
