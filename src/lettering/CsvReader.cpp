#include "lettering/CsvReader.h"

namespace qrb {

CsvReader::CsvReader(std::string_view text, char separator) : text_(text), separator_(separator) {}

bool CsvReader::next(std::vector<std::string>& fields) {
    fields.clear();
    if (pos_ >= text_.size())
        return false;
    recordLine_ = line_;
    for (;;) {
        std::string& field = fields.emplace_back();
        if (pos_ < text_.size() && text_[pos_] == '"')
            readQuoted(field, fields.size() - 1);
        else
            readPlain(field, fields.size() - 1);
        if (pos_ >= text_.size())
            return true;
        if (atLineBreak()) {
            skipLineBreak();
            return true;
        }
        ++pos_; // the separator: another field follows, empty at the end of the record
    }
}

bool CsvReader::atLineBreak() const {
    return text_[pos_] == '\n' || text_[pos_] == '\r';
}

void CsvReader::skipLineBreak() {
    if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n')
        ++pos_;
    ++pos_;
    ++line_;
}

void CsvReader::readQuoted(std::string& field, std::size_t index) {
    const int opened = line_;
    ++pos_;
    for (;;) {
        if (pos_ >= text_.size())
            throw CsvSyntaxError(opened, index, "the quote that opens this field is never closed");
        const char c = text_[pos_];
        if (c == '"') {
            if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '"') {
                field += '"';
                pos_ += 2;
                continue;
            }
            ++pos_;
            break;
        }
        if (atLineBreak()) {
            // Kept as written; only the line count needs the CRLF seen as one break.
            const std::size_t from = pos_;
            skipLineBreak();
            field.append(text_.substr(from, pos_ - from));
            continue;
        }
        field += c;
        ++pos_;
    }
    if (pos_ < text_.size() && text_[pos_] != separator_ && !atLineBreak())
        throw CsvSyntaxError(line_, index,
                             "text follows the closing quote (a quote inside a quoted field is "
                             "written twice)");
}

void CsvReader::readPlain(std::string& field, std::size_t index) {
    const std::size_t from = pos_;
    while (pos_ < text_.size() && text_[pos_] != separator_ && !atLineBreak()) {
        if (text_[pos_] == '"')
            throw CsvSyntaxError(line_, index,
                                 "a quote inside a field that does not start with one (put the "
                                 "field in quotes and write the quote twice)");
        ++pos_;
    }
    field.assign(text_.substr(from, pos_ - from));
}

} // namespace qrb
