#pragma once

#include "core/logocache.h"
#include "widgets/commondialog.h"
#include "widgets/formwindow.h"

#include <QAction>
#include <QImage>
#include <QMenu>

#include <array>
#include <map>

class QLabel;

// The main window: logo on a gradient, the menus every command starts from.
class MainWindow : public FormWindow
{
    Q_OBJECT
public:
    MainWindow();

    void onLoad() override;
    void onActivate() override;
    // Adds one item to the past-results menu.
    void addPastResultItem(const QString &fileName);
    // Asks the quit question; OK ends the program.
    void quit();
    // Recolours the logo and repaints the gradient from the shared state's current preset.
    void colourLogo();
    // Switches the commands as the main-window state says.
    void followCommandState();

    // The logo's lettering and, under it, its shadow: "ならびん", "君", the platform
    // line, the notice and the author.
    std::array<QLabel *, 5> logoLetters{};
    std::array<QLabel *, 5> logoShadows{};
    CommonDialog fileDialog;

    // The items of the file, data, past-results and option menus.
    QAction *newRosterAction = nullptr, *openRosterAction = nullptr, *runAction = nullptr, *quitAction = nullptr;
    QAction *copyAction = nullptr, *renameAction = nullptr, *backupAction = nullptr, *deleteAction = nullptr;
    QMenu *pastResultsMenu = nullptr;
    QAction *previousResultAction = nullptr;
    std::map<int, QAction *> pastResultItems; // element 0 is the separator before them
    QAction *pastResultsEnd = nullptr;        // the separator after them
    QAction *splashAction = nullptr, *backgroundAction = nullptr, *conditionsAction = nullptr;
    QAction *countdownBackgroundAction = nullptr, *countdownTextAction = nullptr;
    // Checked: a run keeps pupils off their previous seat, and apart from their previous neighbours.
    QAction *noSameSeatAction = nullptr, *noSameNeighbourAction = nullptr;
    QAction *seatRecordAction = nullptr;
    QAction *roomAction = nullptr; // 教室の設定 of the open class

protected:
    void onCloseRequest(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLogo();
    void buildMenus();
    // The labels of the logo, shadows first.
    std::array<QLabel *, 10> logoLabels() const;
    QByteArray logoKey() const;
    // Shows the cached image of the logo in place of its labels; without one the labels are
    // fitted to the faces at hand and draw themselves.
    void showCachedLogo();
    void paintLogo(QPainter &painter);
    // Draws the labels once into an image and keeps it in the cache for the next start-up.
    void storeLogo();

    LogoLook logoLook_; // what the key is made of, the colours and the display aside
    QRect logoRect_;
    QImage logoImage_;
    QByteArray logoImageKey_; // empty: no image shown, the labels draw themselves
    QByteArray storedLogoKey_;
    bool logoStoreDue_ = false;
};

// The fixed instruction in the main window's status bar.
QString mainStatusText();
