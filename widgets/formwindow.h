#pragma once

#include "widgets/formregistry.h"
#include "widgets/windowbars.h"

#include <QDialog>
#include <QMainWindow>
#include <QTimer>

#include <functional>

#include <QCloseEvent>

// What sets one large window's chrome apart; the window base builds the rest.
struct WindowChrome {
    std::vector<ToolbarItem> toolbar;
    std::vector<StatusPanels::Panel> statusPanels;
    int datePanel = 0;             // the date here, the clock in the next panel
    int helpContext = 0;           // the window's own help topic; 0: the contents
    const char *helpSeparator = ""; // the name of the help menu's separator
};

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
    // Shows the window without blocking, in front of the others.
    void bringToFront();
    // The date and clock panels from the shared texts.
    void showDateAndTime();
    // The status clock's tick: the texts recomputed and shown.
    void refreshDateAndTime();

    PositionToolbar *toolbar = nullptr;
    StatusPanels *statusPanels = nullptr;
    QTimer *statusClock = nullptr; // every 33 seconds for as long as the window exists
    QMenu *helpMenu = nullptr;
    QAction *topicSearchAction = nullptr; // F1: the keyword search
    QAction *windowHelpAction = nullptr;  // the window's topic, or the contents
    QAction *versionAction = nullptr;

protected:
    // After the window's own menus: the help menu, the toolbar, the status bar and
    // its clock, as `chrome` says; then the window takes its fixed size.
    void buildChrome(const WindowChrome &chrome);

    bool event(QEvent *e) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QWidget *client_;
    bool centred_ = false;
    int datePanel_ = 0;
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
