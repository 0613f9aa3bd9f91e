// Printing the chart (pages read back from the PDF) and the non-printed-rows dialog.
#include "app/product.h"
#include "app/settings.h"
#include "app/startup.h"
#include "app/ui.h"
#include "platform/qtplatform.h"
#include "seating/noprintlinedialog.h"
#include "seating/printing.h"
#include "seating/resultwindow.h"
#include "seatingfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QSpinBox>
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

// The settings file's "OptLine_" lines.
QStringList storedRows(const TestEnv &env)
{
    QStringList out;
    for (const QByteArray &line : settingsBytes(env).split('\n'))
        if (line.startsWith("OptLine_"))
            out.append(QString::fromUtf8(line.trimmed()));
    return out;
}

// Runs poppler's pdftoppm; true when it made its images.
bool pdftoppm(const QStringList &arguments)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (tool.isEmpty())
        qFatal("pdftoppm is missing: scripts/bootstrap installs poppler-utils");
    QProcess p;
    p.start(tool, arguments);
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// The pages of a PDF as images at 96 dots to the inch.
QList<QImage> pdfPages(const QString &pdf)
{
    const QFileInfo prefix(pdf + QStringLiteral(".page"));
    if (!pdftoppm({"-r", "96", "-png", pdf, prefix.filePath()}))
        return {};
    QList<QImage> pages;
    const QDir folder = prefix.absoluteDir();
    for (const QString &f : folder.entryList({prefix.fileName() + QStringLiteral("-*.png")}, QDir::Files, QDir::Name))
        pages.append(QImage(folder.filePath(f)).convertToFormat(QImage::Format_RGB32));
    return pages;
}

// One region of a PDF's first page at `dpi` dots to the inch; `region` in those dots.
QImage pdfRegion(const QString &pdf, int dpi, const QRect &region)
{
    const QString prefix = pdf + QStringLiteral(".region");
    const auto n = [](int v) { return QString::number(v); };
    if (!pdftoppm({"-r", n(dpi), "-f", "1", "-l", "1", "-x", n(region.x()), "-y", n(region.y()), "-W", n(region.width()),
                   "-H", n(region.height()), "-png", "-singlefile", pdf, prefix}))
        return {};
    return QImage(prefix + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

// Where the chart's client area starts on a rendered page: the top-left of the printable area.
QPoint pageOrigin()
{
    static const QPoint origin = [] {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        return printer.pageLayout().paintRectPixels(96).topLeft();
    }();
    return origin;
}

const auto isWhite = [](QRgb c) { return qRed(c) > 245 && qGreen(c) > 245 && qBlue(c) > 245; };
const auto isDark = [](QRgb c) { return qRed(c) < 90 && qGreen(c) < 90 && qBlue(c) < 90; };
// A one-pixel line drawn at a fraction of a pixel shares its ink with its neighbour.
const auto isLine = [](QRgb c) { return qGray(c) < 170; };
const auto isBoxGrey = [](QRgb c) { return qAbs(qRed(c) - 192) < 8 && qAbs(qGreen(c) - 192) < 8 && qAbs(qBlue(c) - 192) < 8; };

// Counts the pixels of a client-area rectangle (in pixels) on the page that pass a test.
int count(const QImage &page, const QRect &clientRect, bool (*test)(QRgb))
{
    int n = 0;
    const QRect r = clientRect.translated(pageOrigin());
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
    void framesKeepOneWidthOnPaper();
    void failedOrCancelledPrintKeepsScreenLook_data();
    void failedOrCancelledPrintKeepsScreenLook();
    void productionDialogPrintsToPdf();
    void printerMakesNoCopiesOfItsOwn();
    void pageHoldsTheWholeChart_data();
    void pageHoldsTheWholeChart();
    void dialogTextsAndSingleInstance();
    void loadTicksExactOnes_data();
    void loadTicksExactOnes();
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
    QTest::addColumn<bool>("statusBar");
    QTest::addColumn<bool>("byToolbar");
    QTest::newRow("all six off, status bar") << AllOff << "1" << 1 << Rows{1} << true << false;
    QTest::newRow("all six off, no status bar") << AllOff << "0" << 2 << Rows{1} << false << false;
    QTest::newRow("row 2 off, three copies") << QStringList{"1", "0", "0", "0", "0", "0"} << "1" << 3
                                             << Rows{1, 3, 4, 5, 6, 7} << true << false;
    // Only the exact "1" leaves a row off; an unset status bar option prints it.
    QTest::newRow("near ones print") << QStringList{"0", " 1", "1", "yes", "", "1"} << "" << 1 << Rows{1, 2, 3, 5, 6}
                                     << true << false;
    QTest::newRow("everything, toolbar") << QStringList{"0", "0", "0", "0", "0", "0"} << "0" << 2
                                         << Rows{1, 2, 3, 4, 5, 6, 7} << false << true;
}

void TestPrinting::printedPages()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, psbar);
    QFETCH(int, copies);
    QFETCH(Rows, printed);
    QFETCH(bool, statusBar);
    QFETCH(bool, byToolbar);
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
    // White where the toolbar stands on screen, white ground between the seats, and
    // nothing of the window beyond its client area.
    QVERIFY(blank(page, r->Toolbar1->geometry().adjusted(0, 0, 0, 10)));
    const int gapLeft = r->Label3[1]->geometry().right() + 4;
    QVERIFY(blank(page, QRect(gapLeft, r->Label3[4]->y(), r->Label3[0]->x() - 4 - gapLeft, 60)));
    const QSize client = r->client()->size();
    QVERIFY(blank(page, QRect(client.width() + 2, 0, 40, client.height())));
    QVERIFY(blank(page, QRect(0, client.height() + 2, client.width(), 40)));
    // The status bar, end to end, with its lettering.
    const QRect bar = r->StatusBar1->geometry();
    QCOMPARE(!blank(page, bar), statusBar);
    if (statusBar) {
        QVERIFY(count(page, bar, isDark) > 100);
        QVERIFY(!blank(page, QRect(bar.left(), bar.top() + 2, 4, bar.height() - 4)));
        QVERIFY(!blank(page, QRect(bar.right() - 3, bar.top() + 2, 4, bar.height() - 4)));
    }
    // Back in the screen look, status bar and toolbar included.
    QVERIFY(r->StatusBar1->isVisible() && r->Toolbar1->isVisible());
    QCOMPARE(screenLook(r), before);
}

void TestPrinting::framesKeepOneWidthOnPaper()
{
    TestEnv env;
    RESULT *r = chartShown();
    const QString pdf = env.path(QStringLiteral("chart.pdf"));
    env.platform.prints.enqueue({true, 1, pdf});
    TRIGGER(r, "mnuPrint");
    // Six dots to a window pixel: each side of a box or the desk is one pixel wide, six dots.
    constexpr int scale = 6;
    for (QLabel *label : {r->Label3[0], r->Label3[27], r->Label4}) {
        const QRect box(label->geometry().topLeft() * scale + pageOrigin() * scale, label->size() * scale);
        const QImage image = pdfRegion(pdf, 96 * scale, box.adjusted(-12, -12, 12, 12));
        QCOMPARE(image.size(), box.size() + QSize(24, 24));
        const auto dots = [&](QPoint from, QPoint step) {
            int n = 0;
            for (int i = 0; i < 3 * scale; ++i, from += step)
                n += qGray(image.pixel(from)) < 100 ? 1 : 0;
            return n;
        };
        const int midX = image.width() / 2 + 2, midY = image.height() / 2;
        const QList<int> sides{dots({midX, 12 - scale}, {0, 1}), dots({midX, image.height() - 13 + scale}, {0, -1}),
                               dots({12 - scale, midY}, {1, 0}), dots({image.width() - 13 + scale, midY}, {-1, 0})};
        for (int side : sides)
            QVERIFY2(qAbs(side - scale) <= 1, qPrintable(label->objectName() + QStringLiteral(": %1, %2, %3, %4")
                                                                                  .arg(sides[0]).arg(sides[1]).arg(sides[2]).arg(sides[3])));
    }
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

void TestPrinting::productionDialogPrintsToPdf()
{
    TestEnv env;
    QtPlatform qt;
    setPlatform(&qt);
    auto back = qScopeGuard([&] { setPlatform(&env.platform); });
    RESULT *r = chartShown(rowSettings({"1", "0", "0", "0", "0", "1"}, "1"));
    const QString pdf = env.path(QStringLiteral("印刷.pdf"));
    bool driven = false;
    whenModal([&] {
        auto *dialog = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        auto closeOnFailure = qScopeGuard([dialog] { dialog->reject(); });
        QCOMPARE(dialog->windowTitle(), QStringLiteral("印刷"));
        // With or without printers set up, the last choice writes a PDF file.
        auto *printers = dialog->findChild<QComboBox *>(QStringLiteral("printers"));
        QVERIFY(printers && printers->count() >= 1);
        printers->setCurrentIndex(printers->count() - 1);
        auto *file = dialog->findChild<QLineEdit *>(QStringLiteral("filename"));
        QVERIFY(file && file->isEnabled());
        file->setText(pdf);
        auto *copies = dialog->findChild<QSpinBox *>(QStringLiteral("copies"));
        QVERIFY(copies && copies->isEnabled());
        copies->setValue(2);
        closeOnFailure.dismiss();
        dialog->accept();
        driven = true;
    });
    TRIGGER(r, "mnuPrint");
    QVERIFY(driven);
    const QList<QImage> pages = pdfPages(pdf);
    QCOMPARE(pages.size(), 2);
    QCOMPARE(seatsOnPage(pages.constFirst(), r), seatsExpected({1, 3, 4, 5, 6}));
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

void TestPrinting::pageHoldsTheWholeChart_data()
{
    QTest::addColumn<int>("dpi");
    QTest::addColumn<QSize>("page");
    QTest::addColumn<QRect>("drawn");
    QTest::newRow("screen's resolution") << 96 << QSize(800, 600) << QRect(0, 0, 635, 437);
    QTest::newRow("twice as fine") << 192 << QSize(1400, 1000) << QRect(0, 0, 1270, 874);
    // A page too small for the chart gets all of it, shrunk, rather than a part.
    QTest::newRow("narrow page") << 96 << QSize(318, 600) << QRect(0, 0, 318, 219);
}

void TestPrinting::pageHoldsTheWholeChart()
{
    QFETCH(int, dpi);
    QFETCH(QSize, page);
    QFETCH(QRect, drawn);
    TestEnv env;
    RESULT *r = chartShown();
    QCOMPARE(r->client()->logicalDpiX(), 96);
    QImage device(page, QImage::Format_RGB32);
    device.setDotsPerMeterX(qRound(dpi / 0.0254));
    device.setDotsPerMeterY(qRound(dpi / 0.0254));
    device.fill(Qt::white);
    QPainter painter(&device);
    // The screen look: the grey ground covers the whole client area.
    paintClientArea(painter, clientAreaImage(r->client(), 3), r->client());
    painter.end();
    QRect inked;
    for (int y = 0; y < device.height(); ++y)
        for (int x = 0; x < device.width(); ++x)
            if (!isWhite(device.pixel(x, y)))
                inked |= QRect(x, y, 1, 1);
    QCOMPARE(inked, drawn);
}

void TestPrinting::dialogTextsAndSingleInstance()
{
    TestEnv env;
    RESULT *r = chartShown();
    NOPLINE *d = openRowsDialog(r);
    QVERIFY(d && d->isVisible());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QStringList texts{d->windowTitle(), d->Label1->text()};
    for (QCheckBox *box : d->Check1)
        texts.append(box->text());
    QCOMPARE(texts, (QStringList{"非印刷行の設定", "非印刷行にチェックして、OKボタンを押して下さい。", "No. 8  ～ No. 5",
                                 "No.12 ～ No. 9", "No.16 ～ No.13", "No.20 ～ No.17", "No.24 ～ No.21", "No.28 ～ No.25"}));
    // The result window stays usable; chosen again, the same dialog comes to the front with its ticks kept.
    r->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(r));
    d->Check1[2]->setChecked(true);
    QCOMPARE(openRowsDialog(r), d);
    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(d));
    QVERIFY(d->Check1[2]->isChecked());
}

void TestPrinting::loadTicksExactOnes_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QList<bool>>("ticked");
    QTest::newRow("defaults") << QStringList{"0", "0", "0", "0", "0", "0"} << QList<bool>(6, false);
    QTest::newRow("all") << AllOff << QList<bool>(6, true);
    QTest::newRow("near ones") << QStringList{"1 ", "1", "true", "01", "1", "-1"}
                               << QList<bool>{false, true, false, false, true, false};
}

void TestPrinting::loadTicksExactOnes()
{
    QFETCH(QStringList, stored);
    QFETCH(QList<bool>, ticked);
    TestEnv env;
    NOPLINE *d = openRowsDialog(chartShown(rowSettings(stored, "1")));
    QList<bool> seen;
    for (QCheckBox *box : d->Check1)
        seen.append(box->isChecked());
    QCOMPARE(seen, ticked);
}

void TestPrinting::dialogChoiceSteersTheNextPrint_data()
{
    QTest::addColumn<QStringList>("stored"); // OptLine_2..7; "<none>": not in the store
    QTest::addColumn<QList<int>>("clicked"); // check boxes clicked
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("written"); // the OptLine values after, row 2 first; empty: store unchanged
    QTest::addColumn<Rows>("printed");
    // Keys missing from the store, or held in another form, are all written again.
    QTest::newRow("OK without changes") << QStringList{"1", "<none>", "yes", "0", "1", "<none>"} << QList<int>{} << true
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
        QStringList lines;
        for (int row = 2; row <= 7; ++row)
            lines.append(QStringLiteral("OptLine_%1=%2").arg(row).arg(written.at(row - 2)));
        QCOMPARE(storedRows(env), lines);
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
    QCOMPARE(helpCalls(env), (QList<int>{HELP_CONTEXT, 25}));
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
