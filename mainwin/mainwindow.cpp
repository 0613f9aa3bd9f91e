#include "mainwin/mainwindow.h"

#include "core/clock.h"
#include "widgets/mainwindowstate.h"
#include "widgets/menus.h"
#include "widgets/navigator.h"
#include "core/product.h"
#include "core/resultlog.h"
#include "widgets/ui.h"
#include "mainwin/appearance.h"
#include "mainwin/filemanagement.h"
#include "core/gradient.h"
#include "mainwin/pastresults.h"
#include "platform/platform.h"

#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>

namespace {

// The client area paints the gradient of the current preset.
class GradientClient : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            auto *w = static_cast<QWidget *>(watched);
            QPainter painter(w);
            painter.scale(1.0 / 15, 1.0 / 15);
            const SharedState &s = state();
            for (const GradientBand &b : gradientBands(s.GradientRed, s.GradientGreen, s.GradientBlue,
                                                       w->height() * 15, w->width() * 15)) {
                painter.fillRect(QRect(QPoint(b.left, b.top), QPoint(b.right, b.bottom)),
                                 QColor(qBound(0, b.red, 255), qBound(0, b.green, 255), qBound(0, b.blue, 255)));
            }
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

struct LogoRow {
    const char *front;
    const char *shadow;
    QString text;
    QRect frontTwips;
    QRect shadowTwips;
    Face face;
    qreal pointSize;
    bool bold;
};

} // namespace

QString mainStatusText()
{
    return QStringLiteral("ﾌｧｲﾙ(F) から「名簿の新規作成(N)」又は「名簿を開く(O)...」を選択して下さい");
}

NARABIN::NARABIN()
    : FormWindow(QString::fromUtf8(product::Title))
{
    setObjectName(QStringLiteral("NARABIN"));
    CommonDialog1.DialogTitle = QStringLiteral("名簿を開く");
    CommonDialog1.Filter = QStringLiteral("名簿ﾌｧｲﾙ(*.MEM)|*.MEM|旧名簿ﾌｧｲﾙ(*.DAT)|*.DAT|すべてのﾌｧｲﾙ(*.*)|*.*");
    client()->installEventFilter(new GradientClient(this));
    client()->installEventFilter(this);
    buildLogo();
    // Drawn in the current colours from the start; activation recolours them.
    colourLogo();
    buildMenus();
    buildBars();
    Timer1 = startStatusClock([this] { Timer1_Timer(); });
    CommonDialog1.DialogTitle = QStringLiteral("名簿を開く");
    CommonDialog1.Filter = QStringLiteral("名簿ﾌｧｲﾙ(*.MEM)|*.MEM|旧名簿ﾌｧｲﾙ(*.DAT)|*.DAT|すべてのﾌｧｲﾙ(*.*)|*.*");
    fixSize();
}

void NARABIN::buildLogo()
{
    const std::array<LogoRow, 5> rows{{
        {"Label1", "Label2_0", QStringLiteral("ならびん"), QRect(1830, 1965, 5415, 1335), QRect(1950, 2085, 5535, 1335),
         Face::PMincho, 72, true},
        {"Label5", "Label3", QStringLiteral("君"), QRect(7230, 2865, 495, 495), QRect(7350, 2985, 495, 465),
         Face::PMincho, 20.25, true},
        {"Label7", "Label4", QString::fromUtf8(product::PlatformLine), QRect(2250, 3555, 4905, 375),
         QRect(2370, 3675, 4905, 375), Face::TimesNewRoman, 18, false},
        {"Label6", "Label8", QString::fromUtf8(product::Notice), QRect(2250, 4020, 3705, 405),
         QRect(2370, 4140, 3705, 405), Face::TimesNewRoman, 18, false},
        {"Label9", "Label10", QString::fromUtf8(product::Author), QRect(6450, 4050, 735, 375),
         QRect(6570, 4170, 735, 375), Face::PMincho, 15.75, true},
    }};
    std::array<QLabel *, 5> fronts{};
    std::array<QLabel *, 5> shadows{};
    // Shadows first, so the front layer is drawn over them.
    for (size_t i = 0; i < rows.size(); ++i)
        shadows[i] = makeLabel(client(), {QString::fromLatin1(rows[i].shadow), rows[i].text, rows[i].shadowTwips,
                                          rows[i].face, rows[i].pointSize, rows[i].bold});
    for (size_t i = 0; i < rows.size(); ++i)
        fronts[i] = makeLabel(client(), {QString::fromLatin1(rows[i].front), rows[i].text, rows[i].frontTwips,
                                         rows[i].face, rows[i].pointSize, rows[i].bold});
    Label1 = fronts[0], Label5 = fronts[1], Label7 = fronts[2], Label6 = fronts[3], Label9 = fronts[4];
    Label2_0 = shadows[0], Label3 = shadows[1], Label4 = shadows[2], Label8 = shadows[3], Label10 = shadows[4];
    for (QLabel *label : fronts)
        label->installEventFilter(this);
    for (QLabel *label : shadows)
        label->installEventFilter(this);
}

void NARABIN::buildMenus()
{
    mnuFile = addMenu(this, "mnuFile", QStringLiteral("ﾌｧｲﾙ(&F)"));
    mnuFileCreate = addItem(mnuFile, "mnuFileCreate", QStringLiteral("名簿の新規作成(&N)"), QKeySequence(Qt::CTRL | Qt::Key_N));
    mnuFileOpen = addItem(mnuFile, "mnuFileOpen", QStringLiteral("名簿を開く(&O)..."), QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuFileNarabin = addItem(mnuFile, "mnuFileNarabin", QStringLiteral("ならびん実行(&G)"), QKeySequence(Qt::CTRL | Qt::Key_G));
    mnuDummy7 = addSeparator(mnuFile, "mnuDummy7");
    mnuEnd = addItem(mnuFile, "mnuEnd", QStringLiteral("ならびん君 の終了(&X)..."));

    mnuDataManage = addMenu(this, "mnuDataManage", QStringLiteral("ﾃﾞｰﾀ管理(&M)"));
    mnuFileCopy = addItem(mnuDataManage, "mnuFileCopy", QStringLiteral("ｺﾋﾟｰ(&C)..."));
    mnuFileRename = addItem(mnuDataManage, "mnuFileRename", QStringLiteral("名前の変更(&R)..."));
    mnuBackup = addItem(mnuDataManage, "mnuBackup", QStringLiteral("ﾊﾞｯｸｱｯﾌﾟ(&B)..."));
    mnuDummy8 = addSeparator(mnuDataManage, "mnuDummy8");
    mnuFileDelete = addItem(mnuDataManage, "mnuFileDelete", QStringLiteral("削除(&D)..."));

    mnuLog = addMenu(this, "mnuLog", QStringLiteral("過去ﾛｸﾞ(&L)"));
    mnuResult = addItem(mnuLog, "mnuResult", QStringLiteral("先程の結果(&R)"), QKeySequence(Qt::CTRL | Qt::Key_R));
    QAction *separator = addSeparator(mnuLog, "mnuFileArray_0");
    separator->setVisible(false);
    mnuFileArray[0] = separator;

    mnuOption = addMenu(this, "mnuOption", QStringLiteral("ｵﾌﾟｼｮﾝ(&O)"));
    mnuInitialEdit = addMenu(this, "mnuInitialEdit", QStringLiteral("初期設定(&I)"), mnuOption);
    mnuLogoMark = addItem(mnuInitialEdit, "mnuLogoMark", QStringLiteral("ﾛｺﾞの表示(&L)"));
    mnuLogoMark->setCheckable(true);
    mnuMainColor = addItem(mnuInitialEdit, "mnuMainColor", QStringLiteral("ﾒｲﾝ画面の背景の選択(&S)..."));
    mnuCountColor = addMenu(this, "mnuCountColor", QStringLiteral("ｶｳﾝﾄﾀﾞｳﾝ画面の配色(&C)"), mnuInitialEdit);
    mnuBack = addItem(mnuCountColor, "mnuBack", QStringLiteral("背景色(&B)..."));
    mnuFore = addItem(mnuCountColor, "mnuFore", QStringLiteral("文字色(&F)..."));
    mnuCondition = addItem(mnuOption, "mnuCondition", QStringLiteral("条件設定の変更(&C)"), QKeySequence(Qt::CTRL | Qt::Key_C));

    mnuHelp = addMenu(this, "mnuHelp", QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    mnuHelpContext_KeyWord[0] = addItem(mnuHelp, "mnuHelpContext_KeyWord_0", QStringLiteral("ﾄﾋﾟｯｸの検索(&H)"), QKeySequence(Qt::Key_F1));
    mnuHelpContext_KeyWord[1] = addItem(mnuHelp, "mnuHelpContext_KeyWord_1", QStringLiteral("目次(&C)"));
    mnudummy5 = addSeparator(mnuHelp, "mnudummy5");
    mnuVersion = addItem(mnuHelp, "mnuVersion", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)..."));

    connect(mnuFileCreate, &QAction::triggered, this, [] { navigator().newRoster(); });
    connect(mnuFileOpen, &QAction::triggered, this, [this] { navigator().openRoster(CommonDialog1, this); });
    connect(mnuFileNarabin, &QAction::triggered, this, [this] { navigator().runSeatChange(this); });
    connect(mnuEnd, &QAction::triggered, this, &NARABIN::mnuEnd_Click);
    connect(mnuFileCopy, &QAction::triggered, this, [] { fileCopyCommand(); });
    connect(mnuFileRename, &QAction::triggered, this, [] { fileRenameCommand(); });
    connect(mnuBackup, &QAction::triggered, this, [] { backupCommand(); });
    connect(mnuFileDelete, &QAction::triggered, this, [] { fileDeleteCommand(); });
    connect(mnuResult, &QAction::triggered, this, [] { previousResultCommand(); });
    connect(mnuLogoMark, &QAction::triggered, this, [] { logoMarkCommand(); });
    connect(mnuMainColor, &QAction::triggered, this, [] { mainColorCommand(); });
    connect(mnuBack, &QAction::triggered, this, [] { countdownBackColorCommand(); });
    connect(mnuFore, &QAction::triggered, this, [] { countdownForeColorCommand(); });
    connect(mnuCondition, &QAction::triggered, this, [] { navigator().showConditionEditor(); });
    connect(mnuHelpContext_KeyWord[0], &QAction::triggered, this, [this] { mnuHelpContext_KeyWord_Click(0); });
    connect(mnuHelpContext_KeyWord[1], &QAction::triggered, this, [this] { mnuHelpContext_KeyWord_Click(1); });
    connect(mnuVersion, &QAction::triggered, this, [] { navigator().showVersionInfo(); });
}

void NARABIN::buildBars()
{
    Toolbar1 = new PositionToolbar(client(), {
        toolbarSeparator(),
        {false, QStringLiteral("document-new"), QStyle::SP_FileIcon, QStringLiteral(" 名簿の新規作成 ")},
        {false, QStringLiteral("document-open"), QStyle::SP_DialogOpenButton, QStringLiteral(" 名簿を開く ")},
        toolbarSeparator(),
        {false, QStringLiteral("edit-delete"), QStyle::SP_TrashIcon, QStringLiteral(" ﾌｧｲﾙの削除 ")},
        toolbarSeparator(),
        {false, QStringLiteral("document-properties"), QStyle::SP_FileDialogDetailedView, QStringLiteral(" 設定条件の変更 ")},
        {false, QStringLiteral("media-playback-start"), QStyle::SP_MediaPlay, QStringLiteral(" ならびん実行 ")},
        {false, QStringLiteral("application-exit"), QStyle::SP_DialogCloseButton, QStringLiteral(" 終了 ")},
        toolbarSeparator(),
        {false, QStringLiteral("help-about"), QStyle::SP_MessageBoxInformation, QStringLiteral(" ﾊﾞｰｼﾞｮﾝ情報 ")},
        {false, QStringLiteral("help-contents"), QStyle::SP_DialogHelpButton, QStringLiteral(" ﾍﾙﾌﾟ ")},
    });
    connect(Toolbar1, &PositionToolbar::buttonClicked, this, &NARABIN::Toolbar1_ButtonClick);
    Toolbar1->installEventFilter(this);

    StatusBar1 = new StatusPanels(client(), {{StatusPanels::Kind::Text, mainStatusText(), 0},
                                             {StatusPanels::Kind::Text, {}, 1350},
                                             {StatusPanels::Kind::Text, {}, 1350}});
    StatusBar1->installEventFilter(this);
}

void NARABIN::Form_Load()
{
    fixSize();
    // Other windows switch the commands through the state; a new main window starts afresh.
    connect(&mainWindowState(), &MainWindowState::changed, this, &NARABIN::followCommandState);
    mnuResult->setEnabled(state().ResultShown == 1);
    mainWindowState().startRosterState(state().ResultShown == 1);

    SharedState &s = state();
    // A log that cannot be read lists nothing; it is left as it is on disk. A huge log
    // edited by hand must not become a menu of countless items.
    const FieldsRead log = readResultLog(QDir::currentPath());
    for (const QString &entry : pastLogEntries(log.fields)) {
        s.RosterFileName = entry;
        UpdateMenu();
    }
    s.RosterFileName.clear();
}

void NARABIN::UpdateMenu()
{
    SharedState &s = state();
    mnuFileArray[0]->setVisible(true);
    ++s.LogMenuCount;
    const int index = s.LogMenuCount;
    QAction *item = mnuLog->addAction(s.RosterFileName);
    item->setObjectName(QStringLiteral("mnuFileArray_%1").arg(index));
    // The caption may hold "&"; show it as it is.
    item->setText(QString(s.RosterFileName).replace(QLatin1Char('&'), QLatin1String("&&")));
    item->setData(s.RosterFileName);
    mnuFileArray[index] = item;
    connect(item, &QAction::triggered, this, [index] { pastResultCommand(index); });
}

void NARABIN::followCommandState()
{
    const MainWindowState &commands = mainWindowState();
    const bool conditions = commands.conditionsMode();
    mnuFileCreate->setEnabled(!conditions);
    mnuFileOpen->setEnabled(!conditions);
    mnuCondition->setEnabled(conditions);
    mnuFileNarabin->setEnabled(conditions);
    Toolbar1->setButtonEnabled(2, !conditions);
    Toolbar1->setButtonEnabled(3, !conditions);
    Toolbar1->setButtonEnabled(7, conditions);
    Toolbar1->setButtonEnabled(8, conditions);
    if (commands.previousResultOn())
        mnuResult->setEnabled(true);
}

void NARABIN::colourLogo()
{
    const SharedState &s = state();
    for (QLabel *front : {Label1, Label5, Label6, Label7, Label9})
        setTextColor(front, qcolor(s.LogoColor));
    for (QLabel *shadow : {Label2_0, Label3, Label4, Label8, Label10})
        setTextColor(shadow, qcolor(s.LogoShadowColor));
    client()->update();
}

void NARABIN::Form_Activate()
{
    colourLogo();
    StatusBar1->showDateTime(2);
}

void NARABIN::Timer1_Timer()
{
    RefreshDateTime();
    StatusBar1->showDateTime(2);
}

void NARABIN::Toolbar1_ButtonClick(int position)
{
    switch (position) {
    case 2: mnuFileCreate->trigger(); break;
    case 3: mnuFileOpen->trigger(); break;
    case 5: mnuFileDelete->trigger(); break;
    case 7: mnuCondition->trigger(); break;
    case 8: mnuFileNarabin->trigger(); break;
    case 9: mnuEnd_Click(); break;
    case 11: navigator().showVersionInfo(); break;
    case 12: mnuHelpContext_KeyWord_Click(1); break;
    default: break;
    }
}

void NARABIN::mnuHelpContext_KeyWord_Click(int index)
{
    if (index == 0)
        callHelp(this, HELP_PARTIALKEY, 0);
    else
        callHelp(this, HELP_CONTENTS, 0);
}

namespace {
bool askQuit(QWidget *owner)
{
    return MsgBox(owner, QStringLiteral("「ならびん君 for Windows」 を 終了しますか？"), MsgStyle::OkCancel | MsgStyle::Question,
                  QStringLiteral("終了確認")) == IDOK;
}
} // namespace

void NARABIN::mnuEnd_Click()
{
    if (askQuit(this))
        platform().quitProgram();
}

void NARABIN::Form_QueryUnload(QCloseEvent *event)
{
    if (askQuit(this)) {
        event->accept();
        platform().quitProgram();
    } else {
        event->ignore();
    }
}

bool NARABIN::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        mnuEnd_Click();
        return true;
    }
    return FormWindow::eventFilter(watched, event);
}

