// File>New roster, File>Open and the roster editor, driven through the main window.
#include "core/classfile.h"
#include "core/pastedtable.h"
#include "core/rostersession.h"
#include "mainwin/filedialogs.h"
#include "roster/pupilinfoeditor.h"
#include "roster/roomeditor.h"
#include "roster/rostereditor.h"
#include "seating/conditioneditor.h"
#include "support/mainfixtures.h"
#include "widgets/navigator.h"

#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

namespace
{

const QString EmptyQuestion = QStringLiteral("登録確認|新規にメンバーが登録されていません。登録しますか？|33");
const QString Registered = QStringLiteral("登録確認|新規にメンバーを登録しました。|64");
const QString Corrected = QStringLiteral("修正確認|メンバーを修正しました。|64");
const QString ChangedQuestion = QStringLiteral("変更確認|名簿は変更されています。保存しますか？|33");

// The texts up to the last one not empty, by "|".
QString upToLast(QStringList texts)
{
    while (!texts.isEmpty() && texts.constLast().isEmpty())
        texts.removeLast();
    return texts.join(u'|');
}

// The names in the registrant list of the condition editor the roster editor moved on
// to; "<closed>" when it is not open and shown.
QString conditionEditorRoster()
{
    ConditionEditor *editor = loadedForm<ConditionEditor>();
    if (!editor || !editor->isVisible())
        return QStringLiteral("<closed>");
    QStringList names;
    for (const QLabel *label : editor->registrantLabels)
        names.append(label->text());
    return upToLast(names);
}

// File>Open of a file in the work folder; the editor when one is shown.
RosterEditor *openRoster(TestEnv &env, const QString &name)
{
    env.platform.openFiles.enqueue(env.path(name));
    shownMain()->openRosterAction->trigger();
    return loadedForm<RosterEditor>();
}

// File>New roster: checks that the editor comes up modal and empty and stays modal while
// minimised, then runs `inside`, and closes the editor if still open so that the command returns.
void newRoster(const std::function<void(RosterEditor *)> &inside)
{
    bool waited = false;
    QObject scope; // what is still queued when the command returns is dropped with it
    whenModal([&] {
        RosterEditor *editor = loadedForm<RosterEditor>();
        QVERIFY(editor && editor->isVisible());
        QCOMPARE(editor->windowModality(), Qt::ApplicationModal);
        editor->showMinimized();
        QTimer::singleShot(0, &scope, [&, editor] {
            waited = true;
            editor->showNormal();
            inside(editor);
            unload<RosterEditor>();
        });
    });
    shownMain()->newRosterAction->trigger();
    if (!waited) {
        unload<RosterEditor>();
        QTest::qFail("the command went on while its editor was open", __FILE__, __LINE__);
    }
}

// Pupils' details as "name|reading|gender|tags" rows, sorted.
QStringList infoRows(const PupilInfos &info)
{
    QStringList shown;
    for (auto it = info.cbegin(); it != info.cend(); ++it)
        shown.append(QStringList{it.key(), it->reading, genderText(it->gender), tagsText(it->tags)}.join(u'|'));
    shown.sort();
    return shown;
}

// The class file of the standard room with details from "name|reading|gender|tags" rows.
QByteArray infoFile(const QStringList &rows)
{
    PupilInfos info;
    for (const QString &row : rows) {
        const QStringList cell = row.split(u'|');
        info.insert(cell[0], {cell[1], *parseGender(cell[2]), parseTags(cell[3])});
    }
    return classFileBytes({Room::standard(), info, {}, {}});
}

// The start of the message about a class file beside the roster `name` that is no class file.
QString unreadable(const char *name)
{
    return QStringLiteral("教室の設定|クラスの設定ファイルを読めません。\r\n") +
           QDir::toNativeSeparators(QStringLiteral("<work>/%1.json\r\nクラスの設定ファイルではありません。\r\n")
                                        .arg(QString::fromUtf8(name)));
}

// Runs steps (";") in the modal dialog a command shows, then closes it: cell r c, type (what
// the input method gives), key, paste (the clipboard's text), click/drag cells, button N,
// preset N, rows N, cols N, says r c (a cell's accessible text), focused (objectName), full
// (the disk fills up), ok, cancel. Returns whether the dialog was still open after them.
bool dialogSteps(TestEnv &env, const QStringList &steps)
{
    const QPointer<ButtonRowDialog> dialog = qobject_cast<ButtonRowDialog *>(QApplication::activeModalWidget());
    if (!dialog)
        return false;
    auto *info = qobject_cast<PupilInfoEditor *>(dialog);
    auto *room = qobject_cast<RoomEditor *>(dialog);
    const auto stillOpen = [&dialog] { return dialog && !dialog->isUnloaded(); };
    [&] {
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        for (const QString &step : steps) {
            QCoreApplication::processEvents(); // what the last key queued, as between two keys
            if (!stillOpen())
                return;
            const QString w = step.trimmed().section(u' ', 0, 0), arg = step.trimmed().section(u' ', 1);
            const auto at = [&](int n) { return arg.section(u' ', n, n).toInt(); };
            if (w == QLatin1String("cell")) {
                info->table->setCurrentItem(info->table->item(at(0), at(1)));
            } else if (w == QLatin1String("type")) {
                QInputMethodEvent typed;
                typed.setCommitString(arg);
                QApplication::sendEvent(QApplication::focusWidget(), &typed);
            } else if (w == QLatin1String("key")) {
                const QKeyCombination key = QKeySequence::fromString(arg)[0];
                QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
            } else if (w == QLatin1String("paste")) {
                QApplication::clipboard()->setText(arg);
                QTest::keySequence(QApplication::focusWidget(), QKeySequence::Paste);
            } else if (w == QLatin1String("says")) {
                const QString says = info ? info->table->item(at(0), at(1))->data(Qt::AccessibleTextRole).toString()
                                          : room->grid->box({at(0), at(1)})->accessibleName() + u'|' +
                                                room->grid->box({at(0), at(1)})->accessibleDescription();
                QCOMPARE(says, arg.section(u' ', 2));
            } else if (w == QLatin1String("click")) {
                QTest::mouseClick(room->grid->box({at(0), at(1)}), Qt::LeftButton);
            } else if (w == QLatin1String("drag")) {
                QWidget *from = room->grid->box({at(0), at(1)});
                QTest::mousePress(from, Qt::LeftButton);
                const QPoint to = from->mapFrom(room->grid, room->grid->box({at(2), at(3)})->geometry().center());
                QMouseEvent move(QEvent::MouseMove, to, from->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
                QApplication::sendEvent(from, &move);
                QTest::mouseRelease(from, Qt::LeftButton, {}, to);
            } else if (w == QLatin1String("button")) {
                QList<QPushButton *>{room->groupButton, room->pairButton}[at(0)]->click();
            } else if (w == QLatin1String("preset")) {
                room->presets->activated(at(0));
            } else if (w == QLatin1String("rows") || w == QLatin1String("cols")) {
                (w == QLatin1String("rows") ? room->rowsBox : room->columnsBox)->setValue(at(0));
            } else if (w == QLatin1String("focused")) {
                QCOMPARE(QApplication::focusWidget()->objectName(), arg);
            } else if (w == QLatin1String("full")) {
                env.limitWrites(QStringLiteral(".json"), 10);
            } else {
                dialog->buttons[w == QLatin1String("ok") ? 0 : 1]->click();
            }
        }
    }();
    const bool open = stillOpen();
    if (open)
        unloadForm(dialog);
    return open;
}

// Runs `command`, and `steps` in the dialog it shows; one shown when none was expected fails
// the test rather than waits.
void withDialog(TestEnv &env, const QString &steps, const std::function<void()> &command, bool *open = nullptr)
{
    whenModal([&env, steps, open] {
        const bool stayed = dialogSteps(env, steps.split(u';', Qt::SkipEmptyParts));
        if (open)
            *open = stayed;
    });
    command();
    QCoreApplication::processEvents(); // no dialog was shown
}

} // namespace

class TestRoster : public QObject
{
    Q_OBJECT

private slots:
    void editing_data();
    void editing();
    void pasteKeepsOneLine_data();
    void pasteKeepsOneLine();
};

void TestRoster::editing_data()
{
    QTest::addColumn<QByteArray>("opened");    // c.mem, opened; "<new>": File>New roster; "<none>": no roster
    QTest::addColumn<QByteArray>("classFile"); // c.mem.json before; empty: none
    // Steps by ";": N=text (seat N's box), clip <text> (onto the clipboard), pick N (the column
    // the list will answer; none: cancelled), register [file], save <file> (the next file dialog's
    // answer), cancel (the next question's answer), close, full <file> (its disk fills up), key,
    // focused, leave (the roster editor closes), new (File>New roster), reset (no windows
    // left), conditions (the condition editor shown), pin <desk> <pupil>, before (first step:
    // another roster opened instead of c.mem); menu <action> of the roster editor, else of the main
    // window, or open <file> (File>Open), then the steps in its dialog up to "end" (as dialogSteps
    // reads them). Checks: editor open|closed, boxes, desks, shown (the condition editor's roster),
    // info (the open class's details), pins, room (as edits), file <name> <lines>, offered (what the
    // list of columns showed, and its first choice), places (x,y,w,h of the client, desk 1's box and
    // number, the last box).
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QStringList>("messages");  // "open": a dialog stayed open; <work>: the work folder
    QTest::addColumn<QByteArray>("classAfter"); // empty: as before
    const auto row = [](const char *tag, const QByteArray &opened, const QString &steps, const QStringList &messages,
                        const QByteArray &after = {}, const QByteArray &before = {}) {
        QTest::newRow(tag) << opened << before << steps << messages << after;
    };
    const QByteArray fresh("<new>"), two = crlfLines({"山田", "佐藤"}), three = crlfLines(numberedNames(1, 3)),
                                     five = crlfLines(numberedNames(1, 5));
    const QString title = QStringLiteral("教室の設定|");
    const auto room = [](const char *edits) { return classFileBytes({roomFromEdits(edits), {}, {}, {}}); };
    // File>Open over an editor showing another roster: refilled, or closed on a refusal; saved
    // under another name, the roster opens there in the same room.
    const auto open = [](const char *tag, int lines, const QString &dialog, QStringList messages,
                         const QString &places = {}, const QByteArray &before = {}, const QByteArray &after = {}) {
        const QString boxes = "; boxes " + numberedNames(1, lines).join(u'|');
        const bool refused = places == QLatin1String("refused");
        const QString steps = refused ? QStringLiteral("; editor closed")
                                      : boxes + places + "; register again.mem; reset; open again.mem; end" + boxes;
        QTest::newRow(tag) << crlfLines(numberedNames(1, lines)) << before
                           << "before; open c.mem; " + dialog + "end" + steps
                           << (refused ? messages : messages << Corrected) << after;
    };
    const QString offer = QStringLiteral("教室の設定|この名簿には35人の氏名がありますが、教室の机は28台です。\r\n"
                                         "教室の設定を開いて、机を増やしますか？|33");
    open("28 lines", 28, "", {}, "; places 0,0,635,437 481,344,105,24 481,326,105,18 49,56,105,24");
    open("35 lines, a room of 35 set", 35, "preset 2; ok; ", {offer}, {}, {}, room("preset 2"));
    open("35 lines, the room still too small", 35, "ok; cancel; ",
         {offer, "教室の設定|名簿の35人に対して、机が28台しかありません。|48"}, "refused");
    open("35 lines in a room of 35", 35, "", {}, {}, room("preset 2"));
    open("100 lines in a room of 10 x 10", 100, "", {},
         "; places 0,0,1340,581 1198,488,93,24 1198,470,93,18 49,56,93,24", room("grid 10 10"));
    open("class file unreadable, 29 lines", 29, "",
         {unreadable("c.mem") + "名簿の29人は標準の教室（机28台）に入らないため、名簿を開けません。\r\n"
                                "このファイルを直すか取り除いてから、もう一度開いて下さい。|16"},
         "refused", "{");
    row("names CP932 cannot hold", fresh, "1=山田; 7=𠮷田; 9=😀; register; editor open; file c.mem <missing>",
        {QStringLiteral("使用できない文字|No.7 の氏名「𠮷田」には名簿ファイルに保存できない文字が含まれています。\r\n"
                        "別の文字に置き換えて下さい。|16")});
    // Once registered empty, closing asks about a new roster, not about changes.
    row("empty, OK, then close", fresh, "register; close; editor closed; shown <closed>",
        {EmptyQuestion, QStringLiteral("新規作成|新規名簿を取消してよろしいですか？|33")});
    row("empty, Cancel", fresh, "cancel; register; editor closed; shown <closed>", {EmptyQuestion});
    // A roster read from a file always asks on closing; Cancel leaves it unsaved.
    row("opened, changed, Cancel: the roster as read", two, "7=鈴木; 2=; cancel; close; shown 山田|佐藤",
        {ChangedQuestion});
    row("opened, untouched, OK saves", two, "save out.mem; close; shown 山田|佐藤; file out.mem 山田|佐藤",
        {ChangedQuestion, Corrected});
    // A new roster after one opened and left: a correction, the seats closed up; that used the
    // carried-over flag up, so the next new roster is new.
    row("opened, left, then new rosters", five,
        "leave; new; 1=山田; 5=佐藤; 20=鈴木; register; file c.mem 山田|佐藤|鈴木; shown 山田|佐藤|鈴木; reset; new; "
        "1=田中; register kumi2.mem",
        {Corrected, Registered});
    row("write fails: the old file and the names kept", two,
        "6=追加; full c.mem; register; editor open; file c.mem 山田|佐藤",
        {"保存エラー|名簿ファイルを保存できませんでした。\r\n" + QDir::toNativeSeparators("<work>/c.mem") +
         "\r\nディスクの空き容量が足りません。|16"});
    row("Enter moves to the next seat, inserting nothing", five,
        "focused Text1_0; key Return; focused Text1_1; boxes 生徒1|生徒2|生徒3|生徒4|生徒5", {});

    // 生徒の情報, typed and pasted, kept in the open class and its class file.
    const QByteArray details = infoFile({"生徒2|せいと|女|班長", "退学|たいがく||"});
    const auto info = [&](const char *tag, const QString &steps, const QStringList &messages,
                          const QByteArray &after = {}, const QByteArray &opened = {}) {
        QTest::newRow(tag) << (opened.isEmpty() ? three : opened) << (opened.isEmpty() ? details : QByteArray())
                           << steps << messages << after;
    };
    const QString infoTitle = QStringLiteral("生徒の情報|");
    info("typed, OK writes the class file",
         "menu mnuPupilInfo; says 1 2 生徒2、性別：女; says 0 1 生徒1、ふりがな：空欄; key Return; type やまだ; key "
         "Return; key Tab; key M; key Tab; key F2; type 班長、視力; key Return; says 0 3 生徒1、タグ：班長、視力; key "
         "Down; key Left; key Space; says 1 2 生徒2、性別：未設定; ok; end; info "
         "生徒1|やまだ|男|班長、視力/生徒2|せいと||班長",
         {}, infoFile({"生徒1|やまだ|男|班長、視力", "生徒2|せいと||班長"}));
    info("a block pasted by name",
         "menu mnuPupilInfo; cell 0 0; paste 生徒3\tさん\tF\r\n生徒1\tいち\t\t保健\r\n; ok; end", {},
         infoFile({"生徒1|いち||保健", "生徒2|せいと|女|班長", "生徒3|さん|女|"}));
    info("Escape discards", "menu mnuPupilInfo; key Delete; key Down; key Delete; key Escape; end", {});
    info("reading refused, the dialog stays", "menu mnuPupilInfo; cell 2 1; key F2; type sato; key Return; ok; end",
         {infoTitle + "生徒3さんのふりがな「sato」に、ひらがな・カタカナ以外の文字があります。\r\nふりがなは、"
                      "ひらがなかカタカナで入力して下さい。|48",
          "open"});
    info("disk full, the dialog stays", "menu mnuPupilInfo; type あ; key Return; full; ok; end",
         {infoTitle + "生徒の情報を保存できませんでした。\rディスクの空き容量が足りません。|16", "open"});
    info("renamed in its box, then registered", "2=生徒2改; register; info 生徒2改|せいと|女|班長/退学|たいがく||",
         {Corrected}, infoFile({"生徒2改|せいと|女|班長", "退学|たいがく||"}));
    info("new roster: written when registered",
         "2=山田; menu mnuPupilInfo; key Tab; key F; ok; end; register; info 山田||女|", {Registered},
         infoFile({"山田||女|"}), fresh);
    info("no names yet", "menu mnuPupilInfo; ok; end",
         {infoTitle + "生徒の情報は、氏名を入力してから設定できます。|64"}, {}, fresh);

    // The room editor, from the roster editor or the main window.
    row("click takes a desk away", crlfLines(numberedNames(1, 27)),
        "menu mnuRoomSettings; click 6 0; says 6 0 机なし|前から7列目、右から4番目; ok; end", {}, room("off 6 0"));
    row("arrows and Space", five,
        "menu mnuRoomSettings; key Up; key Up; key Left; key Space; key Left; key A; key Tab; focused Command2_0; key "
        "Shift+Tab; focused Cell_2_1; ok; end",
        {}, room("off 2 2; aisle 1"));
    row("drag and G make a 班", five,
        "menu mnuRoomSettings; drag 0 3 1 2; key G; says 0 3 No.1 前から1列目|1班、選択中; ok; end", {},
        room("group 0 3 1 2"));
    row("Shift+arrows and the pair button", five,
        "menu mnuRoomSettings; key Shift+Left; key Shift+Left; key Shift+Left; button 1; says 0 0 No.4 "
        "前から1列目|No.3と2人組、選択中; ok; end",
        {}, room("pairs 0 0 0 3"));
    row("keys alone: a 班, a pair, and both undone", five,
        "menu mnuRoomSettings; key Shift+Up; key Shift+Left; key G; key Left; key Shift+Left; key P; says 1 0 No.8 "
        "前から2列目|No.7と2人組、選択中; key Shift+Right; key Shift+Right; key Delete; says 1 2 No.6 "
        "前から2列目|選択中; says 1 3 No.5 前から2列目|1班; ok; end",
        {}, room("group 0 3 1 2; pairs 1 0 1 1; release 1 1 1 2"));
    row("preset and columns", five, "menu mnuRoomSettings; preset 4; cols 6; ok; end", {},
        room("preset 4; resize 5 6"));
    row("too few desks", crlfLines(numberedNames(1, 28)), "menu mnuRoomSettings; rows 6; ok; end",
        {title + "名簿の28人に対して、机が24台しかありません。|48", "open"});
    row("a pinned desk goes", five, "pin 2 生徒1; menu mnuRoomSettings; click 0 4; ok; end",
        {title + "No.2（生徒1）の机がなくなります。\r座席の条件から外してから、教室を変えて下さい。|48", "open"}, {},
        room("preset 5"));
    row("full disk", five, "menu mnuRoomSettings; click 0 0; full; ok; end",
        {title + "教室の設定を保存できませんでした。\rディスクの空き容量が足りません。|16", "open"});
    row("class file unreadable: opened in the standard room, which stays", five,
        "boxes 生徒1|生徒2|生徒3|生徒4|生徒5; menu mnuRoomSettings; end",
        {unreadable("c.mem") + "名簿は標準の教室（机28台）で開きます。このファイルは書き換えません。|48",
         title +
             "クラスの設定ファイルではありません。\r教室の設定を変えるには、このファイルを直すか取り除いて下さい。|48"},
        {}, "{");
    row("roster editor: not saved yet", fresh, "menu mnuRoomSettings; end",
        {title + "教室の設定は、名簿を保存してから行えます。\r\n先に「新規登録・修正」で名簿を保存して下さい。|64"});
    row("roster editor: a room of 35", five,
        "pin 2 生徒1; menu mnuRoomSettings; preset 2; ok; end; room preset 2; pins 3:生徒1; desks 35", {},
        room("preset 2"));
    row("roster editor: cancelled", five,
        "pin 2 生徒1; menu mnuRoomSettings; preset 2; cancel; end; room preset 0; pins 2:生徒1; desks 28", {});
    row("main window: no roster", "<none>", "menu mnuRoomSettings; end",
        {title + "教室の設定は、名簿を開いてから行えます。\r\n"
                 "先に「名簿を開く」か「名簿の新規作成」で名簿を用意して下さい。|64"});
    row("main window: a room of 35", five,
        "pin 2 生徒1; leave; menu mnuRoomSettings; preset 2; ok; end; room preset 2; pins 3:生徒1", {},
        room("preset 2"));
    row("main window: conditions being edited", five,
        "pin 2 生徒1; leave; conditions; menu mnuRoomSettings; end; room preset 0; pins 2:生徒1",
        {title + "条件設定の画面を閉じてから、教室の設定を行って下さい。\r\n"
                 "（条件設定の画面で「条件設定」か「取消」を選びます）|64"});

    // Names from a table on the clipboard fill the boxes from seat 1; the list asks for the column.
    const auto paste = [](const char *tag, const QString &clipboard, const QString &steps,
                          const QStringList &messages = {}, const QByteArray &classFile = {}) {
        QTest::newRow(tag) << crlfLines({"前の名前"}) << classFile << "4=残る名前; clip " + clipboard + "; " + steps
                           << messages << QByteArray();
    };
    const QString table = QStringLiteral("番号\t氏名\tふりがな\r\n1\t山田\tやまだ\r\n2\t\"佐藤\t花子\"\tさとう\r\n");
    const QString offered =
        QStringLiteral("offered 氏名の列の選択|氏名が入っている列を選んで下さい。|1列目：番号|2列目："
                       "氏名|3列目：ふりがな|1; ");
    const QString kept = QStringLiteral("boxes 前の名前|||残る名前"), pasteTitle = QStringLiteral("表から貼り付け|");
    paste("one column", "  山田\r\n\r\n佐藤\r\n", "menu mnuPasteTable; end; offered ; boxes 山田|佐藤");
    paste("header proposes the column", table, "pick 1; menu mnuPasteTable; end; " + offered + "boxes 山田|佐藤\t花子");
    paste("another column chosen", table, "pick 2; menu mnuPasteTable; end; " + offered + "boxes やまだ|さとう");
    paste("column dialog cancelled", table, "menu mnuPasteTable; end; " + offered + kept);
    const QString many = numberedNames(1, 29).join("\r\n");
    paste("more than 28", many, "menu mnuPasteTable; end; " + kept,
          {pasteTitle + "この教室の机は28台です。\r\n表には29人の氏名があります。\r\n"
                        "机を増やすには、ﾌｧｲﾙ(F)の「教室の設定(R)...」を使って下さい。|16"});
    paste("29 in a room of 35", many, "menu mnuPasteTable; end; boxes " + numberedNames(1, 29).join(u'|'), {},
          classFileBytes({roomFromEdits("preset 2"), {}, {}, {}}));
    paste("28 fill every box", numberedNames(1, 28).join("\r\n"),
          "menu mnuPasteTable; end; boxes " + numberedNames(1, 28).join(u'|'));
    paste("nothing on the clipboard", "", "menu mnuPasteTable; end; " + kept,
          {pasteTitle + "クリップボードに貼り付けられる表がありません。\r\n"
                        "表計算ソフトなどで氏名の列を選んでコピーしてから、もう一度実行して下さい。|16"});
    paste("table too large", "山田" + QString(MaxPastedColumns, u'\t'), "menu mnuPasteTable; end; " + kept,
          {pasteTitle + "表が大きすぎて貼り付けられません（10000行、1000列まで）。\r\n"
                        "表計算ソフトなどで氏名の列だけを選んでコピーしてから、もう一度実行して下さい。|16"});
    paste("only a header", "氏名\r\n", "menu mnuPasteTable; end; " + kept, {pasteTitle + "表に氏名がありません。|16"});
    paste(
        "chosen column empty", "山田\t\r\n佐藤\t\r\n",
        "pick 1; menu mnuPasteTable; end; offered 氏名の列の選択|氏名が入っている列を選んで下さい。|1列目：山田|2列目："
        "（空）|0; " +
            kept,
        {pasteTitle + "選んだ列に氏名がありません。|16"});
}

void TestRoster::editing()
{
    QFETCH(QByteArray, opened);
    QFETCH(QByteArray, classFile);
    QFETCH(QString, steps);
    QFETCH(QStringList, messages);
    QFETCH(QByteArray, classAfter);
    TestEnv env;
    QStringList log, script = steps.split(QRegularExpression(QStringLiteral(";\\s*")));
    const auto logged = [&] { log += env.platform.messageLog().mid(log.size() - log.count(QStringLiteral("open"))); };
    qsizetype next = 0;
    // Runs the steps up to the next "new" or "reset".
    const auto run = [&](RosterEditor *) {
        for (;
             next < script.size() && !QStringList{"new", "reset"}.contains(script[next]) && !QTest::currentTestFailed();
             ++next) {
            const QString &s = script[next];
            const QString what = s.section(u' ', 0, 0), arg = s.section(u' ', 1);
            RosterEditor *editor = loadedForm<RosterEditor>();
            const auto check = [](const QString &seen, const QString &expected) { QCOMPARE(seen, expected); };
            bool seat = false;
            if (const int n = s.section(u'=', 0, 0).toInt(&seat); seat && s.contains(u'=')) {
                editor->seatBoxes[n - 1]->setText(s.section(u'=', 1));
            } else if (what == QLatin1String("register")) {
                env.platform.saveFiles.enqueue(env.path(arg.isEmpty() ? QStringLiteral("c.mem") : arg));
                editor->registerRoster();
            } else if (what == QLatin1String("save")) {
                env.platform.saveFiles.enqueue(env.path(arg));
            } else if (what == QLatin1String("cancel")) {
                env.platform.answers.enqueue(IDCANCEL);
            } else if (what == QLatin1String("close")) {
                editor->closeAction->trigger();
            } else if (what == QLatin1String("full")) {
                env.limitWrites(arg, 10);
            } else if (what == QLatin1String("key")) {
                const QKeyCombination key = QKeySequence::fromString(arg)[0];
                QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
            } else if (what == QLatin1String("focused")) {
                QApplication::setActiveWindow(editor);
                QTRY_COMPARE(QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(), arg);
            } else if (what == QLatin1String("leave")) {
                unload<RosterEditor>();
            } else if (what == QLatin1String("conditions")) {
                navigator().showConditionEditor();
            } else if (what == QLatin1String("clip")) {
                QApplication::clipboard()->setText(arg);
            } else if (what == QLatin1String("pick")) {
                env.platform.listChoices.enqueue(arg.toInt());
            } else if (what == QLatin1String("offered")) {
                QStringList offers;
                for (const PlatformCall &call : env.platform.callsOf(QStringLiteral("list")))
                    offers.append(call.title + u'|' + call.text + u'|' + QString::number(call.data));
                check(offers.join(u'/'), arg);
            } else if (what == QLatin1String("pin")) {
                state().openClass.conditions[arg.section(u' ', 0, 0).toInt() - 1] =
                    DeskCondition::pinned(arg.section(u' ', 1));
            } else if (what == QLatin1String("before")) {
                env.writeFile(QStringLiteral("b.mem"), crlfLines({"前の名簿"}));
                QVERIFY(openRoster(env, QStringLiteral("b.mem")));
            } else if (what == QLatin1String("menu") || what == QLatin1String("open")) {
                QStringList inside;
                while (++next < script.size() && script[next] != QLatin1String("end"))
                    inside.append(script[next]);
                const bool open = what == QLatin1String("open");
                if (open)
                    env.platform.openFiles.enqueue(env.path(arg));
                QAction *action = open ? shownMain()->openRosterAction
                                       : findAction(editor ? static_cast<QWidget *>(editor) : shownMain(), arg);
                QVERIFY2(action && action->isEnabled(), qPrintable(arg));
                bool stayed = false;
                withDialog(
                    env, inside.join(u';'), [action] { action->trigger(); }, &stayed);
                logged();
                if (stayed)
                    log.append(QStringLiteral("open"));
            } else if (what == QLatin1String("editor")) {
                check(editor ? QStringLiteral("open") : QStringLiteral("closed"), arg);
            } else if (what == QLatin1String("boxes")) {
                check(editor ? upToLast(editor->boxTexts()) : QStringLiteral("<closed>"), arg);
            } else if (what == QLatin1String("places")) {
                QStringList rects;
                for (const QRect &r : {editor->client()->rect(), editor->seatBoxes[0]->geometry(),
                                       editor->seatCaptions[0]->geometry(), editor->seatBoxes.constLast()->geometry()})
                    rects.append(QStringLiteral("%1,%2,%3,%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()));
                check(rects.join(u' '), arg);
                QVERIFY(editor->width() <= 1366 && editor->height() <= 700);
            } else if (what == QLatin1String("desks")) {
                check(QString::number(editor->boxTexts().size()), arg);
            } else if (what == QLatin1String("shown")) {
                check(conditionEditorRoster(), arg);
            } else if (what == QLatin1String("info")) {
                check(infoRows(state().openClass.info).join(u'/'), arg);
            } else if (what == QLatin1String("pins")) {
                QStringList pinned;
                for (const PinnedDesk &pin : pinnedDesks(state().openClass.conditions))
                    pinned.append(QStringLiteral("%1:%2").arg(pin.desk).arg(pin.pupil));
                check(pinned.join(u' '), arg);
            } else if (what == QLatin1String("room")) {
                check(roomPicture(state().openClass.room).join(u'/'), roomPicture(roomFromEdits(arg)).join(u'/'));
            } else {
                QCOMPARE(what, QStringLiteral("file"));
                const QString name = arg.section(u' ', 0, 0), lines = arg.section(u' ', 1);
                QCOMPARE(env.readFile(name),
                         lines == QLatin1String("<missing>") ? QByteArray("<missing>") : crlfLines(lines.split(u'|')));
            }
        }
    };
    if (!classFile.isEmpty())
        env.writeFile(QStringLiteral("c.mem.json"), classFile);
    if (opened == "<new>") {
        script.prepend(QStringLiteral("new"));
    } else if (opened == "<none>") {
        run(nullptr);
    } else {
        env.writeFile(QStringLiteral("c.mem"), opened);
        if (script.constFirst() != QLatin1String("before"))
            QVERIFY(openRoster(env, QStringLiteral("c.mem")));
        run(nullptr);
    }
    while (next < script.size() && !QTest::currentTestFailed()) {
        if (script[next++] == QLatin1String("new")) {
            newRoster(run);
        } else {
            unload<ConditionEditor>();
            unload<MainWindow>();
            run(nullptr);
        }
    }
    logged();
    QCOMPARE(log.replaceInStrings(QDir::toNativeSeparators(env.work()), QStringLiteral("<work>")), messages);
    QCOMPARE(env.readFile(QStringLiteral("c.mem.json")),
             classAfter.isEmpty() ? (classFile.isEmpty() ? QByteArray("<missing>") : classFile) : classAfter);
}

void TestRoster::pasteKeepsOneLine_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("before"); // the box's text, the cursor at "|"
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("after"); // the box's text, the cursor at "|"
    const QString sheet = QStringLiteral("伊藤\t翔太\r\n佐藤\t花子\r\n"), kept = QStringLiteral("山伊藤\t翔太|田");
    for (const char *box : {"roster editor", "condition editor", "copy dialog"})
        QTest::newRow(box) << QString::fromLatin1(box) << "山|田" << sheet << kept;
    const auto row = [](const char *tag, const QString &before, const QString &clipboard, const QString &after) {
        QTest::newRow(tag) << "roster editor" << before << clipboard << after;
    };
    row("into the middle, the end kept", "山|子", "田\r花", "山田|子");
    // The cursor tells where the insertion ended, whatever the texts have in common.
    row("inserted text that repeats the old", "a|b", "b\nX", "ab|b");
    row("a line break alone", "山|田", "\n", "山|田");
    row("a Unicode line separator", "|", QString("A") + QChar(0x2028) + "B", "A|");
}

// Ctrl+V of a spreadsheet's rows or of lines: the box keeps the first line, inserted at the cursor.
void TestRoster::pasteKeepsOneLine()
{
    QFETCH(QString, box);
    QFETCH(QString, before);
    QFETCH(QString, clipboard);
    QFETCH(QString, after);
    TestEnv env;
    QLineEdit *edit = nullptr;
    if (box == QLatin1String("roster editor"))
        edit = form<RosterEditor>()->seatBoxes[3];
    else if (box == QLatin1String("condition editor"))
        edit = form<ConditionEditor>()->seatBoxes[3];
    else
        edit = form<FileCopyDialog>()->nameBox;
    edit->setText(QString(before).remove(u'|'));
    edit->setCursorPosition(int(before.indexOf(u'|')));
    QApplication::clipboard()->setText(clipboard);
    QTest::keySequence(edit, QKeySequence::Paste);
    QCOMPARE(edit->text().insert(edit->cursorPosition(), u'|'), after);
}

QTEST_MAIN(TestRoster)
#include "tst_roster.moc"
