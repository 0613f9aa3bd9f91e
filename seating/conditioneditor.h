#pragma once

// Shows the condition editor without blocking; brings it to the front when open.
void showConditionEditor();
