#pragma once

// Commands whose windows are still being built say so instead of doing nothing.
void commandPending();
