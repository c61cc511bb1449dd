#include "report/OutputPlan.h"

#include <algorithm>
#include <cctype>

namespace tallex {

namespace {
std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

std::string Trimmed(const std::string& text) {
    const auto b = text.find_first_not_of(' ');
    if (b == std::string::npos) return "";
    return text.substr(b, text.find_last_not_of(' ') - b + 1);
}
}  // namespace

std::vector<PrintedLine> PlanPrintedReport(const std::vector<std::string>& lines) {
    const std::string rule(52, '_');
    std::vector<PrintedLine> plan;
    plan.reserve(lines.size());
    int rules = 0;
    for (const std::string& text : lines) {
        PrintedLine line;
        line.text = text;
        if (text.find(rule) != std::string::npos && ++rules >= 2) line.newPageBefore = true;
        const std::string upper = Upper(text);
        const std::string trimmed = Trimmed(upper);
        if (trimmed == "SENSITIVE INFORMATION") {
            line.pointSize = 8;
        } else if (upper.find("TALLEX - VERSION") != std::string::npos) {
            line.pointSize = 16;
        } else if (upper.find("APR DISCLOSURE DOCUMENTATION") != std::string::npos) {
            line.pointSize = 14;
        } else if (trimmed == "LOAN INFORMATION - ORIGINAL INPUT" || trimmed == "DISCLOSURE INFORMATION - OUTPUT") {
            line.pointSize = 13;
        }
        line.headingEmphasis = line.pointSize != 11;
        plan.push_back(std::move(line));
    }
    return plan;
}

std::string ChooseReportFont(const std::vector<std::string>& families, const std::string& fallback) {
    for (const std::string& family : families)
        if (Upper(family).rfind("COURIER", 0) == 0) return family;
    return fallback;
}

std::string ReportFailureMessage(bool saving, int errorNumber, const std::string& description) {
    return std::string(saving ? "Unable to print report to file." : "Unable to print report.") + "  Error # " +
           std::to_string(errorNumber) + " - " + description;
}

}  // namespace tallex
