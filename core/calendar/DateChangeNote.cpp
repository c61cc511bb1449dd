#include "calendar/DateChangeNote.h"

#include "engine/NumberText.h"

namespace tallex {

namespace {

std::string Note(const LoanRecord& record, const char* firstSentence) {
    const std::string& br = record.gsCrLf;
    return std::string(firstSentence) + "that may have already been used in other time period calculations." + br + br +
           "Making the change here will NOT cause re-calculation of those values." + br + br +
           "You may want to check to see if those values are still valid and make changes if necessary.";
}

}  // namespace

std::string DateChangeNote(const LoanRecord& record, const CalendarDate& loanDate, const CalendarDate& endDate) {
    if (record.giGridRow <= 1 || !IsNumericText(record.gaUnitPeriods[1])) return "";
    const auto storedLoan = ParseDateText(record.gsLoanDate);
    if (record.gbAppendixJ) {
        if (storedLoan && *storedLoan != loanDate)
            return Note(record, "Note that you have just changed a date (Loan Date) ");
        return "";
    }
    if (!record.gbConstruction || record.gbConstOptDisc) return "";
    const auto storedEnd = ParseDateText(record.gsEndDate);
    if (!storedLoan || !storedEnd) return "";
    const bool loanChanged = *storedLoan != loanDate;
    const bool endChanged = *storedEnd != endDate;
    if (loanChanged && endChanged)
        return Note(record, "Note that you have just changed dates (Loan Date and Construction Period End Date) ");
    if (loanChanged) return Note(record, "Note that you have just changed a date (Loan Date) ");
    if (endChanged) return Note(record, "Note that you have just changed a date (Construction Period End Date) ");
    return "";
}

}  // namespace tallex
