#pragma once

void fileCopyCommand();
void fileRenameCommand();
void backupCommand();
void fileDeleteCommand();
