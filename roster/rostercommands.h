#pragma once

class CommonDialog;
class QWidget;

// The main window's roster commands.
void fileCreateCommand();                                   // File>New roster
void fileOpenCommand(CommonDialog &dialog, QWidget *owner); // File>Open
