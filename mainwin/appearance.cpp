#include "mainwin/appearance.h"

#include "app/pending.h"

void logoMarkCommand() { commandPending(); }
void mainColorCommand() { commandPending(); }
void countdownBackColorCommand() { commandPending(); }
void countdownForeColorCommand() { commandPending(); }
