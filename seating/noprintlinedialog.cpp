#include "seating/noprintlinedialog.h"

#include "platform/platform.h"
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

// Captions of rowChecks(0..5), rows 2..7, highest seat first as the classroom reads.
const std::array<QString, 6> RowCaptions{
    QStringLiteral("No. 8  ～ No. 5"), QStringLiteral("No.12 ～ No. 9"), QStringLiteral("No.16 ～ No.13"),
    QStringLiteral("No.20 ～ No.17"),  QStringLiteral("No.24 ～ No.21"), QStringLiteral("No.28 ～ No.25"),
};

// Rows 2..4 stand in the right-hand column, rows 5..7 in the left; within a column
// the back row is at the top.
QRect checkBoxTwips(int index)
{
    const int left = index < 3 ? 2640 : 610;
    const int top = 540 + 360 * (2 - index % 3);
    return QRect(left, top, 1815, 345);
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

NonPrintedRowsDialog::NonPrintedRowsDialog()
    : ButtonRowDialog(QStringLiteral("非印刷行の設定"), "NOPLINE", QSize(5010, 2220),
                      {QStringLiteral("Label1"), QStringLiteral("非印刷行にチェックして、OKボタンを押して下さい。"),
                       QRect(330, 210, 4425, 255), Face::UIGothic, 11.25, false, rgb(255, 255, 0)},
                      25)
{
    const QColor grey = rgb(128, 128, 128);
    // Made from the back row down the left column, then the right column: the tab order
    // follows the classroom as it is drawn.
    for (int i = 5; i >= 0; --i) {
        auto *box = new QCheckBox(RowCaptions[size_t(i)], this);
        box->setObjectName(QStringLiteral("Check1_%1").arg(i));
        const QRect r = checkBoxTwips(i);
        box->setGeometry(twRect(r.x(), r.y(), r.width(), r.height()));
        box->setFont(makeFont(Face::PGothic, 11.25));
        setBackgroundColor(box, grey);
        setTextColor(box, rgb(255, 255, 128));
        box->setAccessibleDescription(rowText(rowOf(i)));
        rowChecks[size_t(i)] = box;
    }
    // One size for all six, so that the rows read alike.
    const qreal points = fittingPointSize(rowChecks[0]->font(), QStringList(RowCaptions.begin(), RowCaptions.end()),
                                          captionRoom(rowChecks[0]));
    for (QCheckBox *box : rowChecks)
        setPointSize(box, points);

    addButtonRow();
}

void NonPrintedRowsDialog::onLoad()
{
    const SharedState &s = state();
    for (int i = 0; i < 6; ++i)
        rowChecks[size_t(i)]->setChecked(s.optLine(rowOf(i)) == QLatin1String("1"));
}

void NonPrintedRowsDialog::okClicked()
{
    SharedState &s = state();
    for (int i = 0; i < 6; ++i) {
        const QString value = rowChecks[size_t(i)]->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
        // A store that refuses a key keeps the dialog open: the user can try again.
        if (!storeSetting(this, QStringLiteral("OptLine_%1").arg(rowOf(i)), value))
            return;
        s.optLine(rowOf(i)) = value;
    }
    unloadSelf();
}
