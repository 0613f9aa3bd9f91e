#include "mainwin/appearance.h"

#include "core/colors.h"
#include "core/countdowncolours.h"
#include "core/settings.h"
#include "core/sharedstate.h"
#include "mainwin/maincolordialog.h"
#include "mainwin/mainwindow.h"
#include "platform/platform.h"
#include "widgets/storesetting.h"

namespace
{

// One of the countdown window's two colours: the one edited and the one it must differ from.
struct CountdownColour {
    QString SharedState::*edited;
    QString SharedState::*other;
    const char *key;
};

void chooseColour(const CountdownColour &which)
{
    MainWindow *main = form<MainWindow>();
    SharedState &s = state();
    CommonDialog &dialog = main->fileDialog;
    dialog.color = colorFromText(s.*which.edited).value_or(0);
    if (!dialog.showColor(main))
        return;
    const CountdownColourChoice choice = chooseCountdownColour(dialog.color, s.*which.other);
    if (choice.kind == CountdownColourChoice::Kind::SameAsOther)
        showMessage(main, sameCountdownColoursMessage());
    if (choice.kind != CountdownColourChoice::Kind::Store)
        return;
    if (storeSetting(main, QString::fromLatin1(which.key), choice.stored))
        s.*which.edited = choice.stored;
}

// A check item of a "0"/"1" setting: triggering it has already moved its check mark.
void storeCheckItem(QAction *item, const char *key, bool SharedState::*value)
{
    storeCheck(form<MainWindow>(), item, QString::fromLatin1(key), item->isChecked(), state().*value);
}

} // namespace

void logoMarkCommand()
{
    storeCheckItem(form<MainWindow>()->splashAction, "OptLogo", &SharedState::OptLogo);
}

void mainColorCommand()
{
    MainColorDialog *chooser = form<MainColorDialog>();
    chooser->show();
    chooser->raise();
    chooser->activateWindow();
}

void countdownBackColorCommand()
{
    // The key keeps this spelling; the store matches keys without regard to case.
    chooseColour({&SharedState::CountdownBackColor, &SharedState::CountdownForeColor, "OptBcolor"});
}

void countdownForeColorCommand()
{
    chooseColour({&SharedState::CountdownForeColor, &SharedState::CountdownBackColor, "OptFColor"});
}

void noSameSeatCommand()
{
    storeCheckItem(form<MainWindow>()->noSameSeatAction, "OptNoSameSeat", &SharedState::OptNoSameSeat);
}

void noSameNeighbourCommand()
{
    storeCheckItem(form<MainWindow>()->noSameNeighbourAction, "OptNoSameNeighbour", &SharedState::OptNoSameNeighbour);
}
