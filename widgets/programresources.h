#pragma once

// Makes the program's built-in images (icons, the link pointer) available. The
// resources live in a static library, so they are linked only when something
// refers to them; this does.
void ensureProgramResources();
