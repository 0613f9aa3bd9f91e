// The production platform: Qt's message boxes as the program uses them.
#include "shell/qtplatform.h"
#include "support/testenv.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QtTest>

#include <chrono>
#include <future>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace
{
// `check` on the modal dialog (a T) that opens next; the dialog is closed if it is left open.
template <typename T, typename Check> void onModal(Check check)
{
    whenModal([check] {
        auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        const QScopeGuard close([dialog] {
            if (dialog->isVisible())
                dialog->reject();
        });
        check(dialog);
    });
}
} // namespace

class TestQtPlatform : public QObject
{
    Q_OBJECT

private slots:
    void messageBoxButtonsAndAnswers_data();
    void messageBoxButtonsAndAnswers();
    void fileDialogNeverReadsAFile();
    void printDialogOffersWhatAChartNeeds_data();
    void printDialogOffersWhatAChartNeeds();
    void listChoice_data();
    void listChoice();
};

void TestQtPlatform::messageBoxButtonsAndAnswers_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QStringList>("buttons"); // the captions shown; the first one is pressed
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("answer");
    QTest::newRow("question, OK") << 33 << QStringList{"OK", "キャンセル"} << int(QMessageBox::Question) << IDOK;
    QTest::newRow("question, Cancel") << 33 << QStringList{"キャンセル", "OK"} << int(QMessageBox::Question)
                                      << IDCANCEL;
    QTest::newRow("stop") << 16 << QStringList{"OK"} << int(QMessageBox::Critical) << IDOK;
    QTest::newRow("information") << 64 << QStringList{"OK"} << int(QMessageBox::Information) << IDOK;
    QTest::newRow("exclamation") << 48 << QStringList{"OK"} << int(QMessageBox::Warning) << IDOK;
    QTest::newRow("abort, retry, ignore: ignore")
        << 306 << QStringList{"無視(&I)", "中止(&A)", "再試行(&R)"} << int(QMessageBox::Warning) << IDIGNORE;
}

void TestQtPlatform::messageBoxButtonsAndAnswers()
{
    QFETCH(int, style);
    QFETCH(QStringList, buttons);
    QFETCH(int, icon);
    QFETCH(int, answer);
    TestEnv env;
    QtPlatform qt({});
    QString seen;
    onModal<QMessageBox>([&](QMessageBox *box) {
        QStringList captions;
        for (QAbstractButton *b : box->buttons())
            captions.append(b->text());
        seen = box->windowTitle() + u'|' + box->text() + u'|' + QString::number(box->icon()) + u'|' +
               QString::number(captions.size());
        // Pressed even when a caption is missing, so that the box never blocks the run.
        box->buttons().value(int(captions.indexOf(buttons.constFirst())), box->buttons().constFirst())->click();
        QCOMPARE(QSet<QString>(captions.cbegin(), captions.cend()), QSet<QString>(buttons.cbegin(), buttons.cend()));
    });
    QCOMPARE(qt.messageBox(nullptr, QStringLiteral("一行目\r二行目"), QStringLiteral("設定確認"), style), answer);
    QCOMPARE(seen, QStringLiteral("設定確認|一行目\n二行目|%1|%2").arg(icon).arg(buttons.size()));
}

// The file dialogs name types by the file's name: a FIFO (whose reading waits for a
// writer) is named at once, and a roster is a MEM file, not "text" read from its bytes.
void TestQtPlatform::fileDialogNeverReadsAFile()
{
#ifndef Q_OS_UNIX
    QSKIP("Windows has no FIFOs; the types by name are read on every platform by the same code");
#else
    TestEnv env;
    const QString fifo = env.path(QStringLiteral("pipe.rlt"));
    QCOMPARE(::mkfifo(qPrintable(fifo), 0600), 0);
    env.writeFile(QStringLiteral("1組.mem"), sjis(QStringLiteral("山田\r\n")));
    QString types;
    onModal<QFileDialog>([&](QFileDialog *dialog) {
        const auto *provider = dynamic_cast<const NameOnlyIconProvider *>(dialog->iconProvider());
        QVERIFY(provider);
        // On a thread of its own, so that a provider that waits fails the test instead of hanging it.
        auto typed = std::async(std::launch::async, [&] {
            return provider->type(QFileInfo(fifo)) + u'|' +
                   provider->type(QFileInfo(env.path(QStringLiteral("1組.mem"))));
        });
        if (typed.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
            const int writer = ::open(qPrintable(fifo), O_WRONLY | O_NONBLOCK); // lets the reader go
            ::close(writer);
            QFAIL("the type of a FIFO was read from its contents");
        }
        types = typed.get();
        QVERIFY(dialog->width() >= 780); // room for a file's size, type and date whole
    });
    QtPlatform qt({});
    qt.openFileName(nullptr,
                    FileDialogRequest{QStringLiteral("名簿を開く"), QStringLiteral("すべてのﾌｧｲﾙ(*.*)|*.*"), {}});
    QCOMPARE(types, QStringLiteral("RLT ファイル|MEM ファイル"));
#endif
}

void TestQtPlatform::printDialogOffersWhatAChartNeeds_data()
{
    QTest::addColumn<bool>("offered");
    QTest::addColumn<bool>("pressed"); // the options clicked on the layout tab
    QTest::addColumn<bool>("chart");   // else a page with no chart's layout to choose
    QTest::newRow("ticked") << false << true << true;
    QTest::newRow("left as it was") << true << false << true;
    QTest::newRow("no chart") << false << false << false;
}

// Qt's print dialog with the chart's options: the fit option on a tab of its own, reached from
// the keyboard, a dated PDF file beside the results, nothing that does not apply to one page.
void TestQtPlatform::printDialogOffersWhatAChartNeeds()
{
    QFETCH(bool, offered);
    QFETCH(bool, pressed);
    QFETCH(bool, chart);
#ifdef Q_OS_WIN
    QSKIP("Windows' own print dialog takes no tabs of a program: both choices are in the result window's menu");
#endif
    TestEnv env;
    const QString pdf = env.path(QStringLiteral("ならびん結果-20261205.pdf"));
    QStringList seen;
    onModal<QPrintDialog>([&](QPrintDialog *dialog) {
        // The PDF file, never a printer of the machine that runs the test.
        auto *printers = dialog->findChild<QComboBox *>(QStringLiteral("printers"));
        auto *fileName = dialog->findChild<QLineEdit *>(QStringLiteral("filename"));
        auto *tabs = dialog->findChild<QTabWidget *>(QStringLiteral("tabs"));
        auto *fit = dialog->findChild<QCheckBox *>(QStringLiteral("fitToPage"));
        QVERIFY(printers && fileName && tabs);
        printers->setCurrentIndex(printers->count() - 1);
        seen << dialog->windowTitle() << fileName->text();
        for (const char *name : {"gbPrintRange", "reverse", "duplex"}) {
            const QWidget *w = dialog->findChild<QWidget *>(QLatin1String(name));
            seen << QLatin1String(name) + QLatin1String(w && w->isHidden() ? " hidden" : " shown");
        }
        if (!fit) {
            seen << "no layout";
            dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
            return;
        }
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        // Qt's own button that shows the options.
        for (QPushButton *b : dialog->findChildren<QPushButton *>())
            if (b->text().startsWith(QStringLiteral("オプション")))
                b->click();
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->widget(i)->isAncestorOf(fit))
                tabs->setCurrentIndex(i);
        seen << tabs->tabText(tabs->currentIndex()) << fit->shortcut().toString()
             << (fit->isVisible() ? "shown" : "not shown") << (fit->isChecked() ? "ticked" : "unticked");
        // The side the chart is seen from: the two choices, the offered one chosen.
        auto *pupils = dialog->findChild<QRadioButton *>(QStringLiteral("pupilsView"));
        auto *teacher = dialog->findChild<QRadioButton *>(QStringLiteral("teacherView"));
        QVERIFY(pupils && teacher && pupils->isVisible());
        seen << qobject_cast<QGroupBox *>(pupils->parentWidget())->title() << pupils->text() + u'/' + teacher->text()
             << (teacher->isChecked() ? "from the desk" : "pupils' side");
        if (pressed) {
            fit->click();
            (teacher->isChecked() ? pupils : teacher)->click();
        }
        dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
    QtPlatform qt({});
    QPrinter printer(QPrinter::HighResolution);
    PrintOptions options{pdf, offered, offered, chart};
    QVERIFY(qt.printDialog(nullptr, printer, options));
    const QString layout =
        QStringLiteral("|レイアウト|Alt+Z|shown|%1|座席表の向き(&V)|生徒側から見る（画面と同じ）/教卓側から見る|%2")
            .arg(offered ? "ticked" : "unticked", offered ? "from the desk" : "pupils' side");
    QCOMPARE(seen.join(u'|'), "印刷|" + pdf + "|gbPrintRange hidden|reverse hidden|duplex hidden" +
                                  (chart ? layout : QStringLiteral("|no layout")));
    QCOMPARE(options.fitToPage, offered != pressed);
    QCOMPARE(options.teacherView, offered != pressed);
    QCOMPARE(printer.outputFileName(), pdf);
}

void TestQtPlatform::listChoice_data()
{
    QTest::addColumn<int>("current");
    QTest::addColumn<QList<int>>("keys"); // pressed in the list; OK is the default button
    QTest::addColumn<int>("shown");       // chosen when the dialog opens
    QTest::addColumn<int>("chosen");
    QTest::newRow("the next one") << 1 << QList<int>{Qt::Key_Down, Qt::Key_Return} << 1 << 2;
    QTest::newRow("items alike") << 3 << QList<int>{Qt::Key_Return} << 3 << 3;
    QTest::newRow("escape cancels") << 1 << QList<int>{Qt::Key_Escape} << 1 << -1;
    QTest::newRow("a first choice out of range") << 9 << QList<int>{Qt::Key_Return} << 0 << 0;
}

void TestQtPlatform::listChoice()
{
    QFETCH(int, current);
    QFETCH(QList<int>, keys);
    QFETCH(int, shown);
    QFETCH(int, chosen);
    TestEnv env;
    QString seen;
    onModal<QDialog>([&](QDialog *dialog) {
        auto *combo = dialog->findChild<QComboBox *>();
        const auto *caption = dialog->findChild<QLabel *>();
        QVERIFY(combo && dialog->focusWidget() == combo && caption);
        QStringList buttons;
        for (const QPushButton *b : dialog->findChildren<QPushButton *>())
            buttons.append(b->text() + (b->isDefault() ? "*" : ""));
        seen = dialog->windowTitle() + u'|' + caption->text() + u'|' + buttons.join(u'/') + u'|' +
               QString::number(combo->currentIndex());
        for (const int key : keys)
            QTest::keyClick(combo, Qt::Key(key));
    });
    QtPlatform qt({});
    const QStringList items{"1列目：番号", "2列目：氏名", "3列目：ふりがな", "2列目：氏名"};
    QCOMPARE(qt.chooseFromList(nullptr, QStringLiteral("氏名の列の選択"), QStringLiteral("列を選んで下さい。"), items,
                               current),
             chosen);
    QCOMPARE(seen, QStringLiteral("氏名の列の選択|列を選んで下さい。|OK*/キャンセル|%1").arg(shown));
}

QTEST_MAIN(TestQtPlatform)
#include "tst_qtplatform.moc"
