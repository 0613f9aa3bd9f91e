#pragma once

class QLineEdit;

// Name boxes of the seat grids: Enter moves the focus to the next control in tab order
// and is not inserted; after every key the input method is switched on for Japanese.
void installEnterMovesOn(QLineEdit *box);
