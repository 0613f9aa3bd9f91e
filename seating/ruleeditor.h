#pragma once

#include "core/rules.h"
#include "widgets/formwindow.h"

#include <QWidget>

#include <optional>

class QComboBox;
class QLabel;
class QListWidget;
class QRadioButton;
class QSpinBox;

// One desk of the desk picker: what a screen reader reads ("No.5 前から2列目", "選んだ席").
class DeskCell : public QWidget
{
    Q_OBJECT
public:
    DeskCell(QWidget *parent, int desk) : QWidget(parent), desk(desk) {}
    const int desk;
    bool chosen = false;

protected:
    void paintEvent(QPaintEvent *event) override;
};

// The desks of a room as the pupils see them, the front row lowest: a click or Space on a
// desk chooses it or leaves it out, the arrows move between desks, Tab leaves the picker.
class DeskPicker : public QWidget
{
    Q_OBJECT
public:
    DeskPicker(QWidget *parent, const Room &room);

    void setChosen(const QList<int> &desks);
    DeskCell *cell(int desk) const { return cells_.value(desk - 1); }
    DeskCell *currentCell() const { return cell(current_); }

signals:
    // A click or Space on `desk`; the owner decides what it means.
    void deskToggled(int desk);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void moveTo(int row, int column);

    Room room_;
    QList<DeskCell *> cells_; // desk k is element k - 1
    int current_ = 1;
};

// The dialog of one rule: its kind, its pupils from the roster, where (a zone), how far, which
// mark, and must or wish. OK hands the rule back only when it is whole.
class RuleEditor : public ButtonRowDialog
{
    Q_OBJECT
public:
    RuleEditor();

    // Shows `rule` for changing; a new rule comes in with its defaults.
    void edit(const Rule &rule);

    QComboBox *kindBox = nullptr;
    QComboBox *chartsBox = nullptr;
    QListWidget *pupilList = nullptr;
    QComboBox *zoneBox = nullptr;
    QSpinBox *firstBox = nullptr;
    QSpinBox *countBox = nullptr;
    DeskPicker *desks = nullptr;
    QSpinBox *distanceBox = nullptr;
    QComboBox *tagBox = nullptr;
    QRadioButton *mustButton = nullptr;
    QRadioButton *wishButton = nullptr;

signals:
    // OK took `rule`, whole.
    void ruleChosen(const Rule &rule);

protected:
    void okClicked() override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // The rule as the controls stand.
    Rule chosenRule() const;
    // Only what the chosen kind uses can be reached; the picker shows the zone's desks.
    void showKind();
    // The kinds about earlier charts start as できれば, the others as 必ず, until one is clicked.
    void kindChosen();
    // 前回, 過去2回 … and for the deskmates 今年すべて, keeping what is chosen where it can.
    void fillCharts(Rule::Kind kind, int chosen);
    void deskToggled(int desk);

    Room room_;
    Rule::Kind shownKind_ = Rule::Kind::Zone;
    bool mustClicked_ = false;
    int mostCharts_ = 0;
    QList<int> painted_; // the desks of a painted zone, kept while another zone is shown
};

// A list of the rule dialogs: black on white, as lists are, on the grey of the dialog.
void setUpList(QListWidget *list);

// The rule dialog over the rule list; the rule when OK took it.
std::optional<Rule> editRuleModally(const Rule &rule);
