#include "AprCommand.h"

#include "engine/AprSolver.h"
#include "engine/Format.h"
#include "engine/LoanRecord.h"
#include "engine/NumberText.h"
#include "engine/RuntimeError.h"

#include <cmath>
#include <memory>
#include <ostream>
#include <sstream>

namespace tallex::cli {

CLI::App* AddAprCommand(CLI::App& app, AprOptions& options) {
    CLI::App* cmd = app.add_subcommand("apr", "Compute the actuarial APR of a payment schedule");
    cmd->footer("Exit codes: 0 the APR was computed, 2 bad arguments or no APR could be computed.");
    cmd->add_option("--amount", options.amount, "Amount financed, e.g. 1000.00 (no thousands separators)")->required();
    cmd->add_option("--apr", options.disclosedApr, "Disclosed APR in percent (the solver's start)")
        ->capture_default_str();
    cmd->add_option("--unit-days", options.unitDays, "Days in the unit period")->capture_default_str();
    cmd->add_option("--year-days", options.yearDays, "Days in the year")->capture_default_str();
    cmd->add_option("--stream", options.streams,
                    "AMOUNT,COUNT,UNITPERIODS,ODDDAYS (repeatable); COUNT a whole number from 1, "
                    "UNITPERIODS and ODDDAYS whole numbers from 0")
        ->required();
    return cmd;
}

namespace {
bool SplitStream(const std::string& text, std::string (&parts)[4]) {
    std::istringstream in(text);
    std::string part;
    int n = 0;
    while (std::getline(in, part, ',')) {
        if (n == 4) return false;
        parts[n++] = part;
    }
    return n == 4;
}

// Digits with at most one decimal point and an optional leading minus sign: the solver reads a
// number by its leading digits, so "1,000" or "$5" would be computed as 1 or 0.
bool IsPlainNumber(const std::string& text) {
    std::size_t k = text.size() > 0 && text[0] == '-' ? 1 : 0;
    bool digit = false, point = false;
    for (; k < text.size(); ++k) {
        if (text[k] >= '0' && text[k] <= '9') {
            digit = true;
        } else if (text[k] == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digit;
}

bool IsWholeNumber(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// The one line of a refused argument; always exit code 2.
int Refuse(std::ostream& err, const std::string& message) {
    err << "tallex-cli apr: " << message << "\n";
    return 2;
}

const char* const kPlain = "written with digits and at most one decimal point";
}  // namespace

int RunAprCommand(const AprOptions& options, std::ostream& out, std::ostream& err) {
    if (!IsPlainNumber(options.amount))
        return Refuse(err, "--amount '" + options.amount + "' must be a number " + kPlain);
    if (!IsPlainNumber(options.disclosedApr))
        return Refuse(err, "--apr '" + options.disclosedApr + "' must be a number " + kPlain);
    if (!std::isfinite(options.unitDays) || options.unitDays <= 0)
        return Refuse(err, "--unit-days must be a number above 0");
    if (!std::isfinite(options.yearDays) || options.yearDays <= 0)
        return Refuse(err, "--year-days must be a number above 0");
    if (options.streams.size() > static_cast<std::size_t>(kMaxStreams))
        return Refuse(err, "at most " + std::to_string(kMaxStreams) + " streams");
    auto record = std::make_unique<LoanRecord>();
    record->gdAmount = Val(options.amount);
    record->gdDisclAPR = Val(options.disclosedApr);
    record->gdDaysinUnitPd = options.unitDays;
    record->gdDaysinYr = options.yearDays;
    int k = 0;
    for (const std::string& stream : options.streams) {
        std::string parts[4];
        if (!SplitStream(stream, parts))
            return Refuse(err, "--stream '" + stream + "' must be AMOUNT,COUNT,UNITPERIODS,ODDDAYS");
        const std::string refused = "--stream '" + stream + "': ";
        if (!IsPlainNumber(parts[0]))
            return Refuse(err, refused + "AMOUNT '" + parts[0] + "' must be a number " + kPlain);
        if (!IsWholeNumber(parts[1]) || Val(parts[1]) < 1)
            return Refuse(err, refused + "COUNT '" + parts[1] + "' must be a whole number of 1 or more");
        if (!IsWholeNumber(parts[2]))
            return Refuse(err, refused + "UNITPERIODS '" + parts[2] + "' must be a whole number of 0 or more");
        if (!IsWholeNumber(parts[3]))
            return Refuse(err, refused + "ODDDAYS '" + parts[3] + "' must be a whole number of 0 or more");
        ++k;
        record->gaPymtAmt[k] = parts[0];
        record->gaNumPymts[k] = parts[1];
        record->gaUnitPeriods[k] = parts[2];
        record->gaOddDays[k] = parts[3];
    }
    record->giGridRowCount = static_cast<std::int16_t>(k);
    try {
        SolveAPR(*record);
    } catch (const RuntimeError& e) {
        return Refuse(err, "run-time error " + std::to_string(e.number()) + ": " + e.description());
    }
    if (record->gbSolverFailed)
        return Refuse(err, "the APR could not be computed: no rate makes the payments worth the amount financed");
    out << Format(record->gdCalcAPR, "0.0000") << "\n";
    out << "passes=" << record->iSolverPasses << "\n";
    return 0;
}

}  // namespace tallex::cli
