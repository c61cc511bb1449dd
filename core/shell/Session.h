#pragma once
// The program-wide flags that are not part of a loan: they outlive New Loan and the record's
// reset. One instance per running program, owned by the shell and passed to whoever needs it.

namespace tallex {

struct SessionFlags {
    // True from the basic information page's start until the user continues from it, and again
    // after New Loan or an accepted change of loan kind: nothing entered is there to discard.
    bool gbBasicInfoFresh = true;
    // Number of the run-time error that brought the error screen up.
    int giLastError = 0;
};

}  // namespace tallex
