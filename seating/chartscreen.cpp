#include "seating/chartscreen.h"

#include "widgets/chartdrawing.h"
#include "widgets/ui.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>

namespace
{

// Every place the chart draws on, in twips.
QRect chartTwips(const ChartLayout &layout)
{
    QRect all = layout.teachersDesk();
    for (int desk = 1; desk <= layout.deskCount(); ++desk)
        all |= layout.box(desk) | layout.caption(desk);
    for (const ChartGroup &group : layout.groups())
        for (const QRect &part : group.frame)
            all |= part;
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
    // Asked as the drawing asks it: a text fits when eliding leaves it whole.
    const QString shown = text.trimmed();
    return metrics.height() <= room.height() && metrics.horizontalAdvance(shown) <= room.width() &&
           metrics.elidedText(shown, Qt::ElideRight, room.width()) == shown;
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
    chart_ = chartTwips(layout_);
}

void ChartScreen::setChart(const Room &room, const QStringList &texts, bool teacherView)
{
    // The window's layout, so that the screen shows the chart as the window does.
    room_ = room;
    layout_ = ChartLayout(room, teacherView);
    chart_ = chartTwips(layout_);
    texts_ = texts;
    teacherView_ = teacherView;
    update();
}

ChartScreen::Scaling ChartScreen::scaling() const
{
    // The window's chart scaled alike in both directions, so its gaps keep their proportions,
    // and centred with a small margin.
    const qreal margin = std::min(width(), height()) / 40.0;
    const qreal scale = std::min((width() - 2 * margin) / chart_.width(), (height() - 2 * margin) / chart_.height());
    return {scale, QPointF((width() - chart_.width() * scale) / 2, (height() - chart_.height() * scale) / 2)};
}

QTransform ChartScreen::toScreen() const
{
    const Scaling s = scaling();
    return QTransform::fromTranslate(s.origin.x(), s.origin.y())
        .scale(s.scale, s.scale)
        .translate(-chart_.left(), -chart_.top());
}

QRect ChartScreen::onScreen(const QRect &twips) const
{
    const auto [scale, origin] = scaling();
    const QPointF topLeft = origin + QPointF(twips.left() - chart_.left(), twips.top() - chart_.top()) * scale;
    const QPointF bottomRight =
        origin +
        QPointF(twips.left() + twips.width() - chart_.left(), twips.top() + twips.height() - chart_.top()) * scale;
    return QRectF(topLeft, bottomRight).toAlignedRect().adjusted(0, 0, -1, -1);
}

QRect ChartScreen::seatBoxRect(int seat) const
{
    return onScreen(layout_.box(seat));
}

QRect ChartScreen::groupLabelRect(int index) const
{
    return onScreen(layout_.groups().value(index).label);
}

QRect ChartScreen::deskRect() const
{
    return onScreen(layout_.teachersDesk());
}

int ChartScreen::numberPixels() const
{
    const QRect caption = onScreen(layout_.caption(1));
    const int pixels = std::max(1, caption.height() * 4 / 5);
    if (room_.isStandard())
        return pixels;
    // Narrow boxes: the numbers, and so the smallest names, shrink to the captions' width.
    const QString widest = QStringLiteral("No.%1").arg(layout_.deskCount());
    return std::min(pixels, fittingPixels(makeFont(Face::PGothic, 12), widest, QSize(caption.width(), pixels)));
}

QRect ChartScreen::nameRoom(int seat) const
{
    return lettering(seatBoxRect(seat));
}

NameLettering ChartScreen::seatName(int seat) const
{
    const QString name = seat <= texts_.size() ? texts_.at(seat - 1) : QString();
    // Narrow boxes: a name rather smaller than the numbers than cut.
    const int smallest = room_.isStandard() ? numberPixels() : numberPixels() * 2 / 3;
    return letterName(makeFont(Face::PGothic, 12), name, nameRoom(seat).size(), smallest);
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

    drawAisles(painter, layout_, toScreen(), Qt::white, std::max(1, numberPixels() / 8));
    drawGroupFrames(painter, layout_, toScreen(), Qt::white, std::max(2, numberPixels() / 6));
    QFont names = makeFont(Face::PGothic, 12);
    QFont captions = makeFont(Face::PGothic, 12);
    captions.setPixelSize(numberPixels());
    for (int i = 0; i < layout_.groups().size(); ++i) {
        const QRect label = groupLabelRect(i);
        const QString text = groupLabelText(layout_.groups().at(i).number);
        // Clear of the caption beside it, so that the two read as two.
        QFont font = captions;
        font.setPixelSize(
            std::min(numberPixels(), fittingPixels(font, text, QSize(label.width() * 4 / 5, label.height()))));
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(label, Qt::AlignLeft | Qt::AlignTop, text);
    }
    for (int seat = 1; seat <= layout_.deskCount(); ++seat) {
        const QRect caption = onScreen(layout_.caption(seat));
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
