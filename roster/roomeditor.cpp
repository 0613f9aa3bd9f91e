#include "roster/roomeditor.h"

#include "core/classfile.h"
#include "platform/platform.h"
#include "widgets/seatbox.h"
#include "widgets/ui.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>

#include <functional>

namespace
{

const QString Title = QStringLiteral("教室の設定");

// The grid's measures in pixels: a desk, the gap between desks and the wider one of an aisle.
constexpr int CellWidth = 56;
constexpr int CellHeight = 34;
constexpr int Gap = 4;
constexpr int AisleGap = 18;
constexpr int GridWidth = 716;
constexpr int RowsHeight = Room::MaxRows * CellHeight + (Room::MaxRows - 1) * Gap;
constexpr int GridHeight = RowsHeight + 44;

const QColor Grey = rgb(128, 128, 128);
const QColor DeskColor = rgb(192, 255, 192);
const QColor PairColor = rgb(0, 0, 128);
const QColor SelectionColor = rgb(0, 120, 215);

// 班 told apart by colour as well as by their number.
QColor groupColor(int group)
{
    static const std::array<QColor, 8> colors{rgb(255, 224, 160), rgb(176, 224, 255), rgb(255, 192, 224),
                                              rgb(224, 208, 255), rgb(255, 255, 160), rgb(192, 240, 224),
                                              rgb(240, 208, 176), rgb(208, 224, 160)};
    return colors[size_t((group - 1) % int(colors.size()))];
}

RoomCell between(RoomCell cell, const Room &room)
{
    return {std::clamp(cell.row, 0, room.rows() - 1), std::clamp(cell.column, 0, room.columns() - 1)};
}

} // namespace

void RoomCellBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect r = rect().adjusted(0, 0, -1, -1);
    if (desk == 0) {
        painter.setPen(QPen(rgb(176, 176, 176), 1, Qt::DashLine));
        painter.drawRect(r);
        painter.setPen(rgb(200, 200, 200));
        painter.setFont(makeFont(Face::UIGothic, 8));
        painter.drawText(r, Qt::AlignCenter, QStringLiteral("机なし"));
    } else {
        painter.fillRect(r, group ? groupColor(group) : DeskColor);
        painter.setPen(Qt::black);
        painter.drawRect(r);
        painter.setFont(makeFont(Face::PGothic, 10));
        painter.drawText(r, Qt::AlignCenter, seatName(desk));
        if (group) {
            painter.setFont(makeFont(Face::UIGothic, 7));
            painter.drawText(r.adjusted(3, 1, 0, 0), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("%1班").arg(group));
        }
    }
    if (selected) {
        QColor fill = SelectionColor;
        fill.setAlpha(70);
        painter.fillRect(r, fill);
        painter.setPen(QPen(SelectionColor, 2));
        painter.drawRect(r.adjusted(1, 1, 0, 0));
    }
    if (hasFocus()) {
        painter.setPen(QPen(Qt::black, 2, Qt::DotLine));
        painter.drawRect(r.adjusted(4, 4, -3, -3));
    }
}

RoomGrid::RoomGrid(QWidget *parent) : QWidget(parent)
{
    setFixedSize(GridWidth, GridHeight);
    for (int row = 0; row < Room::MaxRows; ++row) {
        for (int column = 0; column < Room::MaxColumns; ++column) {
            auto *b = new RoomCellBox(this, {row, column});
            b->setObjectName(QStringLiteral("Cell_%1_%2").arg(row).arg(column));
            b->setFocusPolicy(Qt::ClickFocus);
            b->installEventFilter(this);
            boxes_[size_t(row * Room::MaxColumns + column)] = b;
        }
    }
    teacherDesk = makeLabel(this, {QStringLiteral("Label3"), QStringLiteral("教     卓"), QRect(0, 0, 1095, 315),
                                   Face::PGothic, 12, false, Qt::black, rgb(0, 255, 0), true, Qt::AlignCenter});
    teacherDesk->move((GridWidth - teacherDesk->width()) / 2, RowsHeight + 14);
    setRoom(Room::standard());
}

void RoomGrid::setRoom(const Room &room)
{
    room_ = room;
    current_ = between(current_, room_);
    anchor_ = between(anchor_, room_);
    layoutCells();
    refreshCells();
    emit roomChanged();
}

void RoomGrid::change(const Room &room)
{
    if (room == room_)
        return;
    room_ = room;
    refreshCells();
    update();
    emit roomChanged();
}

void RoomGrid::layoutCells()
{
    int width = room_.columns() * CellWidth + (room_.columns() - 1) * Gap;
    for (int column = 0; column + 1 < room_.columns(); ++column)
        width += room_.aisleAfter(column) ? AisleGap - Gap : 0;
    int x = (GridWidth - width) / 2;
    for (int column = 0; column < Room::MaxColumns; ++column) {
        for (int row = 0; row < Room::MaxRows; ++row) {
            RoomCellBox *b = box({row, column});
            const bool inside = row < room_.rows() && column < room_.columns();
            b->setVisible(inside);
            // The front row lowest, just above the teacher's desk.
            b->setGeometry(x, RowsHeight - (row + 1) * CellHeight - row * Gap, CellWidth, CellHeight);
        }
        x += CellWidth + (room_.aisleAfter(column) ? AisleGap : Gap);
    }
    update();
}

void RoomGrid::refreshCells()
{
    const RoomCell low{std::min(anchor_.row, current_.row), std::min(anchor_.column, current_.column)};
    const RoomCell high{std::max(anchor_.row, current_.row), std::max(anchor_.column, current_.column)};
    const bool many = !(anchor_ == current_);
    for (int row = 0; row < room_.rows(); ++row) {
        for (int column = 0; column < room_.columns(); ++column) {
            RoomCellBox *b = box({row, column});
            b->desk = room_.deskNumber({row, column});
            b->group = room_.groupOf(b->desk);
            b->selected = many && row >= low.row && row <= high.row && column >= low.column && column <= high.column;
            b->setFocusPolicy(RoomCell{row, column} == current_ ? Qt::StrongFocus : Qt::ClickFocus);
            // A listener hears which cell it is (a place without a desk has no number to tell
            // it by), what it belongs to, and whether it is in the selection being drawn.
            QStringList more;
            if (b->desk == 0) {
                b->setAccessibleName(QStringLiteral("机なし"));
                more.append(rowText(row + 1) + QStringLiteral("、右から%1番目").arg(room_.columns() - column));
            } else {
                b->setAccessibleName(seatName(b->desk) + QLatin1Char(' ') + rowText(row + 1));
                if (b->group)
                    more.append(QStringLiteral("%1班").arg(b->group));
                if (const int partner = room_.partnerOf(b->desk))
                    more.append(QStringLiteral("%1と2人組").arg(seatName(partner)));
            }
            if (b->selected)
                more.append(QStringLiteral("選択中"));
            b->setAccessibleDescription(more.join(QStringLiteral("、")));
            b->update();
        }
    }
}

void RoomGrid::setCurrent(RoomCell cell, bool extendSelection)
{
    const bool focused = box(current_)->hasFocus();
    current_ = between(cell, room_);
    if (!extendSelection)
        anchor_ = current_;
    refreshCells();
    if (focused || hasFocus())
        box(current_)->setFocus(Qt::OtherFocusReason);
}

void RoomGrid::toggleDesk()
{
    Room room = room_;
    switchDesk(room, current_);
    change(room);
}

bool RoomGrid::editSelection(bool (*edit)(Room &, RoomCell, RoomCell))
{
    Room room = room_;
    if (!edit(room, anchor_, current_))
        return false;
    change(room);
    return true;
}

bool RoomGrid::groupSelection()
{
    return editSelection(makeGroup);
}

bool RoomGrid::pairSelection()
{
    return editSelection(makePairs);
}

bool RoomGrid::releaseSelection()
{
    return editSelection(releaseDesks);
}

void RoomGrid::toggleAisle()
{
    if (current_.column + 1 >= room_.columns())
        return;
    Room room = room_;
    room.setAisleAfter(current_.column, !room.aisleAfter(current_.column));
    change(room);
    layoutCells();
}

RoomCellBox *RoomGrid::boxAt(QPoint gridPos) const
{
    for (RoomCellBox *b : boxes_) {
        if (b->isVisible() && b->geometry().contains(gridPos))
            return b;
    }
    return nullptr;
}

bool RoomGrid::keyPressed(QKeyEvent *event)
{
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    switch (event->key()) {
    // Up is toward the back of the room, drawn higher.
    case Qt::Key_Up: setCurrent({current_.row + 1, current_.column}, shift); return true;
    case Qt::Key_Down: setCurrent({current_.row - 1, current_.column}, shift); return true;
    case Qt::Key_Left: setCurrent({current_.row, current_.column - 1}, shift); return true;
    case Qt::Key_Right: setCurrent({current_.row, current_.column + 1}, shift); return true;
    case Qt::Key_Space: toggleDesk(); return true;
    case Qt::Key_G: groupSelection(); return true;
    case Qt::Key_P: pairSelection(); return true;
    case Qt::Key_Delete: releaseSelection(); return true;
    case Qt::Key_A: toggleAisle(); return true;
    default: return false;
    }
}

bool RoomGrid::eventFilter(QObject *watched, QEvent *event)
{
    auto *b = qobject_cast<RoomCellBox *>(watched);
    if (!b)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress: return keyPressed(static_cast<QKeyEvent *>(event));
    case QEvent::MouseButtonPress:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            pressed_ = b->cell;
            dragged_ = false;
            setCurrent(b->cell);
            b->setFocus(Qt::MouseFocusReason);
        }
        return true;
    case QEvent::MouseMove: {
        if (pressed_.row < 0)
            return true;
        const auto *mouse = static_cast<QMouseEvent *>(event);
        RoomCellBox *over = boxAt(b->mapToParent(mouse->position().toPoint()));
        if (over && !(over->cell == current_)) {
            dragged_ = true;
            setCurrent(over->cell, true);
        }
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton && pressed_.row >= 0) {
            // A click on one cell switches its desk; a drag leaves its rectangle selected.
            if (!dragged_)
                toggleDesk();
            pressed_ = {-1, -1};
        }
        return true;
    case QEvent::FocusIn:
    case QEvent::FocusOut: b->update(); return false;
    default: return QWidget::eventFilter(watched, event);
    }
}

void RoomGrid::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // Aisles: a dotted line down the wide gap.
    painter.setPen(QPen(rgb(224, 224, 224), 1, Qt::DotLine));
    for (int column = 0; column + 1 < room_.columns(); ++column) {
        if (!room_.aisleAfter(column))
            continue;
        const QRect left = box({0, column})->geometry();
        const int x = left.right() + AisleGap / 2;
        painter.drawLine(x, box({room_.rows() - 1, column})->geometry().top(), x, left.bottom());
    }
    // Pairs: a bar across the gap and a line under both join the two desks.
    painter.setPen(Qt::NoPen);
    painter.setBrush(PairColor);
    for (int desk = 1; desk <= room_.deskCount(); ++desk) {
        const int partner = room_.partnerOf(desk);
        if (partner == 0 || partner < desk)
            continue;
        const QRect right = box(*room_.cellOfDesk(desk))->geometry();
        const QRect left = box(*room_.cellOfDesk(partner))->geometry();
        painter.drawRect(QRect(QPoint(left.right() - 1, left.top() + 6), QPoint(right.left() + 1, left.bottom() - 6)));
        painter.drawRect(QRect(QPoint(left.left(), left.bottom() + 1), QPoint(right.right(), left.bottom() + 2)));
    }
}

RoomEditor::RoomEditor()
    : ButtonRowDialog(Title, "ROOMSET", QSize(760 * 15, 596 * 15),
                      {QStringLiteral("Label1"),
                       QStringLiteral("机をクリック（Space）で置く・外す。ドラッグ（Shift+矢印）で選んで班や2人組に。"),
                       QRect(330, 150, 10740, 285), Face::UIGothic, 11.25, false, rgb(255, 255, 0)},
                      47)
{
    const auto label = [this](const QString &text, QRect place, QWidget *buddy) {
        auto *l = new QLabel(text, this);
        l->setGeometry(place);
        l->setFont(makeFont(Face::UIGothic, 10));
        setTextColor(l, rgb(255, 255, 128));
        l->setBuddy(buddy);
        return l;
    };
    presets = new QComboBox(this);
    presets->setObjectName(QStringLiteral("Combo1"));
    presets->setGeometry(92, 40, 260, 26);
    for (const RoomPreset &preset : roomPresets())
        presets->addItem(preset.caption);
    label(QStringLiteral("ひな形(&T)"), QRect(22, 40, 68, 26), presets);
    const auto spin = [this, &label](const char *name, const QString &caption, int left) {
        auto *box = new QSpinBox(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setRange(1, Room::MaxRows);
        box->setGeometry(left + 92, 40, 56, 26);
        label(caption, QRect(left, 40, 90, 26), box);
        return box;
    };
    rowsBox = spin("Spin1_0", QStringLiteral("縦の台数(&D)"), 378);
    columnsBox = spin("Spin1_1", QStringLiteral("横の台数(&W)"), 548);

    grid = new RoomGrid(this);
    grid->move(22, 78);

    const auto action = [this](const char *name, const QString &caption, int left) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(left, 510, 128, 28);
        b->setFont(makeFont(Face::UIGothic, 9));
        b->setAutoDefault(false);
        return b;
    };
    groupButton = action("Command2_0", QStringLiteral("班にする(&G)"), 22);
    pairButton = action("Command2_1", QStringLiteral("2人組にする(&P)"), 156);
    releaseButton = action("Command2_2", QStringLiteral("班・組を解く(&U)"), 290);
    aisleButton = action("Command2_3", QStringLiteral("通路(&A)"), 424);
    groupButton->setToolTip(QStringLiteral(" 選んだ2～8台の机を一つの班にします（G） "));
    pairButton->setToolTip(QStringLiteral(" 選んだ机を左から2台ずつ組にします（P） "));
    releaseButton->setToolTip(QStringLiteral(" 選んだ机を班と2人組から外します（Delete） "));
    aisleButton->setToolTip(QStringLiteral(" 選んだ机の右に通路を置く・外す（A） "));
    summary = new QLabel(this);
    summary->setObjectName(QStringLiteral("Label2"));
    summary->setGeometry(562, 510, 176, 28);
    summary->setFont(makeFont(Face::UIGothic, 10));
    summary->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setTextColor(summary, rgb(255, 255, 128));

    addButtonRow();
    for (QPushButton *b : buttons)
        b->move(b->x(), 554);

    connect(presets, &QComboBox::activated, this, [this](int index) {
        if (index >= 0 && index < roomPresets().size())
            grid->setRoom(roomPresets()[index].room);
    });
    const auto resize = [this] { grid->setRoom(resizedRoom(grid->room(), rowsBox->value(), columnsBox->value())); };
    connect(rowsBox, &QSpinBox::valueChanged, this, resize);
    connect(columnsBox, &QSpinBox::valueChanged, this, resize);
    connect(grid, &RoomGrid::roomChanged, this, &RoomEditor::showRoom);
    // The buttons act on the grid's selection and give the focus back to it.
    const auto onGrid = [this](QPushButton *b, const std::function<void()> &act) {
        connect(b, &QPushButton::clicked, this, [this, act] {
            act();
            grid->box(grid->current())->setFocus(Qt::OtherFocusReason);
        });
    };
    onGrid(groupButton, [this] { grid->groupSelection(); });
    onGrid(pairButton, [this] { grid->pairSelection(); });
    onGrid(releaseButton, [this] { grid->releaseSelection(); });
    onGrid(aisleButton, [this] { grid->toggleAisle(); });
}

bool RoomEditor::edit(const QString &rosterPath, int pupils, const QList<PinnedDesk> &pins)
{
    const ClassRead read = readClassFile(rosterPath);
    if (read.status == ClassRead::Status::Unreadable) {
        showMessage(this,
                    read.error + QStringLiteral("\r教室の設定を変えるには、このファイルを直すか取り除いて下さい。"),
                    MsgStyle::Exclamation, Title);
        unloadSelf();
        return false;
    }
    rosterPath_ = rosterPath;
    roomRead_ = read.data.room;
    pupils_ = pupils;
    pins_ = pins;
    grid->setRoom(roomRead_);
    grid->setCurrent({0, grid->room().columns() - 1});
    grid->box(grid->current())->setFocus();
    return true;
}

void RoomEditor::showRoom()
{
    const Room &room = grid->room();
    for (QSpinBox *box : {rowsBox, columnsBox}) {
        const QSignalBlocker block(box);
        box->setValue(box == rowsBox ? room.rows() : room.columns());
    }
    int preset = -1;
    for (int i = 0; i < roomPresets().size(); ++i)
        preset = roomPresets()[i].room == room ? i : preset;
    presets->setCurrentIndex(preset);
    summary->setText(QStringLiteral("机 %1台（名簿 %2人）").arg(room.deskCount()).arg(pupils_));
}

void RoomEditor::okClicked()
{
    const Room room = grid->room();
    // Checked even unchanged: a roster may hold more names than the room it has so far.
    const QString refusal = roomChangeRefusal(roomRead_, room, pupils_, pins_);
    if (!refusal.isEmpty()) {
        showMessage(this, refusal, MsgStyle::Exclamation, Title);
        return;
    }
    if (room == roomRead_) {
        unloadSelf();
        return;
    }
    const QString error = changeClassFile(rosterPath_, [&room](ClassData &data) { data.room = room; });
    if (!error.isEmpty()) {
        showMessage(this, QStringLiteral("教室の設定を保存できませんでした。\r") + error, MsgStyle::Critical, Title);
        return;
    }
    emit roomSaved(room);
    unloadSelf();
}

std::optional<Room> editRoomModally(const QString &rosterPath, int pupils, const QList<PinnedDesk> &pins)
{
    std::optional<Room> saved;
    RoomEditor *editor = form<RoomEditor>();
    QObject::connect(editor, &RoomEditor::roomSaved, editor, [&saved](const Room &room) { saved = room; });
    if (editor->edit(rosterPath, pupils, pins))
        editor->exec();
    unload<RoomEditor>();
    return saved;
}
