#include "mainwin/pastresults.h"

#include "app/pending.h"

void previousResultCommand() { commandPending(); }
void pastResultCommand(int) { commandPending(); }
