#pragma once

// The main window's seat-change run.
class QWidget;

void seatChangeRunCommand(QWidget *owner);
