#pragma once

#include <QString>

// Makes a folder and the folders above it that are missing. Returns the empty string when
// the folder is there afterwards, otherwise the reason for the user.
QString makeFolder(const QString &path);
