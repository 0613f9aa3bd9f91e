#include "mainwin/appearance.h"

#include "core/colors.h"
#include "core/settings.h"
#include "widgets/storesetting.h"
#include "core/sharedstate.h"
#include "mainwin/maincolordialog.h"
#include "mainwin/mainwindow.h"
#include "platform/platform.h"


namespace {

// One of the countdown window's two colours: the one edited and the one it must differ from.
struct CountdownColour {
    QString SharedState::*edited;
    QString SharedState::*other;
    const char *key;
};

void chooseCountdownColour(const CountdownColour &which)
{
    NARABIN *main = form<NARABIN>();
    SharedState &s = state();
    CommonDialog &dialog = main->CommonDialog1;
    dialog.Color = colorFromText(s.*which.edited).value_or(0);
    if (!dialog.ShowColor(main))
        return;
    const ColorValue chosen = dialog.Color;
    // The other colour may still hold its stored text; one that is no number ends the command.
    const std::optional<ColorValue> other = colorFromText(s.*which.other);
    if (!other)
        return;
    if (*other == chosen) {
        MsgBox(main, QStringLiteral("背景と文字に同じ色を設定しようとしました。"), MsgStyle::Critical,
               QStringLiteral("設定確認"));
        return;
    }
    const QString text = colorToText(chosen);
    if (!storeSetting(main, QString::fromLatin1(which.key), text))
        return;
    s.*which.edited = text;
}

} // namespace

void logoMarkCommand()
{
    NARABIN *main = form<NARABIN>();
    QAction *item = main->mnuLogoMark;
    // Triggering the item has already moved its check mark: it now shows the new choice.
    const bool shown = item->isChecked();
    const QString value = shown ? QStringLiteral("1") : QStringLiteral("0");
    if (!storeSetting(main, QStringLiteral("OptLogo"), value)) {
        item->setChecked(!shown);
        return;
    }
    state().OptLogo = value;
}

void mainColorCommand()
{
    SEL_MCL *chooser = form<SEL_MCL>();
    chooser->show();
    chooser->raise();
    chooser->activateWindow();
}

void countdownBackColorCommand()
{
    // The key keeps this spelling; the store matches keys without regard to case.
    chooseCountdownColour({&SharedState::CountdownBackColor, &SharedState::CountdownForeColor, "OptBcolor"});
}

void countdownForeColorCommand()
{
    chooseCountdownColour({&SharedState::CountdownForeColor, &SharedState::CountdownBackColor, "OptFColor"});
}
