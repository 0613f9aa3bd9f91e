#pragma once

#include "widgets/formwindow.h"
#include "widgets/windowbars.h"
#include "widgets/commondialog.h"

#include <QAction>
#include <QMenu>
#include <QTimer>

#include <array>
#include <map>

class QLabel;

// The main window: logo on a gradient, the menus every command starts from.
class NARABIN : public FormWindow {
    Q_OBJECT
public:
    NARABIN();

    void Form_Load() override;
    void Form_Activate() override;
    void Timer1_Timer();
    // Adds one past-log item captioned with RosterFileName.
    void UpdateMenu();
    // Asks the quit question; OK ends the program.
    void mnuEnd_Click();
    void Toolbar1_ButtonClick(int position);
    void mnuHelpContext_KeyWord_Click(int index);
    // Recolours the logo and repaints the gradient from the shared state's current preset.
    void colourLogo();
    // Switches the commands as the main-window state says.
    void followCommandState();

    // Logo labels: front layer and its shadow.
    QLabel *Label1, *Label5, *Label7, *Label6, *Label9;
    QLabel *Label2_0, *Label3, *Label4, *Label8, *Label10;
    PositionToolbar *Toolbar1;
    StatusPanels *StatusBar1;
    QTimer *Timer1;
    CommonDialog CommonDialog1;

    QMenu *mnuFile;
    QAction *mnuFileCreate, *mnuFileOpen, *mnuFileNarabin, *mnuDummy7, *mnuEnd;
    QMenu *mnuDataManage;
    QAction *mnuFileCopy, *mnuFileRename, *mnuBackup, *mnuDummy8, *mnuFileDelete;
    QMenu *mnuLog;
    QAction *mnuResult;
    std::map<int, QAction *> mnuFileArray; // element 0 is the separator
    QMenu *mnuOption, *mnuInitialEdit, *mnuCountColor;
    QAction *mnuLogoMark, *mnuMainColor, *mnuBack, *mnuFore, *mnuCondition;
    QMenu *mnuHelp;
    std::array<QAction *, 2> mnuHelpContext_KeyWord;
    QAction *mnudummy5, *mnuVersion;

protected:
    void Form_QueryUnload(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLogo();
    void buildMenus();
    void buildBars();
};

// The fixed instruction in the main window's status bar.
QString mainStatusText();
