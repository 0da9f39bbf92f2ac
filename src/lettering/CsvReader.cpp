#include "lettering/CsvReader.h"

#include <istream>

namespace qrb {

CsvReader::CsvReader(std::string_view text, char separator) : text_(text), separator_(separator) {}

CsvReader::CsvReader(std::istream& in, char separator, std::size_t chunk)
    : in_(&in), chunk_(chunk > 0 ? chunk : 1), separator_(separator) {}

bool CsvReader::have(std::size_t n) {
    while (pos_ + n >= text_.size()) {
        if (in_ == nullptr || !*in_) {
            return false;
        }
        const std::size_t old = buffer_.size();
        buffer_.resize(old + chunk_);
        in_->read(buffer_.data() + old, std::streamsize(chunk_));
        buffer_.resize(old + std::size_t(in_->gcount()));
        if (in_->bad()) {
            throw std::ios_base::failure("the table could not be read");
        }
        text_ = buffer_;
    }
    return true;
}

bool CsvReader::next(std::vector<std::string>& fields) {
    fields.clear();
    if (in_ != nullptr && pos_ > 0) {
        // The records before this one are done with: memory holds one record at a time.
        buffer_.erase(0, pos_);
        pos_ = 0;
        text_ = buffer_;
    }
    if (!have(0))
        return false;
    recordLine_ = line_;
    for (;;) {
        std::string& field = fields.emplace_back();
        if (have(0) && text_[pos_] == '"')
            readQuoted(field, fields.size() - 1);
        else
            readPlain(field, fields.size() - 1);
        if (!have(0))
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
    if (text_[pos_] == '\r' && have(1) && text_[pos_ + 1] == '\n')
        ++pos_;
    ++pos_;
    ++line_;
}

void CsvReader::readQuoted(std::string& field, std::size_t index) {
    const int opened = line_;
    ++pos_;
    for (;;) {
        if (!have(0))
            throw CsvSyntaxError(opened, index, "the quote that opens this field is never closed");
        const char c = text_[pos_];
        if (c == '"') {
            if (have(1) && text_[pos_ + 1] == '"') {
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
    if (have(0) && text_[pos_] != separator_ && !atLineBreak())
        throw CsvSyntaxError(line_, index,
                             "text follows the closing quote (a quote inside a quoted field is "
                             "written twice)");
}

void CsvReader::readPlain(std::string& field, std::size_t index) {
    const std::size_t from = pos_;
    while (have(0) && text_[pos_] != separator_ && !atLineBreak()) {
        if (text_[pos_] == '"')
            throw CsvSyntaxError(line_, index,
                                 "a quote inside a field that does not start with one (put the "
                                 "field in quotes and write the quote twice)");
        ++pos_;
    }
    field.assign(text_.substr(from, pos_ - from));
}

} // namespace qrb
