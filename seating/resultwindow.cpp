#include "seating/resultwindow.h"

#include "core/chartexport.h"
#include "core/chartgrid.h"
#include "core/clock.h"
#include "core/deskswap.h"
#include "core/fileio.h"
#include "core/ledger.h"
#include "core/repeatavoidance.h"
#include "core/resultsave.h"
#include "platform/platform.h"
#include "seating/chartscreen.h"
#include "seating/printing.h"
#include "widgets/chartdrawing.h"
#include "widgets/mainwindowstate.h"
#include "widgets/menus.h"
#include "widgets/navigator.h"
#include "widgets/seatbox.h"
#include "widgets/storesetting.h"
#include "widgets/ui.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cstdlib>

namespace
{

const QColor Grey = rgb(128, 128, 128);
constexpr qreal LetteringPoints = 12;
// The smallest a name is shrunk to before it is cut.
constexpr qreal SmallestNamePoints = 7.5;
const QColor LightGrey = rgb(192, 192, 192);
// A desk picked up for a swap.
const QColor HeldColour = rgb(255, 224, 128);

QString saveFilter()
{
    return QStringLiteral("結果ﾌｧｲﾙ(*.RLT)|*.RLT|旧結果ﾌｧｲﾙ(*.DAT)|*.DAT|すべてのﾌｧｲﾙ(*.*)|*.*");
}

} // namespace

QString resultStatusText()
{
    return QStringLiteral("結果に対しては・・・  いつも、(^_^)(^_^)ﾆｺﾆｺ 笑顔で了解");
}

ResultWindow::ResultWindow() : FormWindow(QStringLiteral("ならびん結果"), "RESULT", Grey)
{
    buildSeats();
    buildMenus();
    buildChrome({{{false, QStringLiteral("document-save"), QStyle::SP_DialogSaveButton, QStringLiteral(" 結果の保存 "),
                   [this] { saveChart(); }},
                  {false, QStringLiteral("dialog-ok"), QStyle::SP_DialogOkButton, QStringLiteral(" 了解  "),
                   [this] { acknowledge(); }},
                  toolbarSeparator(),
                  {false, QStringLiteral("document-print"), QStyle::SP_FileDialogContentsView, QStringLiteral(" 印刷 "),
                   [] { printResultCommand(); }}},
                 resultStatusText(),
                 0,
                 0,
                 1350,
                 46,
                 "mnuDummy3"});
}

void ChartMarks::setChart(const ChartLayout &layout)
{
    layout_ = layout;
    setVisible(!layout_.groups().isEmpty() || !layout_.aisles().isEmpty());
    update();
}

void ChartMarks::setLeftOut(const QList<int> &groups)
{
    leftOut_ = groups;
    update();
}

void ChartMarks::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QTransform toPixels = QTransform::fromScale(1.0 / 15, 1.0 / 15);
    const QColor ink = palette().color(QPalette::WindowText);
    drawAisles(painter, layout_, toPixels, ink, 1);
    drawGroupFrames(painter, layout_, toPixels, ink, 2, leftOut_);
}

void ResultWindow::buildSeats()
{
    qDeleteAll(seatCaptions);
    qDeleteAll(seatBoxes);
    qDeleteAll(groupLabels);
    seatCaptions.clear();
    seatBoxes.clear();
    groupLabels.clear();
    const ChartLayout layout(room_, false);
    // A room too large for the window's area at full size widens it.
    const QSize clientSize(tw(layout.size().width()), tw(layout.size().height()));
    if (client()->size() != clientSize) {
        client()->setFixedSize(clientSize);
        if (toolbar) {
            toolbar->setGeometry(0, 0, clientSize.width(), toolbar->height());
            statusPanels->setGeometry(0, clientSize.height() - statusPanels->height(), clientSize.width(),
                                      statusPanels->height());
            fixSize();
        }
    }
    if (!chartMarks) {
        chartMarks = new ChartMarks(client());
        chartMarks->setAttribute(Qt::WA_TransparentForMouseEvents);
        setTextColor(chartMarks, Qt::white);
    }
    chartMarks->setGeometry(client()->rect());
    chartMarks->lower();

    const int desks = room_.deskCount();
    // A room shrunk to fit has its lettering shrunk alike; every number fits its caption.
    const qreal shrink = desks > 0 ? std::min(1.0, qreal(layout.box(1).height()) / seatBoxTwips(1, false).height()) : 1;
    namePoints_ = LetteringPoints;
    qreal captionPoints = LetteringPoints;
    if (!room_.isStandard()) {
        namePoints_ = LetteringPoints * shrink;
        captionPoints = fittingPointSize(makeFont(Face::PGothic, namePoints_), {QStringLiteral("No.%1").arg(desks)},
                                         tw(layout.caption(1).width()));
    }
    // Captions first, so that a box lies over the caption above it where they meet.
    for (int i = 0; i < desks; ++i) {
        seatCaptions.append(makeLabel(client(), {QStringLiteral("Label1_%1").arg(i), QStringLiteral("No.%1").arg(i + 1),
                                                 layout.caption(i + 1), Face::PGothic, captionPoints, false, Qt::white,
                                                 std::nullopt, false, Qt::AlignHCenter | Qt::AlignTop}));
    }
    for (int i = 0; i < desks; ++i) {
        auto *box = new NameLabel(client());
        setUpLabel(box, {QStringLiteral("Label3_%1").arg(i), QString(), layout.box(i + 1), Face::PGothic, namePoints_,
                         false, Qt::black, LightGrey, true, Qt::AlignCenter});
        box->setFocusPolicy(swappable_ ? Qt::StrongFocus : Qt::NoFocus);
        box->installEventFilter(this);
        seatBoxes.append(box);
    }
    for (const ChartGroup &group : layout.groups()) {
        const QString text = groupLabelText(group.number);
        // Clear of the caption beside it, so that the two read as two.
        const qreal points =
            fittingPointSize(makeFont(Face::PGothic, captionPoints), {text}, tw(group.label.width()) * 4 / 5);
        QLabel *label =
            makeLabel(client(), {QStringLiteral("GroupLabel_%1").arg(group.number), text, group.label, Face::PGothic,
                                 points, false, Qt::white, std::nullopt, false, Qt::AlignLeft | Qt::AlignTop});
        label->setAccessibleName(text);
        groupLabels.append(label);
    }
    if (!desk) {
        desk =
            makeLabel(client(), {QStringLiteral("Label4"), QStringLiteral("教     卓"), deskTwips(false), Face::PGothic,
                                 LetteringPoints, false, Qt::black, LightGrey, true, Qt::AlignCenter});
    }
    QFont deskFont = makeFont(Face::PGothic, LetteringPoints);
    if (!room_.isStandard())
        deskFont.setPointSizeF(fittingPointSize(makeFont(Face::PGothic, namePoints_), {desk->text()},
                                                tw(layout.teachersDesk().width()) - 4));
    desk->setFont(deskFont);
    for (QWidget *bar : {static_cast<QWidget *>(toolbar), static_cast<QWidget *>(statusPanels)})
        if (bar)
            bar->raise();
    arrangeSeats(teacherView());
}

bool ResultWindow::teacherView() const
{
    return state().OptTeacherView;
}

void ResultWindow::arrangeSeats(bool teacherView)
{
    const ChartLayout layout(room_, teacherView);
    for (int i = 0; i < seatBoxes.size(); ++i) {
        seatCaptions[i]->setGeometry(twRect(layout.caption(i + 1)));
        seatBoxes[i]->setGeometry(twRect(layout.box(i + 1)));
    }
    for (int i = 0; i < groupLabels.size(); ++i)
        groupLabels[i]->setGeometry(twRect(layout.groups().at(i).label));
    desk->setGeometry(twRect(layout.teachersDesk()));
    chartMarks->setChart(layout);
}

void ResultWindow::buildMenus()
{
    addMenu(this, "mnuFile", QStringLiteral("ﾌｧｲﾙ(F)"),
            {{"mnuResultSave", QStringLiteral("結果の保存(&S)..."), [this] { saveChart(); }, &saveAction},
             {"mnuPrint", QStringLiteral("印刷(&P)..."), printResultCommand, &printAction},
             {"mnuDummy"},
             {"mnuOK", QStringLiteral("了解(&X)"), [this] { acknowledge(); }, &okAction},
             {"mnuDummyExport"},
             {"mnuExportCsv", QStringLiteral("CSV形式で書き出し(&E)..."), [this] { exportCsv(); }, &exportCsvAction},
             {"mnuCopyChart", QStringLiteral("座席表をコピー(&C)"), [this] { copyChart(); }, &copyChartAction}});
    addMenu(this, "mnuOption", QStringLiteral("ｵﾌﾟｼｮﾝ(&O)"),
            {{"mnuNoPrintLine", QStringLiteral("非印刷行の設定(&L)..."), showNoPrintLineDialog, &nonPrintedRowsAction},
             {"mnuPrintStatusBar", QStringLiteral("ｽﾃｰﾀｽﾊﾞｰの印刷(&S)"), {}, &printStatusBarAction},
             // Here as well as in the print dialog, which shows its option tab only under X11.
             {"mnuFitToPage", QStringLiteral("用紙に合わせて拡大して印刷(&Z)"), {}, &fitToPageAction},
             {"mnuDummyView"},
             {"mnuTeacherView", QStringLiteral("教卓側から見る(&T)"), {}, &teacherViewAction},
             {"mnuFullScreen", QStringLiteral("全画面表示(&F)"), [this] { showChartFullScreen(); }, &fullScreenAction,
              QKeySequence(Qt::Key_F11)}});
    printStatusBarAction->setCheckable(true);
    fitToPageAction->setCheckable(true);
    teacherViewAction->setCheckable(true);
    teacherViewAction->setChecked(teacherView());
    connect(teacherViewAction, &QAction::triggered, this, [this](bool checked) {
        teacherViewAction->setChecked(!checked);
        toggleTeacherView();
    });
    // The handler flips the check mark itself; undo the action's own flip first.
    connect(printStatusBarAction, &QAction::triggered, this, [this](bool checked) {
        printStatusBarAction->setChecked(!checked);
        togglePrintStatusBar();
    });
    connect(fitToPageAction, &QAction::triggered, this, [this](bool checked) {
        fitToPageAction->setChecked(!checked);
        storeCheck(this, fitToPageAction, QStringLiteral("OptFitToPage"), checked, state().OptFitToPage);
    });
}

void ResultWindow::onLoad()
{
    SharedState &s = state();
    fixSize();
    printStatusBarAction->setChecked(s.OptPsbar);
    fitToPageAction->setChecked(s.OptFitToPage);
    if (!s.RosterFileName.isEmpty())
        mainWindowState().enablePreviousResult();
    s.ResultShown = true;
    showDateAndTime();
}

QStringList ResultWindow::seatTexts() const
{
    QStringList texts;
    for (const QLabel *box : seatBoxes)
        texts.append(box->text());
    return texts;
}

void ResultWindow::setChart(const Room &room, const QStringList &texts)
{
    // A chart read back from a file is shown as it is.
    allowSwaps(false);
    if (room != room_) {
        room_ = room;
        buildSeats();
    }
    setSeatTexts(texts);
}

void ResultWindow::showClassChart()
{
    const ClassModel &c = state().openClass;
    setChart(c.room, chartTexts(c.chart));
    allowSwaps(true);
    // Arrows and Space work at once, from the first desk.
    if (!seatBoxes.isEmpty())
        seatBoxes.constFirst()->setFocus();
}

void ResultWindow::allowSwaps(bool allowed)
{
    swappable_ = allowed;
    pressed_ = draggedOver_ = 0;
    dragging_ = false;
    for (QLabel *box : seatBoxes)
        box->setFocusPolicy(allowed ? Qt::StrongFocus : Qt::NoFocus);
    letGo();
}

bool ResultWindow::swapSeats(int a, int b)
{
    if (!swappable_)
        return false;
    SharedState &s = state();
    const DeskSwap swap = swapDesks(s.openClass, a, b, run_);
    if (swap.refusal)
        showMessage(this, *swap.refusal);
    if (!swap.chart)
        return false;
    // The chart kept is the one the teacher made: saved, printed and avoided next time.
    s.openClass.chart = *swap.chart;
    s.LastCharts.insert(rosterKey(s.openClass.pupils, s.openClass.room), chartTexts(s.openClass.chart));
    setSeatTexts(chartTexts(s.openClass.chart));
    return true;
}

int ResultWindow::deskAt(QPoint inClient) const
{
    for (int i = 0; i < seatBoxes.size(); ++i) {
        if (seatBoxes[i]->geometry().contains(inClient))
            return i + 1;
    }
    return 0;
}

int ResultWindow::deskTowards(int desk, int key) const
{
    const QPoint from = seatBoxes[desk - 1]->geometry().center();
    int best = 0;
    int bestScore = 0;
    for (int i = 0; i < seatBoxes.size(); ++i) {
        const QPoint d = seatBoxes[i]->geometry().center() - from;
        const bool across = key == Qt::Key_Left || key == Qt::Key_Right;
        const int ahead = key == Qt::Key_Left    ? -d.x()
                          : key == Qt::Key_Right ? d.x()
                          : key == Qt::Key_Up    ? -d.y()
                                                 : d.y();
        if (ahead <= 0)
            continue;
        // The desk straight ahead before one off to the side.
        const int score = ahead + 3 * std::abs(across ? d.y() : d.x());
        if (!best || score < bestScore) {
            best = i + 1;
            bestScore = score;
        }
    }
    return best;
}

void ResultWindow::pickUp(int desk)
{
    const QString name = seatBoxes[desk - 1]->text().trimmed();
    if (name.isEmpty()) {
        statusPanels->setPanelText(1, QStringLiteral("No.%1には生徒がいません。").arg(desk));
        return;
    }
    held_ = desk;
    statusPanels->setPanelText(
        1, QStringLiteral("No.%1 %2 を移します。移す先で Space か Enter、やめるときは Esc。").arg(desk).arg(name));
    markSeats();
}

void ResultWindow::letGo()
{
    held_ = 0;
    if (statusPanels)
        statusPanels->setPanelText(1, resultStatusText());
    markSeats();
}

void ResultWindow::markSeats(bool shown)
{
    const QWidget *focused = focusWidget();
    for (int i = 0; i < seatBoxes.size(); ++i) {
        QLabel *box = seatBoxes[i];
        const bool held = shown && (i + 1 == held_ || (dragging_ && i + 1 == pressed_));
        const bool framed = shown && swappable_ && (dragging_ ? i + 1 == draggedOver_ : box == focused);
        setBackgroundColor(box, held ? HeldColour : LightGrey);
        box->setLineWidth(framed ? 2 : 1);
    }
}

bool ResultWindow::seatMouseEvent(int desk, const QMouseEvent *event)
{
    // The box pressed keeps the mouse until the release, wherever it goes.
    const QPoint at = seatBoxes[desk - 1]->mapTo(client(), event->position().toPoint());
    if (event->type() == QEvent::MouseButtonPress) {
        if (event->button() != Qt::LeftButton)
            return false;
        letGo();
        seatBoxes[desk - 1]->setFocus(Qt::MouseFocusReason);
        const bool seated = state().openClass.chart.value(desk - 1).kind == ChartDesk::Kind::Pupil;
        pressed_ = seated ? desk : 0;
        pressedAt_ = at;
        return true;
    }
    if (!pressed_)
        return false;
    if (event->type() == QEvent::MouseMove) {
        if (!(event->buttons() & Qt::LeftButton))
            return false;
        if (!dragging_ && (at - pressedAt_).manhattanLength() < QApplication::startDragDistance())
            return true;
        if (!dragging_) {
            dragging_ = true;
            seatBoxes[pressed_ - 1]->setCursor(Qt::ClosedHandCursor);
            statusPanels->setPanelText(1, QStringLiteral("No.%1 %2 を移します。移す先で放して下さい。")
                                              .arg(pressed_)
                                              .arg(seatBoxes[pressed_ - 1]->text().trimmed()));
        }
        draggedOver_ = deskAt(at);
        markSeats();
        return true;
    }
    if (event->type() != QEvent::MouseButtonRelease || event->button() != Qt::LeftButton)
        return false;
    const int from = pressed_;
    const bool dragged = dragging_;
    seatBoxes[from - 1]->unsetCursor();
    pressed_ = draggedOver_ = 0;
    dragging_ = false;
    letGo();
    if (const int to = deskAt(at); dragged && to && to != from) {
        seatBoxes[to - 1]->setFocus(Qt::MouseFocusReason);
        swapSeats(from, to);
    }
    return true;
}

bool ResultWindow::seatKeyEvent(int desk, const QKeyEvent *event)
{
    if ((event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (const int to = deskTowards(desk, event->key()))
            seatBoxes[to - 1]->setFocus(Qt::OtherFocusReason);
        return true;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!held_) {
            pickUp(desk);
        } else if (held_ == desk) {
            letGo();
        } else {
            const int from = held_;
            letGo();
            swapSeats(from, desk);
        }
        return true;
    case Qt::Key_Escape:
        if (!held_)
            return false;
        letGo();
        return true;
    default: return false;
    }
}

bool ResultWindow::eventFilter(QObject *watched, QEvent *event)
{
    const auto box = std::find(seatBoxes.cbegin(), seatBoxes.cend(), watched);
    if (box != seatBoxes.cend() && swappable_) {
        const int desk = int(box - seatBoxes.cbegin()) + 1;
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease: return seatMouseEvent(desk, static_cast<QMouseEvent *>(event));
        case QEvent::KeyPress: return seatKeyEvent(desk, static_cast<QKeyEvent *>(event));
        case QEvent::FocusIn:
        case QEvent::FocusOut: markSeats(); break;
        default: break;
        }
    }
    return FormWindow::eventFilter(watched, event);
}

void ResultWindow::setSeatTexts(const QStringList &texts)
{
    for (int i = 0; i < seatBoxes.size(); ++i) {
        const QString text = texts.value(i);
        seatBoxes[i]->setText(text);
        // A named label is read by its name only: the pupil goes into it.
        nameSeat(seatBoxes[i], i + 1, text.trimmed());
        if (!room_.isStandard()) {
            seatBoxes[i]->setAccessibleDescription(rowText(room_.cellOfDesk(i + 1)->row + 1));
            // Narrow boxes: a name shrinks to fit before it is cut.
            QFont font = makeFont(Face::PGothic, namePoints_);
            font.setPointSizeF(
                std::max(SmallestNamePoints,
                         fittingPointSize(font, {text.trimmed()}, seatBoxes[i]->contentsRect().width() - 4)));
            seatBoxes[i]->setFont(font);
        }
    }
    if (fullScreen_)
        fullScreen_->setChart(room_, seatTexts(), teacherView());
}

void ResultWindow::acknowledge()
{
    keepShownChart({});
    unloadSelf();
    bringBackMainWindow();
}

void ResultWindow::bringBackMainWindow()
{
    if (!state().RosterFileName.isEmpty())
        mainWindowState().enablePreviousResult();
    navigator().showMainWindow();
}

void ResultWindow::onCloseRequest(QCloseEvent *event)
{
    event->accept();
    keepShownChart({});
    unloadSelf();
    bringBackMainWindow();
}

void ResultWindow::keepShownChart(const QString &file)
{
    const SharedState &s = state();
    if (run_.isEmpty() || s.RosterFileName.isEmpty())
        return;
    const KeptChart chart{run_, currentDateTime(), room_, seatTexts(),
                          file.isEmpty() ? QStringList() : QStringList{file}};
    const QString error = keepChartOfClass(s.RosterFileName, chart, QDir::currentPath(), s.openClass.pupils);
    if (!error.isEmpty()) {
        showMessage(this, QStringLiteral("この席替えを一年の記録に残せませんでした。\r") + error, MsgStyle::Exclamation,
                    QStringLiteral("席替えの記録"));
        return;
    }
    keepChart(state().openClass.year, chart);
}

void ResultWindow::saveChart()
{
    fileDialog.title = QStringLiteral("ならびん結果の保存");
    fileDialog.filter = saveFilter();
    if (!fileDialog.showSave(this))
        return;
    SharedState &s = state();
    s.ResultSaveFileName = fileDialog.fileTitle;
    // The dialog made the chosen folder the current directory; the result and the log go there.
    const ResultSaveOutcome outcome = saveResult(QDir::currentPath(), s.ResultSaveFileName, room_, seatTexts());
    if (!outcome.log.isEmpty())
        s.ResultLogList = outcome.log;
    showMessage(this, resultSaveMessage(outcome));
    if (outcome.kind == ResultSaveOutcome::Kind::Saved) {
        keepShownChart(outcome.name);
        acknowledge();
    }
}

void ResultWindow::togglePrintStatusBar()
{
    // Like every option: what could not be stored is not changed either.
    storeCheck(this, printStatusBarAction, QStringLiteral("OptPsbar"), !printStatusBarAction->isChecked(),
               state().OptPsbar);
}

void ResultWindow::toggleTeacherView()
{
    const bool turned = !teacherViewAction->isChecked();
    if (!storeCheck(this, teacherViewAction, QStringLiteral("OptTeacherView"), turned, state().OptTeacherView))
        return;
    arrangeSeats(turned);
    if (fullScreen_)
        fullScreen_->setChart(room_, seatTexts(), turned);
}

void ResultWindow::showChartFullScreen()
{
    if (!fullScreen_) {
        fullScreen_ = new ChartScreen(this);
        connect(fullScreen_, &ChartScreen::left, this, [this] {
            raise();
            activateWindow();
        });
    }
    fullScreen_->setChart(room_, seatTexts(), teacherView());
    // On the screen the window is on, so that the chart reaches the projector it was moved to.
    if (screen())
        fullScreen_->setGeometry(screen()->geometry());
    fullScreen_->showFullScreen();
    fullScreen_->raise();
    fullScreen_->activateWindow();
    fullScreen_->setFocus();
}

void ResultWindow::leaveFullScreen()
{
    if (fullScreen_)
        fullScreen_->close();
}

ChartScreen *ResultWindow::fullScreenChart() const
{
    return fullScreen_ && fullScreen_->isVisible() ? fullScreen_.data() : nullptr;
}

void ResultWindow::exportCsv()
{
    const QString path =
        csvDialog.chooseCsvFile(this, QStringLiteral("CSV形式で書き出し"),
                                QDir::current().absoluteFilePath(chartCsvFileName(currentDateTime().date())));
    if (path.isEmpty())
        return;
    const QString reason = writeFileAtomically(path, chartCsv(room_, seatTexts()));
    showMessage(this, reason.isEmpty() ? csvSavedMessage() : csvNotWrittenMessage(path, reason));
}

void ResultWindow::copyChart()
{
    auto *data = new QMimeData;
    // The chart without the marks of a swap under way.
    markSeats(false);
    data->setImageData(client()->grab().toImage());
    markSeats();
    data->setText(chartClipboardText(room_, seatTexts(), teacherView()));
    QGuiApplication::clipboard()->setMimeData(data);
}
