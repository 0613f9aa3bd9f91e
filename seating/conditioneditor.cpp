#include "seating/conditioneditor.h"

#include "core/clock.h"
#include "core/installedpaths.h"
#include "widgets/mainwindowstate.h"
#include "widgets/menus.h"
#include "widgets/navigator.h"
#include "widgets/seatbox.h"
#include "widgets/ui.h"
#include "platform/platform.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDrag>
#include <QDropEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>

namespace {

const QColor Olive = rgb(128, 128, 0);
const QColor LightOlive = rgb(192, 192, 0);

// Registrant list: two columns of 14 labels inside Frame1.
constexpr std::array<int, 2> RegistrantLefts{90, 1320};
constexpr std::array<int, 14> RegistrantTops{780, 1110, 1470, 1800, 2160, 2490, 2850,
                                             3180, 3540, 3870, 4230, 4560, 4920, 5250};

// Classroom inside Frame2: row tops from the front (next to the desk) to the back; within
// a row the seat numbers grow from right to left, 1650 twips apart.
constexpr std::array<int, 7> RowTops{4620, 3960, 3300, 2640, 1980, 1320, 690};
constexpr int ColumnStep = 1650;

int rowTop(int index)
{
    return RowTops[size_t(index / 4)];
}
int columnShift(int index)
{
    return ColumnStep * (index % 4);
}

QFrame *makeFrame(QWidget *parent, const char *name, const QRect &twips)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setGeometry(twRect(twips.x(), twips.y(), twips.width(), twips.height()));
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Sunken); // the etched line of a frame without caption
    setBackgroundColor(frame, Olive);
    return frame;
}

// A panel as wide as its table says, or wider where the fonts at hand need it.
void widenToFit(QLabel *panel, const QStringList &samples)
{
    int needed = 0;
    for (const QString &sample : samples)
        needed = qMax(needed, panel->fontMetrics().horizontalAdvance(sample));
    needed += 2 * panel->frameWidth() + 2 * panel->margin() + 4;
    if (needed > panel->minimumWidth())
        panel->setFixedWidth(needed);
}

template <class W, size_t N>
int indexOf(const std::array<W *, N> &group, QObject *watched)
{
    for (size_t i = 0; i < N; ++i) {
        if (group[i] == watched)
            return int(i);
    }
    return -1;
}

// Every drag event type a drop target sees.
bool isDragEvent(QEvent::Type type)
{
    return type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop;
}

} // namespace

QString conditionStatusText()
{
    return QStringLiteral("座席指定は登録者一覧から該当者を座席へ ﾄﾞﾗｯｸﾞ&ﾄﾞﾛｯﾌﾟ して下さい");
}

QPixmap dragIcon(const QString &name)
{
    QPixmap icon;
    const QString file = findDragIconFile(QCoreApplication::applicationDirPath(), name);
    // A file that is no image does not spoil the drag: the built-in copy stands in.
    if (file.isEmpty() || !icon.load(file))
        icon.load(QStringLiteral(":/") + name);
    return icon;
}

void showConditionEditor()
{
    if (COND *open = loadedForm<COND>()) {
        // Already open: what is entered stays; only the roster and the main window's
        // commands may have moved on since it opened.
        open->showRegistrants();
        mainWindowState().enterConditionsState();
        open->bringToFront();
        return;
    }
    form<COND>()->bringToFront();
}

COND::COND()
    : FormWindow(QStringLiteral("条件設定"))
{
    setObjectName(QStringLiteral("COND"));
    setBackgroundColor(client(), Olive);
    buildRegistrantList();
    buildClassroom();
    buildMenus();
    buildBars();
    Timer1 = startStatusClock([this] { Timer1_Timer(); });
    fixSize();
}

void COND::buildRegistrantList()
{
    Frame1 = makeFrame(client(), "Frame1", QRect(60, 390, 2565, 5775));
    Label3 = makeLabel(Frame1, {QStringLiteral("Label3"), QStringLiteral("登録者一覧"), QRect(630, 360, 1335, 285),
                                Face::PGothic, 11.25, false, Qt::black, LightOlive, true, Qt::AlignCenter});
    for (int i = 0; i < SeatCount; ++i) {
        const QRect place(RegistrantLefts[size_t(i / 14)], RegistrantTops[size_t(i % 14)], 1155, 255);
        QLabel *label = makeLabel(Frame1, {QStringLiteral("Label4_%1").arg(i), QString(), place, Face::PGothic, 9, false,
                                           Qt::black, LightOlive, true, Qt::AlignCenter});
        label->setAcceptDrops(true);
        label->installEventFilter(this);
        Label4[size_t(i)] = label;
    }
}

void COND::buildClassroom()
{
    Frame2 = makeFrame(client(), "Frame2", QRect(2610, 390, 6825, 5775));
    setTextColor(Frame2, Qt::white);
    // Seat numbers first, so that a box lies over the number above it where they meet.
    for (int i = 0; i < SeatCount; ++i) {
        const int left = (i < 9 ? 5790 : 5730) - columnShift(i);
        QLabel *number = makeLabel(Frame2, {QStringLiteral("Label1_%1").arg(i), QStringLiteral("No.%1").arg(i + 1),
                                            QRect(left, rowTop(i) - 240, 600, 255), Face::PGothic, 12, false, Qt::white,
                                            Olive, false, Qt::AlignLeft | Qt::AlignVCenter});
        number->resize(number->fontMetrics().horizontalAdvance(number->text()) + 2, number->height());
        Label1[size_t(i)] = number;
    }
    for (int i = 0; i < SeatCount; ++i) {
        auto *box = new QLineEdit(Frame2);
        box->setObjectName(QStringLiteral("Text1_%1").arg(i));
        box->setGeometry(twRect(5370 - columnShift(i), rowTop(i), 1275, 285));
        box->setFont(makeFont(Face::PGothic, 9.75));
        setBackgroundColor(box, LightOlive);
        setTextColor(box, Qt::black);
        box->setAttribute(Qt::WA_InputMethodEnabled, true);
        box->setAcceptDrops(true);
        installEnterMovesOn(box);
        keepSingleLine(box);
        box->installEventFilter(this);
        Text1[size_t(i)] = box;
    }
    for (int i = 0; i < SeatCount; ++i) {
        auto *tick = new QCheckBox(Frame2);
        tick->setObjectName(QStringLiteral("Check1_%1").arg(i));
        tick->setGeometry(twRect(5130 - columnShift(i), rowTop(i) - 120, 255, 495));
        setBackgroundColor(tick, Olive);
        // The box itself stays white with a black tick, as check boxes are drawn.
        QPalette p = tick->palette();
        p.setColor(QPalette::Base, Qt::white);
        p.setColor(QPalette::Text, Qt::black);
        tick->setPalette(p);
        Check1[size_t(i)] = tick;
    }
    // The seat boxes first, seat 1 to 28; then the ticks in the same order.
    for (int i = 1; i < SeatCount; ++i)
        setTabOrder(Text1[size_t(i - 1)], Text1[size_t(i)]);
    setTabOrder(Text1[SeatCount - 1], Check1[0]);
    for (int i = 1; i < SeatCount; ++i)
        setTabOrder(Check1[size_t(i - 1)], Check1[size_t(i)]);
    Label5 = makeLabel(Frame2, {QStringLiteral("Label5"), QStringLiteral("教     卓"), QRect(3030, 5100, 975, 285),
                                Face::PGothic, 11.25, false, Qt::black, LightOlive, true, Qt::AlignCenter});
}

void COND::buildMenus()
{
    mnuFile = addMenu(this, "mnuFile", QStringLiteral("ﾌｧｲﾙ(&F)"));
    mnuCond = addItem(mnuFile, "mnuCond", QStringLiteral("条件設定(&S)..."));
    mnuNO = addItem(mnuFile, "mnuNO", QStringLiteral("取消(&X)"));
    mnuHelp = addMenu(this, "mnuHelp", QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    mnuHelpContext_KeyWord[0] =
        addItem(mnuHelp, "mnuHelpContext_KeyWord_0", QStringLiteral("ﾄﾋﾟｯｸの検索(&H)"), QKeySequence(Qt::Key_F1));
    mnuHelpContext_KeyWord[1] = addItem(mnuHelp, "mnuHelpContext_KeyWord_1", QStringLiteral("当該ﾍﾙﾌﾟ(&C)"));
    mnuDummy3 = mnuHelp->addSeparator();
    mnuDummy3->setObjectName(QStringLiteral("mnuDummy3"));
    mnuVersion = addItem(mnuHelp, "mnuVersion", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)..."));

    connect(mnuCond, &QAction::triggered, this, &COND::mnuCond_Click);
    connect(mnuNO, &QAction::triggered, this, [this] { mnuNO_Click(); });
    connect(mnuHelpContext_KeyWord[0], &QAction::triggered, this, [this] { mnuHelpContext_KeyWord_Click(0); });
    connect(mnuHelpContext_KeyWord[1], &QAction::triggered, this, [this] { mnuHelpContext_KeyWord_Click(1); });
    connect(mnuVersion, &QAction::triggered, this, &COND::mnuVersion_Click);
}

void COND::buildBars()
{
    Toolbar1 = new PositionToolbar(client(), {
        toolbarSeparator(),
        {false, QStringLiteral("dialog-ok-apply"), QStyle::SP_DialogApplyButton, QStringLiteral(" 条件設定 ")},
        {false, QStringLiteral("dialog-cancel"), QStyle::SP_DialogCancelButton, QStringLiteral(" 取消 ")},
        toolbarSeparator(),
        {false, QStringLiteral("help-about"), QStyle::SP_MessageBoxInformation, QStringLiteral(" ﾊﾞｰｼﾞｮﾝ情報 ")},
        {false, QStringLiteral("help-contents"), QStyle::SP_DialogHelpButton, QStringLiteral(" 当該ﾍﾙﾌﾟ ")},
    });
    connect(Toolbar1, &PositionToolbar::buttonClicked, this, &COND::Toolbar1_ButtonClick);
    // The date and clock get their widths; the instruction takes the rest of the row.
    StatusBar1 = new StatusPanels(client(), {{StatusPanels::Kind::Text, conditionStatusText(), 0},
                                             {StatusPanels::Kind::Caps, {}, 700},
                                             {StatusPanels::Kind::Ins, {}, 700},
                                             {StatusPanels::Kind::Text, {}, 1100},
                                             {StatusPanels::Kind::Text, {}, 1100}});
    StatusBar1->panel(1)->setToolTip(conditionStatusText());
    for (const int date : {4, 5})
        widenToFit(StatusBar1->panel(date), {QStringLiteral("0000/00/00"), QStringLiteral("午後 00:00")});
}

void COND::Form_Load()
{
    SharedState &s = state();
    fixSize();
    mainWindowState().enterConditionsState();
    showRegistrants();
    const SeatEntries shown = takeConditionsForEditing(s.SeatConditions);
    for (int i = 0; i < SeatCount; ++i) {
        if (shown.ticked.at(i))
            Check1[size_t(i)]->setChecked(true);
        else
            Text1[size_t(i)]->setText(shown.texts.at(i));
    }
    StatusBar1->showDateTime(4);
    Text1[0]->setFocus();
}

void COND::showRegistrants()
{
    const SharedState &s = state();
    for (int k = 1; k <= SeatCount; ++k) {
        QLabel *label = Label4[size_t(k - 1)];
        label->setText(s.PupilNames[size_t(k)]);
        label->setProperty("Tag", s.PupilNames[size_t(k)]);
    }
}

void COND::Timer1_Timer()
{
    RefreshDateTime();
    StatusBar1->showDateTime(4);
}

void COND::Toolbar1_ButtonClick(int position)
{
    switch (position) {
    case 2: mnuCond_Click(); break;
    case 3: mnuNO_Click(); break;
    case 5: mnuVersion_Click(); break;
    case 6: mnuHelpContext_KeyWord_Click(1); break;
    default: break;
    }
}

SeatEntries COND::entries() const
{
    SeatEntries e;
    for (int i = 0; i < SeatCount; ++i) {
        e.texts[i] = Text1[size_t(i)]->text();
        e.ticked[i] = Check1[size_t(i)]->isChecked();
    }
    return e;
}

void COND::showMessage(ConditionMessage message, const QString &name)
{
    const MessageText m = conditionMessage(message, name);
    MsgBox(this, m.text, m.style, m.title);
}

void COND::mnuCond_Click()
{
    const bool stored = applyConditions(state(), entries(),
                                        [this](ConditionMessage m, const QString &name) { showMessage(m, name); });
    if (!stored) {
        bringToFront();
        return;
    }
    showMessage(ConditionMessage::Applied);
    closeToMainWindow();
}

bool COND::mnuNO_Click()
{
    if (conditionsBeingEdited(entries())) {
        const MessageText ask = conditionMessage(ConditionMessage::DiscardQuestion);
        if (MsgBox(this, ask.text, ask.style, ask.title) != IDOK)
            return false;
        discardConditions(state().SeatConditions);
    }
    closeToMainWindow();
    return true;
}

void COND::closeToMainWindow()
{
    unloadSelf();
    // A main window kept unseen while a result window is open stays unseen.
    navigator().raiseMainWindow();
}

void COND::Form_QueryUnload(QCloseEvent *event)
{
    // Leaving by the close box is leaving by "取消": nothing half-applied stays behind.
    event->ignore();
    mnuNO_Click();
}

void COND::bringToFront()
{
    if (isVisible())
        raise();
    show();
    activateWindow();
}

void COND::mnuHelpContext_KeyWord_Click(int index)
{
    if (index == 0)
        callHelp(this, HELP_PARTIALKEY, 0);
    else
        callHelp(this, HELP_CONTEXT, 44);
}

void COND::mnuVersion_Click()
{
    navigator().showVersionInfo();
}

void COND::Text1_DragDrop(int index, const QString &tag)
{
    Text1[size_t(index)]->setText(tag);
}

void COND::Label4_MouseDown(int index)
{
    // Labels of empty roster slots have nobody to drag.
    if (index < 0 || index >= SeatCount || index >= state().PupilCount)
        return;
    QLabel *label = Label4[size_t(index)];
    auto *drag = new QDrag(label);
    drag->setMimeData(registrantMimeData(label->property("Tag").toString(), index));
    // The cursor alone shows the drag: the name card over a seat box or the label it
    // came from, the no-entry sign elsewhere.
    drag->setDragCursor(dragIcon(QStringLiteral("DRAG.ICO")), Qt::CopyAction);
    drag->setDragCursor(dragIcon(QStringLiteral("DRAG2.ICO")), Qt::IgnoreAction);
    QPixmap nothing(1, 1);
    nothing.fill(Qt::transparent);
    drag->setPixmap(nothing);
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}

bool COND::seatBoxDragEvent(int index, QEvent *event)
{
    auto *drop = static_cast<QDropEvent *>(event);
    QString tag;
    // Only a registrant's name lands in a seat box, and then as its whole text.
    if (!registrantTag(drop->mimeData(), &tag)) {
        drop->ignore();
        return true;
    }
    if (event->type() == QEvent::Drop)
        Text1_DragDrop(index, tag);
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    return true;
}

bool COND::registrantDragEvent(int index, QEvent *event)
{
    auto *drop = static_cast<QDropEvent *>(event);
    // Over the label it came from the drag looks droppable; a drop there does nothing.
    if (event->type() != QEvent::Drop && registrantLabel(drop->mimeData()) == index) {
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
    } else {
        drop->ignore();
    }
    return true;
}

bool COND::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (const int seat = indexOf(Text1, watched); seat >= 0 && isDragEvent(type))
        return seatBoxDragEvent(seat, event);
    if (const int registrant = indexOf(Label4, watched); registrant >= 0) {
        if (isDragEvent(type))
            return registrantDragEvent(registrant, event);
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
            Label4_MouseDown(registrant);
            return true;
        }
    }
    return FormWindow::eventFilter(watched, event);
}
