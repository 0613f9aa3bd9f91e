#pragma once

// Qt's own texts in Japanese (the file, colour and print dialogs, the context menus of
// text boxes) where the translation is installed. Loading it costs start-up time the
// first frame has no use for, so it is loaded when first needed.

// Loads the translation now, once.
void ensureQtTranslation();
// Watches the application: the first context menu loads it. The Qt dialogs load it
// themselves before they are made.
void loadQtTranslationOnDemand();
