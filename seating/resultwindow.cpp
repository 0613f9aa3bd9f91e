#include "seating/resultwindow.h"

#include "core/clock.h"
#include "widgets/mainwindowstate.h"
#include "widgets/menus.h"
#include "widgets/navigator.h"
#include "widgets/storesetting.h"
#include "core/resultlog.h"
#include "core/settings.h"
#include "widgets/ui.h"
#include "platform/platform.h"
#include "seating/printing.h"
#include "core/resultfile.h"

#include <QDir>
#include <QLabel>
#include <QMenuBar>

namespace {

// Box left edge by place in the row (seat numbers grow from right to left).
constexpr std::array<int, 4> BoxLeft{7215, 5055, 2895, 735};
// Box top edge by row, row 1 (the front, next to the desk) first.
constexpr std::array<int, 7> BoxTop{5130, 4410, 3690, 3000, 2250, 1530, 810};
constexpr int BoxWidth = 1575;
constexpr int BoxHeight = 345;
constexpr int CaptionWidth = 735;
constexpr int CaptionHeight = 255;

const QColor Grey = rgb(128, 128, 128);
const QColor LightGrey = rgb(192, 192, 192);

QString saveFilter()
{
    return QStringLiteral("結果ﾌｧｲﾙ(*.RLT)|*.RLT|旧結果ﾌｧｲﾙ(*.DAT)|*.DAT|すべてのﾌｧｲﾙ(*.*)|*.*");
}

} // namespace

QString resultStatusText()
{
    return QStringLiteral("結果に対しては・・・  いつも、(^_^)(^_^)ﾆｺﾆｺ 笑顔で了解");
}

RESULT::RESULT()
    : FormWindow(QStringLiteral("ならびん結果"))
{
    setObjectName(QStringLiteral("RESULT"));
    setBackgroundColor(client(), Grey);
    buildSeats();
    buildMenus();
    buildBars();
    Timer1 = startStatusClock([this] { Timer1_Timer(); });
    fixSize();
}

void RESULT::buildSeats()
{
    // Captions first, so that a box lies over the caption above it where they meet.
    for (int i = 0; i < SeatCount; ++i) {
        const int left = BoxLeft[size_t(i % 4)];
        const int top = BoxTop[size_t(i / 4)];
        Label1[size_t(i)] = makeLabel(client(), {QStringLiteral("Label1_%1").arg(i), QStringLiteral("No.%1").arg(i + 1),
                                                 QRect(left + (BoxWidth - CaptionWidth) / 2, top - 240, CaptionWidth,
                                                       CaptionHeight),
                                                 Face::PGothic, 12, false, Qt::white, std::nullopt, false, Qt::AlignHCenter | Qt::AlignTop});
    }
    for (int i = 0; i < SeatCount; ++i) {
        Label3[size_t(i)] = makeLabel(client(), {QStringLiteral("Label3_%1").arg(i), QString(),
                                                 QRect(BoxLeft[size_t(i % 4)], BoxTop[size_t(i / 4)], BoxWidth, BoxHeight),
                                                 Face::PGothic, 12, false, Qt::black, LightGrey, true, Qt::AlignCenter});
    }
    Label4 = makeLabel(client(), {QStringLiteral("Label4"), QStringLiteral("教     卓"), QRect(4215, 5670, 1095, 315),
                                  Face::PGothic, 12, false, Qt::black, LightGrey, true, Qt::AlignCenter});
}

void RESULT::buildMenus()
{
    mnuFile = addMenu(this, "mnuFile", QStringLiteral("ﾌｧｲﾙ(F)"));
    mnuResultSave = addItem(mnuFile, "mnuResultSave", QStringLiteral("結果の保存(&S)..."));
    mnuPrint = addItem(mnuFile, "mnuPrint", QStringLiteral("印刷(&P)..."));
    mnuDummy = addSeparator(mnuFile, "mnuDummy");
    mnuOK = addItem(mnuFile, "mnuOK", QStringLiteral("了解(&X)"));

    mnuOption = addMenu(this, "mnuOption", QStringLiteral("ｵﾌﾟｼｮﾝ(&O)"));
    mnuNoPrintLine = addItem(mnuOption, "mnuNoPrintLine", QStringLiteral("非印刷行の設定(&L)..."));
    mnuPrintStatusBar = addItem(mnuOption, "mnuPrintStatusBar", QStringLiteral("ｽﾃｰﾀｽﾊﾞｰの印刷(&S)"));
    mnuPrintStatusBar->setCheckable(true);

    mnuHelp = addMenu(this, "mnuHelp", QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    mnuHelpContext_KeyWord[0] = addItem(mnuHelp, "mnuHelpContext_KeyWord_0", QStringLiteral("ﾄﾋﾟｯｸの検索(&H)"),
                                        QKeySequence(Qt::Key_F1));
    mnuHelpContext_KeyWord[1] = addItem(mnuHelp, "mnuHelpContext_KeyWord_1", QStringLiteral("当該ﾍﾙﾌﾟ(&C)"));
    mnuDummy3 = addSeparator(mnuHelp, "mnuDummy3");
    mnuVersion = addItem(mnuHelp, "mnuVersion", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)..."));

    connect(mnuResultSave, &QAction::triggered, this, &RESULT::mnuResultSave_Click);
    connect(mnuPrint, &QAction::triggered, this, [] { printResultCommand(); });
    connect(mnuOK, &QAction::triggered, this, &RESULT::mnuOK_Click);
    connect(mnuNoPrintLine, &QAction::triggered, this, [] { showNoPrintLineDialog(); });
    // The handler flips the check mark itself; undo the action's own flip first.
    connect(mnuPrintStatusBar, &QAction::triggered, this, [this](bool checked) {
        mnuPrintStatusBar->setChecked(!checked);
        mnuPrintStatusBar_Click();
    });
    connect(mnuHelpContext_KeyWord[0], &QAction::triggered, this, [this] { mnuHelpContext_KeyWord_Click(0); });
    connect(mnuHelpContext_KeyWord[1], &QAction::triggered, this, [this] { mnuHelpContext_KeyWord_Click(1); });
    connect(mnuVersion, &QAction::triggered, this, [] { navigator().showVersionInfo(); });
}

void RESULT::buildBars()
{
    Toolbar1 = new PositionToolbar(client(), {
        toolbarSeparator(),
        {false, QStringLiteral("document-save"), QStyle::SP_DialogSaveButton, QStringLiteral(" 結果の保存 ")},
        {false, QStringLiteral("dialog-ok"), QStyle::SP_DialogOkButton, QStringLiteral(" 了解  ")},
        toolbarSeparator(),
        {false, QStringLiteral("document-print"), QStyle::SP_FileDialogContentsView, QStringLiteral(" 印刷 ")},
        toolbarSeparator(),
        {false, QStringLiteral("help-about"), QStyle::SP_MessageBoxInformation, QStringLiteral(" ﾊﾞｰｼﾞｮﾝ情報 ")},
        {false, QStringLiteral("help-contents"), QStyle::SP_DialogHelpButton, QStringLiteral(" 当該ﾍﾙﾌﾟ ")},
    });
    connect(Toolbar1, &PositionToolbar::buttonClicked, this, &RESULT::Toolbar1_ButtonClick);
    StatusBar1 = new StatusPanels(client(), {{StatusPanels::Kind::Text, resultStatusText(), 0},
                                             {StatusPanels::Kind::Text, {}, 1350},
                                             {StatusPanels::Kind::Text, {}, 1350}});
}

void RESULT::Form_Load()
{
    SharedState &s = state();
    fixSize();
    // Any value but "0" prints the status bar; kept in memory only until toggled.
    s.OptPsbar = s.OptPsbar == QLatin1String("0") ? QStringLiteral("0") : QStringLiteral("1");
    mnuPrintStatusBar->setChecked(s.OptPsbar == QLatin1String("1"));
    if (!s.RosterFileName.isEmpty())
        mainWindowState().enablePreviousResult();
    s.ResultShown = 1;
    StatusBar1->showDateTime(2);
}

void RESULT::Timer1_Timer()
{
    RefreshDateTime();
    StatusBar1->showDateTime(2);
}

void RESULT::Toolbar1_ButtonClick(int position)
{
    switch (position) {
    case 2: mnuResultSave_Click(); break;
    case 3: mnuOK_Click(); break;
    case 5: printResultCommand(); break;
    case 7: navigator().showVersionInfo(); break;
    case 8: mnuHelpContext_KeyWord_Click(1); break;
    default: break;
    }
}

void RESULT::bringToFront()
{
    // A window already open may lie behind others; a new one comes up in front anyway.
    if (isVisible())
        raise();
    show();
    activateWindow();
}

QStringList RESULT::seatTexts() const
{
    QStringList texts;
    for (const QLabel *box : Label3)
        texts.append(box->text());
    return texts;
}

void RESULT::setSeatTexts(const QStringList &texts)
{
    for (int i = 0; i < SeatCount; ++i)
        Label3[size_t(i)]->setText(i < texts.size() ? texts.at(i) : QString());
}

void RESULT::mnuOK_Click()
{
    unloadSelf();
    bringBackMainWindow();
}

void RESULT::bringBackMainWindow()
{
    if (!state().RosterFileName.isEmpty())
        mainWindowState().enablePreviousResult();
    navigator().showMainWindow();
}

void RESULT::Form_QueryUnload(QCloseEvent *event)
{
    event->accept();
    unloadSelf();
    bringBackMainWindow();
}

void RESULT::reportSaveFailure(const QString &text)
{
    MsgBox(this, text, MsgStyle::Critical, QStringLiteral("保存エラー"));
}

void RESULT::mnuResultSave_Click()
{
    CommonDialog1.DialogTitle = QStringLiteral("ならびん結果の保存");
    CommonDialog1.Filter = saveFilter();
    if (!CommonDialog1.ShowSave(this))
        return;
    SharedState &s = state();
    s.ResultSaveFileName = CommonDialog1.FileTitle;
    const QString name = s.ResultSaveFileName;
    if (name.compare(resultLogName(), Qt::CaseInsensitive) == 0) {
        reportSaveFailure(QStringLiteral("「%1」は過去ﾛｸﾞのﾌｧｲﾙです。結果は別の名前で保存して下さい。").arg(name));
        return;
    }
    // The log reads a name in double quotes as one field; a quote inside it could not be read back.
    if (name.contains(QLatin1Char('"'))) {
        reportSaveFailure(QStringLiteral("ﾌｧｲﾙ名「%1」には過去ﾛｸﾞに記録できない文字（\"）が含まれています。別の名前で保存して下さい。").arg(name));
        return;
    }
    if (!fitsCp932(name)) {
        reportSaveFailure(QStringLiteral("ﾌｧｲﾙ名「%1」には過去ﾛｸﾞに記録できない文字が含まれています。別の名前で保存して下さい。").arg(name));
        return;
    }
    // The dialog made the chosen folder the current directory; the result and the log go there.
    const QString folder = QDir::currentPath();
    const QString resultPath = QDir(folder).absoluteFilePath(name);
    if (const QString reason = writeResultFile(resultPath, seatTexts()); !reason.isEmpty()) {
        reportSaveFailure(QStringLiteral("結果ﾌｧｲﾙ「%1」を保存できませんでした。\n%2").arg(QDir::toNativeSeparators(resultPath), reason));
        return;
    }
    const auto logFailure = [&](const QString &reason) {
        reportSaveFailure(QStringLiteral("結果ﾌｧｲﾙ「%1」は保存しましたが、過去ﾛｸﾞ「%2」に記録できませんでした。\n%3")
                              .arg(QDir::toNativeSeparators(resultPath), QDir::toNativeSeparators(resultLogPath(folder)), reason));
    };
    const FieldsRead log = readResultLog(folder);
    if (!log.ok) {
        logFailure(log.error);
        return;
    }
    s.ResultLogList = appendToResultLog(log.fields, name);
    if (const QString reason = writeResultLog(folder, s.ResultLogList); !reason.isEmpty()) {
        logFailure(reason);
        return;
    }
    MsgBox(this, QStringLiteral("ならびん結果を保存しました。"), MsgStyle::Information, QStringLiteral("保存確認"));
    mnuOK_Click();
}

void RESULT::mnuPrintStatusBar_Click()
{
    const bool print = !mnuPrintStatusBar->isChecked();
    const QString value = print ? QStringLiteral("1") : QStringLiteral("0");
    // Like every option: what could not be stored is not changed either.
    if (!storeSetting(this, QStringLiteral("OptPsbar"), value))
        return;
    mnuPrintStatusBar->setChecked(print);
    state().OptPsbar = value;
}

void RESULT::mnuHelpContext_KeyWord_Click(int index)
{
    if (index == 0)
        callHelp(this, HELP_PARTIALKEY, 0);
    else
        callHelp(this, HELP_CONTEXT, 46);
}
