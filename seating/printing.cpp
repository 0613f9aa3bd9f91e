#include "seating/printing.h"

#include "platform/platform.h"
#include "seating/noprintlinedialog.h"
#include "seating/resultwindow.h"
#include "widgets/ui.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace
{

// What the user is told when the printer or the PDF file refused the chart.
QString printFailureText(const QPrinter &printer)
{
    if (!printer.outputFileName().isEmpty())
        return QStringLiteral("ﾌｧｲﾙ「%"
                              "1」に印刷できませんでした。\r出力先のﾌｫﾙﾀﾞｰがあるか、書き込みできるか、ﾃﾞｨｽｸに空きがある"
                              "かを確かめて下さい。")
            .arg(QDir::toNativeSeparators(printer.outputFileName()));
    const QString check = QStringLiteral("ﾌﾟﾘﾝﾀｰの電源と設定を確かめて下さい。");
    if (printer.printerName().isEmpty())
        return QStringLiteral("印刷できませんでした。\r") + check;
    return QStringLiteral("ﾌﾟﾘﾝﾀｰ「%1」で印刷できませんでした。\r").arg(printer.printerName()) + check;
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

// Image pixels to each pixel of the window: sharp enough for lettering on paper without
// a page-sized bitmap at a printer's full resolution, and whole, so that every line of the
// window keeps one width.
int imageScale(const QPrinter &printer, const QWidget *client)
{
    constexpr int MaxImageDpi = 600;
    return std::max(1, std::min(printer.resolution(), MaxImageDpi) / client->logicalDpiX());
}

// One page per copy; false when the printer failed on the way.
bool printPages(QPrinter &printer, const QImage &image, const QWidget *client, int copies)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    for (int page = 0; page < copies; ++page) {
        if (page > 0 && !printer.newPage()) {
            painter.end();
            return false;
        }
        paintClientArea(painter, image, client);
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        return false;
    return printer.outputFileName().isEmpty() || completePdf(printer.outputFileName());
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

PrintLook::PrintLook(ResultWindow &window) : window_(window), clientPalette_(window.client()->palette())
{
    const SharedState &s = state();
    window_.toolbar->hide();
    if (s.OptPsbar != QLatin1String("1"))
        window_.statusPanels->hide();
    setBackgroundColor(window_.client(), Qt::white);
    for (int i = 0; i < SeatCount; ++i) {
        captionPalettes_[size_t(i)] = window_.seatCaptions[size_t(i)]->palette();
        setTextColor(window_.seatCaptions[size_t(i)], Qt::black);
    }
    for (QLabel *label : window_.client()->findChildren<QLabel *>(Qt::FindDirectChildrenOnly)) {
        if (label->frameShape() == QFrame::Box && label->frameShadow() == QFrame::Plain &&
            label->autoFillBackground()) {
            framedLabels_.emplace_back(label, label->styleSheet());
            label->setStyleSheet(evenFrameStyle(label));
        }
    }
    for (int row = 2; row <= 7; ++row) {
        if (s.optLine(row) != QLatin1String("1"))
            continue;
        for (int i = 4 * (row - 1); i < 4 * row; ++i) {
            window_.seatCaptions[size_t(i)]->hide();
            window_.seatBoxes[size_t(i)]->hide();
        }
    }
}

PrintLook::~PrintLook()
{
    for (const auto &[label, styleSheet] : framedLabels_)
        label->setStyleSheet(styleSheet);
    window_.client()->setPalette(clientPalette_);
    for (int i = 0; i < SeatCount; ++i) {
        window_.seatCaptions[size_t(i)]->setPalette(captionPalettes_[size_t(i)]);
        window_.seatCaptions[size_t(i)]->show();
        window_.seatBoxes[size_t(i)]->show();
    }
    window_.toolbar->show();
    window_.statusPanels->show();
}

int takeCopies(QPrinter &printer)
{
    const int copies = std::max(1, printer.copyCount());
    // A printer that made copies as well would multiply the pages.
    printer.setCopyCount(1);
    return copies;
}

QImage clientAreaImage(QWidget *client, int scale)
{
    QImage image(client->size() * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    client->render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    return image;
}

void paintClientArea(QPainter &painter, const QImage &image, const QWidget *client)
{
    const QPaintDevice *device = painter.device();
    // Logical pixels at the screen's resolution, so that the chart keeps its size in inches.
    QSizeF size(client->width() * qreal(device->logicalDpiX()) / client->logicalDpiX(),
                client->height() * qreal(device->logicalDpiY()) / client->logicalDpiY());
    const qreal fit = std::min({1.0, device->width() / size.width(), device->height() / size.height()});
    painter.save();
    // Flate rather than JPEG in a PDF: flat colours and lettering stay crisp and small.
    painter.setRenderHints(QPainter::SmoothPixmapTransform | QPainter::LosslessImageRendering);
    painter.drawImage(QRectF(QPointF(0, 0), size * fit), image);
    painter.restore();
}

void printResultCommand()
{
    ResultWindow *window = loadedForm<ResultWindow>();
    if (!window)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(window->windowTitle());
    if (!platform().printDialog(window, printer))
        return;
    const int copies = takeCopies(printer);
    bool printed = false;
    {
        PrintLook look(*window);
        const QImage image = clientAreaImage(window->client(), imageScale(printer, window->client()));
        printed = printPages(printer, image, window->client(), copies);
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
