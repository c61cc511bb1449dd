#include "BatchOutput.h"

#include "ShortestNumber.h"

#include <charconv>
#include <cmath>
#include <ostream>
#include <vector>

namespace tallex::cli {

namespace {

class JsonLinesSink final : public VerdictSink {
public:
    explicit JsonLinesSink(std::ostream& out) : out_(out) {}
    void Compose(const CaseOutcome& outcome, const std::string& caseName, ComposedVerdict& out) const override {
        out.refused = false;
        out.text.clear();
        AppendVerdictJson(out.text, outcome, caseName);
        out.text += '\n';
    }
    void ComposeRefused(const std::string& caseName, const std::string& account, const std::string& key,
                        const std::string& message, ComposedVerdict& out) const override {
        out.refused = true;
        out.text.clear();
        AppendErrorJson(out.text, caseName, key, message, account);
        out.text += '\n';
    }
    void Write(const ComposedVerdict& verdict) override {
        out_.write(verdict.text.data(), static_cast<std::streamsize>(verdict.text.size()));
    }
    std::optional<std::string> Finish(const BatchSummary&) override { return std::nullopt; }

private:
    std::ostream& out_;
};

// The cells of a row as one CSV line.
void CsvLine(const std::vector<VerdictCell>& cells, std::string& line) {
    line.clear();
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i) line += ',';
        AppendCsvField(line, cells[i]);
    }
    line += "\r\n";
}

class CsvSink final : public VerdictSink {
public:
    explicit CsvSink(std::ostream& out) : out_(out) {
        std::vector<VerdictCell> names;
        for (const VerdictColumn& column : VerdictColumns()) {
            VerdictCell& name = names.emplace_back();
            name.kind = VerdictCell::Kind::Text;
            name.text = column.name;
        }
        std::string line;
        CsvLine(names, line);
        out_ << line;
    }
    void Compose(const CaseOutcome& outcome, const std::string& caseName, ComposedVerdict& out) const override {
        out.refused = false;
        VerdictRow(outcome, caseName, out.cells);
        CsvLine(out.cells, out.text);
    }
    void ComposeRefused(const std::string& caseName, const std::string& account, const std::string& key,
                        const std::string& message, ComposedVerdict& out) const override {
        out.refused = true;
        ErrorRow(caseName, key, message, account, out.cells);
        CsvLine(out.cells, out.text);
    }
    void Write(const ComposedVerdict& verdict) override {
        out_.write(verdict.text.data(), static_cast<std::streamsize>(verdict.text.size()));
    }
    std::optional<std::string> Finish(const BatchSummary&) override { return std::nullopt; }

private:
    std::ostream& out_;
};

}  // namespace

std::unique_ptr<VerdictSink> MakeJsonLinesSink(std::ostream& out) { return std::make_unique<JsonLinesSink>(out); }
std::unique_ptr<VerdictSink> MakeCsvSink(std::ostream& out) { return std::make_unique<CsvSink>(out); }

bool RunsAsFormula(std::string_view text) {
    // A leading tab or line break hides what follows from the eye, and some spreadsheets skip
    // leading blanks before they look for a formula.
    if (!text.empty() && (text[0] == '\t' || text[0] == '\r' || text[0] == '\n')) return true;
    const std::size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) return false;
    const std::string_view rest = text.substr(start);
    switch (rest[0]) {
    case '=':
    case '+':
    case '-':
    case '@': return true;
    default: break;
    }
    // The full-width forms (U+FF1D, U+FF0B, U+FF0D, U+FF20), which some spreadsheets take for
    // the ASCII ones.
    for (std::string_view wide : {"\xEF\xBC\x9D", "\xEF\xBC\x8B", "\xEF\xBC\x8D", "\xEF\xBC\xA0"})
        if (rest.substr(0, wide.size()) == wide) return true;
    return false;
}

void AppendCsvField(std::string& out, const VerdictCell& cell) {
    switch (cell.kind) {
    case VerdictCell::Kind::Empty: return;
    case VerdictCell::Kind::Boolean: out += cell.boolean ? "true" : "false"; return;
    case VerdictCell::Kind::Number: {
        char buf[32];
        const auto [end, ec] = ShortestChars(buf, buf + sizeof buf, cell.number);
        if (ec == std::errc() && std::isfinite(cell.number)) out.append(buf, static_cast<std::size_t>(end - buf));
        return;  // no number (none reaches a verdict) is an empty cell, as null in the JSON
    }
    case VerdictCell::Kind::Text: break;
    }
    const bool formula = RunsAsFormula(cell.text);
    const bool quoted = formula || cell.text.find_first_of(",\"\r\n") != std::string::npos;
    if (quoted) out += '"';
    if (formula) out += '\'';
    for (char c : cell.text) {
        if (c == '"') out += '"';
        out += c;
    }
    if (quoted) out += '"';
}

}  // namespace tallex::cli
