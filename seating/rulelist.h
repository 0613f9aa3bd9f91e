#pragma once

#include "core/chart.h"
#include "core/rules.h"
#include "widgets/formwindow.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;

// 詳しい条件: the class's rules in a list, each 必ず or できれば, added, changed and deleted
// here. Below the list it says after every change whether the must rules, with the desk
// conditions of the condition editor, can all hold. OK writes them to the class file.
class RuleList : public ButtonRowDialog
{
    Q_OBJECT
public:
    RuleList();

    // Takes the open class's rules, judged with `conditions` (one per desk).
    void edit(const DeskConditions &conditions);
    const Rules &rules() const { return rules_; }

    void addRule();
    void changeRule();
    void deleteRule();
    // Makes the chosen rule a must or a wish.
    void setMust(bool must);

    QListWidget *ruleList = nullptr;
    QPushButton *addButton = nullptr, *changeButton = nullptr, *deleteButton = nullptr;
    QCheckBox *mustBox = nullptr;
    QLabel *status = nullptr;

protected:
    void okClicked() override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The list afresh with line `current` chosen, and the check run again.
    void showRules(int current);
    void showChosen();
    void backToList();

    Rules rules_;
    DeskConditions conditions_;
};

// The rule list over `owner`, modal; the open class's rules and its class file change on OK.
void editRules(const DeskConditions &conditions, QWidget *owner);
