#include "app/pending.h"

#include "platform/platform.h"

void commandPending()
{
    MsgBox(nullptr, QStringLiteral("この機能は準備中です。"), MsgStyle::Information, QStringLiteral("準備中"));
}
