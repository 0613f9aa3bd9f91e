// Printing the chart (pages read back from the PDF) and the non-printed-rows dialog.
#include "core/chartgrid.h"
#include "core/product.h"
#include "core/resultfile.h"
#include "mainwin/pastresults.h"
#include "print/chartprinter.h"
#include "printfixture.h"
#include "seating/chartscreen.h"
#include "seating/noprintlinedialog.h"
#include "seating/printing.h"
#include "widgets/seatbox.h"

#include <QCheckBox>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QtTest>

namespace
{

const QStringList AllOff{"1", "1", "1", "1", "1", "1"};

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

// The smallest rectangle holding every pixel of the page that is not white.
QRect inked(const QImage &page)
{
    QRect r;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (!isWhite(page.pixel(x, y)))
                r |= QRect(x, y, 1, 1);
    return r;
}

// Where pdftotext finds each word of a PDF's first page, in pixels at 96 dots to the inch.
QHash<QString, QRectF> pdfWordPlaces(const QString &pdf)
{
    QProcess p;
    p.start(popplerTool("pdftotext"), {"-bbox", "-f", "1", "-l", "1", pdf, "-"});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    static const QRegularExpression word(
        QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    QHash<QString, QRectF> places;
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const qreal toPixels = 96.0 / 72;
        places.insert(m.captured(5), QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()) * toPixels,
                                            QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()) * toPixels));
    }
    return places;
}

} // namespace

class TestPrinting : public QObject
{
    Q_OBJECT

private slots:
    void printedPages_data();
    void printedPages();
    void failedPrintKeepsScreenLook_data();
    void failedPrintKeepsScreenLook();
    void printerMakesNoCopiesOfItsOwn();
    void chartKeepsItsSizeOrFillsThePage_data();
    void chartKeepsItsSizeOrFillsThePage();
    void fitToPageIsRemembered_data();
    void fitToPageIsRemembered();
    void rowsDialog_data();
    void rowsDialog();
    void printedFromEitherSide_data();
    void printedFromEitherSide();
    void chartOfAnyRoom_data();
    void chartOfAnyRoom();
};

void TestPrinting::printerMakesNoCopiesOfItsOwn()
{
    // The program prints each copy itself; a printer told to copy too would multiply them.
    // (A PDF printer keeps no two-sided setting, so the duplex reset cannot be seen here.)
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setCopyCount(3);
    QCOMPARE(takeCopies(printer), 3);
    QCOMPARE(printer.copyCount(), 1);
}

void TestPrinting::chartKeepsItsSizeOrFillsThePage_data()
{
    QTest::addColumn<QSize>("page"); // in pixels at the screen's resolution
    QTest::addColumn<bool>("fit");
    QTest::addColumn<QRect>("covered");
    QTest::newRow("large page: actual size") << QSize(1000, 1000) << false << QRect(0, 0, 635, 437);
    QTest::newRow("narrow page: shrunk to its width") << QSize(300, 600) << false << QRect(0, 0, 300, 206);
    QTest::newRow("fitted: as wide as the page, centred") << QSize(1270, 1000) << true << QRect(0, 63, 1270, 874);
    QTest::newRow("fitted: as tall as the page, centred") << QSize(2000, 874) << true << QRect(365, 0, 1270, 874);
}

void TestPrinting::chartKeepsItsSizeOrFillsThePage()
{
    QFETCH(QSize, page);
    QFETCH(bool, fit);
    QFETCH(QRect, covered);
    QWidget client;
    client.resize(635, 437);
    setBackgroundColor(&client, Qt::red);
    QImage paper(page, QImage::Format_RGB32);
    paper.setDotsPerMeterX(qRound(client.logicalDpiX() / 0.0254));
    paper.setDotsPerMeterY(qRound(client.logicalDpiY() / 0.0254));
    paper.fill(Qt::white);
    QPainter painter(&paper);
    paintChart(painter, &client, fit);
    painter.end();
    QCOMPARE(paper.pixelColor(covered.topLeft()), QColor(Qt::red));
    QCOMPARE(paper.pixelColor(covered.bottomRight()), QColor(Qt::red));
    for (const QPoint outside : {covered.topLeft() - QPoint(2, 2), covered.bottomRight() + QPoint(2, 2)})
        if (paper.rect().contains(outside))
            QCOMPARE(paper.pixelColor(outside), QColor(Qt::white));
    QCOMPARE(inked(paper), covered);
}

void TestPrinting::printedPages_data()
{
    QTest::addColumn<QString>("psbar");
    QTest::addColumn<int>("copies");
    QTest::addColumn<bool>("fit");
    QTest::newRow("all six rows off, status bar") << "1" << 1 << false;
    QTest::newRow("all six rows off, no status bar, two copies") << "0" << 2 << false;
    QTest::newRow("all six rows off, status bar, fitted to the page") << "1" << 1 << true;
}

void TestPrinting::printedPages()
{
    SKIP_WITHOUT_POPPLER();
    QFETCH(QString, psbar);
    QFETCH(int, copies);
    QFETCH(bool, fit);
    const bool statusBar = psbar != QLatin1String("0");
    TestEnv env;
    ResultWindow *r = chartShown(AllOff, psbar);
    const QImage before = screenLook(r);
    const QString pdf = env.path(QStringLiteral("chart.pdf"));
    env.platform.prints.enqueue({true, copies, pdf, fit});
    TRIGGER(r, "mnuPrint");
    const QList<QImage> pages = pdfPages(pdf);
    QCOMPARE(env.platform.messageLog(), QStringList());
    QCOMPARE(pages.size(), copies);
    for (const QImage &page : pages)
        QCOMPARE(page, pages.constFirst());
    // Text, not a picture of it: every caption and name of the printed row, once on each page.
    QStringList words;
    for (int page = 0; page < copies; ++page)
        words += chartWords({1}, statusBar);
    std::sort(words.begin(), words.end());
    QCOMPARE(pdfWords(pdf), words);
    // Back in the screen look, status bar and toolbar included.
    QVERIFY(r->statusPanels->isVisible() && r->toolbar->isVisible());
    QCOMPARE(screenLook(r), before);
    const QImage &page = pages.constFirst();
    if (fit) {
        // Turned on its side, the status bar as wide as the printable area, the chart centred.
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageOrientation(QPageLayout::Landscape);
        const QRect area = printer.pageLayout().paintRectPixels(96);
        QVERIFY(page.width() > page.height());
        const int height = qRound(437.0 * area.width() / 635);
        const QRect chart = inked(page);
        QString where;
        QDebug(&where) << "chart" << chart << "on a printable area" << area;
        QVERIFY2(qAbs(chart.left() - area.left()) <= 1 && qAbs(chart.right() - area.right()) <= 1 &&
                     qAbs(chart.bottom() - (area.top() + (area.height() + height) / 2)) <= 2,
                 qPrintable(where));
        return;
    }
    QVERIFY(page.height() > page.width());
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
}

void TestPrinting::fitToPageIsRemembered_data()
{
    QTest::addColumn<QString>("stored"); // OptFitToPage before start-up; "<none>": not in the store
    QTest::addColumn<bool>("fromMenu");  // chosen in the option menu before printing (every platform has it)
    QTest::addColumn<bool>("accept");
    QTest::addColumn<bool>("chosen");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<bool>("offered");         // the option's state when the dialog opens
    QTest::addColumn<QString>("after");        // OptFitToPage in memory and in the store afterwards (a choice
                                               // that the stored value already means writes nothing)
    QTest::addColumn<QStringList>("messages"); // %1: the settings file
    QTest::newRow("first print, fitted") << "<none>" << false << true << true << true << false << "1" << QStringList();
    QTest::newRow("fitted before, actual size now")
        << "1" << false << true << false << true << true << "0" << QStringList();
    QTest::newRow("any other value is actual size")
        << "yes" << false << true << false << true << false << "yes" << QStringList();
    QTest::newRow("cancelled") << "1" << false << false << false << true << true << "1" << QStringList();
    QTest::newRow("chosen in the menu") << "0" << true << true << true << true << true << "1" << QStringList();
    QTest::newRow("settings not writable: printed as chosen, not remembered")
        << "0" << false << true << true << false << false << "0" << QStringList{SettingsNotSaved};
}

void TestPrinting::fitToPageIsRemembered()
{
    SKIP_WITHOUT_POPPLER();
    QFETCH(QString, stored);
    QFETCH(bool, fromMenu);
    QFETCH(bool, accept);
    QFETCH(bool, chosen);
    QFETCH(bool, writable);
    QFETCH(bool, offered);
    QFETCH(QString, after);
    QFETCH(QStringList, messages);
    TestEnv env;
    if (stored != QLatin1String("<none>"))
        storeBefore(QStringLiteral("OptFitToPage"), stored);
    ResultWindow *r = chartShown(AllOff, "1");
    QCOMPARE(findAction(r, QStringLiteral("mnuFitToPage"))->isChecked(), stored == QLatin1String("1"));
    if (fromMenu)
        TRIGGER(r, "mnuFitToPage");
    if (!writable)
        QVERIFY(lockSettings(env));
    const QString pdf = env.path(QStringLiteral("chart.pdf"));
    env.platform.prints.enqueue({accept, 1, pdf, chosen});
    TRIGGER(r, "mnuPrint");
    QCOMPARE(findAction(r, QStringLiteral("mnuFitToPage"))->isChecked(), after == QLatin1String("1"));
    QCOMPARE(env.platform.messageLog(),
             messages.replaceInStrings(QStringLiteral("%1"), QDir::toNativeSeparators(env.settingsFile())));
    const QList<PlatformCall> dialogs = env.platform.callsOf(QStringLiteral("print"));
    QCOMPARE(dialogs.size(), 1);
    QCOMPARE(dialogs.constFirst().data, int(offered));
    // Offered for a PDF file: dated by the clock, beside the saved results.
    QCOMPARE(dialogs.constFirst().fileName, env.path(QStringLiteral("ならびん結果-20261205.pdf")));
    QCOMPARE(state().OptFitToPage, after == QLatin1String("1"));
    if (writable)
        QCOMPARE(storedLines(env, QStringLiteral("OptFitToPage")), QStringList{"OptFitToPage=" + after});
    const QList<QImage> pages = pdfPages(pdf);
    QCOMPARE(pages.size(), int(accept));
    if (accept)
        QCOMPARE(pages.constFirst().width() > pages.constFirst().height(), chosen);
}

void TestPrinting::failedPrintKeepsScreenLook_data()
{
    QTest::addColumn<QString>("library"); // the printing library's file; empty: this build's
    QTest::addColumn<QString>("message"); // %1: the PDF file, %2: the library's file
    QTest::newRow("PDF file not written")
        << QString()
        << QStringLiteral("ﾌｧｲﾙ「%1」に印刷できませんでした。\r出力先のﾌｫﾙﾀﾞｰがあるか、書き込みできるか、"
                          "ﾃﾞｨｽｸに空きがあるかを確かめて下さい。");
    QTest::newRow("printing library missing")
        << QStringLiteral("lib/narabin_print.so")
        << QStringLiteral("印刷に使うﾌｧｲﾙが見つかりません。\r%2\rﾌﾟﾛｸﾞﾗﾑを入れ直して下さい。");
}

void TestPrinting::failedPrintKeepsScreenLook()
{
    QFETCH(QString, library);
    QFETCH(QString, message);
    TestEnv env;
    if (!library.isEmpty())
        env.services.printLibrary = library = env.path(library);
    ResultWindow *r = chartShown(AllOff, "0");
    const QImage before = screenLook(r);
    const QString pdf = env.path(QStringLiteral("no such folder/chart.pdf"));
    env.platform.prints.enqueue({true, 2, pdf});
    TRIGGER(r, "mnuPrint");
    QCOMPARE(env.platform.messageLog(),
             QStringList{QStringLiteral("印刷エラー|") +
                         message.replace(QStringLiteral("%1"), QDir::toNativeSeparators(pdf))
                             .replace(QStringLiteral("%2"), QDir::toNativeSeparators(library)) +
                         QStringLiteral("|16")});
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

void TestPrinting::printedFromEitherSide_data()
{
    QTest::addColumn<bool>("onScreen"); // the window's option
    QTest::addColumn<bool>("chosen");   // in the print dialog
    QTest::addColumn<QStringList>("lines");
    const QStringList allOn{"0", "0", "0", "0", "0", "0"};
    QTest::newRow("pupils' side, as on screen") << false << false << allOn;
    QTest::newRow("from the desk, chosen for the paper") << false << true << allOn;
    QTest::newRow("from the desk as on screen, rows 6 and 7 left off")
        << true << true << QStringList{"0", "0", "0", "0", "1", "1"};
    QTest::newRow("pupils' side over the screen's, row 2 left off")
        << true << false << QStringList{"1", "0", "0", "0", "0", "0"};
}

// Every name printed inside its seat's box as the chosen side places it, the rows left off missing.
void TestPrinting::printedFromEitherSide()
{
    QFETCH(bool, onScreen);
    QFETCH(bool, chosen);
    QFETCH(QStringList, lines);
    SKIP_WITHOUT_POPPLER();
    TestEnv env;
    storeBefore(QStringLiteral("OptTeacherView"), onScreen ? QStringLiteral("1") : QStringLiteral("0"));
    ResultWindow *r = chartShown(lines, "0");
    // A name too long for its box is printed as the window shows it: its beginning and "…".
    QStringList seats = r->seatTexts();
    seats[16] = QStringLiteral("寿限無寿限無五劫の擦り切れ海砂利水魚");
    r->setSeatTexts(seats);
    const QString cut = static_cast<NameLabel *>(r->seatBoxes[16])->shownText();
    QVERIFY(cut.endsWith(u'…') && seats[16].startsWith(cut.chopped(1)));
    const QImage before = screenLook(r);
    const QString pdf = env.path(QStringLiteral("chart.pdf"));
    env.platform.prints.enqueue({true, 1, pdf, false, {}, chosen});
    TRIGGER(r, "mnuPrint");
    QCOMPARE(env.platform.messageLog(), QStringList());
    QCOMPARE(env.platform.callsOf(QStringLiteral("print")).constFirst().teacherView, onScreen);
    const QHash<QString, QRectF> words = pdfWordPlaces(pdf);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QPointF origin = printer.pageLayout().paintRectPixels(96).topLeft();
    const auto inside = [&](const QString &word, const QRect &twips) {
        const QRect box = twRect(twips.left(), twips.top(), twips.width(), twips.height());
        return words.contains(word) && box.contains((words.value(word).center() - origin).toPoint());
    };
    QStringList wrong;
    for (int seat = 1; seat <= SeatCount; ++seat) {
        const int row = (seat + 3) / 4;
        const bool printed = row == 1 || lines.at(row - 2) != QLatin1String("1");
        const QString name = seat == 17 ? cut : QStringLiteral("生徒%1").arg(seat);
        if (printed ? !inside(name, seatBoxTwips(seat, chosen)) : words.contains(name))
            wrong.append(name);
        const QString caption = QStringLiteral("No.%1").arg(seat);
        if (printed ? !inside(caption, seatCaptionTwips(seat, chosen)) : words.contains(caption))
            wrong.append(caption);
    }
    QCOMPARE(wrong, QStringList());
    QVERIFY(inside(QStringLiteral("教"), deskTwips(chosen)) && inside(QStringLiteral("卓"), deskTwips(chosen)));
    QCOMPARE(screenLook(r), before);
}

void TestPrinting::chartOfAnyRoom_data()
{
    QTest::addColumn<QString>("edits"); // as roomFromEdits takes them
    QTest::addColumn<bool>("teacher");
    QTest::addColumn<int>("leftOff"); // the row ticked in the non-printed-rows dialog
    QTest::addColumn<QString>("backRow");
    QTest::addColumn<QStringList>("groups");
    QTest::newRow("7 x 5") << "preset 2" << false << 3 << "No.35 ～ No.31" << QStringList();
    QTest::newRow("8 x 5 in 班 of 5, from the desk")
        << "preset 4" << true << 2 << "No.40 ～ No.33"
        << QStringList{"1班", "2班", "3班", "4班", "5班", "6班", "7班", "8班"};
    QTest::newRow("6 x 6, two desks off")
        << "preset 1; off 2 0; off 2 5" << false << 3 << "No.34 ～ No.29" << QStringList();
    QTest::newRow("10 x 10 with aisles and a 班, row 9 left off")
        << "grid 10 10; aisle 2; aisle 6; group 0 0 1 1" << true << 9 << "No.100 ～ No.91" << QStringList{"1班"};
}

// The chart of the class's room, as the last run left it: shown, on the full screen, printed
// on one page without the row left off, and saved with its room.
void TestPrinting::chartOfAnyRoom()
{
    SKIP_WITHOUT_POPPLER();
    QFETCH(QString, edits);
    QFETCH(bool, teacher);
    QFETCH(int, leftOff);
    QFETCH(QString, backRow);
    QFETCH(QStringList, groups);
    TestEnv env;
    storeBefore(QStringLiteral("OptTeacherView"), teacher ? QStringLiteral("1") : QStringLiteral("0"));
    storeBefore(QStringLiteral("OptPsbar"), QStringLiteral("0"));
    loadStartupSettings(QDir::currentPath());
    const Room room = roomFromEdits(edits);
    const int desks = room.deskCount();
    const QStringList names = pupils(desks);
    state().openClass.setRoom(room);
    state().openClass.chart = chartFromTexts(names, desks);
    previousResultCommand();
    ResultWindow *r = loadedForm<ResultWindow>();
    QVERIFY(r && r->isVisible());
    QCOMPARE(r->seatTexts(), names);
    QCOMPARE(r->seatCaptions.constLast()->text(), QStringLiteral("No.%1").arg(desks));
    QStringList labels;
    for (const QLabel *label : std::as_const(r->groupLabels))
        labels.append(label->text());
    QCOMPARE(labels, groups);
    // On the smallest screen, no two boxes meeting, every name whole or cut with "…".
    QVERIFY(r->frameGeometry().width() <= 1366 && r->frameGeometry().height() <= 768);
    for (int i = 0; i < desks; ++i) {
        const QRect box = r->seatBoxes[i]->geometry();
        QVERIFY(r->client()->rect().contains(box));
        for (int j = i + 1; j < desks; ++j)
            QVERIFY2(!box.intersects(r->seatBoxes[j]->geometry()), qPrintable(QStringLiteral("%1 %2").arg(i).arg(j)));
        QVERIFY(names.at(i).startsWith(static_cast<NameLabel *>(r->seatBoxes[i])->shownText().remove(u'…')));
    }
    TRIGGER(r, "mnuFullScreen");
    ChartScreen *v = r->fullScreenChart();
    QVERIFY(v);
    QTRY_VERIFY(v->isFullScreen());
    QCOMPARE(v->texts(), names);
    QVERIFY(v->rect().contains(v->seatBoxRect(desks)));
    v->close();

    TRIGGER(r, "mnuNoPrintLine");
    NonPrintedRowsDialog *d = loadedForm<NonPrintedRowsDialog>();
    QCOMPARE(d->rowChecks.size(), room.rows() - 1);
    QCOMPARE(d->rowChecks.constLast()->text(), backRow);
    d->rowChecks[leftOff - 2]->setChecked(true);
    QTest::mouseClick(d->buttons[0], Qt::LeftButton);
    const QString pdf = env.path(QStringLiteral("chart.pdf"));
    env.platform.prints.enqueue({true, 1, pdf, true, {}, teacher});
    TRIGGER(r, "mnuPrint");
    QCOMPARE(pdfPages(pdf).size(), 1);
    QStringList words = groups + QStringList{"教", "卓"};
    for (int desk = 1; desk <= desks; ++desk) {
        if (room.cellOfDesk(desk)->row + 1 != leftOff)
            words << names.at(desk - 1) << QStringLiteral("No.%1").arg(desk);
    }
    std::sort(words.begin(), words.end());
    QCOMPARE(pdfWords(pdf), words);

    env.platform.saveFiles.enqueue(env.path(QStringLiteral("1組.rlt")));
    TRIGGER(r, "mnuResultSave");
    QString error;
    QCOMPARE(env.readFile(QStringLiteral("1組.rlt")), resultFileBytes(room, chartFromTexts(names, desks), &error));
    QCOMPARE(env.platform.messageLog(), QStringList{"保存確認|ならびん結果を保存しました。|64"});
}

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
