// Printing the chart (pages read back from the PDF) and the non-printed-rows dialog.
#include "app/product.h"
#include "app/settings.h"
#include "app/startup.h"
#include "app/ui.h"
#include "seating/noprintlinedialog.h"
#include "seating/printing.h"
#include "seating/resultwindow.h"
#include "seatingfixture.h"

#include <QCheckBox>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QToolButton>
#include <QtTest>

namespace {

using Rows = QList<int>;
const QStringList AllOff{"1", "1", "1", "1", "1", "1"};

// Start-up's settings over a store that holds `stored`, then a result window with a chart.
RESULT *chartShown(const QMap<QString, QString> &stored = {})
{
    for (auto it = stored.cbegin(); it != stored.cend(); ++it)
        SaveSetting(QString::fromLatin1(ProgramTitle), QStringLiteral("Config"), it.key(), it.value());
    loadStartupSettings(QDir::currentPath());
    RESULT *r = form<RESULT>();
    QStringList seats = pupils(28);
    seats[16] = QStringLiteral(" ");
    r->setSeatTexts(seats);
    r->show();
    return r;
}

QMap<QString, QString> rowSettings(const QStringList &values, const QString &psbar)
{
    QMap<QString, QString> out{{QStringLiteral("OptPsbar"), psbar}};
    for (int row = 2; row <= 7; ++row) {
        if (values.at(row - 2) != QLatin1String("<none>"))
            out.insert(QStringLiteral("OptLine_%1").arg(row), values.at(row - 2));
    }
    return out;
}

QByteArray settingsBytes(const TestEnv &env)
{
    QFile f(env.settingsFile());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// The pages of a PDF as images at 96 dots to the inch, made by poppler's pdftoppm.
QList<QImage> pdfPages(const QString &pdf)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (tool.isEmpty())
        qFatal("pdftoppm is missing: scripts/bootstrap installs poppler-utils");
    const QFileInfo prefix(pdf + QStringLiteral(".page"));
    QProcess p;
    p.start(tool, {"-r", "96", "-png", pdf, prefix.filePath()});
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return {};
    QList<QImage> pages;
    const QDir folder = prefix.absoluteDir();
    for (const QString &f : folder.entryList({prefix.fileName() + QStringLiteral("-*.png")}, QDir::Files, QDir::Name))
        pages.append(QImage(folder.filePath(f)).convertToFormat(QImage::Format_RGB32));
    return pages;
}

// Where the chart's client area starts on a rendered page: the top-left of the printable area.
QPoint pageOrigin()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    return printer.pageLayout().paintRectPixels(96).topLeft();
}

const auto isWhite = [](QRgb c) { return qRed(c) > 245 && qGreen(c) > 245 && qBlue(c) > 245; };
const auto isDark = [](QRgb c) { return qRed(c) < 90 && qGreen(c) < 90 && qBlue(c) < 90; };
const auto isLine = [](QRgb c) { return qGray(c) < 170; }; // a line drawn between two pixels inks both
const auto isBoxGrey = [](QRgb c) { return qAbs(qRed(c) - 192) < 8 && qAbs(qGreen(c) - 192) < 8 && qAbs(qBlue(c) - 192) < 8; };

// Counts the pixels of a client-area rectangle (in pixels) on the page that pass a test.
int count(const QImage &page, const QRect &clientRect, bool (*test)(QRgb))
{
    static const QPoint origin = pageOrigin();
    int n = 0;
    const QRect r = clientRect.translated(origin);
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += test(page.pixel(x, y)) ? 1 : 0;
    return n;
}

bool blank(const QImage &page, const QRect &clientRect)
{
    return count(page, clientRect, isWhite) == clientRect.width() * clientRect.height();
}

// What the page shows of one seat: its box (grey inside, a border exactly where the window
// has it, so at the window's size) and its black caption.
QString seatOnPage(const QImage &page, const RESULT *r, int i)
{
    const QRect box = r->Label3[size_t(i)]->geometry();
    const QRect caption = r->Label1[size_t(i)]->geometry();
    if (blank(page, box.adjusted(-1, -1, 1, 1)) && blank(page, caption))
        return QStringLiteral("none");
    const QRect inside(box.left() + 3, box.top() + 4, 6, box.height() - 8);
    const int midY = box.center().y();
    const bool boxShown = count(page, inside, isBoxGrey) == inside.width() * inside.height()
                          && count(page, QRect(box.left() - 1, midY, 3, 1), isLine) >= 1
                          && count(page, QRect(box.right() - 1, midY, 3, 1), isLine) >= 1
                          && blank(page, QRect(box.left() - 3, midY, 1, 1)) && blank(page, QRect(box.right() + 3, midY, 1, 1));
    // Black lettering on white; on screen it is white on grey.
    const bool captionShown = count(page, caption, isDark) > 20 && count(page, caption, isWhite) > caption.width() * 4;
    return boxShown && captionShown ? QStringLiteral("printed") : QStringLiteral("damaged");
}

QStringList seatsOnPage(const QImage &page, const RESULT *r)
{
    QStringList out;
    for (int i = 0; i < SeatCount; ++i)
        out.append(seatOnPage(page, r, i));
    return out;
}

QStringList seatsExpected(const Rows &printed)
{
    QStringList out;
    for (int i = 0; i < SeatCount; ++i)
        out.append(printed.contains(i / 4 + 1) ? QStringLiteral("printed") : QStringLiteral("none"));
    return out;
}

// Prints through the menu or the toolbar into a PDF file and returns its pages.
QList<QImage> printToPdf(TestEnv &env, RESULT *r, int copies = 1, bool byToolbar = false)
{
    const QString pdf = env.path(QStringLiteral("chart.pdf"));
    QFile::remove(pdf);
    env.platform.prints.enqueue({true, copies, pdf});
    if (byToolbar)
        r->Toolbar1->button(5)->click();
    else
        findAction(r, QStringLiteral("mnuPrint"))->trigger();
    return pdfPages(pdf);
}

// The client area as the screen shows it, drawn afresh.
QImage screenLook(RESULT *r)
{
    return r->client()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

NOPLINE *openRowsDialog(RESULT *r)
{
    findAction(r, QStringLiteral("mnuNoPrintLine"))->trigger();
    return loadedForm<NOPLINE>();
}

} // namespace

class TestPrinting : public QObject {
    Q_OBJECT

private slots:
    void printedPages_data();
    void printedPages();
    void failedOrCancelledPrintKeepsScreenLook_data();
    void failedOrCancelledPrintKeepsScreenLook();
    void printerMakesNoCopiesOfItsOwn();
    void dialogChoiceSteersTheNextPrint_data();
    void dialogChoiceSteersTheNextPrint();
    void helpAndRefusedStores();
};

void TestPrinting::printedPages_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("psbar");
    QTest::addColumn<int>("copies");
    QTest::addColumn<Rows>("printed");
    QTest::addColumn<bool>("byToolbar");
    QTest::newRow("all six off, status bar") << AllOff << "1" << 1 << Rows{1} << false;
    QTest::newRow("all six off, no status bar") << AllOff << "0" << 2 << Rows{1} << false;
    QTest::newRow("row 2 off, three copies") << QStringList{"1", "0", "0", "0", "0", "0"} << "1" << 3
                                             << Rows{1, 3, 4, 5, 6, 7} << false;
    // Only the exact "1" leaves a row off; an unset status bar option prints it.
    QTest::newRow("near ones print") << QStringList{"0", " 1", "1", "yes", "", "1"} << "" << 1 << Rows{1, 2, 3, 5, 6} << false;
    QTest::newRow("everything, toolbar") << QStringList(6, "0") << "0" << 2 << Rows{1, 2, 3, 4, 5, 6, 7} << true;
}

void TestPrinting::printedPages()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, psbar);
    QFETCH(int, copies);
    QFETCH(Rows, printed);
    QFETCH(bool, byToolbar);
    const bool statusBar = psbar != QLatin1String("0");
    TestEnv env;
    RESULT *r = chartShown(rowSettings(lines, psbar));
    const QImage before = screenLook(r);
    const QList<QImage> pages = printToPdf(env, r, copies, byToolbar);
    QCOMPARE(env.platform.callsOf(QStringLiteral("print")).constFirst().owner.data(), r);
    QCOMPARE(env.platform.messageLog(), QStringList());
    QCOMPARE(pages.size(), copies);
    for (const QImage &page : pages)
        QCOMPARE(page, pages.constFirst());
    const QImage &page = pages.constFirst();
    QCOMPARE(seatsOnPage(page, r), seatsExpected(printed));
    // The desk is always printed.
    const QRect desk = r->Label4->geometry();
    QVERIFY(count(page, desk.adjusted(3, 3, -3, -3), isDark) > 20);
    QCOMPARE(count(page, QRect(desk.left() + 2, desk.top() + 3, 4, desk.height() - 6), isBoxGrey), 4 * (desk.height() - 6));
    // White where the toolbar stands on screen, and nothing of the window beyond its client area.
    QVERIFY(blank(page, r->Toolbar1->geometry().adjusted(0, 0, 0, 10)));
    const QSize client = r->client()->size();
    QVERIFY(blank(page, QRect(client.width() + 2, 0, 40, client.height())));
    QVERIFY(blank(page, QRect(0, client.height() + 2, client.width(), 40)));
    // The status bar, end to end, with its lettering.
    const QRect bar = r->StatusBar1->geometry();
    QCOMPARE(!blank(page, bar), statusBar);
    QCOMPARE(count(page, bar, isDark) > 100, statusBar);
    QCOMPARE(blank(page, QRect(bar.right() - 3, bar.top() + 2, 4, bar.height() - 4)), !statusBar);
    // Back in the screen look, status bar and toolbar included.
    QVERIFY(r->StatusBar1->isVisible() && r->Toolbar1->isVisible());
    QCOMPARE(screenLook(r), before);
}

void TestPrinting::failedOrCancelledPrintKeepsScreenLook_data()
{
    QTest::addColumn<QString>("output");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<int>("copies");
    QTest::newRow("dialog cancelled") << "chart.pdf" << false << 3;
    QTest::newRow("no such folder") << "no such folder/chart.pdf" << true << 2;
    // Opens, but every write fails as on a full disk: noticed at the next page, or only in the file.
    QTest::newRow("disk full, two copies") << "/dev/full" << true << 2;
    QTest::newRow("disk full, one copy") << "/dev/full" << true << 1;
}

void TestPrinting::failedOrCancelledPrintKeepsScreenLook()
{
    QFETCH(QString, output);
    QFETCH(bool, accept);
    QFETCH(int, copies);
    if (output.startsWith(QLatin1Char('/')) && !QFile::exists(output))
        QSKIP("no device that is always full");
    TestEnv env;
    RESULT *r = chartShown(rowSettings(AllOff, "0"));
    const QImage before = screenLook(r);
    const QString pdf = QDir(env.work()).absoluteFilePath(output);
    env.platform.prints.enqueue({accept, copies, pdf});
    QImage whileReported;
    env.platform.onMessage = [&](const PlatformCall &) { whileReported = screenLook(r); };
    TRIGGER(r, "mnuPrint");
    if (accept) {
        QCOMPARE(env.platform.messageLog(),
                 QStringList{QStringLiteral("印刷エラー|ﾌｧｲﾙ「%1」に印刷できませんでした。\r出力先のﾌｫﾙﾀﾞｰがあるか、書き込みできるか、ﾃﾞｨｽｸに空きがあるかを確かめて下さい。|16")
                                 .arg(pdf)});
        QCOMPARE(env.platform.callsOf(QStringLiteral("message")).constFirst().owner.data(), r);
        QCOMPARE(whileReported, before); // the message is shown over the screen look
    } else {
        QCOMPARE(env.platform.messageLog(), QStringList());
        QVERIFY(!QFile::exists(pdf));
    }
    QCOMPARE(screenLook(r), before);
    QVERIFY(r->StatusBar1->isVisible() && r->Toolbar1->isVisible());
    // The next print goes through.
    const qsizetype messages = env.platform.messageLog().size();
    QCOMPARE(printToPdf(env, r).size(), 1);
    QCOMPARE(env.platform.messageLog().size(), messages);
}

void TestPrinting::printerMakesNoCopiesOfItsOwn()
{
    // A PDF file never multiplies pages, a print queue does: the command prints the copies
    // as pages and leaves the printer one copy to make.
    for (int chosen : {1, 2, 5}) {
        QPrinter printer;
        printer.setCopyCount(chosen);
        QCOMPARE(takeCopies(printer), chosen);
        QCOMPARE(printer.copyCount(), 1);
    }
}

void TestPrinting::dialogChoiceSteersTheNextPrint_data()
{
    QTest::addColumn<QStringList>("stored"); // OptLine_2..7; "<none>": not in the store
    QTest::addColumn<QList<int>>("clicked"); // check boxes clicked
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("written"); // the OptLine values after, row 2 first; empty: store unchanged
    QTest::addColumn<Rows>("printed");
    // Only an exact "1" is a tick; keys missing from the store, or held in another form, are all written again.
    QTest::newRow("OK without changes") << QStringList{"1", "<none>", "1 ", "01", "1", "true"} << QList<int>{} << true
                                        << "100010" << Rows{1, 3, 4, 5, 7};
    QTest::newRow("OK after ticking") << QStringList{"0", "0", "0", "0", "0", "0"} << QList<int>{0, 5} << true
                                      << "100001" << Rows{1, 3, 4, 5, 6};
    QTest::newRow("cancel after ticking") << QStringList{"0", "1", "0", "0", "0", "0"} << QList<int>{0, 1, 2, 3, 4, 5}
                                          << false << "" << Rows{1, 2, 4, 5, 6, 7};
}

void TestPrinting::dialogChoiceSteersTheNextPrint()
{
    QFETCH(QStringList, stored);
    QFETCH(QList<int>, clicked);
    QFETCH(bool, ok);
    QFETCH(QString, written);
    QFETCH(Rows, printed);
    TestEnv env;
    RESULT *r = chartShown(rowSettings(stored, "1"));
    const QByteArray before = settingsBytes(env);
    NOPLINE *d = openRowsDialog(r);
    for (int i : clicked)
        QTest::mouseClick(d->Check1[size_t(i)], Qt::LeftButton, {}, QPoint(8, d->Check1[size_t(i)]->height() / 2));
    QTest::mouseClick(d->Command1[ok ? 0 : 1], Qt::LeftButton);
    QVERIFY(!isLoaded<NOPLINE>());
    QCOMPARE(env.platform.messageLog(), QStringList());
    if (ok) {
        QByteArrayList lines;
        for (const QByteArray &line : settingsBytes(env).split('\n'))
            if (line.startsWith("OptLine_"))
                lines.append(line.trimmed());
        QByteArrayList expected;
        for (int row = 2; row <= 7; ++row)
            expected.append("OptLine_" + QByteArray::number(row) + '=' + written.at(row - 2).toLatin1());
        QCOMPARE(lines, expected);
    } else {
        QCOMPARE(settingsBytes(env), before);
        // Opened again, it shows the stored rows, not the cancelled ticks.
        d = openRowsDialog(r);
        QVERIFY(d->Check1[1]->isChecked() && !d->Check1[0]->isChecked());
    }
    const QList<QImage> pages = printToPdf(env, r);
    QCOMPARE(pages.size(), 1);
    QCOMPARE(seatsOnPage(pages[0], r), seatsExpected(printed));
}

void TestPrinting::helpAndRefusedStores()
{
    TestEnv env;
    RESULT *r = chartShown();
    NOPLINE *d = openRowsDialog(r);
    d->Command1[2]->click();
    const QList<PlatformCall> help = env.platform.callsOf(QStringLiteral("help"));
    QCOMPARE(help.size(), 1);
    QCOMPARE((QList<int>{help[0].style, help[0].data}), (QList<int>{HELP_CONTEXT, 25}));
    QVERIFY(isLoaded<NOPLINE>() && d->isVisible());

    // A folder where the store's file belongs: the user is told and nothing changes, here
    // or in the status bar option.
    d->Check1[3]->setChecked(true);
    QFile::remove(env.settingsFile());
    QVERIFY(QDir().mkpath(env.settingsFile()));
    const QString refused = QStringLiteral("設定の保存エラー|設定を保存できませんでした。\r保存先: %1\r設定は変更されていません。|16")
                                .arg(env.settingsFile());
    d->Command1[0]->click();
    TRIGGER(r, "mnuPrintStatusBar");
    QCOMPARE(env.platform.messageLog(), (QStringList{refused, refused}));
    QVERIFY(isLoaded<NOPLINE>() && d->isVisible());
    QCOMPARE(state().OptLine_5, QStringLiteral("0"));
    QVERIFY(r->mnuPrintStatusBar->isChecked());
    QCOMPARE(state().OptPsbar, QStringLiteral("1"));
}

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
