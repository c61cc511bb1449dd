#pragma once
// The main window's title: the case's file name, or "New loan" for a loan that has none, with
// the place of the platform's modified marker, then the program's name.

#include <QString>

// "review.tallex[*] — TALLEX", "New loan[*] — TALLEX"; QWidget shows "[*]" as the marker while
// the window is modified and drops it otherwise.
QString CaseWindowTitle(const QString& caseFile);
