#pragma once

// The result window's print command: the chart printed in its print look.
void printResultCommand();
// The result window's non-printed-rows dialog, shown without blocking.
void showNoPrintLineDialog();
