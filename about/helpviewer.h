#pragma once

#include <QString>

class QWidget;

// The program's help engine: HELP_CONTENTS, HELP_PARTIALKEY or HELP_CONTEXT on a help file.
void showHelp(QWidget *owner, const QString &helpFile, int command, int data);
