#include "mainwin/seatrecordwindow.h"

#include "core/chartexport.h"
#include "core/clock.h"
#include "core/fileio.h"
#include "mainwin/mainwindow.h"
#include "mainwin/seatrecordprint.h"
#include "platform/platform.h"
#include "widgets/navigator.h"
#include "widgets/ui.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

namespace
{

const QColor FrontColour = rgb(70, 130, 180);
const QColor MiddleColour = rgb(225, 225, 225);
const QColor BackColour = rgb(230, 140, 40);

constexpr int FrontRole = Qt::UserRole;
constexpr int MiddleRole = Qt::UserRole + 1;
constexpr int BackRole = Qt::UserRole + 2;
constexpr int SortRole = Qt::UserRole + 3;  // what the column sorts by, when not its text
constexpr int PupilRole = Qt::UserRole + 4; // the row's index into the record's pupils
constexpr int BarWidth = 60;

// The front seats from the left, the middle ones, the back ones from the right, and the
// numbers after the bar (screen readers read those).
class PartsBarDelegate : public QStyledItemDelegate
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

        const int counts[] = {index.data(FrontRole).toInt(), index.data(MiddleRole).toInt(),
                              index.data(BackRole).toInt()};
        const QColor colours[] = {FrontColour, MiddleColour, BackColour};
        const int total = counts[0] + counts[1] + counts[2];
        const QRect bar(option.rect.left() + 4, option.rect.top() + 5, BarWidth, option.rect.height() - 10);
        painter->save();
        if (bar.height() > 0 && total > 0) {
            int left = bar.left(), done = 0;
            for (int part = 0; part < 3; ++part) {
                done += counts[part];
                const int right = bar.left() + (bar.width() * done + total / 2) / total;
                painter->fillRect(QRect(left, bar.top(), right - left, bar.height()), colours[part]);
                left = right;
            }
            painter->setPen(option.palette.color(QPalette::Mid));
            painter->drawRect(bar.adjusted(0, 0, -1, -1));
        }
        painter->setPen(
            option.palette.color(option.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(option.rect.adjusted(BarWidth + 10, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft,
                          index.data(Qt::DisplayRole).toString());
        painter->restore();
    }
};

// A cell sorted by its sort key when it has one (numbers as numbers), else by its text.
class RecordItem : public QTableWidgetItem
{
public:
    explicit RecordItem(const QString &text = QString()) : QTableWidgetItem(text) { setToolTip(text); }

    bool operator<(const QTableWidgetItem &other) const override
    {
        const QVariant mine = data(SortRole), theirs = other.data(SortRole);
        if (mine.isValid() && theirs.isValid())
            return mine.toDouble() < theirs.toDouble();
        return QTableWidgetItem::operator<(other);
    }
};

QTableWidgetItem *numberItem(int value)
{
    auto *item = new RecordItem;
    item->setData(Qt::DisplayRole, value);
    item->setData(SortRole, value);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

QTableWidgetItem *textItem(const QString &text, double sortKey)
{
    auto *item = new RecordItem(text);
    item->setData(SortRole, sortKey);
    return item;
}

// The sort choices: the roster's order, then by a column.
struct SortChoice {
    const char *label;
    int column; // -1: the roster's order
    Qt::SortOrder order;
};
const SortChoice SortChoices[] = {
    {"名簿の順", -1, Qt::AscendingOrder},
    {"氏名", SeatRecordWindow::NameColumn, Qt::AscendingOrder},
    {"回数の多い順", SeatRecordWindow::ChartsColumn, Qt::DescendingOrder},
    {"前の多い順", SeatRecordWindow::PartsColumn, Qt::DescendingOrder},
    {"後ろの多い順", SeatRecordWindow::PartsColumn, Qt::AscendingOrder},
    {"使った席の多い順", SeatRecordWindow::SeatsColumn, Qt::DescendingOrder},
    {"隣になった人の多い順", SeatRecordWindow::DeskmatesColumn, Qt::DescendingOrder},
};

QPushButton *button(const QString &text, const char *name, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

} // namespace

SeatRecordWindow::SeatRecordWindow() : FormDialog(seatRecordTitle(), 12000, 8400)
{
    setObjectName(QStringLiteral("SeatRecord"));
    auto *layout = new QVBoxLayout(this);

    summary = new QLabel(this);
    summary->setObjectName(QStringLiteral("summary"));
    summary->setWordWrap(true);
    summary->setTextFormat(Qt::RichText);
    layout->addWidget(summary);

    tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("tabs"));
    layout->addWidget(tabs, 1);

    auto *pupilsPage = new QWidget;
    auto *pupilsLayout = new QVBoxLayout(pupilsPage);
    auto *sortRow = new QHBoxLayout;
    sortBox = new QComboBox(pupilsPage);
    sortBox->setObjectName(QStringLiteral("sortBox"));
    for (const SortChoice &choice : SortChoices)
        sortBox->addItem(QString::fromUtf8(choice.label));
    auto *sortLabel = new QLabel(QStringLiteral("並べ替え(&O):"), pupilsPage);
    sortLabel->setBuddy(sortBox);
    sortRow->addWidget(sortLabel);
    sortRow->addWidget(sortBox);
    sortRow->addStretch();
    pupilsLayout->addLayout(sortRow);
    connect(sortBox, &QComboBox::activated, this, &SeatRecordWindow::sortAsChosen);

    table = new QTableWidget(0, ColumnCount, pupilsPage);
    table->setObjectName(QStringLiteral("table"));
    table->setHorizontalHeaderLabels({QStringLiteral("氏名"), QStringLiteral("回数"), QStringLiteral("前/中/後"),
                                      QStringLiteral("使った席"), QStringLiteral("隣になった人")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    // Tab leaves the table for the buttons; the arrows move within it.
    table->setTabKeyNavigation(false);
    table->verticalHeader()->setVisible(false);
    table->verticalHeader()->setDefaultSectionSize(24);
    // One line a pupil; a long list is cut short and shown whole in its tooltip.
    table->setWordWrap(false);
    table->setTextElideMode(Qt::ElideRight);
    table->setItemDelegateForColumn(PartsColumn, new PartsBarDelegate(table));
    QHeaderView *header = table->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->resizeSection(NameColumn, 110);
    header->resizeSection(ChartsColumn, 50);
    header->resizeSection(PartsColumn, BarWidth + 130);
    header->resizeSection(SeatsColumn, 185);
    header->setStretchLastSection(true);
    pupilsLayout->addWidget(table, 1);
    tabs->addTab(pupilsPage, QStringLiteral("一人ずつ"));

    pairs = new QTableWidget(this);
    pairs->setObjectName(QStringLiteral("pairs"));
    pairs->setEditTriggers(QAbstractItemView::NoEditTriggers);
    pairs->setSelectionMode(QAbstractItemView::SingleSelection);
    pairs->setTabKeyNavigation(false);
    pairs->setShowGrid(true);
    pairs->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    pairs->horizontalHeader()->setDefaultSectionSize(18);
    pairs->horizontalHeader()->setMinimumSectionSize(18);
    pairs->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    pairs->verticalHeader()->setDefaultSectionSize(18);
    tabs->addTab(pairs, QStringLiteral("隣の組み合わせ"));

    auto *chartsPage = new QWidget;
    auto *chartsLayout = new QVBoxLayout(chartsPage);
    auto *chartsLabel = new QLabel(
        QStringLiteral("数えた席替え(&L)（試しに行った席替えは削除すると数えられなくなります）:"), chartsPage);
    chartList = new QListWidget(chartsPage);
    chartList->setObjectName(QStringLiteral("chartList"));
    chartsLabel->setBuddy(chartList);
    removeButton = button(QStringLiteral("削除(&D)"), "removeButton", chartsPage);
    connect(removeButton, &QPushButton::clicked, this, &SeatRecordWindow::removeChart);
    connect(chartList, &QListWidget::currentRowChanged, this,
            [this](int row) { removeButton->setEnabled(row >= 0 && !rosterPath_.isEmpty()); });
    auto *removeRow = new QHBoxLayout;
    removeRow->addStretch();
    removeRow->addWidget(removeButton);
    chartsLayout->addWidget(chartsLabel);
    chartsLayout->addWidget(chartList, 1);
    chartsLayout->addLayout(removeRow);
    tabs->addTab(chartsPage, QStringLiteral("数えた席替え"));

    printButton = button(QStringLiteral("印刷(&P)..."), "printButton", this);
    connect(printButton, &QPushButton::clicked, this, [this] { printSeatRecord(this, record_, shownRows()); });
    csvButton = button(QStringLiteral("CSVで保存(&S)..."), "csvButton", this);
    connect(csvButton, &QPushButton::clicked, this, &SeatRecordWindow::saveCsv);
    closeButton = button(QStringLiteral("閉じる"), "closeButton", this);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(printButton);
    buttons->addWidget(csvButton);
    buttons->addStretch();
    buttons->addWidget(closeButton);
    layout->addLayout(buttons);
}

void SeatRecordWindow::setClass(const QStringList &roster, const QString &rosterPath, const QString &folder)
{
    roster_ = roster;
    rosterPath_ = rosterPath;
    folder_ = folder;
}

void SeatRecordWindow::showRecord(const SeatRecord &record)
{
    record_ = record;
    const bool shown = !record.message;
    if (record.message) {
        summary->setText(record.message->text.toHtmlEscaped().replace(u'\r', QStringLiteral("<br>")));
    } else {
        // Desk numbers name the same rows only when every chart is of one room.
        const auto part = [&record](QString (*desks)(const Room &), const QString &rows) {
            return record.room ? QStringLiteral("%1（%2）").arg(desks(*record.room), rows) : rows;
        };
        summary->setText(
            QStringLiteral("席替え %1 回分から数えました（%2～%3）。"
                           "<span style=\"color:%4\">■</span> 前 = %5、<span style=\"color:%6\">■</span> 中、"
                           "<span style=\"color:%7\">■</span> 後 = %8。")
                .arg(QString::number(record.charts.size()),
                     record.charts.constFirst().kept.toLocalTime().toString(QStringLiteral("yyyy/MM/dd")),
                     record.charts.constLast().kept.toLocalTime().toString(QStringLiteral("yyyy/MM/dd")),
                     FrontColour.name(), part(frontDesksText, QStringLiteral("教卓側の2行")), MiddleColour.name(),
                     BackColour.name(), part(backDesksText, QStringLiteral("後ろの2行"))));
    }
    fillTable();

    // The pairs: a row and a column a pupil, numbered, the names down the side.
    const QList<PupilSeatCount> &pupils = record.pupils;
    const int n = int(pupils.size());
    pairs->clear();
    pairs->setRowCount(n);
    pairs->setColumnCount(n);
    int most = 0;
    for (const QList<int> &row : record.together)
        most = std::max(most, row.isEmpty() ? 0 : *std::max_element(row.cbegin(), row.cend()));
    QStringList numbers, names;
    for (int i = 0; i < n; ++i) {
        numbers.append(QString::number(i + 1));
        names.append(QStringLiteral("%1 %2").arg(i + 1).arg(pupils.at(i).name));
    }
    pairs->setHorizontalHeaderLabels(numbers);
    pairs->setVerticalHeaderLabels(names);
    for (int i = 0; i < n; ++i) {
        pairs->horizontalHeaderItem(i)->setToolTip(pupils.at(i).name);
        for (int j = 0; j < n; ++j) {
            auto *item = new QTableWidgetItem;
            if (i == j) {
                item->setBackground(palette().color(QPalette::Mid));
                item->setFlags(Qt::ItemIsEnabled);
            } else {
                const int times = record.together.at(i).at(j);
                const QString text = togetherText(pupils.at(i).name, pupils.at(j).name, times);
                item->setBackground(pairShade(times, most));
                item->setToolTip(text);
                item->setData(Qt::AccessibleTextRole, text);
            }
            pairs->setItem(i, j, item);
        }
    }

    chartList->clear();
    for (const KeptChart &chart : record.charts)
        chartList->addItem(keptChartText(chart));
    chartList->setCurrentRow(int(record.charts.size()) - 1);
    removeButton->setEnabled(!record.charts.isEmpty() && !rosterPath_.isEmpty());
    removeButton->setToolTip(rosterPath_.isEmpty() ? QStringLiteral("名簿を保存すると、席替えを削除できます。")
                                                   : QString());
    printButton->setEnabled(shown);
    csvButton->setEnabled(shown);
    table->setFocus();
}

void SeatRecordWindow::fillTable()
{
    const QList<PupilSeatCount> &pupils = record_.pupils;
    table->setSortingEnabled(false);
    table->clearContents();
    table->setRowCount(record_.message ? 0 : int(pupils.size()));
    for (int row = 0; row < table->rowCount(); ++row) {
        const PupilSeatCount &p = pupils.at(row);
        auto *name = new RecordItem(p.name);
        name->setData(PupilRole, row);
        table->setItem(row, NameColumn, name);
        table->setItem(row, ChartsColumn, numberItem(p.charts));
        const QString parts = QStringLiteral("前%1・中%2・後%3").arg(p.front).arg(p.middle).arg(p.back);
        // By how far the pupil leans to the front: front share less back share.
        auto *bar = textItem(parts, p.frontShare() - p.backShare());
        bar->setData(FrontRole, p.front);
        bar->setData(MiddleRole, p.middle);
        bar->setData(BackRole, p.back);
        bar->setData(Qt::AccessibleTextRole, parts);
        table->setItem(row, PartsColumn, bar);
        table->setItem(row, SeatsColumn, textItem(seatsUsedText(p), double(p.seats.size())));
        table->setItem(row, DeskmatesColumn, textItem(deskmatesText(p), double(p.deskmates.size())));
    }
    // Roster order until the user sorts by a column.
    table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    table->setSortingEnabled(true);
    table->setCurrentCell(0, NameColumn);
}

void SeatRecordWindow::sortAsChosen(int choice)
{
    const SortChoice &chosen = SortChoices[std::clamp(choice, 0, int(std::size(SortChoices)) - 1)];
    if (chosen.column < 0)
        fillTable();
    else
        table->sortByColumn(chosen.column, chosen.order);
}

QList<int> SeatRecordWindow::shownRows() const
{
    QList<int> rows;
    for (int row = 0; row < table->rowCount(); ++row)
        rows.append(table->item(row, NameColumn)->data(PupilRole).toInt());
    return rows;
}

void SeatRecordWindow::removeChart()
{
    const int index = chartList->currentRow();
    if (index < 0 || index >= record_.charts.size() || rosterPath_.isEmpty())
        return;
    if (showMessage(this, forgetChartQuestion(record_.charts.at(index))) != IDOK)
        return;
    const QString reason = forgetChartOfClass(rosterPath_, record_.charts.at(index).run, folder_, roster_);
    if (!reason.isEmpty()) {
        showMessage(this, chartNotForgottenMessage(reason));
        return;
    }
    if (rosterPath_ == state().ClassRosterPath)
        forgetChart(state().openClass.year, record_.charts.at(index).run);
    // Counted again, in the order the user chose.
    const int tab = tabs->currentIndex(), sortedBy = table->horizontalHeader()->sortIndicatorSection();
    const Qt::SortOrder order = table->horizontalHeader()->sortIndicatorOrder();
    showRecord(seatRecordFor(roster_, rosterPath_, folder_));
    if (sortedBy >= 0 && sortedBy < ColumnCount)
        table->sortByColumn(sortedBy, order);
    tabs->setCurrentIndex(tab);
    chartList->setCurrentRow(std::min(index, chartList->count() - 1));
    chartList->setFocus();
}

void SeatRecordWindow::saveCsv()
{
    const QString path = csvDialog.chooseCsvFile(
        this, QStringLiteral("CSVで保存"),
        QDir(folder_).absoluteFilePath(
            QStringLiteral("席の記録-%1.csv").arg(currentDateTime().date().toString(QStringLiteral("yyyyMMdd")))));
    if (path.isEmpty())
        return;
    const QString reason = writeFileAtomically(path, seatRecordCsv(record_, shownRows()));
    showMessage(this, reason.isEmpty() ? MessageText{QStringLiteral("席の記録をCSVﾌｧｲﾙに保存しました。"),
                                                     QStringLiteral("保存確認"), MsgStyle::Information}
                                       : csvNotWrittenMessage(path, reason));
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
    const SharedState &s = state();
    const SeatRecord record = seatRecordFor(s.openClass.pupils, s.ClassRosterPath, QDir::currentPath());
    if (record.message) {
        showMessage(main, *record.message);
        return;
    }
    SeatRecordWindow *window = form<SeatRecordWindow>();
    window->setClass(s.openClass.pupils, s.ClassRosterPath, QDir::currentPath());
    window->showRecord(record);
    window->show();
    window->raise();
    window->activateWindow();
}
