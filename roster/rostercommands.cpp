#include "roster/rostercommands.h"

#include "app/pending.h"

void fileCreateCommand() { commandPending(); }
void fileOpenCommand() { commandPending(); }
