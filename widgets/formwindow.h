#pragma once

#include "widgets/formregistry.h"
#include "widgets/ui.h"
#include "widgets/windowbars.h"

#include <QDialog>
#include <QMainWindow>
#include <QTimer>

#include <functional>

#include <QCloseEvent>

// What sets one large window's chrome apart; the window base builds the rest: the
// toolbar starts with a separator and ends with one, the version button and the help
// button; the status bar is the instruction, the key-state panels where the window has
// them, the date and the clock.
struct WindowChrome {
    std::vector<ToolbarItem> commands; // the window's own buttons and separators
    QString instruction;               // the first status panel
    int instructionTwips = 0;          // its width; 0: the room the others leave
    int keyPanelTwips = 0;             // CAPS and INS panels this wide; 0: none
    int clockPanelTwips = 0;           // the date and clock panels
    int helpContext = 0;               // the window's own help topic; 0: the contents
    const char *helpSeparator = "";    // the name of the help menu's separator
};

// A large program window: a menu bar over a fixed client area (635 x 437 pixels,
// 9525 x 6555 twips) that holds the controls at their table places; the toolbar
// and status bar are children of the client area, docked over its edges.
class FormWindow : public QMainWindow, public Form
{
    Q_OBJECT
public:
    // `background` fills the client area; an invalid colour leaves it to the window.
    FormWindow(const QString &title, const char *objectName, const QColor &background = {});
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
    // Opens the menu bar's first menu with its first command that can be chosen
    // highlighted, as F10 does.
    void openFirstMenu();

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
    void openContextMenu();
    // Opens a menu of the menu bar with its first command that can be chosen highlighted;
    // false when that menu cannot be opened.
    bool openMenu(QAction *title);
    void bindBracketedKeys();

    QWidget *client_;
    bool centred_ = false;
    int datePanel_ = 0;
};

// A small window with a fixed client area of the table's size in twips. Escape
// does not close it (no cancel key is bound); the window manager's close does.
class FormDialog : public QDialog, public Form
{
    Q_OBJECT
public:
    FormDialog(const QString &title, int clientWidthTwips, int clientHeightTwips, QWidget *parent = nullptr);

    void reject() override; // routed through the close handler

protected:
    bool event(QEvent *e) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

// A small dialog of the program: grey, an instruction at the top (inside the dialog,
// shrunk until it fits there), and the OK / キャンセル / ヘルプ row. OK does what the dialog is for,
// キャンセル closes it, ヘルプ shows its help topic.
class ButtonRowDialog : public FormDialog
{
    Q_OBJECT
public:
    ButtonRowDialog(const QString &title, const char *objectName, QSize clientTwips, const LabelDef &instruction,
                    int helpContext);

    // 0 OK, 1 キャンセル, 2 ヘルプ.
    void buttonClicked(int index);

    QLabel *instruction = nullptr;
    std::array<QPushButton *, 3> buttons{};

protected:
    // After the dialog's own controls, so that the buttons come last in the tab order.
    void addButtonRow();
    virtual void okClicked() = 0;

private:
    int helpContext_;
};

// The client area size of the large windows, in twips.
inline constexpr int LargeClientWidthTwips = 9525;
inline constexpr int LargeClientHeightTwips = 6555;
