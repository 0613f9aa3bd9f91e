#pragma once

#include "widgets/formwindow.h"
#include "widgets/windowbars.h"
#include "widgets/commondialog.h"

#include <QAction>
#include <QHash>
#include <QMenu>
#include <QTimer>

#include <array>

class QLabel;
class QLineEdit;

// The roster editor: one name box per seat of the classroom.
class TOUROKU : public FormWindow {
    Q_OBJECT
public:
    TOUROKU();

    void Form_Load() override;
    void Timer1_Timer();
    void Toolbar1_ButtonClick(int position);
    // Register: checks the names, saves them as a roster file, moves on to the conditions.
    void mnuNewFile_Click();
    // Leaves the editor, asking first when something would be lost. False when it did
    // nothing (nothing to ask about).
    bool mnuCancel_Click();
    void mnuHelpContext_KeyWord_Click(int index);
    void mnuVersion_Click();
    void Text1_Change(int index);
    void Text1_GotFocus(int index);
    void Text1_LostFocus(int index);

    // The box texts, seat 1 first.
    QStringList boxTexts() const;

    std::array<QLineEdit *, 28> Text1{};
    std::array<QLabel *, 28> Label1{};
    QLabel *Label3 = nullptr;
    PositionToolbar *Toolbar1 = nullptr;
    StatusPanels *StatusBar1 = nullptr;
    QTimer *Timer1 = nullptr;
    CommonDialog CommonDialog1;
    // How the opened roster file spells its names, kept when they are saved again.
    QHash<QString, QByteArray> RosterSpellings;

    QMenu *mnuFile = nullptr;
    QAction *mnuNewFile = nullptr, *mnuCancel = nullptr;
    QMenu *mnuHelp = nullptr;
    std::array<QAction *, 2> mnuHelpContext_KeyWord{};
    QAction *mnuDummy2 = nullptr, *mnuVersion = nullptr;

protected:
    // The window's close button runs the close command.
    void Form_QueryUnload(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildSeats();
    void buildMenus();
    void buildBars();
    // Saves the collected names; false when nothing was written.
    bool saveRoster(const QStringList &names);
    // Closes the editor and moves on to the seat conditions.
    void closeAndShowConditions();
};

// Colours of the name boxes.
inline constexpr QRgb NameBoxColor = 0xFF00C000;        // RGB(0, 192, 0)
inline constexpr QRgb NameBoxFocusColor = 0xFFC0FFC0;   // RGB(192, 255, 192)
