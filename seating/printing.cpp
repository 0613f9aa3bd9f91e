#include "seating/printing.h"

#include "core/clock.h"
#include "platform/platform.h"
#include "seating/noprintlinedialog.h"
#include "seating/resultwindow.h"
#include "widgets/storesetting.h"
#include "widgets/ui.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLibrary>
#include <QPainter>
#include <QPicture>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>

namespace
{

const QString CheckPrinter = QStringLiteral("ﾌﾟﾘﾝﾀｰの電源と設定を確かめて下さい。");

// What the user is told when the printer or the PDF file refused the chart.
QString printFailureText(const QPrinter &printer)
{
    if (!printer.outputFileName().isEmpty())
        return QStringLiteral("ﾌｧｲﾙ「%"
                              "1」に印刷できませんでした。\r出力先のﾌｫﾙﾀﾞｰがあるか、書き込みできるか、ﾃﾞｨｽｸに空きがある"
                              "かを確かめて下さい。")
            .arg(QDir::toNativeSeparators(printer.outputFileName()));
    if (printer.printerName().isEmpty())
        return QStringLiteral("印刷できませんでした。\r") + CheckPrinter;
    return QStringLiteral("ﾌﾟﾘﾝﾀｰ「%1」で印刷できませんでした。\r").arg(printer.printerName()) + CheckPrinter;
}

// Why the chosen printer cannot take the chart now; empty when it can. A stopped queue
// would keep the job without printing it, and Qt does not say when a queue is gone.
QString queueProblem(const QPrinter &printer)
{
    if (printer.outputFormat() != QPrinter::NativeFormat || !printer.outputFileName().isEmpty())
        return {};
    const QString name = printer.printerName();
    if (name.isEmpty())
        return printFailureText(printer);
    const QPrinterInfo queue = QPrinterInfo::printerInfo(name);
    if (queue.isNull())
        return QStringLiteral("ﾌﾟﾘﾝﾀｰ「%1」が見つかりません。\r").arg(name) + CheckPrinter;
    if (queue.state() == QPrinter::Error || queue.state() == QPrinter::Aborted)
        return QStringLiteral("ﾌﾟﾘﾝﾀｰ「%1」は停止しています。\r").arg(name) + CheckPrinter;
    return {};
}

// Whether the printing system took the job. Qt hands the finished chart to CUPS and drops
// CUPS's answer, which is still this thread's last CUPS status then: a queue that refuses
// jobs, or one removed in the meantime, is caught here. CUPS is asked through the library
// Qt's print plugin has loaded, not linked: linked, it would load TLS, Kerberos and Avahi
// at every start.
bool jobTaken(const QPrinter &printer)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    if (printer.outputFormat() == QPrinter::NativeFormat && printer.outputFileName().isEmpty()) {
        using LastStatus = int (*)();
        constexpr int LastSuccessfulStatus = 0x0007; // IPP's "successful-ok-events-complete"
        const auto lastStatus =
            reinterpret_cast<LastStatus>(QLibrary::resolve(QStringLiteral("cups"), 2, "cupsLastError"));
        return !lastStatus || lastStatus() <= LastSuccessfulStatus;
    }
#else
    Q_UNUSED(printer)
#endif
    return true;
}

// Qt's PDF writer does not notice a disk that fills up: a complete file ends with its end marker.
bool completePdf(const QString &path)
{
    constexpr qint64 tail = 32;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < tail || !file.seek(file.size() - tail))
        return false;
    return file.read(tail).contains("%%EOF");
}

// The PDF file proposed when the user prints to a file: dated, beside the saved results.
QString defaultPdfFile()
{
    const QString date = currentDateTime().date().toString(QStringLiteral("yyyyMMdd"));
    return QDir(QDir::currentPath()).filePath(QStringLiteral("ならびん結果-%1.pdf").arg(date));
}

// A chart that is wider than tall fills more of a page turned on its side.
void turnPageForChart(QPrinter &printer, const QWidget *client)
{
    const QSizeF chart(client->width() / qreal(client->logicalDpiX()), client->height() / qreal(client->logicalDpiY()));
    const auto scaleOn = [&](QPageLayout::Orientation orientation) {
        QPageLayout layout = printer.pageLayout();
        layout.setOrientation(orientation);
        const QRectF page = layout.paintRect(QPageLayout::Inch);
        return std::min(page.width() / chart.width(), page.height() / chart.height());
    };
    printer.setPageOrientation(scaleOn(QPageLayout::Landscape) > scaleOn(QPageLayout::Portrait)
                                   ? QPageLayout::Landscape
                                   : QPageLayout::Portrait);
}

// One page per copy; false when the printer failed on the way.
bool printPages(QPrinter &printer, QWidget *client, int copies, bool fitToPage)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    for (int page = 0; page < copies; ++page) {
        if (page > 0 && !printer.newPage()) {
            painter.end();
            return false;
        }
        paintChart(painter, client, fitToPage);
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        return false;
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        return completePdf(printer.outputFileName());
    return jobTaken(printer);
}

// Qt draws a plain one-pixel frame unevenly at a printer's resolution (thin at the top and
// left, thick at the bottom and right); a style sheet line of the same colours looks the
// same on screen and keeps one width on paper.
QString evenFrameStyle(const QLabel *label)
{
    const QPalette &p = label->palette();
    return QStringLiteral("QLabel { border: %1px solid %2; background-color: %3; color: %4; }")
        .arg(label->lineWidth())
        .arg(p.color(QPalette::WindowText).name(), p.color(QPalette::Window).name(),
             p.color(QPalette::WindowText).name());
}

} // namespace

PrintLook::PrintLook(ResultWindow &window, bool teacherView)
    : window_(window), clientPalette_(window.client()->palette())
{
    const SharedState &s = state();
    window_.arrangeSeats(teacherView);
    window_.toolbar->hide();
    if (!s.OptPsbar)
        window_.statusPanels->hide();
    setBackgroundColor(window_.client(), Qt::white);
    QList<QWidget *> lettering(window_.seatCaptions.cbegin(), window_.seatCaptions.cend());
    lettering.append(QList<QWidget *>(window_.groupLabels.cbegin(), window_.groupLabels.cend()));
    lettering.append(window_.chartMarks);
    for (QWidget *w : lettering) {
        lettering_.emplace_back(w, w->palette());
        setTextColor(w, Qt::black);
    }
    for (QLabel *label : window_.client()->findChildren<QLabel *>(Qt::FindDirectChildrenOnly)) {
        if (label->frameShape() == QFrame::Box && label->frameShadow() == QFrame::Plain &&
            label->autoFillBackground()) {
            framedLabels_.emplace_back(label, label->styleSheet());
            label->setStyleSheet(evenFrameStyle(label));
        }
    }
    // Rows counted from the front, as the room has them; the front row is always printed.
    const Room &room = window_.room();
    QList<int> groupsShown;
    for (int desk = 1; desk <= room.deskCount(); ++desk) {
        const int row = room.cellOfDesk(desk)->row + 1;
        if (row >= 2 && s.optLine(row)) {
            window_.seatCaptions[desk - 1]->hide();
            window_.seatBoxes[desk - 1]->hide();
        } else if (!groupsShown.contains(room.groupOf(desk))) {
            groupsShown.append(room.groupOf(desk));
        }
    }
    // A 班 with every desk left off leaves no empty frame behind.
    const QList<int> numbers = room.groupNumbers();
    QList<int> groupsLeftOut;
    for (int i = 0; i < window_.groupLabels.size(); ++i) {
        const int number = numbers.value(i);
        if (!groupsShown.contains(number)) {
            groupsLeftOut.append(number);
            window_.groupLabels[i]->hide();
        }
    }
    window_.chartMarks->setLeftOut(groupsLeftOut);
}

PrintLook::~PrintLook()
{
    for (const auto &[label, styleSheet] : framedLabels_)
        label->setStyleSheet(styleSheet);
    window_.client()->setPalette(clientPalette_);
    for (const auto &[widget, palette] : lettering_)
        widget->setPalette(palette);
    for (QWidget *w : window_.seatCaptions + window_.seatBoxes + window_.groupLabels)
        w->show();
    window_.chartMarks->setLeftOut({});
    window_.arrangeSeats(window_.teacherView());
    window_.toolbar->show();
    window_.statusPanels->show();
}

int takeCopies(QPrinter &printer)
{
    const int copies = std::max(1, printer.copyCount());
    // A printer that made copies as well would multiply the pages, and one printing on
    // both sides would put a copy on the back of another.
    printer.setCopyCount(1);
    printer.setDuplex(QPrinter::DuplexNone);
    return copies;
}

void paintChart(QPainter &painter, QWidget *client, bool fitToPage)
{
    // Qt renders widgets onto a printer through one bitmap; recorded as drawing commands and
    // played back, the chart reaches the page as text and lines.
    QPicture chart;
    client->render(&chart, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    const QPaintDevice *device = painter.device();
    // The chart's size on the page when it keeps the size in inches it has on screen.
    const QSizeF size(client->width() * qreal(device->logicalDpiX()) / client->logicalDpiX(),
                      client->height() * qreal(device->logicalDpiY()) / client->logicalDpiY());
    qreal scale = std::min(device->width() / size.width(), device->height() / size.height());
    if (!fitToPage)
        scale = std::min(1.0, scale);
    const QSizeF drawn = size * scale;
    painter.save();
    if (fitToPage)
        painter.translate((device->width() - drawn.width()) / 2, (device->height() - drawn.height()) / 2);
    // A picture plays back at the page's resolution by itself, its own taken for the screen's.
    painter.scale(scale * chart.logicalDpiX() / client->logicalDpiX(),
                  scale * chart.logicalDpiY() / client->logicalDpiY());
    painter.drawPicture(0, 0, chart);
    painter.restore();
}

void printResultCommand()
{
    ResultWindow *window = loadedForm<ResultWindow>();
    if (!window)
        return;
    SharedState &s = state();
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(window->windowTitle());
    PrintOptions options{defaultPdfFile(), s.OptFitToPage, window->teacherView()};
    if (!platform().printDialog(window, printer, options))
        return;
    // The choice is kept for the next time only when it could be stored; this chart is printed as chosen.
    if (options.fitToPage != s.OptFitToPage &&
        storeSetting(window, QStringLiteral("OptFitToPage"),
                     options.fitToPage ? QStringLiteral("1") : QStringLiteral("0")))
        s.OptFitToPage = options.fitToPage;
    window->fitToPageAction->setChecked(s.OptFitToPage);
    const int copies = takeCopies(printer);
    if (const QString problem = queueProblem(printer); !problem.isEmpty()) {
        showMessage(window, problem, MsgStyle::Critical, QStringLiteral("印刷エラー"));
        return;
    }
    if (options.fitToPage)
        turnPageForChart(printer, window->client());
    bool printed = false;
    {
        PrintLook look(*window, options.teacherView);
        printed = printPages(printer, window->client(), copies, options.fitToPage);
    }
    if (!printed)
        showMessage(window, printFailureText(printer), MsgStyle::Critical, QStringLiteral("印刷エラー"));
}

void showNoPrintLineDialog()
{
    NonPrintedRowsDialog *dialog = form<NonPrintedRowsDialog>();
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}
