#pragma once
// How the results pages draw what the core decides: the colour of a verdict label and the font
// of a disclosure amount. Shared by every results page so that they look alike.

#include "compliance/DisclosureResults.h"
#include "ui/ResultsView.h"

#include <QColor>
#include <QFont>

class QLabel;

// A colour number (red + 256 x green + 65536 x blue) as a colour: 192 is dark red, 0 black.
QColor ColourOf(tallex::LabelColour colour);

// Colours a verdict label from the palette: a violation dark red on a light background, a
// lighter red on a dark one, so that it stands out from the background by at least 4.5 : 1
// (and again when the palette changes); an accurate APR's note has the palette's text colour.
void SetLabelColour(QLabel* label, tallex::LabelColour colour);
// The contrast of two colours, from 1 (the same) to 21 (black on white).
double ContrastRatio(const QColor& a, const QColor& b);

// The font of a disclosure amount: the page's own, or a narrow family for a long amount.
QFont DisclosureAmountQFont(tallex::AmountFont font, const QFont& pageFont);
