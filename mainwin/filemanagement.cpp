#include "mainwin/filemanagement.h"

#include "app/pending.h"

void fileCopyCommand() { commandPending(); }
void fileRenameCommand() { commandPending(); }
void backupCommand() { commandPending(); }
void fileDeleteCommand() { commandPending(); }
