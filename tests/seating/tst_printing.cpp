// Printing the chart (pages read back from the PDF) and the non-printed-rows dialog.
#include "core/product.h"
#include "core/settings.h"
#include "core/startup.h"
#include "seating/noprintlinedialog.h"
#include "seating/printing.h"
#include "seating/resultwindow.h"
#include "seatingfixture.h"
#include "widgets/ui.h"

#include <QCheckBox>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QtTest>

namespace
{

const QStringList AllOff{"1", "1", "1", "1", "1", "1"};

// Start-up's settings over a store that holds OptLine_2..7 (`lines`, "<none>": not there) and
// OptPsbar, then a result window with a chart.
ResultWindow *chartShown(const QStringList &lines, const QString &psbar)
{
    const QString title = QString::fromLatin1(ProgramTitle);
    saveSettingValue(title, QStringLiteral("Config"), QStringLiteral("OptPsbar"), psbar);
    for (int row = 2; row <= 7; ++row) {
        if (lines.at(row - 2) != QLatin1String("<none>"))
            saveSettingValue(title, QStringLiteral("Config"), QStringLiteral("OptLine_%1").arg(row), lines.at(row - 2));
    }
    loadStartupSettings(QDir::currentPath());
    ResultWindow *r = form<ResultWindow>();
    QStringList seats = pupils(28);
    seats[16] = QStringLiteral(" ");
    r->setSeatTexts(seats);
    r->show();
    return r;
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

const auto isWhite = [](QRgb c) { return qRed(c) > 245 && qGreen(c) > 245 && qBlue(c) > 245; };
const auto isDark = [](QRgb c) { return qRed(c) < 90 && qGreen(c) < 90 && qBlue(c) < 90; };
const auto isLine = [](QRgb c) { return qGray(c) < 170; }; // a line drawn between two pixels inks both
const auto isBoxGrey = [](QRgb c) {
    return qAbs(qRed(c) - 192) < 8 && qAbs(qGreen(c) - 192) < 8 && qAbs(qBlue(c) - 192) < 8;
};

// Counts the pixels of a client-area rectangle (in pixels) on the page that pass a test.
int count(const QImage &page, const QRect &clientRect, bool (*test)(QRgb))
{
    // The chart's client area starts at the top-left of the printable area.
    static const QPoint origin = [] {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        return printer.pageLayout().paintRectPixels(96).topLeft();
    }();
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
QString seatOnPage(const QImage &page, const ResultWindow *r, int i)
{
    const QRect box = r->seatBoxes[size_t(i)]->geometry();
    const QRect caption = r->seatCaptions[size_t(i)]->geometry();
    if (blank(page, box.adjusted(-1, -1, 1, 1)) && blank(page, caption))
        return QStringLiteral("none");
    const QRect inside(box.left() + 3, box.top() + 4, 6, box.height() - 8);
    const int midY = box.center().y();
    const bool boxShown = count(page, inside, isBoxGrey) == inside.width() * inside.height() &&
                          count(page, QRect(box.left() - 1, midY, 3, 1), isLine) >= 1 &&
                          count(page, QRect(box.right() - 1, midY, 3, 1), isLine) >= 1 &&
                          blank(page, QRect(box.left() - 3, midY, 1, 1)) &&
                          blank(page, QRect(box.right() + 3, midY, 1, 1));
    // Black lettering on white; on screen it is white on grey.
    const bool captionShown = count(page, caption, isDark) > 20 && count(page, caption, isWhite) > caption.width() * 4;
    return boxShown && captionShown ? QStringLiteral("printed") : QStringLiteral("damaged");
}

// The client area as the screen shows it, drawn afresh.
QImage screenLook(ResultWindow *r)
{
    return r->client()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestPrinting : public QObject
{
    Q_OBJECT

private slots:
    void printedPages_data();
    void printedPages();
    void failedPrintKeepsScreenLook();
    void printerMakesNoCopiesOfItsOwn();
    void chartShrinksOnlyOntoASmallPage_data();
    void chartShrinksOnlyOntoASmallPage();
    void rowsDialog_data();
    void rowsDialog();
};

void TestPrinting::printerMakesNoCopiesOfItsOwn()
{
    // The program prints each copy itself; a printer told to copy too would multiply them.
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setCopyCount(3);
    QCOMPARE(takeCopies(printer), 3);
    QCOMPARE(printer.copyCount(), 1);
}

void TestPrinting::chartShrinksOnlyOntoASmallPage_data()
{
    QTest::addColumn<QSize>("page"); // in pixels at the screen's resolution
    QTest::addColumn<QPoint>("lastCovered");
    QTest::newRow("large page: actual size") << QSize(1000, 1000) << QPoint(634, 436);
    QTest::newRow("narrow page: shrunk to its width") << QSize(300, 600) << QPoint(299, 205);
}

void TestPrinting::chartShrinksOnlyOntoASmallPage()
{
    QFETCH(QSize, page);
    QFETCH(QPoint, lastCovered);
    QWidget client;
    client.resize(635, 437);
    QImage chart(client.size(), QImage::Format_RGB32);
    chart.fill(Qt::red);
    QImage paper(page, QImage::Format_RGB32);
    paper.setDotsPerMeterX(qRound(client.logicalDpiX() / 0.0254));
    paper.setDotsPerMeterY(qRound(client.logicalDpiY() / 0.0254));
    paper.fill(Qt::white);
    QPainter painter(&paper);
    paintClientArea(painter, chart, &client);
    painter.end();
    QCOMPARE(paper.pixelColor(lastCovered), QColor(Qt::red));
    QCOMPARE(paper.pixelColor(lastCovered + QPoint(0, 2)), QColor(Qt::white));
    if (lastCovered.x() + 2 < page.width())
        QCOMPARE(paper.pixelColor(lastCovered + QPoint(2, 0)), QColor(Qt::white));
}

void TestPrinting::printedPages_data()
{
    QTest::addColumn<QString>("psbar");
    QTest::addColumn<int>("copies");
    QTest::newRow("all six rows off, status bar") << "1" << 1;
    QTest::newRow("all six rows off, no status bar, two copies") << "0" << 2;
}

void TestPrinting::printedPages()
{
    QFETCH(QString, psbar);
    QFETCH(int, copies);
    const bool statusBar = psbar != QLatin1String("0");
    TestEnv env;
    ResultWindow *r = chartShown(AllOff, psbar);
    const QImage before = screenLook(r);
    const QString pdf = env.path(QStringLiteral("chart.pdf"));
    env.platform.prints.enqueue({true, copies, pdf});
    TRIGGER(r, "mnuPrint");
    const QList<QImage> pages = pdfPages(pdf);
    QCOMPARE(env.platform.messageLog(), QStringList());
    QCOMPARE(pages.size(), copies);
    for (const QImage &page : pages)
        QCOMPARE(page, pages.constFirst());
    const QImage &page = pages.constFirst();
    QStringList seats, row1Only;
    for (int i = 0; i < SeatCount; ++i) {
        seats.append(seatOnPage(page, r, i));
        row1Only.append(i < 4 ? QStringLiteral("printed") : QStringLiteral("none"));
    }
    QCOMPARE(seats, row1Only);
    // The desk is always printed.
    const QRect desk = r->desk->geometry();
    QVERIFY(count(page, desk.adjusted(3, 3, -3, -3), isDark) > 20);
    QCOMPARE(count(page, QRect(desk.left() + 2, desk.top() + 3, 4, desk.height() - 6), isBoxGrey),
             4 * (desk.height() - 6));
    QVERIFY(blank(page, r->toolbar->geometry().adjusted(0, 0, 0, 10)));
    // The status bar, end to end, with its lettering.
    const QRect bar = r->statusPanels->geometry();
    QCOMPARE(!blank(page, bar), statusBar);
    QCOMPARE(count(page, bar, isDark) > 100, statusBar);
    QCOMPARE(blank(page, QRect(bar.right() - 3, bar.top() + 2, 4, bar.height() - 4)), !statusBar);
    // Back in the screen look, status bar and toolbar included.
    QVERIFY(r->statusPanels->isVisible() && r->toolbar->isVisible());
    QCOMPARE(screenLook(r), before);
}

void TestPrinting::failedPrintKeepsScreenLook()
{
    TestEnv env;
    ResultWindow *r = chartShown(AllOff, "0");
    const QImage before = screenLook(r);
    const QString pdf = env.path(QStringLiteral("no such folder/chart.pdf"));
    env.platform.prints.enqueue({true, 2, pdf});
    TRIGGER(r, "mnuPrint");
    QCOMPARE(env.platform.messageLog(),
             QStringList{QStringLiteral("印刷エラー|ﾌｧｲﾙ「%"
                                        "1」に印刷できませんでした。\r出力先のﾌｫﾙﾀﾞｰがあるか、書き込みできるか、ﾃﾞｨｽｸに"
                                        "空きがあるかを確かめて下さい。|16")
                             .arg(pdf)});
    QCOMPARE(screenLook(r), before);
    QVERIFY(r->statusPanels->isVisible() && r->toolbar->isVisible());
}

void TestPrinting::rowsDialog_data()
{
    QTest::addColumn<QStringList>("stored"); // OptLine_2..7; "<none>": not in the store
    QTest::addColumn<bool>("ok");            // else every box is ticked and the dialog cancelled
    QTest::addColumn<QString>("written");    // the OptLine values after, row 2 first
    // Only an exact "1" is a tick; keys missing from the store, or held in another form, are all written again.
    QTest::newRow("OK without changes") << QStringList{"1", "<none>", "1 ", "01", "1", "true"} << true << "100010";
    QTest::newRow("cancel after ticking") << QStringList{"0", "1", "0", "0", "0", "0"} << false << "010000";
}

void TestPrinting::rowsDialog()
{
    QFETCH(QStringList, stored);
    QFETCH(bool, ok);
    QFETCH(QString, written);
    TestEnv env;
    ResultWindow *r = chartShown(stored, "1");
    const QByteArray before = settingsBytes(env);
    TRIGGER(r, "mnuNoPrintLine");
    NonPrintedRowsDialog *d = loadedForm<NonPrintedRowsDialog>();
    for (QCheckBox *box : d->rowChecks) {
        if (!ok && !box->isChecked())
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    }
    QTest::mouseClick(d->buttons[ok ? 0 : 1], Qt::LeftButton);
    QVERIFY(!isLoaded<NonPrintedRowsDialog>());
    QCOMPARE(env.platform.messageLog(), QStringList());
    if (!ok)
        QCOMPARE(settingsBytes(env), before);
    QByteArrayList lines, expected;
    for (const QByteArray &line : settingsBytes(env).split('\n'))
        if (line.startsWith("OptLine_"))
            lines.append(line.trimmed());
    for (int row = 2; row <= 7; ++row)
        expected.append("OptLine_" + QByteArray::number(row) + '=' + written.at(row - 2).toLatin1());
    QCOMPARE(lines, expected);
}

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
