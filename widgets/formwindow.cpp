#include "widgets/formwindow.h"

#include "core/clock.h"
#include "platform/platform.h"
#include "widgets/menus.h"
#include "widgets/navigator.h"
#include "widgets/ui.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>

FormWindow::FormWindow(const QString &title, const char *objectName, const QColor &background)
    : client_(new QWidget(this))
{
    setWindowTitle(title);
    setObjectName(QString::fromLatin1(objectName));
    if (background.isValid())
        setBackgroundColor(client_, background);
    client_->setObjectName(QStringLiteral("client"));
    client_->setFixedSize(tw(LargeClientWidthTwips), tw(LargeClientHeightTwips));
    setCentralWidget(client_);
    menuBar()->setNativeMenuBar(false);
    // F10 reaches the menus as on Windows, GNOME and KDE, also those whose title has no
    // access key.
    connect(new QShortcut(QKeySequence(Qt::Key_F10), this), &QShortcut::activated, this, &FormWindow::openFirstMenu);
    // Shift+F10 opens the focused control's context menu, as the Menu key does; Qt on
    // Linux leaves that key to the program.
    connect(new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), this), &QShortcut::activated, this,
            &FormWindow::openContextMenu);
}

void FormWindow::openContextMenu()
{
    QWidget *target = focusWidget();
    if (!target || !target->isEnabled())
        return;
    // Where Qt opens it for the Menu key: at the text cursor, else the widget's middle.
    const QPoint at = target->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
    QContextMenuEvent event(QContextMenuEvent::Keyboard, at, target->mapToGlobal(at));
    QCoreApplication::sendEvent(target, &event);
}

void FormWindow::openFirstMenu()
{
    for (QAction *title : menuBar()->actions()) {
        if (openMenu(title))
            return;
    }
}

bool FormWindow::openMenu(QAction *title)
{
    QMenu *menu = title->menu();
    if (!menu || !title->isVisible() || !title->isEnabled())
        return false;
    menuBar()->setActiveAction(title);
    for (QAction *item : menu->actions()) {
        if (!item->isSeparator() && item->isVisible() && item->isEnabled()) {
            menu->setActiveAction(item);
            break;
        }
    }
    return true;
}

void FormWindow::bindBracketedKeys()
{
    // A title such as "ﾌｧｲﾙ(F)" names its key without marking it; Alt with that key opens
    // it as a marked one would, the title keeping its text.
    for (QAction *title : menuBar()->actions()) {
        const QString text = title->text();
        const qsizetype n = text.size();
        if (text.contains(QLatin1Char('&')) || n < 3 || text.at(n - 3) != u'(' || text.at(n - 1) != u')' ||
            text.at(n - 2) < u'A' || text.at(n - 2) > u'Z')
            continue;
        const auto letter = Qt::Key(Qt::Key_A + (text.at(n - 2).unicode() - u'A'));
        connect(new QShortcut(QKeySequence(Qt::ALT | letter), this), &QShortcut::activated, this,
                [this, title] { openMenu(title); });
    }
}

void FormWindow::fixSize()
{
    const int menuHeight = menuBar()->sizeHint().height();
    setFixedSize(client_->width(), client_->height() + menuHeight);
}

void FormWindow::showModal()
{
    QPointer<FormWindow> self(this);
    setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
    // Unloading hides the window first; that ends the modal wait too. Minimising sends a
    // Hide as well, but leaves the window open and modal: it must not end the wait.
    class HideWatcher : public QObject
    {
    public:
        HideWatcher(QWidget *w, QEventLoop *l) : window_(w), loop_(l) {}
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::Hide && window_->isHidden())
                loop_->quit();
            return false;
        }

    private:
        QWidget *window_;
        QEventLoop *loop_;
    } watcher(this, &loop);
    installEventFilter(&watcher);
    show();
    activateWindow();
    if (isVisible())
        loop.exec();
    if (self) {
        removeEventFilter(&watcher);
        setWindowModality(Qt::NonModal);
    }
}

void FormWindow::buildChrome(const WindowChrome &chrome)
{
    const int context = chrome.helpContext;
    const auto windowHelp = [this, context] {
        if (context)
            callHelp(this, HELP_CONTEXT, context);
        else
            callHelp(this, HELP_CONTENTS, 0);
    };
    helpMenu = addMenu(
        this, "mnuHelp", QStringLiteral("ﾍﾙﾌﾟ(&H)"),
        {{"mnuHelpContext_KeyWord_0", QStringLiteral("ﾄﾋﾟｯｸの検索(&H)"), [this] { callHelp(this, HELP_PARTIALKEY, 0); },
          &topicSearchAction, QKeySequence(Qt::Key_F1)},
         {"mnuHelpContext_KeyWord_1", context ? QStringLiteral("当該ﾍﾙﾌﾟ(&C)") : QStringLiteral("目次(&C)"), windowHelp,
          &windowHelpAction},
         {chrome.helpSeparator},
         {"mnuVersion", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)..."), [] { navigator().showVersionInfo(); }, &versionAction}});

    std::vector<ToolbarItem> buttons{toolbarSeparator()};
    buttons.insert(buttons.end(), chrome.commands.cbegin(), chrome.commands.cend());
    buttons.push_back(toolbarSeparator());
    buttons.push_back({false, QStringLiteral("help-about"), QStyle::SP_MessageBoxInformation,
                       QStringLiteral(" ﾊﾞｰｼﾞｮﾝ情報 "), [this] { versionAction->trigger(); }});
    buttons.push_back({false, QStringLiteral("help-contents"), QStyle::SP_DialogHelpButton,
                       context ? QStringLiteral(" 当該ﾍﾙﾌﾟ ") : QStringLiteral(" ﾍﾙﾌﾟ "),
                       [this] { windowHelpAction->trigger(); }});
    toolbar = new PositionToolbar(client_, buttons);
    bindBracketedKeys();

    std::vector<StatusPanels::Panel> panels{{StatusPanels::Kind::Text, chrome.instruction, chrome.instructionTwips}};
    if (chrome.keyPanelTwips > 0) {
        panels.push_back({StatusPanels::Kind::Caps, {}, chrome.keyPanelTwips});
        panels.push_back({StatusPanels::Kind::Ins, {}, chrome.keyPanelTwips});
    }
    datePanel_ = int(panels.size()) + 1;
    // Wide enough for any date and time the clock shows.
    const QLocale locale;
    const QStringList samples{todayText(QDate(2000, 12, 31)), clockText(QTime(0, 0), locale),
                              clockText(QTime(23, 59), locale)};
    panels.push_back({StatusPanels::Kind::Text, {}, chrome.clockPanelTwips, samples});
    panels.push_back({StatusPanels::Kind::Text, {}, chrome.clockPanelTwips, samples});
    statusPanels = new StatusPanels(client_, panels);
    statusClock = new QTimer(this);
    statusClock->setObjectName(QStringLiteral("Timer1"));
    statusClock->setInterval(33000);
    connect(statusClock, &QTimer::timeout, this, &FormWindow::refreshDateAndTime);
    statusClock->start();
    fixSize();
}

void FormWindow::bringToFront()
{
    // A window already open may lie behind others; a new one comes up in front anyway.
    if (isVisible())
        raise();
    show();
    activateWindow();
}

void FormWindow::showDateAndTime()
{
    statusPanels->showDateTime(datePanel_);
}

void FormWindow::refreshDateAndTime()
{
    refreshDateTime();
    showDateAndTime();
}

void FormWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!centred_) {
        centred_ = true;
        centreOnScreen(this);
    }
}

bool FormWindow::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate)
        onActivate();
    return QMainWindow::event(e);
}

void FormWindow::closeEvent(QCloseEvent *event)
{
    handleCloseEvent(event);
}

FormDialog::FormDialog(const QString &title, int clientWidthTwips, int clientHeightTwips, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(title);
    setFixedSize(tw(clientWidthTwips), tw(clientHeightTwips));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

void FormDialog::reject()
{
    close();
}

bool FormDialog::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate)
        onActivate();
    return QDialog::event(e);
}

void FormDialog::closeEvent(QCloseEvent *event)
{
    handleCloseEvent(event);
}

void FormDialog::keyPressEvent(QKeyEvent *event)
{
    // No default or cancel button: Enter and Escape go to the focused control only.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

ButtonRowDialog::ButtonRowDialog(const QString &title, const char *objectName, QSize clientTwips,
                                 const LabelDef &instructionDef, int helpContext)
    : FormDialog(title, clientTwips.width(), clientTwips.height()), helpContext_(helpContext)
{
    setObjectName(QString::fromLatin1(objectName));
    setBackgroundColor(this, rgb(128, 128, 128));
    instruction = makeLabel(this, instructionDef);
    // Inside the dialog with the margin it has on the left, however wide its table place.
    const int room = width() - 2 * instruction->x();
    if (instruction->width() > room)
        instruction->resize(room, instruction->height());
    shrinkToFit(instruction);
}

void ButtonRowDialog::addButtonRow()
{
    buttons = makeCommandButtons(this);
    for (int i = 0; i < int(buttons.size()); ++i)
        connect(buttons[size_t(i)], &QPushButton::clicked, this, [this, i] { buttonClicked(i); });
}

void ButtonRowDialog::buttonClicked(int index)
{
    switch (index) {
    case 0: okClicked(); break;
    case 1: unloadSelf(); break;
    case 2: callHelp(this, HELP_CONTEXT, helpContext_); break;
    default: break;
    }
}
