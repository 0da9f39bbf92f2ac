#include "translations/TextScanner.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace qrb::test {

namespace {

bool identStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0 || c == '_';
}
bool identChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

// Calls that only pass their text on: the call around them is the one that counts.
bool isWrapper(const std::string& name) {
    static const std::array<std::string_view, 8> wrappers{
        "QStringLiteral",    "QLatin1String", "QLatin1StringView", "QString",
        "QByteArrayLiteral", "QByteArray",    "QStringView",       "QUtf8StringView"};
    return std::find(wrappers.begin(), wrappers.end(), name) != wrappers.end();
}

class Lexer {
public:
    explicit Lexer(std::string_view source) : s_(source) {}

    std::vector<SourceLiteral> run() {
        while (i_ < s_.size()) {
            step();
        }
        return std::move(found_);
    }

private:
    struct Open {
        char bracket;
        std::string name;
    };

    char at(std::size_t k) const { return k < s_.size() ? s_[k] : '\0'; }

    void advance() {
        if (s_[i_] == '\n') {
            ++line_;
            lineStart_ = true;
        }
        ++i_;
    }

    void step() {
        const char c = s_[i_];
        if (std::isspace(static_cast<unsigned char>(c)) != 0) {
            advance();
            return;
        }
        if (lineStart_ && c == '#') {
            skipPreprocessorLine();
            return;
        }
        lineStart_ = false;
        if (c == '/' && at(i_ + 1) == '/') {
            while (i_ < s_.size() && s_[i_] != '\n') {
                ++i_;
            }
            return;
        }
        if (c == '/' && at(i_ + 1) == '*') {
            i_ += 2;
            while (i_ < s_.size() && !(s_[i_] == '*' && at(i_ + 1) == '/')) {
                advance();
            }
            i_ += 2;
            return;
        }
        if (identStart(c)) {
            identifier();
            return;
        }
        if (std::isdigit(static_cast<unsigned char>(c)) != 0) {
            // Numbers, with digit separators (1'000) and suffixes.
            while (identChar(at(i_)) || at(i_) == '.' || at(i_) == '\'') {
                ++i_;
            }
            last_.clear();
            return;
        }
        if (c == '\'') {
            ++i_;
            while (i_ < s_.size() && s_[i_] != '\'') {
                i_ += s_[i_] == '\\' ? 2 : 1;
            }
            ++i_;
            last_.clear();
            return;
        }
        if (c == '"') {
            quoted(line_);
            return;
        }
        punctuation(c);
    }

    void skipPreprocessorLine() {
        while (i_ < s_.size() && s_[i_] != '\n') {
            if (s_[i_] == '\\' && at(i_ + 1) == '\n') {
                ++i_;
            }
            advance();
        }
    }

    void identifier() {
        const std::size_t start = i_;
        while (identChar(at(i_))) {
            ++i_;
        }
        const std::string name(s_.substr(start, i_ - start));
        if (at(i_) == '"') {
            if (name == "R" || name == "u8R" || name == "uR" || name == "UR" || name == "LR") {
                raw();
                return;
            }
            if (name == "u8" || name == "u" || name == "U" || name == "L") {
                quoted(line_);
                return;
            }
        }
        last_ = name;
    }

    void quoted(int line) {
        ++i_;
        const std::size_t start = i_;
        while (i_ < s_.size() && s_[i_] != '"' && s_[i_] != '\n') {
            i_ += s_[i_] == '\\' ? 2 : 1;
        }
        record(line, std::string(s_.substr(start, i_ - start)));
        ++i_;
    }

    void raw() {
        const int line = line_;
        ++i_;
        const std::size_t open = s_.find('(', i_);
        if (open == std::string_view::npos) {
            i_ = s_.size();
            return;
        }
        const std::string close = ")" + std::string(s_.substr(i_, open - i_)) + "\"";
        const std::size_t end = std::min(s_.find(close, open), s_.size());
        const std::string text(s_.substr(open + 1, end - open - 1));
        while (i_ < end) {
            advance();
        }
        i_ = std::min(end + close.size(), s_.size());
        record(line, text);
    }

    void record(int line, std::string text) {
        std::string function;
        for (auto open = stack_.rbegin(); open != stack_.rend(); ++open) {
            if (!isWrapper(open->name)) {
                function = open->name;
                break;
            }
        }
        found_.push_back({line, std::move(text), std::move(function)});
        last_.clear();
    }

    void punctuation(char c) {
        ++i_;
        switch (c) {
        case '(':
        case '{':
        case '[':
            stack_.push_back({c, last_});
            break;
        case ')':
        case '}':
        case ']':
            if (!stack_.empty()) {
                stack_.pop_back();
            }
            break;
        case '<':
            // Perhaps a template's arguments: findChild<QLabel*>("name") is findChild's.
            templates_.push_back(last_);
            break;
        case '>':
            if (!templates_.empty()) {
                last_ = templates_.back();
                templates_.pop_back();
                return;
            }
            break;
        case ':':
            if (at(i_) == ':') {
                ++i_;
                return; // Class::function: the function's name follows
            }
            break;
        default:
            break;
        }
        last_.clear();
    }

    std::string_view s_;
    std::size_t i_ = 0;
    int line_ = 1;
    bool lineStart_ = true;
    std::string last_;
    std::vector<Open> stack_;
    std::vector<std::string> templates_;
    std::vector<SourceLiteral> found_;
};

} // namespace

std::vector<SourceLiteral> sourceLiterals(std::string_view source) {
    return Lexer(source).run();
}

bool looksUserVisible(std::string_view written) {
    // The text with its escapes read: a line break or tab is a blank, any other escaped
    // character (\u00D7, \") a mark that is no letter.
    std::string text;
    for (std::size_t k = 0; k < written.size(); ++k) {
        if (written[k] != '\\' || k + 1 == written.size()) {
            text += written[k];
            continue;
        }
        const char escaped = written[++k];
        text += escaped == 'n' || escaped == 't' ? ' ' : '?';
        if (escaped == 'u' || escaped == 'x' || escaped == 'U') {
            while (k + 1 < written.size() &&
                   std::isxdigit(static_cast<unsigned char>(written[k + 1])) != 0) {
                ++k;
            }
        }
    }
    const auto has = [&](auto predicate) {
        return std::any_of(text.begin(), text.end(), predicate);
    };
    if (!has([](char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; })) {
        return false;
    }
    if (has([](char c) { return c == ' '; })) {
        return true;
    }
    // One word: identifiers, paths, keys and names with numbers ("Label1") are not texts.
    if (text.find_first_of("/._:-+=<>%#@0123456789") != std::string::npos) {
        return false;
    }
    // A mnemonic's & comes before the first letter ("&Open"). A word is capitalised, with
    // no capital after its first letter: "XScroll" is a name, PNG an acronym.
    const std::size_t first = text.find_first_not_of('&');
    return std::isupper(static_cast<unsigned char>(text[first])) != 0 &&
           std::none_of(text.begin() + std::ptrdiff_t(first) + 1, text.end(),
                        [](char c) { return std::isupper(static_cast<unsigned char>(c)) != 0; });
}

} // namespace qrb::test
