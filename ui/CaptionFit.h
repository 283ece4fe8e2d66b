// SPDX-License-Identifier: MIT
// Captions against the fixed layouts. The layouts were made for the Japanese
// captions; English ones run longer, and a caption cut off at its control's
// edge must be drawn narrower instead.
#pragma once

#include <QString>

class QAbstractButton;
class QWidget;

// The width of a caption's drawn pixels (its ink) in the control's font, from
// where the control starts drawing it; a mnemonic '&' takes no room.
int CaptionInk(const QWidget& control, QString text);
// How wide a button's caption may be: a check box or radio item's room right
// of its indicator, a push button's inside its frame (less its icon).
int CaptionRoom(const QAbstractButton& button);

// Condenses the font of every button under window whose caption would be cut
// off, down to four fifths of its width at most.
void CondenseCaptionsToFit(QWidget& window);
