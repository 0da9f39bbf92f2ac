#pragma once
// Records of delimited text as spreadsheets write them (RFC 4180): fields separated by one
// character (a comma, or a tab), records ended by CRLF, LF or a lone CR. A field may be
// put in double quotes; inside the quotes separators and line breaks are part of the
// field and a quote is written twice. Nothing else is accepted: a quote inside an unquoted
// field, text after a closing quote and a quote that is never closed are errors.

#include <iosfwd>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qrb {

// Delimited text that breaks the rules above, with the line (from 1) and the field (from
// 0) where it does.
class CsvSyntaxError : public std::runtime_error {
public:
    CsvSyntaxError(int line, std::size_t field, const std::string& reason)
        : std::runtime_error(reason), line_(line), field_(field) {}
    int line() const { return line_; }
    std::size_t field() const { return field_; }

private:
    int line_;
    std::size_t field_;
};

class CsvReader {
public:
    // Reads `text`, which must outlive the reader.
    CsvReader(std::string_view text, char separator);
    // Reads `in` as it goes, `chunk` bytes at a time: memory holds the record being read,
    // not the text. A read error of the stream throws std::ios_base::failure.
    CsvReader(std::istream& in, char separator, std::size_t chunk = kDefaultChunk);

    // The next record's fields, without quotes; false when the text has no more records.
    // An empty line is a record of one empty field; a line break at the very end of the
    // text ends the last record and starts none. Throws CsvSyntaxError.
    bool next(std::vector<std::string>& fields);

    // The line on which the record last returned by next() starts.
    int recordLine() const { return recordLine_; }

    static constexpr std::size_t kDefaultChunk = 64 * 1024;

private:
    // Whether the byte at pos_ + n is there, reading more of the stream when needed.
    bool have(std::size_t n);
    bool atLineBreak() const;
    // Steps over the line break at the current position (CRLF counts once).
    void skipLineBreak();
    void readQuoted(std::string& field, std::size_t index);
    void readPlain(std::string& field, std::size_t index);

    std::istream* in_ = nullptr;
    std::size_t chunk_ = kDefaultChunk;
    std::string buffer_; // what has been read of `in_` since the current record began
    std::string_view text_;
    char separator_;
    std::size_t pos_ = 0;
    int line_ = 1;
    int recordLine_ = 0;
};

} // namespace qrb
