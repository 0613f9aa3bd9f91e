#pragma once

#include "platform/platform.h"

#include <QFileIconProvider>
#include <QMimeDatabase>
#include <functional>

// The platform as Qt gives it: Qt's message boxes and dialogs, the program's own
// help viewer, the desktop's mail program and browser.
class QtPlatform : public Platform
{
public:
    // The help engine: the program's help viewer, handed in by the shell.
    using HelpEngine = std::function<void(QWidget *owner, const QString &helpFile, int command, int data)>;
    explicit QtPlatform(HelpEngine help) : help_(std::move(help)) {}

    int messageBox(QWidget *owner, const QString &text, const QString &title, int style) override;
    QString openFileName(QWidget *owner, const FileDialogRequest &request) override;
    QString saveFileName(QWidget *owner, const FileDialogRequest &request) override;
    std::optional<ColorValue> chooseColor(QWidget *owner, ColorValue initial) override;
    int chooseFromList(QWidget *owner, const QString &title, const QString &label, const QStringList &items,
                       int current) override;
    bool printDialog(QWidget *owner, QPrinter &printer, PrintOptions &options) override;
    void help(QWidget *owner, const QString &helpFile, int command, int data) override;
    bool startMail(const QString &address) override;
    bool startBrowser(const QString &url) override;
    bool capsLockOn() override;
    bool insertModeOn() override;
    void switchInputMethodOn(QWidget *box) override;
    void quitProgram() override;

private:
    HelpEngine help_;
};

// Icons and type names of the file dialogs, judged by a file's name only. Qt's own
// provider reads a file's first bytes to name its type, and a file of /proc (or any
// file whose reading waits) blocks the dialog for good; this one opens nothing.
class NameOnlyIconProvider : public QFileIconProvider
{
public:
    QIcon icon(const QFileInfo &info) const override;
    QString type(const QFileInfo &info) const override;
    using QFileIconProvider::icon;

private:
    QMimeDatabase mimes_;
};

// "label|pattern|label|pattern" as the name filters of a Qt file dialog.
QStringList qtNameFilters(const QString &filter);
// A message text as a message box shows it: a lone carriage return breaks the line.
QString displayText(const QString &text);
