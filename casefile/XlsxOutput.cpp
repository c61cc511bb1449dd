// The verdicts as a spreadsheet: "Loans" (one row per checked case), "Summary" (the counts of
// the summary line) and "Refused" (the cases that could not be checked). The workbook keeps
// constant memory: each row goes to a working file as soon as it is complete.

#include "BatchOutput.h"
#include "Utf8.h"

#include <xlsxwriter.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

namespace tallex::cli {

namespace {

const char* const kNoWorkingFile = "cannot be written: no working file could be made for the spreadsheet";

// A spreadsheet cell holds at most this many characters.
constexpr std::size_t kMaxCellCharacters = 32767;

// Text as a spreadsheet can hold it: valid UTF-8 (a stray byte becomes U+FFFD) and no longer
// than a cell allows (a longer text ends in "...", marking the cut).
std::string CellText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    std::size_t characters = 0, cut = 0;  // cut: where the text ends when it must be shortened
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n;) {
        const std::size_t length = Utf8SequenceLength(s + i, n - i);
        if (characters == kMaxCellCharacters - 3) cut = out.size();
        if (characters == kMaxCellCharacters) {
            out.resize(cut);
            out += "...";
            break;
        }
        if (length > 0) {
            out.append(text, i, length);
            i += length;
        } else {
            out += kReplacementCharacter;
            ++i;
        }
        ++characters;
    }
    return out;
}

struct Formats {
    lxw_format* header = nullptr;
    // By column format, plain and highlighted (a violation row).
    std::array<std::array<lxw_format*, 2>, 6> cell{};
};

class XlsxSink final : public VerdictSink {
public:
    XlsxSink(const std::string& path, const std::string& tempFolder) : tempFolder_(tempFolder) {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        options.tmpdir = tempFolder_.empty() ? nullptr : tempFolder_.data();
        options.use_zip64 = LXW_TRUE;  // a large batch may pass the 4 GB of a plain zip
        book_ = workbook_new_opt(path.c_str(), &options);
        if (!book_) {
            problem_ = "cannot be written";
            return;
        }
        MakeFormats();
        for (std::size_t i = 0; i + 2 < VerdictColumns().size(); ++i) loanColumns_.push_back(i);
        loans_ = AddSheet("Loans", LoanHeader());
        if (problem_) return;
        summary_ = workbook_add_worksheet(book_, "Summary");
        if (!summary_) problem_ = kNoWorkingFile;
        if (problem_) return;
        refused_ = AddSheet("Refused", RefusedHeader());
    }

    ~XlsxSink() override {
        if (book_) workbook_close(book_);  // only after a failure: Finish closes it otherwise
    }

    void Compose(const CaseOutcome& outcome, const std::string& caseName, ComposedVerdict& out) const override {
        out.refused = false;
        VerdictRow(outcome, caseName, out.cells);
        out.highlight = HasViolation(*outcome.record);
    }

    void ComposeRefused(const std::string& caseName, const std::string& account, const std::string& key,
                        const std::string& message, ComposedVerdict& out) const override {
        out.refused = true;
        out.cells.resize(4);
        std::size_t c = 0;
        for (const std::string* text : {&caseName, &account, &key, &message}) {
            VerdictCell& cell = out.cells[c++];
            cell = VerdictCell{};
            if (!text->empty()) {
                cell.kind = VerdictCell::Kind::Text;
                cell.text = *text;
            }
        }
    }

    void Write(const ComposedVerdict& verdict) override {
        if (problem_) return;
        if (verdict.refused) {
            lxw_worksheet* sheet = NextRow(refused_);
            if (!sheet) return;
            for (std::size_t c = 0; c < 4; ++c)
                Cell(sheet, refused_.row, static_cast<lxw_col_t>(c), verdict.cells[c], ColumnFormat::Text, false);
            return;
        }
        const auto& columns = VerdictColumns();
        lxw_worksheet* sheet = NextRow(loans_);
        if (!sheet) return;
        for (std::size_t c = 0; c < loanColumns_.size(); ++c) {
            const std::size_t i = loanColumns_[c];
            Cell(sheet, loans_.row, static_cast<lxw_col_t>(c), verdict.cells[i], columns[i].format, verdict.highlight);
        }
    }

    std::optional<std::string> Finish(const BatchSummary& s) override {
        if (!book_ || problem_) return problem_;
        Filter(loans_, static_cast<lxw_col_t>(loanColumns_.size() - 1));
        Filter(refused_, 3);
        const std::pair<const char*, long> counts[] = {
            {"cases", s.cases},
            {"checked", s.checked},
            {"failures", s.failures},
            {"APR understated", s.aprUnder},
            {"APR overstated", s.aprOver},
            {"finance charge understated", s.fcUnder},
            {"finance charge overstated", s.fcOver},
            {"subject to reimbursement", s.reimbursable},
        };
        worksheet_set_column(summary_, 0, 0, 28, nullptr);
        Check(worksheet_write_string(summary_, 0, 0, "item", formats_.header));
        Check(worksheet_write_string(summary_, 0, 1, "count", formats_.header));
        lxw_row_t row = 0;
        for (const auto& [label, count] : counts) {
            ++row;
            Check(worksheet_write_string(summary_, row, 0, label, nullptr));
            Check(worksheet_write_number(summary_, row, 1, static_cast<double>(count), nullptr));
        }
        errno = 0;
        const lxw_error closed = workbook_close(book_);
        const int system = errno;
        book_ = nullptr;
        // The system's reason (a full disk) says more than the library's.
        if (closed != LXW_NO_ERROR && !problem_)
            problem_ = std::string("cannot be written: ") + (system ? std::strerror(system) : lxw_strerror(closed));
        return problem_;
    }

private:
    // A sheet and its rows; a sheet that is full continues on "NAME 2", "NAME 3", ...
    struct Sheets {
        std::string name;
        std::vector<std::pair<std::string, double>> header;  // caption and column width
        std::vector<lxw_worksheet*> sheets;
        lxw_row_t row = 0;  // the last row written on the last sheet
    };

    std::vector<std::pair<std::string, double>> LoanHeader() const {
        std::vector<std::pair<std::string, double>> header;
        for (std::size_t i : loanColumns_) {
            const VerdictColumn& column = VerdictColumns()[i];
            const std::string name = column.name;
            const double width = name == "apr_note" || name == "fc_note" || name == "notes" ? 48
                                 : name == "case" || name == "account" || name == "streams" ? 16
                                                                                            : 14;
            header.emplace_back(name, width);
        }
        return header;
    }

    static std::vector<std::pair<std::string, double>> RefusedHeader() {
        return {{"case", 16}, {"account", 16}, {"key", 28}, {"message", 80}};
    }

    Sheets AddSheet(const std::string& name, std::vector<std::pair<std::string, double>> header) {
        Sheets s{name, std::move(header), {}, 0};
        Start(s);
        return s;
    }

    void Start(Sheets& s) {
        const std::string name = s.sheets.empty() ? s.name : s.name + " " + std::to_string(s.sheets.size() + 1);
        lxw_worksheet* sheet = workbook_add_worksheet(book_, name.c_str());
        if (!sheet) {
            // Its working file could not be made; every later row would be lost.
            problem_ = kNoWorkingFile;
            return;
        }
        s.sheets.push_back(sheet);
        s.row = 0;
        lxw_col_t c = 0;
        for (const auto& [caption, width] : s.header) {
            worksheet_set_column(sheet, c, c, width, nullptr);
            Check(worksheet_write_string(sheet, 0, c++, caption.c_str(), formats_.header));
        }
        worksheet_freeze_panes(sheet, 1, 0);
    }

    // The sheet for the next row, or none when the workbook has failed.
    lxw_worksheet* NextRow(Sheets& s) {
        if (s.row + 1 >= LXW_ROW_MAX) {
            Filter(s, static_cast<lxw_col_t>(s.header.size() - 1));
            Start(s);
            if (problem_) return nullptr;
        }
        ++s.row;
        return s.sheets.back();
    }

    // The filter buttons over the header and the rows of the sheet being written.
    void Filter(Sheets& s, lxw_col_t lastColumn) {
        Check(worksheet_autofilter(s.sheets.back(), 0, 0, s.row, lastColumn));
    }

    void Cell(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t col, const VerdictCell& cell, ColumnFormat format,
              bool highlight) {
        lxw_format* f = formats_.cell[static_cast<std::size_t>(format)][highlight ? 1 : 0];
        switch (cell.kind) {
        case VerdictCell::Kind::Empty:
            if (highlight) Check(worksheet_write_blank(sheet, row, col, f));
            break;
        case VerdictCell::Kind::Number: Check(worksheet_write_number(sheet, row, col, cell.number, f)); break;
        case VerdictCell::Kind::Boolean: Check(worksheet_write_boolean(sheet, row, col, cell.boolean, f)); break;
        // Text from the case is only ever a string: a spreadsheet never runs it as a formula.
        case VerdictCell::Kind::Text:
            Check(worksheet_write_string(sheet, row, col, CellText(cell.text).c_str(), f));
            break;
        }
    }

    void MakeFormats() {
        formats_.header = workbook_add_format(book_);
        format_set_bold(formats_.header);
        for (std::size_t kind = 0; kind < formats_.cell.size(); ++kind) {
            for (int highlight = 0; highlight < 2; ++highlight) {
                lxw_format* f = workbook_add_format(book_);
                switch (static_cast<ColumnFormat>(kind)) {
                case ColumnFormat::Money: format_set_num_format(f, "#,##0.00"); break;
                // Rates are in percent already (12.5 is 12.5 %): the sign is text, not a scale.
                case ColumnFormat::Percent: format_set_num_format(f, "0.0000\"%\""); break;
                case ColumnFormat::Integer: format_set_num_format(f, "0"); break;
                case ColumnFormat::Number:
                case ColumnFormat::Text:
                case ColumnFormat::Boolean: break;
                }
                if (highlight) {
                    format_set_bg_color(f, 0xFFC7CE);
                    format_set_font_color(f, 0x9C0006);
                }
                formats_.cell[kind][static_cast<std::size_t>(highlight)] = f;
            }
        }
    }

    void Check(lxw_error error) {
        if (error != LXW_NO_ERROR && !problem_) problem_ = std::string("cannot be written: ") + lxw_strerror(error);
    }

    std::string tempFolder_;
    lxw_workbook* book_ = nullptr;
    Formats formats_;
    std::vector<std::size_t> loanColumns_;  // the verdict's columns without the error columns
    Sheets loans_, refused_;
    lxw_worksheet* summary_ = nullptr;
    std::optional<std::string> problem_;
};

}  // namespace

std::unique_ptr<VerdictSink> MakeXlsxSink(const std::string& path, const std::string& tempFolder) {
    return std::make_unique<XlsxSink>(path, tempFolder);
}

}  // namespace tallex::cli
