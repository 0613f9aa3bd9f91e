#include "platform/platform.h"

#include <QtGlobal>

namespace {
Platform *&current()
{
    static Platform *p = nullptr;
    return p;
}
} // namespace

Platform &platform()
{
    Q_ASSERT_X(current(), "platform()", "no platform installed");
    return *current();
}

void setPlatform(Platform *p)
{
    current() = p;
}

int MsgBox(QWidget *owner, const QString &text, int style, const QString &title)
{
    return platform().messageBox(owner, text, title, style);
}

void callHelp(QWidget *owner, int command, int data)
{
    platform().help(owner, state().HelpFilePath, command, data);
}
