#pragma once
// Loan tapes: a lender's portfolio as CSV (RFC 4180, UTF-8), one case per row, the columns named
// after the case keys ("amount_financed", "schedule.2.payments", "construction.accrual", ...).
// The tape is read row by row from a stream in bounded memory, whatever its size, and every
// row goes through the same keys and checks as a case file (CaseKeys.h): a value a case file
// refuses is refused in a cell with the same key and message.

#include "CaseFile.h"

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tallex::casefile {

// A cell, or a whole row, longer than this is refused (and skipped, so memory stays bounded).
inline constexpr std::size_t kMaxTapeCellBytes = 10 * 1024 * 1024;
inline constexpr std::size_t kMaxTapeRowBytes = 10 * 1024 * 1024;

// One data row of a tape: its case, or what refused it.
struct TapeRow {
    long number = 0;       // the row: the records after the header, counted from 1
    long line = 0;         // the line of the tape it starts on (the header is line 1)
    std::string identity;  // the row's account, else "row N"
    // What refused the row: a cell's key and message as a case file would give them, or "(row)"
    // for a row that cannot be read as CSV. Without an error, `caseFile` holds the case.
    std::optional<CaseError> error;
    CaseFile caseFile;
};

class LoanTapeReader {
public:
    // Reads from `in`, which must outlive the reader; open files in binary mode.
    explicit LoanTapeReader(std::istream& in);
    ~LoanTapeReader();
    LoanTapeReader(const LoanTapeReader&) = delete;
    LoanTapeReader& operator=(const LoanTapeReader&) = delete;

    // Reads the first line, which names the columns. A tape whose columns cannot all be read
    // into a case is refused whole: an unknown column (with the nearest known name), a duplicate,
    // a stream beyond the last one or after a gap; "(tape)" for an empty or UTF-16 tape.
    std::optional<CaseError> ReadHeader();
    // The next row (after ReadHeader); false at the end of the tape. Rows whose cells are all
    // empty are skipped (they keep their numbers). A refused row does not stop the tape.
    bool Next(TapeRow& row);

    // Bytes of the tape read through the last row returned (the byte-order mark included):
    // the progress through a file of known size.
    std::uint64_t BytesRead() const;
    // Whether reading the stream failed (rather than reaching its end): the rows before are good.
    bool ReadFailed() const;
    // The header's column names, as written.
    const std::vector<std::string>& Columns() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace tallex::casefile
