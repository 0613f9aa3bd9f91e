#include "seating/noprintlinedialog.h"

#include "platform/platform.h"
#include "seating/resultwindow.h"
#include "widgets/seatbox.h"
#include "widgets/storesetting.h"
#include "widgets/ui.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

namespace
{

// Captions of the standard room's rows 2..7, highest seat first as the classroom reads.
const std::array<QString, 6> RowCaptions{
    QStringLiteral("No. 8  ～ No. 5"), QStringLiteral("No.12 ～ No. 9"), QStringLiteral("No.16 ～ No.13"),
    QStringLiteral("No.20 ～ No.17"),  QStringLiteral("No.24 ～ No.21"), QStringLiteral("No.28 ～ No.25"),
};
constexpr int RowPitch = 360;

// The room whose rows are offered: the one of the chart in the result window.
Room shownRoom()
{
    const ResultWindow *result = loadedForm<ResultWindow>();
    return result ? result->room() : Room::standard();
}

// The rows after the front one, in two columns of at least three.
int checksPerColumn(const Room &room)
{
    return std::max(3, room.rows() / 2);
}

// The first rows stand in the right-hand column, the others in the left; within a column
// the back row is at the top.
QRect checkBoxTwips(int index, int perColumn)
{
    const int left = index < perColumn ? 2640 : 610;
    const int top = 540 + RowPitch * (perColumn - 1 - index % perColumn);
    return QRect(left, top, 1815, 345);
}

// Row 2.. of the room: its highest desk number first, as the classroom reads.
QString rowCaption(const Room &room, int row)
{
    if (room.isStandard())
        return RowCaptions[size_t(row - 2)];
    QList<int> desks;
    for (int column = 0; column < room.columns(); ++column)
        if (const int desk = room.deskNumber({row - 1, column}))
            desks.append(desk);
    if (desks.isEmpty())
        return QStringLiteral("（机なし）");
    const auto [lowest, highest] = std::minmax_element(desks.cbegin(), desks.cend());
    return QStringLiteral("No.%1 ～ No.%2").arg(*highest).arg(*lowest);
}

int rowOf(int index)
{
    return index + 2;
}

// The room a check box leaves for its caption beside the tick box.
int captionRoom(const QCheckBox *box)
{
    QStyleOptionButton option;
    option.initFrom(box);
    return box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box).width();
}

void setPointSize(QWidget *w, qreal points)
{
    QFont font = w->font();
    font.setPointSizeF(points);
    w->setFont(font);
}

} // namespace

NonPrintedRowsDialog::NonPrintedRowsDialog() : NonPrintedRowsDialog(shownRoom()) {}

NonPrintedRowsDialog::NonPrintedRowsDialog(const Room &room)
    : ButtonRowDialog(QStringLiteral("非印刷行の設定"), "NOPLINE",
                      QSize(5010, 2220 + RowPitch * (checksPerColumn(room) - 3)),
                      {QStringLiteral("Label1"), QStringLiteral("非印刷行にチェックして、OKボタンを押して下さい。"),
                       QRect(330, 210, 4425, 255), Face::UIGothic, 11.25, false, rgb(255, 255, 0)},
                      25)
{
    const QColor grey = rgb(128, 128, 128);
    const int checks = room.rows() - 1, perColumn = checksPerColumn(room);
    rowChecks.resize(checks);
    QStringList captions;
    // Made from the back row down the left column, then the right column: the tab order
    // follows the classroom as it is drawn.
    for (int i = checks - 1; i >= 0; --i) {
        captions.append(rowCaption(room, rowOf(i)));
        auto *box = new QCheckBox(captions.last(), this);
        box->setObjectName(QStringLiteral("Check1_%1").arg(i));
        const QRect r = checkBoxTwips(i, perColumn);
        box->setGeometry(twRect(r));
        box->setFont(makeFont(Face::PGothic, 11.25));
        setBackgroundColor(box, grey);
        setTextColor(box, rgb(255, 255, 128));
        box->setAccessibleDescription(rowText(rowOf(i)));
        rowChecks[i] = box;
    }
    // One size for all, so that the rows read alike.
    if (checks > 0) {
        const qreal points = fittingPointSize(rowChecks[0]->font(), captions, captionRoom(rowChecks[0]));
        for (QCheckBox *box : rowChecks)
            setPointSize(box, points);
    }

    addButtonRow();
    for (QPushButton *button : buttons)
        button->move(button->x(), button->y() + tw(RowPitch * (perColumn - 3)));
}

void NonPrintedRowsDialog::onLoad()
{
    const SharedState &s = state();
    for (int i = 0; i < rowChecks.size(); ++i)
        rowChecks[i]->setChecked(s.optLine(rowOf(i)));
}

void NonPrintedRowsDialog::okClicked()
{
    SharedState &s = state();
    for (int i = 0; i < rowChecks.size(); ++i) {
        const bool leftOff = rowChecks[i]->isChecked();
        // A store that refuses a key keeps the dialog open: the user can try again.
        if (!storeSetting(this, QStringLiteral("OptLine_%1").arg(rowOf(i)),
                          leftOff ? QStringLiteral("1") : QStringLiteral("0")))
            return;
        s.optLine(rowOf(i)) = leftOff;
    }
    unloadSelf();
}
