#pragma once

#include "platform/platform.h"

#include <QList>
#include <QPointer>
#include <QQueue>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

// One thing the program asked of the platform.
struct PlatformCall {
    QString kind = {};     // "message", "open", "save", "color", "print", "help", "mail", "browser", "ime", "quit"
    QString text = {};     // message text, mail address, URL, help file
    QString title = {};    // message or dialog title
    int style = 0;         // message style; help command
    int data = 0;          // help data; the colour dialog's initial colour; the print dialog's fit option;
                           // the list's first choice
    QString filter = {};   // file dialog filter
    QString fileName = {}; // file dialog's initial file name; the print dialog's proposed PDF file
    QPointer<QWidget> owner = {};
    bool teacherView = false; // the print dialog's side option as offered
};

// What the print dialog answers.
struct PrintAnswer {
    bool accept = true;
    int copies = 1;
    QString outputFile;       // PDF file the printer writes to
    bool fitToPage = false;   // the option's state when the user confirms
    QString queue = {};       // else the printing system's queue printed on
    bool teacherView = false; // the side chosen for the chart
};

// A platform that answers from queues and records every call, so a test states exactly
// which messages, dialogs and help calls a command made. Unqueued questions answer OK;
// unqueued file and colour dialogs are cancelled.
class ScriptedPlatform : public Platform
{
public:
    QList<PlatformCall> calls;
    QQueue<int> answers;
    QQueue<QString> openFiles;
    QQueue<QString> saveFiles;
    QQueue<std::optional<ColorValue>> colors;
    QQueue<PrintAnswer> prints;
    QQueue<int> listChoices; // unqueued: cancelled
    bool mailStarts = true;
    bool browserStarts = true;
    // Runs when a message box is shown, before it answers (to look at the program's state then).
    std::function<void(const PlatformCall &)> onMessage;
    // Runs once the print dialog has answered (a printer that goes away meanwhile).
    std::function<void()> onPrintAnswered;

    int messageBox(QWidget *owner, const QString &text, const QString &title, int style) override;
    QString openFileName(QWidget *owner, const FileDialogRequest &request) override;
    QString saveFileName(QWidget *owner, const FileDialogRequest &request) override;
    std::optional<ColorValue> chooseColor(QWidget *owner, ColorValue initial) override;
    int chooseFromList(QWidget *owner, const QString &title, const QString &label, const QStringList &items,
                       int current) override;
    // Records the proposed PDF file as the call's file name and the option offered as its data.
    bool printDialog(QWidget *owner, QPrinter &printer, PrintOptions &options) override;
    void help(QWidget *owner, const QString &helpFile, int command, int data) override
    {
        calls.append({QStringLiteral("help"), helpFile, {}, command, data, {}, {}, owner});
    }
    bool startMail(const QString &address) override
    {
        calls.append({QStringLiteral("mail"), address});
        return mailStarts;
    }
    bool startBrowser(const QString &url) override
    {
        calls.append({QStringLiteral("browser"), url});
        return browserStarts;
    }
    bool capsLockOn() override { return false; }
    bool insertModeOn() override { return false; }
    void switchInputMethodOn(QWidget *box) override;
    void quitProgram() override { calls.append({QStringLiteral("quit")}); }

    // The calls of one kind, in order.
    QList<PlatformCall> callsOf(const QString &kind) const;
    // The message boxes shown, as "title|text|style" lines (easy to compare whole).
    QStringList messageLog() const;
};
