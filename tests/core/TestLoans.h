#pragma once
// What the core tests share: a clock the test moves by hand, a schedule typed as
// "amount count unitPeriods oddDays | ..." into a fresh record, and such a loan solved; the
// number of the run-time error an action raises; the prompts a scripted user was shown.

#include "engine/AprSolver.h"
#include "engine/LoanRecord.h"
#include "engine/RuntimeError.h"
#include "ui/Clock.h"
#include "ui/ScriptedUser.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace tallex::test {

class FakeClock final : public Clock {
public:
    std::chrono::steady_clock::time_point now() const override { return at; }
    std::chrono::steady_clock::time_point at{};
};

// The streams with their labels; the row counts of the grid, the stored rows and the present
// value all say how many there are.
inline std::unique_ptr<LoanRecord> ScheduleOf(const std::string& rows) {
    auto r = std::make_unique<LoanRecord>();
    std::istringstream in(rows);
    std::string bar;
    int k = 0;
    while (in >> r->gaPymtAmt[k + 1] >> r->gaNumPymts[k + 1] >> r->gaUnitPeriods[k + 1] >> r->gaOddDays[k + 1]) {
        ++k;
        r->gaPymtCol0[k] = std::to_string(k);
        in >> bar;
    }
    r->giPymtRows = r->giPVStreams = r->giGridRowCount = static_cast<std::int16_t>(k);
    return r;
}

// The same on a monthly basis of 30 days in a 360-day year.
inline std::unique_ptr<LoanRecord> MonthlyScheduleOf(const std::string& rows) {
    auto r = ScheduleOf(rows);
    r->gdDaysinUnitPd = 30;
    r->gdDaysinYr = 360;
    r->giPymtFreq = kFreqMonthly;
    return r;
}

// A monthly loan of `amount` with the disclosed APR, solved by the engine.
inline std::unique_ptr<LoanRecord> SolvedMonthlyLoan(double amount, double disclosedApr, const std::string& rows) {
    auto r = MonthlyScheduleOf(rows);
    r->gdAmount = amount;
    r->gdDisclAPR = disclosedApr;
    SolveAPR(*r);
    return r;
}

// The number of the run-time error `action` raises; 0 when it raises none.
template <class Action>
int ErrorNumberOf(Action&& action) {
    try {
        action();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

// The user was shown exactly these texts, each in this style.
inline void ExpectPrompts(const ScriptedUser& user, const std::vector<std::string>& texts, short style) {
    ASSERT_EQ(user.prompts().size(), texts.size()) << (texts.empty() ? "no prompt expected" : texts[0]);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(user.prompts()[i].text, texts[i]);
        EXPECT_EQ(user.prompts()[i].style, style) << texts[i];
    }
}

}  // namespace tallex::test
