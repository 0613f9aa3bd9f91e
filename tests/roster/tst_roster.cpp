// File>New roster, File>Open and the roster editor, driven through the main window.
#include "core/classfile.h"
#include "core/pastedtable.h"
#include "core/rosterfile.h"
#include "core/rostersession.h"
#include "core/textfile.h"
#include "mainwin/filedialogs.h"
#include "roster/pupilinfoeditor.h"
#include "roster/roomeditor.h"
#include "roster/rostereditor.h"
#include "seating/conditioneditor.h"
#include "support/mainfixtures.h"
#include "widgets/navigator.h"
#include "widgets/seatbox.h"

#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

namespace
{

const QString EmptyQuestion = QStringLiteral("登録確認|新規にメンバーが登録されていません。登録しますか？|33");
const QString Registered = QStringLiteral("登録確認|新規にメンバーを登録しました。|64");
const QString Corrected = QStringLiteral("修正確認|メンバーを修正しました。|64");
const QString ChangedQuestion = QStringLiteral("変更確認|名簿は変更されています。保存しますか？|33");

// The names in the registrant list of the condition editor the roster editor moved on
// to; "<closed>" when it is not open and shown.
QStringList conditionEditorRoster()
{
    ConditionEditor *editor = loadedForm<ConditionEditor>();
    if (!editor || !editor->isVisible())
        return {QStringLiteral("<closed>")};
    QStringList names;
    for (const QLabel *label : editor->registrantLabels)
        names.append(label->text());
    while (!names.isEmpty() && names.constLast().isEmpty())
        names.removeLast();
    return names;
}

// File>Open of a file in the work folder; the editor when one is shown.
RosterEditor *openRoster(TestEnv &env, const QString &name)
{
    env.platform.openFiles.enqueue(env.path(name));
    shownMain()->openRosterAction->trigger();
    return loadedForm<RosterEditor>();
}

// File>New roster: checks that the editor comes up modal and empty and stays modal while
// minimised, then runs `inside`. Returns whether the editor was still open afterwards (it is
// then closed so that the command returns).
bool newRoster(const std::function<void(RosterEditor *)> &inside)
{
    bool stillOpen = false, waited = false;
    QObject scope; // what is still queued when the command returns is dropped with it
    whenModal([&] {
        RosterEditor *editor = loadedForm<RosterEditor>();
        QVERIFY(editor && editor->isVisible());
        QCOMPARE(editor->windowModality(), Qt::ApplicationModal);
        QCOMPARE(editor->boxTexts(), QStringList(SeatCount));
        editor->showMinimized();
        QTimer::singleShot(0, &scope, [&, editor] {
            waited = true;
            editor->showNormal();
            inside(editor);
            stillOpen = isLoaded<RosterEditor>();
            unload<RosterEditor>();
        });
    });
    shownMain()->newRosterAction->trigger();
    if (!waited) {
        unload<RosterEditor>();
        QTest::qFail("the command went on while its editor was open", __FILE__, __LINE__);
    }
    return stillOpen;
}

// Runs `steps` ("preset N", "ok", "cancel") in the room editor once a command shows it modally,
// then closes it: one shown when none was expected fails the test rather than waits. The
// command runs in `command`.
void withRoomEditor(const QString &steps, const std::function<void()> &command)
{
    whenModal([steps] {
        RoomEditor *editor = loadedForm<RoomEditor>();
        for (const QString &step : steps.split(u';', Qt::SkipEmptyParts)) {
            const QStringList w = step.simplified().split(u' ');
            if (!isLoaded<RoomEditor>())
                break;
            if (w[0] == QLatin1String("preset"))
                editor->presets->activated(w[1].toInt());
            else
                editor->buttons[w[0] == QLatin1String("ok") ? 0 : 1]->click();
        }
        unload<RoomEditor>();
    });
    command();
    QCoreApplication::processEvents(); // the editor was not shown
}

} // namespace

class TestRoster : public QObject
{
    Q_OBJECT

private slots:
    void openFile_data();
    void openFile();
    void roundTripClosesUpSeats();
    void editorCommands_data();
    void editorCommands();
    void savedAgain_data();
    void savedAgain();
    void enterMovesToTheNextSeat();
    void pasteKeepsOneLine_data();
    void pasteKeepsOneLine();
    void registeredNamesOpenAgain();
    void pasteTable_data();
    void pasteTable();
    void roomEditor_data();
    void roomEditor();
    void roomSettings_data();
    void roomSettings();
    void pupilInfo_data();
    void pupilInfo();
};

void TestRoster::openFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("classFile"); // beside the roster; empty: none
    QTest::addColumn<QString>("answer");       // to the room question: "no", or the room editor's steps
    QTest::addColumn<QStringList>("messages"); // <work>: the work folder
    QTest::addColumn<QStringList>("names");    // the editor's boxes; empty: refused, no editor
    QTest::addColumn<QString>("places");       // the client's size and controls' places, in pixels
    const auto row = [](const char *tag, int lines, const QByteArray &classFile, const QString &answer,
                        const QStringList &messages, const QStringList &names, const QString &places = {}) {
        QTest::newRow(tag) << crlfLines(numberedNames(1, lines)) << classFile << answer << messages << names << places;
    };
    const auto offer = [](int names) {
        return QStringLiteral("教室の設定|この名簿には%1人の氏名がありますが、教室の机は28台です。\r\n"
                              "教室の設定を開いて、机を増やしますか？|33")
            .arg(names);
    };
    const QString unreadable =
        QStringLiteral("教室の設定|クラスの設定ファイルを読めません。\r\n") +
        QDir::toNativeSeparators(QStringLiteral("<work>/class.MEM.json\r\nクラスの設定ファイルではありません。\r\n"));
    const QByteArray none, broken("{");
    row("28 lines", 28, none, "", {}, numberedNames(1, 28),
        "client 635x437; Text1_0 481,344 105x24; Label1_0 481,326 105x18; Text1_12 481,200; Text1_27 49,56; "
        "Label3 281,380 73x21");
    QTest::newRow("empty file") << QByteArray() << none << "" << QStringList() << QStringList(SeatCount) << "";
    QTest::newRow("comma gives two entries, quotes removed")
        << sjis(QStringLiteral("山田,花子\r\n\"佐藤, 一郎\"\r\n")) << none << "" << QStringList()
        << padded({"山田", "花子", "佐藤, 一郎"}) << "";
    row("29 lines, the room left", 29, none, "no", {offer(29)}, {});
    row("35 lines, a room of 35 set", 35, none, "preset 2; ok", {offer(35)}, numberedNames(1, 35),
        "client 779x437; Text1_0 625,344 105x24; Text1_34 49,56; Label3 353,380");
    row("35 lines, the room still too small", 35, none, "ok; cancel",
        {offer(35), "教室の設定|名簿の35人に対して、机が28台しかありません。|48"}, {});
    row("35 lines in a room of 35", 35, classFileBytes({roomFromEdits(QStringLiteral("preset 2")), {}, {}, {}}), "", {},
        numberedNames(1, 35), "client 779x437");
    row("100 lines in a room of 10 x 10", 100, classFileBytes({Room::grid(10, 10), {}, {}, {}}), "", {},
        numberedNames(1, 100), "client 1340x581; Text1_0 1198,488 93x24; Text1_99 49,56");
    row("101 lines", 101, none, "", {"名簿の存在確認|名簿の氏名が多すぎます。1つの名簿に入るのは100人までです。|16"},
        {});
    row("class file unreadable: the standard room", 3, broken, "",
        {unreadable + "名簿は標準の教室（机28台）で開きます。このファイルは書き換えません。|48"},
        padded(numberedNames(1, 3)));
    row("class file unreadable, 29 lines", 29, broken, "",
        {unreadable + "名簿の29人は標準の教室（机28台）に入らないため、名簿を開けません。\r\n"
                      "このファイルを直すか取り除いてから、もう一度開いて下さい。|16"},
        {});
}

void TestRoster::openFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, classFile);
    QFETCH(QString, answer);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, names);
    QFETCH(QString, places);
    TestEnv env;
    // Over an editor still showing another roster: refilled, or closed on a refusal.
    env.writeFile(QStringLiteral("before.mem"), crlfLines({"前の名簿"}));
    QVERIFY(openRoster(env, QStringLiteral("before.mem")));
    env.writeFile(QStringLiteral("class.MEM"), bytes);
    if (!classFile.isEmpty())
        env.writeFile(QStringLiteral("class.MEM.json"), classFile);
    env.platform.answers.enqueue(answer == QLatin1String("no") ? IDCANCEL : IDOK);
    RosterEditor *editor = nullptr;
    withRoomEditor(answer, [&] { editor = openRoster(env, QStringLiteral("class.MEM")); });
    QCOMPARE(env.platform.messageLog().replaceInStrings(QDir::toNativeSeparators(env.work()), QStringLiteral("<work>")),
             messages);
    QCOMPARE(editor ? editor->boxTexts() : QStringList(), names);
    // A class file nobody edited is left as it was.
    if (answer.isEmpty())
        QCOMPARE(env.readFile(QStringLiteral("class.MEM.json")), classFile.isEmpty() ? "<missing>" : classFile);
    for (const QString &place : places.split(u';', Qt::SkipEmptyParts)) {
        const QStringList w = place.simplified().split(u' ');
        const QWidget *widget =
            w[0] == QLatin1String("client") ? editor->client() : editor->client()->findChild<QWidget *>(w[0]);
        QVERIFY2(widget, qPrintable(w[0]));
        QStringList shown{w[0]};
        if (widget != editor->client())
            shown.append(QStringLiteral("%1,%2").arg(widget->x()).arg(widget->y()));
        if (w.size() > shown.size())
            shown.append(QStringLiteral("%1x%2").arg(widget->width()).arg(widget->height()));
        QCOMPARE(shown, w);
    }
    if (editor) {
        QVERIFY(editor->width() <= 1366 && editor->height() <= 700);
        if (collectNames(names).isEmpty())
            return;
        // Saved under another name, the roster opens there in the same room.
        env.platform.saveFiles.enqueue(env.path(QStringLiteral("again.mem")));
        editor->registerRoster();
        unload<ConditionEditor>();
        unload<MainWindow>();
        RosterEditor *again = nullptr;
        withRoomEditor({}, [&] { again = openRoster(env, QStringLiteral("again.mem")); });
        QCOMPARE(env.platform.messageLog().mid(messages.size()), QStringList{Corrected});
        QCOMPARE(again ? again->boxTexts() : QStringList(), names);
    }
}

// A new roster after one opened from a file and left without registering: the register
// command reports a correction, and the seats close up.
void TestRoster::roundTripClosesUpSeats()
{
    TestEnv env;
    env.writeFile(QStringLiteral("c.mem"), crlfLines(numberedNames(1, 5)));
    QVERIFY(openRoster(env, QStringLiteral("c.mem")));
    unload<RosterEditor>();
    env.platform.saveFiles.enqueue(env.path(QStringLiteral("kumi.mem")));
    QVERIFY(!newRoster([&](RosterEditor *editor) {
        editor->seatBoxes[0]->setText(QStringLiteral("山田"));
        editor->seatBoxes[4]->setText(QStringLiteral("佐藤"));
        editor->seatBoxes[19]->setText(QStringLiteral("鈴木"));
        editor->toolbar->button(2)->click();
    }));
    QCOMPARE(env.platform.messageLog(), QStringList{Corrected});
    QCOMPARE(env.readFile(QStringLiteral("kumi.mem")), crlfLines({"山田", "佐藤", "鈴木"}));
    QCOMPARE(conditionEditorRoster(), (QStringList{"山田", "佐藤", "鈴木"}));
    // The correction report used the carried-over flag up: the next new roster, from a
    // main window out of its conditions state, is new.
    unload<ConditionEditor>();
    unload<MainWindow>();
    env.platform.saveFiles.enqueue(env.path(QStringLiteral("kumi2.mem")));
    QVERIFY(!newRoster([](RosterEditor *editor) {
        editor->seatBoxes[0]->setText(QStringLiteral("田中"));
        editor->toolbar->button(2)->click();
    }));
    QCOMPARE(env.platform.messageLog(), (QStringList{Corrected, Registered}));
}

void TestRoster::editorCommands_data()
{
    QTest::addColumn<QByteArray>("opened"); // the roster file opened; "<new>": File>New roster
    QTest::addColumn<QStringList>("edits"); // "seat:text", in turn
    QTest::addColumn<QStringList>("steps"); // "register" or "close"
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("shown"); // the condition editor's roster; "<editor>": still editing
    const QByteArray two = crlfLines({"山田", "佐藤"}), fresh("<new>");
    const QStringList reg{"register"}, close{"close"}, editing{"<editor>"};
    QTest::newRow("a box of blanks is a name") << fresh << QStringList{"2:  ", "3:田中 "} << reg << QList<int>{IDOK}
                                               << QStringList{Registered} << QStringList{"  ", "田中 "};
    QTest::newRow("same name twice") << fresh << QStringList{"3:山田", "4:佐藤", "9:山田"} << reg << QList<int>()
                                     << QStringList{QStringLiteral("登録者重複|同じ氏名を登録しようとしました。|16")}
                                     << editing;
    QTest::newRow("name and name with a blank")
        << fresh << QStringList{"3:山田", "4:佐藤", "9:山田 "} << reg << QList<int>{IDOK} << QStringList{Registered}
        << QStringList{"山田", "佐藤", "山田 "};
    QTest::newRow("names CP932 cannot hold")
        << fresh << QStringList{"1:山田", "7:𠮷田", "9:😀"} << reg << QList<int>()
        << QStringList{QStringLiteral(
               "使用できない文字|No.7 の氏名「𠮷田」には名簿ファイルに保存できない文字が含まれています。\r\n"
               "別の文字に置き換えて下さい。|16")}
        << editing;
    QTest::newRow("empty, OK, then again") << fresh << QStringList() << reg + reg << QList<int>{IDOK, IDOK}
                                           << QStringList{EmptyQuestion, EmptyQuestion} << editing;
    // Once registered empty, closing asks about a new roster, not about changes.
    QTest::newRow("empty, OK, then close")
        << fresh << QStringList() << reg + close << QList<int>{IDOK, IDOK}
        << QStringList{EmptyQuestion, QStringLiteral("新規作成|新規名簿を取消してよろしいですか？|33")}
        << QStringList{"<closed>"};
    QTest::newRow("empty, Cancel") << fresh << QStringList() << reg << QList<int>{IDCANCEL}
                                   << QStringList{EmptyQuestion} << QStringList{"<closed>"};
    // A roster read from a file always asks on closing; Cancel leaves it unsaved.
    QTest::newRow("opened, changed, Cancel: the roster as read")
        << two << QStringList{"7:鈴木", "2:"} << close << QList<int>{IDCANCEL} << QStringList{ChangedQuestion}
        << QStringList{"山田", "佐藤"};
    // The pupil taken out is not listed any more, in the file or by the condition editor.
    QTest::newRow("opened, a name cleared, registered")
        << crlfLines({"山田", "佐藤", "鈴木"}) << QStringList{"2:"} << reg << QList<int>() << QStringList{Corrected}
        << QStringList{"山田", "鈴木"};
    QTest::newRow("opened, untouched, OK saves")
        << two << QStringList() << close << QList<int>{IDOK} << QStringList{ChangedQuestion, Corrected}
        << QStringList{"山田", "佐藤"};
}

void TestRoster::editorCommands()
{
    QFETCH(QByteArray, opened);
    QFETCH(QStringList, edits);
    QFETCH(QStringList, steps);
    QFETCH(QList<int>, answers);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, shown);
    TestEnv env;
    for (int answer : answers)
        env.platform.answers.enqueue(answer);
    env.platform.saveFiles.enqueue(env.path(QStringLiteral("out.mem")));
    bool stillOpen = false;
    const auto use = [&](RosterEditor *editor) {
        for (const QString &edit : edits)
            editor->seatBoxes[size_t(edit.section(u':', 0, 0).toInt() - 1)]->setText(edit.section(u':', 1));
        for (const QString &step : steps) {
            if (step == QLatin1String("register"))
                editor->registerRoster();
            else
                editor->closeAction->trigger();
        }
        stillOpen = isLoaded<RosterEditor>();
    };
    if (opened == "<new>") {
        newRoster(use);
    } else {
        env.writeFile(QStringLiteral("in.mem"), opened);
        use(openRoster(env, QStringLiteral("in.mem")));
    }
    QCOMPARE(env.platform.messageLog(), messages);
    QCOMPARE(stillOpen ? QStringList{"<editor>"} : conditionEditorRoster(), shown);
    const bool saved = messages.contains(Registered) || messages.contains(Corrected);
    const RosterRead again = readRosterFile(env.path(QStringLiteral("out.mem")));
    QCOMPARE(again.ok() ? again.names : QStringList{"<missing>"}, saved ? shown : QStringList{"<missing>"});
}

void TestRoster::savedAgain_data()
{
    QTest::addColumn<QByteArray>("original");
    QTest::addColumn<QByteArray>("saved"); // the file afterwards, before the name added
    QTest::addColumn<bool>("fails");
    // 髙橋, ①, ～, ｱｲ, then 渡邊 ①子, as Windows writes them.
    const QByteArray windows =
        QByteArray::fromHex("fbfc8bb40d0a87400d0a81600d0ab1b20d0a") + sjis(QStringLiteral("渡邊 ①子\r\n"));
    QTest::newRow("CP932: byte-identical") << windows << windows << false;
    QTest::newRow("UTF-8: saved as CP932") << QStringLiteral("髙橋\n①\n～\nｱｲ\n渡邊 ①子").toUtf8() << windows << false;
    QTest::newRow("write fails: the old file kept") << windows << windows << true;
}

// Opened, a name added in seat 6, saved over itself.
void TestRoster::savedAgain()
{
    QFETCH(QByteArray, original);
    QFETCH(QByteArray, saved);
    QFETCH(bool, fails);
    TestEnv env;
    const QString path = env.path(QStringLiteral("old/CLASS.MEM"));
    env.writeFile(QStringLiteral("old/CLASS.MEM"), original);
    RosterEditor *editor = openRoster(env, QStringLiteral("old/CLASS.MEM"));
    QVERIFY(editor);
    editor->seatBoxes[5]->setText(QStringLiteral("追加"));
    if (fails)
        env.limitWrites(QStringLiteral("CLASS.MEM"), 4);
    env.platform.saveFiles.enqueue(path);
    TRIGGER(editor, "mnuNewFile");
    QCOMPARE(env.platform.messageLog(),
             QStringList{fails ? QStringLiteral("保存エラー|名簿ファイルを保存できませんでした。\r\n") +
                                     QDir::toNativeSeparators(path) +
                                     QStringLiteral("\r\nディスクの空き容量が足りません。|16")
                               : Corrected});
    QCOMPARE(env.readFile(QStringLiteral("old/CLASS.MEM")), fails ? saved : saved + sjis(QStringLiteral("追加\r\n")));
    QCOMPARE(isLoaded<RosterEditor>() && editor->isVisible(), fails); // the names stay to be saved again
}

void TestRoster::enterMovesToTheNextSeat()
{
    TestEnv env;
    env.writeFile(QStringLiteral("c.mem"), crlfLines(numberedNames(1, 6)));
    RosterEditor *editor = openRoster(env, QStringLiteral("c.mem"));
    QVERIFY(editor);
    QApplication::setActiveWindow(editor);
    editor->seatBoxes[4]->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), editor->seatBoxes[4]);
    // Enter in seat 5 moves to seat 6, inserting nothing.
    QTest::keyClick(editor->seatBoxes[4], Qt::Key_Return);
    QTRY_COMPARE(QApplication::focusWidget(), editor->seatBoxes[5]);
    QCOMPARE(editor->boxTexts().mid(4, 2), (QStringList{"生徒5", "生徒6"}));
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
    row("two lines into an empty box", "|", "伊藤 翔太\r\n佐藤 花子", "伊藤 翔太|");
    row("a TAB is text", "|", "伊藤\t翔太\n", "伊藤\t翔太|");
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

// Whatever reaches the boxes by paste, a registered roster opens again with the same
// names in their seats, or registering refuses with a message and writes nothing.
void TestRoster::registeredNamesOpenAgain()
{
    const QStringList pieces{
        "山", "田", "髙", "ｱｲ", "a", "〜", "～", " ", "\t", ",", "\"", "\r\n", "\n", QString(QChar(1)), "😀", "①", "&"};
    QRandomGenerator random(20261207);
    const QString refused = QStringLiteral("使用できない文字|");
    const QString twice = QStringLiteral("登録者重複|同じ氏名を登録しようとしました。|16");
    int saved = 0, refusals = 0;
    for (int round = 0; round < 60; ++round) {
        TestEnv env;
        RosterEditor *editor = form<RosterEditor>();
        editor->show();
        for (int n = 1 + random.bounded(6); n > 0; --n) {
            QString text;
            for (int k = 1 + random.bounded(5); k > 0; --k)
                text += pieces.at(random.bounded(pieces.size()));
            QLineEdit *seat = editor->seatBoxes[size_t(random.bounded(SeatCount))];
            QApplication::clipboard()->setText(text);
            seat->end(false);
            seat->paste();
        }
        const QStringList texts = editor->boxTexts();
        const QString path = env.path(QStringLiteral("class.mem"));
        env.platform.saveFiles.enqueue(path);
        env.platform.answers.enqueue(IDOK); // an empty roster is registered
        editor->registerRoster();
        const QStringList messages = env.platform.messageLog();
        if (collectNames(texts).isEmpty()) { // only line breaks were pasted: nobody to register
            QCOMPARE(messages, QStringList{EmptyQuestion});
            continue;
        }
        if (!QFile::exists(path)) {
            QVERIFY2(messages.size() == 1 && (messages.first().startsWith(refused) || messages.first() == twice),
                     qPrintable(messages.join(u'/')));
            QVERIFY(editor->isVisible());
            ++refusals;
            continue;
        }
        ++saved;
        QStringList expected;
        for (const QString &name : collectNames(texts))
            expected.append(toCp932Forms(name));
        unload<ConditionEditor>();
        RosterEditor *reopened = openRoster(env, QStringLiteral("class.mem"));
        QVERIFY2(reopened, qPrintable(texts.join(u'|')));
        QCOMPARE(reopened->boxTexts(), padded(expected));
    }
    // Both ways were taken.
    QVERIFY(saved > 10 && refusals > 10);
}

void TestRoster::pasteTable_data()
{
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<int>("choice");       // the column the user picks; -1: cancels
    QTest::addColumn<QString>("choosing"); // what the column dialog offered, and its first choice
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("boxes"); // empty: left as they were
    const QString table = QStringLiteral("番号\t氏名\tふりがな\r\n1\t山田\tやまだ\r\n2\t\"佐藤\t花子\"\tさとう\r\n");
    const QString offered = QStringLiteral("氏名の列の選択|氏名が入っている列を選んで下さい。|1列目：番号|2列目：氏名|"
                                           "3列目：ふりがな|1");
    QTest::newRow("one column") << "  山田\r\n\r\n佐藤\r\n"
                                << 0 << ""
                                << "" << padded({"山田", "佐藤"});
    QTest::newRow("header proposes the column") << table << 1 << offered << "" << padded({"山田", "佐藤\t花子"});
    QTest::newRow("another column chosen") << table << 2 << offered << "" << padded({"やまだ", "さとう"});
    QTest::newRow("column dialog cancelled") << table << -1 << offered << "" << QStringList();
    QString many;
    for (const QString &name : numberedNames(1, 29))
        many += name + QStringLiteral("\r\n");
    QTest::newRow("more than 28") << many << 0 << ""
                                  << "表から貼り付け|この教室の机は28台です。\r\n表には29人の氏名があります。\r\n"
                                     "机を増やすには、ﾌｧｲﾙ(F)の「教室の設定(R)...」を使って下さい。|16"
                                  << QStringList();
    QTest::newRow("29 in a room of 35") << many << 0 << ""
                                        << "" << numberedNames(1, 29) + QStringList(6);
    QTest::newRow("28 fill every box") << many.section(QStringLiteral("\r\n"), 0, 27) << 0 << ""
                                       << "" << numberedNames(1, 28);
    QTest::newRow("nothing on the clipboard")
        << "" << 0 << ""
        << "表から貼り付け|クリップボードに貼り付けられる表がありません。\r\n"
           "表計算ソフトなどで氏名の列を選んでコピーしてから、もう一度実行して下さい。|16"
        << QStringList();
    QTest::newRow("table too large")
        << QStringLiteral("山田") + QString(MaxPastedColumns, u'\t') << 0 << ""
        << "表から貼り付け|表が大きすぎて貼り付けられません（10000行、1000列まで）。\r\n"
           "表計算ソフトなどで氏名の列だけを選んでコピーしてから、もう一度実行して下さい。|16"
        << QStringList();
    QTest::newRow("only a header") << "氏名\r\n"
                                   << 0 << ""
                                   << "表から貼り付け|表に氏名がありません。|16" << QStringList();
    QTest::newRow("chosen column empty")
        << "山田\t\r\n佐藤\t\r\n"
        << 1 << "氏名の列の選択|氏名が入っている列を選んで下さい。|1列目：山田|2列目：（空）|0"
        << "表から貼り付け|選んだ列に氏名がありません。|16" << QStringList();
}

// Names from a table on the clipboard fill the boxes from seat 1; nothing is saved.
void TestRoster::pasteTable()
{
    QFETCH(QString, clipboard);
    QFETCH(int, choice);
    QFETCH(QString, choosing);
    QFETCH(QString, message);
    QFETCH(QStringList, boxes);
    TestEnv env;
    RosterEditor *editor = form<RosterEditor>();
    editor->show();
    if (boxes.size() == 35) // in a room of 7 rows of 5
        editor->showRoom(Room::grid(7, 5));
    QStringList before = padded({"前の名前", "", "", "残る名前"});
    before.resize(editor->seatBoxes.size());
    for (int i = 0; i < before.size(); ++i)
        editor->seatBoxes[i]->setText(before.at(i));
    QApplication::clipboard()->setText(clipboard);
    if (choice >= 0)
        env.platform.listChoices.enqueue(choice);
    TRIGGER(editor, "mnuPasteTable");

    QStringList offers;
    for (const PlatformCall &call : env.platform.callsOf(QStringLiteral("list")))
        offers.append(call.title + u'|' + call.text + u'|' + QString::number(call.data));
    QCOMPARE(offers, choosing.isEmpty() ? QStringList() : QStringList{choosing});
    QCOMPARE(env.platform.messageLog(), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(editor->boxTexts(), boxes.isEmpty() ? before : boxes);
    QVERIFY(env.platform.callsOf(QStringLiteral("save")).isEmpty());
    QVERIFY(editor->isVisible());
}

void TestRoster::roomEditor_data()
{
    QTest::addColumn<QByteArray>("classFile"); // beside the roster before; empty: none
    QTest::addColumn<int>("pupils");
    QTest::addColumn<QStringList>("pins"); // desk:pupil
    // click/drag cells, keys, buttons, "preset", "rows", "cols", "says" (a cell's accessible
    // name|description), "focused" (objectName), "full" (the disk fills up), "ok", "cancel"
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("room");         // the room shown at the end, as edits
    QTest::addColumn<bool>("written");         // the class file holds that room
    QTest::addColumn<QStringList>("messages"); // open: the dialog stays open
    const QString title = QStringLiteral("教室の設定|");
    QTest::newRow("click takes a desk away")
        << QByteArray() << 27 << QStringList() << "click 6 0; says 6 0 机なし|前から7列目、右から4番目; ok"
        << "off 6 0" << true << QStringList();
    QTest::newRow("arrows and Space")
        << QByteArray() << 0 << QStringList()
        << "key Up; key Up; key Left; key Space; key Left; key A; key Tab; focused Command2_0; key Shift+Tab; focused "
           "Cell_2_1; ok"
        << "off 2 2; aisle 1" << true << QStringList();
    QTest::newRow("drag and G make a 班")
        << QByteArray() << 0 << QStringList() << "drag 0 3 1 2; key G; says 0 3 No.1 前から1列目|1班、選択中; ok"
        << "group 0 3 1 2" << true << QStringList();
    QTest::newRow("Shift+arrows and the pair button")
        << QByteArray() << 0 << QStringList()
        << "key Shift+Left; key Shift+Left; key Shift+Left; button 1; says 0 0 No.4 前から1列目|No.3と2人組、選択中; ok"
        << "pairs 0 0 0 3" << true << QStringList();
    QTest::newRow("keys alone: a 班, a pair, and both undone")
        << QByteArray() << 0 << QStringList()
        << "key Shift+Up; key Shift+Left; key G; key Left; key Shift+Left; key P; says 1 0 No.8 "
           "前から2列目|No.7と2人組、"
           "選択中; key Shift+Right; key Shift+Right; key Delete; says 1 2 No.6 前から2列目|選択中; says 1 3 No.5 "
           "前から2列目|1班; ok"
        << "group 0 3 1 2; pairs 1 0 1 1; release 1 1 1 2" << true << QStringList();
    QTest::newRow("preset and columns") << QByteArray() << 30 << QStringList() << "preset 4; cols 6; ok"
                                        << "preset 4; resize 5 6" << true << QStringList();
    QTest::newRow("too few desks") << QByteArray() << 28 << QStringList() << "rows 6; ok"
                                   << "resize 6 4" << false
                                   << QStringList{title + "名簿の28人に対して、机が24台しかありません。|48", "open"};
    QTest::newRow("a pinned desk goes")
        << classFileBytes({roomFromEdits("preset 5"), {}, {}, {}}) << 1 << QStringList{"2:生徒1"} << "click 0 4; ok"
        << "preset 5; off 0 4" << false
        << QStringList{title + "No.2（生徒1）の机がなくなります。\r座席の条件から外してから、教室を変えて下さい。|48",
                       "open"};
    QTest::newRow("full disk") << QByteArray() << 0 << QStringList() << "click 0 0; full; ok"
                               << "off 0 0" << false
                               << QStringList{
                                      title + "教室の設定を保存できませんでした。\rディスクの空き容量が足りません。|16",
                                      "open"};
    QTest::newRow("cancel") << QByteArray() << 0 << QStringList() << "click 0 0; cancel"
                            << "off 0 0" << false << QStringList();
    QTest::newRow("unreadable class file")
        << QByteArray("{") << 0 << QStringList() << ""
        << "" << false
        << QStringList{title + "クラスの設定ファイルではありません。\r教室の設定を変えるには、このファイルを直すか取り"
                               "除いて下さい。|48"};
}

void TestRoster::roomEditor()
{
    QFETCH(QByteArray, classFile);
    QFETCH(int, pupils);
    QFETCH(QStringList, pins);
    QFETCH(QString, script);
    QFETCH(QString, room);
    QFETCH(bool, written);
    QFETCH(QStringList, messages);
    TestEnv env;
    if (!classFile.isEmpty())
        env.writeFile(QStringLiteral("1組.MEM.json"), classFile);
    QList<PinnedDesk> pinned;
    for (const QString &pin : pins)
        pinned.append({pin.section(QLatin1Char(':'), 0, 0).toInt(), pin.section(QLatin1Char(':'), 1)});
    RoomEditor *editor = form<RoomEditor>();
    if (editor->edit(env.path(QStringLiteral("1組.MEM")), pupils, pinned)) {
        editor->show();
        QVERIFY(QTest::qWaitForWindowActive(editor));
        QVERIFY(editor->width() <= 1366 && editor->height() <= 700);
    }
    Room shown;
    for (const QString &step : script.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QStringList w = step.simplified().split(QLatin1Char(' '));
        const auto cell = [&](int at) { return editor->grid->box({w[at].toInt(), w[at + 1].toInt()}); };
        if (w[0] == QLatin1String("click")) {
            QTest::mouseClick(cell(1), Qt::LeftButton);
        } else if (w[0] == QLatin1String("drag")) {
            QTest::mousePress(cell(1), Qt::LeftButton);
            const QPoint to = cell(1)->mapFrom(editor->grid, cell(3)->geometry().center());
            QMouseEvent move(QEvent::MouseMove, to, cell(1)->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
            QApplication::sendEvent(cell(1), &move);
            QTest::mouseRelease(cell(1), Qt::LeftButton, {}, to);
        } else if (w[0] == QLatin1String("key")) {
            const QKeyCombination key = QKeySequence::fromString(w[1])[0];
            QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
        } else if (w[0] == QLatin1String("button")) {
            QList<QPushButton *>{editor->groupButton, editor->pairButton}[w[1].toInt()]->click();
        } else if (w[0] == QLatin1String("preset")) {
            editor->presets->activated(w[1].toInt());
        } else if (w[0] == QLatin1String("rows") || w[0] == QLatin1String("cols")) {
            (w[0] == QLatin1String("rows") ? editor->rowsBox : editor->columnsBox)->setValue(w[1].toInt());
        } else if (w[0] == QLatin1String("says")) {
            QCOMPARE(cell(1)->accessibleName() + QLatin1Char('|') + cell(1)->accessibleDescription(),
                     step.simplified().section(QLatin1Char(' '), 3));
        } else if (w[0] == QLatin1String("focused")) {
            QCOMPARE(QApplication::focusWidget()->objectName(), w[1]);
        } else if (w[0] == QLatin1String("full")) {
            env.limitWrites(QStringLiteral(".MEM.json"), 10);
        } else {
            shown = editor->grid->room();
            editor->buttons[w[0] == QLatin1String("ok") ? 0 : 1]->click();
        }
    }
    QStringList log = env.platform.messageLog();
    if (isLoaded<RoomEditor>())
        log.append(QStringLiteral("open"));
    QCOMPARE(log, messages);
    if (!room.isEmpty()) {
        QCOMPARE(roomPicture(shown), roomPicture(roomFromEdits(room)));
        QVERIFY(shown == roomFromEdits(room));
    }
    QCOMPARE(env.readFile(QStringLiteral("1組.MEM.json")), written ? classFileBytes({roomFromEdits(room), {}, {}, {}})
                                                           : classFile.isEmpty() ? "<missing>"
                                                                                 : classFile);
    unload<RoomEditor>();
}

void TestRoster::roomSettings_data()
{
    QTest::addColumn<QString>("window"); // whose 教室の設定 is chosen
    QTest::addColumn<QString>("roster"); // "new", "none", "opened", "opened, conditions being edited"
    QTest::addColumn<QString>("steps");  // in the room editor; empty: none shown
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("room"); // the class's room afterwards, as edits
    QTest::addColumn<QString>("pins"); // desk:pupil; 生徒1 was pinned to desk 2
    QTest::addColumn<int>("boxes");    // in the roster editor, 生徒1..5 from desk 1; 0: none open
    const QString title = QStringLiteral("教室の設定|");
    const QString editor = QStringLiteral("roster editor"), main = QStringLiteral("main window");
    QTest::newRow("roster editor: not saved yet")
        << editor << "new"
        << ""
        << QStringList{title + "教室の設定は、名簿を保存してから行えます。\r\n"
                               "先に「新規登録・修正」で名簿を保存して下さい。|64"}
        << ""
        << "" << 0;
    QTest::newRow("roster editor: a room of 35") << editor << "opened"
                                                 << "preset 2; ok" << QStringList() << "preset 2"
                                                 << "3:生徒1" << 35;
    QTest::newRow("roster editor: cancelled") << editor << "opened"
                                              << "preset 2; cancel" << QStringList() << ""
                                              << "2:生徒1" << 28;
    QTest::newRow("main window: no roster")
        << main << "none"
        << ""
        << QStringList{title + "教室の設定は、名簿を開いてから行えます。\r\n"
                               "先に「名簿を開く」か「名簿の新規作成」で名簿を用意して下さい。|64"}
        << ""
        << "" << 0;
    QTest::newRow("main window: a room of 35") << main << "opened"
                                               << "preset 2; ok" << QStringList() << "preset 2"
                                               << "3:生徒1" << 0;
    QTest::newRow("main window: conditions being edited")
        << main << "opened, conditions being edited"
        << ""
        << QStringList{title + "条件設定の画面を閉じてから、教室の設定を行って下さい。\r\n"
                               "（条件設定の画面で「条件設定」か「取消」を選びます）|64"}
        << ""
        << "2:生徒1" << 0;
}

void TestRoster::roomSettings()
{
    QFETCH(QString, window);
    QFETCH(QString, roster);
    QFETCH(QString, steps);
    QFETCH(QStringList, messages);
    QFETCH(QString, room);
    QFETCH(QString, pins);
    QFETCH(int, boxes);
    TestEnv env;
    const auto choose = [&](QWidget *w) { withRoomEditor(steps, [&] { TRIGGER(w, "mnuRoomSettings"); }); };
    if (roster == QLatin1String("new")) {
        newRoster([&](RosterEditor *e) { choose(e); });
    } else {
        if (roster != QLatin1String("none")) {
            env.writeFile(QStringLiteral("c.mem"), crlfLines(numberedNames(1, 5)));
            QVERIFY(openRoster(env, QStringLiteral("c.mem")));
            state().openClass.conditions[1] = DeskCondition::pinned(QStringLiteral("生徒1"));
            if (window == QLatin1String("main window"))
                unload<RosterEditor>();
            if (roster.contains(QLatin1String("conditions")))
                navigator().showConditionEditor();
        }
        choose(window == QLatin1String("main window") ? static_cast<QWidget *>(shownMain())
                                                      : loadedForm<RosterEditor>());
    }
    QCOMPARE(env.platform.messageLog(), messages);
    QCOMPARE(roomPicture(state().openClass.room), roomPicture(roomFromEdits(room)));
    QStringList pinned;
    for (const PinnedDesk &pin : pinnedDesks(state().openClass.conditions))
        pinned.append(QStringLiteral("%1:%2").arg(pin.desk).arg(pin.pupil));
    QCOMPARE(pinned.join(u' '), pins);
    if (roster == QLatin1String("opened"))
        QCOMPARE(readClassFile(env.path(QStringLiteral("c.mem"))).data.room, state().openClass.room);
    RosterEditor *e = loadedForm<RosterEditor>();
    QStringList names = numberedNames(1, 5);
    while (names.size() < boxes)
        names.append(QString());
    QCOMPARE(e && roster != QLatin1String("new") ? e->boxTexts() : QStringList(), boxes ? names : QStringList());
}

void TestRoster::pupilInfo_data()
{
    QTest::addColumn<QString>("roster"); // "opened": 生徒1..3, details of 生徒2 and 退学 beside; "new"
    // Phases: "box N text", "register", or "dialog" (生徒の情報) and its steps: cell r c, type (what the
    // input method gives), key, paste (the clipboard's text),
    // says r c (the cell's accessible name), full (the disk fills up), ok, cancel
    QTest::addColumn<QStringList>("phases");
    QTest::addColumn<QStringList>("messages"); // "open": the dialog stayed open
    QTest::addColumn<QStringList>("details");  // the open class's afterwards, "name|reading|gender|tags"
    QTest::addColumn<QStringList>("file");     // the class file's; "<as before>"
    const QStringList before{"生徒2|せいと|女|班長", "退学|たいがく||"}, unchanged{"<as before>"};
    const QString title = QStringLiteral("生徒の情報|");
    QTest::newRow("typed, OK writes the class file")
        << "opened"
        << QStringList{"dialog says 1 2 生徒2、性別：女; says 0 1 生徒1、ふりがな：空欄; key Return; type やまだ; key "
                       "Return; key "
                       "Tab; key M; key Tab; key F2; type 班長、視力; key Return; says 0 3 生徒1、タグ：班長、視力; "
                       "key Down; "
                       "key Left; key Space; says 1 2 生徒2、性別：未設定; ok"}
        << QStringList() << QStringList{"生徒1|やまだ|男|班長、視力", "生徒2|せいと||班長"}
        << QStringList{"生徒1|やまだ|男|班長、視力", "生徒2|せいと||班長"};
    QTest::newRow("a block pasted by name")
        << "opened" << QStringList{"dialog cell 0 0; paste 生徒3\tさん\tF\r\n生徒1\tいち\t\t保健\r\n; ok"}
        << QStringList() << QStringList{"生徒1|いち||保健", "生徒2|せいと|女|班長", "生徒3|さん|女|"}
        << QStringList{"生徒1|いち||保健", "生徒2|せいと|女|班長", "生徒3|さん|女|"};
    QTest::newRow("Escape discards") << "opened" << QStringList{"dialog key Delete; key Down; key Delete; key Escape"}
                                     << QStringList() << before << unchanged;
    QTest::newRow("reading refused, the dialog stays")
        << "opened" << QStringList{"dialog cell 2 1; key F2; type sato; key Return; ok"}
        << QStringList{title + "生徒3さんのふりがな「sato」に、ひらがな・カタカナ以外の文字があります。\r\nふりがなは、"
                               "ひらがなかカタカナで入力して下さい。|48",
                       "open"}
        << before << unchanged;
    QTest::newRow("disk full, the dialog stays")
        << "opened" << QStringList{"dialog type あ; key Return; full; ok"}
        << QStringList{title + "生徒の情報を保存できませんでした。\rディスクの空き容量が足りません。|16", "open"}
        << before << unchanged;
    QTest::newRow("renamed in its box, then the dialog")
        << "opened" << QStringList{"box 1 生徒2改", "dialog says 1 1 生徒2改、ふりがな：せいと; ok"} << QStringList()
        << QStringList{"生徒2改|せいと|女|班長"} << QStringList{"生徒2改|せいと|女|班長"};
    QTest::newRow("renamed in its box, then registered")
        << "opened" << QStringList{"box 1 生徒2改", "register"} << QStringList{Corrected}
        << QStringList{"生徒2改|せいと|女|班長", "退学|たいがく||"}
        << QStringList{"生徒2改|せいと|女|班長", "退学|たいがく||"};
    QTest::newRow("new roster: written when registered")
        << "new" << QStringList{"box 2 山田", "dialog key Tab; key F; ok", "register"} << QStringList{Registered}
        << QStringList{"山田||女|"} << QStringList{"山田||女|"};
    QTest::newRow("no names yet") << "new" << QStringList{"dialog ok"}
                                  << QStringList{title + "生徒の情報は、氏名を入力してから設定できます。|64"}
                                  << QStringList() << QStringList{"<missing>"};
}

// 生徒の情報 from the roster editor, typed and pasted, kept in the open class and its class file.
void TestRoster::pupilInfo()
{
    QFETCH(QString, roster);
    QFETCH(QStringList, phases);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, details);
    QFETCH(QStringList, file);
    TestEnv env;
    const auto infos = [](const QStringList &rows) {
        PupilInfos info;
        for (const QString &row : rows) {
            const QStringList cell = row.split(u'|');
            info.insert(cell[0], {cell[1], *parseGender(cell[2]), parseTags(cell[3])});
        }
        return info;
    };
    const auto rows = [](const PupilInfos &info) {
        QStringList shown;
        for (auto it = info.cbegin(); it != info.cend(); ++it)
            shown.append(QStringList{it.key(), it->reading, genderText(it->gender), tagsText(it->tags)}.join(u'|'));
        shown.sort();
        return shown;
    };
    const QByteArray classFile =
        classFileBytes({Room::standard(), infos({"生徒2|せいと|女|班長", "退学|たいがく||"}), {}, {}});
    env.writeFile(QStringLiteral("c.mem.json"), classFile);
    QStringList log;
    const auto run = [&](RosterEditor *editor) {
        for (const QString &phase : phases) {
            const QString what = phase.section(u' ', 0, 0), rest = phase.section(u' ', 1);
            if (what == QLatin1String("box")) {
                editor->seatBoxes[rest.section(u' ', 0, 0).toInt()]->setText(rest.section(u' ', 1));
            } else if (what == QLatin1String("register")) {
                env.platform.saveFiles.enqueue(env.path(QStringLiteral("c.mem")));
                editor->registerRoster();
            } else {
                whenModal([&] {
                    PupilInfoEditor *dialog = loadedForm<PupilInfoEditor>();
                    if (!dialog)
                        return;
                    // A failed check leaves the steps, never the dialog open.
                    const auto steps = [&] {
                        QVERIFY(QTest::qWaitForWindowActive(dialog));
                        for (const QString &step : rest.split(u';', Qt::SkipEmptyParts)) {
                            QCoreApplication::processEvents(); // what the last key queued, as between two keys
                            const QString w = step.trimmed().section(u' ', 0, 0), arg = step.trimmed().section(u' ', 1);
                            const auto cell = [&] {
                                return dialog->table->item(arg.section(u' ', 0, 0).toInt(),
                                                           arg.section(u' ', 1, 1).toInt());
                            };
                            if (w == QLatin1String("cell")) {
                                dialog->table->setCurrentItem(cell());
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
                                QCOMPARE(cell()->data(Qt::AccessibleTextRole).toString(), arg.section(u' ', 2));
                            } else if (w == QLatin1String("full")) {
                                env.limitWrites(QStringLiteral(".json"), 10);
                            } else if (isLoaded<PupilInfoEditor>()) {
                                dialog->buttons[w == QLatin1String("ok") ? 0 : 1]->click();
                            }
                        }
                    };
                    steps();
                    log += env.platform.messageLog().mid(log.size() - log.count(QStringLiteral("open")));
                    if (isLoaded<PupilInfoEditor>())
                        log.append(QStringLiteral("open"));
                    unload<PupilInfoEditor>();
                });
                TRIGGER(editor, "mnuPupilInfo");
                QCoreApplication::processEvents();
            }
        }
    };
    if (roster == QLatin1String("new")) {
        env.writeFile(QStringLiteral("c.mem.json"), {});
        QFile::remove(env.path(QStringLiteral("c.mem.json")));
        newRoster(run);
    } else {
        env.writeFile(QStringLiteral("c.mem"), crlfLines(numberedNames(1, 3)));
        run(openRoster(env, QStringLiteral("c.mem")));
    }
    log += env.platform.messageLog().mid(log.size() - log.count(QStringLiteral("open")));
    QCOMPARE(log, messages);
    QCOMPARE(rows(state().openClass.info), details);
    const QByteArray now = env.readFile(QStringLiteral("c.mem.json"));
    if (file == QStringList{"<as before>"})
        QCOMPARE(now, classFile);
    else
        QCOMPARE(now, file == QStringList{"<missing>"} ? QByteArray("<missing>")
                                                       : classFileBytes({Room::standard(), infos(file), {}, {}}));
}

QTEST_MAIN(TestRoster)
#include "tst_roster.moc"
