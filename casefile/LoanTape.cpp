#include "LoanTape.h"

#include "CaseKeys.h"

#include "engine/LoanRecord.h"

#include <simdjson.h>

#include <algorithm>
#include <charconv>
#include <istream>
#include <unordered_map>

namespace tallex::casefile {

namespace {

// ---------------------------------------------------------------------------------------------
// CSV records, read through a fixed buffer: a row is held only up to the size limits, the rest
// of an oversized row is passed over.

enum class Flaw { None, CellTooLong, RowTooLong, StrayQuote, TextAfterQuote, Unclosed };

struct Record {
    std::vector<std::string> cells;  // the text of the first cells (as many as the reader keeps)
    std::size_t count = 0;           // cells in the record
    bool blank = true;               // no cell holds anything
    bool nonAscii = false;           // some cell holds a byte beyond ASCII
    Flaw flaw = Flaw::None;
    std::size_t flawCell = 0;  // the cell (from 0) the flaw is in
    long line = 0;             // the line the record starts on
};

class CsvRecords {
public:
    explicit CsvRecords(std::istream& in) : in_(in), buffer_(kChunk) {}

    // Passes over a UTF-8 byte-order mark; false for a tape in UTF-16.
    bool Start() {
        if (Peek() < 0) return true;
        const auto at = [&](std::size_t i) {
            return pos_ + i < end_ ? static_cast<unsigned char>(buffer_[pos_ + i]) : 0;
        };
        if (at(0) == 0xEF && at(1) == 0xBB && at(2) == 0xBF) {
            pos_ += 3;
            consumed_ += 3;
        }
        return !((at(0) == 0xFF && at(1) == 0xFE) || (at(0) == 0xFE && at(1) == 0xFF));
    }

    // The next record, keeping the text of its first `keep` cells; false at the end.
    bool Read(Record& r, std::size_t keep) {
        if (Peek() < 0) return false;
        r.count = 0;
        r.blank = true;
        r.nonAscii = false;
        r.flaw = Flaw::None;
        r.flawCell = 0;
        r.line = lines_ + 1;
        // A cell that once held a long text gives its memory back.
        for (std::string& cell : r.cells)
            if (cell.capacity() > 64 * 1024) std::string().swap(cell);
        std::size_t rowBytes = 0, cellBytes = 0;
        enum class State { CellStart, Unquoted, Quoted, QuotedQuote } state = State::CellStart;
        std::string* cell = Begin(r, keep);
        const auto flaw = [&](Flaw f) {
            if (r.flaw != Flaw::None) return;
            r.flaw = f;
            r.flawCell = r.count;
        };
        const auto put = [&](char c) {
            r.blank = false;
            r.nonAscii |= (static_cast<unsigned char>(c) & 0x80) != 0;
            if (cell && r.flaw == Flaw::None) cell->push_back(c);
        };
        for (;;) {
            // Inside a cell, the bytes up to the next one that may mean something go in at once.
            if ((state == State::Unquoted || state == State::Quoted) && pos_ < end_) {
                std::size_t stop = pos_;
                unsigned char high = 0;
                while (stop < end_ && !IsSpecial(buffer_[stop])) high |= static_cast<unsigned char>(buffer_[stop++]);
                if (const std::size_t run = stop - pos_; run > 0) {
                    const bool cellOver = cellBytes + run > kMaxTapeCellBytes;
                    const bool rowOver = rowBytes + run > kMaxTapeRowBytes;
                    // The limit the byte-by-byte reading would have met first.
                    if (rowOver && (!cellOver || kMaxTapeRowBytes - rowBytes < kMaxTapeCellBytes - cellBytes))
                        flaw(Flaw::RowTooLong);
                    if (cellOver) flaw(Flaw::CellTooLong);
                    if (rowOver) flaw(Flaw::RowTooLong);
                    r.blank = false;
                    r.nonAscii |= (high & 0x80) != 0;
                    if (cell && r.flaw == Flaw::None) cell->append(buffer_.data() + pos_, run);
                    pos_ = stop;
                    consumed_ += run;
                    afterCr_ = false;
                    cellBytes += run;
                    rowBytes += run;
                    continue;
                }
            }
            const int c = Peek();
            if (c < 0) {
                if (state == State::Quoted) flaw(Flaw::Unclosed);
                ++r.count;
                return true;
            }
            Take();
            if ((c == '\n' || c == '\r') && state != State::Quoted) {
                // CR LF, LF or a lone CR ends the record.
                if (c == '\r' && Peek() == '\n') Take();
                ++r.count;
                return true;
            }
            ++rowBytes;
            if (c == ',' && state != State::Quoted) {
                ++r.count;
                cell = Begin(r, keep);
                state = State::CellStart;
                cellBytes = 0;
            } else {
                ++cellBytes;
                switch (state) {
                case State::CellStart:
                    if (c == '"') {
                        state = State::Quoted;
                    } else {
                        state = State::Unquoted;
                        put(static_cast<char>(c));
                    }
                    break;
                case State::Unquoted:
                    if (c == '"') flaw(Flaw::StrayQuote);
                    put(static_cast<char>(c));
                    break;
                case State::Quoted:
                    if (c == '"')
                        state = State::QuotedQuote;
                    else
                        put(static_cast<char>(c));
                    break;
                case State::QuotedQuote:
                    if (c == '"') {
                        state = State::Quoted;
                        put('"');
                    } else {
                        flaw(Flaw::TextAfterQuote);
                        state = State::Unquoted;
                        put(static_cast<char>(c));
                    }
                    break;
                }
                if (cellBytes > kMaxTapeCellBytes) flaw(Flaw::CellTooLong);
            }
            if (rowBytes > kMaxTapeRowBytes) flaw(Flaw::RowTooLong);
        }
    }

    std::uint64_t consumed() const { return consumed_; }
    bool failed() const { return failed_; }

private:
    static constexpr std::size_t kChunk = 64 * 1024;

    static bool IsSpecial(char c) { return c == ',' || c == '"' || c == '\r' || c == '\n'; }

    static std::string* Begin(Record& r, std::size_t keep) {
        if (r.count >= keep) return nullptr;
        if (r.cells.size() <= r.count) r.cells.resize(r.count + 1);
        r.cells[r.count].clear();
        return &r.cells[r.count];
    }

    int Peek() {
        if (pos_ == end_ && !Fill()) return -1;
        return static_cast<unsigned char>(buffer_[pos_]);
    }

    void Take() {
        const char c = buffer_[pos_++];
        ++consumed_;
        // Lines end in CR LF, LF or CR: a CR counts, and so does an LF that does not follow one.
        if (c == '\r') {
            ++lines_;
            afterCr_ = true;
        } else {
            if (c == '\n' && !afterCr_) ++lines_;
            afterCr_ = false;
        }
    }

    bool Fill() {
        if (done_) return false;
        in_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
        pos_ = 0;
        end_ = static_cast<std::size_t>(in_.gcount());
        if (in_.bad()) failed_ = true;
        if (end_ == 0) done_ = true;
        return end_ > 0;
    }

    std::istream& in_;
    std::vector<char> buffer_;
    std::size_t pos_ = 0, end_ = 0;
    bool done_ = false, failed_ = false, afterCr_ = false;
    std::uint64_t consumed_ = 0;
    long lines_ = 0;
};

// ---------------------------------------------------------------------------------------------
// Columns: where each header name puts its cells in a case.

// More columns than a case has keys (and far fewer than a 10 MB header could name).
constexpr std::size_t kMaxColumns = 4096;

enum class Place { Case, Frequency, Stream, Construction };

struct Column {
    Place place = Place::Case;
    std::string key;                               // the key as an error names it
    const keys::Key<CaseFile>* caseKey = nullptr;  // a top-level key, or one of answers or reimbursement
    const keys::Key<keys::StreamEntries>* streamKey = nullptr;
    const keys::Key<CaseConstruction>* constructionKey = nullptr;
    std::size_t stream = 0;  // from 1
};

// A cell as a key's value: text as it stands, booleans in any letter case.
class CellValue final : public keys::Value {
public:
    explicit CellValue(const std::string& cell) : cell_(cell) {}

    std::string Text(const std::string&) const override { return cell_; }
    std::string String(const std::string&) const override { return cell_; }
    bool Bool(const std::string& key) const override {
        if (EqualsIgnoringCase(cell_, "true")) return true;
        if (EqualsIgnoringCase(cell_, "false")) return false;
        keys::Fail(key, "must be true or false");
    }
    std::optional<long long> Whole() const override {
        long long n = 0;
        const char* end = cell_.data() + cell_.size();
        const auto [stop, ec] = std::from_chars(cell_.data(), end, n);
        if (ec != std::errc() || stop != end) return std::nullopt;
        return n;
    }

private:
    static bool EqualsIgnoringCase(std::string_view text, std::string_view lower) {
        return text.size() == lower.size() && std::equal(text.begin(), text.end(), lower.begin(), [](char a, char b) {
                   return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
               });
    }

    const std::string& cell_;
};

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// A name from the tape in a message: cut short when long (at a character's start), and quoted
// where it would not show.
std::string Shown(std::string_view name) {
    constexpr std::size_t kLongest = 80;
    if (name.size() <= kLongest) return keys::KeyName(name);
    std::size_t cut = kLongest;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
    return keys::KeyName(name.substr(0, cut)) + "...";
}

// The known column nearest an unknown one, "" when none is near: letter case aside, within a
// third of the name's length (at least 2 edits). A stream's columns are offered with the stream
// number the name holds.
std::string Nearest(std::string_view name) {
    if (name.size() > 64) return "";
    std::string lower(name);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    std::size_t stream = 1;
    if (const auto digit = lower.find_first_of("0123456789"); digit != std::string::npos) {
        std::size_t n = 0;
        std::from_chars(lower.data() + digit, lower.data() + lower.size(), n);
        if (n >= 1 && n <= static_cast<std::size_t>(kMaxStreams)) stream = n;
    }
    std::vector<std::string> known;
    for (const auto& k : keys::CaseKeys()) known.emplace_back(k.name);
    known.emplace_back("frequency");
    for (const auto& k : keys::StreamKeys())
        known.push_back("schedule." + std::to_string(stream) + "." + std::string(k.name));
    for (const auto& k : keys::ConstructionKeys()) known.push_back("construction." + std::string(k.name));
    for (const auto& k : keys::AnswerKeys()) known.push_back("answers." + std::string(k.name));
    for (const auto& k : keys::ReimbursementKeys()) known.push_back("reimbursement." + std::string(k.name));
    return keys::NearestName(name, known);
}

// Places a column by its name; the problem instead when the name is no case key (`label` says
// where the column is).
std::optional<std::string> PlaceColumn(std::string_view name, Column& column, const std::string& label) {
    column.key = std::string(name);
    if ((column.caseKey = keys::FindKey(keys::CaseKeys(), name))) return std::nullopt;
    if (name == "frequency") {
        column.place = Place::Frequency;
        return std::nullopt;
    }
    if (StartsWith(name, "answers.") && (column.caseKey = keys::FindKey(keys::AnswerKeys(), name.substr(8))))
        return std::nullopt;
    if (StartsWith(name, "reimbursement.") &&
        (column.caseKey = keys::FindKey(keys::ReimbursementKeys(), name.substr(14))))
        return std::nullopt;
    if (StartsWith(name, "construction.") &&
        (column.constructionKey = keys::FindKey(keys::ConstructionKeys(), name.substr(13)))) {
        column.place = Place::Construction;
        return std::nullopt;
    }
    if (StartsWith(name, "schedule.")) {
        const std::string_view rest = name.substr(9);
        const std::size_t dot = rest.find('.');
        const std::string_view number = rest.substr(0, dot);
        const bool digits = !number.empty() && number[0] != '0' &&
                            std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (digits && dot != std::string_view::npos &&
            (column.streamKey = keys::FindKey(keys::StreamKeys(), rest.substr(dot + 1)))) {
            std::size_t n = 0;
            const auto [stop, ec] = std::from_chars(number.data(), number.data() + number.size(), n);
            if (ec != std::errc() || n > static_cast<std::size_t>(kMaxStreams))
                return "the schedule holds at most " + std::to_string(kMaxStreams) + " streams (" + label + ")";
            column.place = Place::Stream;
            column.stream = n;
            column.key = keys::StreamKey(n) + "." + std::string(rest.substr(dot + 1));
            return std::nullopt;
        }
    }
    std::string problem = "unknown column (" + label + ")";
    if (const std::string near = Nearest(name); !near.empty()) problem += "; did you mean \"" + near + "\"?";
    if (name.find_first_of(";\t") != std::string_view::npos)
        problem += " (the columns of a tape are separated by commas)";
    return problem;
}

std::string CellLabel(std::size_t cell, const std::vector<std::string>& names) {
    std::string label = "column " + std::to_string(cell + 1);
    if (cell < names.size()) label += " (" + Shown(names[cell]) + ")";
    return label;
}

std::string FlawMessage(const std::string& where, const Record& r, const std::vector<std::string>& names) {
    const std::string at = where + ", " + CellLabel(r.flawCell, names) + ": ";
    switch (r.flaw) {
    case Flaw::CellTooLong:
        return at + "the cell is longer than 10 MB (" + std::to_string(kMaxTapeCellBytes) + " bytes)";
    case Flaw::RowTooLong: return where + " is longer than 10 MB (" + std::to_string(kMaxTapeRowBytes) + " bytes)";
    case Flaw::StrayQuote:
        return at +
               "a quote in a cell that does not start with one (a cell holding quotes is written in quotes, "
               "each quote doubled)";
    case Flaw::TextAfterQuote: return at + "text after the closing quote of a quoted cell";
    case Flaw::Unclosed: return at + "a quoted cell is not closed before the end of the tape";
    case Flaw::None: break;
    }
    return where;
}

bool IsUtf8(const std::string& text) { return simdjson::validate_utf8(text.data(), text.size()); }

}  // namespace

struct LoanTapeReader::Impl {
    explicit Impl(std::istream& in) : records(in) {}

    std::optional<CaseError> ReadHeader();
    bool Next(TapeRow& row);
    void Build(CaseFile& c) const;
    bool AnyCell(const std::vector<std::size_t>& cells) const {
        return std::any_of(cells.begin(), cells.end(), [&](std::size_t i) { return !record.cells[i].empty(); });
    }

    CsvRecords records;
    Record record;
    std::vector<std::string> names;
    std::vector<Column> columns;
    std::vector<std::vector<std::size_t>> streams;  // each stream's columns, stream 1 first
    std::vector<std::size_t> construction;          // the construction terms' columns
    std::optional<std::size_t> account;
    bool ready = false;  // the header was read and is good
    long rows = 0;
};

std::optional<CaseError> LoanTapeReader::Impl::ReadHeader() {
    const auto header = [](std::string message) { return CaseError{"(header)", std::move(message)}; };
    if (!records.Start()) return CaseError{"(tape)", "the tape is UTF-16 text; save it as CSV in UTF-8"};
    if (!records.Read(record, kMaxColumns))
        return CaseError{"(tape)", "the tape is empty: its first line names the columns"};
    if (record.flaw != Flaw::None) return header(FlawMessage("the header", record, {}));
    if (record.blank) return header("the first line is empty: it names the columns");
    if (record.count > kMaxColumns)
        return header("the header names " + std::to_string(record.count) + " columns, more than a case has keys");
    names.assign(record.cells.begin(), record.cells.begin() + static_cast<std::ptrdiff_t>(record.count));
    columns.assign(names.size(), Column{});
    std::unordered_map<std::string_view, std::size_t> seen;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string& name = names[i];
        const std::string column = "column " + std::to_string(i + 1);
        if (!IsUtf8(name)) return header(column + ": the name is not UTF-8 text");
        if (name.empty()) return header(column + " has no name");
        if (const auto [at, fresh] = seen.emplace(name, i); !fresh)
            return CaseError{Shown(name), "duplicate column (columns " + std::to_string(at->second + 1) + " and " +
                                              std::to_string(i + 1) + ")"};
        if (const auto problem = PlaceColumn(name, columns[i], column)) return CaseError{Shown(name), *problem};
        const Column& c = columns[i];
        if (c.place == Place::Stream) {
            if (streams.size() < c.stream) streams.resize(c.stream);
            streams[c.stream - 1].push_back(i);
        } else if (c.place == Place::Construction) {
            construction.push_back(i);
        }
        if (name == "account") account = i;
    }
    for (std::size_t n = 0; n < streams.size(); ++n)
        if (streams[n].empty()) {
            const std::size_t next =
                std::find_if(streams.begin() + static_cast<std::ptrdiff_t>(n), streams.end(), [](const auto& s) {
                    return !s.empty();
                })->front();
            return CaseError{Shown(names[next]), "stream " + std::to_string(n + 1) +
                                                     " has no columns (streams are numbered from 1 without gaps)"};
        }
    ready = true;
    return std::nullopt;
}

bool LoanTapeReader::Impl::Next(TapeRow& row) {
    if (!ready) return false;
    for (;;) {
        if (!records.Read(record, columns.size())) return false;
        ++rows;
        if (record.flaw == Flaw::None && record.blank) continue;
        const std::string where = "row " + std::to_string(rows);
        row.number = rows;
        row.line = record.line;
        row.identity = where;
        row.error.reset();
        row.caseFile = CaseFile{};
        if (record.flaw != Flaw::None) {
            row.error = CaseError{"(row)", FlawMessage(where, record, names)};
            return true;
        }
        if (record.count != columns.size()) {
            row.error =
                CaseError{"(row)", where + " has " + std::to_string(record.count) + " cells; the header names " +
                                       std::to_string(columns.size()) + " columns"};
            return true;
        }
        for (std::size_t i = 0; i < columns.size() && record.nonAscii; ++i)
            if (!IsUtf8(record.cells[i])) {
                row.error = CaseError{columns[i].key, "is not UTF-8 text (save the tape as CSV in UTF-8)"};
                return true;
            }
        if (account && !record.cells[*account].empty()) row.identity = record.cells[*account];
        try {
            Build(row.caseFile);
        } catch (const keys::Fault& f) {
            row.error = f.error;
        }
        return true;
    }
}

// The row's cells through the case keys in the order a case file's reader takes them: the
// top-level keys as they come, then the frequency, the streams, the construction terms and the
// checks of the whole case.
void LoanTapeReader::Impl::Build(CaseFile& c) const {
    const std::vector<std::string>& cells = record.cells;
    std::optional<std::size_t> frequency;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (cells[i].empty()) continue;  // not given
        const Column& column = columns[i];
        if (column.place == Place::Case)
            column.caseKey->set(c, CellValue(cells[i]), column.key);
        else if (column.place == Place::Frequency)
            frequency = i;
    }
    if (frequency) {
        const CellValue value(cells[*frequency]);
        keys::SetFrequency(c, &value);
    } else {
        keys::SetFrequency(c, nullptr);
    }
    std::size_t given = 0;  // the streams before the first empty one
    while (given < streams.size() && AnyCell(streams[given])) ++given;
    for (std::size_t n = given + 1; n < streams.size(); ++n)
        if (AnyCell(streams[n]))
            keys::Fail(keys::StreamKey(n + 1), "follows stream " + std::to_string(given + 1) +
                                                   ", which is empty: a row's schedule ends at its first empty stream");
    for (std::size_t n = 0; n < given; ++n) {
        keys::StreamEntries entries;
        for (const std::size_t i : streams[n])
            if (!cells[i].empty()) columns[i].streamKey->set(entries, CellValue(cells[i]), columns[i].key);
        c.schedule.push_back(keys::FinishStream(std::move(entries), keys::StreamKey(n + 1)));
    }
    if (AnyCell(construction)) {
        CaseConstruction k;
        for (const std::size_t i : construction)
            if (!cells[i].empty()) columns[i].constructionKey->set(k, CellValue(cells[i]), columns[i].key);
        keys::FinishConstruction(k, "construction");
        c.construction = std::move(k);
    }
    keys::FinishCase(c);
}

LoanTapeReader::LoanTapeReader(std::istream& in) : impl_(std::make_unique<Impl>(in)) {}
LoanTapeReader::~LoanTapeReader() = default;

std::optional<CaseError> LoanTapeReader::ReadHeader() { return impl_->ReadHeader(); }
bool LoanTapeReader::Next(TapeRow& row) { return impl_->Next(row); }
std::uint64_t LoanTapeReader::BytesRead() const { return impl_->records.consumed(); }
bool LoanTapeReader::ReadFailed() const { return impl_->records.failed(); }
const std::vector<std::string>& LoanTapeReader::Columns() const { return impl_->names; }

}  // namespace tallex::casefile
