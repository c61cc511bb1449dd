#pragma once
// The calculation listing: every input, working value and result of the last calculation
// beside its algebraic symbol and its field name, in a fixed-pitch font, for checking a case by
// hand. Modal and read-only; it shows the values as they were when it was opened.

#include "compliance/CalculationListing.h"

#include <QDialog>

class frmDebug1 : public QDialog {
    Q_OBJECT
public:
    frmDebug1(const tallex::CalculationListingText& listing, QWidget* parent = nullptr);
};
