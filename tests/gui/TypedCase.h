#pragma once
// The "typed" driver: a case file entered into the pages as a user enters it, key by key through
// the boxes' key filters, each box left with Tab, the options and check boxes clicked, a
// stream's dates typed into the calculator the page opens, and Continue pressed on every page up
// to the results. It is the same case that File > Open Case replays, entered the long way, so
// the two can be compared with the command line.

#include "GuiHarness.h"

#include "CaseFile.h"

#include <QString>

struct TypedCase {
    bool results = false;  // the results page shows
    // The message of the first refused entry (shown with the exclamation style); the typing
    // stops there, on the page that refused it.
    QString refusal;
    // The case holds an entry the pages offer no way to make (dates for a stream whose
    // calculator is not available): a user could not type this case at all.
    bool notEnterable = false;
};

TypedCase TypeCase(GuiHarness& h, const tallex::casefile::CaseFile& c);

// The scripted user answers the results page's question from the case's answers, as the
// command line does; every other message gets the script's default answer.
void AnswerFromCase(GuiHarness& h, const tallex::casefile::CaseFile& c);
