#include "about/helpviewer.h"

#include "app/pending.h"

void showHelp(QWidget *, const QString &, int, int) { commandPending(); }
