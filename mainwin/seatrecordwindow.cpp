#include "mainwin/seatrecordwindow.h"

#include "mainwin/mainwindow.h"
#include "platform/platform.h"
#include "widgets/navigator.h"
#include "widgets/ui.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

namespace
{

const QColor FrontColour = rgb(70, 130, 180);
const QColor BackColour = rgb(230, 140, 40);
const QColor MiddleColour = rgb(225, 225, 225);

constexpr int FrontShareRole = Qt::UserRole;
constexpr int BackShareRole = Qt::UserRole + 1;

// The front share from the left, the back share from the right, the rest of the rows between.
class ShareBarDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem panel = option;
        initStyleOption(&panel, index);
        panel.text.clear();
        const QWidget *view = option.widget;
        QStyle *style = view ? view->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &panel, painter, view);

        const QRect bar = option.rect.adjusted(4, 5, -4, -5);
        if (bar.width() <= 0 || bar.height() <= 0)
            return;
        const double front = index.data(FrontShareRole).toDouble();
        const double back = index.data(BackShareRole).toDouble();
        const int frontWidth = int(bar.width() * front + 0.5);
        const int backWidth = qMin(bar.width() - frontWidth, int(bar.width() * back + 0.5));
        painter->save();
        painter->fillRect(bar, MiddleColour);
        painter->fillRect(QRect(bar.left(), bar.top(), frontWidth, bar.height()), FrontColour);
        painter->fillRect(QRect(bar.right() - backWidth + 1, bar.top(), backWidth, bar.height()), BackColour);
        painter->setPen(option.palette.color(QPalette::Mid));
        painter->drawRect(bar.adjusted(0, 0, -1, -1));
        painter->restore();
    }
};

// Sorted by how far the pupil leans to the front: front share less back share.
class ShareItem : public QTableWidgetItem
{
public:
    ShareItem(double front, double back)
    {
        setData(FrontShareRole, front);
        setData(BackShareRole, back);
        const QString text = QStringLiteral("前 %1%・後 %2%").arg(qRound(front * 100)).arg(qRound(back * 100));
        setData(Qt::ToolTipRole, text);
        setData(Qt::AccessibleTextRole, text);
    }

    bool operator<(const QTableWidgetItem &other) const override
    {
        const auto lean = [](const QTableWidgetItem &item) {
            return item.data(FrontShareRole).toDouble() - item.data(BackShareRole).toDouble();
        };
        return lean(*this) < lean(other);
    }
};

QTableWidgetItem *numberItem(int value)
{
    auto *item = new QTableWidgetItem;
    item->setData(Qt::DisplayRole, value);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

QTableWidgetItem *textItem(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setToolTip(text);
    return item;
}

} // namespace

SeatRecordWindow::SeatRecordWindow() : FormDialog(seatRecordTitle(), 12000, 7200)
{
    setObjectName(QStringLiteral("SeatRecord"));
    auto *layout = new QVBoxLayout(this);

    summary = new QLabel(this);
    summary->setObjectName(QStringLiteral("summary"));
    summary->setWordWrap(true);
    summary->setTextFormat(Qt::RichText);
    layout->addWidget(summary);

    table = new QTableWidget(0, ColumnCount, this);
    table->setObjectName(QStringLiteral("table"));
    table->setHorizontalHeaderLabels({QStringLiteral("名前"), QStringLiteral("回数"), QStringLiteral("前"),
                                      QStringLiteral("後"), QStringLiteral("前と後の割合"),
                                      QStringLiteral("座った席")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    // Tab leaves the table for the button; the arrows move within it.
    table->setTabKeyNavigation(false);
    table->verticalHeader()->setVisible(false);
    // One line a pupil; a long seat list is cut short and shown whole in its tooltip.
    table->setWordWrap(false);
    table->setTextElideMode(Qt::ElideRight);
    table->setItemDelegateForColumn(ShareColumn, new ShareBarDelegate(table));
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(ShareColumn, QHeaderView::Fixed);
    table->horizontalHeader()->resizeSection(ShareColumn, 140);
    table->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(table, 1);

    closeButton = new QPushButton(QStringLiteral("閉じる"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(closeButton);
    layout->addLayout(buttons);
}

void SeatRecordWindow::showRecord(const SeatRecord &record)
{
    // Desk numbers name the same rows only when every chart is of one room.
    const auto part = [&record](QString (*desks)(const Room &), const QString &rows) {
        return record.room ? QStringLiteral("%1（%2）").arg(desks(*record.room), rows) : rows;
    };
    summary->setText(QStringLiteral("過去ﾛｸﾞの結果 %1 件から数えました。"
                                    "<span style=\"color:%2\">■</span> 前 = %3、"
                                    "<span style=\"color:%4\">■</span> 後 = %5。")
                         .arg(QString::number(record.charts), FrontColour.name(),
                              part(frontDesksText, QStringLiteral("教卓側の2行")), BackColour.name(),
                              part(backDesksText, QStringLiteral("後ろの2行"))));
    const QList<PupilSeatCount> &pupils = record.pupils;
    table->setSortingEnabled(false);
    table->clearContents();
    table->setRowCount(int(pupils.size()));
    for (int row = 0; row < pupils.size(); ++row) {
        const PupilSeatCount &p = pupils.at(row);
        table->setItem(row, NameColumn, textItem(p.name));
        table->setItem(row, ChartsColumn, numberItem(p.charts));
        table->setItem(row, FrontColumn, numberItem(p.front));
        table->setItem(row, BackColumn, numberItem(p.back));
        table->setItem(row, ShareColumn, new ShareItem(p.frontShare(), p.backShare()));
        table->setItem(row, SeatsColumn, textItem(seatsUsedText(p)));
    }
    // Roster order until the user sorts by a column.
    table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    table->setSortingEnabled(true);
    table->setCurrentCell(0, NameColumn);
    table->setFocus();
}

void SeatRecordWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    FormDialog::keyPressEvent(event);
}

void SeatRecordWindow::onCloseRequest(QCloseEvent *event)
{
    event->accept();
    navigator().raiseMainWindow();
}

void seatRecordCommand()
{
    MainWindow *main = loadedForm<MainWindow>();
    const SeatRecord record = seatRecordFor(state().openClass.pupils, QDir::currentPath());
    if (record.message) {
        showMessage(main, *record.message);
        return;
    }
    SeatRecordWindow *window = form<SeatRecordWindow>();
    window->showRecord(record);
    window->show();
    window->raise();
    window->activateWindow();
}
