// File>New roster, File>Open and the roster editor, driven through the main window.
#include "about/versioninfo.h"
#include "app/textfile.h"
#include "app/ui.h"
#include "mainwin/mainwindow.h"
#include "roster/rostereditor.h"
#include "roster/rosterfile.h"
#include "seating/conditioneditor.h"
#include "support/testenv.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QToolButton>
#include <QtTest>

namespace {

const QString MissingRoster = QStringLiteral("名簿の存在確認|指定した名簿がありません。存在を確認して下さい。|16");
const QString EmptyQuestion = QStringLiteral("登録確認|新規にメンバーが登録されていません。登録しますか？|33");
const QString Duplicate = QStringLiteral("登録者重複|同じ氏名を登録しようとしました。|16");
const QString Registered = QStringLiteral("登録確認|新規にメンバーを登録しました。|64");
const QString Corrected = QStringLiteral("修正確認|メンバーを修正しました。|64");
const QString ChangedQuestion = QStringLiteral("変更確認|名簿は変更されています。保存しますか？|33");
const QString DiscardQuestion = QStringLiteral("新規作成|新規名簿を取消してよろしいですか？|33");
const QString RosterFilter = QStringLiteral("名簿ﾌｧｲﾙ(*.MEM)|*.MEM|すべてのﾌｧｲﾙ(*.*)|*.*");

// The condition editor the roster editor moved on to, by the names in its registrant
// list; nothing when it is not open and shown.
QStringList conditionEditorRoster()
{
    COND *editor = loadedForm<COND>();
    if (!editor || !editor->isVisible())
        return {};
    QStringList names;
    for (const QLabel *label : editor->Label4)
        names.append(label->text());
    while (!names.isEmpty() && names.constLast().isEmpty())
        names.removeLast();
    return names;
}

bool conditionEditorOpen()
{
    return isLoaded<COND>() && loadedForm<COND>()->isVisible();
}

NARABIN *mainWindow()
{
    NARABIN *w = form<NARABIN>();
    w->show();
    return w;
}

// File>Open of a file in the work folder; the editor when one is shown.
TOUROKU *openRoster(TestEnv &env, const QString &name)
{
    env.platform.openFiles.enqueue(env.path(name));
    mainWindow()->mnuFileOpen->trigger();
    return loadedForm<TOUROKU>();
}

// File>New roster: runs `inside` while the modal editor is up. Returns whether the
// editor was still open afterwards (it is then closed so that the command returns).
bool newRoster(const std::function<void(TOUROKU *)> &inside)
{
    bool ran = false;
    bool stillOpen = false;
    whenModal([&] {
        ran = true;
        TOUROKU *editor = loadedForm<TOUROKU>();
        QVERIFY(editor);
        QVERIFY(editor->isVisible());
        QCOMPARE(editor->windowModality(), Qt::ApplicationModal);
        inside(editor);
        stillOpen = isLoaded<TOUROKU>();
        unload<TOUROKU>();
    });
    mainWindow()->mnuFileCreate->trigger();
    if (!ran)
        qWarning("the new roster's editor was not shown modally");
    return stillOpen;
}

void fill(TOUROKU *editor, const QMap<int, QString> &seats)
{
    for (auto it = seats.cbegin(); it != seats.cend(); ++it)
        editor->Text1[size_t(it.key() - 1)]->setText(it.value());
}

QByteArray numbered(int count)
{
    QByteArray bytes;
    for (int i = 1; i <= count; ++i)
        bytes += sjis(QStringLiteral("生徒%1\r\n").arg(i));
    return bytes;
}

void fillOldRun()
{
    SharedState &s = state();
    for (int i = 0; i < SlotCount; ++i) {
        s.PupilNames[size_t(i)] = QStringLiteral("old");
        s.SeatConditions[size_t(i)] = QStringLiteral("-");
        s.SeatResult[size_t(i)] = QStringLiteral("old");
    }
    s.PupilCount = 17;
}

bool allEmpty(const Slots &array)
{
    return std::all_of(array.cbegin(), array.cend(), [](const QString &t) { return t.isEmpty(); });
}

} // namespace

class TestRoster : public QObject {
    Q_OBJECT

private slots:
    void openUsesTheMainWindowsDialog();
    void openCancelledChangesOnlyTheFileName();
    void open28Lines();
    void openFailures_data();
    void openFailures();
    void failedOpenClosesAnEditorLeftOpen();
    void openFillsTheBoxesOfAnOpenEditorAfresh();
    void openEmptyFile();
    void openCommaAndQuotes();
    void newRosterEmptiesEverythingAndIsModal();
    void newRosterTurnsAnOpenEditorModal();
    void roundTripClosesUpSeats();
    void registerReports_data();
    void registerReports();
    void blankBoxIsAName();
    void duplicates_data();
    void duplicates();
    void emptyRosterAnsweredOk();
    void emptyRosterAnsweredCancel();
    void closeAfterOpenAlwaysAsks_data();
    void closeAfterOpenAlwaysAsks();
    void closeOfUnchangedEmptyRosterDoesNothing();
    void closeNewRoster_data();
    void closeNewRoster();
    void closeButtonRunsTheCloseCommand();
    void correctionReportCarriesOver();
    void cancelledSaveDialogKeepsEditorOpen();
    void cp932RosterSavedAgainIsByteIdentical_data();
    void cp932RosterSavedAgainIsByteIdentical();
    void utf8RosterSavedAsCp932();
    void failedWrite();
    void nameCp932CannotHoldIsRefused();
    void conditionEditorFollowsTheMessage();
    void enterMovesToTheNextSeat();
    void focusColours();
    void layout();
    void menusAndToolbar();
    void statusBarAndTimer();
    void helpAndVersion();
};

void TestRoster::openUsesTheMainWindowsDialog()
{
    TestEnv env;
    env.writeFile(QStringLiteral("a/class.mem"), sjis(QStringLiteral("山田\r\n")));
    TOUROKU *editor = openRoster(env, QStringLiteral("a/class.mem"));
    QVERIFY(editor);
    const QList<PlatformCall> dialogs = env.platform.callsOf(QStringLiteral("open"));
    QCOMPARE(dialogs.size(), 1);
    QCOMPARE(dialogs[0].title, QStringLiteral("名簿を開く"));
    QCOMPARE(dialogs[0].filter, QStringLiteral("名簿ﾌｧｲﾙ(*.MEM)|*.MEM|旧名簿ﾌｧｲﾙ(*.DAT)|*.DAT|すべてのﾌｧｲﾙ(*.*)|*.*"));
    QCOMPARE(dialogs[0].owner.data(), form<NARABIN>());
    QCOMPARE(state().RosterFileName, env.path(QStringLiteral("a/class.mem")));
    QCOMPARE(QDir::currentPath(), env.path(QStringLiteral("a")));
    // The next dialog shows the file chosen last; a title set by another command stays.
    form<NARABIN>()->CommonDialog1.DialogTitle = QStringLiteral("名簿ﾌｧｲﾙを開く");
    mainWindow()->Toolbar1->button(3)->click();
    const PlatformCall again = env.platform.callsOf(QStringLiteral("open")).constLast();
    QCOMPARE(again.fileName, env.path(QStringLiteral("a/class.mem")));
    QCOMPARE(again.title, QStringLiteral("名簿ﾌｧｲﾙを開く"));
}

void TestRoster::openCancelledChangesOnlyTheFileName()
{
    TestEnv env;
    fillOldRun();
    state().RosterFileName = QStringLiteral("/before.mem");
    mainWindow()->mnuFileOpen->trigger();
    QVERIFY(state().RosterFileName.isEmpty());
    QCOMPARE(state().PupilNames[3], QStringLiteral("old"));
    QCOMPARE(state().SeatConditions[3], QStringLiteral("-"));
    QCOMPARE(state().PupilCount, 17);
    QCOMPARE(state().RosterLoaded, 0);
    QVERIFY(!isLoaded<TOUROKU>());
    QVERIFY(env.platform.messageLog().isEmpty());
}

void TestRoster::open28Lines()
{
    TestEnv env;
    fillOldRun();
    env.writeFile(QStringLiteral("class.MEM"), numbered(28));
    TOUROKU *editor = openRoster(env, QStringLiteral("class.MEM"));
    QVERIFY(editor);
    QVERIFY(editor->isVisible());
    QCOMPARE(editor->windowModality(), Qt::NonModal);
    for (int i = 0; i < 28; ++i)
        QCOMPARE(editor->Text1[size_t(i)]->text(), QStringLiteral("生徒%1").arg(i + 1));
    const SharedState &s = state();
    QCOMPARE(s.PupilCount, 28);
    QCOMPARE(s.PupilNames[28], QStringLiteral("生徒28"));
    QVERIFY(s.PupilNames[0].isEmpty() && s.PupilNames[29].isEmpty());
    QVERIFY(allEmpty(s.SeatConditions));
    QVERIFY(allEmpty(s.SeatResult));
    QCOMPARE((QList<int>{s.RosterFromFile, s.RosterLoaded, s.RosterEdited}), (QList<int>{1, 1, 1}));
    QVERIFY(env.platform.messageLog().isEmpty());
    // The main window stays usable behind the editor.
    QVERIFY(form<NARABIN>()->mnuFileOpen->isEnabled());
}

void TestRoster::openFailures_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("pupilCount");
    QTest::addColumn<int>("flags"); // RosterFromFile and RosterLoaded afterwards
    QTest::newRow("missing") << QStringLiteral("none.mem") << QByteArray() << 17 << 0;
    QTest::newRow("29 lines") << QStringLiteral("big.mem") << numbered(29) << 29 << 1;
    QTest::newRow("not text") << QStringLiteral("bin.mem") << QByteArray("\x81\x20\xFF\xFE\0\0", 6) << 0 << 1;
}

void TestRoster::openFailures()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(int, pupilCount);
    QFETCH(int, flags);
    TestEnv env;
    fillOldRun();
    if (!bytes.isEmpty())
        env.writeFile(file, bytes);
    QVERIFY(!openRoster(env, file));
    QCOMPARE(env.platform.messageLog(), QStringList{MissingRoster});
    QCOMPARE(env.platform.callsOf(QStringLiteral("message"))[0].owner.data(), form<NARABIN>());
    const SharedState &s = state();
    QCOMPARE(int(s.PupilCount), pupilCount);
    QCOMPARE((QList<int>{s.RosterFromFile, s.RosterLoaded}), (QList<int>{flags, flags}));
    QCOMPARE(s.RosterFileName, env.path(file));
    QVERIFY(allEmpty(s.SeatConditions));
    QVERIFY(allEmpty(s.SeatResult));
    QVERIFY(s.PupilNames[0].isEmpty());
    for (int i = 1; i < SlotCount; ++i)
        QCOMPARE(s.PupilNames[size_t(i)], i <= pupilCount && flags == 1 ? QStringLiteral("生徒%1").arg(i) : QString());
}

void TestRoster::failedOpenClosesAnEditorLeftOpen()
{
    TestEnv env;
    env.writeFile(QStringLiteral("good.mem"), numbered(3));
    env.writeFile(QStringLiteral("big.mem"), numbered(40));
    QVERIFY(openRoster(env, QStringLiteral("good.mem")));
    QVERIFY(!openRoster(env, QStringLiteral("big.mem")));
    QCOMPARE(env.platform.messageLog(), QStringList{MissingRoster});
}

void TestRoster::openFillsTheBoxesOfAnOpenEditorAfresh()
{
    TestEnv env;
    env.writeFile(QStringLiteral("ten.mem"), numbered(10));
    env.writeFile(QStringLiteral("two.mem"), sjis(QStringLiteral("山田\r\n佐藤\r\n")));
    TOUROKU *first = openRoster(env, QStringLiteral("ten.mem"));
    TOUROKU *second = openRoster(env, QStringLiteral("two.mem"));
    QCOMPARE(second, first);
    QCOMPARE(collectNames(second->boxTexts()), (QStringList{QStringLiteral("山田"), QStringLiteral("佐藤")}));
    QCOMPARE(state().PupilCount, 2);
}

void TestRoster::openEmptyFile()
{
    TestEnv env;
    env.writeFile(QStringLiteral("empty.mem"), QByteArray());
    TOUROKU *editor = openRoster(env, QStringLiteral("empty.mem"));
    QVERIFY(editor && editor->isVisible());
    QCOMPARE(editor->boxTexts(), QStringList(28));
    QCOMPARE(state().PupilCount, 0);
    QCOMPARE(state().RosterFromFile, 1);
}

void TestRoster::openCommaAndQuotes()
{
    TestEnv env;
    env.writeFile(QStringLiteral("c.dat"), sjis(QStringLiteral("山田,花子\r\n\"佐藤, 一郎\"\r\n")));
    TOUROKU *editor = openRoster(env, QStringLiteral("c.dat"));
    QVERIFY(editor);
    QCOMPARE(editor->boxTexts().mid(0, 4),
             (QStringList{QStringLiteral("山田"), QStringLiteral("花子"), QStringLiteral("佐藤, 一郎"), QString()}));
    QCOMPARE(state().PupilCount, 3);
}

void TestRoster::newRosterEmptiesEverythingAndIsModal()
{
    TestEnv env;
    fillOldRun();
    SharedState &s = state();
    s.RosterFileName = QStringLiteral("/x.mem");
    s.RosterEmpty = 1;
    s.RosterLoaded = 1;
    s.RosterFromFile = 1;
    const bool stillOpen = newRoster([&](TOUROKU *editor) {
        QCOMPARE(editor->boxTexts(), QStringList(28));
        QVERIFY(s.RosterFileName.isEmpty());
        QCOMPARE((QList<int>{s.RosterEmpty, s.RosterLoaded, s.RosterFromFile, s.RosterEdited}), (QList<int>{0, 0, 1, 0}));
        QCOMPARE(s.PupilCount, 17); // recomputed by the register command
        QVERIFY(allEmpty(s.PupilNames) && allEmpty(s.SeatConditions) && allEmpty(s.SeatResult));
    });
    QVERIFY(stillOpen);
    QVERIFY(env.platform.messageLog().isEmpty());
}

void TestRoster::newRosterTurnsAnOpenEditorModal()
{
    TestEnv env;
    env.writeFile(QStringLiteral("c.mem"), numbered(5));
    TOUROKU *opened = openRoster(env, QStringLiteral("c.mem"));
    QVERIFY(opened);
    newRoster([&](TOUROKU *editor) {
        QCOMPARE(editor, opened);
        QCOMPARE(editor->boxTexts(), QStringList(28));
    });
}

void TestRoster::roundTripClosesUpSeats()
{
    TestEnv env;
    env.platform.saveFiles.enqueue(env.path(QStringLiteral("kumi.mem")));
    const bool stillOpen = newRoster([](TOUROKU *editor) {
        fill(editor, {{1, QStringLiteral("山田")}, {5, QStringLiteral("佐藤")}, {20, QStringLiteral("鈴木")}});
        editor->Toolbar1->button(2)->click();
    });
    QVERIFY(!stillOpen);
    QCOMPARE(env.platform.messageLog(), QStringList{Registered});
    const QList<PlatformCall> saves = env.platform.callsOf(QStringLiteral("save"));
    QCOMPARE(saves.size(), 1);
    QCOMPARE(saves[0].title, QString());
    QCOMPARE(saves[0].filter, RosterFilter);
    QCOMPARE(saves[0].fileName, QString());
    QCOMPARE(env.readFile(QStringLiteral("kumi.mem")), sjis(QStringLiteral("山田\r\n佐藤\r\n鈴木\r\n")));
    QCOMPARE(state().RosterFileName, env.path(QStringLiteral("kumi.mem")));
    QVERIFY(!isLoaded<TOUROKU>());
    QCOMPARE(conditionEditorRoster(), (QStringList{QStringLiteral("山田"), QStringLiteral("佐藤"), QStringLiteral("鈴木")}));

    // The condition editor switched Open off; a fresh main window offers it again.
    unload<COND>();
    unload<NARABIN>();

    TOUROKU *editor = openRoster(env, QStringLiteral("kumi.mem"));
    QVERIFY(editor);
    QCOMPARE(editor->boxTexts().mid(0, 4),
             (QStringList{QStringLiteral("山田"), QStringLiteral("佐藤"), QStringLiteral("鈴木"), QString()}));
}

void TestRoster::registerReports_data()
{
    QTest::addColumn<bool>("opened");
    QTest::addColumn<QString>("message");
    QTest::newRow("after File>Open") << true << Corrected;
    QTest::newRow("after File>New roster") << false << Registered;
}

void TestRoster::registerReports()
{
    QFETCH(bool, opened);
    QFETCH(QString, message);
    TestEnv env;
    env.platform.saveFiles.enqueue(env.path(QStringLiteral("out.mem")));
    if (opened) {
        env.writeFile(QStringLiteral("in.mem"), numbered(2));
        TOUROKU *editor = openRoster(env, QStringLiteral("in.mem"));
        QVERIFY(editor);
        TRIGGER(editor, "mnuNewFile");
    } else {
        newRoster([](TOUROKU *editor) {
            fill(editor, {{1, QStringLiteral("生徒1")}, {2, QStringLiteral("生徒2")}});
            editor->mnuNewFile->trigger();
        });
    }
    QCOMPARE(env.platform.messageLog(), QStringList{message});
    QCOMPARE(state().RosterFromFile, 0);
    QCOMPARE(state().RosterEdited, 1);
    QCOMPARE(env.readFile(QStringLiteral("out.mem")), numbered(2));
    QVERIFY(!isLoaded<TOUROKU>());
    QVERIFY(conditionEditorOpen());
}

void TestRoster::blankBoxIsAName()
{
    TestEnv env;
    env.platform.saveFiles.enqueue(env.path(QStringLiteral("b.mem")));
    newRoster([](TOUROKU *editor) {
        fill(editor, {{2, QStringLiteral("  ")}, {3, QStringLiteral("田中 ")}});
        editor->mnuNewFile_Click();
    });
    QCOMPARE(env.readFile(QStringLiteral("b.mem")), sjis(QStringLiteral("  \r\n田中 \r\n")));
    QCOMPARE(state().PupilCount, 2);
    QCOMPARE(state().RosterEmpty, 0);
}

void TestRoster::duplicates_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<bool>("duplicate");
    QTest::newRow("same name") << QStringLiteral("山田") << QStringLiteral("山田") << true;
    QTest::newRow("name and name with a blank") << QStringLiteral("山田") << QStringLiteral("山田 ") << false;
    QTest::newRow("letter case") << QStringLiteral("Ken") << QStringLiteral("ken") << false;
    QTest::newRow("half and full width") << QStringLiteral("ｹﾝ") << QStringLiteral("ケン") << false;
}

void TestRoster::duplicates()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(bool, duplicate);
    TestEnv env;
    env.platform.saveFiles.enqueue(env.path(QStringLiteral("d.mem")));
    const bool stillOpen = newRoster([&](TOUROKU *editor) {
        fill(editor, {{3, first}, {4, QStringLiteral("佐藤")}, {9, second}});
        editor->mnuNewFile_Click();
        QCOMPARE(state().MatchFound, duplicate ? 1 : 0);
    });
    QCOMPARE(stillOpen, duplicate);
    QCOMPARE(env.platform.messageLog(), QStringList{duplicate ? Duplicate : Registered});
    QCOMPARE(env.platform.callsOf(QStringLiteral("save")).size(), duplicate ? 0 : 1);
    QCOMPARE(QFile::exists(env.path(QStringLiteral("d.mem"))), !duplicate);
    QCOMPARE(conditionEditorOpen(), !duplicate);
}

void TestRoster::emptyRosterAnsweredOk()
{
    TestEnv env;
    const bool stillOpen = newRoster([&](TOUROKU *editor) {
        env.platform.answers.enqueue(IDOK);
        env.platform.answers.enqueue(IDOK);
        editor->mnuNewFile_Click();
        QCOMPARE(state().RosterEmpty, 0);
        QVERIFY(isLoaded<TOUROKU>());
        editor->mnuNewFile_Click();
        QVERIFY(isLoaded<TOUROKU>());
    });
    QVERIFY(stillOpen);
    QCOMPARE(env.platform.messageLog(), (QStringList{EmptyQuestion, EmptyQuestion}));
    QVERIFY(env.platform.callsOf(QStringLiteral("save")).isEmpty());
    QVERIFY(!isLoaded<COND>());
}

void TestRoster::emptyRosterAnsweredCancel()
{
    TestEnv env;
    const bool stillOpen = newRoster([&](TOUROKU *editor) {
        env.platform.answers.enqueue(IDCANCEL);
        editor->mnuNewFile_Click();
    });
    QVERIFY(!stillOpen);
    QCOMPARE(env.platform.messageLog(), QStringList{EmptyQuestion});
    QCOMPARE(state().RosterEmpty, 1);
    QVERIFY(env.platform.callsOf(QStringLiteral("save")).isEmpty());
    QCOMPARE(QDir(env.work()).entryList(QDir::Files), QStringList());
    QVERIFY(!isLoaded<COND>());
}

void TestRoster::closeAfterOpenAlwaysAsks_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("typed");
    QTest::newRow("untouched, Cancel") << IDCANCEL << false;
    QTest::newRow("changed, Cancel") << IDCANCEL << true;
    QTest::newRow("untouched, OK") << IDOK << false;
}

void TestRoster::closeAfterOpenAlwaysAsks()
{
    QFETCH(int, answer);
    QFETCH(bool, typed);
    TestEnv env;
    env.writeFile(QStringLiteral("c.mem"), sjis(QStringLiteral("山田\r\n佐藤\r\n")));
    TOUROKU *editor = openRoster(env, QStringLiteral("c.mem"));
    QVERIFY(editor);
    if (typed)
        fill(editor, {{2, QString()}, {7, QStringLiteral("鈴木")}});
    env.platform.answers.enqueue(answer);
    env.platform.saveFiles.enqueue(env.path(QStringLiteral("c2.mem")));
    editor->Toolbar1->button(3)->click();
    QCOMPARE(state().CountChanged, 0);
    QVERIFY(!isLoaded<TOUROKU>());
    QVERIFY(conditionEditorOpen());
    if (answer == IDCANCEL) {
        QCOMPARE(env.platform.messageLog(), QStringList{ChangedQuestion});
        QCOMPARE(conditionEditorRoster(), (QStringList{QStringLiteral("山田"), QStringLiteral("佐藤")}));
        QVERIFY(env.platform.callsOf(QStringLiteral("save")).isEmpty());
        QCOMPARE(state().RosterFromFile, 1);
    } else {
        QCOMPARE(env.platform.messageLog(), (QStringList{ChangedQuestion, Corrected}));
        QCOMPARE(env.readFile(QStringLiteral("c2.mem")), sjis(QStringLiteral("山田\r\n佐藤\r\n")));
    }
}

void TestRoster::closeOfUnchangedEmptyRosterDoesNothing()
{
    TestEnv env;
    env.writeFile(QStringLiteral("empty.mem"), QByteArray());
    TOUROKU *editor = openRoster(env, QStringLiteral("empty.mem"));
    QVERIFY(editor);
    QCOMPARE(state().RosterEdited, 0);
    TRIGGER(editor, "mnuCancel");
    QVERIFY(env.platform.messageLog().isEmpty());
    QVERIFY(isLoaded<TOUROKU>());
    // A name typed and removed again is a change all the same.
    editor->Text1[0]->setText(QStringLiteral("x"));
    editor->Text1[0]->clear();
    env.platform.answers.enqueue(IDCANCEL);
    TRIGGER(editor, "mnuCancel");
    QCOMPARE(env.platform.messageLog(), QStringList{ChangedQuestion});
    QVERIFY(!isLoaded<TOUROKU>());
    QVERIFY(conditionEditorOpen());
}

void TestRoster::closeNewRoster_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("OK discards") << IDOK;
    QTest::newRow("Cancel keeps editing") << IDCANCEL;
}

void TestRoster::closeNewRoster()
{
    QFETCH(int, answer);
    TestEnv env;
    const bool stillOpen = newRoster([&](TOUROKU *editor) {
        fill(editor, {{1, QStringLiteral("山田")}});
        env.platform.answers.enqueue(answer);
        editor->mnuCancel->trigger();
    });
    QCOMPARE(env.platform.messageLog(), QStringList{DiscardQuestion});
    QCOMPARE(stillOpen, answer == IDCANCEL);
    QVERIFY(!isLoaded<COND>());
    QCOMPARE(QDir(env.work()).entryList(QDir::Files), QStringList());
}

void TestRoster::closeButtonRunsTheCloseCommand()
{
    TestEnv env;
    // A new roster: the same question as the close command.
    const bool stillOpen = newRoster([&](TOUROKU *editor) {
        env.platform.answers.enqueue(IDCANCEL);
        editor->close();
        QVERIFY(isLoaded<TOUROKU>());
        env.platform.answers.enqueue(IDOK);
        editor->close();
    });
    QVERIFY(!stillOpen);
    QCOMPARE(env.platform.messageLog(), (QStringList{DiscardQuestion, DiscardQuestion}));
    // Nothing to ask about: the close button simply closes.
    env.platform.clear();
    env.writeFile(QStringLiteral("empty.mem"), QByteArray());
    TOUROKU *editor = openRoster(env, QStringLiteral("empty.mem"));
    QVERIFY(editor);
    editor->close();
    QVERIFY(!isLoaded<TOUROKU>());
    QVERIFY(env.platform.messageLog().isEmpty());
    QVERIFY(!isLoaded<COND>());
}

void TestRoster::correctionReportCarriesOver()
{
    TestEnv env;
    env.writeFile(QStringLiteral("c.mem"), numbered(3));
    QVERIFY(openRoster(env, QStringLiteral("c.mem")));
    unload<TOUROKU>(); // left without registering
    env.platform.saveFiles.enqueue(env.path(QStringLiteral("new.mem")));
    newRoster([](TOUROKU *editor) {
        fill(editor, {{1, QStringLiteral("新人")}});
        editor->mnuNewFile_Click();
    });
    QCOMPARE(env.platform.messageLog(), QStringList{Corrected});
    QCOMPARE(state().RosterFromFile, 0);
}

void TestRoster::cancelledSaveDialogKeepsEditorOpen()
{
    TestEnv env;
    env.writeFile(QStringLiteral("c.mem"), numbered(3));
    TOUROKU *editor = openRoster(env, QStringLiteral("c.mem"));
    QVERIFY(editor);
    TRIGGER(editor, "mnuNewFile");
    QVERIFY(isLoaded<TOUROKU>());
    QVERIFY(env.platform.messageLog().isEmpty());
    QCOMPARE(state().RosterFileName, env.path(QStringLiteral("c.mem")));
    QCOMPARE(state().RosterFromFile, 1);
    QVERIFY(!isLoaded<COND>());
}

void TestRoster::cp932RosterSavedAgainIsByteIdentical_data()
{
    QTest::addColumn<QByteArray>("original");
    // 髙橋, ①, ～, ｱｲ, then 渡邊 ①子; 髙 once in the code Windows writes, once in the other one.
    const QByteArray rest = QByteArray::fromHex("0d0a87400d0a81600d0ab1b20d0a") + sjis(QStringLiteral("渡邊 ①子\r\n"));
    QTest::newRow("as Windows writes it") << QByteArray::fromHex("fbfc8bb4") + rest;
    QTest::newRow("NEC-selected codes") << QByteArray::fromHex("eee08bb4") + rest;
}

void TestRoster::cp932RosterSavedAgainIsByteIdentical()
{
    QFETCH(QByteArray, original);
    TestEnv env;
    env.writeFile(QStringLiteral("old/CLASS.MEM"), original);
    TOUROKU *editor = openRoster(env, QStringLiteral("old/CLASS.MEM"));
    QVERIFY(editor);
    QCOMPARE(editor->Text1[0]->text(), QStringLiteral("髙橋"));
    QCOMPARE(editor->Text1[2]->text(), QStringLiteral("～"));
    env.platform.saveFiles.enqueue(env.path(QStringLiteral("new/copy.mem")));
    QDir(env.work()).mkdir(QStringLiteral("new"));
    TRIGGER(editor, "mnuNewFile");
    QCOMPARE(env.platform.messageLog(), QStringList{Corrected});
    QCOMPARE(env.readFile(QStringLiteral("new/copy.mem")), original);
    QCOMPARE(QDir::currentPath(), env.path(QStringLiteral("new")));
}

void TestRoster::utf8RosterSavedAsCp932()
{
    TestEnv env;
    env.writeFile(QStringLiteral("utf8.mem"), QStringLiteral("山田\n髙橋\n①\n").toUtf8());
    TOUROKU *editor = openRoster(env, QStringLiteral("utf8.mem"));
    QVERIFY(editor);
    env.platform.saveFiles.enqueue(env.path(QStringLiteral("utf8.mem")));
    editor->mnuNewFile_Click();
    QCOMPARE(env.readFile(QStringLiteral("utf8.mem")), sjis(QStringLiteral("山田\r\n髙橋\r\n①\r\n")));
}

void TestRoster::failedWrite()
{
    TestEnv env;
    const QByteArray old = numbered(3);
    env.writeFile(QStringLiteral("c.mem"), old);
    TOUROKU *editor = openRoster(env, QStringLiteral("c.mem"));
    QVERIFY(editor);
    editor->Text1[5]->setText(QStringLiteral("追加"));
    setWriteFaultForTests(QStringLiteral("c.mem"), 4);
    env.platform.saveFiles.enqueue(env.path(QStringLiteral("c.mem")));
    TRIGGER(editor, "mnuNewFile");
    const QString error = QStringLiteral("保存エラー|名簿ファイルを保存できませんでした。\r\n") +
                          QDir::toNativeSeparators(env.path(QStringLiteral("c.mem"))) +
                          QStringLiteral("\r\nディスクの空き容量が足りないか、書き込めない状態です。（No space left on device）|16");
    QCOMPARE(env.platform.messageLog(), QStringList{error});
    QCOMPARE(env.readFile(QStringLiteral("c.mem")), old);
    QVERIFY(isLoaded<TOUROKU>() && editor->isVisible());
    QCOMPARE(state().RosterFromFile, 1);
    QCOMPARE(state().RosterFileName, env.path(QStringLiteral("c.mem")));
    QVERIFY(!isLoaded<COND>());

    // A folder that does not exist: the same message with the system's reason.
    env.platform.saveFiles.enqueue(env.path(QStringLiteral("gone/x.mem")));
    editor->mnuNewFile_Click();
    const QString missingFolder = env.platform.messageLog().constLast();
    QVERIFY2(missingFolder.startsWith(QStringLiteral("保存エラー|名簿ファイルを保存できませんでした。\r\n") +
                                      QDir::toNativeSeparators(env.path(QStringLiteral("gone/x.mem"))) + QStringLiteral("\r\n")),
             qPrintable(missingFolder));
    QVERIFY(missingFolder.endsWith(QStringLiteral("|16")));
    QCOMPARE(state().RosterFileName, env.path(QStringLiteral("c.mem")));

    // Saving again, elsewhere, is still the correction of the roster that was opened.
    setWriteFaultForTests({}, 0);
    env.platform.saveFiles.enqueue(env.path(QStringLiteral("c2.mem")));
    editor->mnuNewFile_Click();
    QCOMPARE(env.platform.messageLog().constLast(), Corrected);
    QCOMPARE(env.readFile(QStringLiteral("c2.mem")), numbered(3) + sjis(QStringLiteral("追加\r\n")));
    QCOMPARE(state().RosterFileName, env.path(QStringLiteral("c2.mem")));
    QVERIFY(conditionEditorOpen());
}

void TestRoster::nameCp932CannotHoldIsRefused()
{
    TestEnv env;
    env.platform.saveFiles.enqueue(env.path(QStringLiteral("x.mem")));
    const bool stillOpen = newRoster([](TOUROKU *editor) {
        fill(editor, {{1, QStringLiteral("山田")}, {7, QStringLiteral("𠮷田")}, {9, QStringLiteral("😀")}});
        editor->mnuNewFile_Click();
    });
    QVERIFY(stillOpen);
    QCOMPARE(env.platform.messageLog(),
             QStringList{QStringLiteral("使用できない文字|No.7 の氏名「𠮷田」には名簿ファイルに保存できない文字が含まれています。\r\n"
                                        "別の文字に置き換えて下さい。|16")});
    QVERIFY(env.platform.callsOf(QStringLiteral("save")).isEmpty());
    QCOMPARE(QDir(env.work()).entryList(QDir::Files), QStringList());
    QVERIFY(!isLoaded<COND>());
}

void TestRoster::conditionEditorFollowsTheMessage()
{
    TestEnv env;
    env.writeFile(QStringLiteral("c.mem"), numbered(2));
    TOUROKU *editor = openRoster(env, QStringLiteral("c.mem"));
    QVERIFY(editor);
    editor->Text1[6]->setText(QStringLiteral("追加"));
    bool openDuringMessage = true;
    env.platform.onMessage = [&openDuringMessage](const PlatformCall &) { openDuringMessage = isLoaded<COND>(); };
    env.platform.saveFiles.enqueue(env.path(QStringLiteral("c.mem")));
    editor->mnuNewFile_Click();
    QVERIFY(!openDuringMessage);
    QCOMPARE(env.platform.messageLog(), QStringList{Corrected});
    QVERIFY(!isLoaded<TOUROKU>());
    QCOMPARE(conditionEditorRoster(), (QStringList{QStringLiteral("生徒1"), QStringLiteral("生徒2"), QStringLiteral("追加")}));
    QVERIFY(!loadedForm<COND>()->isModal());
    // The main window is in its conditions state.
    NARABIN *main = form<NARABIN>();
    QVERIFY(!main->mnuFileOpen->isEnabled());
    QVERIFY(main->mnuFileNarabin->isEnabled());
}

void TestRoster::enterMovesToTheNextSeat()
{
    TestEnv env;
    env.writeFile(QStringLiteral("c.mem"), numbered(6));
    TOUROKU *editor = openRoster(env, QStringLiteral("c.mem"));
    QVERIFY(editor);
    QApplication::setActiveWindow(editor);
    QTRY_VERIFY(editor->isActiveWindow());
    editor->Text1[4]->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), editor->Text1[4]);
    env.platform.calls.clear();
    QTest::keyClick(editor->Text1[4], Qt::Key_Return);
    QTRY_COMPARE(QApplication::focusWidget(), editor->Text1[5]);
    QCOMPARE(editor->Text1[4]->text(), QStringLiteral("生徒5"));
    QCOMPARE(editor->Text1[5]->text(), QStringLiteral("生徒6"));
    QStringList ime;
    for (const PlatformCall &c : env.platform.callsOf(QStringLiteral("ime")))
        ime.append(c.text);
    QVERIFY2(ime.contains(QStringLiteral("Text1_4")) && ime.contains(QStringLiteral("Text1_5")), qPrintable(ime.join(u' ')));
    // Any key switches the input method on.
    env.platform.calls.clear();
    QTest::keyClick(editor->Text1[5], Qt::Key_End);
    QTest::keyClick(editor->Text1[5], Qt::Key_A);
    QCOMPARE(editor->Text1[5]->text(), QStringLiteral("生徒6a"));
    QCOMPARE(env.platform.callsOf(QStringLiteral("ime")).size(), 2);
    // Tab order runs from seat 1 to seat 28.
    for (int i = 0; i + 1 < 28; ++i)
        QCOMPARE(editor->Text1[size_t(i)]->nextInFocusChain(), editor->Text1[size_t(i + 1)]);
}

void TestRoster::focusColours()
{
    TestEnv env;
    env.writeFile(QStringLiteral("c.mem"), numbered(2));
    TOUROKU *editor = openRoster(env, QStringLiteral("c.mem"));
    QVERIFY(editor);
    QApplication::setActiveWindow(editor);
    QTRY_VERIFY(editor->isActiveWindow());
    QTRY_COMPARE(QApplication::focusWidget(), editor->Text1[0]);
    const auto base = [&](int i) { return editor->Text1[size_t(i)]->palette().color(QPalette::Base); };
    QCOMPARE(base(0), QColor(192, 255, 192));
    QCOMPARE(base(1), QColor(0, 192, 0));
    editor->Text1[1]->setFocus();
    QTRY_COMPARE(base(1), QColor(192, 255, 192));
    QCOMPARE(base(0), QColor(0, 192, 0));
    QCOMPARE(env.platform.callsOf(QStringLiteral("ime")).constLast().text, QStringLiteral("Text1_1"));
}

void TestRoster::layout()
{
    TestEnv env;
    env.writeFile(QStringLiteral("c.mem"), QByteArray());
    TOUROKU *editor = openRoster(env, QStringLiteral("c.mem"));
    QVERIFY(editor);
    QCOMPARE(editor->windowTitle(), QStringLiteral("登録・修正"));
    QCOMPARE(editor->client()->size(), QSize(635, 437));
    QCOMPARE(editor->client()->palette().color(QPalette::Window), QColor(0, 128, 0));
    QVERIFY(editor->client()->autoFillBackground());
    const std::array<int, 4> lefts{7215, 5055, 2895, 735};
    const std::array<int, 7> tops{5160, 4440, 3720, 3000, 2280, 1560, 840};
    for (int i = 0; i < 28; ++i) {
        QLineEdit *box = editor->findChild<QLineEdit *>(QStringLiteral("Text1_%1").arg(i));
        QLabel *caption = editor->findChild<QLabel *>(QStringLiteral("Label1_%1").arg(i));
        QVERIFY(box && caption);
        QCOMPARE(box, editor->Text1[size_t(i)]);
        const QRect place = twRect(lefts[size_t(i % 4)], tops[size_t(i / 4)], 1575, 360);
        QCOMPARE(box->geometry(), place);
        QCOMPARE(box->font().families().constFirst(), QStringLiteral("ＭＳ Ｐゴシック"));
        QCOMPARE(box->font().pointSizeF(), 12.0);
        QCOMPARE(caption->text(), QStringLiteral("No.%1").arg(i + 1));
        QCOMPARE(caption->geometry().bottom() + 1, place.top());
        QCOMPARE(caption->geometry().left(), place.left());
        QCOMPARE(caption->palette().color(QPalette::WindowText), QColor(Qt::white));
        QVERIFY(!caption->autoFillBackground());
        QCOMPARE(caption->font().pointSizeF(), 12.0);
    }
    QCOMPARE(editor->Label1[0]->y(), tw(4890));
    QCOMPARE(editor->Label1[27]->y(), tw(570));
    QCOMPARE(editor->Label3->text(), QStringLiteral("教     卓"));
    QCOMPARE(editor->Label3->geometry(), twRect(4215, 5700, 1095, 315));
    QCOMPARE(editor->Label3->palette().color(QPalette::Window), QColor(0, 255, 0));
    QVERIFY(editor->Label3->autoFillBackground());
    QCOMPARE(editor->Label3->frameShape(), QFrame::Box);
    QCOMPARE(editor->Label3->alignment(), Qt::AlignCenter);
    QVERIFY(editor->Toolbar1->geometry().bottom() < editor->Label1[27]->y());
    QVERIFY(editor->StatusBar1->geometry().top() > editor->Label3->geometry().bottom());
    QCOMPARE(editor->StatusBar1->geometry().bottom(), 436);
}

void TestRoster::menusAndToolbar()
{
    TestEnv env;
    env.writeFile(QStringLiteral("c.mem"), QByteArray());
    TOUROKU *editor = openRoster(env, QStringLiteral("c.mem"));
    QVERIFY(editor);
    const QList<std::tuple<QString, QString, QKeySequence>> items{
        {QStringLiteral("mnuFile"), QStringLiteral("ﾌｧｲﾙ(&F)"), {}},
        {QStringLiteral("mnuNewFile"), QStringLiteral("新規登録・修正(&S)..."), {}},
        {QStringLiteral("mnuCancel"), QStringLiteral("取消・了解(&X)"), {}},
        {QStringLiteral("mnuHelp"), QStringLiteral("ﾍﾙﾌﾟ(&H)"), {}},
        {QStringLiteral("mnuHelpContext_KeyWord_0"), QStringLiteral("ﾄﾋﾟｯｸの検索(&H)"), QKeySequence(Qt::Key_F1)},
        {QStringLiteral("mnuHelpContext_KeyWord_1"), QStringLiteral("当該ﾍﾙﾌﾟ(&C)"), {}},
        {QStringLiteral("mnuVersion"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)..."), {}},
    };
    for (const auto &[name, caption, shortcut] : items) {
        QAction *a = findAction(editor, name);
        QVERIFY2(a, qPrintable(name));
        QCOMPARE(a->text(), caption);
        QCOMPARE(a->shortcut(), shortcut);
    }
    QStringList order;
    for (QAction *top : editor->menuBar()->actions()) {
        order.append(top->objectName());
        for (QAction *a : top->menu()->actions())
            order.append(a->objectName());
    }
    QCOMPARE(order, (QStringList{QStringLiteral("mnuFile"), QStringLiteral("mnuNewFile"), QStringLiteral("mnuCancel"),
                                 QStringLiteral("mnuHelp"), QStringLiteral("mnuHelpContext_KeyWord_0"),
                                 QStringLiteral("mnuHelpContext_KeyWord_1"), QStringLiteral("mnuDummy2"),
                                 QStringLiteral("mnuVersion")}));
    QVERIFY(editor->mnuDummy2->isSeparator());
    const QMap<int, QString> tips{{2, QStringLiteral(" 新規登録・修正 ")}, {3, QStringLiteral(" 取消・了解  ")},
                                  {5, QStringLiteral(" ﾊﾞｰｼﾞｮﾝ情報 ")}, {6, QStringLiteral(" 当該ﾍﾙﾌﾟ ")}};
    QCOMPARE(editor->Toolbar1->actions().size(), 6);
    for (int pos = 1; pos <= 6; ++pos) {
        QToolButton *b = editor->Toolbar1->button(pos);
        QCOMPARE(b != nullptr, tips.contains(pos));
        if (b) {
            QCOMPARE(b->toolTip(), tips[pos]);
            QVERIFY(!b->icon().isNull());
        }
    }
    // Positions without a command do nothing.
    const qsizetype before = env.platform.calls.size();
    editor->Toolbar1_ButtonClick(1);
    editor->Toolbar1_ButtonClick(4);
    QCOMPARE(env.platform.calls.size(), before);
    QVERIFY(isLoaded<TOUROKU>());
}

void TestRoster::statusBarAndTimer()
{
    TestEnv env;
    env.platform.caps = true;
    state().TodayText = QStringLiteral("2026/12/05");
    state().ClockText = QStringLiteral("午後 03:07");
    env.writeFile(QStringLiteral("c.mem"), QByteArray());
    TOUROKU *editor = openRoster(env, QStringLiteral("c.mem"));
    QVERIFY(editor);
    StatusPanels *bar = editor->StatusBar1;
    QVERIFY(!bar->panelText(1).isEmpty());
    QCOMPARE(bar->panelText(2), QStringLiteral("CAPS"));
    QCOMPARE(bar->panelText(3), QStringLiteral("INS"));
    QVERIFY(bar->panel(2)->isEnabled());
    QVERIFY(!bar->panel(3)->isEnabled());
    QCOMPARE(bar->panelText(4), QStringLiteral("2026/12/05"));
    QCOMPARE(bar->panelText(5), QStringLiteral("午後 03:07"));
    QVERIFY(!bar->panel(6));
    QCOMPARE(editor->Timer1->interval(), 33000);
    QVERIFY(editor->Timer1->isActive());
    env.setNow(QDateTime(QDate(2027, 3, 9), QTime(0, 5)));
    editor->Timer1_Timer();
    QCOMPARE(bar->panelText(4), QStringLiteral("2027/03/09"));
    QCOMPARE(bar->panelText(5), QStringLiteral("午前 12:05"));
}

void TestRoster::helpAndVersion()
{
    TestEnv env;
    state().HelpFilePath = QStringLiteral("/prog/NARABIN.HLP");
    env.writeFile(QStringLiteral("c.mem"), QByteArray());
    TOUROKU *editor = openRoster(env, QStringLiteral("c.mem"));
    QVERIFY(editor);
    TRIGGER(editor, "mnuHelpContext_KeyWord_0");
    TRIGGER(editor, "mnuHelpContext_KeyWord_1");
    editor->Toolbar1->button(6)->click();
    const QList<PlatformCall> calls = env.platform.callsOf(QStringLiteral("help"));
    QCOMPARE(calls.size(), 3);
    const QList<QList<int>> expected{{HELP_PARTIALKEY, 0}, {HELP_CONTEXT, 43}, {HELP_CONTEXT, 43}};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE((QList<int>{calls[i].style, calls[i].data}), expected[i]);
        QCOMPARE(calls[i].owner.data(), editor);
        QCOMPARE(calls[i].text, QStringLiteral("/prog/NARABIN.HLP"));
    }
    // The version item and toolbar position 5 show the version window modally.
    for (const QString &how : {QStringLiteral("menu"), QStringLiteral("toolbar")}) {
        bool shown = false;
        whenModal([&] {
            shown = isLoaded<INFO_VER>() && loadedForm<INFO_VER>()->isModal();
            unload<INFO_VER>();
        });
        if (how == QLatin1String("menu"))
            editor->mnuVersion->trigger();
        else
            editor->Toolbar1->button(5)->click();
        QVERIFY2(shown, qPrintable(how));
    }
    QCOMPARE(env.platform.callsOf(QStringLiteral("help")).size(), 3);
    QVERIFY(isLoaded<TOUROKU>());
}

QTEST_MAIN(TestRoster)
#include "tst_roster.moc"
