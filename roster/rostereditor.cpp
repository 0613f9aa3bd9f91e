#include "roster/rostereditor.h"

#include "core/clock.h"
#include "widgets/menus.h"
#include "widgets/navigator.h"
#include "widgets/seatbox.h"
#include "widgets/ui.h"
#include "platform/platform.h"
#include "core/rosterfile.h"

#include <QDir>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>

namespace {

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

QString nativePath(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

TOUROKU::TOUROKU()
    : FormWindow(QStringLiteral("登録・修正"))
{
    setObjectName(QStringLiteral("TOUROKU"));
    setBackgroundColor(client(), rgb(0, 128, 0));
    buildSeats();
    buildMenus();
    buildBars();
    Timer1 = startStatusClock([this] { Timer1_Timer(); });
    fixSize();
}

void TOUROKU::buildSeats()
{
    for (int i = 0; i < SeatCount; ++i) {
        const QRect box = seatBoxTwips(i);
        Label1[size_t(i)] = makeLabel(client(), {QStringLiteral("Label1_%1").arg(i), QStringLiteral("No.%1").arg(i + 1),
                                                 QRect(box.left(), box.top() - CaptionHeight, BoxWidth, CaptionHeight),
                                                 Face::PGothic, 12, false, Qt::white, std::nullopt, false,
                                                 Qt::AlignHCenter | Qt::AlignBottom});
    }
    // Created in seat order, so the tab order runs from seat 1 to seat 28.
    for (int i = 0; i < SeatCount; ++i) {
        auto *t = new QLineEdit(client());
        t->setObjectName(QStringLiteral("Text1_%1").arg(i));
        const QRect box = seatBoxTwips(i);
        t->setGeometry(twRect(box.left(), box.top(), box.width(), box.height()));
        t->setFont(makeFont(Face::PGothic, 12));
        setBackgroundColor(t, QColor::fromRgb(NameBoxColor));
        t->setAttribute(Qt::WA_InputMethodEnabled, true);
        installEnterMovesOn(t);
        keepSingleLine(t);
        t->installEventFilter(this);
        connect(t, &QLineEdit::textChanged, this, [this, i] { Text1_Change(i); });
        if (i > 0)
            setTabOrder(Text1[size_t(i - 1)], t);
        Text1[size_t(i)] = t;
    }
    Label3 = makeLabel(client(), {QStringLiteral("Label3"), QStringLiteral("教     卓"), QRect(4215, 5700, 1095, 315),
                                  Face::PGothic, 12, false, Qt::black, rgb(0, 255, 0), true, Qt::AlignCenter});
}

void TOUROKU::buildMenus()
{
    mnuFile = addMenu(this, "mnuFile", QStringLiteral("ﾌｧｲﾙ(&F)"));
    mnuNewFile = addItem(mnuFile, "mnuNewFile", QStringLiteral("新規登録・修正(&S)..."));
    mnuCancel = addItem(mnuFile, "mnuCancel", QStringLiteral("取消・了解(&X)"));
    mnuHelp = addMenu(this, "mnuHelp", QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    mnuHelpContext_KeyWord[0] =
        addItem(mnuHelp, "mnuHelpContext_KeyWord_0", QStringLiteral("ﾄﾋﾟｯｸの検索(&H)"), QKeySequence(Qt::Key_F1));
    mnuHelpContext_KeyWord[1] = addItem(mnuHelp, "mnuHelpContext_KeyWord_1", QStringLiteral("当該ﾍﾙﾌﾟ(&C)"));
    mnuDummy2 = mnuHelp->addSeparator();
    mnuDummy2->setObjectName(QStringLiteral("mnuDummy2"));
    mnuVersion = addItem(mnuHelp, "mnuVersion", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)..."));

    connect(mnuNewFile, &QAction::triggered, this, [this] { mnuNewFile_Click(); });
    connect(mnuCancel, &QAction::triggered, this, [this] { mnuCancel_Click(); });
    connect(mnuHelpContext_KeyWord[0], &QAction::triggered, this, [this] { mnuHelpContext_KeyWord_Click(0); });
    connect(mnuHelpContext_KeyWord[1], &QAction::triggered, this, [this] { mnuHelpContext_KeyWord_Click(1); });
    connect(mnuVersion, &QAction::triggered, this, [this] { mnuVersion_Click(); });
}

void TOUROKU::buildBars()
{
    Toolbar1 = new PositionToolbar(client(), {
        toolbarSeparator(),
        {false, QStringLiteral("document-save"), QStyle::SP_DialogSaveButton, QStringLiteral(" 新規登録・修正 ")},
        {false, QStringLiteral("dialog-ok"), QStyle::SP_DialogOkButton, QStringLiteral(" 取消・了解  ")},
        toolbarSeparator(),
        {false, QStringLiteral("help-about"), QStyle::SP_MessageBoxInformation, QStringLiteral(" ﾊﾞｰｼﾞｮﾝ情報 ")},
        {false, QStringLiteral("help-contents"), QStyle::SP_DialogHelpButton, QStringLiteral(" 当該ﾍﾙﾌﾟ ")},
    });
    connect(Toolbar1, &PositionToolbar::buttonClicked, this, &TOUROKU::Toolbar1_ButtonClick);
    StatusBar1 = new StatusPanels(client(), {{StatusPanels::Kind::Text, QStringLiteral("各席の氏名を入力して下さい"), 0},
                                             {StatusPanels::Kind::Caps, {}, 750},
                                             {StatusPanels::Kind::Ins, {}, 750},
                                             {StatusPanels::Kind::Text, {}, 1350},
                                             {StatusPanels::Kind::Text, {}, 1350}});
}

void TOUROKU::Form_Load()
{
    fixSize();
    StatusBar1->showDateTime(4);
    Text1[0]->setFocus();
}

void TOUROKU::Timer1_Timer()
{
    RefreshDateTime();
    StatusBar1->showDateTime(4);
}

void TOUROKU::Toolbar1_ButtonClick(int position)
{
    switch (position) {
    case 2: mnuNewFile_Click(); break;
    case 3: mnuCancel_Click(); break;
    case 5: mnuVersion_Click(); break;
    case 6: mnuHelpContext_KeyWord_Click(1); break;
    default: break;
    }
}

QStringList TOUROKU::boxTexts() const
{
    QStringList texts;
    for (const QLineEdit *t : Text1)
        texts.append(t->text());
    return texts;
}

void TOUROKU::mnuNewFile_Click()
{
    SharedState &s = state();
    const QStringList texts = boxTexts();
    const QStringList names = collectNames(texts);
    clearSlots(s.PupilNames);
    s.PupilCount = quint8(names.size());
    for (qsizetype i = 0; i < names.size(); ++i)
        s.PupilNames[size_t(i + 1)] = names.at(i);
    s.RosterEmpty = names.isEmpty() ? 1 : 0;
    s.MatchFound = hasDuplicateName(names) ? 1 : 0;

    if (s.RosterEmpty == 1) {
        if (MsgBox(this, QStringLiteral("新規にメンバーが登録されていません。登録しますか？"),
                   MsgStyle::OkCancel | MsgStyle::Question, QStringLiteral("登録確認")) == IDOK)
            s.RosterEmpty = 0;
        else
            unloadSelf();
        return;
    }
    if (s.MatchFound == 1) {
        MsgBox(this, QStringLiteral("同じ氏名を登録しようとしました。"), MsgStyle::Critical, QStringLiteral("登録者重複"));
        return;
    }
    // Refused before the file is chosen, so nothing is written.
    if (const std::optional<BoxProblem> bad = firstUnsavableBox(texts)) {
        const QString reason = bad->problem == NameProblem::NotCp932
                                   ? QStringLiteral("No.%1 の氏名「%2」には名簿ファイルに保存できない文字が含まれています。\r\n"
                                                    "別の文字に置き換えて下さい。")
                                   : QStringLiteral("No.%1 の氏名「%2」は名簿ファイルに保存すると同じ氏名に戻りません。\r\n"
                                                    "制御文字や、「\"」で始まる氏名は使えません。");
        MsgBox(this, reason.arg(bad->index + 1).arg(texts.at(bad->index)), MsgStyle::Critical,
               QStringLiteral("使用できない文字"));
        Text1[size_t(bad->index)]->setFocus();
        return;
    }
    if (!saveRoster(names))
        return;
    if (s.RosterFromFile == 1) {
        MsgBox(this, QStringLiteral("メンバーを修正しました。"), MsgStyle::Information, QStringLiteral("修正確認"));
        s.RosterFromFile = 0;
    } else {
        MsgBox(this, QStringLiteral("新規にメンバーを登録しました。"), MsgStyle::Information, QStringLiteral("登録確認"));
    }
    closeAndShowConditions();
}

bool TOUROKU::saveRoster(const QStringList &names)
{
    CommonDialog1.Filter = QStringLiteral("名簿ﾌｧｲﾙ(*.MEM)|*.MEM|すべてのﾌｧｲﾙ(*.*)|*.*");
    if (!CommonDialog1.ShowSave(this))
        return false;
    const QString path = CommonDialog1.FileName;
    const QString error = writeRosterFile(path, names, RosterSpellings);
    if (!error.isEmpty()) {
        // The file in use stays the one before: nothing was saved under the new name.
        MsgBox(this, QStringLiteral("名簿ファイルを保存できませんでした。\r\n") + nativePath(path) + QStringLiteral("\r\n") + error,
               MsgStyle::Critical, QStringLiteral("保存エラー"));
        return false;
    }
    state().RosterFileName = path;
    return true;
}

void TOUROKU::closeAndShowConditions()
{
    unloadSelf();
    navigator().showConditionEditor();
}

bool TOUROKU::mnuCancel_Click()
{
    SharedState &s = state();
    if (s.RosterLoaded == 1 || s.RosterEmpty == 1) {
        const QStringList filled = collectNames(boxTexts());
        s.CountChanged = 0;
        if (filled.size() != s.PupilCount)
            s.CountChanged = 1;
        if (s.RosterEdited != 1 && s.CountChanged != 1)
            return false;
        if (MsgBox(this, QStringLiteral("名簿は変更されています。保存しますか？"), MsgStyle::OkCancel | MsgStyle::Question,
                   QStringLiteral("変更確認")) == IDOK)
            mnuNewFile_Click();
        else
            closeAndShowConditions();
        return true;
    }
    if (!s.RosterFileName.isEmpty())
        return false;
    if (MsgBox(this, QStringLiteral("新規名簿を取消してよろしいですか？"), MsgStyle::OkCancel | MsgStyle::Question,
               QStringLiteral("新規作成")) == IDOK)
        unloadSelf();
    return true;
}

void TOUROKU::Form_QueryUnload(QCloseEvent *event)
{
    // The editor goes only the ways its close command lets it; with nothing to ask
    // about, the close button simply closes it.
    event->ignore();
    if (!mnuCancel_Click())
        unloadSelf();
}

void TOUROKU::mnuHelpContext_KeyWord_Click(int index)
{
    if (index == 0)
        callHelp(this, HELP_PARTIALKEY, 0);
    else
        callHelp(this, HELP_CONTEXT, 43);
}

void TOUROKU::mnuVersion_Click()
{
    navigator().showVersionInfo();
}

void TOUROKU::Text1_Change(int)
{
    state().RosterEdited = 1;
}

void TOUROKU::Text1_GotFocus(int index)
{
    setBackgroundColor(Text1[size_t(index)], QColor::fromRgb(NameBoxFocusColor));
    platform().switchInputMethodOn(Text1[size_t(index)]);
}

void TOUROKU::Text1_LostFocus(int index)
{
    setBackgroundColor(Text1[size_t(index)], QColor::fromRgb(NameBoxColor));
}

bool TOUROKU::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        for (int i = 0; i < SeatCount; ++i) {
            if (watched != Text1[size_t(i)])
                continue;
            if (event->type() == QEvent::FocusIn)
                Text1_GotFocus(i);
            else
                Text1_LostFocus(i);
        }
    }
    return FormWindow::eventFilter(watched, event);
}
