#include "print/chartprinter.h"

#include "print/printlibrary.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLibrary>
#include <QLineEdit>
#include <QPainter>
#include <QPicture>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRadioButton>
#include <QVBoxLayout>

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
// Qt's print plugin has loaded, not linked: linked, it would bring TLS, Kerberos and Avahi
// along.
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

// The window in its print look for as long as this lives, however the printing ends.
class PrintLookKept
{
public:
    PrintLookKept(ChartPrintJob &job, bool teacherView) : job_(job) { job_.setPrintLook(true, teacherView); }
    ~PrintLookKept() { job_.setPrintLook(false, false); }
    PrintLookKept(const PrintLookKept &) = delete;
    PrintLookKept &operator=(const PrintLookKept &) = delete;

private:
    ChartPrintJob &job_;
};

void printChart(ChartPrintJob &job, PrintOptions options)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(job.window()->windowTitle());
    if (!job.choose(printer, options))
        return;
    const int copies = takeCopies(printer);
    if (const QString problem = queueProblem(printer); !problem.isEmpty()) {
        job.report(problem);
        return;
    }
    if (options.fitToPage)
        turnPageForChart(printer, job.chart());
    bool printed = false;
    {
        PrintLookKept look(job, options.teacherView);
        printed = printPages(printer, job.chart(), copies, options.fitToPage);
    }
    if (!printed)
        job.report(printFailureText(printer));
}

// Qt's print dialog showing only what applies to a one-page chart, every copy printed as a
// page of its own: no page range (whose pages row Qt leaves in English), no page order and
// no printing on both sides. Qt sets what it shows each time the dialog is shown.
class ChartPrintDialog : public QPrintDialog
{
public:
    ChartPrintDialog(QPrinter &printer, QWidget *owner) : QPrintDialog(&printer, owner) {}

    void setVisible(bool visible) override
    {
        QPrintDialog::setVisible(visible);
        for (const char *name : {"gbPrintRange", "reverse", "duplex"}) {
            if (QWidget *w = findChild<QWidget *>(QLatin1String(name)))
                w->hide();
        }
    }
};

bool printDialog(QWidget *owner, QPrinter &printer, PrintOptions &options)
{
    ChartPrintDialog dialog(printer, owner);
    dialog.setWindowTitle(QStringLiteral("印刷"));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    dialog.setMinMax(1, 1);
    auto *layoutTab = new QWidget;
    layoutTab->setWindowTitle(QStringLiteral("レイアウト"));
    auto *fit = new QCheckBox(QStringLiteral("用紙に合わせて拡大(&Z)"), layoutTab);
    fit->setObjectName(QStringLiteral("fitToPage"));
    fit->setChecked(options.fitToPage);
    auto *about =
        new QLabel(QStringLiteral("座席表を用紙いっぱいに拡大し、中央に印刷します。横長の座席表には"
                                  "用紙を横向きに使います。\n外すと、画面と同じ大きさで用紙の左上に印刷します。"),
                   layoutTab);
    about->setWordWrap(true);
    auto *side = new QGroupBox(QStringLiteral("座席表の向き(&V)"), layoutTab);
    auto *pupilsSide = new QRadioButton(QStringLiteral("生徒側から見る（画面と同じ）"), side);
    pupilsSide->setObjectName(QStringLiteral("pupilsView"));
    auto *teachersSide = new QRadioButton(QStringLiteral("教卓側から見る"), side);
    teachersSide->setObjectName(QStringLiteral("teacherView"));
    (options.teacherView ? teachersSide : pupilsSide)->setChecked(true);
    auto *sides = new QVBoxLayout(side);
    sides->addWidget(pupilsSide);
    sides->addWidget(teachersSide);
    auto *column = new QVBoxLayout(layoutTab);
    column->addWidget(fit);
    column->addWidget(about);
    column->addWidget(side);
    column->addStretch();
    // A page that is no seating chart has neither a fit nor a side to choose.
    if (options.chartLayout)
        dialog.setOptionTabs({layoutTab});
    else
        delete layoutTab;
    // Qt proposes a file in the home folder named after the document (under X11 only).
    if (auto *fileName = dialog.findChild<QLineEdit *>(QStringLiteral("filename")))
        fileName->setText(options.pdfFile);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (options.chartLayout) {
        options.fitToPage = fit->isChecked();
        options.teacherView = teachersSide->isChecked();
    }
    return true;
}

} // namespace

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

extern "C" Q_DECL_EXPORT const PrintLibrary *narabinPrintLibrary()
{
    static constexpr PrintLibrary entries{printChart, printDialog};
    return &entries;
}
