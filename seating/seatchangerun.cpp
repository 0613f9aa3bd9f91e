#include "seating/seatchangerun.h"

#include "app/pending.h"

void seatChangeRunCommand() { commandPending(); }
