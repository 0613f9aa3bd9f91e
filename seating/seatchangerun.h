#pragma once

// The main window's seat-change run.
void seatChangeRunCommand();
