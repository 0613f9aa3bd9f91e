#include "widgets/formwindow.h"

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

QTimer *FormWindow::startStatusClock(std::function<void()> tick)
{
    auto *timer = new QTimer(this);
    timer->setObjectName(QStringLiteral("Timer1"));
    timer->setInterval(33000);
    connect(timer, &QTimer::timeout, this, std::move(tick));
    timer->start();
    return timer;
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
        Form_Activate();
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
        Form_Activate();
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
