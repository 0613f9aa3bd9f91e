#pragma once

#include "core/message.h"
#include "core/services.h"
#include "core/sharedstate.h"

#include <QString>
#include <QStringList>

#include <optional>

class QPrinter;
class QWidget;

// Message box answers.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;

// Help engine commands.
inline constexpr int HELP_CONTEXT = 1;
inline constexpr int HELP_CONTENTS = 3;
inline constexpr int HELP_PARTIALKEY = 0x105;

// What a file dialog is asked to show.
struct FileDialogRequest {
    QString title;    // empty: the platform's own title
    QString filter;   // "label|pattern|label|pattern..."
    QString fileName; // shown in the name box when the dialog opens
};

// What the print dialog offers besides the printer and the copies.
struct PrintOptions {
    QString pdfFile;          // proposed when the user prints to a PDF file
    bool fitToPage = false;   // the chart scaled to fill the page; on return, the user's choice
    bool teacherView = false; // the chart as seen from the teacher's desk; on return, the user's choice
    bool chartLayout = true;  // the two choices above are offered (a seating chart is printed)
};

// Everything the operating system shows or starts for the program. Windows reach it
// only through platform(); tests install a scripted implementation.
class Platform
{
public:
    virtual ~Platform() = default;

    // Returns IDOK or IDCANCEL; for MsgStyle::AbortRetryIgnore IDABORT, IDRETRY or IDIGNORE.
    virtual int messageBox(QWidget *owner, const QString &text, const QString &title, int style) = 0;
    // The chosen path, or the empty string when the user cancelled.
    virtual QString openFileName(QWidget *owner, const FileDialogRequest &request) = 0;
    virtual QString saveFileName(QWidget *owner, const FileDialogRequest &request) = 0;
    // The chosen colour, none when the user cancelled.
    virtual std::optional<ColorValue> chooseColor(QWidget *owner, ColorValue initial) = 0;
    // Lets the user pick one of `items`, `current` chosen at first; its index, or -1 when
    // the user cancelled.
    virtual int chooseFromList(QWidget *owner, const QString &title, const QString &label, const QStringList &items,
                               int current = 0) = 0;
    // Lets the user pick a printer, the number of copies (QPrinter::copyCount) and the
    // options. False when the user cancelled.
    virtual bool printDialog(QWidget *owner, QPrinter &printer, PrintOptions &options) = 0;
    // The help engine: command HELP_CONTEXT, HELP_CONTENTS or HELP_PARTIALKEY.
    virtual void help(QWidget *owner, const QString &helpFile, int command, int data) = 0;
    // Starts the mail program with a message to `address`; false when none could be started.
    virtual bool startMail(const QString &address) = 0;
    // Opens `url` in the web browser; false when none could be started.
    virtual bool startBrowser(const QString &url) = 0;
    virtual bool capsLockOn() = 0;
    virtual bool insertModeOn() = 0;
    // Switches the input method of a text box on for Japanese input.
    virtual void switchInputMethodOn(QWidget *box) = 0;
    // Ends the program at once, without further questions.
    virtual void quitProgram() = 0;
};

// What the program takes from the machine, in one object given at start (tests give
// their own): the core's services and the platform.
struct Services : CoreServices {
    Platform *platform = nullptr;
};
// Puts the object in force, for the core too; null: none. Its owner keeps it alive.
void installServices(const Services *services);

// The platform of the services in force; the program stops with a message when none is.
Platform &platform();

// Shorthands for the calls every window makes.
int showMessage(QWidget *owner, const QString &text, int style, const QString &title);
int showMessage(QWidget *owner, const MessageText &message);
void callHelp(QWidget *owner, int command, int data);
