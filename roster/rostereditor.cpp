#include "roster/rostereditor.h"

#include "core/rostersession.h"

#include "core/chartlayout.h"
#include "core/clock.h"
#include "core/pastedtable.h"
#include "core/rosterfile.h"
#include "platform/platform.h"
#include "roster/pupilinfoeditor.h"
#include "roster/roomeditor.h"
#include "widgets/chartdrawing.h"
#include "widgets/menus.h"
#include "widgets/navigator.h"
#include "widgets/seatbox.h"
#include "widgets/ui.h"

#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>

#include <algorithm>

namespace
{

// The editor lays a room out as the chart does (core/chartlayout.h), each name box 15 twips
// taller and 30 lower than the chart's, and its caption as wide as the box right above it. The
// chart drops its middle row of seven by 30; the editor's rows always lay evenly.
constexpr int FullBoxHeight = 345; // the chart's box at full size
constexpr int BoxExtraHeight = 15;
constexpr int BelowChart = 30;
constexpr int CaptionHeight = 270;
// The client area of the largest rooms: a 1366 × 768 screen less the window's frame, its title
// and menu bars and a task bar.
constexpr QSize LargestClient{1340 * 15, 600 * 15};

struct SeatPlan {
    QSize client;       // twips, as every place below
    QList<QRect> boxes; // desk 1 first
    QRect desk;
    QList<QRect> aisles;
    QList<ChartGroup> groups;
};

SeatPlan seatPlan(const Room &room)
{
    // A room that does not fit the standard client area at full size widens and deepens it as far
    // as LargestClient; beyond that the chart shrinks it.
    int aisles = 0;
    for (int column = 0; column + 1 < room.columns(); ++column)
        aisles += room.aisleAfter(column) ? 1 : 0;
    const int fullWidth = room.columns() * 1575 + (room.columns() - 1 + aisles) * 585 + 2 * 735;
    const int fullHeight = 240 + 345 + (room.rows() - 1) * 720 + 195 + 315 + 2 * 570;
    const ChartLayout layout(room, false,
                             QSize(std::clamp(fullWidth, LargeClientWidthTwips, LargestClient.width()),
                                   std::clamp(fullHeight, LargeClientHeightTwips, LargestClient.height())));
    SeatPlan plan{layout.size(), {}, layout.teachersDesk().translated(0, BelowChart), {}, layout.groups()};
    for (int desk = 1; desk <= layout.deskCount(); ++desk) {
        const QRect box = layout.box(desk);
        const bool droppedRow = room.rows() == 7 && room.cellOfDesk(desk)->row == 3 && box.height() == FullBoxHeight;
        plan.boxes.append(QRect(box.left(), box.top() + (droppedRow ? 0 : BelowChart), box.width(),
                                box.height() * (FullBoxHeight + BoxExtraHeight) / FullBoxHeight));
    }
    for (const QRect &aisle : layout.aisles())
        plan.aisles.append(aisle.adjusted(0, BelowChart, 0, BelowChart + BoxExtraHeight));
    for (ChartGroup &group : plan.groups) {
        for (QRect &part : group.frame)
            part.translate(0, BelowChart);
        group.label.translate(0, BelowChart);
    }
    return plan;
}

// The 班 frames with their numbers, and the aisles, drawn on the room's floor under the boxes.
class RoomDrawing : public QWidget
{
public:
    RoomDrawing(QWidget *client, const SeatPlan &plan) : QWidget(client), aisles_(plan.aisles), groups_(plan.groups)
    {
        setObjectName(QStringLiteral("roomDrawing"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setGeometry(client->rect());
        lower();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        drawPixelAisles(painter, aisles_, QPen(QColor(224, 224, 224), 1, Qt::DotLine));
        drawPixelGroupFrames(painter, groups_, QPen(GroupColor, 1));
        painter.setPen(GroupColor);
        painter.setFont(makeFont(Face::PGothic, 9));
        for (const ChartGroup &group : groups_) {
            painter.drawText(twRect(group.label).adjusted(3, 0, 3, 0),
                             Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, groupLabelText(group.number));
        }
    }

private:
    static constexpr QColor GroupColor{255, 255, 0};
    QList<QRect> aisles_;
    QList<ChartGroup> groups_;
};

} // namespace

RosterEditor::RosterEditor()
    : FormWindow(QStringLiteral("登録・修正"), "TOUROKU", rgb(0, 128, 0)), room_(state().openClass.room)
{
    buildSeats();
    addMenu(this, "mnuFile", QStringLiteral("ﾌｧｲﾙ(&F)"),
            {{"mnuNewFile", QStringLiteral("新規登録・修正(&S)..."), [this] { registerRoster(); }, &registerAction},
             {"mnuCancel", QStringLiteral("取消・了解(&X)"), [this] { closeEditor(); }, &closeAction},
             {"mnuDummyPaste"},
             {"mnuPasteTable", QStringLiteral("表から貼り付け(&V)"), [this] { pasteTable(); }, &pasteTableAction},
             {"mnuRoomSettings", QStringLiteral("教室の設定(&R)..."), [this] { editRoom(); }, &roomAction},
             {"mnuPupilInfo", QStringLiteral("生徒の情報(&I)..."), [this] { editPupilInfo(); }, &pupilInfoAction}});
    buildChrome({{{false, QStringLiteral("document-save"), QStyle::SP_DialogSaveButton,
                   QStringLiteral(" 新規登録・修正 "), [this] { registerRoster(); }},
                  {false, QStringLiteral("dialog-ok"), QStyle::SP_DialogOkButton, QStringLiteral(" 取消・了解  "),
                   [this] { closeEditor(); }}},
                 QStringLiteral("各席の氏名を入力して下さい"),
                 0,
                 750,
                 1350,
                 43,
                 "mnuDummy2"});
}

void RosterEditor::buildSeats()
{
    const SeatPlan plan = seatPlan(room_);
    client()->setFixedSize(tw(plan.client.width()), tw(plan.client.height()));
    if (plan.aisles.size() + plan.groups.size() > 0)
        roomDrawing_ = new RoomDrawing(client(), plan);
    const int desks = int(plan.boxes.size());
    for (int i = 0; i < desks; ++i) {
        const QRect &box = plan.boxes.at(i);
        seatCaptions.append(makeLabel(
            client(), {QStringLiteral("Label1_%1").arg(i), QStringLiteral("No.%1").arg(i + 1),
                       QRect(box.left(), box.top() - CaptionHeight, box.width(), CaptionHeight), Face::PGothic, 12,
                       false, Qt::white, std::nullopt, false, Qt::AlignHCenter | Qt::AlignBottom}));
    }
    // Created in desk order, so the tab order runs from desk 1 on.
    for (int i = 0; i < desks; ++i) {
        auto *t = new QLineEdit(client());
        t->setObjectName(QStringLiteral("Text1_%1").arg(i));
        t->setGeometry(twRect(plan.boxes.at(i)));
        t->setFont(makeFont(Face::PGothic, 12));
        const RoomCell cell = *room_.cellOfDesk(i + 1);
        const int group = room_.groupOf(i + 1);
        t->setAccessibleName(seatName(i + 1));
        t->setAccessibleDescription(rowText(cell.row + 1) + (group ? QStringLiteral("、%1班").arg(group) : QString()));
        setBackgroundColor(t, QColor::fromRgb(NameBoxColor));
        t->setAttribute(Qt::WA_InputMethodEnabled, true);
        installEnterMovesOn(t);
        keepSingleLine(t);
        t->installEventFilter(this);
        connect(t, &QLineEdit::textChanged, this, [] { state().RosterEdited = true; });
        if (i > 0)
            setTabOrder(seatBoxes.at(i - 1), t);
        seatBoxes.append(t);
    }
    const QRect d = plan.desk;
    desk = makeLabel(client(), {QStringLiteral("Label3"), QStringLiteral("教     卓"), d, Face::PGothic, 12, false,
                                Qt::black, rgb(0, 255, 0), true, Qt::AlignCenter});
    // A window rebuilt for another room: the bars follow the client's new width and height.
    if (toolbar) {
        toolbar->setGeometry(0, 0, client()->width(), toolbar->height());
        statusPanels->setGeometry(0, client()->height() - statusPanels->height(), client()->width(),
                                  statusPanels->height());
        toolbar->raise();
        statusPanels->raise();
        fixSize();
    }
}

void RosterEditor::showRoom(const Room &room)
{
    if (room == room_)
        return;
    QStringList texts = boxTexts();
    const bool beyond = std::any_of(texts.cbegin() + std::min<qsizetype>(room.deskCount(), texts.size()), texts.cend(),
                                    [](const QString &text) { return !text.isEmpty(); });
    if (beyond)
        texts = collectNames(texts);
    texts.resize(room.deskCount());
    qDeleteAll(seatBoxes);
    qDeleteAll(seatCaptions);
    seatBoxes.clear();
    seatCaptions.clear();
    delete desk;
    delete roomDrawing_;
    roomDrawing_ = nullptr;
    room_ = room;
    buildSeats();
    // The names only moved to other boxes: the roster is no more changed than before.
    const bool edited = state().RosterEdited;
    for (int i = 0; i < seatBoxes.size(); ++i) {
        seatBoxes.at(i)->setText(texts.at(i));
        seatBoxes.at(i)->show();
        seatCaptions.at(i)->show();
    }
    desk->show();
    if (roomDrawing_)
        roomDrawing_->show();
    state().RosterEdited = edited;
    if (isVisible())
        centreOnScreen(this);
    if (!seatBoxes.isEmpty())
        seatBoxes.constFirst()->setFocus();
}

void RosterEditor::editRoom()
{
    SharedState &s = state();
    if (s.RosterFileName.isEmpty()) {
        showMessage(this,
                    QStringLiteral("教室の設定は、名簿を保存してから行えます。\r\n"
                                   "先に「新規登録・修正」で名簿を保存して下さい。"),
                    MsgStyle::Information, QStringLiteral("教室の設定"));
        return;
    }
    const std::optional<Room> room =
        editRoomModally(s.RosterFileName, int(collectNames(boxTexts()).size()), pinnedDesks(s.openClass.conditions));
    if (!room)
        return;
    moveClassToRoom(s.openClass, *room);
    showRoom(*room);
}

void RosterEditor::editPupilInfo()
{
    const QStringList names = collectNames(boxTexts());
    const QString problem = names.isEmpty() ? QStringLiteral("生徒の情報は、氏名を入力してから設定できます。")
                            : hasDuplicateName(names) ? QStringLiteral("同じ氏名が2つあります。\r\n"
                                                                       "氏名を直してから、生徒の情報を設定して下さい。")
                                                      : QString();
    if (!problem.isEmpty()) {
        showMessage(this, problem, MsgStyle::Information, QStringLiteral("生徒の情報"));
        return;
    }
    // A roster with a file has its details written beside it at once; a new one's when it is saved.
    const ClassModel &open = state().openClass;
    editPupilInfoModally(names, carryRenamedDetails(open.info, namesOpened, names), state().RosterFileName);
}

void RosterEditor::onLoad()
{
    fixSize();
    showDateAndTime();
    if (!seatBoxes.isEmpty())
        seatBoxes.constFirst()->setFocus();
}

QStringList RosterEditor::boxTexts() const
{
    QStringList texts;
    for (const QLineEdit *t : seatBoxes)
        texts.append(t->text());
    return texts;
}

void RosterEditor::pasteTable()
{
    const PastedTable table = readPastedTable(QGuiApplication::clipboard()->text());
    if (table.tooLarge) {
        showMessage(this, tableTooLargeMessage());
        return;
    }
    if (table.rows.isEmpty()) {
        showMessage(this, noTableMessage());
        return;
    }
    int column = table.nameColumn;
    if (table.columnCount > 1) {
        column = platform().chooseFromList(this, QStringLiteral("氏名の列の選択"),
                                           QStringLiteral("氏名が入っている列を選んで下さい。"), table.columnLabels(),
                                           table.nameColumn);
        if (column < 0)
            return;
    }
    const QStringList names = table.names(column);
    if (names.isEmpty()) {
        showMessage(this, noNamesMessage(table.columnCount > 1));
        return;
    }
    if (names.size() > seatBoxes.size()) {
        showMessage(this, tooManyNamesMessage(names.size(), int(seatBoxes.size())));
        return;
    }
    for (int i = 0; i < seatBoxes.size(); ++i)
        seatBoxes.at(i)->setText(names.value(i));
    seatBoxes.constFirst()->setFocus();
}

void RosterEditor::registerRoster()
{
    using Step = RosterSession::RegisterStep;
    RosterSession session(state());
    const Step step = session.beginRegister(boxTexts());
    switch (step) {
    case Step::AskRegisterEmpty:
        if (!session.keepEditingEmpty(showMessage(this, session.message(step)) == IDOK))
            unloadSelf();
        return;
    case Step::ReportSameName: showMessage(this, session.message(step)); return;
    case Step::ReportUnsavable:
        showMessage(this, session.message(step));
        seatBoxes.at(session.unsavable()->index)->setFocus();
        return;
    case Step::ChooseFileAndSave: break;
    }
    if (!saveRoster(session.names()))
        return;
    showMessage(this, session.saved(fileDialog.fileName));
    closeAndShowConditions();
}

bool RosterEditor::saveRoster(const QStringList &names)
{
    fileDialog.filter = QStringLiteral("名簿ﾌｧｲﾙ(*.MEM)|*.MEM|すべてのﾌｧｲﾙ(*.*)|*.*");
    if (!fileDialog.showSave(this))
        return false;
    const QString reason = writeRosterFile(fileDialog.fileName, names, rosterSpellings);
    if (!reason.isEmpty()) {
        showMessage(this, rosterNotSavedMessage(fileDialog.fileName, reason));
        return false;
    }
    // The roster is saved whatever becomes of its class file; one not kept is said, not hidden.
    ClassModel &open = state().openClass;
    open.info = carryRenamedDetails(open.info, namesOpened, names);
    open.rules = carryRenamedRules(open.rules, namesOpened, names);
    const QString roomError = keepClassBeside(fileDialog.fileName, {room_, open.info, open.rules, {}});
    if (!roomError.isEmpty())
        showMessage(this, roomNotKeptMessage(fileDialog.fileName, roomError));
    return true;
}

void RosterEditor::closeAndShowConditions()
{
    unloadSelf();
    navigator().showConditionEditor();
}

bool RosterEditor::closeEditor()
{
    using Step = RosterSession::CloseStep;
    const Step step = RosterSession(state()).beginClose(boxTexts());
    if (step == Step::Nothing)
        return false;
    const bool ok = showMessage(this, RosterSession::message(step)) == IDOK;
    if (step == Step::AskDiscardNew) {
        if (ok)
            unloadSelf();
    } else if (ok) {
        registerRoster();
    } else {
        closeAndShowConditions();
    }
    return true;
}

void RosterEditor::onCloseRequest(QCloseEvent *event)
{
    // The editor goes only the ways its close command lets it; with nothing to ask
    // about, the close button simply closes it.
    event->ignore();
    if (!closeEditor())
        unloadSelf();
}

void RosterEditor::highlightSeat(int index, bool focused)
{
    setBackgroundColor(seatBoxes.at(index), QColor::fromRgb(focused ? NameBoxFocusColor : NameBoxColor));
    if (focused)
        platform().switchInputMethodOn(seatBoxes.at(index));
}

bool RosterEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        const qsizetype seat = seatBoxes.indexOf(watched);
        if (seat >= 0)
            highlightSeat(int(seat), event->type() == QEvent::FocusIn);
    }
    return FormWindow::eventFilter(watched, event);
}
