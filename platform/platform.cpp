#include "platform/platform.h"

#include <QtGlobal>

namespace
{
Platform *&current()
{
    static Platform *p = nullptr;
    return p;
}
} // namespace

void installServices(const Services *services)
{
    installCoreServices(services);
    current() = services ? services->platform : nullptr;
}

Platform &platform()
{
    if (!current())
        qFatal("no platform installed: the program installs its services at start, tests through TestEnv");
    return *current();
}

int showMessage(QWidget *owner, const QString &text, int style, const QString &title)
{
    return platform().messageBox(owner, text, title, style);
}

int showMessage(QWidget *owner, const MessageText &message)
{
    return platform().messageBox(owner, message.text, message.title, message.style);
}

void callHelp(QWidget *owner, int command, int data)
{
    platform().help(owner, state().HelpFilePath, command, data);
}
