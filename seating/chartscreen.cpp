#include "seating/chartscreen.h"

#include "core/chartgrid.h"
#include "core/sharedstate.h"
#include "widgets/ui.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>

namespace
{

// Every place the chart draws on, in twips; the same for both sides it is seen from.
QRect chartTwips()
{
    QRect all = deskTwips(false);
    for (int seat = 1; seat <= SeatCount; ++seat)
        all |= seatBoxTwips(seat, false) | seatCaptionTwips(seat, false);
    return all;
}

// The inside of a box that lettering may use: clear of the frame on all sides.
QRect lettering(const QRect &box)
{
    const int margin = std::max(2, box.height() / 10);
    return QRect(box.left() + margin, box.top() + margin, std::max(1, box.width() - 2 * margin),
                 std::max(1, box.height() - 2 * margin));
}

bool fits(const QFont &font, const QString &text, QSize room)
{
    const QFontMetrics metrics(font);
    return metrics.height() <= room.height() && metrics.horizontalAdvance(text.trimmed()) <= room.width();
}

const QColor BoxGrey(192, 192, 192);

} // namespace

int fittingPixels(QFont font, const QString &text, QSize room)
{
    // The first size too large, searched between one that fits (or 1) and the box's height.
    int low = 1, high = std::max(2, room.height() + 1);
    while (high - low > 1) {
        const int middle = (low + high) / 2;
        font.setPixelSize(middle);
        if (fits(font, text, room))
            low = middle;
        else
            high = middle;
    }
    return low;
}

NameLettering letterName(QFont font, const QString &name, QSize room, int smallest)
{
    NameLettering out;
    out.pixels = std::max(fittingPixels(font, name, room), smallest);
    font.setPixelSize(out.pixels);
    out.text = QFontMetrics(font).elidedText(name.trimmed(), Qt::ElideRight, room.width());
    return out;
}

ChartScreen::ChartScreen(QWidget *owner) : QWidget(owner, Qt::Window)
{
    setObjectName(QStringLiteral("FullScreenChart"));
    setWindowTitle(QStringLiteral("ならびん結果"));
    setAccessibleName(QStringLiteral("座席表（全画面）"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    texts_.reserve(SeatCount);
}

void ChartScreen::setChart(const QStringList &texts, bool teacherView)
{
    texts_ = texts;
    teacherView_ = teacherView;
    update();
}

QRect ChartScreen::onScreen(const QRect &twips) const
{
    // The window's chart scaled alike in both directions, so its gaps keep their proportions,
    // and centred with a small margin.
    const QRect chart = chartTwips();
    const qreal margin = std::min(width(), height()) / 40.0;
    const qreal scale = std::min((width() - 2 * margin) / chart.width(), (height() - 2 * margin) / chart.height());
    const QPointF origin((width() - chart.width() * scale) / 2, (height() - chart.height() * scale) / 2);
    const QPointF topLeft = origin + QPointF(twips.left() - chart.left(), twips.top() - chart.top()) * scale;
    const QPointF bottomRight =
        origin +
        QPointF(twips.left() + twips.width() - chart.left(), twips.top() + twips.height() - chart.top()) * scale;
    return QRectF(topLeft, bottomRight).toAlignedRect().adjusted(0, 0, -1, -1);
}

QRect ChartScreen::seatBoxRect(int seat) const
{
    return onScreen(seatBoxTwips(seat, teacherView_));
}

QRect ChartScreen::deskRect() const
{
    return onScreen(deskTwips(teacherView_));
}

int ChartScreen::numberPixels() const
{
    return std::max(1, onScreen(seatCaptionTwips(1, teacherView_)).height() * 4 / 5);
}

QRect ChartScreen::nameRoom(int seat) const
{
    return lettering(seatBoxRect(seat));
}

NameLettering ChartScreen::seatName(int seat) const
{
    const QString name = seat <= texts_.size() ? texts_.at(seat - 1) : QString();
    return letterName(makeFont(Face::PGothic, 12), name, nameRoom(seat).size(), numberPixels());
}

void ChartScreen::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const auto frame = [&](const QRect &box) {
        painter.setPen(QPen(Qt::black, std::max(1, box.height() / 40)));
        painter.setBrush(BoxGrey);
        painter.drawRect(box);
    };

    QFont names = makeFont(Face::PGothic, 12);
    QFont captions = makeFont(Face::PGothic, 12);
    captions.setPixelSize(numberPixels());
    for (int seat = 1; seat <= SeatCount; ++seat) {
        const QRect caption = onScreen(seatCaptionTwips(seat, teacherView_));
        painter.setFont(captions);
        painter.setPen(Qt::white);
        // Wider than the caption's place, as a long number may run past it in the window too.
        painter.drawText(caption.adjusted(-caption.width(), 0, caption.width(), 0), Qt::AlignHCenter | Qt::AlignTop,
                         QStringLiteral("No.%1").arg(seat));
        frame(seatBoxRect(seat));
        const NameLettering name = seatName(seat);
        names.setPixelSize(name.pixels);
        painter.setFont(names);
        painter.setPen(Qt::black);
        painter.drawText(nameRoom(seat), Qt::AlignCenter, name.text);
    }
    const QRect desk = deskRect();
    frame(desk);
    QFont deskFont = makeFont(Face::PGothic, 12);
    deskFont.setPixelSize(fittingPixels(deskFont, QStringLiteral("教     卓"), lettering(desk).size()));
    painter.setFont(deskFont);
    painter.setPen(Qt::black);
    painter.drawText(desk, Qt::AlignCenter, QStringLiteral("教     卓"));
}

void ChartScreen::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_F11) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ChartScreen::closeEvent(QCloseEvent *event)
{
    event->accept();
    emit left();
}
