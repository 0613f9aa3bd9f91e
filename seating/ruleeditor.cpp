#include "seating/ruleeditor.h"

#include "core/helpfile.h"
#include "core/ruleedit.h"
#include "core/sharedstate.h"
#include "platform/platform.h"
#include "widgets/seatbox.h"
#include "widgets/ui.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

namespace
{

const QString Title = QStringLiteral("詳しい条件");
const QColor LabelColor = rgb(255, 255, 128);
const QColor ChosenColor = rgb(255, 208, 112);

// The picker's area in pixels, and the largest desk it draws.
constexpr QSize PickerArea{390, 190};
constexpr int MaxCellWidth = 48, MaxCellHeight = 26, Gap = 3, AisleGap = 10, DeskLabelHeight = 18;

// In the order of Rule::Kind and Zone::Kind: the combo boxes' index is the kind.
const QStringList KindCaptions{
    QStringLiteral("場所：前・後ろ・窓側などの席に"),
    QStringLiteral("離す：何席か以上離す"),
    QStringLiteral("離す：別々の班に"),
    QStringLiteral("近くに：何席か以内に"),
    QStringLiteral("近くに：隣どうしに"),
    QStringLiteral("近くに：同じ机の組に"),
    QStringLiteral("班：各班に1人ずつ（班長など）"),
    QStringLiteral("班：各班の男女の数をそろえる"),
    QStringLiteral("男女：男女を交互に"),
    QStringLiteral("男女：机の組を男女に"),
    QStringLiteral("これまでの席：男女の並びを前回と同じに"),
    QStringLiteral("これまでの席：同じ席にしない"),
    QStringLiteral("これまでの席：同じ人と隣にしない"),
    QStringLiteral("これまでの席：同じ人と同じ班にしない"),
    QStringLiteral("これまでの席：前と後ろの席を1年で公平に"),
};
// How far back a rule about earlier charts looks, as offered.
constexpr int OfferedCharts = 10;

bool aboutEarlierCharts(Rule::Kind kind)
{
    return kind >= Rule::Kind::LastPattern;
}

// The pupils of a rule. Type-ahead finds a pupil by the start of the name, as lists do, or of
// the reading in hiragana or katakana: a name in kanji cannot be typed a letter at a time.
class PupilList : public QListWidget
{
public:
    using QListWidget::QListWidget;
    static constexpr int ReadingRole = Qt::UserRole + 1;

    void keyboardSearch(const QString &search) override
    {
        const bool goingOn =
            !search.isEmpty() && typedAt_.isValid() && !typedAt_.hasExpired(QApplication::keyboardInputInterval());
        typed_ = goingOn ? typed_ + search : search;
        typedAt_.start();
        if (typed_.isEmpty() || count() == 0)
            return;
        // One key again and again steps through the pupils it starts; a new search starts
        // after the current pupil, more keys stay on it while it still fits.
        const bool sameKey = typed_.count(typed_.back()) == typed_.size();
        const QString key = helpSearchKey(sameKey ? QString(typed_.back()) : typed_);
        const int from = std::max(0, currentRow()) + (!goingOn || sameKey ? 1 : 0);
        for (int i = 0; i < count(); ++i) {
            QListWidgetItem *it = item((from + i) % count());
            if (helpSearchKey(it->data(Qt::UserRole).toString()).startsWith(key) ||
                helpSearchKey(it->data(ReadingRole).toString()).startsWith(key)) {
                setCurrentItem(it);
                return;
            }
        }
    }

private:
    QString typed_;
    QElapsedTimer typedAt_;
};
const QStringList ZoneCaptions{QStringLiteral("前から"),   QStringLiteral("後ろから"),   QStringLiteral("列の範囲"),
                               QStringLiteral("窓側から"), QStringLiteral("廊下側から"), QStringLiteral("席を選ぶ")};

} // namespace

void setUpList(QListWidget *list)
{
    QPalette p = list->palette();
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::Text, Qt::black);
    list->setPalette(p);
    list->setFont(makeFont(Face::UIGothic, 10));
}

void DeskCell::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect r = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(r, chosen ? ChosenColor : QColor(Qt::white));
    painter.setPen(isEnabled() ? Qt::black : Qt::gray);
    painter.drawRect(r);
    painter.setFont(makeFont(Face::PGothic, 8));
    painter.drawText(r, Qt::AlignCenter, QString::number(desk));
    if (hasFocus()) {
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.drawRect(r.adjusted(2, 2, -2, -2));
    }
}

DeskPicker::DeskPicker(QWidget *parent, const Room &room) : QWidget(parent), room_(room)
{
    setFixedSize(PickerArea);
    const int columns = room.columns(), rows = room.rows();
    int aisles = 0;
    for (int c = 0; c + 1 < columns; ++c)
        aisles += room.aisleAfter(c) ? 1 : 0;
    const int cellWidth =
        std::min(MaxCellWidth, (PickerArea.width() - (columns - 1) * Gap - aisles * AisleGap) / columns);
    const int rowsHeight = PickerArea.height() - DeskLabelHeight - Gap;
    const int cellHeight = std::min(MaxCellHeight, (rowsHeight - (rows - 1) * Gap) / rows);
    const int width = columns * cellWidth + (columns - 1) * Gap + aisles * AisleGap;
    QList<int> left(columns);
    for (int c = 0, x = (PickerArea.width() - width) / 2; c < columns; ++c) {
        left[c] = x;
        x += cellWidth + Gap + (room.aisleAfter(c) ? AisleGap : 0);
    }
    for (int desk = 1; desk <= room.deskCount(); ++desk) {
        const RoomCell at = *room.cellOfDesk(desk);
        auto *c = new DeskCell(this, desk);
        c->setObjectName(QStringLiteral("Desk_%1").arg(desk));
        c->setGeometry(left[at.column], rowsHeight - (at.row + 1) * cellHeight - at.row * Gap, cellWidth, cellHeight);
        c->setAccessibleName(seatName(desk) + QLatin1Char(' ') + rowText(at.row + 1));
        c->setFocusPolicy(desk == 1 ? Qt::StrongFocus : Qt::ClickFocus);
        c->installEventFilter(this);
        cells_.append(c);
    }
    auto *teacher = new QLabel(QStringLiteral("教卓"), this);
    teacher->setAlignment(Qt::AlignCenter);
    teacher->setGeometry((PickerArea.width() - 80) / 2, PickerArea.height() - DeskLabelHeight, 80, DeskLabelHeight);
    teacher->setFont(makeFont(Face::UIGothic, 9));
    setBackgroundColor(teacher, rgb(0, 255, 0));
}

void DeskPicker::setChosen(const QList<int> &desks)
{
    for (DeskCell *c : std::as_const(cells_)) {
        c->chosen = desks.contains(c->desk);
        c->setAccessibleDescription(c->chosen ? QStringLiteral("選んだ席") : QString());
        c->update();
    }
}

void DeskPicker::moveTo(int row, int column)
{
    const int desk = room_.deskNumber({row, column});
    if (desk == 0)
        return;
    currentCell()->setFocusPolicy(Qt::ClickFocus);
    current_ = desk;
    currentCell()->setFocusPolicy(Qt::StrongFocus);
    currentCell()->setFocus(Qt::OtherFocusReason);
}

bool DeskPicker::eventFilter(QObject *watched, QEvent *event)
{
    auto *c = qobject_cast<DeskCell *>(watched);
    if (!c)
        return QWidget::eventFilter(watched, event);
    const RoomCell at = *room_.cellOfDesk(c->desk);
    // The next desk that way, over places without one.
    const auto step = [&](int dRow, int dColumn) {
        for (RoomCell to{at.row + dRow, at.column + dColumn};
             to.row >= 0 && to.row < room_.rows() && to.column >= 0 && to.column < room_.columns();
             to = {to.row + dRow, to.column + dColumn}) {
            if (room_.hasDesk(to)) {
                moveTo(to.row, to.column);
                return;
            }
        }
    };
    switch (event->type()) {
    case QEvent::KeyPress:
        switch (static_cast<QKeyEvent *>(event)->key()) {
        // Up is toward the back of the room, drawn higher.
        case Qt::Key_Up: step(1, 0); return true;
        case Qt::Key_Down: step(-1, 0); return true;
        case Qt::Key_Left: step(0, -1); return true;
        case Qt::Key_Right: step(0, 1); return true;
        case Qt::Key_Space: emit deskToggled(c->desk); return true;
        default: return false;
        }
    case QEvent::MouseButtonPress:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            moveTo(at.row, at.column);
            emit deskToggled(c->desk);
        }
        return true;
    case QEvent::FocusIn:
    case QEvent::FocusOut: c->update(); return false;
    default: return false;
    }
}

RuleEditor::RuleEditor()
    : ButtonRowDialog(Title, "RULEEDIT", QSize(660 * 15, 468 * 15),
                      {QStringLiteral("Label1"),
                       QStringLiteral("条件の種類を選び、生徒や場所を決めて「OK」を押して下さい。"),
                       QRect(330, 120, 9300, 285), Face::UIGothic, 11.25, false, rgb(255, 255, 0)},
                      48),
      room_(state().openClass.room)
{
    const auto label = [this](const QString &text, QRect place, QWidget *buddy) {
        auto *l = new QLabel(text, this);
        l->setGeometry(place);
        l->setFont(makeFont(Face::UIGothic, 10));
        setTextColor(l, LabelColor);
        l->setBuddy(buddy);
        return l;
    };
    const auto spin = [this](const char *name, QRect place, int maximum) {
        auto *box = new QSpinBox(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setRange(1, maximum);
        box->setGeometry(place);
        return box;
    };
    kindBox = new QComboBox(this);
    kindBox->setObjectName(QStringLiteral("Combo1"));
    kindBox->addItems(KindCaptions);
    kindBox->setGeometry(92, 36, 300, 26);
    label(QStringLiteral("種類(&K)"), QRect(22, 36, 68, 26), kindBox);
    chartsBox = new QComboBox(this);
    chartsBox->setObjectName(QStringLiteral("Combo4"));
    chartsBox->setGeometry(462, 36, 120, 26);
    label(QStringLiteral("回数(&C)"), QRect(404, 36, 56, 26), chartsBox);

    pupilList = new PupilList(this);
    pupilList->setObjectName(QStringLiteral("List1"));
    pupilList->setGeometry(22, 98, 200, 312);
    setUpList(pupilList);
    label(QStringLiteral("生徒(&S)"), QRect(22, 72, 200, 24), pupilList);

    zoneBox = new QComboBox(this);
    zoneBox->setObjectName(QStringLiteral("Combo2"));
    zoneBox->addItems(ZoneCaptions);
    zoneBox->setGeometry(310, 72, 110, 26);
    label(QStringLiteral("場所(&Z)"), QRect(244, 72, 64, 26), zoneBox);
    firstBox = spin("Spin1_0", QRect(340, 104, 50, 26), Room::MaxRows);
    label(QStringLiteral("何列目から(&F)"), QRect(244, 104, 94, 26), firstBox);
    countBox = spin("Spin1_1", QRect(470, 104, 50, 26), Room::MaxRows);
    label(QStringLiteral("列数(&N)"), QRect(410, 104, 58, 26), countBox);

    desks = new DeskPicker(this, room_);
    desks->setObjectName(QStringLiteral("DeskPicker"));
    desks->move(250, 138);

    distanceBox = spin("Spin1_2", QRect(310, 340, 50, 26), Room::MaxRows);
    label(QStringLiteral("席数(&D)"), QRect(244, 340, 64, 26), distanceBox);
    tagBox = new QComboBox(this);
    tagBox->setObjectName(QStringLiteral("Combo3"));
    tagBox->setEditable(true);
    tagBox->setGeometry(470, 340, 170, 26);
    label(QStringLiteral("印(&T)"), QRect(420, 340, 48, 26), tagBox);
    QStringList tags{QStringLiteral("班長")};
    for (const PupilInfo &info : std::as_const(state().openClass.info)) {
        for (const QString &tag : info.tags) {
            if (!tags.contains(tag))
                tags.append(tag);
        }
    }
    tagBox->addItems(tags);

    mustButton = new QRadioButton(QStringLiteral("必ず(&M)"), this);
    mustButton->setObjectName(QStringLiteral("Option1_0"));
    mustButton->setGeometry(244, 378, 120, 24);
    wishButton = new QRadioButton(QStringLiteral("できれば(&W)"), this);
    wishButton->setObjectName(QStringLiteral("Option1_1"));
    wishButton->setGeometry(370, 378, 140, 24);
    for (QRadioButton *b : {mustButton, wishButton}) {
        setTextColor(b, LabelColor);
        b->setFont(makeFont(Face::UIGothic, 10));
    }

    addButtonRow();
    for (QPushButton *b : buttons)
        b->move(b->x(), 426);

    connect(kindBox, &QComboBox::currentIndexChanged, this, &RuleEditor::kindChosen);
    for (QRadioButton *b : {mustButton, wishButton})
        connect(b, &QRadioButton::clicked, this, [this] { mustClicked_ = true; });
    connect(zoneBox, &QComboBox::currentIndexChanged, this, &RuleEditor::showKind);
    connect(firstBox, &QSpinBox::valueChanged, this, &RuleEditor::showKind);
    connect(countBox, &QSpinBox::valueChanged, this, &RuleEditor::showKind);
    connect(desks, &DeskPicker::deskToggled, this, &RuleEditor::deskToggled);
}

void RuleEditor::edit(const Rule &rule)
{
    const QStringList &roster = state().openClass.pupils;
    pupilList->clear();
    // The roster's pupils, then those the rule names that the roster has no more: kept
    // until they are unticked.
    QStringList names = roster;
    for (const QString &p : rule.pupils) {
        if (!names.contains(p))
            names.append(p);
    }
    for (const QString &name : names) {
        auto *item = new QListWidgetItem(roster.contains(name) ? name : name + QStringLiteral("（名簿にいません）"));
        item->setData(Qt::UserRole, name);
        item->setData(PupilList::ReadingRole, state().openClass.info.value(name).reading);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(rule.pupils.contains(name) ? Qt::Checked : Qt::Unchecked);
        pupilList->addItem(item);
    }
    pupilList->setCurrentRow(0);
    {
        const QSignalBlocker a(zoneBox), b(firstBox), c(countBox);
        zoneBox->setCurrentIndex(int(rule.zone.kind));
        firstBox->setValue(rule.zone.first);
        countBox->setValue(rule.zone.count);
    }
    painted_ = rule.zone.desks;
    distanceBox->setValue(rule.distance);
    if (!rule.tag.isEmpty())
        tagBox->setCurrentText(rule.tag);
    (rule.must ? mustButton : wishButton)->setChecked(true);
    mustClicked_ = false;
    mostCharts_ = std::max(OfferedCharts, rule.charts);
    {
        const QSignalBlocker block(kindBox);
        kindBox->setCurrentIndex(int(rule.kind));
    }
    shownKind_ = rule.kind;
    fillCharts(rule.kind, rule.charts);
    showKind();
    kindBox->setFocus();
}

Rule RuleEditor::chosenRule() const
{
    Rule rule;
    rule.kind = Rule::Kind(kindBox->currentIndex());
    rule.must = mustButton->isChecked();
    for (int i = 0; i < pupilList->count(); ++i) {
        if (pupilList->item(i)->checkState() == Qt::Checked)
            rule.pupils.append(pupilList->item(i)->data(Qt::UserRole).toString());
    }
    rule.zone.kind = Zone::Kind(zoneBox->currentIndex());
    rule.zone.first = firstBox->value();
    rule.zone.count = countBox->value();
    rule.zone.desks = painted_;
    rule.distance = distanceBox->value();
    rule.tag = tagBox->currentText();
    rule.charts = chartsBox->currentData().toInt();
    return rule;
}

void RuleEditor::kindChosen()
{
    const auto kind = Rule::Kind(kindBox->currentIndex());
    if (!mustClicked_ && aboutEarlierCharts(kind) != aboutEarlierCharts(shownKind_))
        (aboutEarlierCharts(kind) ? wishButton : mustButton)->setChecked(true);
    shownKind_ = kind;
    fillCharts(kind, chartsBox->currentData().toInt());
    showKind();
}

void RuleEditor::fillCharts(Rule::Kind kind, int chosen)
{
    const QSignalBlocker block(chartsBox);
    chartsBox->clear();
    chartsBox->addItem(QStringLiteral("前回"), 1);
    for (int n = 2; n <= mostCharts_; ++n)
        chartsBox->addItem(QStringLiteral("過去%1回").arg(n), n);
    if (kind == Rule::Kind::NewDeskmates)
        chartsBox->addItem(QStringLiteral("今年すべて"), 0);
    chartsBox->setCurrentIndex(std::max(0, chartsBox->findData(chosen)));
}

void RuleEditor::showKind()
{
    using Kind = Rule::Kind;
    const auto kind = Kind(kindBox->currentIndex());
    const auto zone = Zone::Kind(zoneBox->currentIndex());
    const bool isZone = kind == Kind::Zone;
    pupilList->setEnabled(kind < Kind::LeaderPerGroup);
    zoneBox->setEnabled(isZone);
    firstBox->setEnabled(isZone && zone == Zone::Kind::Rows);
    countBox->setEnabled(isZone && zone != Zone::Kind::Desks);
    desks->setEnabled(isZone);
    distanceBox->setEnabled(kind == Kind::Apart || kind == Kind::Near);
    tagBox->setEnabled(kind == Kind::LeaderPerGroup);
    chartsBox->setEnabled(kind == Kind::NewDesk || kind == Kind::NewDeskmates);
    // The picker shows the desks of the zone as it stands.
    const Zone shown{zone, firstBox->value(), countBox->value(), painted_};
    desks->setChosen(isZone ? shown.desksIn(room_) : QList<int>());
}

void RuleEditor::deskToggled(int desk)
{
    if (painted_.contains(desk))
        painted_.removeAll(desk);
    else
        painted_.append(desk);
    // A desk chosen by hand makes the zone one of painted desks.
    if (zoneBox->currentIndex() != int(Zone::Kind::Desks))
        zoneBox->setCurrentIndex(int(Zone::Kind::Desks));
    else
        showKind();
}

void RuleEditor::okClicked()
{
    QString problem;
    const std::optional<Rule> rule = finishedRule(chosenRule(), room_, &problem);
    if (!rule) {
        showMessage(this, problem, MsgStyle::Exclamation, Title);
        return;
    }
    emit ruleChosen(*rule);
    unloadSelf();
}

void RuleEditor::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        buttonClicked(1);
        return;
    }
    ButtonRowDialog::keyPressEvent(event);
}

std::optional<Rule> editRuleModally(const Rule &rule)
{
    std::optional<Rule> chosen;
    RuleEditor *editor = form<RuleEditor>();
    QObject::connect(editor, &RuleEditor::ruleChosen, editor, [&chosen](const Rule &r) { chosen = r; });
    editor->edit(rule);
    editor->exec();
    unload<RuleEditor>();
    return chosen;
}
