#include "mainwin/seatrecordprint.h"

#include "core/clock.h"
#include "platform/platform.h"
#include "print/printlibrary.h"
#include "widgets/navigator.h"

#include <QDir>
#include <QFontMetricsF>
#include <QPainter>
#include <QWidget>

#include <algorithm>

QColor pairShade(int times, int most)
{
    if (times <= 0 || most <= 0)
        return Qt::white;
    // From a light blue for once to a deep one for the most often, evenly between.
    const double t = most == 1 ? 1.0 : double(times - 1) / (most - 1);
    const auto mix = [t](int light, int dark) { return int(light + (dark - light) * t + 0.5); };
    return QColor(mix(190, 20), mix(215, 60), mix(240, 130));
}

void paintPairGrid(QPainter &painter, const QRectF &area, const SeatRecord &record, const QList<int> &rows)
{
    const int n = int(rows.size());
    if (n == 0 || area.isEmpty())
        return;
    int most = 0;
    for (const QList<int> &row : record.together)
        most = std::max(most, row.isEmpty() ? 0 : *std::max_element(row.cbegin(), row.cend()));
    // The names take a fifth of the width; the squares what is left, as large as fits.
    const qreal labelWidth = area.width() / 5;
    const qreal cell = std::min((area.width() - labelWidth) / (n + 1), area.height() / (n + 1));
    QFont font = painter.font();
    font.setPixelSize(std::max(1, int(cell * 0.6)));
    painter.save();
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QPointF origin(area.left() + labelWidth, area.top() + cell);
    const QFontMetricsF metrics(font, painter.device());
    for (int i = 0; i < n; ++i) {
        const QString number = QString::number(i + 1);
        painter.drawText(QRectF(origin.x() + i * cell, area.top(), cell, cell), Qt::AlignCenter, number);
        const QString name = metrics.elidedText(number + u' ' + record.pupils.at(rows.at(i)).name, Qt::ElideRight,
                                                labelWidth - cell / 4);
        painter.drawText(QRectF(area.left(), origin.y() + i * cell, labelWidth - cell / 4, cell),
                         Qt::AlignVCenter | Qt::AlignLeft, name);
    }
    painter.setPen(QPen(QColor(160, 160, 160), 0));
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            const QRectF square(origin.x() + j * cell, origin.y() + i * cell, cell, cell);
            const QColor fill =
                i == j ? QColor(160, 160, 160) : pairShade(record.together.at(rows.at(i)).at(rows.at(j)), most);
            painter.setBrush(fill);
            painter.drawRect(square);
        }
    }
    painter.restore();
}

namespace
{

// The table's columns on paper and their shares of the width.
struct PaperColumn {
    const char *title;
    qreal share;
    Qt::Alignment align;
};
const PaperColumn PaperColumns[] = {
    {"氏名", 0.15, Qt::AlignLeft},         {"回数", 0.06, Qt::AlignRight}, {"前", 0.05, Qt::AlignRight},
    {"中", 0.05, Qt::AlignRight},          {"後", 0.05, Qt::AlignRight},   {"使った席", 0.27, Qt::AlignLeft},
    {"隣になった人", 0.37, Qt::AlignLeft},
};

QStringList paperCells(const PupilSeatCount &p)
{
    return {p.name,
            QString::number(p.charts),
            QString::number(p.front),
            QString::number(p.middle),
            QString::number(p.back),
            seatsUsedText(p),
            deskmatesText(p)};
}

// The page: a heading, the table, the pairs' grid below. Sizes follow the page, so that a
// class of forty still fits one sheet.
void paintPage(QPainter &painter, const QRectF &page, const SeatRecord &record, const QList<int> &rows)
{
    const qreal line = std::min(page.height() * 0.55 / (rows.size() + 3), page.height() / 45);
    QFont font = painter.font();
    font.setPixelSize(std::max(1, int(line * 0.7)));
    QFont heading = font;
    heading.setPixelSize(std::max(1, int(line * 1.2)));
    heading.setBold(true);
    painter.setPen(Qt::black);
    painter.setFont(heading);
    painter.drawText(QRectF(page.left(), page.top(), page.width(), line * 1.6), Qt::AlignLeft | Qt::AlignVCenter,
                     seatRecordTitle());
    painter.setFont(font);
    const QString span =
        record.charts.isEmpty()
            ? QString()
            : QStringLiteral("席替え %1 回分（%2～%3）")
                  .arg(record.charts.size())
                  .arg(record.charts.constFirst().kept.toLocalTime().toString(QStringLiteral("yyyy/MM/dd")),
                       record.charts.constLast().kept.toLocalTime().toString(QStringLiteral("yyyy/MM/dd")));
    painter.drawText(QRectF(page.left(), page.top(), page.width(), line * 1.6), Qt::AlignRight | Qt::AlignVCenter,
                     span);

    const QFontMetricsF metrics(font, painter.device());
    qreal y = page.top() + line * 2;
    const auto drawRow = [&](const QStringList &cells) {
        qreal x = page.left();
        for (int c = 0; c < cells.size(); ++c) {
            const qreal width = page.width() * PaperColumns[c].share;
            const QRectF box(x + line / 6, y, width - line / 3, line);
            painter.drawText(box, PaperColumns[c].align | Qt::AlignVCenter,
                             metrics.elidedText(cells.at(c), Qt::ElideRight, box.width()));
            x += width;
        }
        y += line;
        painter.drawLine(QPointF(page.left(), y), QPointF(page.right(), y));
    };
    QStringList titles;
    for (const PaperColumn &column : PaperColumns)
        titles.append(QString::fromUtf8(column.title));
    painter.setPen(QPen(Qt::black, 0));
    drawRow(titles);
    for (int i : rows)
        drawRow(paperCells(record.pupils.at(i)));

    y += line;
    painter.drawText(QRectF(page.left(), y, page.width(), line), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("隣の組み合わせ（色が濃いほど隣になった回数が多い。白は一度もなし）"));
    y += line * 1.2;
    paintPairGrid(painter, QRectF(page.left(), y, page.width(), page.bottom() - y), record, rows);
}

// The page as a widget never shown, an A4 sheet at the screen's resolution: the printing
// library draws it onto the paper as text and lines, scaled to fill the sheet.
class RecordPage : public QWidget
{
public:
    RecordPage(const SeatRecord &record, const QList<int> &rows) : record_(record), rows_(rows)
    {
        const qreal perMm = logicalDpiX() / 25.4;
        resize(qRound(210 * perMm), qRound(297 * perMm));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        const qreal margin = 4 * logicalDpiX() / 25.4;
        paintPage(painter, QRectF(rect()).adjusted(margin, margin, -margin, -margin), record_, rows_);
    }

private:
    const SeatRecord &record_;
    const QList<int> &rows_;
};

const QString PrintError = QStringLiteral("印刷エラー");

class RecordPrintJob final : public ChartPrintJob
{
public:
    RecordPrintJob(QWidget *owner, QWidget *page) : owner_(owner), page_(page) {}

    QWidget *window() override { return owner_; }
    QWidget *chart() override { return page_; }
    bool choose(QPrinter &printer, PrintOptions &options) override
    {
        return platform().printDialog(owner_, printer, options);
    }
    void setPrintLook(bool, bool) override {}
    void report(const QString &text) override { showMessage(owner_, text, MsgStyle::Critical, PrintError); }

private:
    QWidget *owner_;
    QWidget *page_;
};

} // namespace

void printSeatRecord(QWidget *owner, const SeatRecord &record, const QList<int> &rows)
{
    RecordPage page(record, rows);
    RecordPrintJob job(owner, &page);
    const QString date = currentDateTime().date().toString(QStringLiteral("yyyyMMdd"));
    PrintOptions proposed;
    proposed.pdfFile = QDir(QDir::currentPath()).filePath(QStringLiteral("席の記録-%1.pdf").arg(date));
    proposed.fitToPage = true;
    proposed.chartLayout = false;
    navigator().printPage(job, proposed);
}
