#pragma once
// How the results pages draw what the core decides: the colour of a verdict label and the font
// of a disclosure amount. Shared by every results page so that they look alike.

#include "compliance/DisclosureResults.h"
#include "ui/ResultsView.h"

#include <QColor>
#include <QFont>

// A colour number (red + 256 x green + 65536 x blue) as a colour: 192 is dark red, 0 black.
QColor ColourOf(tallex::LabelColour colour);

// The font of a disclosure amount: the page's own, or a narrow family for a long amount.
QFont DisclosureAmountQFont(tallex::AmountFont font, const QFont& pageFont);
