// Printing the chart (pages read back from the PDF) and the non-printed-rows dialog.
#include "core/chartgrid.h"
#include "core/resultfile.h"
#include "mainwin/pastresults.h"
#include "print/chartprinter.h"
#include "printfixture.h"
#include "seating/chartscreen.h"
#include "seating/noprintlinedialog.h"

#include <QCheckBox>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QtTest>

namespace
{

const auto isWhite = [](QRgb c) { return qRed(c) > 245 && qGreen(c) > 245 && qBlue(c) > 245; };
const auto isDark = [](QRgb c) { return qRed(c) < 90 && qGreen(c) < 90 && qBlue(c) < 90; };
const auto isBoxGrey = [](QRgb c) {
    return qAbs(qRed(c) - 192) < 8 && qAbs(qGreen(c) - 192) < 8 && qAbs(qBlue(c) - 192) < 8;
};

// Where the chart's client area starts on the page: the top-left of the printable area.
QPoint pageOrigin()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    return printer.pageLayout().paintRectPixels(96).topLeft();
}

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

// What the page shows of one seat (client rectangles): its box, grey inside, and its caption,
// black on white (on screen it is white on grey).
QString seatOnPage(const QImage &page, const QRect &box, const QRect &caption)
{
    if (blank(page, box.adjusted(-1, -1, 1, 1)) && blank(page, caption))
        return QStringLiteral("none");
    const QRect inside(box.left() + 3, box.top() + 4, 6, box.height() - 8);
    const bool boxShown = count(page, inside, isBoxGrey) == inside.width() * inside.height();
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

} // namespace

class TestPrinting : public QObject
{
    Q_OBJECT

private slots:
    void printed_data();
    void printed();
    void chartKeepsItsSizeOrFillsThePage();
    void fitToPageIsRemembered_data();
    void fitToPageIsRemembered();
    void rowsDialog_data();
    void rowsDialog();
    void chartOfAnyRoom_data();
    void chartOfAnyRoom();
};

// At the size it has on screen, shrunk to a narrower page; fitted, as tall as the page and centred.
void TestPrinting::chartKeepsItsSizeOrFillsThePage()
{
    QWidget client;
    client.resize(635, 437);
    setBackgroundColor(&client, Qt::red);
    for (const auto &[page, fit, covered] : {std::tuple{QSize(300, 600), false, QRect(0, 0, 300, 206)},
                                             std::tuple{QSize(2000, 874), true, QRect(365, 0, 1270, 874)}}) {
        QImage paper(page, QImage::Format_RGB32);
        paper.setDotsPerMeterX(qRound(client.logicalDpiX() / 0.0254));
        paper.setDotsPerMeterY(qRound(client.logicalDpiY() / 0.0254));
        paper.fill(Qt::white);
        QPainter painter(&paper);
        paintChart(painter, &client, fit);
        painter.end();
        QCOMPARE(inked(paper), covered);
    }
}

void TestPrinting::printed_data()
{
    // OptLine_2..7, a character each; then "bar": the status bar printed, "copies": two;
    // the side "desk on screen" and "desk on paper"; "no folder" for the PDF file, "no library"
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QStringList>("messages"); // %1: the PDF file, %2: the library's file
    QTest::newRow("row 1 only, status bar") << "111111 bar" << QStringList();
    QTest::newRow("two copies from the desk, chosen for the paper") << "000000 copies desk on paper" << QStringList();
    QTest::newRow("pupils' side over the screen's, rows 2, 6 and 7 left off")
        << "100011 desk on screen" << QStringList();
    QTest::newRow("PDF file not written")
        << "111111 no folder"
        << QStringList{"印刷エラー|ﾌｧｲﾙ「%1」に印刷できませんでした。\r出力先のﾌｫﾙﾀﾞｰがあるか、書き込みできるか、"
                       "ﾃﾞｨｽｸに空きがあるかを確かめて下さい。|16"};
    QTest::newRow("printing library missing")
        << "111111 no library"
        << QStringList{"印刷エラー|印刷に使うﾌｧｲﾙが見つかりません。\r%2\rﾌﾟﾛｸﾞﾗﾑを入れ直して下さい。|16"};
}

// The chart printed to a PDF file, read back: its text, where each word is, and the paper's look.
void TestPrinting::printed()
{
    QFETCH(QString, setup);
    QFETCH(QStringList, messages);
    const QString lines = setup.left(6), options = setup.mid(7);
    const bool bar = options.contains("bar"), side = options.contains("desk on paper");
    const int copies = options.contains("copies") ? 2 : 1;
    TestEnv env;
    if (options.contains("no library"))
        env.services.printLibrary = env.path(QStringLiteral("lib/narabin_print.so"));
    storeBefore(QStringLiteral("OptTeacherView"), options.contains("desk on screen") ? "1" : "0");
    ResultWindow *r = chartShown(lines.split(QString(), Qt::SkipEmptyParts), bar ? "1" : "0");
    // A name too long for its box is printed as the window shows it: its beginning and "…".
    QStringList seats = r->seatTexts();
    seats[16] = QStringLiteral("寿限無寿限無五劫の擦り切れ海砂利水魚");
    r->setSeatTexts(seats);
    QVERIFY(static_cast<NameLabel *>(r->seatBoxes[16])->shownText().endsWith(u'…'));
    const QString pdf = env.path(options.contains("no folder") ? "no such folder/chart.pdf" : "chart.pdf");
    messages.replaceInStrings("%1", QDir::toNativeSeparators(pdf))
        .replaceInStrings("%2", QDir::toNativeSeparators(env.services.printLibrary));
    QCOMPARE(printChart(env, r, {true, copies, pdf, false, {}, side}), messages);
    if (!messages.isEmpty())
        return;
    SKIP_WITHOUT_POPPLER();
    QCOMPARE(env.platform.callsOf(QStringLiteral("print")).constFirst().teacherView,
             options.contains("desk on screen"));
    const QList<QImage> pages = pdfPages(pdf);
    QCOMPARE(pages.size(), copies);
    QCOMPARE(pages.constLast(), pages.constFirst());
    // Text, not a picture of it: the printed rows' captions and names, once on each page.
    QList<int> rows{1};
    for (int row = 2; row <= 7; ++row) {
        if (lines.at(row - 2) != u'1')
            rows.append(row);
    }
    const QStringList words = chartWords(r, rows, bar);
    QCOMPARE(pdfWords(pdf), copies == 2 ? sorted(words + words) : words);
    const QImage &page = pages.constFirst();
    // Each printed word inside its box as the chosen side places it; the boxes in the paper's look.
    const QMultiMap<QString, QRectF> places = pdfWordPlaces(pdf, 1);
    const QPointF origin = pageOrigin();
    const auto inside = [&](const QString &word, const QRect &twips) {
        const QRect box = twRect(twips);
        return places.contains(word) && box.contains((places.value(word).center() - origin).toPoint());
    };
    QStringList wrong, look, expected;
    for (int seat = 1; seat <= SeatCount; ++seat) {
        const QRect box = seatBoxTwips(seat, side), caption = seatCaptionTwips(seat, side);
        const bool printed = rows.contains((seat + 3) / 4);
        const QString name = static_cast<NameLabel *>(r->seatBoxes[seat - 1])->shownText();
        if (printed && (!inside(name, box) || !inside(QStringLiteral("No.%1").arg(seat), caption)))
            wrong.append(name);
        if (seat != 17) { // the long name covers its box's grey
            look.append(seatOnPage(page, twRect(box), twRect(caption)));
            expected.append(printed ? QStringLiteral("printed") : QStringLiteral("none"));
        }
    }
    QCOMPARE(wrong, QStringList());
    QCOMPARE(look, expected);
    // The desk always; the status bar end to end when chosen; never the toolbar.
    const QRect deskAt = deskTwips(side);
    QVERIFY(inside(QStringLiteral("教"), deskAt) && inside(QStringLiteral("卓"), deskAt));
    QVERIFY(blank(page, r->toolbar->geometry().adjusted(0, 0, 0, 10)));
    const QRect panels = r->statusPanels->geometry();
    QCOMPARE(blank(page, QRect(panels.right() - 3, panels.top() + 2, 4, panels.height() - 4)), !bar);
}

void TestPrinting::fitToPageIsRemembered_data()
{
    QTest::addColumn<QString>("stored"); // OptFitToPage before start-up; "<none>": not in the store
    QTest::addColumn<bool>("accept");
    QTest::addColumn<bool>("chosen");
    QTest::addColumn<QString>("after");        // OptFitToPage in memory and in the store afterwards (a choice
                                               // that the stored value already means writes nothing)
    QTest::addColumn<QStringList>("messages"); // %1: the settings file; the store is made to fail
    QTest::newRow("first print, fitted") << "<none>" << true << true << "1" << QStringList();
    QTest::newRow("fitted before, actual size now") << "1" << true << false << "0" << QStringList();
    QTest::newRow("any other value is actual size") << "yes" << true << false << "yes" << QStringList();
    QTest::newRow("cancelled") << "1" << false << false << "1" << QStringList();
    QTest::newRow("settings not writable: printed as chosen, not remembered")
        << "0" << true << true << "0" << QStringList{SettingsNotSaved};
}

void TestPrinting::fitToPageIsRemembered()
{
    SKIP_WITHOUT_POPPLER();
    QFETCH(QString, stored);
    QFETCH(bool, accept);
    QFETCH(bool, chosen);
    QFETCH(QString, after);
    QFETCH(QStringList, messages);
    TestEnv env;
    if (stored != QLatin1String("<none>"))
        storeBefore(QStringLiteral("OptFitToPage"), stored);
    ResultWindow *r = chartShown(QStringList(6, QStringLiteral("0")), "1"); // every row printed
    const bool offered = stored == QLatin1String("1"), writable = messages.isEmpty();
    QCOMPARE(findAction(r, QStringLiteral("mnuFitToPage"))->isChecked(), offered);
    if (!writable)
        QVERIFY(lockSettings(env));
    const QString pdf = env.path(QStringLiteral("chart.pdf"));
    QCOMPARE(printChart(env, r, {accept, 1, pdf, chosen}),
             messages.replaceInStrings(QStringLiteral("%1"), QDir::toNativeSeparators(env.settingsFile())));
    QCOMPARE(findAction(r, QStringLiteral("mnuFitToPage"))->isChecked(), after == QLatin1String("1"));
    const QList<PlatformCall> dialogs = env.platform.callsOf(QStringLiteral("print"));
    QCOMPARE(dialogs.size(), 1);
    QCOMPARE(dialogs.constFirst().data, int(offered));
    // Offered for a PDF file: dated by the clock, beside the saved results.
    QCOMPARE(dialogs.constFirst().fileName, env.path(QStringLiteral("ならびん結果-20261205.pdf")));
    if (writable)
        QCOMPARE(storedLines(env, QStringLiteral("OptFitToPage")), QStringList{"OptFitToPage=" + after});
    const QList<QImage> pages = pdfPages(pdf);
    QCOMPARE(pages.size(), int(accept));
    if (!accept)
        return;
    // Fitted: turned on its side and larger than on screen.
    QCOMPARE(pages.constFirst().width() > pages.constFirst().height(), chosen);
    QCOMPARE(inked(pages.constFirst()).width() > 635, chosen);
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
    QStringList lines, expected;
    for (int row = 2; row <= 7; ++row) {
        lines += storedLines(env, QStringLiteral("OptLine_%1").arg(row));
        expected.append(QStringLiteral("OptLine_%1=%2").arg(row).arg(written.at(row - 2)));
    }
    QCOMPARE(lines, expected);
}

void TestPrinting::chartOfAnyRoom_data()
{
    QTest::addColumn<QString>("edits"); // as roomFromEdits takes them
    QTest::addColumn<bool>("teacher");
    QTest::addColumn<int>("leftOff"); // the row ticked in the non-printed-rows dialog
    QTest::addColumn<QString>("backRow");
    QTest::addColumn<QStringList>("groups");
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
    // On the smallest screen, every name whole or cut with "…".
    QVERIFY(r->frameGeometry().width() <= 1366 && r->frameGeometry().height() <= 768);
    for (int i = 0; i < desks; ++i) {
        QVERIFY(r->client()->rect().contains(r->seatBoxes[i]->geometry()));
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
    QCOMPARE(printChart(env, r, {true, 1, pdf, true, {}, teacher}), QStringList());
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
}

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
