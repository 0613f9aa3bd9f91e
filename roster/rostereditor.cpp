#include "roster/rostereditor.h"

#include "core/rostersession.h"

#include "core/clock.h"
#include "core/pastedtable.h"
#include "core/rosterfile.h"
#include "platform/platform.h"
#include "widgets/menus.h"
#include "widgets/navigator.h"
#include "widgets/seatbox.h"
#include "widgets/ui.h"

#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>

namespace
{

// Seat n lies in row (n + 3) / 4, row 1 lowest next to the desk; within a row the
// seat numbers grow from right to left.
constexpr std::array<int, 4> SeatLefts{7215, 5055, 2895, 735};
constexpr std::array<int, 7> RowTops{5160, 4440, 3720, 3000, 2280, 1560, 840};
constexpr int BoxWidth = 1575;
constexpr int BoxHeight = 360;
constexpr int CaptionHeight = 270; // the caption sits right above its box

QRect seatBoxTwips(int index)
{
    return QRect(SeatLefts[size_t(index % 4)], RowTops[size_t(index / 4)], BoxWidth, BoxHeight);
}

} // namespace

RosterEditor::RosterEditor() : FormWindow(QStringLiteral("登録・修正"), "TOUROKU", rgb(0, 128, 0))
{
    buildSeats();
    addMenu(this, "mnuFile", QStringLiteral("ﾌｧｲﾙ(&F)"),
            {{"mnuNewFile", QStringLiteral("新規登録・修正(&S)..."), [this] { registerRoster(); }, &registerAction},
             {"mnuCancel", QStringLiteral("取消・了解(&X)"), [this] { closeEditor(); }, &closeAction},
             {"mnuDummyPaste"},
             {"mnuPasteTable", QStringLiteral("表から貼り付け(&V)"), [this] { pasteTable(); }, &pasteTableAction}});
    buildChrome({{{false, QStringLiteral("document-save"), QStyle::SP_DialogSaveButton,
                   QStringLiteral(" 新規登録・修正 "), [this] { registerRoster(); }},
                  {false, QStringLiteral("dialog-ok"), QStyle::SP_DialogOkButton, QStringLiteral(" 取消・了解  "),
                   [this] { closeEditor(); }}},
                 QStringLiteral("各席の氏名を入力して下さい"),
                 0,
                 750,
                 1350,
                 43,
                 "mnuDummy2"});
}

void RosterEditor::buildSeats()
{
    for (int i = 0; i < SeatCount; ++i) {
        const QRect box = seatBoxTwips(i);
        seatCaptions[size_t(i)] =
            makeLabel(client(), {QStringLiteral("Label1_%1").arg(i), QStringLiteral("No.%1").arg(i + 1),
                                 QRect(box.left(), box.top() - CaptionHeight, BoxWidth, CaptionHeight), Face::PGothic,
                                 12, false, Qt::white, std::nullopt, false, Qt::AlignHCenter | Qt::AlignBottom});
    }
    // Created in seat order, so the tab order runs from seat 1 to seat 28.
    for (int i = 0; i < SeatCount; ++i) {
        auto *t = new QLineEdit(client());
        t->setObjectName(QStringLiteral("Text1_%1").arg(i));
        const QRect box = seatBoxTwips(i);
        t->setGeometry(twRect(box.left(), box.top(), box.width(), box.height()));
        t->setFont(makeFont(Face::PGothic, 12));
        nameSeat(t, i + 1);
        setBackgroundColor(t, QColor::fromRgb(NameBoxColor));
        t->setAttribute(Qt::WA_InputMethodEnabled, true);
        installEnterMovesOn(t);
        keepSingleLine(t);
        t->installEventFilter(this);
        connect(t, &QLineEdit::textChanged, this, [] { state().RosterEdited = true; });
        if (i > 0)
            setTabOrder(seatBoxes[size_t(i - 1)], t);
        seatBoxes[size_t(i)] = t;
    }
    desk = makeLabel(client(), {QStringLiteral("Label3"), QStringLiteral("教     卓"), QRect(4215, 5700, 1095, 315),
                                Face::PGothic, 12, false, Qt::black, rgb(0, 255, 0), true, Qt::AlignCenter});
}

void RosterEditor::onLoad()
{
    fixSize();
    showDateAndTime();
    seatBoxes[0]->setFocus();
}

QStringList RosterEditor::boxTexts() const
{
    QStringList texts;
    for (const QLineEdit *t : seatBoxes)
        texts.append(t->text());
    return texts;
}

void RosterEditor::pasteTable()
{
    const PastedTable table = readPastedTable(QGuiApplication::clipboard()->text());
    if (table.tooLarge) {
        showMessage(this, tableTooLargeMessage());
        return;
    }
    if (table.rows.isEmpty()) {
        showMessage(this, noTableMessage());
        return;
    }
    int column = table.nameColumn;
    if (table.columnCount > 1) {
        column = platform().chooseFromList(this, QStringLiteral("氏名の列の選択"),
                                           QStringLiteral("氏名が入っている列を選んで下さい。"), table.columnLabels(),
                                           table.nameColumn);
        if (column < 0)
            return;
    }
    const QStringList names = table.names(column);
    if (names.isEmpty()) {
        showMessage(this, noNamesMessage(table.columnCount > 1));
        return;
    }
    if (names.size() > SeatCount) {
        showMessage(this, tooManyNamesMessage(names.size(), SeatCount));
        return;
    }
    for (int i = 0; i < SeatCount; ++i)
        seatBoxes[size_t(i)]->setText(names.value(i));
    seatBoxes[0]->setFocus();
}

void RosterEditor::registerRoster()
{
    using Step = RosterSession::RegisterStep;
    RosterSession session(state());
    const Step step = session.beginRegister(boxTexts());
    switch (step) {
    case Step::AskRegisterEmpty:
        if (!session.keepEditingEmpty(showMessage(this, session.message(step)) == IDOK))
            unloadSelf();
        return;
    case Step::ReportSameName: showMessage(this, session.message(step)); return;
    case Step::ReportUnsavable:
        showMessage(this, session.message(step));
        seatBoxes[size_t(session.unsavable()->index)]->setFocus();
        return;
    case Step::ChooseFileAndSave: break;
    }
    if (!saveRoster(session.names()))
        return;
    showMessage(this, session.saved(fileDialog.fileName));
    closeAndShowConditions();
}

bool RosterEditor::saveRoster(const QStringList &names)
{
    fileDialog.filter = QStringLiteral("名簿ﾌｧｲﾙ(*.MEM)|*.MEM|すべてのﾌｧｲﾙ(*.*)|*.*");
    if (!fileDialog.showSave(this))
        return false;
    const QString reason = writeRosterFile(fileDialog.fileName, names, rosterSpellings);
    if (reason.isEmpty())
        return true;
    showMessage(this, rosterNotSavedMessage(fileDialog.fileName, reason));
    return false;
}

void RosterEditor::closeAndShowConditions()
{
    unloadSelf();
    navigator().showConditionEditor();
}

bool RosterEditor::closeEditor()
{
    using Step = RosterSession::CloseStep;
    const Step step = RosterSession(state()).beginClose(boxTexts());
    if (step == Step::Nothing)
        return false;
    const bool ok = showMessage(this, RosterSession::message(step)) == IDOK;
    if (step == Step::AskDiscardNew) {
        if (ok)
            unloadSelf();
    } else if (ok) {
        registerRoster();
    } else {
        closeAndShowConditions();
    }
    return true;
}

void RosterEditor::onCloseRequest(QCloseEvent *event)
{
    // The editor goes only the ways its close command lets it; with nothing to ask
    // about, the close button simply closes it.
    event->ignore();
    if (!closeEditor())
        unloadSelf();
}

void RosterEditor::highlightSeat(int index, bool focused)
{
    setBackgroundColor(seatBoxes[size_t(index)], QColor::fromRgb(focused ? NameBoxFocusColor : NameBoxColor));
    if (focused)
        platform().switchInputMethodOn(seatBoxes[size_t(index)]);
}

bool RosterEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        const auto seat = std::find(seatBoxes.cbegin(), seatBoxes.cend(), watched);
        if (seat != seatBoxes.cend())
            highlightSeat(int(seat - seatBoxes.cbegin()), event->type() == QEvent::FocusIn);
    }
    return FormWindow::eventFilter(watched, event);
}
