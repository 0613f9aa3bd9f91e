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

MainWindow::MainWindow()
    : FormWindow(QString::fromUtf8(product::Title))
{
    setObjectName(QStringLiteral("NARABIN"));
    fileDialog.title = QStringLiteral("名簿を開く");
    fileDialog.filter = QStringLiteral("名簿ﾌｧｲﾙ(*.MEM)|*.MEM|旧名簿ﾌｧｲﾙ(*.DAT)|*.DAT|すべてのﾌｧｲﾙ(*.*)|*.*");
    client()->installEventFilter(new GradientClient(this));
    client()->installEventFilter(this);
    buildLogo();
    // Drawn in the current colours from the start; activation recolours them.
    colourLogo();
    buildMenus();
    const auto trigger = [](QAction *action) { return [action] { action->trigger(); }; };
    buildChrome({{
                     toolbarSeparator(),
                     {false, QStringLiteral("document-new"), QStyle::SP_FileIcon, QStringLiteral(" 名簿の新規作成 "),
                      trigger(newRosterAction)},
                     {false, QStringLiteral("document-open"), QStyle::SP_DialogOpenButton, QStringLiteral(" 名簿を開く "),
                      trigger(openRosterAction)},
                     toolbarSeparator(),
                     {false, QStringLiteral("edit-delete"), QStyle::SP_TrashIcon, QStringLiteral(" ﾌｧｲﾙの削除 "),
                      trigger(deleteAction)},
                     toolbarSeparator(),
                     {false, QStringLiteral("document-properties"), QStyle::SP_FileDialogDetailedView,
                      QStringLiteral(" 設定条件の変更 "), trigger(conditionsAction)},
                     {false, QStringLiteral("media-playback-start"), QStyle::SP_MediaPlay,
                      QStringLiteral(" ならびん実行 "), trigger(runAction)},
                     {false, QStringLiteral("application-exit"), QStyle::SP_DialogCloseButton, QStringLiteral(" 終了 "),
                      [this] { quit(); }},
                     toolbarSeparator(),
                     {false, QStringLiteral("help-about"), QStyle::SP_MessageBoxInformation,
                      QStringLiteral(" ﾊﾞｰｼﾞｮﾝ情報 "), [this] { versionAction->trigger(); }},
                     {false, QStringLiteral("help-contents"), QStyle::SP_DialogHelpButton, QStringLiteral(" ﾍﾙﾌﾟ "),
                      [this] { windowHelpAction->trigger(); }},
                 },
                 {{StatusPanels::Kind::Text, mainStatusText(), 0},
                  {StatusPanels::Kind::Text, {}, 1350},
                  {StatusPanels::Kind::Text, {}, 1350}},
                 2,
                 0,
                 "mnudummy5"});
    // A double click on the bars ends the program too, as on the logo.
    toolbar->installEventFilter(this);
    statusPanels->installEventFilter(this);
}

void MainWindow::buildLogo()
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
    logoLetters = fronts;
    logoShadows = shadows;
    for (QLabel *label : fronts)
        label->installEventFilter(this);
    for (QLabel *label : shadows)
        label->installEventFilter(this);
}

void MainWindow::buildMenus()
{
    fileMenu = addMenu(this, "mnuFile", QStringLiteral("ﾌｧｲﾙ(&F)"));
    newRosterAction = addItem(fileMenu, "mnuFileCreate", QStringLiteral("名簿の新規作成(&N)"), QKeySequence(Qt::CTRL | Qt::Key_N));
    openRosterAction = addItem(fileMenu, "mnuFileOpen", QStringLiteral("名簿を開く(&O)..."), QKeySequence(Qt::CTRL | Qt::Key_O));
    runAction = addItem(fileMenu, "mnuFileNarabin", QStringLiteral("ならびん実行(&G)"), QKeySequence(Qt::CTRL | Qt::Key_G));
    addSeparator(fileMenu, "mnuDummy7");
    quitAction = addItem(fileMenu, "mnuEnd", QStringLiteral("ならびん君 の終了(&X)..."));

    dataMenu = addMenu(this, "mnuDataManage", QStringLiteral("ﾃﾞｰﾀ管理(&M)"));
    copyAction = addItem(dataMenu, "mnuFileCopy", QStringLiteral("ｺﾋﾟｰ(&C)..."));
    renameAction = addItem(dataMenu, "mnuFileRename", QStringLiteral("名前の変更(&R)..."));
    backupAction = addItem(dataMenu, "mnuBackup", QStringLiteral("ﾊﾞｯｸｱｯﾌﾟ(&B)..."));
    addSeparator(dataMenu, "mnuDummy8");
    deleteAction = addItem(dataMenu, "mnuFileDelete", QStringLiteral("削除(&D)..."));

    pastResultsMenu = addMenu(this, "mnuLog", QStringLiteral("過去ﾛｸﾞ(&L)"));
    previousResultAction = addItem(pastResultsMenu, "mnuResult", QStringLiteral("先程の結果(&R)"), QKeySequence(Qt::CTRL | Qt::Key_R));
    QAction *separator = addSeparator(pastResultsMenu, "mnuFileArray_0");
    separator->setVisible(false);
    pastResultItems[0] = separator;

    optionMenu = addMenu(this, "mnuOption", QStringLiteral("ｵﾌﾟｼｮﾝ(&O)"));
    initialSettingsMenu = addMenu(this, "mnuInitialEdit", QStringLiteral("初期設定(&I)"), optionMenu);
    splashAction = addItem(initialSettingsMenu, "mnuLogoMark", QStringLiteral("ﾛｺﾞの表示(&L)"));
    splashAction->setCheckable(true);
    backgroundAction = addItem(initialSettingsMenu, "mnuMainColor", QStringLiteral("ﾒｲﾝ画面の背景の選択(&S)..."));
    countdownColourMenu = addMenu(this, "mnuCountColor", QStringLiteral("ｶｳﾝﾄﾀﾞｳﾝ画面の配色(&C)"), initialSettingsMenu);
    countdownBackgroundAction = addItem(countdownColourMenu, "mnuBack", QStringLiteral("背景色(&B)..."));
    countdownTextAction = addItem(countdownColourMenu, "mnuFore", QStringLiteral("文字色(&F)..."));
    conditionsAction = addItem(optionMenu, "mnuCondition", QStringLiteral("条件設定の変更(&C)"), QKeySequence(Qt::CTRL | Qt::Key_C));

    connect(newRosterAction, &QAction::triggered, this, [] { navigator().newRoster(); });
    connect(openRosterAction, &QAction::triggered, this, [this] { navigator().openRoster(fileDialog, this); });
    connect(runAction, &QAction::triggered, this, [this] { navigator().runSeatChange(this); });
    connect(quitAction, &QAction::triggered, this, &MainWindow::quit);
    connect(copyAction, &QAction::triggered, this, [] { fileCopyCommand(); });
    connect(renameAction, &QAction::triggered, this, [] { fileRenameCommand(); });
    connect(backupAction, &QAction::triggered, this, [] { backupCommand(); });
    connect(deleteAction, &QAction::triggered, this, [] { fileDeleteCommand(); });
    connect(previousResultAction, &QAction::triggered, this, [] { previousResultCommand(); });
    connect(splashAction, &QAction::triggered, this, [] { logoMarkCommand(); });
    connect(backgroundAction, &QAction::triggered, this, [] { mainColorCommand(); });
    connect(countdownBackgroundAction, &QAction::triggered, this, [] { countdownBackColorCommand(); });
    connect(countdownTextAction, &QAction::triggered, this, [] { countdownForeColorCommand(); });
    connect(conditionsAction, &QAction::triggered, this, [] { navigator().showConditionEditor(); });
}

void MainWindow::onLoad()
{
    fixSize();
    // Other windows switch the commands through the state; a new main window starts afresh.
    connect(&mainWindowState(), &MainWindowState::changed, this, &MainWindow::followCommandState);
    previousResultAction->setEnabled(state().ResultShown);
    mainWindowState().startRosterState(state().ResultShown);

    SharedState &s = state();
    // A log that cannot be read lists nothing; it is left as it is on disk. A huge log
    // edited by hand must not become a menu of countless items.
    const FieldsRead log = readResultLog(QDir::currentPath());
    for (const QString &entry : pastLogEntries(log.fields))
        addPastResultItem(entry);
    s.RosterFileName.clear();
}

void MainWindow::addPastResultItem(const QString &fileName)
{
    SharedState &s = state();
    pastResultItems[0]->setVisible(true);
    ++s.LogMenuCount;
    const int index = s.LogMenuCount;
    // The caption may hold "&"; show it as it is.
    QAction *item = pastResultsMenu->addAction(QString(fileName).replace(QLatin1Char('&'), QLatin1String("&&")));
    item->setObjectName(QStringLiteral("mnuFileArray_%1").arg(index));
    item->setData(fileName);
    pastResultItems[index] = item;
    connect(item, &QAction::triggered, this, [index] { pastResultCommand(index); });
}

void MainWindow::followCommandState()
{
    const MainWindowState &commands = mainWindowState();
    const bool conditions = commands.conditionsMode();
    newRosterAction->setEnabled(!conditions);
    openRosterAction->setEnabled(!conditions);
    conditionsAction->setEnabled(conditions);
    runAction->setEnabled(conditions);
    toolbar->setButtonEnabled(2, !conditions);
    toolbar->setButtonEnabled(3, !conditions);
    toolbar->setButtonEnabled(7, conditions);
    toolbar->setButtonEnabled(8, conditions);
    if (commands.previousResultOn())
        previousResultAction->setEnabled(true);
}

void MainWindow::colourLogo()
{
    const SharedState &s = state();
    for (QLabel *front : logoLetters)
        setTextColor(front, qcolor(s.LogoColor));
    for (QLabel *shadow : logoShadows)
        setTextColor(shadow, qcolor(s.LogoShadowColor));
    client()->update();
}

void MainWindow::onActivate()
{
    colourLogo();
    showDateAndTime();
}

namespace {
bool askQuit(QWidget *owner)
{
    return showMessage(owner, QStringLiteral("「ならびん君 for Windows」 を 終了しますか？"), MsgStyle::OkCancel | MsgStyle::Question,
                  QStringLiteral("終了確認")) == IDOK;
}
} // namespace

void MainWindow::quit()
{
    if (askQuit(this))
        platform().quitProgram();
}

void MainWindow::onCloseRequest(QCloseEvent *event)
{
    if (askQuit(this)) {
        event->accept();
        platform().quitProgram();
    } else {
        event->ignore();
    }
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        quit();
        return true;
    }
    return FormWindow::eventFilter(watched, event);
}

