#pragma once

#include "widgets/formregistry.h"

#include <QDialog>
#include <QMainWindow>
#include <QTimer>

#include <functional>

#include <QCloseEvent>

// A large program window: a menu bar over a fixed client area (635 x 437 pixels,
// 9525 x 6555 twips) that holds the controls at their table places; the toolbar
// and status bar are children of the client area, docked over its edges.
class FormWindow : public QMainWindow, public Form {
    Q_OBJECT
public:
    explicit FormWindow(const QString &title, QWidget *parent = nullptr);
    QWidget *client() const { return client_; }
    // The window's fixed size once its menu bar is filled.
    void fixSize();
    // Shows the window modally and returns once it is closed or unloaded.
    void showModal();

protected:
    // The status-bar clock `Timer1`: `tick` every 33 seconds for as long as the window exists.
    QTimer *startStatusClock(std::function<void()> tick);

    bool event(QEvent *e) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QWidget *client_;
    bool centred_ = false;
};

// A small window with a fixed client area of the table's size in twips. Escape
// does not close it (no cancel key is bound); the window manager's close does.
class FormDialog : public QDialog, public Form {
    Q_OBJECT
public:
    FormDialog(const QString &title, int clientWidthTwips, int clientHeightTwips, QWidget *parent = nullptr);

    void reject() override; // routed through the close handler

protected:
    bool event(QEvent *e) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

// The client area size of the large windows, in twips.
inline constexpr int LargeClientWidthTwips = 9525;
inline constexpr int LargeClientHeightTwips = 6555;
