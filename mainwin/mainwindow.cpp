#include "mainwin/mainwindow.h"

#include "core/clock.h"
#include "core/gradient.h"
#include "core/product.h"
#include "core/resultlog.h"
#include "mainwin/appearance.h"
#include "mainwin/filemanagement.h"
#include "mainwin/logoimage.h"
#include "mainwin/pastresults.h"
#include "mainwin/seatrecordwindow.h"
#include "platform/platform.h"
#include "widgets/mainwindowstate.h"
#include "widgets/menus.h"
#include "widgets/navigator.h"
#include "widgets/ui.h"

#include <QBackingStore>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include <cmath>
#include <functional>

namespace
{

// The client area paints the gradient of the current preset, then what `over` paints.
class GradientClient : public QObject
{
public:
    GradientClient(QObject *parent, std::function<void(QPainter &)> over) : QObject(parent), over_(std::move(over)) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            auto *w = static_cast<QWidget *>(watched);
            QPainter painter(w);
            painter.scale(1.0 / 15, 1.0 / 15);
            const SharedState &s = state();
            for (const GradientBand &b :
                 gradientBands(s.GradientRed, s.GradientGreen, s.GradientBlue, w->height() * 15, w->width() * 15)) {
                painter.fillRect(QRect(QPoint(b.left, b.top), QPoint(b.right, b.bottom)),
                                 QColor(qBound(0, b.red, 255), qBound(0, b.green, 255), qBound(0, b.blue, 255)));
            }
            painter.resetTransform();
            over_(painter);
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void(QPainter &)> over_;
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

MainWindow::MainWindow() : FormWindow(QString::fromUtf8(product::Title), "NARABIN")
{
    fileDialog.title = QStringLiteral("名簿を開く");
    fileDialog.filter = QStringLiteral("名簿ﾌｧｲﾙ(*.MEM)|*.MEM|旧名簿ﾌｧｲﾙ(*.DAT)|*.DAT|すべてのﾌｧｲﾙ(*.*)|*.*");
    client()->installEventFilter(new GradientClient(this, [this](QPainter &painter) { paintLogo(painter); }));
    client()->installEventFilter(this);
    buildLogo();
    // Drawn in the current colours from the start; activation recolours them.
    colourLogo();
    showCachedLogo();
    buildMenus();
    const auto trigger = [](QAction *action) { return [action] { action->trigger(); }; };
    buildChrome({{{false, QStringLiteral("document-new"), QStyle::SP_FileIcon, QStringLiteral(" 名簿の新規作成 "),
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
                   [this] { quit(); }}},
                 mainStatusText(),
                 0,
                 0,
                 1350,
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
    for (QLabel *label : logoLabels()) {
        label->installEventFilter(this);
        logoRect_ |= label->geometry();
        const QFont font = label->font();
        logoLook_.texts << label->objectName() + u' ' + label->text() + u' ' + QString::number(label->x()) + u' ' +
                               QString::number(label->y()) + u' ' + QString::number(label->width()) + u' ' +
                               QString::number(label->height());
        logoLook_.faces << font.families().join(u',') + u' ' + QString::number(font.pointSizeF()) +
                               (font.bold() ? QStringLiteral(" bold") : QString());
    }
}

std::array<QLabel *, 10> MainWindow::logoLabels() const
{
    std::array<QLabel *, 10> labels{};
    std::copy(logoShadows.begin(), logoShadows.end(), labels.begin());
    std::copy(logoLetters.begin(), logoLetters.end(), labels.begin() + 5);
    return labels;
}

QByteArray MainWindow::logoKey() const
{
    LogoLook look = logoLook_;
    const SharedState &s = state();
    look.colours = {quint32(s.LogoColor), quint32(s.LogoShadowColor), quint32(s.GradientRed), quint32(s.GradientGreen),
                    quint32(s.GradientBlue)};
    look.size = logoRect_.size();
    look.pixelRatio = devicePixelRatioF();
    look.dotsPerInch = logicalDpiY();
    look.depth = screen() ? screen()->depth() : 0;
    return logoCacheKey(look);
}

void MainWindow::showCachedLogo()
{
    const std::array<QLabel *, 10> labels = logoLabels();
    logoLook_.fonts = installedFontsStamp();
    logoLook_.renderer = textRenderingStamp();
    const QByteArray key = logoKey();
    if (const std::optional<QByteArray> bytes = readLogoCache(key)) {
        if (const std::optional<LogoImage> logo = logoImageFromBytes(*bytes, qsizetype(labels.size()))) {
            for (size_t i = 0; i < labels.size(); ++i) {
                QFont font = labels[i]->font();
                font.setPointSizeF(logo->pointSizes[qsizetype(i)]);
                labels[i]->setFont(font);
            }
            logoImage_ = logo->image;
            logoImageKey_ = storedLogoKey_ = key;
            return;
        }
    }
    // A stand-in for a missing face may run wider than the one the places were measured with;
    // the lettering then shrinks, both layers alike, rather than being cut off.
    for (QLabel *label : labels)
        shrinkToFit(label);
}

void MainWindow::paintLogo(QPainter &painter)
{
    // On a screen of another pixel ratio the image would be scaled: the labels draw themselves.
    if (!logoImageKey_.isEmpty() && logoImage_.devicePixelRatio() != devicePixelRatioF()) {
        logoImage_ = QImage();
        logoImageKey_.clear();
    }
    if (!logoImageKey_.isEmpty()) {
        painter.drawImage(logoRect_.topLeft(), logoImage_);
        return;
    }
    // Drawn to whole device pixels only, an image is exactly what the labels draw.
    const qreal ratio = devicePixelRatioF();
    if (!logoStoreDue_ && ratio == std::floor(ratio) && storedLogoKey_ != logoKey()) {
        logoStoreDue_ = true;
        QTimer::singleShot(0, this, &MainWindow::storeLogo);
    }
}

void MainWindow::storeLogo()
{
    const QByteArray key = logoKey();
    const qreal ratio = devicePixelRatioF();
    // The format the window is drawn in, so that the image holds the very same pixels.
    QImage::Format format = QImage::Format_RGB32;
    if (QBackingStore *store = backingStore();
        store && store->paintDevice() && store->paintDevice()->devType() == QInternal::Image)
        format = static_cast<QImage *>(store->paintDevice())->format();
    LogoImage logo{QImage(logoRect_.size() * ratio, format), {}};
    logo.image.setDevicePixelRatio(ratio);
    logo.image.fill(Qt::black);
    client()->render(&logo.image, QPoint(), QRegion(logoRect_), QWidget::DrawChildren);
    for (QLabel *label : logoLabels())
        logo.pointSizes.append(label->font().pointSizeF());
    writeLogoCache(key, logoImageBytes(logo));
    storedLogoKey_ = key;
    logoStoreDue_ = false;
}

void MainWindow::buildMenus()
{
    const auto ctrl = [](Qt::Key key) { return QKeySequence(Qt::CTRL | key); };
    addMenu(this, "mnuFile", QStringLiteral("ﾌｧｲﾙ(&F)"),
            {{"mnuFileCreate", QStringLiteral("名簿の新規作成(&N)"), [] { navigator().newRoster(); }, &newRosterAction,
              ctrl(Qt::Key_N)},
             {"mnuFileOpen", QStringLiteral("名簿を開く(&O)..."), [this] { navigator().openRoster(fileDialog, this); },
              &openRosterAction, ctrl(Qt::Key_O)},
             {"mnuFileNarabin", QStringLiteral("ならびん実行(&G)"), [this] { navigator().runSeatChange(this); },
              &runAction, ctrl(Qt::Key_G)},
             {"mnuDummy7"},
             {"mnuEnd", QStringLiteral("ならびん君 の終了(&X)..."), [this] { quit(); }, &quitAction}});
    addMenu(this, "mnuDataManage", QStringLiteral("ﾃﾞｰﾀ管理(&M)"),
            {{"mnuFileCopy", QStringLiteral("ｺﾋﾟｰ(&C)..."), fileCopyCommand, &copyAction},
             {"mnuFileRename", QStringLiteral("名前の変更(&R)..."), fileRenameCommand, &renameAction},
             {"mnuBackup", QStringLiteral("ﾊﾞｯｸｱｯﾌﾟ(&B)..."), backupCommand, &backupAction},
             {"mnuDummy8"},
             {"mnuFileDelete", QStringLiteral("削除(&D)..."), fileDeleteCommand, &deleteAction}});
    pastResultsMenu = addMenu(this, "mnuLog", QStringLiteral("過去ﾛｸﾞ(&L)"),
                              {{"mnuResult", QStringLiteral("先程の結果(&R)"), previousResultCommand,
                                &previousResultAction, ctrl(Qt::Key_R)}});
    // The past results follow this separator, shown once there is one.
    pastResultItems[0] = addSeparator(pastResultsMenu, "mnuFileArray_0");
    pastResultItems[0]->setVisible(false);
    // The past results are put in before this separator, so the record stays last.
    pastResultsEnd = addSeparator(pastResultsMenu, "mnuDummySeatRecord");
    addItems(pastResultsMenu,
             {{"mnuSeatRecord", QStringLiteral("席の記録(&H)..."), seatRecordCommand, &seatRecordAction}});

    QMenu *optionMenu = addMenu(this, "mnuOption", QStringLiteral("ｵﾌﾟｼｮﾝ(&O)"));
    QMenu *initialSettingsMenu =
        addMenu(this, "mnuInitialEdit", QStringLiteral("初期設定(&I)"),
                {{"mnuLogoMark", QStringLiteral("ﾛｺﾞの表示(&L)"), logoMarkCommand, &splashAction},
                 {"mnuMainColor", QStringLiteral("ﾒｲﾝ画面の背景の選択(&S)..."), mainColorCommand, &backgroundAction}},
                optionMenu);
    splashAction->setCheckable(true);
    addMenu(this, "mnuCountColor", QStringLiteral("ｶｳﾝﾄﾀﾞｳﾝ画面の配色(&C)"),
            {{"mnuBack", QStringLiteral("背景色(&B)..."), countdownBackColorCommand, &countdownBackgroundAction},
             {"mnuFore", QStringLiteral("文字色(&F)..."), countdownForeColorCommand, &countdownTextAction}},
            initialSettingsMenu);
    addItems(initialSettingsMenu,
             {{"mnuDummyNoSame"},
              {"mnuNoSameSeat", QStringLiteral("前回と同じ席にしない(&P)"), noSameSeatCommand, &noSameSeatAction},
              {"mnuNoSameNeighbour", QStringLiteral("前回と同じ隣にしない(&N)"), noSameNeighbourCommand,
               &noSameNeighbourAction}});
    noSameSeatAction->setCheckable(true);
    noSameNeighbourAction->setCheckable(true);
    addItems(optionMenu, {{"mnuCondition", QStringLiteral("条件設定の変更(&C)"),
                           [] { navigator().showConditionEditor(); }, &conditionsAction, ctrl(Qt::Key_C)},
                          {"mnuRoomSettings", QStringLiteral("教室の設定(&R)..."),
                           [this] { navigator().editRoom(this); }, &roomAction}});
}

void MainWindow::onLoad()
{
    fixSize();
    // Other windows switch the commands through the state; a new main window starts afresh.
    connect(&mainWindowState(), &MainWindowState::changed, this, &MainWindow::followCommandState);
    previousResultAction->setEnabled(state().ResultShown);
    splashAction->setChecked(state().OptLogo);
    noSameSeatAction->setChecked(state().OptNoSameSeat);
    noSameNeighbourAction->setChecked(state().OptNoSameNeighbour);
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
    auto *item = new QAction(QString(fileName).replace(QLatin1Char('&'), QLatin1String("&&")), pastResultsMenu);
    pastResultsMenu->insertAction(pastResultsEnd, item);
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
    // The image shows other colours: the labels draw themselves in the new ones.
    if (!logoImageKey_.isEmpty() && logoImageKey_ != logoKey()) {
        logoImage_ = QImage();
        logoImageKey_.clear();
    }
    client()->update();
}

void MainWindow::onActivate()
{
    colourLogo();
    showDateAndTime();
}

namespace
{
bool askQuit(QWidget *owner)
{
    return showMessage(owner, QStringLiteral("「ならびん君 for Windows」 を 終了しますか？"),
                       MsgStyle::OkCancel | MsgStyle::Question, QStringLiteral("終了確認")) == IDOK;
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
    // While the logo's image stands in for its labels, they draw nothing.
    if (event->type() == QEvent::Paint && !logoImageKey_.isEmpty()) {
        const std::array<QLabel *, 10> labels = logoLabels();
        if (std::find(labels.begin(), labels.end(), watched) != labels.end())
            return true;
    }
    if (event->type() == QEvent::MouseButtonDblClick) {
        quit();
        return true;
    }
    return FormWindow::eventFilter(watched, event);
}
