#include "seating/conditioneditor.h"

#include "app/pending.h"

void showConditionEditor() { commandPending(); }
