#pragma once

class CommonDialog;
class QWidget;

// The main window's roster commands.
void fileCreateCommand();                                   // File>New roster
void fileOpenCommand(CommonDialog &dialog, QWidget *owner); // File>Open
// Options>Room settings for the open class; the roster editor's own when it is open.
void roomSettingsCommand(QWidget *owner);
