#include "seating/rulelist.h"

#include "core/classfile.h"
#include "core/ruleedit.h"
#include "core/rulerun.h"
#include "core/sharedstate.h"
#include "platform/platform.h"
#include "seating/ruleeditor.h"
#include "widgets/ui.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace
{

const QString Title = QStringLiteral("詳しい条件");
const QColor LabelColor = rgb(255, 255, 128);

} // namespace

RuleList::RuleList()
    : ButtonRowDialog(
          Title, "RULELIST", QSize(600 * 15, 440 * 15),
          {QStringLiteral("Label1"),
           QStringLiteral("「必ず」の条件はすべて守り、「できれば」の条件はできるだけ守って席替えをします。"),
           QRect(330, 120, 8700, 285), Face::UIGothic, 11.25, false, rgb(255, 255, 0)},
          48)
{
    ruleList = new QListWidget(this);
    ruleList->setObjectName(QStringLiteral("List1"));
    ruleList->setGeometry(22, 58, 420, 250);
    setUpList(ruleList);
    ruleList->installEventFilter(this);
    auto *caption = new QLabel(QStringLiteral("条件(&L)"), this);
    caption->setGeometry(22, 34, 200, 24);
    caption->setFont(makeFont(Face::UIGothic, 10));
    setTextColor(caption, LabelColor);
    caption->setBuddy(ruleList);

    const auto button = [this](const char *name, const QString &text, int top) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(456, top, 122, 28);
        b->setFont(makeFont(Face::UIGothic, 9));
        b->setAutoDefault(false);
        return b;
    };
    addButton = button("Command2_0", QStringLiteral("追加(&A)..."), 58);
    changeButton = button("Command2_1", QStringLiteral("変更(&C)..."), 92);
    deleteButton = button("Command2_2", QStringLiteral("削除(&D)"), 126);
    mustBox = new QCheckBox(QStringLiteral("必ず(&M)"), this);
    mustBox->setObjectName(QStringLiteral("Check1"));
    mustBox->setGeometry(458, 166, 120, 24);
    mustBox->setFont(makeFont(Face::UIGothic, 10));
    mustBox->setToolTip(QStringLiteral(" 選んだ条件を「必ず」と「できれば」で切りかえます（Space） "));
    setTextColor(mustBox, LabelColor);

    status = new QLabel(this);
    status->setObjectName(QStringLiteral("Label2"));
    status->setGeometry(22, 318, 556, 64);
    status->setWordWrap(true);
    status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    status->setFont(makeFont(Face::UIGothic, 10));
    status->setAccessibleName(QStringLiteral("確かめた結果"));
    status->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    status->setFocusPolicy(Qt::TabFocus);
    setTextColor(status, Qt::white);

    addButtonRow();
    for (QPushButton *b : buttons)
        b->move(b->x(), 396);

    connect(addButton, &QPushButton::clicked, this, &RuleList::addRule);
    connect(changeButton, &QPushButton::clicked, this, &RuleList::changeRule);
    connect(deleteButton, &QPushButton::clicked, this, &RuleList::deleteRule);
    connect(mustBox, &QCheckBox::toggled, this, &RuleList::setMust);
    connect(ruleList, &QListWidget::currentRowChanged, this, &RuleList::showChosen);
    connect(ruleList, &QListWidget::itemActivated, this, &RuleList::changeRule);
}

void RuleList::edit(const DeskConditions &conditions)
{
    const ClassModel &open = state().openClass;
    rules_ = open.rules;
    // Conditions of another room name desks this one does not have.
    conditions_ = conditions.size() == open.room.deskCount() ? conditions : DeskConditions(open.room.deskCount());
    showRules(0);
    ruleList->setFocus();
}

void RuleList::showRules(int current)
{
    const QStringList &roster = state().openClass.pupils;
    {
        const QSignalBlocker block(ruleList);
        ruleList->clear();
        for (const Rule &rule : std::as_const(rules_))
            ruleList->addItem(ruleLine(rule, roster));
        ruleList->setCurrentRow(std::min(current, int(rules_.size()) - 1));
    }
    showChosen();
    // The solver may take a moment on a large class.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    status->setText(rulesCheckText(seatingContextOf(state().openClass), conditions_, rules_));
    QGuiApplication::restoreOverrideCursor();
}

void RuleList::showChosen()
{
    const int row = ruleList->currentRow();
    const bool chosen = row >= 0 && row < rules_.size();
    changeButton->setEnabled(chosen);
    deleteButton->setEnabled(chosen);
    mustBox->setEnabled(chosen);
    const QSignalBlocker block(mustBox);
    mustBox->setChecked(chosen && rules_[row].must);
}

void RuleList::addRule()
{
    if (const std::optional<Rule> rule = editRuleModally(Rule{})) {
        rules_.append(*rule);
        showRules(int(rules_.size()) - 1);
    }
    backToList();
}

void RuleList::changeRule()
{
    const int row = ruleList->currentRow();
    if (row < 0 || row >= rules_.size())
        return;
    if (const std::optional<Rule> rule = editRuleModally(rules_[row])) {
        rules_[row] = *rule;
        showRules(row);
    }
    backToList();
}

void RuleList::backToList()
{
    // Where the rule dialog closed with no window manager to hand the focus back, the
    // list's access keys would go nowhere.
    activateWindow();
    ruleList->setFocus();
}

void RuleList::deleteRule()
{
    const int row = ruleList->currentRow();
    if (row < 0 || row >= rules_.size())
        return;
    rules_.removeAt(row);
    showRules(row);
    ruleList->setFocus();
}

void RuleList::setMust(bool must)
{
    const int row = ruleList->currentRow();
    if (row < 0 || row >= rules_.size() || rules_[row].must == must)
        return;
    rules_[row].must = must;
    showRules(row);
}

void RuleList::okClicked()
{
    const Rules rules = rules_;
    const QString error = changeClassFile(state().RosterFileName, [&rules](ClassData &data) { data.rules = rules; });
    if (!error.isEmpty()) {
        showMessage(this, QStringLiteral("詳しい条件を保存できませんでした。\r") + error, MsgStyle::Critical, Title);
        return;
    }
    state().openClass.rules = rules;
    unloadSelf();
}

void RuleList::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        buttonClicked(1);
        return;
    }
    ButtonRowDialog::keyPressEvent(event);
}

bool RuleList::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ruleList && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() == Qt::NoModifier && key->key() == Qt::Key_Space) {
            setMust(!mustBox->isChecked());
            return true;
        }
        if (key->modifiers() == Qt::NoModifier && key->key() == Qt::Key_Delete) {
            deleteRule();
            return true;
        }
    }
    return ButtonRowDialog::eventFilter(watched, event);
}

void editRules(const DeskConditions &conditions, QWidget *owner)
{
    if (state().RosterFileName.isEmpty()) {
        showMessage(owner,
                    QStringLiteral("詳しい条件は、名簿を保存してから決められます。\r"
                                   "先に「新規登録・修正」で名簿を保存して下さい。"),
                    MsgStyle::Information, Title);
        return;
    }
    RuleList *list = form<RuleList>();
    list->edit(conditions);
    list->exec();
    unload<RuleList>();
}
