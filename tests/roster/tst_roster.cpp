// File>New roster, File>Open and the roster editor, driven through the main window.
#include "app/textfile.h"
#include "roster/rostereditor.h"
#include "roster/rosterfile.h"
#include "seating/conditioneditor.h"
#include "support/mainfixtures.h"

#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QtTest>

namespace {

const QString MissingRoster = QStringLiteral("名簿の存在確認|指定した名簿がありません。存在を確認して下さい。|16");
const QString EmptyQuestion = QStringLiteral("登録確認|新規にメンバーが登録されていません。登録しますか？|33");
const QString Registered = QStringLiteral("登録確認|新規にメンバーを登録しました。|64");
const QString Corrected = QStringLiteral("修正確認|メンバーを修正しました。|64");
const QString ChangedQuestion = QStringLiteral("変更確認|名簿は変更されています。保存しますか？|33");
const QString DiscardQuestion = QStringLiteral("新規作成|新規名簿を取消してよろしいですか？|33");

// The names in the registrant list of the condition editor the roster editor moved on
// to; "<closed>" when it is not open and shown.
QStringList conditionEditorRoster()
{
    COND *editor = loadedForm<COND>();
    if (!editor || !editor->isVisible())
        return {QStringLiteral("<closed>")};
    QStringList names;
    for (const QLabel *label : editor->Label4)
        names.append(label->text());
    while (!names.isEmpty() && names.constLast().isEmpty())
        names.removeLast();
    return names;
}

// File>Open of a file in the work folder; the editor when one is shown.
TOUROKU *openRoster(TestEnv &env, const QString &name)
{
    env.platform.openFiles.enqueue(env.path(name));
    shownMain()->mnuFileOpen->trigger();
    return loadedForm<TOUROKU>();
}

// File>New roster: checks that the editor comes up modal and empty, then runs `inside`.
// Returns whether the editor was still open afterwards (it is then closed so that the
// command returns).
bool newRoster(const std::function<void(TOUROKU *)> &inside)
{
    bool stillOpen = false;
    whenModal([&] {
        TOUROKU *editor = loadedForm<TOUROKU>();
        QVERIFY(editor && editor->isVisible());
        QCOMPARE(editor->windowModality(), Qt::ApplicationModal);
        QCOMPARE(editor->boxTexts(), QStringList(SeatCount));
        inside(editor);
        stillOpen = isLoaded<TOUROKU>();
        unload<TOUROKU>();
    });
    shownMain()->mnuFileCreate->trigger();
    return stillOpen;
}

void fillOldRun()
{
    SharedState &s = state();
    s.PupilNames.fill(QStringLiteral("old"));
    s.SeatConditions.fill(QStringLiteral("-"));
    s.SeatResult.fill(QStringLiteral("old"));
    s.PupilCount = 17;
}

QStringList texts(const Slots &array)
{
    return QStringList(array.cbegin(), array.cend());
}

} // namespace

class TestRoster : public QObject {
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
};

void TestRoster::openFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("names"); // the shared roster afterwards; more than 28: refused
    QTest::newRow("28 lines") << cp932Lines(numberedNames(1, 28)) << numberedNames(1, 28);
    QTest::newRow("empty file") << QByteArray() << QStringList();
    QTest::newRow("comma gives two entries, quotes removed")
        << sjis(QStringLiteral("山田,花子\r\n\"佐藤, 一郎\"\r\n")) << QStringList{"山田", "花子", "佐藤, 一郎"};
    QTest::newRow("29 lines") << cp932Lines(numberedNames(1, 29)) << numberedNames(1, 29);
}

// Over an editor already open on another roster, and the state of an earlier run.
void TestRoster::openFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, names);
    const bool fails = names.size() > SeatCount;
    TestEnv env;
    env.writeFile(QStringLiteral("prev.mem"), cp932Lines(numberedNames(1, 10)));
    env.writeFile(QStringLiteral("class.MEM"), bytes);
    TOUROKU *before = openRoster(env, QStringLiteral("prev.mem"));
    fillOldRun();
    TOUROKU *editor = openRoster(env, QStringLiteral("class.MEM"));
    QCOMPARE(env.platform.messageLog(), fails ? QStringList{MissingRoster} : QStringList());
    // Refilled, or closed: it would show names the shared roster no longer holds.
    QCOMPARE(editor, fails ? nullptr : before);
    if (editor) {
        QCOMPARE(editor->windowModality(), Qt::NonModal);
        QCOMPARE(editor->boxTexts(), padded(names));
    }
    const SharedState &s = state();
    QCOMPARE(int(s.PupilCount), int(names.size()));
    QStringList pupils = QStringList{QString()} + names;
    while (pupils.size() < SlotCount)
        pupils.append(QString());
    QCOMPARE(texts(s.PupilNames), pupils);
    QCOMPARE(texts(s.SeatConditions) + texts(s.SeatResult), QStringList(2 * SlotCount));
    QCOMPARE(s.RosterFileName, env.path(QStringLiteral("class.MEM")));
    QVERIFY(s.RosterFromFile && s.RosterLoaded);
}

// A new roster after one opened from a file and left without registering: everything
// emptied, but the register command reports a correction.
void TestRoster::roundTripClosesUpSeats()
{
    TestEnv env;
    env.writeFile(QStringLiteral("c.mem"), cp932Lines(numberedNames(1, 5)));
    QVERIFY(openRoster(env, QStringLiteral("c.mem")));
    unload<TOUROKU>();
    fillOldRun();
    state().RosterEmpty = 1;
    env.platform.saveFiles.enqueue(env.path(QStringLiteral("kumi.mem")));
    QVERIFY(!newRoster([&](TOUROKU *editor) {
        const SharedState &s = state();
        QVERIFY(s.RosterFileName.isEmpty());
        QCOMPARE((QList<int>{s.RosterEmpty, s.RosterLoaded, s.RosterFromFile}), (QList<int>{0, 0, 1}));
        QCOMPARE(s.PupilCount, 17); // recomputed by the register command
        QCOMPARE(texts(s.PupilNames) + texts(s.SeatConditions) + texts(s.SeatResult), QStringList(3 * SlotCount));
        editor->Text1[0]->setText(QStringLiteral("山田"));
        editor->Text1[4]->setText(QStringLiteral("佐藤"));
        editor->Text1[19]->setText(QStringLiteral("鈴木"));
        editor->Toolbar1->button(2)->click();
    }));
    QCOMPARE(env.platform.messageLog(), QStringList{Corrected});
    QCOMPARE(env.platform.callsOf(QStringLiteral("save")).value(0).filter, QStringLiteral("名簿ﾌｧｲﾙ(*.MEM)|*.MEM|すべてのﾌｧｲﾙ(*.*)|*.*"));
    QCOMPARE(env.readFile(QStringLiteral("kumi.mem")), cp932Lines({"山田", "佐藤", "鈴木"}));
    QCOMPARE(state().RosterFileName, env.path(QStringLiteral("kumi.mem")));
    QCOMPARE(conditionEditorRoster(), (QStringList{"山田", "佐藤", "鈴木"}));

    // The condition editor switched Open off; a fresh main window offers it again.
    unload<COND>();
    unload<NARABIN>();
    TOUROKU *editor = openRoster(env, QStringLiteral("kumi.mem"));
    QVERIFY(editor);
    QCOMPARE(editor->boxTexts(), padded({"山田", "佐藤", "鈴木"}));
}

void TestRoster::editorCommands_data()
{
    QTest::addColumn<QByteArray>("opened"); // the roster file opened; "<new>": File>New roster
    QTest::addColumn<QStringList>("edits"); // "seat:text", in turn
    QTest::addColumn<QStringList>("steps"); // the register command, or a way to close
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("shown"); // the condition editor's roster; "<editor>": still editing
    const QByteArray two = cp932Lines({"山田", "佐藤"}), fresh("<new>");
    const QStringList reg{"register"}, editing{"<editor>"}, closed{"<closed>"};
    QTest::newRow("a box of blanks is a name") << fresh << QStringList{"2:  ", "3:田中 "} << reg << QList<int>{IDOK}
                                               << QStringList{Registered} << QStringList{"  ", "田中 "};
    QTest::newRow("same name twice") << fresh << QStringList{"3:山田", "4:佐藤", "9:山田"} << reg << QList<int>()
                                     << QStringList{QStringLiteral("登録者重複|同じ氏名を登録しようとしました。|16")} << editing;
    QTest::newRow("name and name with a blank") << fresh << QStringList{"3:山田", "4:佐藤", "9:山田 "} << reg << QList<int>{IDOK}
                                                << QStringList{Registered} << QStringList{"山田", "佐藤", "山田 "};
    QTest::newRow("names CP932 cannot hold")
        << fresh << QStringList{"1:山田", "7:𠮷田", "9:😀"} << reg << QList<int>()
        << QStringList{QStringLiteral("使用できない文字|No.7 の氏名「𠮷田」には名簿ファイルに保存できない文字が含まれています。\r\n"
                                      "別の文字に置き換えて下さい。|16")}
        << editing;
    QTest::newRow("empty, OK, then again") << fresh << QStringList() << reg + reg << QList<int>{IDOK, IDOK}
                                           << QStringList{EmptyQuestion, EmptyQuestion} << editing;
    QTest::newRow("empty, Cancel") << fresh << QStringList() << reg << QList<int>{IDCANCEL} << QStringList{EmptyQuestion} << closed;
    // A roster read from a file always asks on closing; Cancel leaves it unsaved.
    QTest::newRow("opened, changed, Cancel: the roster as read") << two << QStringList{"7:鈴木", "2:"} << QStringList{"toolbar 3"}
                                                                 << QList<int>{IDCANCEL} << QStringList{ChangedQuestion}
                                                                 << QStringList{"山田", "佐藤"};
    QTest::newRow("opened, untouched, OK saves") << two << QStringList() << QStringList{"mnuCancel"} << QList<int>{IDOK}
                                                 << QStringList{ChangedQuestion, Corrected} << QStringList{"山田", "佐藤"};
    QTest::newRow("opened empty: closing does nothing") << QByteArray() << QStringList() << QStringList{"mnuCancel"} << QList<int>()
                                                        << QStringList() << editing;
    // A name typed and removed again is a change all the same.
    QTest::newRow("opened empty, typed and removed") << QByteArray() << QStringList{"7:鈴木", "7:"} << QStringList{"mnuCancel"}
                                                     << QList<int>{IDCANCEL} << QStringList{ChangedQuestion} << QStringList();
    QTest::newRow("new, OK discards") << fresh << QStringList{"1:山田"} << QStringList{"mnuCancel"} << QList<int>{IDOK}
                                      << QStringList{DiscardQuestion} << closed;
    QTest::newRow("new, close button, Cancel keeps editing") << fresh << QStringList{"1:山田"} << QStringList{"close button"}
                                                             << QList<int>{IDCANCEL} << QStringList{DiscardQuestion} << editing;
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
    bool condOpenDuringMessage = false;
    env.platform.onMessage = [&](const PlatformCall &) { condOpenDuringMessage = isLoaded<COND>(); };
    bool stillOpen = false;
    const auto use = [&](TOUROKU *editor) {
        for (const QString &edit : edits)
            editor->Text1[size_t(edit.section(u':', 0, 0).toInt() - 1)]->setText(edit.section(u':', 1));
        for (const QString &step : steps) {
            if (step == QLatin1String("register"))
                editor->mnuNewFile_Click();
            else if (step == QLatin1String("toolbar 3"))
                editor->Toolbar1->button(3)->click();
            else if (step == QLatin1String("mnuCancel"))
                editor->mnuCancel->trigger();
            else
                editor->close();
        }
        stillOpen = isLoaded<TOUROKU>();
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
    QCOMPARE(env.platform.callsOf(QStringLiteral("save")).size(), int(saved));
    QCOMPARE(env.readFile(QStringLiteral("out.mem")), saved ? cp932Lines(shown) : QByteArray("<missing>"));
    QCOMPARE(state().RosterFromFile, opened != "<new>" && !saved ? 1 : 0);
    QCOMPARE(state().RosterEmpty, messages == QStringList{EmptyQuestion} && !stillOpen ? 1 : 0);
    // The condition editor follows the message, without blocking.
    if (saved)
        QVERIFY(!condOpenDuringMessage && !loadedForm<COND>()->isModal() && state().RosterEdited);
}

void TestRoster::savedAgain_data()
{
    QTest::addColumn<QByteArray>("original");
    QTest::addColumn<QByteArray>("saved"); // the file afterwards, before the name added
    QTest::addColumn<bool>("fails");
    // 髙橋, ①, ～, ｱｲ, then 渡邊 ①子; 髙 once in the code Windows writes, once in the other one.
    const QByteArray rest = QByteArray::fromHex("0d0a87400d0a81600d0ab1b20d0a") + sjis(QStringLiteral("渡邊 ①子\r\n"));
    const QByteArray windows = QByteArray::fromHex("fbfc8bb4") + rest;
    const QByteArray nec = QByteArray::fromHex("eee08bb4") + rest;
    QTest::newRow("CP932 as Windows writes it: byte-identical") << windows << windows << false;
    QTest::newRow("CP932 in NEC-selected codes: byte-identical") << nec << nec << false;
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
    TOUROKU *editor = openRoster(env, QStringLiteral("old/CLASS.MEM"));
    QVERIFY(editor);
    QCOMPARE(editor->boxTexts().mid(0, 3), (QStringList{"髙橋", "①", "～"}));
    editor->Text1[5]->setText(QStringLiteral("追加"));
    TRIGGER(editor, "mnuNewFile"); // the save dialog cancelled: nothing happens
    if (fails)
        setWriteFaultForTests(QStringLiteral("CLASS.MEM"), 4);
    env.platform.saveFiles.enqueue(path);
    TRIGGER(editor, "mnuNewFile");
    QCOMPARE(env.platform.messageLog(),
             QStringList{fails ? QStringLiteral("保存エラー|名簿ファイルを保存できませんでした。\r\n") + path +
                                     QStringLiteral("\r\nディスクの空き容量が足りないか、書き込めない状態です。（No space left on device）|16")
                               : Corrected});
    QCOMPARE(env.readFile(QStringLiteral("old/CLASS.MEM")), fails ? saved : saved + sjis(QStringLiteral("追加\r\n")));
    QCOMPARE(isLoaded<TOUROKU>() && editor->isVisible(), fails);
    QCOMPARE(isLoaded<COND>(), !fails);
    QCOMPARE(state().RosterFromFile, int(fails));
}

void TestRoster::enterMovesToTheNextSeat()
{
    TestEnv env;
    env.writeFile(QStringLiteral("c.mem"), cp932Lines(numberedNames(1, 6)));
    TOUROKU *editor = openRoster(env, QStringLiteral("c.mem"));
    QVERIFY(editor);
    QApplication::setActiveWindow(editor);
    QTRY_COMPARE(QApplication::focusWidget(), editor->Text1[0]);
    editor->Text1[4]->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), editor->Text1[4]);
    env.platform.calls.clear();
    // Enter in seat 5 moves to seat 6, inserting nothing; the colours follow the focus.
    QTest::keyClick(editor->Text1[4], Qt::Key_Return);
    QTRY_COMPARE(QApplication::focusWidget(), editor->Text1[5]);
    QCOMPARE(editor->boxTexts().mid(4, 2), (QStringList{"生徒5", "生徒6"}));
    const auto base = [&](int i) { return editor->Text1[size_t(i)]->palette().color(QPalette::Base); };
    QCOMPARE((QList<QColor>{base(4), base(5)}), (QList<QColor>{QColor(0, 192, 0), QColor(192, 255, 192)}));
    // Every key and focus switches the input method on.
    QTest::keyClick(editor->Text1[5], Qt::Key_A);
    QStringList ime;
    for (const PlatformCall &c : env.platform.callsOf(QStringLiteral("ime")))
        ime.append(c.text);
    ime.sort();
    QCOMPARE(ime, (QStringList{"Text1_4", "Text1_5", "Text1_5"}));
}

QTEST_MAIN(TestRoster)
#include "tst_roster.moc"
