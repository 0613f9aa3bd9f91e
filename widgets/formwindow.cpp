#include "widgets/formwindow.h"

#include "core/clock.h"
#include "platform/platform.h"
#include "widgets/menus.h"
#include "widgets/navigator.h"
#include "widgets/ui.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QPointer>
#include <QKeyEvent>
#include <QMenuBar>

FormWindow::FormWindow(const QString &title, QWidget *parent)
    : QMainWindow(parent), client_(new QWidget(this))
{
    setWindowTitle(title);
    client_->setObjectName(QStringLiteral("client"));
    client_->setFixedSize(tw(LargeClientWidthTwips), tw(LargeClientHeightTwips));
    setCentralWidget(client_);
    menuBar()->setNativeMenuBar(false);
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
    // Unloading hides the window first; that ends the modal wait too.
    class HideWatcher : public QObject {
    public:
        explicit HideWatcher(QEventLoop *l) : loop_(l) {}
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::Hide)
                loop_->quit();
            return false;
        }

    private:
        QEventLoop *loop_;
    } watcher(&loop);
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
    helpMenu = addMenu(this, "mnuHelp", QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    topicSearchAction =
        addItem(helpMenu, "mnuHelpContext_KeyWord_0", QStringLiteral("ﾄﾋﾟｯｸの検索(&H)"), QKeySequence(Qt::Key_F1));
    const int context = chrome.helpContext;
    windowHelpAction = addItem(helpMenu, "mnuHelpContext_KeyWord_1",
                               context ? QStringLiteral("当該ﾍﾙﾌﾟ(&C)") : QStringLiteral("目次(&C)"));
    addSeparator(helpMenu, chrome.helpSeparator);
    versionAction = addItem(helpMenu, "mnuVersion", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)..."));
    connect(topicSearchAction, &QAction::triggered, this, [this] { callHelp(this, HELP_PARTIALKEY, 0); });
    connect(windowHelpAction, &QAction::triggered, this, [this, context] {
        if (context)
            callHelp(this, HELP_CONTEXT, context);
        else
            callHelp(this, HELP_CONTENTS, 0);
    });
    connect(versionAction, &QAction::triggered, this, [] { navigator().showVersionInfo(); });

    toolbar = new PositionToolbar(client_, chrome.toolbar);
    statusPanels = new StatusPanels(client_, chrome.statusPanels);
    datePanel_ = chrome.datePanel;
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
