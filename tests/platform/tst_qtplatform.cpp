// The production platform: Qt's message boxes and file dialogs as the program uses them.
#include "platform/qtplatform.h"
#include "support/testenv.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QtTest>

class TestQtPlatform : public QObject {
    Q_OBJECT

private slots:
    void messageBoxButtonsAndAnswers_data();
    void messageBoxButtonsAndAnswers();
    void nameFilters();
    void openDialogMatchesFiltersWithoutCase();
};

void TestQtPlatform::messageBoxButtonsAndAnswers_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("buttons"); // the captions shown; the first one is pressed
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("answer");
    QTest::newRow("question, OK") << 33 << "OK|キャンセル" << int(QMessageBox::Question) << IDOK;
    QTest::newRow("question, Cancel") << 33 << "キャンセル|OK" << int(QMessageBox::Question) << IDCANCEL;
    QTest::newRow("stop") << 16 << "OK" << int(QMessageBox::Critical) << IDOK;
    QTest::newRow("information") << 64 << "OK" << int(QMessageBox::Information) << IDOK;
    QTest::newRow("exclamation") << 48 << "OK" << int(QMessageBox::Warning) << IDOK;
}

void TestQtPlatform::messageBoxButtonsAndAnswers()
{
    QFETCH(int, style);
    QFETCH(QString, buttons);
    QFETCH(int, icon);
    QFETCH(int, answer);
    TestEnv env;
    QtPlatform qt;
    bool seen = false;
    whenModal([&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        // A failed check must not leave the box blocking the run.
        auto closeOnFailure = qScopeGuard([box] { box->close(); });
        QCOMPARE(box->windowTitle(), QStringLiteral("設定確認"));
        QCOMPARE(box->text(), QStringLiteral("一行目\n二行目"));
        QCOMPARE(int(box->icon()), icon);
        QStringList captions;
        for (QAbstractButton *b : box->buttons())
            captions.append(b->text());
        const QStringList expected = buttons.split(u'|');
        QCOMPARE(QSet<QString>(captions.cbegin(), captions.cend()), QSet<QString>(expected.cbegin(), expected.cend()));
        QAbstractButton *toPress = box->buttons().value(int(captions.indexOf(expected.constFirst())));
        QVERIFY(toPress);
        seen = true;
        closeOnFailure.dismiss();
        toPress->click();
    });
    QCOMPARE(qt.messageBox(nullptr, QStringLiteral("一行目\r二行目"), QStringLiteral("設定確認"), style), answer);
    QVERIFY(seen);
}

void TestQtPlatform::nameFilters()
{
    QCOMPARE(qtNameFilters(QStringLiteral("名簿ﾌｧｲﾙ(*.MEM)|*.MEM|すべてのﾌｧｲﾙ(*.*)|*.*")),
             (QStringList{QStringLiteral("名簿ﾌｧｲﾙ(*.MEM)"), QStringLiteral("すべてのﾌｧｲﾙ(*.*)")}));
    QCOMPARE(qtNameFilters(QStringLiteral("Rosters|*.mem;*.dat")), QStringList{QStringLiteral("Rosters (*.mem *.dat)")});
}

void TestQtPlatform::openDialogMatchesFiltersWithoutCase()
{
    TestEnv env;
    env.writeFile(QStringLiteral("class.mem"), "a\r\n");
    env.writeFile(QStringLiteral("notes.txt"), "b\r\n");
    QtPlatform qt;
    QStringList listed;
    whenModal([&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        auto closeAlways = qScopeGuard([dialog] { dialog->reject(); });
        QCOMPARE(dialog->windowTitle(), QStringLiteral("名簿を開く"));
        QCOMPARE(dialog->selectedNameFilter(), QStringLiteral("名簿ﾌｧｲﾙ(*.MEM)"));
        auto *model = dialog->findChild<QFileSystemModel *>();
        QVERIFY(model);
        QVERIFY(!(model->filter() & QDir::CaseSensitive));
        const QString work = QDir::currentPath();
        // The folder is listed lazily by a background thread, which under load now and
        // then comes back empty; look again until the listing arrives.
        QElapsedTimer sinceLook;
        sinceLook.start();
        const auto rows = [&] {
            const QModelIndex folder = model->index(work);
            if (model->rowCount(folder) == 0 && sinceLook.elapsed() > 2000) {
                dialog->setDirectory(QDir::rootPath());
                dialog->setDirectory(work);
                sinceLook.restart();
            }
            return model->rowCount(folder);
        };
        QTRY_VERIFY_WITH_TIMEOUT(rows() > 0, 60000);
        const QModelIndex folder = model->index(work);
        for (int row = 0; row < model->rowCount(folder); ++row)
            listed.append(model->index(row, 0, folder).data().toString());
    });
    const QString chosen = qt.openFileName(nullptr, {QStringLiteral("名簿を開く"),
                                                     QStringLiteral("名簿ﾌｧｲﾙ(*.MEM)|*.MEM|すべてのﾌｧｲﾙ(*.*)|*.*"), {}});
    QCOMPARE(chosen, QString());
    QCOMPARE(listed, QStringList{QStringLiteral("class.mem")});
}


QTEST_MAIN(TestQtPlatform)
#include "tst_qtplatform.moc"
