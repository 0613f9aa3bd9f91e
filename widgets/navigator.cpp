#include "widgets/navigator.h"

#include <QtGlobal>

namespace
{
Navigator *&installed()
{
    static Navigator *navigator = nullptr;
    return navigator;
}
} // namespace

Navigator &navigator()
{
    if (!installed())
        qFatal("no navigator installed: the shell installs one at start (tests through TestEnv)");
    return *installed();
}

void setNavigator(Navigator *implementation)
{
    installed() = implementation;
}
