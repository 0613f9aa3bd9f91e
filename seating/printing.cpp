#include "seating/printing.h"

#include "app/pending.h"

void printResultCommand() { commandPending(); }
void showNoPrintLineDialog() { commandPending(); }
