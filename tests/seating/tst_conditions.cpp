// The condition editor: apply and cancel, drag and drop of names, its window, and the
// whole road from a roster file to a saved and reopened chart.
#include "app/textfile.h"
#include "app/ui.h"
#include "roster/rostereditor.h"
#include "seating/conditioneditor.h"
#include "seating/resultwindow.h"
#include "seatingfixture.h"

#include <QCheckBox>
#include <QDrag>
#include <QLineEdit>
#include <QMimeData>
#include <QToolButton>
#include <QtTest>

#include <numeric>

namespace {

const QString NotRegistrant = QStringLiteral("設定者確認|登録者以外の氏名を条件として設定しようとしました。|16");
const QString SameNameTwice = QStringLiteral("設定者重複|同じ氏名を条件として設定しようとしました。|16");
const QString DoNotAddUp =
    QStringLiteral("設定確認|登録者数と空座席数の関係に矛盾があるか、\r指定座席に空座席を設定しようとしました。|16");
const QString Applied = QStringLiteral("設定確認|条件を設定しました。|64");
const QString DiscardQuestion = QStringLiteral("条件破棄確認|設定中の条件があります。それらを破棄しますか？|33");

// The condition editor opened for a roster, as the roster editor opens it, with seats typed
// in; a "[x]" at the end of an entry ticks the seat's box (and is not typed).
COND *openEditor(const QStringList &roster, const SeatMap &stored = {}, const SeatMap &typed = {})
{
    mainWithRoster(roster, stored);
    showConditionEditor();
    COND *w = loadedForm<COND>();
    for (auto it = typed.cbegin(); it != typed.cend(); ++it) {
        QString text = it.value();
        if (text.endsWith(QLatin1String("[x]"))) {
            w->Check1[size_t(it.key() - 1)]->setChecked(true);
            text.chop(3);
            if (text.isEmpty())
                continue;
        }
        w->Text1[size_t(it.key() - 1)]->setText(text);
    }
    return w;
}

// The seats given, each marked `with`, added to `map`.
SeatMap marked(const QList<int> &seats, const QString &with, SeatMap map = {})
{
    for (int k : seats)
        map[k] = with;
    return map;
}

SeatMap storedConditions()
{
    SeatMap map;
    for (int k = 0; k < SlotCount; ++k) {
        if (!state().SeatConditions[size_t(k)].isEmpty())
            map[k] = state().SeatConditions[size_t(k)];
    }
    return map;
}

QStringList boxTexts(COND *w)
{
    QStringList texts;
    for (const QLineEdit *box : w->Text1)
        texts.append(box->text());
    return texts;
}

QList<int> tickedSeats(COND *w)
{
    QList<int> seats;
    for (int i = 0; i < SeatCount; ++i) {
        if (w->Check1[size_t(i)]->isChecked())
            seats.append(i + 1);
    }
    return seats;
}

// Drags `data` over `target` and drops it there as the drag machinery does; true when the
// target took every step.
bool dragOver(QWidget *target, const QMimeData *data)
{
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    enter.ignore();
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    move.ignore();
    QApplication::sendEvent(target, &move);
    QDropEvent dropped(QPointF(at), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    dropped.ignore();
    QApplication::sendEvent(target, &dropped);
    return enter.isAccepted() && move.isAccepted() && move.dropAction() == Qt::CopyAction && dropped.isAccepted();
}

// A registrant's name dragged from label 0 and dropped on `target`.
bool dropName(QWidget *target, const QString &name)
{
    const std::unique_ptr<QMimeData> data(registrantMimeData(name, 0));
    return dragOver(target, data.get());
}

QImage iconImage(const QPixmap &pixmap)
{
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

// A 32 x 32 icon file of one colour.
QByteArray plainIcon(const QColor &color)
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!image.save(&buffer, "ICO"))
        qFatal("no icon writer");
    return bytes;
}

// The drag a press on registrant label `index` started, if any. The drag itself is over at
// once without a display; its object lives until the event loop runs.
QDrag *startedDrag(COND *w, int index)
{
    const QList<QDrag *> drags = w->findChildren<QDrag *>();
    return drags.size() == 1 && drags[0]->parent() == w->Label4[size_t(index)] ? drags[0] : nullptr;
}

} // namespace

class TestConditions : public QObject {
    Q_OBJECT

private slots:
    void apply_data();
    void apply();
    void repeatedFailedApplyReportsNoFalseConflict();
    void cancel_data();
    void cancel();
    void reopeningShowsTheSame();
    void drops_data();
    void drops();
    void pressOnRegistrantLabel_data();
    void pressOnRegistrantLabel();
    void dragIconFiles_data();
    void dragIconFiles();
    void enterMovesToTheNextSeat();
    void wholeRoad();
};

void TestConditions::apply_data()
{
    QTest::addColumn<QStringList>("roster");
    QTest::addColumn<SeatMap>("entered");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<SeatMap>("stored");
    const QStringList twenty = pupils(20);
    QList<int> all28(28);
    std::iota(all28.begin(), all28.end(), 1);
    const QList<int> eight{1, 4, 8, 12, 16, 20, 24, 28}, nine = eight + QList<int>{2};
    const SeatMap twoPairs{{3, "生徒4"}, {5, "生徒9"}, {7, "生徒9"}, {10, "生徒4"}};
    QTest::newRow("nothing entered") << twenty << SeatMap{} << QStringList{Applied} << SeatMap{};
    QTest::newRow("names and empty seats") << twenty << SeatMap{{1, "生徒20"}, {2, "[x]"}, {27, "[x]"}, {28, "生徒1"}}
                                           << QStringList{Applied} << SeatMap{{1, "生徒20"}, {2, "-"}, {27, "-"}, {28, "生徒1"}};
    QTest::newRow("trailing blank") << twenty << SeatMap{{3, "生徒1 "}} << QStringList{NotRegistrant} << SeatMap{};
    QTest::newRow("full width") << QStringList{"Ken"} << SeatMap{{3, "Ｋｅｎ"}} << QStringList{NotRegistrant} << SeatMap{};
    QTest::newRow("empty roster, 28 empty seats") << QStringList{} << marked(all28, "[x]") << QStringList{Applied}
                                                  << emptySeats(1, 28);
    QTest::newRow("two duplicate pairs: one message") << twenty << twoPairs << QStringList{SameNameTwice} << twoPairs;
    QTest::newRow("seat named and ticked") << twenty << SeatMap{{4, "生徒2[x]"}, {6, "[x]"}} << QStringList{DoNotAddUp}
                                           << SeatMap{{4, "生徒2"}, {6, "-"}};
    QTest::newRow("20 pupils, 8 empty seats") << twenty << marked(eight, "[x]") << QStringList{Applied} << marked(eight, "-");
    QTest::newRow("20 pupils, 9 empty seats") << twenty << marked(nine, "[x]") << QStringList{DoNotAddUp} << marked(nine, "-");
    // Seats 5 and 6 are stored before seat 7 fails; the duplicate check is skipped after
    // message 1, the empty seats are still checked.
    const SeatMap duplicate{{5, "生徒7"}, {6, "生徒7"}};
    QTest::newRow("duplicate, then not a registrant, too many empty seats")
        << twenty << marked(nine, "[x]", SeatMap{{5, "生徒7"}, {6, "生徒7"}, {7, "転校生"}})
        << QStringList{NotRegistrant, DoNotAddUp} << marked(nine, "-", duplicate);
    // Both pupils of a name the roster holds twice would lose their seats in the run.
    QTest::newRow("name twice in the roster")
        << QStringList{"佐藤", "佐藤", "伊藤"} << SeatMap{{4, "佐藤"}}
        << QStringList{"設定者確認|「佐藤」は名簿に同じ氏名が複数あるため、座席を指定できません。|16"} << SeatMap{};
}

void TestConditions::apply()
{
    QFETCH(QStringList, roster);
    QFETCH(SeatMap, entered);
    QFETCH(QStringList, messages);
    QFETCH(SeatMap, stored);
    TestEnv env;
    COND *w = openEditor(roster, {}, entered);
    const QStringList texts = boxTexts(w);
    const QList<int> ticks = tickedSeats(w);
    state().MatchFound = 1; // apply starts from a clean flag
    TRIGGER(w, "mnuCond");
    QCOMPARE(env.platform.messageLog(), messages);
    QCOMPARE(storedConditions(), stored);
    const bool success = messages == QStringList{Applied};
    QCOMPARE(state().MatchFound, success ? 0 : 1);
    QCOMPARE(isLoaded<COND>(), !success);
    if (!success) // everything entered stays for the user to correct
        QVERIFY(w->isVisible() && boxTexts(w) == texts && tickedSeats(w) == ticks);
    QCOMPARE(env.platform.callsOf(QStringLiteral("message")).constFirst().owner.data(), w);
}

void TestConditions::repeatedFailedApplyReportsNoFalseConflict()
{
    // The "-" the first apply wrote on a ticked seat is no name on that seat.
    TestEnv env;
    COND *w = openEditor(pupils(20), {}, {{2, "転校生"}});
    w->Check1[4]->setChecked(true);
    TRIGGER(w, "mnuCond");
    TRIGGER(w, "mnuCond");
    w->Text1[1]->clear();
    TRIGGER(w, "mnuCond");
    QCOMPARE(env.platform.messageLog(), (QStringList{NotRegistrant, NotRegistrant, Applied}));
    QCOMPARE(storedConditions(), emptySeats(5, 5));
}

void TestConditions::cancel_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<SeatMap>("before");
    QTest::addColumn<SeatMap>("typed");
    QTest::addColumn<int>("answer"); // to the discard question; 0: not asked
    QTest::addColumn<SeatMap>("after");
    const SeatMap before{{3, "生徒3"}, {9, "-"}};
    // Load took the mark into the tick: only the tick is left entered.
    QTest::newRow("only a tick, OK") << "menu" << before << SeatMap{{3, ""}} << IDOK << SeatMap{};
    QTest::newRow("a name, Cancel") << "toolbar" << SeatMap{} << SeatMap{{6, "生徒6"}} << IDCANCEL << SeatMap{};
    // Nothing entered: no question, and the names cleared by hand stay stored.
    QTest::newRow("nothing entered") << "menu" << SeatMap{{3, "生徒3"}} << SeatMap{{3, ""}} << 0 << SeatMap{{3, "生徒3"}};
    QTest::newRow("close box, Cancel") << "close box" << before << SeatMap{} << IDCANCEL << SeatMap{{3, "生徒3"}};
}

void TestConditions::cancel()
{
    QFETCH(QString, how);
    QFETCH(SeatMap, before);
    QFETCH(SeatMap, typed);
    QFETCH(int, answer);
    QFETCH(SeatMap, after);
    TestEnv env;
    COND *w = openEditor(pupils(10), before, typed);
    const QStringList texts = boxTexts(w);
    const QList<int> ticks = tickedSeats(w);
    state().MatchFound = 1;
    env.platform.answers.enqueue(answer == 0 ? IDOK : answer);
    if (how == QLatin1String("menu"))
        TRIGGER(w, "mnuNO");
    else if (how == QLatin1String("toolbar"))
        w->Toolbar1->button(3)->click();
    else
        w->close();
    QCOMPARE(env.platform.messageLog(), answer == 0 ? QStringList{} : QStringList{DiscardQuestion});
    QCOMPARE(storedConditions(), after);
    QCOMPARE(state().MatchFound, 1); // cancel leaves it alone
    QCOMPARE(isLoaded<COND>(), answer == IDCANCEL);
    if (answer == IDCANCEL)
        QVERIFY(w->isVisible() && boxTexts(w) == texts && tickedSeats(w) == ticks);
}

void TestConditions::reopeningShowsTheSame()
{
    TestEnv env;
    COND *w = openEditor(pupils(12), {{29, "spare"}}, {{1, "[x]"}, {5, "生徒12"}, {28, "[x]"}});
    QVERIFY(!w->isModal());
    QVERIFY(dropName(w->Text1[20], QStringLiteral("生徒3")));
    const QStringList texts = boxTexts(w);
    // Asked for again while open it only comes to the front, with what is entered kept and
    // the roster as it is now.
    state().PupilNames[13] = QStringLiteral("転入生");
    state().PupilCount = 13;
    NARABIN *main = loadedForm<NARABIN>();
    main->activateWindow();
    QTRY_VERIFY(main->isActiveWindow());
    QTest::keyClick(main, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(loadedForm<COND>(), w);
    QTRY_VERIFY(w->isActiveWindow());
    QCOMPARE(w->Label4[12]->property("Tag").toString(), QStringLiteral("転入生"));
    QCOMPARE(boxTexts(w), texts);
    TRIGGER(w, "mnuCond");
    const SeatMap applied{{1, "-"}, {5, "生徒12"}, {21, "生徒3"}, {28, "-"}, {29, "spare"}};
    QCOMPARE(storedConditions(), applied);

    // Load moves the marks into the ticks until the next apply; slot 29 is not the editor's.
    TRIGGER(main, "mnuCondition");
    COND *again = loadedForm<COND>();
    QVERIFY(again && again != w);
    QCOMPARE(boxTexts(again), texts);
    QCOMPARE(tickedSeats(again), (QList<int>{1, 28}));
    QCOMPARE(storedConditions(), (SeatMap{{5, "生徒12"}, {21, "生徒3"}, {29, "spare"}}));
    QCOMPARE(again->Label4[12]->property("Tag").toString(), QStringLiteral("転入生"));
    again->Toolbar1->button(2)->click();
    QCOMPARE(storedConditions(), applied);
    QCOMPARE(env.platform.messageLog(), (QStringList{Applied, Applied}));
}

void TestConditions::drops_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("registrant"); // else plain text dragged from another program
    QTest::addColumn<bool>("taken");
    QTest::newRow("seat box with text") << "Text1_4" << true << true;
    QTest::newRow("empty seat box") << "Text1_27" << true << true;
    QTest::newRow("seat box, plain text") << "Text1_4" << false << false;
    QTest::newRow("check box") << "Check1_4" << true << false;
    QTest::newRow("seat number") << "Label1_4" << true << false;
    QTest::newRow("desk") << "Label5" << true << false;
    QTest::newRow("another registrant") << "Label4_3" << true << false;
    QTest::newRow("the registrant itself") << "Label4_0" << true << false;
    QTest::newRow("classroom frame") << "Frame2" << true << false;
    QTest::newRow("window background") << "client" << true << false;
}

void TestConditions::drops()
{
    QFETCH(QString, target);
    QFETCH(bool, registrant);
    QFETCH(bool, taken);
    TestEnv env;
    COND *w = openEditor(pupils(8), {{5, "生徒7"}}, {{5, "生徒7を消す"}});
    const QStringList before = boxTexts(w);
    auto *widget = w->findChild<QWidget *>(target);
    QVERIFY(widget);
    QMimeData plain;
    plain.setText(QStringLiteral("生徒1"));
    QCOMPARE(registrant ? dropName(widget, QStringLiteral("生徒1")) : dragOver(widget, &plain), taken);
    QStringList expected = before;
    if (taken)
        expected[target.mid(6).toInt()] = QStringLiteral("生徒1");
    QCOMPARE(boxTexts(w), expected);
    QCOMPARE(tickedSeats(w), QList<int>{});
}

void TestConditions::pressOnRegistrantLabel_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("drags");
    QTest::newRow("first, left button") << 0 << int(Qt::LeftButton) << true;
    QTest::newRow("last registrant, right button") << 19 << int(Qt::RightButton) << true;
    QTest::newRow("label 21 of 20") << 20 << int(Qt::LeftButton) << false;
}

void TestConditions::pressOnRegistrantLabel()
{
    QFETCH(int, index);
    QFETCH(int, button);
    QFETCH(bool, drags);
    TestEnv env;
    COND *w = openEditor(pupils(20));
    QTest::mousePress(w->Label4[size_t(index)], Qt::MouseButton(button));
    QDrag *drag = startedDrag(w, index);
    QCOMPARE(w->findChildren<QDrag *>().size(), drags ? 1 : 0);
    QCOMPARE(drag != nullptr, drags);
    if (drag) {
        QString tag;
        QVERIFY(registrantTag(drag->mimeData(), &tag));
        QCOMPARE(tag, QStringLiteral("生徒%1").arg(index + 1));
    }
    QCOMPARE(boxTexts(w), QStringList(28));
}

void TestConditions::dragIconFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("fromFile");
    QTest::newRow("none here: built in") << QString() << QByteArray() << false;
    QTest::newRow("here, lower case") << "drag.ico" << plainIcon(QColor(10, 200, 30)) << true;
    QTest::newRow("here, as named") << "DRAG.ICO" << plainIcon(QColor(250, 0, 90)) << true;
    QTest::newRow("here but no image: built in") << "Drag.Ico" << QByteArray("not an icon") << false;
}

void TestConditions::dragIconFiles()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, fromFile);
    TestEnv env;
    if (!file.isEmpty())
        env.writeFile(file, bytes);
    const QImage builtIn = iconImage(QPixmap(QStringLiteral(":/DRAG.ICO")));
    QVERIFY(!builtIn.isNull());
    // A drag shows the file as it is when the drag starts.
    COND *w = openEditor(pupils(2));
    w->Label4_MouseDown(1);
    QDrag *drag = startedDrag(w, 1);
    QVERIFY(drag);
    QCOMPARE(iconImage(drag->dragCursor(Qt::CopyAction)),
             fromFile ? QImage::fromData(bytes).convertToFormat(QImage::Format_ARGB32) : builtIn);
    QCOMPARE(iconImage(drag->dragCursor(Qt::IgnoreAction)), iconImage(QPixmap(QStringLiteral(":/DRAG2.ICO"))));
}

void TestConditions::enterMovesToTheNextSeat()
{
    TestEnv env;
    COND *w = openEditor(pupils(6), {{5, "生徒5"}});
    QApplication::setActiveWindow(w);
    QTRY_COMPARE(QApplication::focusWidget(), w->Text1[0]);
    // Return or keypad Enter, from a filled box and an empty one; after the last seat the ticks.
    const QList<std::pair<int, QWidget *>> steps{{4, w->Text1[5]}, {5, w->Text1[6]}, {27, w->Check1[0]}};
    for (const auto &[from, to] : steps) {
        w->Text1[size_t(from)]->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), w->Text1[size_t(from)]);
        QTest::keyClick(w->Text1[size_t(from)], from == 5 ? Qt::Key_Enter : Qt::Key_Return,
                        from == 5 ? Qt::KeypadModifier : Qt::NoModifier);
        QTRY_COMPARE(QApplication::focusWidget(), to);
    }
    // Nothing inserted; other keys are the box's own.
    QTest::keyClicks(w->Text1[6], QStringLiteral("ab"));
    QStringList texts(28);
    texts[4] = QStringLiteral("生徒5");
    texts[6] = QStringLiteral("ab");
    QCOMPARE(boxTexts(w), texts);
}

void TestConditions::wholeRoad()
{
    TestEnv env;
    const QStringList roster{"髙橋", "渡邊", "佐藤", "鈴木", "①田中", "ｱｲｻﾞﾜ", "伊藤"};
    env.writeFile(QStringLiteral("名簿/3年1組.mem"), crlfLines(roster));
    NARABIN *main = mainWithRoster({});

    // File>Open and register.
    env.platform.openFiles.enqueue(env.path(QStringLiteral("名簿/3年1組.mem")));
    TRIGGER(main, "mnuFileOpen");
    TOUROKU *editor = loadedForm<TOUROKU>();
    QVERIFY(editor && editor->isVisible());
    env.platform.saveFiles.enqueue(env.path(QStringLiteral("名簿/3年1組.mem")));
    TRIGGER(editor, "mnuNewFile");
    QCOMPARE(env.readFile(QStringLiteral("名簿/3年1組.mem")), crlfLines(roster));

    // Names dragged onto seats, two seats left empty.
    COND *cond = loadedForm<COND>();
    QVERIFY(cond && cond->isVisible());
    QVERIFY(dropName(cond->Text1[0], cond->Label4[4]->property("Tag").toString()));
    QVERIFY(dropName(cond->Text1[11], cond->Label4[0]->property("Tag").toString()));
    QTest::mouseClick(cond->Check1[1], Qt::LeftButton);
    cond->Check1[26]->click();
    cond->Toolbar1->button(2)->click();
    QVERIFY(!isLoaded<COND>());

    // The run.
    main->activateWindow();
    QTRY_VERIFY(main->isActiveWindow());
    driveCountdown();
    QTest::keyClick(main, Qt::Key_G, Qt::ControlModifier);
    QTRY_VERIFY(isLoaded<RESULT>());
    RESULT *result = loadedForm<RESULT>();
    QVERIFY(result->isVisible());
    const QStringList chart = result->seatTexts();
    QCOMPARE((QStringList{chart[0], chart[1], chart[11], chart[26]}), (QStringList{"①田中", " ", "髙橋", " "}));
    QStringList seated = chart;
    seated.removeAll(QString());
    seated.removeAll(QStringLiteral(" "));
    QCOMPARE(sorted(seated), sorted(roster));
    // The free seats are filled from the front; the rest stay empty.
    QCOMPARE(chart.mid(2, 5).count(QString()), 0);
    QCOMPARE(chart.mid(7).count(QString()), 28 - 7 - 2);

    // Saved, logged, and shown again from the past results.
    QDir(env.work()).mkdir(QStringLiteral("結果"));
    env.platform.saveFiles.enqueue(env.path(QStringLiteral("結果/1学期.rlt")));
    TRIGGER(result, "mnuResultSave");
    QCOMPARE(env.readFile(QStringLiteral("結果/1学期.rlt")), crlfLines(chart));
    QCOMPARE(env.readFile(QStringLiteral("結果/ならびん.INI")), crlfLines({"1学期.rlt"}));
    QCOMPARE(env.platform.messageLog(), (QStringList{"修正確認|メンバーを修正しました。|64", Applied,
                                                     "保存確認|ならびん結果を保存しました。|64"}));
    main = loadedForm<NARABIN>();
    QVERIFY(main && main->isVisible());
    QCOMPARE(findAction(main, QStringLiteral("mnuFileArray_1"))->text(), QStringLiteral("1学期.rlt"));
    TRIGGER(main, "mnuFileArray_1");
    RESULT *again = loadedForm<RESULT>();
    QVERIFY(again && again->isVisible());
    // Read back as fields, the blank of an empty seat is gone; the seat looks the same.
    QStringList reread = chart;
    reread[1] = reread[26] = QString();
    QCOMPARE(again->seatTexts(), reread);
    QCOMPARE(env.platform.messageLog().size(), 3);
}

QTEST_MAIN(TestConditions)
#include "tst_conditions.moc"
