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

// File>New roster: fills the modal editor's boxes, then runs `inside`. Returns whether the
// editor was still open afterwards (it is then closed so that the command returns).
bool newRoster(const QStringList &boxes, const std::function<void(TOUROKU *)> &inside)
{
    bool stillOpen = false;
    whenModal([&] {
        TOUROKU *editor = loadedForm<TOUROKU>();
        QVERIFY(editor && editor->isVisible());
        QCOMPARE(editor->windowModality(), Qt::ApplicationModal);
        for (int i = 0; i < boxes.size(); ++i) {
            if (!boxes.at(i).isEmpty())
                editor->Text1[size_t(i)]->setText(boxes.at(i));
        }
        inside(editor);
        stillOpen = isLoaded<TOUROKU>();
        unload<TOUROKU>();
    });
    shownMain()->mnuFileCreate->trigger();
    return stillOpen;
}

// Box texts by seat number, the other boxes empty.
QStringList seats(const QMap<int, QString> &names)
{
    QStringList boxes(SeatCount);
    for (auto it = names.cbegin(); it != names.cend(); ++it)
        boxes[it.key() - 1] = it.value();
    return boxes;
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
    void openUsesTheMainWindowsDialog();
    void openFile_data();
    void openFile();
    void openAgainRefillsOrClosesTheEditor();
    void newRosterEmptiesEverythingAndIsModal();
    void roundTripClosesUpSeats();
    void registerCommand_data();
    void registerCommand();
    void closeCommand_data();
    void closeCommand();
    void savedAgain_data();
    void savedAgain();
    void failedOrCancelledSave();
    void keyboardFocusAndInputMethod();
    void captionsAndShortcuts();
};

void TestRoster::openUsesTheMainWindowsDialog()
{
    TestEnv env;
    // Cancelled: only the file name changes.
    fillOldRun();
    state().RosterFileName = QStringLiteral("/before.mem");
    shownMain()->mnuFileOpen->trigger();
    QVERIFY(state().RosterFileName.isEmpty());
    QCOMPARE(state().PupilNames[3] + state().SeatConditions[3], QStringLiteral("old-"));
    QVERIFY(!isLoaded<TOUROKU>() && env.platform.messageLog().isEmpty());

    env.writeFile(QStringLiteral("a/class.mem"), sjis(QStringLiteral("山田\r\n")));
    QVERIFY(openRoster(env, QStringLiteral("a/class.mem")));
    const PlatformCall dialog = env.platform.callsOf(QStringLiteral("open")).constLast();
    QCOMPARE(dialog.title, QStringLiteral("名簿を開く"));
    QCOMPARE(dialog.filter, QStringLiteral("名簿ﾌｧｲﾙ(*.MEM)|*.MEM|旧名簿ﾌｧｲﾙ(*.DAT)|*.DAT|すべてのﾌｧｲﾙ(*.*)|*.*"));
    QCOMPARE(dialog.owner.data(), form<NARABIN>());
    QCOMPARE(QDir::currentPath(), env.path(QStringLiteral("a")));
    // The next dialog (toolbar 3) shows the file chosen last; a title set by another command stays.
    form<NARABIN>()->CommonDialog1.DialogTitle = QStringLiteral("名簿ﾌｧｲﾙを開く");
    form<NARABIN>()->Toolbar1->button(3)->click();
    const PlatformCall again = env.platform.callsOf(QStringLiteral("open")).constLast();
    QCOMPARE(again.title + u'|' + again.fileName, QStringLiteral("名簿ﾌｧｲﾙを開く|") + env.path(QStringLiteral("a/class.mem")));
}

void TestRoster::openFile_data()
{
    QTest::addColumn<QByteArray>("bytes"); // "<none>": no such file
    QTest::addColumn<bool>("fails");
    QTest::addColumn<QStringList>("names"); // the shared roster afterwards
    QTest::addColumn<int>("pupilCount");
    QTest::newRow("28 lines") << cp932Lines(numberedNames(1, 28)) << false << numberedNames(1, 28) << 28;
    QTest::newRow("empty file") << QByteArray() << false << QStringList() << 0;
    QTest::newRow("comma gives two entries, quotes removed")
        << sjis(QStringLiteral("山田,花子\r\n\"佐藤, 一郎\"\r\n")) << false << QStringList{"山田", "花子", "佐藤, 一郎"} << 3;
    QTest::newRow("UTF-8") << QStringLiteral("山田\n髙橋\n①\n").toUtf8() << false << QStringList{"山田", "髙橋", "①"} << 3;
    QTest::newRow("missing") << QByteArray("<none>") << true << QStringList() << 17;
    QTest::newRow("29 lines") << cp932Lines(numberedNames(1, 29)) << true << numberedNames(1, 29) << 29;
    QTest::newRow("not text") << QByteArray("\x81\x20\xFF\xFE\0\0", 6) << true << QStringList() << 0;
}

void TestRoster::openFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, fails);
    QFETCH(QStringList, names);
    QFETCH(int, pupilCount);
    TestEnv env;
    fillOldRun();
    if (bytes != "<none>")
        env.writeFile(QStringLiteral("class.MEM"), bytes);
    TOUROKU *editor = openRoster(env, QStringLiteral("class.MEM"));
    QCOMPARE(env.platform.messageLog(), fails ? QStringList{MissingRoster} : QStringList());
    for (const PlatformCall &c : env.platform.callsOf(QStringLiteral("message")))
        QCOMPARE(c.owner.data(), form<NARABIN>());
    QCOMPARE(editor != nullptr, !fails);
    if (editor) {
        QVERIFY(editor->isVisible());
        QCOMPARE(editor->windowModality(), Qt::NonModal);
        QCOMPARE(editor->boxTexts(), padded(names));
        QVERIFY(form<NARABIN>()->mnuFileOpen->isEnabled()); // the main window stays usable behind
    }
    const SharedState &s = state();
    QCOMPARE(int(s.PupilCount), pupilCount);
    QStringList pupils = QStringList{QString()} + names;
    while (pupils.size() < SlotCount)
        pupils.append(QString());
    QCOMPARE(texts(s.PupilNames), pupils);
    QCOMPARE(texts(s.SeatConditions) + texts(s.SeatResult), QStringList(2 * SlotCount));
    QCOMPARE(s.RosterFileName, env.path(QStringLiteral("class.MEM")));
    // Filling the boxes counts as a change.
    const int read = bytes == "<none>" ? 0 : 1;
    QCOMPARE((QList<int>{s.RosterFromFile, s.RosterLoaded, s.RosterEdited}), (QList<int>{read, read, editor && !names.isEmpty()}));
}

void TestRoster::openAgainRefillsOrClosesTheEditor()
{
    TestEnv env;
    env.writeFile(QStringLiteral("ten.mem"), cp932Lines(numberedNames(1, 10)));
    env.writeFile(QStringLiteral("two.mem"), cp932Lines({"山田", "佐藤"}));
    env.writeFile(QStringLiteral("big.mem"), cp932Lines(numberedNames(1, 40)));
    TOUROKU *first = openRoster(env, QStringLiteral("ten.mem"));
    QCOMPARE(openRoster(env, QStringLiteral("two.mem")), first);
    QCOMPARE(first->boxTexts(), padded({"山田", "佐藤"}));
    // An editor left open would show names the shared roster no longer holds.
    QVERIFY(!openRoster(env, QStringLiteral("big.mem")));
    QCOMPARE(env.platform.messageLog(), QStringList{MissingRoster});
}

void TestRoster::newRosterEmptiesEverythingAndIsModal()
{
    TestEnv env;
    env.writeFile(QStringLiteral("c.mem"), cp932Lines(numberedNames(1, 5)));
    TOUROKU *opened = openRoster(env, QStringLiteral("c.mem")); // shown without blocking
    fillOldRun();
    SharedState &s = state();
    s.RosterEmpty = 1;
    QVERIFY(newRoster({}, [&](TOUROKU *editor) {
        QCOMPARE(editor, opened);
        QCOMPARE(editor->boxTexts(), QStringList(28));
        QVERIFY(s.RosterFileName.isEmpty());
        QCOMPARE((QList<int>{s.RosterEmpty, s.RosterLoaded, s.RosterFromFile}), (QList<int>{0, 0, 1}));
        QCOMPARE(s.PupilCount, 17); // recomputed by the register command
        QCOMPARE(texts(s.PupilNames) + texts(s.SeatConditions) + texts(s.SeatResult), QStringList(3 * SlotCount));
    }));
    QVERIFY(env.platform.messageLog().isEmpty());
}

void TestRoster::roundTripClosesUpSeats()
{
    TestEnv env;
    env.platform.saveFiles.enqueue(env.path(QStringLiteral("kumi.mem")));
    QVERIFY(!newRoster(seats({{1, "山田"}, {5, "佐藤"}, {20, "鈴木"}}), [](TOUROKU *e) { e->Toolbar1->button(2)->click(); }));
    QCOMPARE(env.platform.messageLog(), QStringList{Registered});
    const PlatformCall save = env.platform.callsOf(QStringLiteral("save")).value(0);
    QCOMPARE(save.title + save.fileName, QString());
    QCOMPARE(save.filter, QStringLiteral("名簿ﾌｧｲﾙ(*.MEM)|*.MEM|すべてのﾌｧｲﾙ(*.*)|*.*"));
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

void TestRoster::registerCommand_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QStringList>("boxes"); // typed into a new roster, or the file opened
    QTest::addColumn<QList<int>>("answers"); // one register command for each
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("stillOpen");
    QTest::addColumn<QStringList>("written"); // empty: nothing written
    const QStringList two = numberedNames(1, 2);
    const QList<int> once{IDOK};
    QTest::newRow("a box of blanks is a name") << "new" << seats({{2, "  "}, {3, "田中 "}}) << once << QStringList{Registered} << false
                                               << QStringList{"  ", "田中 "};
    QTest::newRow("same name twice") << "new" << seats({{3, "山田"}, {4, "佐藤"}, {9, "山田"}}) << once
                                     << QStringList{QStringLiteral("登録者重複|同じ氏名を登録しようとしました。|16")} << true << QStringList();
    QTest::newRow("name and name with a blank") << "new" << seats({{3, "山田"}, {4, "佐藤"}, {9, "山田 "}}) << once
                                                << QStringList{Registered} << false << QStringList{"山田", "佐藤", "山田 "};
    QTest::newRow("names CP932 cannot hold")
        << "new" << seats({{1, "山田"}, {7, "𠮷田"}, {9, "😀"}}) << once
        << QStringList{QStringLiteral("使用できない文字|No.7 の氏名「𠮷田」には名簿ファイルに保存できない文字が含まれています。\r\n"
                                      "別の文字に置き換えて下さい。|16")}
        << true << QStringList();
    QTest::newRow("empty, OK, then again") << "new" << QStringList() << QList<int>{IDOK, IDOK} << QStringList{EmptyQuestion, EmptyQuestion}
                                           << true << QStringList();
    QTest::newRow("empty, Cancel") << "new" << QStringList() << QList<int>{IDCANCEL} << QStringList{EmptyQuestion} << false << QStringList();
    QTest::newRow("after File>Open") << "open" << two << once << QStringList{Corrected} << false << two;
    // The correction report carries over from a roster opened and left without registering.
    QTest::newRow("after File>Open left, then File>New roster") << "open, leave, new" << two << once << QStringList{Corrected} << false << two;
}

void TestRoster::registerCommand()
{
    QFETCH(QString, how);
    QFETCH(QStringList, boxes);
    QFETCH(QList<int>, answers);
    QFETCH(QStringList, messages);
    QFETCH(bool, stillOpen);
    QFETCH(QStringList, written);
    TestEnv env;
    env.platform.saveFiles.enqueue(env.path(QStringLiteral("d.mem")));
    bool condOpenDuringMessage = false;
    env.platform.onMessage = [&](const PlatformCall &) { condOpenDuringMessage = isLoaded<COND>(); };
    const auto registerNames = [&](TOUROKU *editor) {
        for (int answer : answers) {
            env.platform.answers.enqueue(answer);
            editor->mnuNewFile_Click();
        }
    };
    if (how == QLatin1String("new")) {
        QCOMPARE(newRoster(boxes, registerNames), stillOpen);
    } else {
        env.writeFile(QStringLiteral("in.mem"), cp932Lines(boxes));
        TOUROKU *editor = openRoster(env, QStringLiteral("in.mem"));
        if (how == QLatin1String("open")) {
            registerNames(editor);
        } else {
            unload<TOUROKU>(); // left without registering
            newRoster(boxes, registerNames);
        }
    }
    QCOMPARE(env.platform.messageLog(), messages);
    QCOMPARE(state().RosterEmpty, answers.constFirst() == IDCANCEL ? 1 : 0);
    QCOMPARE(env.platform.callsOf(QStringLiteral("save")).size(), written.isEmpty() ? 0 : 1);
    QCOMPARE(env.readFile(QStringLiteral("d.mem")), written.isEmpty() ? QByteArray("<missing>") : cp932Lines(written));
    QCOMPARE(conditionEditorRoster(), written.isEmpty() ? QStringList{"<closed>"} : written);
    if (!written.isEmpty()) {
        QVERIFY(!isLoaded<TOUROKU>());
        QCOMPARE((QList<int>{state().RosterFromFile, state().RosterEdited}), (QList<int>{0, 1}));
        // The condition editor follows the message, without blocking.
        QVERIFY(!condOpenDuringMessage);
        QVERIFY(!loadedForm<COND>()->isModal());
    }
}

void TestRoster::closeCommand_data()
{
    QTest::addColumn<QByteArray>("file"); // the roster opened; "<new>": File>New roster with a name typed
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("condRoster"); // "<open>": the editor stays open
    const QByteArray two = cp932Lines({"山田", "佐藤"});
    const QStringList read{"山田", "佐藤"};
    // A roster read from a file always asks; Cancel leaves it unsaved.
    QTest::newRow("untouched, Cancel") << two << "" << "toolbar 3" << IDCANCEL << QStringList{ChangedQuestion} << read;
    QTest::newRow("changed, Cancel: the roster as read") << two << "change" << "toolbar 3" << IDCANCEL << QStringList{ChangedQuestion} << read;
    QTest::newRow("untouched, OK saves") << two << "" << "mnuCancel" << IDOK << QStringList{ChangedQuestion, Corrected} << read;
    // An unchanged empty roster: the command does nothing, the close button simply closes.
    QTest::newRow("empty, command") << QByteArray() << "" << "mnuCancel" << IDOK << QStringList() << QStringList{"<open>"};
    QTest::newRow("empty, close button") << QByteArray() << "" << "close button" << IDOK << QStringList() << QStringList{"<closed>"};
    // A name typed and removed again is a change all the same.
    QTest::newRow("empty, typed and removed") << QByteArray() << "type and remove" << "mnuCancel" << IDCANCEL
                                              << QStringList{ChangedQuestion} << QStringList();
    QTest::newRow("new roster, OK discards") << QByteArray("<new>") << "" << "mnuCancel" << IDOK << QStringList{DiscardQuestion}
                                             << QStringList{"<closed>"};
    QTest::newRow("new roster, close button, Cancel keeps editing") << QByteArray("<new>") << "" << "close button" << IDCANCEL
                                                                    << QStringList{DiscardQuestion} << QStringList{"<open>"};
}

void TestRoster::closeCommand()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, edit);
    QFETCH(QString, how);
    QFETCH(int, answer);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, condRoster);
    TestEnv env;
    env.platform.answers.enqueue(answer);
    env.platform.saveFiles.enqueue(env.path(QStringLiteral("c2.mem")));
    bool stillOpen = false;
    const auto close = [&](TOUROKU *editor) {
        if (!edit.isEmpty()) {
            editor->Text1[6]->setText(QStringLiteral("鈴木"));
            editor->Text1[edit == QLatin1String("change") ? 1 : 6]->clear();
        }
        if (how == QLatin1String("toolbar 3"))
            editor->Toolbar1->button(3)->click();
        else if (how == QLatin1String("mnuCancel"))
            editor->mnuCancel->trigger();
        else
            editor->close();
        stillOpen = isLoaded<TOUROKU>();
    };
    if (file == "<new>") {
        newRoster(seats({{1, "山田"}}), close);
    } else {
        env.writeFile(QStringLiteral("c.mem"), file);
        close(openRoster(env, QStringLiteral("c.mem")));
    }
    QCOMPARE(env.platform.messageLog(), messages);
    QCOMPARE(stillOpen, condRoster == QStringList{"<open>"});
    QCOMPARE(conditionEditorRoster(), stillOpen ? QStringList{"<closed>"} : condRoster);
    QCOMPARE(state().CountChanged, 0);
    QCOMPARE(env.readFile(QStringLiteral("c2.mem")), messages.contains(Corrected) ? file : QByteArray("<missing>"));
    if (file != "<new>")
        QCOMPARE(state().RosterFromFile, messages.contains(Corrected) ? 0 : 1);
}

void TestRoster::savedAgain_data()
{
    QTest::addColumn<QByteArray>("original");
    QTest::addColumn<QByteArray>("saved");
    // 髙橋, ①, ～, ｱｲ, then 渡邊 ①子; 髙 once in the code Windows writes, once in the other one.
    const QByteArray rest = QByteArray::fromHex("0d0a87400d0a81600d0ab1b20d0a") + sjis(QStringLiteral("渡邊 ①子\r\n"));
    const QByteArray windows = QByteArray::fromHex("fbfc8bb4") + rest;
    const QByteArray nec = QByteArray::fromHex("eee08bb4") + rest;
    QTest::newRow("CP932 as Windows writes it: byte-identical") << windows << windows;
    QTest::newRow("CP932 in NEC-selected codes: byte-identical") << nec << nec;
    QTest::newRow("UTF-8: saved as CP932") << QStringLiteral("髙橋\n①\n～\nｱｲ\n渡邊 ①子").toUtf8() << windows;
}

void TestRoster::savedAgain()
{
    QFETCH(QByteArray, original);
    QFETCH(QByteArray, saved);
    TestEnv env;
    env.writeFile(QStringLiteral("old/CLASS.MEM"), original);
    TOUROKU *editor = openRoster(env, QStringLiteral("old/CLASS.MEM"));
    QVERIFY(editor);
    QCOMPARE(editor->boxTexts().mid(0, 3), (QStringList{"髙橋", "①", "～"}));
    env.platform.saveFiles.enqueue(env.path(QStringLiteral("new/copy.mem")));
    QDir(env.work()).mkdir(QStringLiteral("new"));
    TRIGGER(editor, "mnuNewFile");
    QCOMPARE(env.platform.messageLog(), QStringList{Corrected});
    QCOMPARE(env.readFile(QStringLiteral("new/copy.mem")), saved);
    QCOMPARE(QDir::currentPath(), env.path(QStringLiteral("new")));
}

void TestRoster::failedOrCancelledSave()
{
    TestEnv env;
    const QByteArray old = cp932Lines(numberedNames(1, 3));
    env.writeFile(QStringLiteral("c.mem"), old);
    TOUROKU *editor = openRoster(env, QStringLiteral("c.mem"));
    QVERIFY(editor);
    editor->Text1[5]->setText(QStringLiteral("追加"));
    TRIGGER(editor, "mnuNewFile"); // the save dialog cancelled: nothing happens
    setWriteFaultForTests(QStringLiteral("c.mem"), 4);
    env.platform.saveFiles.enqueue(env.path(QStringLiteral("c.mem")));
    TRIGGER(editor, "mnuNewFile");
    QCOMPARE(env.platform.messageLog(),
             QStringList{QStringLiteral("保存エラー|名簿ファイルを保存できませんでした。\r\n") + env.path(QStringLiteral("c.mem")) +
                         QStringLiteral("\r\nディスクの空き容量が足りないか、書き込めない状態です。（No space left on device）|16")});
    QCOMPARE(env.readFile(QStringLiteral("c.mem")), old);
    QVERIFY(isLoaded<TOUROKU>() && editor->isVisible() && !isLoaded<COND>());
    QCOMPARE(state().RosterFromFile, 1);

    // Saving again, elsewhere, is still the correction of the roster that was opened.
    setWriteFaultForTests({}, 0);
    env.platform.saveFiles.enqueue(env.path(QStringLiteral("c2.mem")));
    editor->mnuNewFile_Click();
    QCOMPARE(env.platform.messageLog().constLast(), Corrected);
    QCOMPARE(env.readFile(QStringLiteral("c2.mem")), old + sjis(QStringLiteral("追加\r\n")));
    QCOMPARE(state().RosterFileName, env.path(QStringLiteral("c2.mem")));
}

void TestRoster::keyboardFocusAndInputMethod()
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
    // Tab order runs from seat 1 to seat 28.
    for (int i = 0; i + 1 < 28; ++i)
        QCOMPARE(editor->Text1[size_t(i)]->nextInFocusChain(), editor->Text1[size_t(i + 1)]);
}

void TestRoster::captionsAndShortcuts()
{
    TestEnv env;
    TOUROKU *editor = form<TOUROKU>();
    QCOMPARE(editor->windowTitle(), QStringLiteral("登録・修正"));
    QCOMPARE(editor->StatusBar1->panelText(1) + editor->StatusBar1->panelText(2) + editor->StatusBar1->panelText(3),
             QStringLiteral("各席の氏名を入力して下さいCAPSINS"));
    const QList<std::tuple<const char *, const char *, QKeySequence>> items{
        {"mnuFile", "ﾌｧｲﾙ(&F)", {}},
        {"mnuNewFile", "新規登録・修正(&S)...", {}},
        {"mnuCancel", "取消・了解(&X)", {}},
        {"mnuHelp", "ﾍﾙﾌﾟ(&H)", {}},
        {"mnuHelpContext_KeyWord_0", "ﾄﾋﾟｯｸの検索(&H)", QKeySequence(Qt::Key_F1)},
        {"mnuHelpContext_KeyWord_1", "当該ﾍﾙﾌﾟ(&C)", {}},
        {"mnuVersion", "ﾊﾞｰｼﾞｮﾝ情報(&A)...", {}},
    };
    for (const auto &[name, caption, shortcut] : items) {
        QAction *a = findAction(editor, QString::fromLatin1(name));
        QVERIFY2(a, name);
        QCOMPARE(a->text(), QString::fromUtf8(caption));
        QCOMPARE(a->shortcut(), shortcut);
    }
}

QTEST_MAIN(TestRoster)
#include "tst_roster.moc"
