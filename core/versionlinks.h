#pragma once

#include "core/message.h"

// What the version window says when one of its links finds nothing to start: on
// Windows it names the programs it always named; elsewhere the kind of program the
// desktop lacks.
enum class LinkProgram { Mail, Browser };
MessageText linkProgramMissingMessage(LinkProgram program, bool onWindows);
