// The condition editor: seats typed, dropped and chosen by keys, applied and cancelled, its
// window for any room, and its list of rules.
#include "core/classfile.h"
#include "core/ruleedit.h"
#include "seating/conditioneditor.h"
#include "seating/ruleeditor.h"
#include "seating/rulelist.h"
#include "seatingfixture.h"
#include "widgets/ui.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QDrag>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QtTest>

namespace
{

const QString NotRegistrant = QStringLiteral("設定者確認|登録者以外の氏名を条件として設定しようとしました。|16");
const QString SameNameTwice = QStringLiteral("設定者重複|同じ氏名を条件として設定しようとしました。|16");
const QString DoNotAddUp =
    QStringLiteral("設定確認|登録者数と空座席数の関係に矛盾があるか、\r指定座席に空座席を設定しようとしました。|16");
const QString Applied = QStringLiteral("設定確認|条件を設定しました。|64");

// Seats typed into the condition editor; "-" ticks the seat's box, as the stored mark does,
// and a "[x]" after a name ticks it too.
void typeSeats(ConditionEditor *w, const SeatMap &typed)
{
    for (auto it = typed.cbegin(); it != typed.cend(); ++it) {
        QString text = it.value();
        if (text == QLatin1String("-") || text.endsWith(QLatin1String("[x]"))) {
            w->emptySeatChecks[size_t(it.key() - 1)]->setChecked(true);
            text.chop(text.size() == 1 ? 1 : 3);
        }
        w->seatBoxes[size_t(it.key() - 1)]->setText(text);
    }
}

// The condition editor opened for a roster, as the roster editor opens it, with seats typed in.
ConditionEditor *openEditor(const QStringList &roster, const SeatMap &stored = {}, const SeatMap &typed = {},
                            const Room &room = Room::standard())
{
    state().openClass.setRoom(room);
    mainWithRoster(roster, stored);
    showConditionEditor();
    ConditionEditor *w = loadedForm<ConditionEditor>();
    typeSeats(w, typed);
    return w;
}

// The seats given, each marked "-", added to `map`.
SeatMap marked(const QList<int> &seats, SeatMap map = {})
{
    for (int k : seats)
        map[k] = QStringLiteral("-");
    return map;
}

// The seats' texts, "[x]" after those ticked.
QStringList shownSeats(ConditionEditor *w)
{
    QStringList texts;
    for (int i = 0; i < w->seatBoxes.size(); ++i)
        texts.append(w->seatBoxes[i]->text() + (w->emptySeatChecks[i]->isChecked() ? "[x]" : ""));
    return texts;
}

// A registrant's name dragged from label 0 over `target` and dropped there as the drag
// machinery does; true when the target took every step.
bool dropName(QWidget *target, const QString &name)
{
    const std::unique_ptr<QMimeData> data(registrantMimeData(name, 0));
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    enter.ignore();
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    move.ignore();
    QApplication::sendEvent(target, &move);
    QDropEvent dropped(QPointF(at), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    dropped.ignore();
    QApplication::sendEvent(target, &dropped);
    return enter.isAccepted() && move.isAccepted() && move.dropAction() == Qt::CopyAction && dropped.isAccepted();
}

// The captions of a menu's items, separators left out.
QStringList captions(const QMenu *menu)
{
    QStringList out;
    for (const QAction *a : menu->actions()) {
        if (!a->isSeparator())
            out.append(a->text());
    }
    return out;
}

// One step of a dialog, sent where its focus is: "key Alt+K", "pick 3" (a combo box's entry
// from the top), "type 佐" (a list's type-ahead after a pause, or text), "click Desk_5", "says
// Desk_5 name|description", "ok".
void dialogStep(ButtonRowDialog *dialog, const QString &step)
{
    if (!dialog->isActiveWindow()) {
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
    }
    QWidget *focus = dialog->focusWidget();
    const QString what = step.section(u' ', 0, 0), arg = step.section(u' ', 1);
    if (what == QLatin1String("key")) {
        const QKeyCombination key = QKeySequence::fromString(arg)[0];
        QTest::keyClick(focus, key.key(), key.keyboardModifiers());
    } else if (what == QLatin1String("pick")) {
        QTest::keyClick(focus, Qt::Key_Home);
        for (int i = 0; i < arg.toInt(); ++i)
            QTest::keyClick(focus, Qt::Key_Down);
    } else if (what == QLatin1String("type")) {
        if (auto *view = qobject_cast<QAbstractItemView *>(focus))
            view->keyboardSearch({});
        for (const QChar c : arg) // as an input method commits it
            QTest::sendKeyEvent(QTest::Click, focus, c.unicode() < 128 ? Qt::Key(c.unicode()) : Qt::Key_unknown,
                                QString(c), Qt::NoModifier);
    } else if (what == QLatin1String("click")) {
        QTest::mouseClick(dialog->findChild<QWidget *>(arg), Qt::LeftButton);
    } else if (what == QLatin1String("says")) {
        const QWidget *w = dialog->findChild<QWidget *>(arg.section(u' ', 0, 0));
        QCOMPARE(w->accessibleName() + u'|' + w->accessibleDescription(), arg.section(u' ', 1));
    } else {
        QCOMPARE(what, QStringLiteral("ok"));
        dialog->buttons[0]->click();
    }
    // A mnemonic clicks its button a moment later.
    const QList<QAbstractButton *> buttons = dialog->findChildren<QAbstractButton *>();
    QTRY_VERIFY(std::none_of(buttons.cbegin(), buttons.cend(), [](const QAbstractButton *b) { return b->isDown(); }));
}

// Runs `fn` once a dialog of type W shows, if it does within five seconds.
template <class W> void whenShown(const std::function<void(W *)> &fn, QDeadlineTimer deadline = QDeadlineTimer(5000))
{
    whenModal([fn, deadline] {
        if (W *w = loadedForm<W>(); w && w->isVisible())
            fn(w);
        else if (!deadline.hasExpired())
            whenShown(fn, deadline);
    });
}

QImage iconImage(const QPixmap &pixmap)
{
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

// Runs the steps of the rule list shown; its status line as it changed goes to `seen`.
void runRuleList(const QString &script, TestEnv &env, QStringList *seen, QStringList *open)
{
    RuleList *list = loadedForm<RuleList>();
    QVERIFY(list);
    for (const QString &step : (QStringLiteral("; ") + script).split(u';')) {
        if (step.contains(u':')) {
            const QStringList inner = step.section(u':', 1).split(u',');
            whenShown<RuleEditor>([inner](RuleEditor *editor) {
                for (const QString &s : inner) {
                    if (isLoaded<RuleEditor>() && !QTest::currentTestFailed())
                        dialogStep(editor, s.trimmed());
                }
                unload<RuleEditor>();
            });
            dialogStep(list, QStringLiteral("key ") + step.section(u':', 0, 0).trimmed());
        } else if (step.trimmed() == QLatin1String("full")) {
            env.limitWrites(QStringLiteral(".MEM.json"), 10);
        } else if (!step.trimmed().isEmpty()) {
            dialogStep(list, step.trimmed());
        }
        if (!isLoaded<RuleList>() || QTest::currentTestFailed())
            break;
        if (seen->value(seen->size() - 1) != list->status->text())
            seen->append(list->status->text());
    }
    if (isLoaded<RuleList>())
        open->append(QStringLiteral("list open"));
    unload<RuleList>();
}

} // namespace

class TestConditions : public QObject
{
    Q_OBJECT

private slots:
    void edits_data();
    void edits();
    void roomLayout_data();
    void roomLayout();
};

void TestConditions::edits_data()
{
    QTest::addColumn<QStringList>("roster");
    // The room by its place among the presets: 0 the standard room, 4 five rows of 8 in 班 of 5,
    // 5 seven rows of 6 in pairs.
    QTest::addColumn<int>("room");
    QTest::addColumn<SeatMap>("opened"); // stored before the editor opened
    QTest::addColumn<SeatMap>("entered");
    // Steps by ";": apply, cancel (asks, answered OK), close (the close box), "N=text" typed;
    // drop/nodrop <control> (the second registrant, taken or refused), press <control> (starts
    // no drag), icon [file] (the drag's cursors: DRAG.ICO, the one written to the work folder
    // when named, and DRAG2.ICO); focus <control>, key <keys>, tab/backtab <control focused
    // after>; in the menu that opened: menu <captions by |>, seats (the seat menu), submenu
    // <caption>, choose <item>
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("messages"); // "open": the editor stayed open; "list open": the rule list
    QTest::addColumn<SeatMap>("stored");
    QTest::addColumn<Rules>("before"); // in the class file and the open class
    // Steps of the rule list that step "rules" opens, by ";"; "<key>: <steps by ','>" runs the
    // rule dialog that key opens; "full": the disk fills up.
    QTest::addColumn<QString>("list");
    QTest::addColumn<QStringList>("statuses"); // the rule list's status line as it changed
    QTest::addColumn<QStringList>("saved");    // the rules then in the class file and the open class
    const auto row = [](const char *name, const QStringList &roster, const SeatMap &entered,
                        const QStringList &messages, const SeatMap &stored, const SeatMap &opened = {},
                        const QString &script = QStringLiteral("apply"), int room = 0) {
        QTest::newRow(name) << roster << room << opened << entered << script << messages << stored << Rules()
                            << QString() << QStringList() << QStringList();
    };
    const QStringList twenty = pupils(20);
    const QList<int> eight{1, 4, 8, 12, 16, 20, 24, 28}, nine = eight + QList<int>{2};
    const SeatMap twoPairs{{3, "生徒4"}, {5, "生徒9"}, {7, "生徒9"}, {10, "生徒4"}};
    const QString open = QStringLiteral("open");
    row("trailing blank", twenty, {{3, "生徒1 "}}, {NotRegistrant, open}, {});
    row("two duplicate pairs: one message", twenty, twoPairs, {SameNameTwice, open}, twoPairs);
    row("seat named and ticked", twenty, {{4, "生徒2[x]"}, {6, "-"}}, {DoNotAddUp, open}, {{4, "生徒2"}, {6, "-"}});
    row("20 pupils, 8 empty seats", twenty, marked(eight), {Applied}, marked(eight));
    // Seats 5 and 6 are stored before seat 7 fails; the duplicate check is skipped after
    // message 1, the empty seats are still checked.
    row("duplicate, then not a registrant, too many empty seats", twenty,
        marked(nine, SeatMap{{5, "生徒7"}, {6, "生徒7"}, {7, "転校生"}}), {NotRegistrant, DoNotAddUp, open},
        marked(nine, {{5, "生徒7"}, {6, "生徒7"}}));
    // The failed apply left seat 10's empty-seat mark stored; the mark is no name the next
    // apply could find in conflict with the tick.
    row("corrected after a failed apply", twenty, {{3, "転校生"}, {10, "-"}}, {NotRegistrant, Applied}, marked({10}),
        {}, "apply; 3=; apply");
    row("a name cleared frees its seat", pupils(12), {{5, ""}}, {Applied}, marked({28}, {{21, "生徒3"}}),
        {{5, "生徒12"}, {21, "生徒3"}, {28, "-"}});
    const SeatMap fiveEmpty = marked({36, 37, 38, 39, 40}, {{33, "生徒2"}});
    row("8x5 班, 35 pupils, 5 desks ticked", pupils(35), fiveEmpty, {Applied}, fiveEmpty, {}, "apply", 4);
    // Loading took the mark into the tick: only the tick is left entered, and it asks.
    row("cancel with only a tick clears all", pupils(10), {{3, ""}},
        {"条件破棄確認|設定中の条件があります。それらを破棄しますか？|33"}, {}, {{3, "生徒3"}, {9, "-"}}, "cancel");
    // The close box leaves the conditions of the opening, after changes and a failed apply.
    const SeatMap first{{1, "-"}, {3, "生徒5"}, {7, "-"}, {21, "生徒3"}};
    row("close box after a failed apply", pupils(10), {{3, ""}, {9, "転校生"}, {12, "-"}}, {NotRegistrant}, first,
        first, "apply; close");
    // The second registrant is placed as the roster has it, whatever the menus show of it.
    const QStringList three{"生徒1", "A&B\tC", "生徒3"};
    const SeatMap typed{{5, "生徒3"}, {7, "-"}};
    const auto placed = [&typed](int desk) {
        SeatMap map = typed;
        map[desk] = QStringLiteral("A&B\tC");
        return map;
    };
    row("drop on a seat with text", three, typed, {Applied}, placed(5), {}, "drop Text1_4; apply");
    row("drops refused", three, typed, {Applied}, typed, {},
        "nodrop Check1_4; nodrop Label1_4; nodrop Label4_2; nodrop Label5; apply");
    row("8x5 班, drop at desk 33", three, typed, {Applied}, placed(33), {}, "drop Text1_32; apply", 4);
    row("press beyond the roster", three, typed, {open}, {}, {}, "press Label4_3");
    row("drag icon: the built-in one", three, typed, {open}, {}, {}, "icon");
    row("drag icon: DRAG.ICO of the work folder", three, typed, {open}, {}, {}, "icon DRAG.ICO");
    for (const char *key : {"Return", "Space", "Shift+F10"})
        row(qPrintable(QStringLiteral("registrant, %1").arg(key)), three, typed, {Applied}, placed(6), {},
            QStringLiteral("focus Label4_1; key %1; seats; choose 6; apply").arg(key));
    const QString names = QStringLiteral("menu 生徒1|A&&B C|生徒3; choose 2; apply");
    row("seat, Alt+Down", three, typed, {Applied}, placed(6), {}, "focus Text1_5; key Alt+Down; " + names);
    row("seat, Shift+F10: context menu", three, typed, {Applied}, placed(6), {},
        "focus Text1_5; key Shift+F10; submenu 登録者一覧から選択(&L); " + names);
    // Tab goes from the last tick to the registrants of the roster, then round to seat 1.
    row("Tab reaches the registrants", three, typed, {open}, {}, {},
        "focus Check1_27; tab Label4_0; tab Label4_1; tab Label4_2; tab Text1_0; backtab Label4_2");
    const QString can = QStringLiteral("すべての条件を満たす席替えができます。");
    const QStringList ten{"青木", "伊藤", "上田", "江藤", "大野", "加藤", "木村", "工藤", "佐藤", "鈴木"};
    const auto rules = [&](const char *name, const char *list, const QStringList &saved, int room = 0,
                           const QStringList &messages = {}, const QStringList &statuses = {}, const Rules &before = {},
                           const SeatMap &typed = {}) {
        QTest::newRow(name) << ten << room << SeatMap() << typed << QStringLiteral("rules")
                            << messages + QStringList{open} << SeatMap() << before << QString::fromUtf8(list)
                            << (statuses.isEmpty() ? QStringList{can} : statuses) << saved;
    };
    rules("zone and apart",
          "Alt+A: key Alt+S, type 上, key Space, key Alt+Z, pick 1, key Alt+N, type 1, ok; Alt+A: key Alt+K, pick 1, "
          "key Alt+S, type 佐, key Space, type 鈴, key Space, key Alt+D, type 3, key Alt+W, ok; ok",
          {"必ず：上田を後ろ1列に", "できれば：佐藤と鈴木を3席以上離す"});
    rules("a pin of the editor clashes; Space makes a wish",
          "Alt+A: key Alt+S, type 青, key Space, key Alt+Z, pick 1, key Alt+N, type 1, ok; key Space; ok",
          {"できれば：青木を後ろ1列に"}, 0, {}, {can, "「青木をNo.1に」と「青木を後ろ1列に」 が両立しません。", can},
          {}, {{1, "青木"}});
    rules(
        "班 kinds",
        "Alt+A: key Alt+K, pick 6, says Desk_1 No.1 前から1列目|, ok; Alt+A: key Alt+K, pick 7, ok; Alt+A: key Alt+K, "
        "pick 2, key Alt+S, type 青, key Space, type 伊, key Space, ok; key Up; key Up; key Alt+M; ok",
        {"できれば：各班に班長を1人", "必ず：各班の男女の数をそろえる", "必ず：青木と伊藤を別の班に"}, 4, {},
        {can, "「各班に班長を1人」は、この教室と名簿では守れません。", can});
    rules("pair kinds; two pupils asked for",
          "Alt+A: key Alt+K, pick 5, key Alt+S, type 青, key Space, ok, type 伊, key Space, ok; "
          "Alt+A: key Alt+K, pick 3, key Alt+S, type 大, key Space, type 加, key Space, key Alt+D, type 1, ok; ok",
          {"必ず：青木と伊藤を同じ机の組に", "必ず：大野と加藤を1席以内に"}, 5,
          {"詳しい条件|この条件には、生徒をちょうど2人選んで下さい（いまは1人です）。|48"});
    rules("kinds about earlier charts; pupils found by reading",
          "Alt+A: key Alt+S, type ク, key Space, type かと, key Space, key Alt+K, pick 10, pick 1, ok; "
          "Alt+A: key Alt+K, pick 10, ok; Alt+A: key Alt+K, pick 11, key Alt+C, pick 2, ok; "
          "Alt+A: key Alt+K, pick 12, key Alt+C, pick 10, ok; Alt+A: key Alt+K, pick 13, key Alt+M, ok; ok",
          {"必ず：加藤と工藤を2席以上離す", "できれば：男女の並びを前回と同じに", "できれば：過去3回と同じ席にしない",
           "できれば：今年隣になった人と隣にしない", "必ず：今年同じ班になった人と同じ班にしない"},
          4);
    rules("desks painted by mouse and Space",
          "Alt+A: key Alt+S, type 木, key Space, click Desk_5, key Left, key Space, "
          "says Desk_6 No.6 前から2列目|選んだ席, ok; ok",
          {"必ず：木村を指定した2席に（No.5・No.6）"});
    Rule front, apart;
    front.pupils = QStringList{"伊藤"};
    apart.kind = Rule::Kind::Apart;
    apart.pupils = QStringList{"青木", "転校生"};
    rules("delete, and change a rule naming one not in the roster",
          "key Delete; Return: key Alt+W, key Alt+D, type 3, ok; ok",
          {"できれば：青木と転校生を3席以上離す（転校生は名簿にいません）"}, 0, {}, {}, {front, apart});
    rules("Esc keeps the rules", "Alt+A: key Escape; key Delete; key Escape", {"必ず：伊藤を前2列に"}, 0, {}, {},
          {front});
    rules("full disk", "Alt+A: key Alt+S, type 青, key Space, ok; full; ok", {}, 0,
          {"詳しい条件|詳しい条件を保存できませんでした。\rディスクの空き容量が足りません。|16", "list open"});
}

void TestConditions::edits()
{
    QFETCH(QStringList, roster);
    QFETCH(int, room);
    QFETCH(SeatMap, opened);
    QFETCH(SeatMap, entered);
    QFETCH(QString, script);
    QFETCH(QStringList, messages);
    QFETCH(SeatMap, stored);
    QFETCH(Rules, before);
    QFETCH(QString, list);
    QFETCH(QStringList, statuses);
    QFETCH(QStringList, saved);
    TestEnv env;
    if (env.services.solverLibrary.isEmpty() && !statuses.isEmpty())
        QSKIP("the rules solver is not built here (NARABIN_SOLVER=OFF)");
    const Room shape = roomPresets().at(room).room;
    ConditionEditor *w = openEditor(roster, opened, entered, shape);
    state().RosterFileName = env.path(QStringLiteral("1組.MEM"));
    env.writeFile(QStringLiteral("1組.MEM.json"), classFileBytes({shape, {}, before, {}}));
    state().openClass.rules = before;
    for (const auto &[name, reading] : {std::pair{"加藤", "かとう"}, {"木村", "きむら"}, {"工藤", "くどう"}})
        state().openClass.info[QString::fromUtf8(name)].reading = QString::fromUtf8(reading);
    QStringList seen, listOpen;
    QStringList texts = shownSeats(w);
    state().MatchFound = true; // apply starts from a clean flag
    for (const QString &step : script.split(u';')) {
        const QString s = step.trimmed(), what = s.section(u' ', 0, 0), arg = s.section(u' ', 1);
        QWidget *control = w->findChild<QWidget *>(arg);
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!w->isActiveWindow()) {
            w->activateWindow();
            QTRY_VERIFY(w->isActiveWindow());
        }
        if (s.contains(u'=')) {
            typeSeats(w, {{s.section(u'=', 0, 0).toInt(), s.section(u'=', 1)}});
            texts = shownSeats(w);
        } else if (what.endsWith(QLatin1String("drop"))) {
            QCOMPARE(dropName(control, roster[1]), what == QLatin1String("drop"));
        } else if (what == QLatin1String("icon")) {
            QImage own(32, 32, QImage::Format_ARGB32);
            own.fill(QColor(250, 0, 90));
            const QString icon = arg.isEmpty() ? QStringLiteral(":/DRAG.ICO") : env.path(arg);
            QVERIFY(arg.isEmpty() || own.save(icon, "ICO"));
            w->dragRegistrant(1);
            // Without a display the drag is over at once; its object lives until the event loop runs.
            const QList<QDrag *> drags = w->findChildren<QDrag *>();
            QCOMPARE(drags.size(), 1);
            QCOMPARE(iconImage(drags[0]->dragCursor(Qt::CopyAction)), iconImage(QPixmap(icon)));
            QCOMPARE(iconImage(drags[0]->dragCursor(Qt::IgnoreAction)),
                     iconImage(QPixmap(QStringLiteral(":/DRAG2.ICO"))));
        } else if (what == QLatin1String("press")) {
            QTest::mousePress(control, Qt::LeftButton);
            QCOMPARE(w->findChildren<QDrag *>().size(), 0);
        } else if (what == QLatin1String("focus")) {
            control->setFocus(Qt::TabFocusReason);
        } else if (what == QLatin1String("key")) {
            const QKeyCombination key = QKeySequence::fromString(arg)[0];
            QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
        } else if (what.endsWith(QLatin1String("tab"))) { // a focused registrant shows it
            const QImage unfocused = control->grab().toImage();
            QTest::keyClick(QApplication::focusWidget(), what == QLatin1String("tab") ? Qt::Key_Tab : Qt::Key_Backtab);
            QCOMPARE(QApplication::focusWidget(), control);
            QVERIFY(!control->objectName().startsWith(QLatin1String("Label4")) ||
                    control->grab().toImage() != unfocused);
        } else if (what == QLatin1String("menu") || what == QLatin1String("submenu")) {
            QVERIFY(menu);
            QCOMPARE(what == QLatin1String("menu") ? captions(menu) : captions(menu).mid(0, 1), arg.split(u'|'));
            if (what == QLatin1String("submenu")) {
                QTest::keyClick(menu, Qt::Key_Down);
                QTest::keyClick(menu, Qt::Key_Right);
                QTRY_VERIFY(QApplication::activePopupWidget() != menu);
            }
        } else if (what == QLatin1String("seats")) {
            QStringList seats;
            for (int k = 1; k <= w->seatBoxes.size(); ++k)
                seats.append(QStringLiteral("No.%1").arg(k) + (k == 5 ? "\t生徒3" : k == 7 ? "\t空席" : ""));
            QCOMPARE(captions(menu), seats);
        } else if (what == QLatin1String("choose")) {
            for (int i = 1; i < arg.toInt(); ++i) // the first is highlighted
                QTest::keyClick(menu, Qt::Key_Down);
            QTest::keyClick(menu, Qt::Key_Return);
            QTRY_VERIFY(!QApplication::activePopupWidget());
        } else if (s == QLatin1String("rules")) {
            whenModal([&] { runRuleList(list, env, &seen, &listOpen); });
            TRIGGER(w, "mnuRules");
        } else if (s == QLatin1String("close")) {
            w->close();
        } else if (s == QLatin1String("cancel")) {
            TRIGGER(w, "mnuNO");
        } else {
            TRIGGER(w, "mnuCond");
        }
    }
    QStringList log = env.platform.messageLog() + listOpen;
    if (isLoaded<ConditionEditor>()) { // everything entered stays for the user to correct
        log.append(QStringLiteral("open"));
        QVERIFY(w->isVisible() && shownSeats(w) == texts);
    }
    QCOMPARE(log, messages);
    SeatMap kept;
    for (int k = 1; k <= state().openClass.deskCount(); ++k) {
        if (const QString text = state().openClass.conditions[k - 1].text(); !text.isEmpty())
            kept[k] = text;
    }
    QCOMPARE(kept, stored);
    QCOMPARE(seen, statuses);
    const ClassRead read = readClassFile(state().RosterFileName);
    QVERIFY(read.data.room == shape);
    for (const Rules &rules : {read.data.rules, state().openClass.rules}) {
        QStringList lines;
        for (const Rule &rule : rules)
            lines.append(ruleLine(rule, roster));
        QCOMPARE(lines, saved);
    }
}

void TestConditions::roomLayout_data()
{
    QTest::addColumn<Room>("room");
    QTest::newRow("8x5 班") << roomPresets().at(4).room;
    QTest::newRow("10x10") << Room::grid(10, 10);
}

// Any room: a box, a tick and a number per desk inside the classroom, none over another, desk 1
// in front on the right; a label per desk inside the list; all on a 1366 x 768 screen.
void TestConditions::roomLayout()
{
    QFETCH(Room, room);
    TestEnv env;
    const int desks = room.deskCount();
    // An editor built for another room opens afresh for the class's, on apply as when shown.
    ConditionEditor *w = openEditor(pupils(2));
    state().openClass.setRoom(room);
    TRIGGER(w, "mnuCond");
    QCOMPARE(loadedForm<ConditionEditor>()->seatBoxes.size(), desks);
    QCOMPARE(openEditor({})->seatBoxes.size(), SeatCount);
    w = openEditor(pupils(desks), {}, {}, room);
    QVERIFY(w->width() <= 1366 && w->height() <= 700);
    QCOMPARE(w->seatCaptions.constLast()->text(), QStringLiteral("No.%1").arg(desks));
    QCOMPARE(w->registrantLabels.constLast()->text(), QStringLiteral("生徒%1").arg(desks));
    // A box may lie over the number above it.
    const QWidgetList placed =
        w->findChildren<QWidget *>(QRegularExpression(QStringLiteral("^(Text1|Check1|Label1|Label4)_")));
    QCOMPARE(placed.size(), 3 * desks + w->registrantLabels.size());
    for (const QWidget *a : placed) {
        QVERIFY2(a->parentWidget()->rect().contains(a->geometry()), qPrintable(a->objectName()));
        for (const QWidget *b : placed) {
            const bool number = (a->objectName() + b->objectName()).contains(QLatin1String("Label1"));
            QVERIFY2(a == b || number || a->parentWidget() != b->parentWidget() ||
                         !a->geometry().intersects(b->geometry()),
                     qPrintable(a->objectName() + QLatin1Char(' ') + b->objectName()));
        }
    }
    const QRect one = w->seatBoxes[0]->geometry(), two = w->seatBoxes[1]->geometry();
    QVERIFY(one.top() == two.top() && one.left() > two.left() && one.bottom() < w->desk->geometry().top());
    for (const QLineEdit *box : w->seatBoxes)
        QVERIFY(box->geometry().top() <= one.top());
    // Closed after the class moved to another room, it leaves that room's desks alone.
    state().openClass.setRoom(Room::standard());
    w->close();
    QCOMPARE(state().openClass.deskCount(), SeatCount);
}

QTEST_MAIN(TestConditions)
#include "tst_conditions.moc"
