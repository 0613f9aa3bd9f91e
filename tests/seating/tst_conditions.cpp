// The condition editor: its window, drag and drop of names, apply and cancel, and the
// whole road from a roster file to a saved and reopened chart.
#include "about/versioninfo.h"
#include "app/startup.h"
#include "app/textfile.h"
#include "app/ui.h"
#include "mainwin/mainwindow.h"
#include "roster/rostereditor.h"
#include "seating/conditioneditor.h"
#include "seating/countdown.h"
#include "seating/resultwindow.h"
#include "support/testenv.h"

#include <QCheckBox>
#include <QDrag>
#include <QFrame>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QToolButton>
#include <QtTest>

#include <memory>

using SeatMap = QMap<int, QString>;

namespace {

const QString NotRegistrant = QStringLiteral("設定者確認|登録者以外の氏名を条件として設定しようとしました。|16");
const QString SameNameTwice = QStringLiteral("設定者重複|同じ氏名を条件として設定しようとしました。|16");
const QString DoNotAddUp =
    QStringLiteral("設定確認|登録者数と空座席数の関係に矛盾があるか、\r指定座席に空座席を設定しようとしました。|16");
const QString Applied = QStringLiteral("設定確認|条件を設定しました。|64");
const QString DiscardQuestion = QStringLiteral("条件破棄確認|設定中の条件があります。それらを破棄しますか？|33");

QStringList pupils(int count)
{
    QStringList names;
    for (int i = 1; i <= count; ++i)
        names.append(QStringLiteral("生徒%1").arg(i));
    return names;
}

// A main window as start-up leaves it and a roster in the shared state.
NARABIN *freshMain(const QStringList &roster, const SeatMap &stored = {})
{
    loadStartupSettings(QDir::currentPath());
    SharedState &s = state();
    for (int i = 0; i < roster.size(); ++i)
        s.PupilNames[size_t(i + 1)] = roster.at(i);
    s.PupilCount = quint8(roster.size());
    for (auto it = stored.cbegin(); it != stored.cend(); ++it)
        s.SeatConditions[size_t(it.key())] = it.value();
    NARABIN *main = form<NARABIN>();
    main->show();
    return main;
}

// The condition editor opened for a roster, as the roster editor opens it.
COND *openEditor(const QStringList &roster, const SeatMap &stored = {})
{
    freshMain(roster, stored);
    showConditionEditor();
    return loadedForm<COND>();
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

// Drags `data` over `target` and drops it there, as the drag machinery does; true when
// the target took every step.
bool dropOn(QWidget *target, const QMimeData *data)
{
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    enter.ignore();
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    move.ignore();
    QApplication::sendEvent(target, &move);
    QDropEvent drop(QPointF(at), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    drop.ignore();
    QApplication::sendEvent(target, &drop);
    return enter.isAccepted() && move.isAccepted() && drop.isAccepted();
}

// A registrant's name dragged from label `label` and dropped on `target`.
bool dropName(QWidget *target, const QString &name, int label = 0)
{
    const std::unique_ptr<QMimeData> data(registrantMimeData(name, label));
    return dropOn(target, data.get());
}

// Whether a drag coming over `target` is shown as droppable there.
bool dragOverAccepted(QWidget *target, const QMimeData *data)
{
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    enter.ignore();
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    move.ignore();
    QApplication::sendEvent(target, &move);
    QDragLeaveEvent leave;
    QApplication::sendEvent(target, &leave);
    return enter.isAccepted() && move.isAccepted() && move.dropAction() == Qt::CopyAction;
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
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "ico");
    if (!writer.write(image))
        qFatal("icon not written: %s", qPrintable(writer.errorString()));
    return bytes;
}

// What the drag started by a press on a registrant label carried and showed. The drag
// itself is over at once without a display; its object lives until the event loop runs.
struct DragSeen {
    bool started = false;
    QString tag;
    QImage allowedCursor;
    QImage refusedCursor;
    bool overOwnLabel = false;
    bool overOtherLabel = true;
    bool overSeatBox = false;
    bool overCheckBox = true;
};

DragSeen inspectDrag(COND *w, int index)
{
    DragSeen seen;
    const QList<QDrag *> drags = w->findChildren<QDrag *>();
    if (drags.isEmpty())
        return seen;
    QDrag *drag = drags.constLast();
    if (drag->parent() != w->Label4[size_t(index)])
        return seen;
    seen.started = true;
    registrantTag(drag->mimeData(), &seen.tag);
    seen.allowedCursor = iconImage(drag->dragCursor(Qt::CopyAction));
    seen.refusedCursor = iconImage(drag->dragCursor(Qt::IgnoreAction));
    seen.overOwnLabel = dragOverAccepted(w->Label4[size_t(index)], drag->mimeData());
    seen.overOtherLabel = dragOverAccepted(w->Label4[size_t(index == 0 ? 1 : 0)], drag->mimeData());
    seen.overSeatBox = dragOverAccepted(w->Text1[4], drag->mimeData());
    seen.overCheckBox = dragOverAccepted(w->Check1[4], drag->mimeData());
    return seen;
}

// Once the run shows the countdown, ticks it until it closes itself.
void driveCountdown()
{
    whenModal([] {
        for (int tick = 0; tick < 20 && isLoaded<WAIT>(); ++tick)
            loadedForm<WAIT>()->Timer1_Timer();
    });
}

QByteArray lines(const QStringList &texts)
{
    QByteArray bytes;
    for (const QString &t : texts)
        bytes += sjis(t) + "\r\n";
    return bytes;
}

} // namespace

class TestConditions : public QObject {
    Q_OBJECT

private slots:
    void apply_data();
    void apply();
    void failedApplyKeepsWhatItWrote();
    void repeatedFailedApplyReportsNoFalseConflict();
    void cancel_data();
    void cancel();
    void loadMovesMarksIntoTicks();
    void reopeningAfterApplyShowsTheSame();
    void openingAgainOnlyBringsToFront();
    void mainWindowEnabling();
    void drops_data();
    void drops();
    void sameNameOnTwoSeatsWithoutMessage();
    void pressOnRegistrantLabel_data();
    void pressOnRegistrantLabel();
    void dragIconFiles_data();
    void dragIconFiles();
    void layout();
    void seatPlaces_data();
    void seatPlaces();
    void menusAndToolbar();
    void statusBarAndTimer();
    void enterMovesToTheNextSeat();
    void helpAndVersion();
    void wholeRoad();
};

// ---------------------------------------------------------------- apply

void TestConditions::apply_data()
{
    QTest::addColumn<QStringList>("roster");
    QTest::addColumn<SeatMap>("typed");
    QTest::addColumn<QList<int>>("ticked");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<SeatMap>("stored");

    const QStringList twenty = pupils(20);
    SeatMap allEmpty;
    QList<int> all28;
    for (int k = 1; k <= 28; ++k) {
        allEmpty[k] = QStringLiteral("-");
        all28.append(k);
    }
    QTest::newRow("nothing entered") << twenty << SeatMap{} << QList<int>{} << QStringList{Applied} << SeatMap{};
    QTest::newRow("names and empty seats")
        << twenty << SeatMap{{1, QStringLiteral("生徒20")}, {28, QStringLiteral("生徒1")}} << QList<int>{2, 27}
        << QStringList{Applied}
        << SeatMap{{1, QStringLiteral("生徒20")}, {2, QStringLiteral("-")}, {27, QStringLiteral("-")},
                   {28, QStringLiteral("生徒1")}};
    QTest::newRow("trailing blank") << twenty << SeatMap{{3, QStringLiteral("生徒1 ")}} << QList<int>{}
                                    << QStringList{NotRegistrant} << SeatMap{};
    QTest::newRow("leading blank") << twenty << SeatMap{{3, QStringLiteral(" 生徒1")}} << QList<int>{}
                                   << QStringList{NotRegistrant} << SeatMap{};
    QTest::newRow("full width") << QStringList{QStringLiteral("Ken")} << SeatMap{{3, QStringLiteral("Ｋｅｎ")}}
                                << QList<int>{} << QStringList{NotRegistrant} << SeatMap{};
    QTest::newRow("letter case") << QStringList{QStringLiteral("Ken")} << SeatMap{{3, QStringLiteral("ken")}}
                                 << QList<int>{} << QStringList{NotRegistrant} << SeatMap{};
    QTest::newRow("empty roster, a name") << QStringList{} << SeatMap{{5, QStringLiteral("生徒1")}} << QList<int>{}
                                          << QStringList{NotRegistrant} << SeatMap{};
    QTest::newRow("empty roster, 28 empty seats") << QStringList{} << SeatMap{} << all28 << QStringList{Applied}
                                                  << allEmpty;
    QTest::newRow("two duplicate pairs: one message")
        << twenty
        << SeatMap{{3, QStringLiteral("生徒4")}, {5, QStringLiteral("生徒9")}, {7, QStringLiteral("生徒9")},
                   {10, QStringLiteral("生徒4")}}
        << QList<int>{} << QStringList{SameNameTwice}
        << SeatMap{{3, QStringLiteral("生徒4")}, {5, QStringLiteral("生徒9")}, {7, QStringLiteral("生徒9")},
                   {10, QStringLiteral("生徒4")}};
    QTest::newRow("seat named and ticked") << twenty << SeatMap{{4, QStringLiteral("生徒2")}} << QList<int>{4, 6}
                                           << QStringList{DoNotAddUp}
                                           << SeatMap{{4, QStringLiteral("生徒2")}, {6, QStringLiteral("-")}};
    QTest::newRow("28 pupils, one empty seat") << pupils(28) << SeatMap{} << QList<int>{13} << QStringList{DoNotAddUp}
                                               << SeatMap{{13, QStringLiteral("-")}};
    const QList<int> eight{1, 4, 8, 12, 16, 20, 24, 28};
    SeatMap eightStored;
    for (int k : eight)
        eightStored[k] = QStringLiteral("-");
    QTest::newRow("20 pupils, 8 empty seats") << twenty << SeatMap{} << eight << QStringList{Applied} << eightStored;
    SeatMap nineStored = eightStored;
    nineStored[2] = QStringLiteral("-");
    QTest::newRow("20 pupils, 9 empty seats") << twenty << SeatMap{} << (eight + QList<int>{2})
                                              << QStringList{DoNotAddUp} << nineStored;
    // The duplicate check is skipped after message 1; the empty seats are still checked.
    QTest::newRow("not a registrant and too many empty seats")
        << twenty << SeatMap{{3, QStringLiteral("転校生")}, {5, QStringLiteral("生徒7")}, {6, QStringLiteral("生徒7")}}
        << (eight + QList<int>{2}) << QStringList{NotRegistrant, DoNotAddUp} << nineStored;
    SeatMap duplicateStored = nineStored;
    duplicateStored.insert(5, QStringLiteral("生徒7"));
    duplicateStored.insert(6, QStringLiteral("生徒7"));
    QTest::newRow("duplicate and too many empty seats")
        << twenty << SeatMap{{5, QStringLiteral("生徒7")}, {6, QStringLiteral("生徒7")}} << (eight + QList<int>{2})
        << QStringList{SameNameTwice, DoNotAddUp} << duplicateStored;
    // Both pupils of a name the roster holds twice would lose their seats in the run.
    QTest::newRow("name twice in the roster")
        << QStringList{QStringLiteral("佐藤"), QStringLiteral("佐藤"), QStringLiteral("伊藤")}
        << SeatMap{{4, QStringLiteral("佐藤")}} << QList<int>{}
        << QStringList{QStringLiteral("設定者確認|「佐藤」は名簿に同じ氏名が複数あるため、座席を指定できません。|16")}
        << SeatMap{};
}

void TestConditions::apply()
{
    QFETCH(QStringList, roster);
    QFETCH(SeatMap, typed);
    QFETCH(QList<int>, ticked);
    QFETCH(QStringList, messages);
    QFETCH(SeatMap, stored);
    TestEnv env;
    COND *w = openEditor(roster);
    QVERIFY(w);
    for (auto it = typed.cbegin(); it != typed.cend(); ++it)
        w->Text1[size_t(it.key() - 1)]->setText(it.value());
    for (int seat : ticked)
        w->Check1[size_t(seat - 1)]->setChecked(true);
    state().MatchFound = 1; // apply starts from a clean flag
    TRIGGER(w, "mnuCond");
    QCOMPARE(env.platform.messageLog(), messages);
    QCOMPARE(storedConditions(), stored);
    const bool success = messages == QStringList{Applied};
    QCOMPARE(state().MatchFound, success ? 0 : 1);
    QCOMPARE(isLoaded<COND>(), !success);
    if (!success) {
        // Everything entered stays for the user to correct.
        QVERIFY(w->isVisible());
        for (auto it = typed.cbegin(); it != typed.cend(); ++it)
            QCOMPARE(w->Text1[size_t(it.key() - 1)]->text(), it.value());
        QCOMPARE(tickedSeats(w), [&] { QList<int> t = ticked; std::sort(t.begin(), t.end()); return t; }());
    }
    for (const PlatformCall &call : env.platform.callsOf(QStringLiteral("message")))
        QCOMPARE(call.owner.data(), static_cast<QWidget *>(w));
}

void TestConditions::failedApplyKeepsWhatItWrote()
{
    TestEnv env;
    COND *w = openEditor(pupils(10), {{2, QStringLiteral("生徒2")}, {7, QStringLiteral("生徒7")}});
    QVERIFY(w);
    w->Text1[0]->setText(QStringLiteral("生徒1"));
    w->Text1[1]->setText(QStringLiteral("転校生"));
    w->Text1[6]->clear();
    w->Check1[8]->setChecked(true);
    w->Toolbar1->button(2)->click();
    QCOMPARE(env.platform.messageLog(), QStringList{NotRegistrant});
    // Seat 1 was written before the unknown name; seat 2 and the seats after it keep
    // their old values; the ticks are collected all the same.
    QCOMPARE(storedConditions(), (SeatMap{{1, QStringLiteral("生徒1")}, {2, QStringLiteral("生徒2")},
                                          {7, QStringLiteral("生徒7")}, {9, QStringLiteral("-")}}));
    QVERIFY(isLoaded<COND>() && w->isVisible());
}

void TestConditions::repeatedFailedApplyReportsNoFalseConflict()
{
    // The "-" the first apply wrote on a ticked seat is no name on that seat.
    TestEnv env;
    COND *w = openEditor(pupils(20));
    QVERIFY(w);
    w->Text1[1]->setText(QStringLiteral("転校生"));
    w->Check1[4]->setChecked(true);
    TRIGGER(w, "mnuCond");
    TRIGGER(w, "mnuCond");
    QCOMPARE(env.platform.messageLog(), (QStringList{NotRegistrant, NotRegistrant}));
    w->Text1[1]->clear();
    TRIGGER(w, "mnuCond");
    QCOMPARE(env.platform.messageLog().constLast(), Applied);
    QCOMPARE(storedConditions(), (SeatMap{{5, QStringLiteral("-")}}));
    QVERIFY(!isLoaded<COND>());
}

// ---------------------------------------------------------------- cancel

void TestConditions::cancel_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<SeatMap>("before");
    QTest::addColumn<SeatMap>("typed");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("stays");
    QTest::addColumn<SeatMap>("after");

    const SeatMap before{{3, QStringLiteral("生徒3")}, {9, QStringLiteral("-")}};
    // Load took the mark into the tick: only the tick is left entered.
    QTest::newRow("only a tick, OK") << "menu" << before << SeatMap{{3, QString()}} << IDOK << true << false
                                     << SeatMap{};
    QTest::newRow("a name, Cancel") << "toolbar" << SeatMap{} << SeatMap{{6, QStringLiteral("生徒6")}} << IDCANCEL << true
                                    << true << SeatMap{};
    QTest::newRow("a name, OK, by toolbar") << "toolbar" << before << SeatMap{} << IDOK << true << false << SeatMap{};
    // Nothing entered: no question, and the names cleared by hand stay stored.
    QTest::newRow("nothing entered") << "menu" << SeatMap{{3, QStringLiteral("生徒3")}} << SeatMap{{3, QString()}}
                                     << IDOK << false << false << SeatMap{{3, QStringLiteral("生徒3")}};
    QTest::newRow("close box, Cancel") << "close box" << before << SeatMap{} << IDCANCEL << true << true
                                       << SeatMap{{3, QStringLiteral("生徒3")}};
    QTest::newRow("close box, OK") << "close box" << before << SeatMap{} << IDOK << true << false << SeatMap{};
    QTest::newRow("close box, nothing entered") << "close box" << SeatMap{} << SeatMap{} << IDOK << false << false
                                                << SeatMap{};
}

void TestConditions::cancel()
{
    QFETCH(QString, how);
    QFETCH(SeatMap, before);
    QFETCH(SeatMap, typed);
    QFETCH(int, answer);
    QFETCH(bool, asked);
    QFETCH(bool, stays);
    QFETCH(SeatMap, after);
    TestEnv env;
    COND *w = openEditor(pupils(10), before);
    QVERIFY(w);
    for (auto it = typed.cbegin(); it != typed.cend(); ++it)
        w->Text1[size_t(it.key() - 1)]->setText(it.value());
    const QStringList texts = boxTexts(w);
    const QList<int> ticks = tickedSeats(w);
    state().MatchFound = 1;
    env.platform.answers.enqueue(answer);
    if (how == QLatin1String("menu"))
        TRIGGER(w, "mnuNO");
    else if (how == QLatin1String("toolbar"))
        w->Toolbar1->button(3)->click();
    else
        QVERIFY(!w->close() || !stays);
    QCOMPARE(env.platform.messageLog(), asked ? QStringList{DiscardQuestion} : QStringList{});
    QCOMPARE(isLoaded<COND>(), stays);
    QCOMPARE(storedConditions(), after);
    QCOMPARE(state().MatchFound, 1); // cancel leaves it alone
    if (stays) {
        QVERIFY(w->isVisible());
        QCOMPARE(boxTexts(w), texts);
        QCOMPARE(tickedSeats(w), ticks);
    }
}

// ---------------------------------------------------------------- load and reopening

void TestConditions::loadMovesMarksIntoTicks()
{
    TestEnv env;
    COND *w = openEditor(pupils(5), {{1, QStringLiteral("-")}, {2, QStringLiteral("生徒4")}, {28, QStringLiteral("-")},
                                     {29, QStringLiteral("spare")}});
    QVERIFY(w && w->isVisible());
    QVERIFY(!w->isModal());
    QCOMPARE(tickedSeats(w), (QList<int>{1, 28}));
    QStringList expected(28);
    expected[1] = QStringLiteral("生徒4");
    QCOMPARE(boxTexts(w), expected);
    // The marks live in the ticks until the next apply; slot 29 is not the editor's.
    QCOMPARE(storedConditions(), (SeatMap{{2, QStringLiteral("生徒4")}, {29, QStringLiteral("spare")}}));
    for (int i = 0; i < SeatCount; ++i) {
        QCOMPARE(w->Label4[size_t(i)]->text(), i < 5 ? QStringLiteral("生徒%1").arg(i + 1) : QString());
        QCOMPARE(w->Label4[size_t(i)]->property("Tag").toString(), w->Label4[size_t(i)]->text());
    }
    QVERIFY(env.platform.messageLog().isEmpty());
}

void TestConditions::reopeningAfterApplyShowsTheSame()
{
    TestEnv env;
    COND *w = openEditor(pupils(12));
    QVERIFY(w);
    w->Text1[4]->setText(QStringLiteral("生徒12"));
    QVERIFY(dropName(w->Text1[20], QStringLiteral("生徒3")));
    w->Check1[0]->setChecked(true);
    w->Check1[27]->setChecked(true);
    TRIGGER(w, "mnuCond");
    const SeatMap applied{{1, QStringLiteral("-")}, {5, QStringLiteral("生徒12")}, {21, QStringLiteral("生徒3")},
                          {28, QStringLiteral("-")}};
    QCOMPARE(storedConditions(), applied);
    QVERIFY(!isLoaded<COND>());

    NARABIN *main = loadedForm<NARABIN>();
    TRIGGER(main, "mnuCondition");
    COND *again = loadedForm<COND>();
    QVERIFY(again && again != w);
    QCOMPARE(again->Text1[4]->text(), QStringLiteral("生徒12"));
    QCOMPARE(again->Text1[20]->text(), QStringLiteral("生徒3"));
    QCOMPARE(tickedSeats(again), (QList<int>{1, 28}));
    QCOMPARE(storedConditions(), (SeatMap{{5, QStringLiteral("生徒12")}, {21, QStringLiteral("生徒3")}}));
    again->Toolbar1->button(2)->click();
    QCOMPARE(storedConditions(), applied);
    QCOMPARE(env.platform.messageLog(), (QStringList{Applied, Applied}));
}

void TestConditions::openingAgainOnlyBringsToFront()
{
    TestEnv env;
    COND *w = openEditor(pupils(6));
    QVERIFY(w);
    w->Text1[2]->setText(QStringLiteral("生徒2"));
    w->Check1[3]->setChecked(true);
    // A failed apply left a mark; opening again must not take it out.
    state().SeatConditions[4] = QStringLiteral("-");
    // The roster grew meanwhile: the list shows whom apply will check against.
    state().PupilNames[7] = QStringLiteral("転入生");
    state().PupilCount = 7;
    NARABIN *main = loadedForm<NARABIN>();
    main->activateWindow();
    QTRY_VERIFY(main->isActiveWindow());
    QTest::keyClick(main, Qt::Key_C, Qt::ControlModifier);
    main->Toolbar1->button(7)->click();
    QCOMPARE(loadedForm<COND>(), w);
    QVERIFY(w->isVisible());
    QTRY_VERIFY(w->isActiveWindow());
    QCOMPARE(w->Text1[2]->text(), QStringLiteral("生徒2"));
    QCOMPARE(tickedSeats(w), QList<int>{4});
    QCOMPARE(state().SeatConditions[4], QStringLiteral("-"));
    QCOMPARE(w->Label4[6]->text(), QStringLiteral("転入生"));
    QCOMPARE(w->Label4[6]->property("Tag").toString(), QStringLiteral("転入生"));
}

void TestConditions::mainWindowEnabling()
{
    TestEnv env;
    NARABIN *main = freshMain(pupils(3));
    const auto commands = [&main] {
        return QList<bool>{main->mnuFileCreate->isEnabled(),    main->mnuFileOpen->isEnabled(),
                           main->mnuCondition->isEnabled(),     main->mnuFileNarabin->isEnabled(),
                           main->Toolbar1->isButtonEnabled(2),  main->Toolbar1->isButtonEnabled(3),
                           main->Toolbar1->isButtonEnabled(7),  main->Toolbar1->isButtonEnabled(8)};
    };
    const QList<bool> fresh{true, true, false, false, true, true, false, false};
    const QList<bool> conditions{false, false, true, true, false, false, true, true};
    QCOMPARE(commands(), fresh);
    showConditionEditor();
    QVERIFY(isLoaded<COND>());
    QCOMPARE(commands(), conditions);
    // The other commands stay as they were.
    QVERIFY(main->mnuFileDelete->isEnabled() && main->Toolbar1->isButtonEnabled(5));
    TRIGGER(loadedForm<COND>(), "mnuCond");
    QCOMPARE(commands(), conditions); // nothing switches them back
    main->activateWindow();
    QTRY_VERIFY(main->isActiveWindow());
    QTest::keyClick(main, Qt::Key_N, Qt::ControlModifier);
    QTest::keyClick(main, Qt::Key_O, Qt::ControlModifier);
    QVERIFY(!isLoaded<TOUROKU>());
    QVERIFY(env.platform.callsOf(QStringLiteral("open")).isEmpty());
    QCOMPARE(env.platform.messageLog(), QStringList{Applied});
    // A main window made afresh is back in its fresh state, even with the editor open.
    showConditionEditor();
    unload<NARABIN>();
    main = form<NARABIN>();
    QCOMPARE(commands(), fresh);
    // Until the open editor is asked for again.
    showConditionEditor();
    QCOMPARE(commands(), conditions);
}

// ---------------------------------------------------------------- drag and drop

void TestConditions::drops_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("taken");
    QTest::newRow("seat box with text") << "Text1_4" << true;
    QTest::newRow("empty seat box") << "Text1_27" << true;
    QTest::newRow("check box") << "Check1_4" << false;
    QTest::newRow("seat number") << "Label1_4" << false;
    QTest::newRow("desk") << "Label5" << false;
    QTest::newRow("another registrant") << "Label4_3" << false;
    QTest::newRow("the registrant itself") << "Label4_0" << false;
    QTest::newRow("list title") << "Label3" << false;
    QTest::newRow("classroom frame") << "Frame2" << false;
    QTest::newRow("window background") << "client" << false;
}

void TestConditions::drops()
{
    QFETCH(QString, target);
    QFETCH(bool, taken);
    TestEnv env;
    COND *w = openEditor(pupils(8), {{5, QStringLiteral("生徒7")}});
    QVERIFY(w);
    w->Text1[4]->setText(QStringLiteral("生徒7を消す"));
    const QStringList before = boxTexts(w);
    auto *widget = w->findChild<QWidget *>(target);
    QVERIFY(widget);
    QCOMPARE(dropName(widget, QStringLiteral("生徒1")), taken);
    QStringList expected = before;
    if (taken)
        expected[target.mid(6).toInt()] = QStringLiteral("生徒1");
    QCOMPARE(boxTexts(w), expected);
    QCOMPARE(tickedSeats(w), QList<int>{});
    QVERIFY(env.platform.messageLog().isEmpty());
}

void TestConditions::sameNameOnTwoSeatsWithoutMessage()
{
    TestEnv env;
    COND *w = openEditor(pupils(8));
    QVERIFY(w);
    QVERIFY(dropName(w->Text1[2], QStringLiteral("生徒8")));
    QVERIFY(dropName(w->Text1[9], QStringLiteral("生徒8")));
    QCOMPARE(w->Text1[2]->text(), QStringLiteral("生徒8"));
    QCOMPARE(w->Text1[9]->text(), QStringLiteral("生徒8"));
    QVERIFY(env.platform.messageLog().isEmpty());
    // Text dragged from elsewhere is no registrant: the box takes none of it.
    QMimeData plain;
    plain.setText(QStringLiteral("外から"));
    QVERIFY(!dropOn(w->Text1[2], &plain));
    QCOMPARE(w->Text1[2]->text(), QStringLiteral("生徒8"));
    TRIGGER(w, "mnuCond");
    QCOMPARE(env.platform.messageLog(), QStringList{SameNameTwice});
}

void TestConditions::pressOnRegistrantLabel_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("drags");
    QTest::newRow("first, left button") << 0 << int(Qt::LeftButton) << true;
    QTest::newRow("last registrant, right button") << 19 << int(Qt::RightButton) << true;
    QTest::newRow("right column, middle button") << 14 << int(Qt::MiddleButton) << true;
    QTest::newRow("label 21 of 20") << 20 << int(Qt::LeftButton) << false;
    QTest::newRow("label 28 of 20") << 27 << int(Qt::RightButton) << false;
}

void TestConditions::pressOnRegistrantLabel()
{
    QFETCH(int, index);
    QFETCH(int, button);
    QFETCH(bool, drags);
    TestEnv env;
    COND *w = openEditor(pupils(20));
    QVERIFY(w);
    QTest::mousePress(w->Label4[size_t(index)], Qt::MouseButton(button));
    const DragSeen seen = inspectDrag(w, index);
    QCOMPARE(seen.started, drags);
    QCOMPARE(w->findChildren<QDrag *>().size(), drags ? 1 : 0);
    if (drags) {
        QCOMPARE(seen.tag, QStringLiteral("生徒%1").arg(index + 1));
        QCOMPARE(seen.allowedCursor, iconImage(QPixmap(QStringLiteral(":/DRAG.ICO"))));
        QCOMPARE(seen.refusedCursor, iconImage(QPixmap(QStringLiteral(":/DRAG2.ICO"))));
        QVERIFY(seen.overOwnLabel);
        QVERIFY(!seen.overOtherLabel);
        QVERIFY(seen.overSeatBox);
        QVERIFY(!seen.overCheckBox);
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
    QCOMPARE(builtIn.size(), QSize(32, 32));
    QImage expected = builtIn;
    if (fromFile)
        expected = QImage::fromData(bytes).convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(iconImage(dragIcon(QStringLiteral("DRAG.ICO"))), expected);
    // The other icon is found on its own.
    QCOMPARE(iconImage(dragIcon(QStringLiteral("DRAG2.ICO"))), iconImage(QPixmap(QStringLiteral(":/DRAG2.ICO"))));

    // A drag shows the file as it is when the drag starts.
    COND *w = openEditor(pupils(2));
    QVERIFY(w);
    w->Label4_MouseDown(1);
    const DragSeen seen = inspectDrag(w, 1);
    QVERIFY(seen.started);
    QCOMPARE(seen.allowedCursor, expected);
}

// ---------------------------------------------------------------- window

void TestConditions::layout()
{
    TestEnv env;
    COND *w = openEditor(pupils(3));
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("条件設定"));
    QCOMPARE(w->client()->size(), QSize(635, 437));
    QCOMPARE(w->minimumSize(), w->maximumSize());
    QCOMPARE(w->client()->palette().color(QPalette::Window), QColor(128, 128, 0));
    QVERIFY(w->client()->autoFillBackground());
    QCOMPARE(w->Frame1->geometry(), twRect(60, 390, 2565, 5775));
    QCOMPARE(w->Frame2->geometry(), twRect(2610, 390, 6825, 5775));
    for (QFrame *f : {w->Frame1, w->Frame2})
        QCOMPARE(f->palette().color(QPalette::Window), QColor(128, 128, 0));
    QCOMPARE(w->Frame2->palette().color(QPalette::WindowText), QColor(Qt::white));
    const auto boxed = [](QLabel *l, const QRect &place, qreal points) {
        QCOMPARE(l->geometry(), place);
        QCOMPARE(l->palette().color(QPalette::Window), QColor(192, 192, 0));
        QVERIFY(l->autoFillBackground());
        QCOMPARE(l->frameShape(), QFrame::Box);
        QCOMPARE(l->alignment(), Qt::AlignCenter);
        QCOMPARE(l->font().pointSizeF(), points);
        QCOMPARE(l->font().families().constFirst(), QStringLiteral("ＭＳ Ｐゴシック"));
    };
    QCOMPARE(w->Label3->parentWidget(), w->Frame1);
    QCOMPARE(w->Label3->text(), QStringLiteral("登録者一覧"));
    boxed(w->Label3, twRect(630, 360, 1335, 285), 11.25);
    QCOMPARE(w->Label5->parentWidget(), w->Frame2);
    QCOMPARE(w->Label5->text(), QStringLiteral("教     卓"));
    boxed(w->Label5, twRect(3030, 5100, 975, 285), 11.25);
    const std::array<int, 14> tops{780, 1110, 1470, 1800, 2160, 2490, 2850, 3180, 3540, 3870, 4230, 4560, 4920, 5250};
    for (int i = 0; i < 28; ++i) {
        QLabel *label = w->findChild<QLabel *>(QStringLiteral("Label4_%1").arg(i));
        QCOMPARE(label, w->Label4[size_t(i)]);
        QCOMPARE(label->parentWidget(), w->Frame1);
        QCOMPARE(label->geometry(), twRect(i < 14 ? 90 : 1320, tops[size_t(i % 14)], 1155, 255));
        QCOMPARE(label->palette().color(QPalette::Window), QColor(192, 192, 0));
        QCOMPARE(label->frameShape(), QFrame::Box);
        QCOMPARE(label->alignment(), Qt::AlignCenter);
    }
    // Tab order: the seat boxes from seat 1 to seat 28 first.
    QWidget *focus = w->Text1[0];
    for (int i = 1; i < 28; ++i) {
        focus = focus->nextInFocusChain();
        while (!(focus->focusPolicy() & Qt::TabFocus))
            focus = focus->nextInFocusChain();
        QCOMPARE(focus, w->Text1[size_t(i)]);
    }
    QVERIFY(w->Toolbar1->geometry().bottom() < w->Frame1->y());
    QVERIFY(w->StatusBar1->geometry().top() > w->Frame2->geometry().bottom());
    QCOMPARE(w->StatusBar1->geometry().bottom(), 436);
}

void TestConditions::seatPlaces_data()
{
    QTest::addColumn<int>("seat");
    QTest::addColumn<int>("left"); // of the box
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("numberLeft");
    QTest::newRow("seat 1, front right") << 1 << 5370 << 4620 << 5790;
    QTest::newRow("seat 4, front left") << 4 << 420 << 4620 << 840;
    QTest::newRow("seat 9, last with one digit") << 9 << 5370 << 3300 << 5790;
    QTest::newRow("seat 10, first with two digits") << 10 << 3720 << 3300 << 4080;
    QTest::newRow("seat 23") << 23 << 2070 << 1320 << 2430;
    QTest::newRow("seat 28, back left") << 28 << 420 << 690 << 780;
}

void TestConditions::seatPlaces()
{
    QFETCH(int, seat);
    QFETCH(int, left);
    QFETCH(int, top);
    QFETCH(int, numberLeft);
    TestEnv env;
    COND *w = openEditor({});
    QVERIFY(w);
    const size_t i = size_t(seat - 1);
    QLineEdit *box = w->findChild<QLineEdit *>(QStringLiteral("Text1_%1").arg(i));
    QCheckBox *tick = w->findChild<QCheckBox *>(QStringLiteral("Check1_%1").arg(i));
    QLabel *number = w->findChild<QLabel *>(QStringLiteral("Label1_%1").arg(i));
    QVERIFY(box && tick && number);
    QCOMPARE(box, w->Text1[i]);
    QCOMPARE(box->parentWidget(), w->Frame2);
    QCOMPARE(box->geometry(), twRect(left, top, 1275, 285));
    QCOMPARE(box->palette().color(QPalette::Base), QColor(192, 192, 0));
    QCOMPARE(box->palette().color(QPalette::Text), QColor(Qt::black));
    QCOMPARE(box->font().pointSizeF(), 9.75);
    QCOMPARE(box->font().families().constFirst(), QStringLiteral("ＭＳ Ｐゴシック"));
    QVERIFY(box->text().isEmpty());
    QCOMPARE(tick->geometry(), twRect(left - 240, top - 120, 255, 495));
    QVERIFY(tick->text().isEmpty());
    QCOMPARE(tick->palette().color(QPalette::Window), QColor(128, 128, 0));
    QCOMPARE(number->text(), QStringLiteral("No.%1").arg(seat));
    QCOMPARE(number->pos(), QPoint(tw(numberLeft), tw(top - 240)));
    QCOMPARE(number->height(), tw(255));
    QVERIFY(number->width() >= number->fontMetrics().horizontalAdvance(number->text()));
    QCOMPARE(number->palette().color(QPalette::WindowText), QColor(Qt::white));
    QCOMPARE(number->palette().color(QPalette::Window), QColor(128, 128, 0));
    QCOMPARE(number->font().pointSizeF(), 12.0);
}

void TestConditions::menusAndToolbar()
{
    TestEnv env;
    COND *w = openEditor(pupils(2));
    QVERIFY(w);
    QStringList order;
    for (QAction *top : w->menuBar()->actions()) {
        order.append(top->objectName() + QLatin1Char('=') + top->text());
        for (QAction *a : top->menu()->actions())
            order.append(a->objectName() + QLatin1Char('=') + a->text() + QLatin1Char('=') + a->shortcut().toString());
    }
    QCOMPARE(order, (QStringList{QStringLiteral("mnuFile=ﾌｧｲﾙ(&F)"), QStringLiteral("mnuCond=条件設定(&S)...="),
                                 QStringLiteral("mnuNO=取消(&X)="), QStringLiteral("mnuHelp=ﾍﾙﾌﾟ(&H)"),
                                 QStringLiteral("mnuHelpContext_KeyWord_0=ﾄﾋﾟｯｸの検索(&H)=F1"),
                                 QStringLiteral("mnuHelpContext_KeyWord_1=当該ﾍﾙﾌﾟ(&C)="), QStringLiteral("mnuDummy3=="),
                                 QStringLiteral("mnuVersion=ﾊﾞｰｼﾞｮﾝ情報(&A)...=")}));
    QVERIFY(w->mnuDummy3->isSeparator());
    const QMap<int, QString> tips{{2, QStringLiteral(" 条件設定 ")}, {3, QStringLiteral(" 取消 ")},
                                  {5, QStringLiteral(" ﾊﾞｰｼﾞｮﾝ情報 ")}, {6, QStringLiteral(" 当該ﾍﾙﾌﾟ ")}};
    QCOMPARE(w->Toolbar1->actions().size(), 6);
    for (int pos = 1; pos <= 6; ++pos) {
        QToolButton *b = w->Toolbar1->button(pos);
        QCOMPARE(b != nullptr, tips.contains(pos));
        if (b) {
            QCOMPARE(b->toolTip(), tips[pos]);
            QVERIFY(!b->icon().isNull());
        }
    }
    const qsizetype before = env.platform.calls.size();
    for (int pos : {0, 1, 4, 7})
        w->Toolbar1_ButtonClick(pos);
    QCOMPARE(env.platform.calls.size(), before);
    QVERIFY(isLoaded<COND>());
}

void TestConditions::statusBarAndTimer()
{
    TestEnv env;
    env.platform.insert = true;
    state().TodayText = QStringLiteral("2026/12/05");
    state().ClockText = QStringLiteral("午後 03:07");
    COND *w = openEditor(pupils(2));
    QVERIFY(w);
    StatusPanels *bar = w->StatusBar1;
    const QString text = QStringLiteral("座席指定は登録者一覧から該当者を座席へ ﾄﾞﾗｯｸﾞ&ﾄﾞﾛｯﾌﾟ して下さい");
    QCOMPARE(bar->panelText(1), text);
    QCOMPARE(bar->panel(1)->toolTip(), text);
    QCOMPARE(bar->panelText(2), QStringLiteral("CAPS"));
    QCOMPARE(bar->panelText(3), QStringLiteral("INS"));
    QVERIFY(!bar->panel(2)->isEnabled());
    QVERIFY(bar->panel(3)->isEnabled());
    QCOMPARE(bar->panelText(4), QStringLiteral("2026/12/05"));
    QCOMPARE(bar->panelText(5), QStringLiteral("午後 03:07"));
    QVERIFY(!bar->panel(6));
    QCOMPARE(bar->panel(2)->width(), tw(700));
    for (int p : {4, 5}) {
        QVERIFY(bar->panel(p)->width() >= tw(1100));
        QLabel *panel = bar->panel(p);
        QVERIFY(panel->contentsRect().width() >= panel->fontMetrics().horizontalAdvance(panel->text()));
    }
    QCOMPARE(w->Timer1->interval(), 33000);
    QVERIFY(w->Timer1->isActive());
    env.setNow(QDateTime(QDate(2027, 1, 2), QTime(9, 41)));
    w->Timer1_Timer();
    QCOMPARE(bar->panelText(4), QStringLiteral("2027/01/02"));
    QCOMPARE(bar->panelText(5), QStringLiteral("午前 09:41"));
}

void TestConditions::enterMovesToTheNextSeat()
{
    TestEnv env;
    COND *w = openEditor(pupils(6), {{5, QStringLiteral("生徒5")}});
    QVERIFY(w);
    QApplication::setActiveWindow(w);
    QTRY_VERIFY(w->isActiveWindow());
    QTRY_COMPARE(QApplication::focusWidget(), w->Text1[0]);
    w->Text1[4]->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), w->Text1[4]);
    QTest::keyClick(w->Text1[4], Qt::Key_Return);
    QTRY_COMPARE(QApplication::focusWidget(), w->Text1[5]);
    QTest::keyClick(w->Text1[5], Qt::Key_Enter, Qt::KeypadModifier);
    QTRY_COMPARE(QApplication::focusWidget(), w->Text1[6]);
    QCOMPARE(w->Text1[4]->text(), QStringLiteral("生徒5"));
    QCOMPARE(w->Text1[5]->text(), QString());
    // After the last seat: the ticks, from seat 1.
    w->Text1[27]->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), w->Text1[27]);
    QTest::keyClick(w->Text1[27], Qt::Key_Return);
    QTRY_COMPARE(QApplication::focusWidget(), w->Check1[0]);
    QCOMPARE(w->Text1[27]->text(), QString());
    // Other keys are the box's own.
    QTest::keyClicks(w->Text1[6], QStringLiteral("ab"));
    QCOMPARE(w->Text1[6]->text(), QStringLiteral("ab"));
}

void TestConditions::helpAndVersion()
{
    TestEnv env;
    COND *w = openEditor(pupils(2));
    QVERIFY(w);
    state().HelpFilePath = QStringLiteral("/prog/NARABIN.HLP");
    w->activateWindow();
    QTRY_VERIFY(w->isActiveWindow());
    QTest::keyClick(w, Qt::Key_F1);
    TRIGGER(w, "mnuHelpContext_KeyWord_0");
    TRIGGER(w, "mnuHelpContext_KeyWord_1");
    w->Toolbar1->button(6)->click();
    const QList<PlatformCall> calls = env.platform.callsOf(QStringLiteral("help"));
    QCOMPARE(calls.size(), 4);
    const QList<QList<int>> expected{
        {HELP_PARTIALKEY, 0}, {HELP_PARTIALKEY, 0}, {HELP_CONTEXT, 44}, {HELP_CONTEXT, 44}};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE((QList<int>{calls[i].style, calls[i].data}), expected[i]);
        QCOMPARE(calls[i].owner.data(), static_cast<QWidget *>(w));
        QCOMPARE(calls[i].text, QStringLiteral("/prog/NARABIN.HLP"));
    }
    for (const QString &how : {QStringLiteral("menu"), QStringLiteral("toolbar")}) {
        bool shown = false;
        whenModal([&] {
            shown = isLoaded<INFO_VER>() && loadedForm<INFO_VER>()->isModal();
            unload<INFO_VER>();
        });
        if (how == QLatin1String("menu"))
            TRIGGER(w, "mnuVersion");
        else
            w->Toolbar1->button(5)->click();
        QVERIFY2(shown, qPrintable(how));
    }
    QVERIFY(isLoaded<COND>());
    QVERIFY(env.platform.messageLog().isEmpty());
}

// ---------------------------------------------------------------- the whole road

void TestConditions::wholeRoad()
{
    TestEnv env;
    const QStringList roster{QStringLiteral("髙橋"), QStringLiteral("渡邊"), QStringLiteral("佐藤"), QStringLiteral("鈴木"),
                             QStringLiteral("①田中"), QStringLiteral("ｱｲｻﾞﾜ"), QStringLiteral("伊藤")};
    env.writeFile(QStringLiteral("名簿/3年1組.mem"), lines(roster));
    NARABIN *main = freshMain({});

    // File>Open and register.
    env.platform.openFiles.enqueue(env.path(QStringLiteral("名簿/3年1組.mem")));
    TRIGGER(main, "mnuFileOpen");
    TOUROKU *editor = loadedForm<TOUROKU>();
    QVERIFY(editor && editor->isVisible());
    env.platform.saveFiles.enqueue(env.path(QStringLiteral("名簿/3年1組.mem")));
    TRIGGER(editor, "mnuNewFile");
    QCOMPARE(env.readFile(QStringLiteral("名簿/3年1組.mem")), lines(roster));

    // Names dragged onto seats, one seat left empty.
    COND *cond = loadedForm<COND>();
    QVERIFY(cond && cond->isVisible());
    QVERIFY(dropName(cond->Text1[0], cond->Label4[4]->property("Tag").toString()));
    QVERIFY(dropName(cond->Text1[11], cond->Label4[0]->property("Tag").toString()));
    QTest::mouseClick(cond->Check1[1], Qt::LeftButton);
    cond->Check1[26]->click();
    cond->Toolbar1->button(2)->click();
    QVERIFY(!isLoaded<COND>());
    QCOMPARE(storedConditions(), (SeatMap{{1, QStringLiteral("①田中")}, {2, QStringLiteral("-")},
                                          {12, QStringLiteral("髙橋")}, {27, QStringLiteral("-")}}));

    // The run.
    main->activateWindow();
    QTRY_VERIFY(main->isActiveWindow());
    driveCountdown();
    QTest::keyClick(main, Qt::Key_G, Qt::ControlModifier);
    QTRY_VERIFY(isLoaded<RESULT>());
    RESULT *result = loadedForm<RESULT>();
    QVERIFY(result->isVisible());
    const QStringList chart = result->seatTexts();
    QCOMPARE(chart.at(0), QStringLiteral("①田中"));
    QCOMPARE(chart.at(1), QStringLiteral(" "));
    QCOMPARE(chart.at(11), QStringLiteral("髙橋"));
    QCOMPARE(chart.at(26), QStringLiteral(" "));
    QStringList seated;
    for (int k = 0; k < SeatCount; ++k) {
        if (k != 1 && k != 26 && !chart.at(k).isEmpty())
            seated.append(chart.at(k));
    }
    QStringList everyone = roster;
    std::sort(seated.begin(), seated.end());
    std::sort(everyone.begin(), everyone.end());
    QCOMPARE(seated, everyone);
    // The free seats are filled from the front; the rest stay empty.
    QCOMPARE(chart.mid(2, 5).count(QString()), 0);
    QCOMPARE(chart.mid(7).count(QString()), 28 - 7 - 2);

    // Saved, logged, and shown again from the past results.
    env.platform.saveFiles.enqueue(env.path(QStringLiteral("結果/1学期.rlt")));
    QDir(env.work()).mkdir(QStringLiteral("結果"));
    TRIGGER(result, "mnuResultSave");
    QVERIFY(!isLoaded<RESULT>());
    QCOMPARE(env.readFile(QStringLiteral("結果/1学期.rlt")), lines(chart));
    QCOMPARE(env.readFile(QStringLiteral("結果/ならびん.INI")), lines({QStringLiteral("1学期.rlt")}));
    QCOMPARE(env.platform.messageLog(), (QStringList{QStringLiteral("修正確認|メンバーを修正しました。|64"), Applied,
                                                     QStringLiteral("保存確認|ならびん結果を保存しました。|64")}));
    main = loadedForm<NARABIN>();
    QVERIFY(main && main->isVisible());
    QAction *logged = findAction(main, QStringLiteral("mnuFileArray_1"));
    QVERIFY(logged);
    QCOMPARE(logged->text(), QStringLiteral("1学期.rlt"));
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
