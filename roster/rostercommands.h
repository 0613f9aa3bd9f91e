#pragma once

// The main window's roster commands.
void fileCreateCommand(); // File>New roster
void fileOpenCommand();   // File>Open
